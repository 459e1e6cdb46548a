#include "notice/FieldUtils.h"
#include "platform/Report.h"

#include "platform/SystemInfo.h"
#include "platform/TextCodec.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace notice;

namespace {

const std::string kUnknownUser = "Unknown (NON Windows NT environment)";

std::int16_t i16(int v) { return static_cast<std::int16_t>(v); }

}  // namespace

TEST(FieldUtils, UserNameKeepsTheFirstEightCharacters)
{
    const struct { std::string login, expected; } rows[] = {
        {"jo", "jo"},
        {"abcdefgh", "abcdefgh"},
        {"abcdefghi", "abcdefgh"},
        {"éàçèùâêîô", "éàçèùâêî"},  // characters, not bytes
        {"", kUnknownUser},
    };
    for (const auto& r : rows)
        EXPECT_EQ(userNameFrom(r.login), r.expected) << r.login;

    const std::string own = getWinUserName();
    EXPECT_TRUE(own == kUnknownUser || (!own.empty() && platform::charCount(own) <= 8)) << own;
}

TEST(FieldUtils, WithoutTerminalOrUserVariableTheAccountNamesTheUser)
{
    // A service: standard input is no terminal and USER is not set.
    const auto child = testing_support::runInChild([] {
        unsetenv("USER");
        std::fputs(getWinUserName().c_str(), stdout);
    });
    ASSERT_TRUE(child.exited && child.status == 0);
    EXPECT_FALSE(child.output.empty());
    EXPECT_NE(child.output, kUnknownUser);
}

