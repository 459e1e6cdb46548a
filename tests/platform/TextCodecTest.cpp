#include "platform/TextCodec.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

using namespace platform;

namespace {

constexpr auto kAll = std::string_view::npos;

}  // namespace

TEST(TextCodec, EveryByteSurvivesARoundTrip)
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    const std::string utf8 = cp1252ToUtf8(bytes);
    EXPECT_TRUE(isValidUtf8(utf8));
    EXPECT_EQ(charCount(utf8), 256u);
    std::size_t replaced = 99;
    EXPECT_EQ(utf8ToCp1252(utf8, &replaced), bytes);
    EXPECT_EQ(replaced, 0u);
}

TEST(TextCodec, DecodesTheBytesWindowsAddsToLatin1)
{
    const struct { unsigned char byte; const char* utf8; } rows[] = {
        {0x41, "A"},          {0x80, "€"},          {0x85, "…"},      {0x8A, "Š"},
        {0x8C, "Œ"},          {0x92, "’"},          {0x9C, "œ"},      {0x9F, "Ÿ"},
        {0x81, "\xC2\x81"},   {0x9D, "\xC2\x9D"},   {0xA0, "\xC2\xA0"}, {0xE9, "é"},
        {0xFF, "ÿ"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(cp1252ToUtf8(std::string(1, char(r.byte))), r.utf8) << int(r.byte);
}

TEST(TextCodec, ReplacesAndCountsCharactersOutsideTheCodePage)
{
    const struct { const char* utf8; const char* bytes; std::size_t replaced; } rows[] = {
        {"Gen\xC3\xA8ve \xE2\x82\xAC", "Gen\xE8ve \x80", 0},
        {"日本", "??", 2},
        {"a😀b", "a?b", 1},        // one character, not four bytes
        {"\xC2\x80", "?", 1},      // U+0080 is not the euro sign's byte
        {"x\xFFy", "x?y", 1},      // a stray byte is no character of the code page
        {"ą-ł", "?-?", 2},
    };
    for (const auto& r : rows) {
        std::size_t replaced = 99;
        EXPECT_EQ(utf8ToCp1252(r.utf8, &replaced), r.bytes) << r.utf8;
        EXPECT_EQ(replaced, r.replaced) << r.utf8;
    }
    EXPECT_EQ(utf8ToCp1252("日"), "?");  // the counter is optional
}

TEST(TextCodec, RecognisesWellFormedUtf8Only)
{
    // As a whole text, and as a piece whose last sequence the next piece may complete.
    const struct { const char* bytes; bool valid; bool piece; std::size_t cut; } rows[] = {
        {"", true, true, 0},
        {"plain", true, true, 0},
        {"été", true, true, 0},
        {"\xF0\x9F\x98\x80", true, true, 0},
        {"\xE9t\xE9", false, false, 0},          // cp1252 "été"
        {"\xC3", false, true, 1},                 // cut short
        {"a\xE2\x82", false, true, 2},
        {"\xF0\x9F\x98", false, true, 3},
        {"\xC3x", false, false, 0},               // not cut: broken
        {"\xC0\x80", false, false, 0},           // overlong NUL
        {"\xE0\x80\xAF", false, false, 0},       // overlong "/"
        {"\xED\xA0\x80", false, false, 0},       // surrogate
        {"\xF4\x90\x80\x80", false, false, 0},   // above U+10FFFF
        {"\x80", false, false, 0},
        {"\xF8\x88\x80\x80\x80", false, false, 0},
    };
    for (const auto& r : rows) {
        const std::string shown = testing::PrintToString(std::string(r.bytes));
        EXPECT_EQ(isValidUtf8(r.bytes), r.valid) << shown;
        std::size_t cut = 99;
        EXPECT_EQ(isValidUtf8Piece(r.bytes, cut), r.piece) << shown;
        EXPECT_EQ(cut, r.cut) << shown;
    }
}

TEST(TextCodec, HighBytesAreThoseFrom0x80Up)
{
    EXPECT_FALSE(hasHighBytes(""));
    EXPECT_FALSE(hasHighBytes("ascii \x7F"));
    EXPECT_TRUE(hasHighBytes("x\x80"));
    EXPECT_TRUE(hasHighBytes("é"));
}

TEST(TextCodec, UpperCasesByTheFixedCaseMap)
{
    const struct { const char* in; const char* out; } rows[] = {
        {"abc xyz 019", "ABC XYZ 019"},
        {"àçéèêëîôùûü", "ÀÇÉÈÊËÎÔÙÛÜ"},
        {"øþæñ", "ØÞÆÑ"},
        {"œÿšž", "ŒŸŠŽ"},
        {"ß µ ÷", "ß µ ÷"},           // no single upper-case letter, or no letter at all
        {"ÀÉŒ", "ÀÉŒ"},
        {"ą ё", "ą ё"},               // outside the code page: left alone
        {"a\xFF" "b", "A\xFF" "B"},   // a stray byte passes through
    };
    for (const auto& r : rows)
        EXPECT_EQ(upperCp1252(r.in), r.out) << r.in;
}

TEST(TextCodec, CountsCharactersNotBytes)
{
    const struct { const char* text; std::size_t count; } rows[] = {
        {"", 0}, {"abc", 3}, {"été", 3}, {"€", 1}, {"😀!", 2}, {"\xFF", 1}, {"a\xC3", 2},
    };
    for (const auto& r : rows)
        EXPECT_EQ(charCount(r.text), r.count) << r.text;
}

TEST(TextCodec, CutsAtWholeCharacters)
{
    const struct { const char* text; std::size_t start, count; const char* out; } rows[] = {
        {"été!", 1, 2, "té"},
        {"été!", 0, kAll, "été!"},
        {"été!", 2, 10, "é!"},
        {"été", 3, 1, ""},
        {"été", 7, 1, ""},
        {"abc", 1, 0, ""},
        {"€😀x", 1, 1, "😀"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(midChars(r.text, r.start, r.count), r.out) << r.text << " " << r.start << "," << r.count;
}
