#include "NoticeFileFormat.h"

#include "FieldUtils.h"
#include "platform/AsciiCase.h"
#include "platform/TextCodec.h"
#include "platform/NumberText.h"

#include <algorithm>
#include <cmath>

namespace notice {
namespace {

bool signAndDigits(std::string_view value, std::size_t shortLen, std::size_t longLen)
{
    if (value.empty() || (value[0] != '+' && value[0] != '-'))
        return false;
    const std::size_t digits = value.size() - 1;
    return (digits == shortLen || digits == longLen) && isDigits(value.substr(1));
}

}  // namespace

std::string replaceTabs(std::string& text)
{
    if (text.find('\t') == std::string::npos)
        return text;
    std::replace(text.begin(), text.end(), '\t', ' ');
    return trimValue(text);
}

namespace {

// trimValue then replaceTabs, in place.
void trimAndReplaceTabs(std::string& text)
{
    const std::string_view trimmed = trimmedView(text);
    if (trimmed.size() != text.size())
        text.assign(trimmed);
    if (text.find('\t') != std::string::npos)
        text = replaceTabs(text);
}

}  // namespace

bool splitKeyLine(std::string_view line, std::string_view& key, std::string_view& value)
{
    const auto eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = trimmedView(line.substr(0, eq));
    value = trimmedView(line.substr(eq + 1));
    return true;
}

std::string keyText(std::string_view key)
{
    std::string text(key);
    if (!text.empty() && (text[0] == 't' || text[0] == 'T'))
        for (char& c : text)
            c = platform::lowerAscii(c);
    return text;
}

bool splitKeyValue(std::string& line, std::string& key, std::string& value)
{
    trimAndReplaceTabs(line);
    std::string_view k, v;
    if (!splitKeyLine(line, k, v))
        return false;
    key = keyText(k);
    value.assign(v);
    return true;
}

std::optional<int> parseAzimuth(std::string_view text)
{
    if (!isDigits(text))
        return std::nullopt;
    int degrees = 0;
    for (const char c : text.substr(std::min(text.find_first_not_of('0'), text.size()))) {
        degrees = degrees * 10 + (c - '0');
        if (degrees >= 355)
            return std::nullopt;
    }
    return degrees;
}

bool getAzmFromKey(std::string& key, std::string& azimuth)
{
    trimAndReplaceTabs(key);
    const auto at = key.find('@');
    if (at == std::string::npos)
        return false;
    azimuth = at + 4 <= key.size() ? key.substr(at + 4) : std::string();
    return parseAzimuth(azimuth).has_value();
}

double azimuthSlot(double azimuthDeg)
{
    return std::nearbyint(azimuthDeg / 10.0);
}

std::string getLongDeg(const std::string& lon) { return platform::midChars(lon, 1, 3); }
std::string getLongMin(const std::string& lon) { return platform::midChars(lon, 4, 2); }

std::string getLongSec(const std::string& lon)
{
    return platform::charCount(lon) == 6 ? std::string() : platform::midChars(lon, 6, 2);
}

std::string getLongEW(const std::string& lon) { return lon.starts_with('+') ? "E" : "W"; }
std::string getLatDeg(const std::string& lat) { return platform::midChars(lat, 1, 2); }
std::string getLatMin(const std::string& lat) { return platform::midChars(lat, 3, 2); }

std::string getLatSec(const std::string& lat)
{
    return platform::charCount(lat) == 5 ? std::string() : platform::midChars(lat, 5, 2);
}

std::string getLatNS(const std::string& lat) { return lat.starts_with('-') ? "S" : "N"; }

bool isFileLongitude(std::string_view value) { return signAndDigits(value, 5, 7); }
bool isFileLatitude(std::string_view value) { return signAndDigits(value, 4, 6); }

std::string hhmmFromTime(const std::string& time)
{
    return platform::midChars(time, 0, 2) + platform::midChars(time, 3, 2);
}

std::optional<std::string> parseFileTime(const std::string& time)
{
    const auto colon = time.find(':');
    if (colon == std::string::npos || colon < 1 || colon > 2 || time.size() != colon + 3)
        return std::nullopt;
    const std::string hh = time.substr(0, colon);
    const std::string mm = time.substr(colon + 1);
    if (!isDigits(hh) || !isDigits(mm))
        return std::nullopt;
    // A number too long to read is out of range too.
    const auto hours = platform::parseInteger(hh).value_or(25), minutes = platform::parseInteger(mm).value_or(60);
    if (hours > 24 || minutes > 59 || (hours == 24 && minutes != 0))
        return std::nullopt;
    return padZeros2(hh) + mm;
}

}  // namespace notice
