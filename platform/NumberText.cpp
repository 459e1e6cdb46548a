#include "NumberText.h"

#include <charconv>

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

}  // namespace

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
