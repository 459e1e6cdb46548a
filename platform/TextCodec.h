#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Text crosses the file boundary as Windows-1252 and lives inside the program as UTF-8.
namespace platform {

/// Decodes single-byte Windows-1252 text to UTF-8; every byte maps to one character.
std::string cp1252ToUtf8(std::string_view bytes);

/// Encodes UTF-8 text as Windows-1252. A character outside the code page becomes "?" and is
/// counted in `replaced`.
std::string utf8ToCp1252(std::string_view utf8, std::size_t* replaced = nullptr);

/// True when the bytes are well-formed UTF-8 (shortest forms, no surrogates).
bool isValidUtf8(std::string_view bytes);
/// The same for one piece of a longer text: a sequence cut short by the piece's end is no
/// fault; `cut` gives how many of its bytes end the piece (0 when none), to be checked again
/// in front of the next piece.
bool isValidUtf8Piece(std::string_view bytes, std::size_t& cut);

/// True when the bytes hold at least one byte of 0x80 or above.
bool hasHighBytes(std::string_view bytes);

/// Upper case by the fixed Windows-1252 case map (à→À, œ→Œ, ÿ→Ÿ; ß and µ stay); other
/// characters unchanged.
std::string upperCp1252(std::string_view utf8);

/// Number of characters (code points) of UTF-8 text; a stray byte counts as one.
std::size_t charCount(std::string_view utf8);

/// Characters `start` (from 0) to `start + count`, cut at whole characters; shorter or empty
/// past the end.
std::string midChars(std::string_view utf8, std::size_t start, std::size_t count = std::string_view::npos);

/// The text cut into pieces of `count` characters (the last one shorter), in one pass.
std::vector<std::string> chunkChars(std::string_view utf8, std::size_t count);

}  // namespace platform
