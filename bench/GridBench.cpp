// Opens a database of 100,000 television notices with full antenna lists as File > OpenDB does
// (the grid filled and painted, offscreen) and exports 10,000 notices to an electronic file;
// medians of five.
//   grid_bench [grid notices] [export notices]     (default: 100000 10000)
#include "app/core/NoticeExport.h"
#include "app/core/NoticeGrid.h"
#include "app/window/OstrelStartup.h"
#include "database/NoticeStore.h"
#include "BenchNotices.h"
#include "Figures.h"

#include <QApplication>

#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kRounds = 5;

class PickingPrompter : public bench::SilentPrompter {
public:
    std::optional<std::string> picked;
    std::optional<std::string> pickOpenFile(const std::string&) override { return picked; }
};

// Adds notices of distinct frequencies and references up to `total`, in one transaction.
bool storeNotices(db::Connection& conn, int from, int total, platform::Prompter& prompter)
{
    notice::NoticeRecord rec = bench::televisionNotice();
    database::ContourOutcome outcome;
    if (!conn.exec("BEGIN"))
        return false;
    for (int i = from; i < total; ++i) {
        rec.freq_assgn = std::to_string(470 + i % 400) + "." + std::to_string(10000 + i / 400).substr(1);
        rec.adm_ref_id = "TV-" + std::to_string(i);
        rec.site_name = "SITE " + std::to_string(i);
        if (!database::storeNtc(rec, conn, outcome, false, prompter.report()))
            return false;
    }
    return conn.exec("COMMIT");
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int gridNotices = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int exportNotices = argc > 2 ? std::atoi(argv[2]) : 10000;
    PickingPrompter prompter;
    const std::string path = bench::databasePath("ostrel-grid-bench", gridNotices);
    const std::string exportPath = app::exportNameFor(path);
    bool ok = true;

    // The export of the first notices, before the database grows to the grid's size.
    app::AppState state;
    if (!bench::freshDatabase(path, state.dbConnection, prompter) ||
        !storeNotices(state.dbConnection, 0, exportNotices, prompter))
        return 1;
    app::GridRows rows;
    ok = app::loadGridRows(state.dbConnection, rows) && ok;
    app::buildNtcIndex(state, rows);
    std::vector<double> exports, exportCpu;
    for (int round = 0; round < kRounds; ++round) {
        const std::clock_t cpu = std::clock();
        exports.push_back(bench::timed([&] { ok = app::writeDBToElectFile(exportPath, state, prompter) && ok; }));
        exportCpu.push_back(double(std::clock() - cpu) / CLOCKS_PER_SEC);
    }
    const auto exportBytes = std::filesystem::file_size(exportPath);
    ok = storeNotices(state.dbConnection, exportNotices, gridNotices, prompter) && ok;
    state.dbConnection.close();

    app::OstrelStartup window(prompter, database::templatePath());
    window.show();
    application.processEvents();
    std::vector<double> opens, openCpu, queries;
    for (int round = 0; round < kRounds && ok; ++round) {
        prompter.picked.reset();
        window.mnuFileOpenDB_Click();  // leaves the database open before, if any
        prompter.picked = path;
        const std::clock_t cpu = std::clock();
        opens.push_back(bench::timed([&] {
            window.mnuFileOpenDB_Click();
            application.processEvents();
        }));
        openCpu.push_back(double(std::clock() - cpu) / CLOCKS_PER_SEC);
        ok = window.state().ntcCount == gridNotices && ok;
        queries.push_back(bench::timed([&] { ok = app::loadGridRows(window.state().dbConnection, rows) && ok; }));
    }
    window.close();

    std::printf("open a database of %d notices and fill its grid: %s s (%s s of processor time; the grid "
                "query alone %s s)\n",
                gridNotices, bench::fixed(bench::median(opens), 3).c_str(),
                bench::fixed(bench::median(openCpu), 3).c_str(), bench::fixed(bench::median(queries), 3).c_str());
    std::printf("export %d notices (%s MB): %s s (%s s of processor time)\n", exportNotices,
                bench::fixed(double(exportBytes) / 1e6, 1).c_str(), bench::fixed(bench::median(exports), 3).c_str(),
                bench::fixed(bench::median(exportCpu), 3).c_str());
    std::filesystem::remove(path);
    std::filesystem::remove(exportPath);
    return ok && prompter.shown == 0 ? 0 : 1;
}
