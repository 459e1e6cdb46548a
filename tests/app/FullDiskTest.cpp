// Import, update, export and the template copy on a file system that really fills up, at ten
// moments each: nothing that was not stored is reported as stored, every stored notice is
// whole, and every earlier file stays as it was.
#include "app/core/NoticeExport.h"
#include "app/core/NoticeGrid.h"
#include "app/core/NoticeImport.h"
#include "database/DbConnection.h"
#include "database/NoticeRead.h"
#include "database/NoticeUpdate.h"
#include "database/sqlite/Statement.h"
#include "support/ImportFixture.h"
#include "support/NoticeDb.h"
#include "support/SmallFileSystem.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

using testing_support::readFile;
using testing_support::SmallFileSystem;

constexpr int kNotices = 1200;
constexpr std::size_t kKiB = 1024;
constexpr const char* kFull = "database or disk is full";
// The system's own words for a full disk, in the user's language.
std::string noSpace()
{
    return std::strerror(ENOSPC);
}

// Sound notices that are no duplicates of each other, each with two remark lines.
std::string noticeFileOf(int count)
{
    std::vector<std::string> bodies;
    for (int i = 0; i < count; ++i)
        bodies.push_back("t_notice_type = T01\nt_action = ADD\nt_fragment = GE84\nt_freq_assgn = " +
                         std::to_string(88000 + i) + "\nt_long = +0044930\nt_lat = +454530\nt_site_name = SITE " +
                         std::to_string(i) + "\nt_remarks = " + std::string(80, 'r') + "\nt_remarks = second\n");
    std::string text;
    for (const char c : testing_support::noticeFile(bodies))
        text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return text;
}

std::string scalar(db::Connection& conn, const std::string& sql)
{
    db::Statement st(conn, sql);
    return st.step() == db::Step::Row ? st.text(0) : std::string("?");
}

bool said(const testing_support::ScriptedPrompter& p, const std::string& part)
{
    for (const auto& m : p.messages)
        if (m.text.find(part) != std::string::npos)
            return true;
    return false;
}

#define SKIP_WITHOUT_MOUNT(fs) \
    if (!(fs).mounted())       \
    GTEST_SKIP() << "mounting a small file system needs root"

TEST(FullDisk, AnImportSaysHowManyNoticesItCouldNotStoreAndKeepsTheOthersWhole)
{
    const std::string text = noticeFileOf(kNotices);
    int partly = 0;
    for (int step = 0; step < 10; ++step) {
        // From too small for the database itself to room for every notice.
        const std::size_t size = text.size() + 100 * kKiB + std::size_t(step) * 120 * kKiB;
        SmallFileSystem fs(size);
        SKIP_WITHOUT_MOUNT(fs);
        SCOPED_TRACE("file system of " + std::to_string(size / kKiB) + " KiB");
        const auto file = fs.path() / "batch.txt";
        std::ofstream(file, std::ios::binary) << text;
        testing_support::ScriptedPrompter prompter;
        testing_support::RecordingStatus status;
        app::AppState state;
        const app::ImportResult result =
            app::importTextFile(file.string(), state, status, prompter, {"", testing_support::templateDb()});
        if (!result) {
            EXPECT_FALSE(prompter.messages.empty());
            EXPECT_FALSE(state.dbConnection.isOpen());
            continue;
        }
        const int stored = std::stoi(scalar(state.dbConnection, "SELECT count(*) FROM fmtv_terra"));
        EXPECT_EQ(result.notStored, kNotices - stored);
        const std::string message = std::to_string(kNotices - stored) + " of the " + std::to_string(kNotices) +
                                    " notices of the file were not stored in " + state.dbFileName + ": ";
        EXPECT_EQ(said(prompter, message + kFull), stored < kNotices);
        partly += stored > 0 && stored < kNotices;
        // Each stored notice whole: its site and both remark lines.
        EXPECT_EQ(scalar(state.dbConnection, "SELECT count(*) FROM fmtv_rmks"), std::to_string(2 * stored));
        EXPECT_EQ(scalar(state.dbConnection, "SELECT count(*) FROM fmtv_terra WHERE site_name LIKE 'SITE %' "
                                             "AND freq_assgn - 88000 = CAST(substr(site_name, 6) AS INTEGER)"),
                  std::to_string(stored));
        state.dbConnection.close();
    }
    EXPECT_GE(partly, 1) << "no size stopped the import half-way";
}

