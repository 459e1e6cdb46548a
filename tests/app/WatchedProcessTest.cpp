#include "platform/qt/WatchedProcess.h"

#include <QTest>

#include <gtest/gtest.h>

TEST(WatchedProcess, AViewerThatFailsOrCannotStartIsToldLater)
{
    // xdg-open without a way to open the file ends with status 3.
    struct Row { QString program; QStringList arguments; bool fails; };
    const Row rows[] = {
        {"/bin/sh", {"-c", "exit 3"}, true},
        {"/bin/sh", {"-c", "kill -9 $$"}, true},
        {"/nonexistent/xdg-open", {}, true},
        {"/bin/sh", {"-c", "exit 0"}, false},
    };
    for (const Row& r : rows) {
        bool failed = false;
        platform::startWatched(r.program, r.arguments, [&failed] { failed = true; });
        EXPECT_FALSE(failed) << "nothing is waited for";
        // A clean exit is only seen by the absence of a call.
        EXPECT_EQ(QTest::qWaitFor([&] { return failed; }, r.fails ? 10000 : 500), r.fails)
            << r.program.toStdString() << " " << r.arguments.join(' ').toStdString();
    }
}
