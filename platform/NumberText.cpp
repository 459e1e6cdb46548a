#include "NumberText.h"

#include <charconv>
#include <cmath>

namespace platform {

std::string formatReal(double value)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    return std::string(buf, r.ptr);
}

namespace {

// The whole text as a number of type T; from_chars takes no "+", which the C library reads.
template <class T>
std::optional<T> parseWhole(std::string_view text)
{
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    T value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Advances over digits; returns how many.
int skipDigits(std::string_view text, std::size_t& at)
{
    const std::size_t from = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return int(at - from);
}

}  // namespace

std::optional<double> numericValue(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    int digits = skipDigits(text, at);
    if (at < text.size() && text[at] == '.') {
        ++at;
        digits += skipDigits(text, at);
    }
    if (digits == 0)
        return std::nullopt;
    bool negativeExponent = false;
    if (at < text.size() && (text[at] == 'E' || text[at] == 'e')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            negativeExponent = text[at++] == '-';
        if (skipDigits(text, at) == 0)
            return std::nullopt;
    }
    if (at != text.size())
        return std::nullopt;
    if (const std::optional<double> value = platform::parseReal(text))
        return value;
    // Only an exponent out of range is left.
    if (negativeExponent)
        return 0.0;
    return text.front() == '-' ? -HUGE_VAL : HUGE_VAL;
}

std::optional<double> parseReal(std::string_view text)
{
    return parseWhole<double>(text);
}

std::optional<std::int64_t> parseInteger(std::string_view text)
{
    return parseWhole<std::int64_t>(text);
}

std::string padded(std::int64_t value, int width)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, value < 0 ? -value : value);
    std::string digits(buf, r.ptr);
    if (int(digits.size()) < width)
        digits.insert(0, std::size_t(width) - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

}  // namespace platform
