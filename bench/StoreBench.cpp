// Stores generated television notices with full antenna lists, one transaction each, into a
// fresh notice database, and prints the time per batch size.
//   store_bench [notices...]     (default: 10000 40000)
#include "database/DbConnection.h"
#include "database/NoticeStore.h"
#include "BenchNotices.h"
#include "Figures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    const std::vector<int> sizes = bench::batchSizes(argc, argv);

    notice::NoticeRecord rec = bench::televisionNotice();
    bench::SilentPrompter prompter;
    for (const int n : sizes) {
        const std::string path = bench::databasePath("ostrel-store-bench", n);
        db::Connection conn;
        if (!bench::freshDatabase(path, conn, prompter))
            return 1;
        database::ContourOutcome outcome;
        int stored = 0;
        const double seconds = bench::timed([&] {
            for (int i = 0; i < n; ++i) {
                rec.freq_assgn = std::to_string(470 + i % 400) + ".25";
                stored += database::storeNtc(rec, conn, outcome, false, prompter.report()) ? 1 : 0;
            }
            conn.close();
        });
        std::printf("store %6d notices (127 rows each): %s s, %s us per notice, %d stored\n", n,
                    bench::fixed(seconds, 2, 7).c_str(), bench::fixed(seconds * 1e6 / n, 1, 6).c_str(), stored);
        std::filesystem::remove(path);
    }
    return prompter.shown == 0 ? 0 : 1;
}
