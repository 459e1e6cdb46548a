#pragma once

#include <charconv>
#include <optional>
#include <string_view>

// Numbers read from text with "." as the decimal mark, whatever the locale. The library keeps
// its own copy: it links nothing of the program.
namespace geo {

/// The whole text as a real number ("5.5", "-45.25", "+3", "1e3"); nothing for anything else.
inline std::optional<double> parseReal(std::string_view text)
{
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    double value = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

/// The value of a text of digits; 0 for an empty text.
inline long digitsValue(std::string_view digits)
{
    long value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

}  // namespace geo
