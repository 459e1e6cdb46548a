#include "FieldUtils.h"

#include "platform/NumberText.h"
#include "platform/Report.h"
#include "platform/SystemInfo.h"
#include "platform/TextCodec.h"

#include <array>
#include <optional>

namespace notice {
namespace {

int toInt(const std::string& digits)
{
    return int(platform::parseInteger(digits).value_or(0));
}

struct YMD { int y, m, d; };

// Three digit groups split by `sep`, each of 1 to `maxLen` digits.
std::optional<std::array<std::string, 3>> splitDigits(const std::string& s, char sep)
{
    std::array<std::string, 3> parts;
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t end = i < 2 ? s.find(sep, start) : s.size();
        if (end == std::string::npos)
            return std::nullopt;
        parts[i] = s.substr(start, end - start);
        if (!isDigits(parts[i]) || parts[i].size() > 4)
            return std::nullopt;
        start = end + 1;
    }
    return parts;
}

bool isRealDate(const YMD& d)
{
    if (d.y < 1 || d.y > 9999 || d.m < 1 || d.m > 12 || d.d < 1)
        return false;
    return d.d <= daysInMonth(d.y, d.m);
}

// yyyy-mm-dd or dd.mm.yyyy, the month and day of one or two digits; nothing else.
std::optional<YMD> parseDate(const std::string& s)
{
    YMD d{};
    if (auto p = splitDigits(s, '-'); p && (*p)[0].size() == 4 && (*p)[1].size() <= 2 && (*p)[2].size() <= 2)
        d = {toInt((*p)[0]), toInt((*p)[1]), toInt((*p)[2])};
    else if (auto q = splitDigits(s, '.'); q && (*q)[2].size() == 4 && (*q)[0].size() <= 2 && (*q)[1].size() <= 2)
        d = {toInt((*q)[2]), toInt((*q)[1]), toInt((*q)[0])};
    else
        return std::nullopt;
    if (!isRealDate(d))
        return std::nullopt;
    return d;
}

}  // namespace

std::string userNameFrom(const std::string& login)
{
    std::string name = platform::midChars(login, 0, 8);
    std::erase(name, '\0');
    return name.empty() ? "Unknown (NON Windows NT environment)" : name;
}

std::string getWinUserName()
{
    return userNameFrom(platform::loginName());
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 31;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && !leap ? 28 : kDays[month - 1];
}

bool isValidDay(std::int16_t value) { return value >= 1 && value <= 31; }
bool isValidMonth(std::int16_t value) { return value >= 1 && value <= 12; }

bool isValidNtcYear(std::int16_t value)
{
    const int y = platform::now().year;
    return value >= y - 2 && value <= y + 1;
}

bool isValidInUseYear(std::int16_t value)
{
    return value >= 1950 && value <= platform::now().year + 2;
}

bool hasNoDigit(const std::string& text)
{
    return text.find_first_of("0123456789") == std::string::npos;
}

bool isDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool isEastWest(const std::string& text)
{
    return text == "E" || text == "e" || text == "W" || text == "w";
}

bool isNorthSouth(const std::string& text)
{
    return text == "N" || text == "n" || text == "S" || text == "s";
}

bool isValidHHMM(std::int16_t value) { return value >= 0 && value <= 2400; }

std::string trimValue(const std::string& text) { return std::string(trimmedView(text)); }

std::string_view trimmedView(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string upperValue(const std::string& text)
{
    return platform::upperCp1252(text);
}

std::string padZeros(const std::string& text, int width)
{
    const long d = long(width) - long(platform::charCount(text));
    if (d == 1)
        return "0" + text;
    if (d == 2)
        return "00" + text;
    return text;
}

std::string padZeros4(const std::string& text)
{
    const std::size_t n = platform::charCount(text);
    if (n >= 1 && n <= 3)
        return std::string(4 - n, '0') + text;
    return text;
}

std::string padZeros3(const std::string& text)
{
    const std::size_t n = platform::charCount(text);
    if (n >= 1 && n <= 2)
        return std::string(3 - n, '0') + text;
    return text;
}

std::string padZeros2(const std::string& text)
{
    return platform::charCount(text) == 1 ? "0" + text : text;
}

std::string padZeros2MinSec(const std::string& text)
{
    return padZeros2(text);
}

std::string joinDate(const std::string& a, const std::string& b, const std::string& c)
{
    if (a.empty() || b.empty() || c.empty())
        return {};
    return a + "-" + b + "-" + c;
}

std::string formatNtcDate(const std::string& value)
{
    if (value.empty())
        return {};
    const auto d = parseDate(value);
    if (!d)
        return value;
    return platform::padded(d->d, 2) + "." + platform::padded(d->m, 2) + "." + platform::padded(d->y, 4);
}

std::optional<std::string> isoDate(const std::string& value)
{
    const auto d = parseDate(value);
    if (!d)
        return std::nullopt;
    return platform::padded(d->y, 4) + "-" + platform::padded(d->m, 2) + "-" + platform::padded(d->d, 2);
}

void splitDate(const std::string& text, std::string& year, std::string& month, std::string& day)
{
    if (text.empty())
        return;
    const std::string t = trimValue(text);
    const auto dot1 = t.find('.');
    if (dot1 == std::string::npos)
        return;
    const auto dot2 = t.find('.', dot1 + 1);
    if (dot2 == std::string::npos)
        return;  // not a text made by formatNtcDate
    day = t.substr(0, dot1);
    month = t.substr(dot1 + 1, dot2 - dot1 - 1);
    year = t.substr(dot2 + 1);
}

bool fileExists(const std::string& path)
{
    return platform::fileExists(path);
}

void reportErr(std::int32_t number, const std::string& procedure, const std::string& description,
               platform::Report& report)
{
    if (number == 0)
        return;
    std::string text = "Erreur ";
    if (number >= 0)
        text += ' ';  // where the sign would stand
    text += std::to_string(number);
    text += ':';
    text += description;
    report.message(text, procedure, platform::Icon::None, number);
}

}  // namespace notice