// A database of `count` notices in the folder, listed as the grid lists it.
void importInto(const std::filesystem::path& folder, int count, app::AppState& state,
                testing_support::ScriptedPrompter& prompter)
{
    const auto file = folder / "batch.txt";
    std::ofstream(file, std::ios::binary) << noticeFileOf(count);
    testing_support::RecordingStatus status;
    ASSERT_TRUE(app::importTextFile(file.string(), state, status, prompter, {"", testing_support::templateDb()}));
    ASSERT_TRUE(prompter.messages.empty());
    app::GridRows rows;
    ASSERT_TRUE(app::loadGridRows(state.dbConnection, rows));
    app::buildNtcIndex(state, rows);
}

// Runs an operation on a database of `notices` notices at ten amounts of free space (0, step,
// 2 steps, ... KiB): `prepare` while there is room, then `act`, which checks what it did and
// returns whether it succeeded. Both outcomes must occur, or the sizes test nothing.
template <class Prepare, class Act>
void atTenFillings(std::size_t sizeKiB, int notices, std::size_t stepKiB, Prepare prepare, Act act)
{
    int failed = 0, done = 0;
    for (std::size_t step = 0; step < 10; ++step) {
        SmallFileSystem fs(sizeKiB * kKiB);
        ASSERT_TRUE(fs.mounted()) << fs.why();
        SCOPED_TRACE("free " + std::to_string(step * stepKiB) + " KiB");
        testing_support::ScriptedPrompter prompter;
        app::AppState state;
        importInto(fs.path(), notices, state, prompter);
        prepare(fs, state);
        fs.leaveFree(step * stepKiB * kKiB);
        ++(act(fs, state, prompter) ? done : failed);
        state.dbConnection.close();
    }
    EXPECT_GE(failed, 1);
    EXPECT_GE(done, 1);
}

bool canMount()
{
    return SmallFileSystem(kKiB).mounted();
}

// The notices and remark lines of the database file with its log beside it, read from copies of
// the two in a folder with room to spare.
std::string noticesOf(const std::filesystem::path& database, bool withLog)
{
    testing_support::TempDir copy;
    const auto file = copy.path() / "copy.mdb";
    std::filesystem::copy_file(database, file);
    if (withLog)
        std::filesystem::copy_file(database.string() + "-wal", file.string() + "-wal");
    db::Connection conn;
    if (!conn.open(file.string()))
        return conn.lastError().message;
    return scalar(conn, "SELECT (SELECT count(*) FROM fmtv_terra) || ' ' || (SELECT count(*) FROM fmtv_rmks)");
}

// A database closed on a disk without room to fold its log into it says so, naming the log that
// belongs with it and the room it lacks; with that room freed it closes into one file.
TEST(FullDisk, ACloseThatCannotFoldTheLogSaysSoAndTheTwoFilesHoldEveryNotice)
{
    if (!canMount())
        GTEST_SKIP() << "mounting a small file system needs root";
    const std::string every = std::to_string(kNotices) + " " + std::to_string(2 * kNotices);
    atTenFillings(16384, kNotices, 128, [](const SmallFileSystem&, app::AppState&) {},
                  [&](const SmallFileSystem& fs, app::AppState& state, testing_support::ScriptedPrompter& prompter) {
                      const auto mdb = fs.path() / "batch.mdb";
                      const std::string file = database::resolvedPath(mdb.string());
                      if (database::closeDB(state.dbConnection, prompter.report())) {
                          EXPECT_TRUE(prompter.messages.empty());
                          EXPECT_FALSE(std::filesystem::exists(file + "-wal"));
                          EXPECT_EQ(noticesOf(mdb, false), every);
                          return true;
                      }
                      EXPECT_FALSE(state.dbConnection.isOpen());
                      EXPECT_TRUE(std::filesystem::exists(file + "-wal"));
                      EXPECT_EQ(noticesOf(mdb, true), every);
                      EXPECT_NE(noticesOf(mdb, false), every) << "the database file alone held everything";
                      EXPECT_EQ(prompter.messages.size(), 1u);
                      const std::string text = prompter.messages.empty() ? "" : prompter.messages[0].text;
                      const std::string start = "The database " + file + " could not be closed into one file (" +
                                                kFull + "). Its latest changes are in " + file +
                                                "-wal, which belongs with it: keep the two files together and "
                                                "never copy, move or delete one without the other. Free at least ";
                      EXPECT_EQ(text.substr(0, start.size()), start);
                      const std::size_t end = text.find(" KB on its disk, then open the database again");
                      if (end == std::string::npos || end < start.size()) {
                          ADD_FAILURE() << "no room named: " << text;
                          return false;
                      }
                      // With the room it names, the database opens and closes into one file.
                      const std::size_t lacking = std::stoul(text.substr(start.size(), end - start.size())) * kKiB;
                      fs.leaveFree(lacking);
                      testing_support::ScriptedPrompter again;
                      db::Connection reopened;
                      EXPECT_TRUE(database::OpenDB(mdb.string(), reopened, again.report()));
                      EXPECT_TRUE(database::closeDB(reopened, again.report()));
                      EXPECT_TRUE(again.messages.empty());
                      EXPECT_FALSE(std::filesystem::exists(file + "-wal"));
                      EXPECT_EQ(noticesOf(mdb, false), every);
                      return false;
                  });
}

