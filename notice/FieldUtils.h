#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform { class Report; }

// Small helpers shared by the reader, the database layer and the entry forms.
namespace notice {

/// The user name that marks imports: the login name cut to its first 8 characters, or
/// "Unknown (NON Windows NT environment)" when there is none.
std::string getWinUserName();
/// The same rule applied to a given login name.
std::string userNameFrom(const std::string& login);

bool isValidDay(std::int16_t value);        ///< 1..31 whatever the month
/// The days of the month (1 to 12) in the Gregorian calendar; 31 for a month that is none.
int daysInMonth(int year, int month);
bool isValidMonth(std::int16_t value);      ///< 1..12
bool isValidNtcYear(std::int16_t value);    ///< current year - 2 .. current year + 1
bool isValidInUseYear(std::int16_t value);  ///< 1950 .. current year + 2
bool hasNoDigit(const std::string& text);
/// Non-empty and only the digits 0-9.
bool isDigits(std::string_view text);
bool isEastWest(const std::string& text);   ///< "E" or "W", either case
bool isNorthSouth(const std::string& text); ///< "N" or "S", either case
bool isValidHHMM(std::int16_t value);       ///< 0..2400; minutes are not checked

/// Without leading and trailing blanks.
std::string trimValue(const std::string& text);
/// The same text as trimValue gives, as a view into `text`.
std::string_view trimmedView(std::string_view text);
/// Upper case by the fixed Windows-1252 case map.
std::string upperValue(const std::string& text);
std::string padZeros4(const std::string& text);
std::string padZeros3(const std::string& text);
std::string padZeros2(const std::string& text);
std::string padZeros2MinSec(const std::string& text);
/// One or two leading zeros when the text is one or two characters short of `width`.
std::string padZeros(const std::string& text, int width);
/// "a-b-c", or "" when any part is empty.
std::string joinDate(const std::string& a, const std::string& b, const std::string& c);

/// A date as "dd.mm.yyyy". Reads yyyy-mm-dd and dd.mm.yyyy (1- or 2-digit month and day);
/// "" stays "", anything else is returned unchanged.
std::string formatNtcDate(const std::string& value);
/// The date as "yyyy-mm-dd" when `formatNtcDate` can read it; nothing otherwise.
std::optional<std::string> isoDate(const std::string& value);
/// Splits "dd.mm.yyyy" into its parts; a text without two dots changes nothing.
void splitDate(const std::string& text, std::string& year, std::string& month, std::string& day);

/// True when the file exists and is no folder; never fails.
bool fileExists(const std::string& path);

/// Reports a database error titled with the procedure's name; nothing when the number is 0.
void reportErr(std::int32_t number, const std::string& procedure, const std::string& description,
               platform::Report& report);

}  // namespace notice
