#include "CoordText.h"
#include "NumberText.h"

#include "core/Fatal.h"
#include "core/FixedText.h"
#include "core/Utilities.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace geo {
namespace {

constexpr std::size_t kTextLength = 15;

// Positions (from 0) and widths of the eight fields, in the order: longitude degrees,
// minutes, seconds, letter, latitude degrees, minutes, seconds, letter.
struct Field {
    std::size_t at, width;
};
using Fields = std::array<Field, 8>;
constexpr Fields kLongitudeFirst = {{{0, 3}, {4, 2}, {6, 2}, {3, 1}, {8, 2}, {11, 2}, {13, 2}, {10, 1}}};
constexpr Fields kLatitudeFirst = {{{7, 3}, {10, 2}, {12, 2}, {14, 1}, {0, 2}, {2, 2}, {4, 2}, {6, 1}}};

const Fields& fieldsOf(Layout layout)
{
    return layout == Layout::LongitudeFirst ? kLongitudeFirst : kLatitudeFirst;
}

// A numeric field in which blanks count for nothing; nothing when it holds anything else.
std::optional<long> readNumber(std::string_view field)
{
    long value = 0;
    bool negative = false, sign = false, digits = false;
    for (const char c : field) {
        if (c == ' ')
            continue;
        if ((c == '-' || c == '+') && !sign && !digits) {
            sign = true;
            negative = c == '-';
        } else if (c >= '0' && c <= '9') {
            digits = true;
            value = value * 10 + (c - '0');
        } else {
            return std::nullopt;
        }
    }
    return negative ? -value : value;
}

struct Parts {
    std::array<long, 3> lon, lat;  // degrees, minutes, seconds
    char lonLetter, latLetter;
};

std::optional<Parts> readParts(std::string_view text, Layout layout)
{
    std::string padded(text.substr(0, kTextLength));
    padded.resize(kTextLength, ' ');
    const Fields& f = fieldsOf(layout);
    Parts p{};
    for (int i = 0; i < 3; ++i) {
        const auto lon = readNumber(std::string_view(padded).substr(f[i].at, f[i].width));
        const auto lat = readNumber(std::string_view(padded).substr(f[i + 4].at, f[i + 4].width));
        if (!lon || !lat)
            return std::nullopt;
        p.lon[std::size_t(i)] = *lon;
        p.lat[std::size_t(i)] = *lat;
    }
    p.lonLetter = padded[f[3].at];
    p.latLetter = padded[f[7].at];
    return p;
}

double toRadians(const std::array<long, 3>& dms)
{
    return double(dms[0]) * double(kRadPerDegree) + double(dms[1]) * double(kRadPerMinute) +
           double(dms[2]) * double(kRadPerSecond);
}

std::array<long, 3> toDms(float angle)
{
    const long s = std::labs(long(roundHalfAway(double(angle) * double(kSecondsPerRadian))));
    return {s / 3600, s % 3600 / 60, s % 60};
}

bool validParts(const Parts& p)
{
    const auto isAny = [](char c, const char* set) { return c != '\0' && std::string_view(set).find(c) != std::string_view::npos; };
    if (!isAny(p.lonLetter, "EeWw") || !isAny(p.latLetter, "NnSs"))
        return false;
    for (const auto* dms : {&p.lon, &p.lat})
        for (std::size_t i = 0; i < 3; ++i)
            if ((*dms)[i] < 0 || (i > 0 && (*dms)[i] > 59))
                return false;
    return p.lon[0] * 3600 + p.lon[1] * 60 + p.lon[2] <= 648000 && p.lat[0] * 3600 + p.lat[1] * 60 + p.lat[2] <= 324000;
}

// Free-form reading ------------------------------------------------------------------------

struct Token {
    std::string text;  // a number (digits and one point) or a hemisphere letter
    bool letter;
};

// Degrees, minutes and seconds of one coordinate from its numbers: either one compact number
// (D..DMMSS with `degreeDigits` degree digits) or separate numbers.
std::optional<std::pair<std::array<long, 3>, double>> dmsFrom(const std::vector<std::string>& numbers,
                                                                std::size_t degreeDigits)
{
    if (numbers.empty() || numbers.size() > 3)
        return std::nullopt;
    std::array<long, 3> dms{0, 0, 0};
    double fraction = 0;
    auto whole = [](const std::string& n, double* frac) -> std::optional<long> {
        const auto point = n.find('.');
        const std::string digits = n.substr(0, point);
        if (point != std::string::npos) {
            if (!frac || n.find('.', point + 1) != std::string::npos)
                return std::nullopt;
            *frac = parseReal("0" + n.substr(point)).value_or(0.0);
        }
        if (digits.empty() || digits.size() > 9)
            return std::nullopt;
        return digitsValue(digits);
    };
    if (numbers.size() == 1) {
        const std::string& n = numbers[0];
        const std::string digits = n.substr(0, n.find('.'));
        if (digits.size() <= degreeDigits) {
            if (n.find('.') != std::string::npos)
                return std::nullopt;
            dms[0] = digitsValue(digits);
        } else if (digits.size() == degreeDigits + 2 || digits.size() == degreeDigits + 4) {
            dms[0] = digitsValue(digits.substr(0, degreeDigits));
            dms[1] = digitsValue(digits.substr(degreeDigits, 2));
            if (digits.size() == degreeDigits + 4) {
                const auto s = whole(n.substr(degreeDigits + 2), &fraction);
                if (!s)
                    return std::nullopt;
                dms[2] = *s;
            } else if (n.find('.') != std::string::npos) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
        return std::pair{dms, fraction};
    }
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const auto v = whole(numbers[i], i == numbers.size() - 1 && i == 2 ? &fraction : nullptr);
        if (!v)
            return std::nullopt;
        dms[i] = *v;
    }
    return std::pair{dms, fraction};
}

bool readDmsWithLetters(const std::vector<Token>& tokens, LonLat& out)
{
    std::vector<std::size_t> letters;
    for (std::size_t i = 0; i < tokens.size(); ++i)
        if (tokens[i].letter)
            letters.push_back(i);
    if (letters.size() != 2)
        return false;
    // Each coordinate: its letter and its numbers. A text ending in a letter puts the numbers
    // before each letter; otherwise the letter follows the degrees (as in "006E0812").
    std::array<std::vector<std::string>, 2> numbers;
    std::array<char, 2> letter{tokens[letters[0]].text[0], tokens[letters[1]].text[0]};
    if (tokens.back().letter) {
        for (std::size_t i = 0; i < tokens.size(); ++i)
            if (!tokens[i].letter)
                numbers[i < letters[0] ? 0 : 1].push_back(tokens[i].text);
        if (letters[0] == 0)
            return false;
    } else {
        if (letters[0] != 1 || letters[1] < 3 || tokens[letters[1] - 1].letter)
            return false;
        numbers[0].push_back(tokens[0].text);
        for (std::size_t i = 2; i + 1 < letters[1]; ++i)
            numbers[0].push_back(tokens[i].text);
        numbers[1].push_back(tokens[letters[1] - 1].text);
        for (std::size_t i = letters[1] + 1; i < tokens.size(); ++i)
            numbers[1].push_back(tokens[i].text);
        // "006E0812" splits the degrees from the minutes and seconds: join them again.
        for (auto& n : numbers)
            if (n.size() == 2 && n[1].size() >= 4 && n[1].find('.') != 2)
                n = {n[0], n[1].substr(0, 2), n[1].substr(2)};
    }
    const bool firstIsLon = letter[0] == 'E' || letter[0] == 'W';
    const bool secondIsLat = letter[1] == 'N' || letter[1] == 'S';
    if (firstIsLon != secondIsLat)
        return false;
    const std::size_t lonAt = firstIsLon ? 0 : 1;
    const auto lon = dmsFrom(numbers[lonAt], 3);
    const auto lat = dmsFrom(numbers[1 - lonAt], 2);
    if (!lon || !lat)
        return false;
    Parts p{lon->first, lat->first, letter[lonAt], letter[1 - lonAt]};
    if (!validParts(p))
        return false;
    double lonRad = toRadians(p.lon) + lon->second * double(kRadPerSecond);
    double latRad = toRadians(p.lat) + lat->second * double(kRadPerSecond);
    if (p.lonLetter == 'W')
        lonRad = -lonRad;
    if (p.latLetter == 'S')
        latRad = -latRad;
    out = {float(lonRad), float(latRad)};
    return true;
}

bool readDecimalDegrees(std::string_view text, LonLat& out)
{
    std::string s(text);
    // A sign also separates the two numbers ("5.5-45.2").
    for (std::size_t i = 1; i < s.size(); ++i)
        if ((s[i] == '+' || s[i] == '-') && s[i - 1] != ' ')
            s.insert(i++, " ");
    // Exactly two numbers between blanks.
    std::optional<double> values[2];
    std::size_t count = 0, i = 0;
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < s.size()) {
        if (blank(s[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < s.size() && !blank(s[end]))
            ++end;
        if (count == 2 || !(values[count++] = parseReal(std::string_view(s).substr(i, end - i))))
            return false;
        i = end;
    }
    if (count != 2)
        return false;
    const double lon = *values[0], lat = *values[1];
    for (const double v : {lon, lat})
        if (!std::isfinite(v))
            return false;
    const double lonRad = lon * double(kRadPerDegree), latRad = lat * double(kRadPerDegree);
    if (std::fabs(lonRad) > double(kPi) || std::fabs(latRad) > double(kHalfPi))
        return false;
    out = {float(lonRad), float(latRad)};
    return true;
}

}  // namespace

LonLat readCoordText(std::string_view text, Layout layout, std::string_view routine)
{
    const auto p = readParts(text, layout);
    if (!p)
        fatalMessage(routine, " Invalid coordinate text: " + std::string(text.substr(0, kTextLength)));
    double lon = toRadians(p->lon), lat = toRadians(p->lat);
    if (p->lonLetter == 'W' || p->lonLetter == 'w')
        lon = -lon;
    if (p->latLetter == 'S' || p->latLetter == 's')
        lat = -lat;
    return {float(lon), float(lat)};
}

std::string writeCoordText(float lon, float lat, Layout layout)
{
    const auto a = toDms(lon), b = toDms(lat);
    const char lonLetter = lon < 0 ? 'W' : 'E', latLetter = lat < 0 ? 'S' : 'N';
    char buf[32];
    if (layout == Layout::LongitudeFirst)
        std::snprintf(buf, sizeof buf, "%03ld%c%02ld%02ld%02ld%c%02ld%02ld", a[0], lonLetter, a[1], a[2], b[0],
                      latLetter, b[1], b[2]);
    else
        std::snprintf(buf, sizeof buf, "%02ld%02ld%02ld%c%03ld%02ld%02ld%c", b[0], b[1], b[2], latLetter, a[0], a[1],
                      a[2], lonLetter);
    return std::string(buf).substr(0, kTextLength);
}

bool checkCoordText(std::string& text, Layout layout)
{
    const auto p = readParts(text, layout);
    if (!p || !validParts(*p))
        return false;
    text.resize(kTextLength, ' ');
    for (char& c : text)
        c = c == ' ' ? '0' : char(std::toupper(static_cast<unsigned char>(c)));
    return true;
}

bool readFreeCoord(std::string_view text, LonLat& out)
{
    out = {0.0f, 0.0f};
    std::string s(text.substr(0, 80));
    for (char& c : s) {
        c = char(std::toupper(static_cast<unsigned char>(c)));
        if (static_cast<unsigned char>(c) < ' ' || c == ',' || c == ';')
            c = ' ';
    }
    s = std::string(trimRight(s));
    if (s.size() < 3 || s.find_first_not_of("1234567890NSEW+-. ") != std::string::npos)
        return false;
    // The longitude-first layout itself, where blanks in a field count for nothing.
    for (const std::string& layout : {s, s.substr(s.find_first_not_of(' '))}) {
        if (layout.size() == kTextLength && std::string_view("EW").find(layout[3]) != std::string_view::npos &&
            std::string_view("NS").find(layout[10]) != std::string_view::npos) {
            std::string checked = layout;
            if (!checkCoordText(checked, Layout::LongitudeFirst))
                return false;
            out = readCoordText(checked, Layout::LongitudeFirst, "CRDUNPN");
            return true;
        }
    }
    s.erase(0, s.find_first_not_of(' '));
    if (s.find_first_of("NSEW") == std::string::npos)
        return readDecimalDegrees(s, out);
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (c == ' ') {
            ++i;
        } else if (std::string_view("NSEW").find(c) != std::string_view::npos) {
            tokens.push_back({std::string(1, c), true});
            ++i;
        } else if ((c >= '0' && c <= '9') || c == '.') {
            const std::size_t end = s.find_first_not_of("0123456789.", i);
            tokens.push_back({s.substr(i, end - i), false});
            i = end == std::string::npos ? s.size() : end;
        } else {
            return false;  // signs only go with decimal degrees
        }
    }
    return readDmsWithLetters(tokens, out);
}

