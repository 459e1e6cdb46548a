#include "TestRun.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace testing_support {

namespace {
int s_skippedRows = 0;
}

void skipRow(const std::string& row, const std::string& why)
{
    ++s_skippedRows;
    std::printf("[ SKIP ROW ] %s: %s\n", row.c_str(), why.c_str());
}

int runAllTests()
{
    if (RUN_ALL_TESTS() != 0)
        return 1;
    const bool skipped = testing::UnitTest::GetInstance()->skipped_test_count() > 0 || s_skippedRows > 0;
    return skipped ? OSTREL_SKIPPED_STATUS : 0;
}

}  // namespace testing_support
