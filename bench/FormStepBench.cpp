// Opens a stored television notice with full antenna lists in its form, then steps with ">>"
// through 1,000 notices; then steps 1,000 times between a television and a sound notice, each
// step ending one form and loading the other. Prints the times (the offscreen platform unless
// one is named).
//   form_step_bench
#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"
#include "forms/NoticeWorkflows.h"

#include "database/NoticeStore.h"
#include "BenchNotices.h"
#include "Figures.h"

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

// Steps with ">>" through `kSteps` television notices after opening the first.
int stepThroughOneKind(QApplication& application, bench::SilentPrompter& prompter)
{
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
    state.dbConnection.close();
    std::filesystem::remove(path);
    if (stepMs.size() != std::size_t(kSteps) || state.currentNtcIndex != kSteps)
        return 1;

    const double first = meanOf(stepMs, 0, 100);
    const double last = meanOf(stepMs, kSteps - 100, 100);
    std::printf("open a T02 notice in its form: %s ms\n", bench::fixed(openMs, 1).c_str());
    std::printf("step >> through %d notices: mean %s ms, worst %s ms; first 100 %s ms, last 100 %s ms (ratio %s)\n",
                kSteps, bench::fixed(meanOf(stepMs, 0, stepMs.size()), 2).c_str(),
                bench::fixed(*std::max_element(stepMs.begin(), stepMs.end()), 2).c_str(),
                bench::fixed(first, 2).c_str(), bench::fixed(last, 2).c_str(), bench::fixed(last / first, 2).c_str());
    return 0;
}

// Steps `kSteps` times between a television and a sound notice: from the click in one form
// until the other, loaded afresh and filled, is being shown.
int switchBetweenKinds(QApplication& application, bench::SilentPrompter& prompter)
{
    app::AppState state;
    const std::string path = bench::databasePath("ostrel-form-switch-bench", 2);
    if (!bench::freshDatabase(path, state.dbConnection, prompter))
        return 1;
    notice::NoticeRecord rec = bench::televisionNotice();
    database::ContourOutcome outcome;
    bool stored = database::storeNtc(rec, state.dbConnection, outcome, false, prompter.report());
    rec.notice_typ = "T01";
    rec.fragment = "GE84";
    rec.freq_assgn = "98.5";
    rec.bdwdth = "180";
    rec.tran_sys = "4";
    stored = stored && database::storeNtc(rec, state.dbConnection, outcome, false, prompter.report());
    if (!stored)
        return 1;
    state.ntcIndexList = {1, 2};
    state.ntcCount = 2;
    state.dbFileName = path;

    std::vector<double> stepMs;
    Clock::time_point clicked;
    int shows = 0;
    forms::setModalShow([&](forms::NoticeForm& form) {
        if (shows++ > 0)
            stepMs.push_back(msSince(clicked));
        application.processEvents();
        clicked = Clock::now();
        if (stepMs.size() == std::size_t(kSteps))
            forms::unloadNtcScreen(form);
        else
            form.control<QAbstractButton>(form.kind() == forms::kTvForm ? "Button_Next_Ntc" : "Button_Prev_Ntc")
                ->click();
    });
    forms::NoticeSession session{state, prompter, {}};
    forms::openSelectedNtc(session, 1, 0);
    state.dbConnection.close();
    std::filesystem::remove(path);
    if (stepMs.size() != std::size_t(kSteps))
        return 1;
    std::printf("switch between the two forms, %d steps: mean %s ms, worst %s ms; first 100 %s ms, last 100 %s ms\n",
                kSteps, bench::fixed(meanOf(stepMs, 0, stepMs.size()), 2).c_str(),
                bench::fixed(*std::max_element(stepMs.begin(), stepMs.end()), 2).c_str(),
                bench::fixed(meanOf(stepMs, 0, 100), 2).c_str(),
                bench::fixed(meanOf(stepMs, kSteps - 100, 100), 2).c_str());
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    bench::SilentPrompter prompter;
    if (stepThroughOneKind(application, prompter) != 0 || switchBetweenKinds(application, prompter) != 0)
        return 1;
    return prompter.shown == 0 ? 0 : 1;
}