TEST(FullDisk, AnUpdateThatCannotBeWrittenSaysWhyAndKeepsTheStoredNotice)
{
    if (!canMount())
        GTEST_SKIP() << "mounting a small file system needs root";
    atTenFillings(2048, 40, 8, [](const SmallFileSystem&, app::AppState&) {},
                  [](const SmallFileSystem&, app::AppState& state, testing_support::ScriptedPrompter& prompter) {
                      notice::NoticeRecord rec;
                      EXPECT_TRUE(database::readNtcFromDB(7, rec, state.dbConnection, prompter.report()));
                      rec.remarks = std::string(3000, 'u') + ";" + std::string(3000, 'v');
                      rec.site_name = "UPDATED";
                      if (database::updateNtc(rec, 7, state.dbConnection, prompter.report())) {
                          EXPECT_EQ(scalar(state.dbConnection, "SELECT site_name FROM fmtv_terra WHERE terrakey = 7"),
                                    "UPDATED");
                          return true;
                      }
                      EXPECT_TRUE(said(prompter, "The data was not saved to the database: " + std::string(kFull)));
                      EXPECT_EQ(scalar(state.dbConnection, "SELECT site_name || '|' || count(rmk_text) FROM fmtv_terra "
                                                           "JOIN fmtv_rmks USING (terrakey) WHERE terrakey = 7"),
                                "SITE 6|2");
                      return false;
                  });
}

TEST(FullDisk, AnExportThatCannotBeWrittenWholeLeavesTheEarlierFile)
{
    if (!canMount())
        GTEST_SKIP() << "mounting a small file system needs root";
    const std::string earlier = "an earlier export\r\n";
    atTenFillings(
        1024, 300, 12,
        [&](const SmallFileSystem& fs, app::AppState&) { std::ofstream(fs.path() / "batch.upd", std::ios::binary) << earlier; },
        [&](const SmallFileSystem& fs, app::AppState& state, testing_support::ScriptedPrompter& prompter) {
            const auto upd = fs.path() / "batch.upd";
            if (app::writeDBToElectFile(upd.string(), state, prompter)) {
                EXPECT_TRUE(readFile(upd).ends_with("<TAIL>\r\nt_num_notices =  300\r\n</TAIL>\r\n\r\n"));
                return true;
            }
            EXPECT_TRUE(said(prompter, noSpace()));
            EXPECT_EQ(readFile(upd), earlier);
            for (const auto& entry : std::filesystem::directory_iterator(fs.path()))
                EXPECT_EQ(entry.path().filename().string().find("batch.upd."), std::string::npos)
                    << entry.path() << " left behind";
            return false;
        });
}

// Replacing a database by a new copy of the template: a disk without room for the copy says so
// and leaves the earlier database as it was.
TEST(FullDisk, ADatabaseIsReplacedOnlyByAWholeCopy)
{
    if (!canMount())
        GTEST_SKIP() << "mounting a small file system needs root";
    std::string earlier;
    atTenFillings(
        1024, 5, 20,
        [&](const SmallFileSystem& fs, app::AppState& state) {
            state.dbConnection.close();
            earlier = readFile(fs.path() / "batch.mdb");
        },
        [&](const SmallFileSystem& fs, app::AppState& state, testing_support::ScriptedPrompter& prompter) {
            prompter.answers = {true};  // replace it
            testing_support::RecordingStatus status;
            const app::ImportResult result = app::importTextFile((fs.path() / "batch.txt").string(), state, status,
                                                                 prompter, {"", testing_support::templateDb()});
            if (result)
                return true;
            EXPECT_TRUE(said(prompter, noSpace()));
            EXPECT_EQ(readFile(fs.path() / "batch.mdb"), earlier);
            return false;
        });
}

}  // namespace