TEST(FieldUtils, RangeChecksIncludeBothBounds)
{
    using Check = bool (*)(std::int16_t);
    const int y = platform::now().year;
    const struct { const char* name; Check check; int value; bool ok; } rows[] = {
        {"day", isValidDay, 0, false},        {"day", isValidDay, 1, true},
        {"day", isValidDay, 31, true},        {"day", isValidDay, 32, false},
        {"month", isValidMonth, 0, false},    {"month", isValidMonth, 1, true},
        {"month", isValidMonth, 12, true},    {"month", isValidMonth, 13, false},
        {"hhmm", isValidHHMM, -1, false},     {"hhmm", isValidHHMM, 0, true},
        {"hhmm", isValidHHMM, 1275, true},    {"hhmm", isValidHHMM, 2400, true},
        {"hhmm", isValidHHMM, 2401, false},
        {"ntc", isValidNtcYear, y - 3, false}, {"ntc", isValidNtcYear, y - 2, true},
        {"ntc", isValidNtcYear, y + 1, true},  {"ntc", isValidNtcYear, y + 2, false},
        {"inuse", isValidInUseYear, 1949, false}, {"inuse", isValidInUseYear, 1950, true},
        {"inuse", isValidInUseYear, y + 2, true}, {"inuse", isValidInUseYear, y + 3, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.check(i16(r.value)), r.ok) << r.name << " " << r.value;
}

TEST(FieldUtils, LetterChecks)
{
    EXPECT_TRUE(hasNoDigit("ABC é"));
    EXPECT_TRUE(hasNoDigit(""));
    EXPECT_FALSE(hasNoDigit("A1"));
    EXPECT_FALSE(hasNoDigit("9"));

    for (const char* s : {"E", "e", "W", "w"})
        EXPECT_TRUE(isEastWest(s)) << s;
    for (const char* s : {"", "EW", "N", " E", "East"})
        EXPECT_FALSE(isEastWest(s)) << s;
    for (const char* s : {"N", "n", "S", "s"})
        EXPECT_TRUE(isNorthSouth(s)) << s;
    for (const char* s : {"", "NS", "E", "S "})
        EXPECT_FALSE(isNorthSouth(s)) << s;
}

TEST(FieldUtils, TrimsAndUpperCases)
{
    EXPECT_EQ(trimValue("  ab c  "), "ab c");
    EXPECT_EQ(trimValue("   "), "");
    EXPECT_EQ(trimValue(""), "");
    EXPECT_EQ(upperValue("genève œuvre ß"), "GENÈVE ŒUVRE ß");
}

TEST(FieldUtils, FixedWidthPaddingAddsZerosOnlyToShortTexts)
{
    using Pad = std::string (*)(const std::string&);
    const struct { const char* name; Pad pad; const char* in; const char* out; } rows[] = {
        {"4", padZeros4, "", ""},       {"4", padZeros4, "1", "0001"},  {"4", padZeros4, "12", "0012"},
        {"4", padZeros4, "123", "0123"}, {"4", padZeros4, "1234", "1234"}, {"4", padZeros4, "12345", "12345"},
        {"3", padZeros3, "", ""},       {"3", padZeros3, "7", "007"},   {"3", padZeros3, "12", "012"},
        {"3", padZeros3, "123", "123"}, {"3", padZeros3, "1234", "1234"},
        {"2", padZeros2, "", ""},       {"2", padZeros2, "5", "05"},    {"2", padZeros2, "59", "59"},
        {"2", padZeros2, "123", "123"},
        {"ms", padZeros2MinSec, "", ""}, {"ms", padZeros2MinSec, "5", "05"}, {"ms", padZeros2MinSec, "59", "59"},
        {"3", padZeros3, "é", "00é"},  // width in characters
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.pad(r.in), r.out) << r.name << " '" << r.in << "'";
}

TEST(FieldUtils, PadZerosFillsOneOrTwoMissingCharacters)
{
    const struct { const char* in; int width; const char* out; } rows[] = {
        {"7", 3, "007"}, {"12", 3, "012"}, {"123", 3, "123"}, {"1234", 3, "1234"},
        {"", 2, "00"},   {"", 3, ""},      {"", 1, "0"},      {"5", 2, "05"},
        {"7", 4, "7"},   {"é", 2, "0é"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(padZeros(r.in, r.width), r.out) << "'" << r.in << "' to " << r.width;
}

TEST(FieldUtils, JoinDateNeedsAllThreeParts)
{
    EXPECT_EQ(joinDate("2023", "01", "05"), "2023-01-05");
    EXPECT_EQ(joinDate("", "01", "05"), "");
    EXPECT_EQ(joinDate("2023", "", "05"), "");
    EXPECT_EQ(joinDate("2023", "01", ""), "");
}

TEST(FieldUtils, FormatNtcDateWritesDayMonthYear)
{
    const struct { const char* in; const char* out; } rows[] = {
        {"", ""},
        {"2023-01-05", "05.01.2023"},
        {"2023-1-5", "05.01.2023"},
        {"05.01.2023", "05.01.2023"},
        {"5.1.2023", "05.01.2023"},
        {"2024-02-29", "29.02.2024"},
        {"2000-02-29", "29.02.2000"},
        // not dates: returned as given
        {"2023-02-30", "2023-02-30"},
        {"2023-02-29", "2023-02-29"},
        {"1900-02-29", "1900-02-29"},
        {"31.04.2023", "31.04.2023"},
        {"2023-13-01", "2023-13-01"},
        {"23-01-05", "23-01-05"},
        {"next week", "next week"},
        // only the two forms, whole: nothing is cut off and no order is guessed
        {"2023-01-05 junk", "2023-01-05 junk"},
        {"05/01/2023", "05/01/2023"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(formatNtcDate(r.in), r.out) << r.in;
}

TEST(FieldUtils, SplitDateNeedsTwoDots)
{
    const struct { const char* in; const char* year; const char* month; const char* day; } rows[] = {
        {"05.01.2023", "2023", "01", "05"},
        {" 5.1.2023 ", "2023", "1", "5"},
        {"", "Y", "M", "D"},
        {"05012023", "Y", "M", "D"},
        {"05.012023", "Y", "M", "D"},
    };
    for (const auto& r : rows) {
        std::string year = "Y", month = "M", day = "D";
        splitDate(r.in, year, month, day);
        EXPECT_EQ(year, r.year) << r.in;
        EXPECT_EQ(month, r.month) << r.in;
        EXPECT_EQ(day, r.day) << r.in;
    }
}

TEST(FieldUtils, FileExistsFindsFilesNotFolders)
{
    testing_support::TempDir dir;
    EXPECT_TRUE(fileExists(dir.write("a.txt", "x").string()));
    EXPECT_FALSE(fileExists(dir.path().string()));
    EXPECT_FALSE(fileExists((dir.path() / "missing.txt").string()));
    EXPECT_FALSE(fileExists(""));
}

TEST(FieldUtils, ReportErrReportsTheSignedNumberTitledByProcedure)
{
    const struct { std::int32_t number; const char* text; } rows[] = {
        {5, "Erreur  5:x"}, {-5, "Erreur -5:x"}, {3021, "Erreur  3021:x"}, {-2147483647 - 1, "Erreur -2147483648:x"},
    };
    for (const auto& r : rows) {
        platform::Report report;
        reportErr(r.number, "OpenDB", "x", report);
        EXPECT_EQ(report.messages(),
                  (std::vector<platform::Message>{{r.number, r.text, "OpenDB", platform::Icon::None}}));
    }
    platform::Report silent;
    reportErr(0, "OpenDB", "x", silent);
    EXPECT_TRUE(silent.messages().empty());
}
