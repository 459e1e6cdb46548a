#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <limits>

// These run under the C locale and again under a comma locale.

TEST(NumberText, WritesRealsWithAPointAndNoTrailingZeros)
{
    const std::pair<double, const char*> rows[] = {{98.5, "98.5"},     {100.0, "100"},   {0.1, "0.1"},
                                                    {-7.25, "-7.25"},  {479.25, "479.25"}, {1e20, "1e+20"},
                                                    {123456789.125, "123456789.125"}, {0.0, "0"}};
    for (const auto& [value, text] : rows)
        EXPECT_EQ(platform::formatReal(value), text);
}

TEST(NumberText, ReadsOnlyWholeTextsWithAPoint)
{
    const std::pair<const char*, std::optional<double>> rows[] = {
        {"98.5", 98.5}, {"-7", -7.0}, {"+5.5", 5.5}, {"1e3", 1000.0}, {".5", 0.5},
        {"98,5", std::nullopt}, {"", std::nullopt}, {"5.5 ", std::nullopt}, {" 5.5", std::nullopt},
        {"+-5", std::nullopt}, {"abc", std::nullopt}, {"1e999", std::nullopt}};
    for (const auto& [text, value] : rows)
        EXPECT_EQ(platform::parseReal(text), value) << '"' << text << '"';
}

TEST(NumberText, ReadsWholeNumbersAndPadsThem)
{
    const std::pair<const char*, std::optional<std::int64_t>> rows[] = {
        {"007", 7}, {"-12", -12}, {"+3", 3}, {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
        {"9223372036854775808", std::nullopt}, {"1.0", std::nullopt}, {"", std::nullopt}, {"1 000", std::nullopt}};
    for (const auto& [text, value] : rows)
        EXPECT_EQ(platform::parseInteger(text), value) << '"' << text << '"';
    EXPECT_EQ(platform::padded(7, 2), "07");
    EXPECT_EQ(platform::padded(2026, 2), "2026");
    EXPECT_EQ(platform::padded(5, 4), "0005");
    EXPECT_EQ(platform::padded(-5, 3), "-005");
}
