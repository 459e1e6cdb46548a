#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Texts that cross the library's interface have a fixed length and are padded with blanks.
namespace geo {

/// The `length` characters at `text` (none for a null address or a length below 1).
std::string fromFixed(const char* text, long length);

/// Writes `value` into the `length` characters at `text`, cut or padded with blanks.
void toFixed(char* text, long length, std::string_view value);

/// The text without trailing blanks.
std::string_view trimRight(std::string_view text);

/// True when the text holds only blanks.
bool isBlank(std::string_view text);

}  // namespace geo
