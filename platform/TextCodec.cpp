#include "TextCodec.h"

#include <array>
#include <cstdint>

namespace platform {
namespace {

// Code points of bytes 0x80 to 0x9F; the five bytes Windows leaves undefined map to the C1
// controls of the same value, so that every byte survives a round trip.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t byteToCodePoint(unsigned char b)
{
    return (b >= 0x80 && b <= 0x9F) ? kHigh[b - 0x80] : char32_t(b);
}

// The byte of a code point, or -1 when the code page has none.
int codePointToByte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return int(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp)
            return int(0x80 + i);
    return -1;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Length of the well-formed UTF-8 sequence at `pos`, or 0 when there is none.
std::size_t sequenceLength(std::string_view s, std::size_t pos, char32_t* cp = nullptr)
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80) {
        if (cp) *cp = b0;
        return 1;
    }
    std::size_t len = 0;
    char32_t value = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) { len = 2; value = b0 & 0x1F; min = 0x80; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; value = b0 & 0x0F; min = 0x800; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; value = b0 & 0x07; min = 0x10000; }
    else return 0;
    if (pos + len > s.size())
        return 0;
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (b & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    if (cp) *cp = value;
    return len;
}

// Length of the character at `pos`: a well-formed sequence, or one stray byte.
std::size_t charLength(std::string_view s, std::size_t pos)
{
    const std::size_t len = sequenceLength(s, pos);
    return len == 0 ? 1 : len;
}

char32_t upperCodePoint(char32_t cp)
{
    if (cp >= 'a' && cp <= 'z')
        return cp - 0x20;
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7)
        return cp - 0x20;
    switch (cp) {
    case 0x0161: return 0x0160;  // š
    case 0x0153: return 0x0152;  // œ
    case 0x017E: return 0x017D;  // ž
    case 0x00FF: return 0x0178;  // ÿ
    default: return cp;
    }
}

}  // namespace

std::string cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes)
        appendUtf8(out, byteToCodePoint(static_cast<unsigned char>(c)));
    return out;
}

std::string utf8ToCp1252(std::string_view utf8, std::size_t* replaced)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t bad = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp = 0;
        std::size_t len = sequenceLength(utf8, pos, &cp);
        int byte = -1;
        if (len == 0)
            len = 1;  // a stray byte is not a character of the code page
        else
            byte = codePointToByte(cp);
        if (byte < 0) {
            out += '?';
            ++bad;
        } else {
            out += char(byte);
        }
        pos += len;
    }
    if (replaced)
        *replaced = bad;
    return out;
}

bool isValidUtf8(std::string_view bytes)
{
    std::size_t cut = 0;
    return isValidUtf8Piece(bytes, cut) && cut == 0;
}

bool isValidUtf8Piece(std::string_view bytes, std::size_t& cut)
{
    cut = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        if (static_cast<unsigned char>(bytes[pos]) < 0x80) {
            ++pos;
            continue;
        }
        const std::size_t len = sequenceLength(bytes, pos);
        if (len == 0) {
            // A lead byte whose sequence runs past the end: the next piece may complete it.
            const auto b0 = static_cast<unsigned char>(bytes[pos]);
            const std::size_t wanted = (b0 & 0xE0) == 0xC0 ? 2 : (b0 & 0xF0) == 0xE0 ? 3 : (b0 & 0xF8) == 0xF0 ? 4 : 0;
            const std::size_t rest = bytes.size() - pos;
            if (rest >= wanted)
                return false;
            cut = rest;
            return true;
        }
        pos += len;
    }
    return true;
}

bool hasHighBytes(std::string_view bytes)
{
    // Blocks OR-ed together without a branch per byte, so that the compiler can use wide
    // registers: a whole file is looked at in one go.
    constexpr std::size_t kBlock = 256;
    for (std::size_t start = 0; start < bytes.size(); start += kBlock) {
        const std::string_view block = bytes.substr(start, kBlock);
        unsigned char any = 0;
        for (const char c : block)
            any |= static_cast<unsigned char>(c);
        if (any & 0x80)
            return true;
    }
    return false;
}

std::string upperCp1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t cp = 0;
        const std::size_t len = sequenceLength(utf8, pos, &cp);
        if (len == 0) {
            out += utf8[pos++];
            continue;
        }
        appendUtf8(out, upperCodePoint(cp));
        pos += len;
    }
    return out;
}

std::size_t charCount(std::string_view utf8)
{
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < utf8.size(); pos += charLength(utf8, pos))
        ++n;
    return n;
}

std::string midChars(std::string_view utf8, std::size_t start, std::size_t count)
{
    std::size_t pos = 0;
    for (std::size_t i = 0; i < start && pos < utf8.size(); ++i)
        pos += charLength(utf8, pos);
    std::size_t end = pos;
    for (std::size_t i = 0; i < count && end < utf8.size(); ++i)
        end += charLength(utf8, end);
    return std::string(utf8.substr(pos, end - pos));
}

std::vector<std::string> chunkChars(std::string_view utf8, std::size_t count)
{
    std::vector<std::string> pieces;
    std::size_t start = 0, pos = 0, chars = 0;
    while (pos < utf8.size() && count > 0) {
        pos += charLength(utf8, pos);
        if (++chars == count) {
            pieces.emplace_back(utf8.substr(start, pos - start));
            start = pos;
            chars = 0;
        }
    }
    if (start < utf8.size())
        pieces.emplace_back(utf8.substr(start));
    return pieces;
}

}  // namespace platform
