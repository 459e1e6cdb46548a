// Opens a stored television notice with full antenna lists in its form, then steps with ">>"
// through 1,000 notices, and prints the times (the offscreen platform unless one is named).
//   form_step_bench
#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"
#include "forms/common/NoticeNavigation.h"

#include "database/NoticeStore.h"
#include "BenchNotices.h"

#include <QAbstractButton>
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

namespace {

constexpr int kSteps = 1000;
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double meanOf(const std::vector<double>& v, std::size_t from, std::size_t count)
{
    return std::accumulate(v.begin() + std::ptrdiff_t(from), v.begin() + std::ptrdiff_t(from + count), 0.0) /
           double(count);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    bench::SilentPrompter prompter;
    app::AppState state;
    const std::string path = bench::databasePath("ostrel-form-step-bench", kSteps + 1);
    if (!bench::freshDatabase(path, state.dbConnection, prompter))
        return 1;
    notice::NoticeRecord rec = bench::televisionNotice();
    database::ContourOutcome outcome;
    for (int i = 0; i <= kSteps; ++i) {
        rec.site_name = "SITE " + std::to_string(i);
        if (!database::storeNtc(rec, state.dbConnection, outcome, false, prompter.report()))
            return 1;
        state.ntcIndexList.push_back(i + 1);
    }
    state.ntcCount = std::int32_t(state.ntcIndexList.size());
    state.dbFileName = path;

    double openMs = 0;
    std::vector<double> stepMs;
    Clock::time_point start;
    forms::setModalShow([&](forms::NoticeForm& form) {
        openMs = msSince(start);
        auto* next = form.control<QAbstractButton>("Button_Next_Ntc");
        for (int i = 0; i < kSteps; ++i) {
            const auto t = Clock::now();
            next->click();
            application.processEvents();
            stepMs.push_back(msSince(t));
        }
        forms::unloadNtcScreen(form);
    });
    forms::NoticeSession session{state, prompter, {}};
    start = Clock::now();
    forms::openSelectedNtc(session, 1, 0);
    database::closeDB(state.dbConnection);
    std::filesystem::remove(path);
    if (stepMs.size() != std::size_t(kSteps) || state.currentNtcIndex != kSteps)
        return 1;

    const double first = meanOf(stepMs, 0, 100);
    const double last = meanOf(stepMs, kSteps - 100, 100);
    std::printf("open a T02 notice in its form: %.1f ms\n", openMs);
    std::printf("step >> through %d notices: mean %.2f ms, worst %.2f ms; first 100 %.2f ms, last 100 %.2f ms "
                "(ratio %.2f)\n",
                kSteps, meanOf(stepMs, 0, stepMs.size()), *std::max_element(stepMs.begin(), stepMs.end()), first,
                last, last / first);
    return prompter.shown == 0 ? 0 : 1;
}
