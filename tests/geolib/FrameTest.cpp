#include "tavu32d.h"

#include "core/Fatal.h"
#include "core/FixedText.h"
#include "state/LibraryState.h"
#include "core/Services.h"
#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <regex>

using testing_support::runInChild;

namespace {

const std::string kCancel = " >>>> CANCELR - ABNORMAL END\n";

std::string padded60(const std::string& line)
{
    return line + std::string(60 - line.size(), ' ');
}

}  // namespace

TEST(Frame, RestrictedUnitEndsTheProcessWithItsReport)
{
    for (int32_t unit : {75, 76}) {
        const auto r = runInChild([unit] {
            int32_t u = unit;
            WDBUNIT(&u);
        });
        EXPECT_EQ(r.output, " --- Error in routine WDBUNIT\n" + padded60(" 75/76 ARE RESTRICTED UNIT-NUMBERS") +
                                "\n" + kCancel);
        EXPECT_TRUE(r.exited);
        EXPECT_NE(r.status, 0) << "a fatal report ends the process with a failure status";
    }
}

TEST(Frame, InitialisesOnce)
{
    const auto r = runInChild([] {
        int32_t first = 20, second = 30;
        WDBUNIT(&first);
        WDBUNIT(&second);
        std::printf("%d %.20s %d\n", geo::libraryState().frame.indexUnit,
                    geo::libraryState().frame.optionString.data(), geo::errorRecord().errorKind);
    });
    EXPECT_EQ(r.output, "20 00000000000000000000 0\n");
    EXPECT_EQ(r.status, 0);
}

TEST(Frame, ReportsEachErrorKindOnOneLine)
{
    struct Row {
        int32_t kind, value;
        const char *limit, *block;
        std::string expected;
    };
    const Row rows[] = {
        {1, 1234567, "", "", " Did not find the line 1234567 in the coordinate file.\n"},
        {1, 123456789, "", "", " Did not find the line******** in the coordinate file.\n"},
        {2, 398, "MXALTB", "GEOQ15", " Increase the parameter MXALTB=   398 in GEOQ15\n"},
        {3, 0, "", "", " Wrong version, relink program.\n"},
        {4, 0, "ALLOT-7", "", " No match on Allotment id: ALLOT-7\n"},
        {5, 12, "MAXWRK", "", " Increase the parameter MAXWRK=    12\n"},
        {6, 0, "POINTS", "", " Increase dimension for POINTS in the calling routine.\n"},
        {7, 0, "", "", ""},
    };
    for (const Row& row : rows) {
        geo::ErrorRecord e;
        e.errorKind = row.kind;
        e.errorValue = row.value;
        geo::toFixed(e.routineName, 12, "GEOTEST");
        geo::toFixed(e.limitName, 12, row.limit);
        geo::toFixed(e.blockName, 12, row.block);
        EXPECT_EQ(geo::errorReport(e), " --- Error in routine GEOTEST\n" + row.expected) << "kind " << row.kind;
    }

    geo::ErrorRecord free;
    geo::toFixed(free.messageLines[0], 60, "first");
    geo::toFixed(free.messageLines[2], 60, "  third  ");
    EXPECT_EQ(geo::errorReport(free), " --- Error in routine \n first\n   third\n")
        << "kind 0: the non-blank lines, each after a blank; a fresh record holds no garbage";
}

TEST(Frame, CancelrPrintsItsLineAndFails)
{
    const auto r = runInChild([] { CANCELR(); });
    EXPECT_EQ(r.output, kCancel);
    EXPECT_NE(r.status, 0);
}

TEST(Frame, MessageWaitsForReturnOrTheEndOfInput)
{
    const auto show = [] {
        int32_t unused = 0;
        char first[] = "Increase MAX_PATH\0rest";
        char second[] = "GEOGID\0tail";
        GEOMSG8(&unused, first, int32_t(sizeof first - 1), second, int32_t(sizeof second - 1));
        std::printf("returned\n");
    };
    const std::string expected = " GEOGID\n Increase MAX_PATH\n  Press return ...\nreturned\n";
    EXPECT_EQ(runInChild(show, "\n").output, expected);
    EXPECT_EQ(runInChild(show).output, expected) << "the end of input counts as return";

    const auto r = runInChild([] {
        int32_t unused = 0;
        char first[] = "one\r\rthree  \r";
        char second[] = "   ";
        GEOMSG8(&unused, first, int32_t(sizeof first - 1), second, int32_t(sizeof second - 1));
    });
    EXPECT_EQ(r.output, " one\n \n three  \n  Press return ...\n") << "pieces keep their length";
}

TEST(Frame, VersionDateTimeAndStopWatch)
{
    int32_t version = 0;
    TAVU(&version);
    EXPECT_EQ(version, 20050621);

    char date[8], time[8];
    DATIMH(date, time);
    EXPECT_TRUE(std::regex_match(std::string(date, 8), std::regex(R"(\d\d/\d\d/\d\d)")));
    EXPECT_TRUE(std::regex_match(std::string(time, 8), std::regex(R"(\d\d\.\d\d\.\d\d)")));

    // Day before month, against the local clock read around the call.
    const auto clock = [](std::time_t at) {
        std::tm local{};
        localtime_r(&at, &local);
        char text[32];
        std::strftime(text, sizeof text, "%d/%m/%y %H.%M.%S", &local);
        return std::string(text);
    };
    const std::time_t before = std::time(nullptr);
    DATIMH(date, time);
    const std::time_t after = std::time(nullptr);
    const std::string shown = std::string(date, 8) + " " + std::string(time, 8);
    EXPECT_TRUE(shown == clock(before) || shown == clock(after)) << shown << " at " << clock(before);

    // The first reading of all starts the watch, whatever the mode.
    EXPECT_FLOAT_EQ(geo::stopWatchAt(2, 1000), 0.0f);
    EXPECT_FLOAT_EQ(geo::stopWatchAt(1, 1150), 1.5f);
    EXPECT_FLOAT_EQ(geo::stopWatchAt(2, 1200), 0.5f);
    EXPECT_FLOAT_EQ(geo::stopWatchAt(1, 1300), 3.0f);
    EXPECT_FLOAT_EQ(geo::stopWatchAt(7, 4200), 42.0f) << "other modes give the time of day";
    EXPECT_FLOAT_EQ(geo::stopWatchAt(0, 8639900), 0.0f);
    EXPECT_FLOAT_EQ(geo::stopWatchAt(1, 100), 2.0f) << "over midnight";
}
