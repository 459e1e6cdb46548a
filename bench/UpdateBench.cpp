// Updates 1,000 stored television notices with full antenna lists, one transaction each, in
// databases of each batch size, and prints the time per batch size.
//   update_bench [notices...]     (default: 10000 40000)
#include "database/DbConnection.h"
#include "database/NoticeRead.h"
#include "database/NoticeStore.h"
#include "database/NoticeUpdate.h"
#include "BenchNotices.h"
#include "Figures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kUpdates = 1000;

}  // namespace

int main(int argc, char* argv[])
{
    const std::vector<int> sizes = bench::batchSizes(argc, argv);

    notice::NoticeRecord rec = bench::televisionNotice();
    bench::SilentPrompter prompter;
    for (const int n : sizes) {
        const std::string path = bench::databasePath("ostrel-update-bench", n);
        db::Connection conn;
        if (n < kUpdates || !bench::freshDatabase(path, conn, prompter))
            return 1;
        database::ContourOutcome outcome;
        for (int i = 0; i < n; ++i) {
            rec.freq_assgn = std::to_string(470 + i % 400) + ".25";
            if (!database::storeNtc(rec, conn, outcome, false, prompter.report()))
                return 1;
        }
        // The notices to update, spread over the database, read and corrected as a form would.
        std::vector<std::pair<std::int32_t, notice::NoticeRecord>> corrected;
        for (int i = 0; i < kUpdates; ++i) {
            const auto key = std::int32_t(1 + std::int64_t(i) * n / kUpdates);
            notice::NoticeRecord read;
            if (!database::readNtcFromDB(key, read, conn, prompter.report()))
                return 1;
            read.site_name = "PARIS";
            read.attnH[3].second = "5";
            read.remarks += "x";
            corrected.emplace_back(key, std::move(read));
        }
        int updated = 0;
        const double seconds = bench::timed([&] {
            for (const auto& [key, record] : corrected)
                updated += database::updateNtc(record, key, conn, prompter.report()) ? 1 : 0;
        });
        conn.close();
        std::printf("update %d of %6d notices (127 rows each): %s s, %s us per notice, %d updated\n", kUpdates, n,
                    bench::fixed(seconds, 3, 6).c_str(), bench::fixed(seconds * 1e6 / kUpdates, 1, 6).c_str(), updated);
        std::filesystem::remove(path);
    }
    return prompter.shown == 0 ? 0 : 1;
}