void convertUnits(std::int16_t unit, float* points, std::int16_t count)
{
    double factor = 0;
    switch (unit) {
    case 2: factor = kDegreesPerRadian; break;
    case -2: factor = kRadPerDegree; break;
    case 3: factor = kSecondsPerRadian; break;
    case -3: factor = kRadPerSecond; break;
    default: return;
    }
    for (int i = 0; i < 2 * count; ++i) {
        const double v = double(points[i]) * factor;
        points[i] = unit == 3 ? float(roundHalfAway(v)) : float(v);
    }
}

void packReals(std::int32_t mode, std::int32_t count, float* values, char* packed)
{
    for (std::int32_t i = 0; i < count; ++i) {
        char* c = packed + 3 * i;
        if (mode == 1) {
            const long v = std::labs(long(roundHalfAway(double(values[i]) * 1e7)));
            c[0] = char(v / 10000 % 100 + 32);
            c[1] = char(v / 100 % 100 + 32);
            c[2] = char(v % 100 + 32);
        } else if (mode == 2) {
            long d[3];
            for (int k = 0; k < 3; ++k) {
                d[k] = long(static_cast<unsigned char>(c[k])) - 32;
                if (d[k] < 0 || d[k] > 94)
                    d[k] = 31;
            }
            values[i] = float(double(d[0] * 10000 + d[1] * 100 + d[2]) * 1e-7);
        }
    }
}

void roundReals(const float* values, std::int32_t* rounded, std::int16_t count)
{
    for (int i = 0; i < count; ++i)
        rounded[i] = roundHalfAway(values[i]);
}

}  // namespace geo
