// Tests that pass, skip and fail on purpose, for ctest_reports.sh to see what ctest makes of each.
#include "support/TestRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>

namespace {

struct Row {
    const char* name;
    bool runs;  // false: the row leaves itself out
    int value;
};

void checkRows(const std::initializer_list<Row>& rows)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (!row.runs) {
            testing_support::skipRow(row.name, "left out on purpose");
            continue;
        }
        EXPECT_EQ(row.value, 1);
    }
}

}  // namespace

TEST(Harness, PassesEveryRow)
{
    checkRows({{"first", true, 1}, {"second", true, 1}});
}

TEST(Harness, SkipsARowAndPassesTheOthers)
{
    checkRows({{"first", true, 1}, {"skipped", false, 0}, {"third", true, 1}});
}

TEST(Harness, SkipsARowAndFailsAnother)
{
    checkRows({{"skipped", false, 0}, {"failing", true, 2}, {"third", true, 1}});
}

TEST(Harness, FailsAndThenSkipsWholly)
{
    EXPECT_EQ(2, 1);
    GTEST_SKIP() << "left out on purpose after a failure";
}

TEST(Harness, SkipsWholly)
{
    GTEST_SKIP() << "left out on purpose";
}

// As when the leak checker finds a leak as the program ends, after every test passed or skipped.
TEST(Harness, SkipsAndThenTheProgramFailsAsItEnds)
{
    std::atexit([] { std::_Exit(23); });
    GTEST_SKIP() << "left out on purpose";
}
