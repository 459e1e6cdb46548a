#pragma once

#include <optional>
#include <string>
#include <string_view>

// Line and value operations of the electronic notice file. Positions count characters.
namespace notice {

/// Turns every TAB into one blank in `text`; returns the trimmed text when a TAB was found,
/// else `text` unchanged.
std::string replaceTabs(std::string& text);

/// Splits a key line at its first "="; a key starting with "t"/"T" is lower-cased.
/// False (key and value untouched) when the line holds no "=".
bool splitKeyValue(std::string& line, std::string& key, std::string& value);
/// The same for a line already trimmed and without TABs, into views of the line; the key
/// keeps its case (`keyText` gives it as splitKeyValue does).
bool splitKeyLine(std::string_view line, std::string_view& key, std::string_view& value);
/// A key as splitKeyValue gives it: lower-cased when it starts with "t"/"T".
std::string keyText(std::string_view key);

/// The azimuth after "@azm" of an antenna key. True only for plain decimal digits below 355.
bool getAzmFromKey(std::string& key, std::string& azimuth);
/// The degrees an azimuth text gives: plain decimal digits below 355; nothing otherwise.
std::optional<int> parseAzimuth(std::string_view text);

/// The slot of an azimuth list that holds an azimuth: degrees / 10, halves to even (5 and 15
/// go to 0 and 2).
double azimuthSlot(double azimuthDeg);

std::string getLongDeg(const std::string& lon);  ///< characters 2-4
std::string getLongMin(const std::string& lon);  ///< characters 5-6
std::string getLongSec(const std::string& lon);  ///< characters 7-8; "" for 6 characters
std::string getLongEW(const std::string& lon);   ///< "E" for a leading "+", else "W"
std::string getLatDeg(const std::string& lat);   ///< characters 2-3
std::string getLatMin(const std::string& lat);   ///< characters 4-5
std::string getLatSec(const std::string& lat);   ///< characters 6-7; "" for 5 characters
std::string getLatNS(const std::string& lat);    ///< "S" for a leading "-", else "N"

/// A sign ("+" or "-") and 5 or 7 digits (DDDMM[SS]).
bool isFileLongitude(std::string_view value);
/// A sign ("+" or "-") and 4 or 6 digits (DDMM[SS]).
bool isFileLatitude(std::string_view value);

/// Characters 1-2 and 4-5 of "HH:MM".
std::string hhmmFromTime(const std::string& time);
/// "HHMM" from H:MM or HH:MM with hours 0-23 and minutes 0-59, or 24:00; nothing for any other text.
std::optional<std::string> parseFileTime(const std::string& time);

}  // namespace notice
