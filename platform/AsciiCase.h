#pragma once

#include <string>
#include <string_view>

// Case folding of ASCII letters only; every other byte, UTF-8 ones too, stays as it is.
namespace platform {

/// The letter in lower case; any other character unchanged.
constexpr char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

/// The text with its ASCII letters in lower case.
std::string lowerAscii(std::string text);
/// True when the texts are equal, ASCII letters compared without case.
bool equalsNoCase(std::string_view a, std::string_view b);
/// True when `text` begins with `start`, ASCII letters compared without case.
bool startsWithNoCase(std::string_view text, std::string_view start);

}  // namespace platform
