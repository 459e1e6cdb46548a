#include "database/DbConnection.h"
#include "database/KeyCounters.h"
#include "database/NoticeStore.h"
#include "database/sqlite/RowWriter.h"
#include "database/sqlite/Statement.h"
#include "support/ChildProcess.h"
#include "support/NoticeDb.h"
#include "support/NoticeText.h"
#include "support/SmallFileSystem.h"
#include "support/TestRun.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <map>
#include <set>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace database;
using testing_support::NoticeDb;
using testing_support::ScriptedPrompter;
using testing_support::TempDir;

TEST(TemplateDb, HoldsExactlyTheNoticeTablesAndOneKeyRow)
{
    const std::map<std::string, std::vector<std::string>> expected = {
        {"fmtv_terra",
         {"terrakey", "adm", "notice_typ", "stn_cls", "d_adm_ntc", "fragment", "intent", "adm_ref_id", "call_sign",
          "stn_id", "freq_assgn", "freq_stabl", "bdwdth", "oset_v_khz", "oset_v_12", "ctry", "site_name", "long_deg",
          "long_min", "long_sec", "long_ew", "lat_deg", "lat_min", "lat_sec", "lat_ns", "polar", "erp_h_dbw",
          "erp_v_dbw", "tran_sys", "color", "pwr_ratio", "hgt_agl", "site_alt", "eff_hgtmax", "op_agcy", "addr_code",
          "d_inuse", "ant_dir", "d_updated", "src_update", "Target"}},
        {"fmtv_target",
         {"Target", "trg_long_deg", "trg_long_min", "trg_long_sec", "trg_long_ew", "trg_lat_deg", "trg_lat_min",
          "trg_lat_sec", "trg_lat_ns", "trg_adm_ref_id", "trg_freq_assgn"}},
        {"fmtv_op_prd", {"terrakey", "op_hh_fr", "op_hh_to"}},
        {"fmtv_rmks", {"terrakey", "rmk_text", "rmk_seq_no"}},
        {"fmtv_coord", {"terrakey", "adm"}},
        {"fmtv_ant_hgt", {"terrakey", "azm", "eff_hgt"}},
        {"fmtv_ant_diag", {"terrakey", "azm", "attn", "polar"}},
        {"zel_elements",
         {"terrakey", "sys_var", "nb_carr", "guard_interval", "rx_mode", "ref_plan_cfg", "typ_ref_netwk", "sfn_id",
          "sfn_tx_tim", "adm_allot_id", "spect_mask", "freq_block", "channel", "conv_freq_assgn", "conv_long_deg",
          "conv_long_min", "conv_long_sec", "conv_long_ew", "conv_lat_deg", "conv_lat_min", "conv_lat_sec",
          "conv_lat_ns", "email_addr", "coord_self"}},
        {"zel_sfnID_proc", {"terrakey", "adm", "sfn_id", "notice_typ", "adm_allot_id"}},
        {"zel_allotment", {"terrakey", "allotkey", "allot_name", "geo_area", "nb_sub_areas"}},
        {"zel_sub_area", {"allotkey", "contourkey"}},
        {"zel_contour", {"contourkey", "contour_id", "ctry", "adm", "nb_test_pts", "remarks"}},
        {"zel_contour_pt",
         {"contourkey", "test_pt", "long_deg", "long_min", "long_sec", "long_ew", "lat_deg", "lat_min", "lat_sec",
          "lat_ns"}},
        {"zel_coord_analog_KOLV", {"terrakey", "adm"}},
        {"zel_coord_other_service", {"terrakey", "adm"}},
        {"Fmtv_keys", {"terrakey", "allotkey", "contourkey", "Target"}},
    };
    NoticeDb db;
    std::map<std::string, std::vector<std::string>> actual;
    db::Statement tables(db.conn, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    while (tables.step() == db::Step::Row) {
        const std::string table = tables.text(0);
        db::Statement cols(db.conn, "SELECT name FROM pragma_table_info(?) ORDER BY cid");
        cols.bind(1, table);
        while (cols.step() == db::Step::Row)
            actual[table].push_back(cols.text(0));
    }
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM Fmtv_keys"), "1");
    EXPECT_EQ(db.scalar("SELECT terrakey || allotkey || contourkey || Target FROM Fmtv_keys"), "1111");
}

TEST(OpenDB, RefusesAMissingFileWithoutCreatingIt)
{
    // The data layer only reports: nobody shows these messages, they are kept in order.
    TempDir dir;
    platform::Report report;
    db::Connection conn;
    const auto path = dir.path() / "missing.mdb";
    EXPECT_FALSE(OpenDB(path.string(), conn, report));
    EXPECT_FALSE(conn.isOpen());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    ASSERT_EQ(report.messages().size(), 1u);
    EXPECT_EQ(report.messages()[0].number, db::kErrCantOpen);
    EXPECT_EQ(report.messages()[0].title, "OpenDB");
    EXPECT_EQ(report.messages()[0].text, "Erreur  14:The database " + path.string() + " does not exist");
}

TEST(OpenDB, RefusesFilesThatAreNoNoticeDatabase)
{
    TempDir dir;
    ScriptedPrompter prompter;
    db::Connection conn;
    const auto text = dir.write("notes.mdb", "<HEAD>\r\nt_adm = F\r\n</HEAD>\r\n");
    EXPECT_FALSE(OpenDB(text.string(), conn, prompter.report()));
    {
        db::Connection other;
        ASSERT_TRUE(other.create((dir.path() / "other.mdb").string()));
        ASSERT_TRUE(other.exec("CREATE TABLE x (a)"));
    }
    EXPECT_FALSE(OpenDB((dir.path() / "other.mdb").string(), conn, prompter.report()));
    EXPECT_FALSE(conn.isOpen());
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_NE(prompter.messages[0].text.find("not a database"), std::string::npos);
    EXPECT_NE(prompter.messages[1].text.find("is not a notice database"), std::string::npos);
    EXPECT_EQ(prompter.messages[1].title, "OpenDB");
}

TEST(OpenDB, AnOpenDatabaseIsRefusedToASecondOpenUntilItIsClosed)
{
    NoticeDb db;
    const std::string lockFile = db.path() + "-lock";
    EXPECT_TRUE(std::filesystem::exists(lockFile));
    platform::Report report;
    db::Connection second;
    EXPECT_FALSE(OpenDB(db.path(), second, report));
    EXPECT_FALSE(second.isOpen());
    ASSERT_EQ(report.messages().size(), 1u);
    EXPECT_EQ(report.messages()[0].text, "Erreur  5:The database " + db.path() +
                                             " is open in another instance of the program. Close it there first.");
    EXPECT_EQ(report.messages()[0].title, "OpenDB");
    EXPECT_TRUE(db.conn.isOpen()) << "the first stays open";

    closeDB(db.conn, report);
    EXPECT_FALSE(std::filesystem::exists(lockFile));
    EXPECT_TRUE(OpenDB(db.path(), second, report));
    // A lock file left by an instance that was killed locks nothing.
    second.close();
    db.dir.write("notices.mdb-lock", "");
    EXPECT_TRUE(OpenDB(db.path(), second, report));
    EXPECT_EQ(report.messages().size(), 1u);
}

TEST(CopyTemplateDB, ReplacesAnExistingFileAndReportsAFailedCopy)
{
    NoticeDb db;
    ASSERT_TRUE(db::RowWriter::insert(db.conn, "fmtv_terra").set("terrakey", 5).run());
    EXPECT_TRUE(closeDB(db.conn, db.prompter.report()));
    EXPECT_TRUE(closeDB(db.conn, db.prompter.report()));  // closing twice shows nothing
    EXPECT_TRUE(copyTemplateDB(db.path(), db.prompter.report(), testing_support::templateDb()));
    ASSERT_TRUE(OpenDB(db.path(), db.conn, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_terra"), "0");

    EXPECT_FALSE(copyTemplateDB((db.dir.path() / "no/such/folder/x.mdb").string(), db.prompter.report(),
                                testing_support::templateDb()));
    EXPECT_FALSE(copyTemplateDB((db.dir.path() / "y.mdb").string(), db.prompter.report(), db.dir.path() / "absent.mdb"));
    ASSERT_EQ(db.prompter.messages.size(), 2u);
    EXPECT_TRUE(db.prompter.messages[0].text.starts_with("Error "));
    EXPECT_EQ(db.prompter.messages[0].title, platform::kAppTitle);
    EXPECT_FALSE(std::filesystem::exists(db.dir.path() / "y.mdb"));
}

TEST(EndNtcTrans, RollsBackEveryRowAndKeyOfAFailedOperation)
{
    NoticeDb db;
    const std::string before = db.tableCounts();
    {
        db::Transaction tx(db.conn);
        std::int32_t k1 = 0, k2 = 0, k3 = 0;
        ASSERT_TRUE(writeTerRaKeyTable(k1, db.conn, db.prompter.report()));
        ASSERT_TRUE(writeTargetTable(k2, db.conn, db.prompter.report()));
        ASSERT_TRUE(writeContourKeyTable(k3, db.conn, db.prompter.report()));
        ASSERT_TRUE(db::RowWriter::insert(db.conn, "fmtv_terra").set("terrakey", k1).set("adm", "F").run());
        ASSERT_TRUE(db::RowWriter::insert(db.conn, "fmtv_target").set("Target", k2).run());
        ASSERT_TRUE(db::RowWriter::insert(db.conn, "zel_contour").set("contourkey", k3).run());
        EXPECT_FALSE(endNtcTrans(false, tx, db.prompter.report()));
    }
    EXPECT_EQ(db.tableCounts(), before);
    ASSERT_EQ(db.prompter.messages.size(), 1u);
    EXPECT_EQ(db.prompter.messages[0].text, "The data was not saved to the database");
    EXPECT_EQ(db.prompter.messages[0].title, "Erreur base de données");
    EXPECT_EQ(db.prompter.messages[0].icon, platform::Icon::Warning);
}

TEST(EndNtcTrans, ACommittedChangeSurvivesCloseAndReopen)
{
    NoticeDb db;
    {
        db::Transaction tx(db.conn);
        std::int32_t key = 0;
        ASSERT_TRUE(writeTerRaKeyTable(key, db.conn, db.prompter.report()));
        ASSERT_TRUE(db::RowWriter::insert(db.conn, "fmtv_terra").set("terrakey", key).set("adm", "F").run());
        EXPECT_TRUE(endNtcTrans(true, tx, db.prompter.report()));
    }
    EXPECT_TRUE(closeDB(db.conn, db.prompter.report()));
    for (const char* side : {"-wal", "-shm", "-journal", "-lock"})
        EXPECT_FALSE(std::filesystem::exists(db.path() + side)) << "a closed database is one file: " << side;
    const std::string header = testing_support::readFile(db.path()).substr(0, 20);
    EXPECT_EQ(header.substr(18, 2), std::string("\x01\x01")) << "left in rollback-journal mode";
    ASSERT_TRUE(OpenDB(db.path(), db.conn, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT adm FROM fmtv_terra WHERE terrakey = 1"), "F");
    EXPECT_EQ(db.scalar("SELECT terrakey FROM Fmtv_keys"), "2");
    EXPECT_TRUE(db.prompter.messages.empty());
}

namespace {

constexpr uid_t kNobody = 65534;

// Makes every later flock call of this process fail as on a file system that keeps no locks.
bool refuseLocks()
{
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_flock, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (ENOLCK & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// What opening `path` gives, in a child process without root's rights when `unprivileged` (as
// nobody when the tests run as root, else as the runner) and without locks when `noLocks`: whether
// it opened read-only, what it reads, whether a write went through, the side files it left after
// closing, and its messages.
std::string openInChild(const std::string& path, bool unprivileged, bool noLocks = false)
{
    return testing_support::runInChild([&] {
        if (unprivileged && geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            std::printf("cannot become another user");
            return;
        }
        if (noLocks && !refuseLocks()) {
            std::printf("cannot refuse locks");
            return;
        }
        platform::Report report;
        db::Connection conn;
        const bool opened = OpenDB(path, conn, report);
        std::string adm;
        if (opened) {
            db::Statement st(conn, "SELECT adm FROM fmtv_terra");
            adm = st.step() == db::Step::Row ? st.text(0) : "?";
        }
        const bool readOnly = conn.readOnly();
        const bool wrote = conn.exec("UPDATE fmtv_terra SET adm = 'X'");
        closeDB(conn, report);
        std::printf("opened %d read-only %d adm %s wrote %d", opened, readOnly, adm.c_str(), wrote);
        for (const char* side : {"-wal", "-shm", "-journal", "-lock"})
            if (std::filesystem::exists(path + side))
                std::printf(" left %s", side);
        for (const platform::Message& m : report.messages())
            std::printf("\n%s", m.text.c_str());
    }).output;
}

}  // namespace

// A database that cannot be written opens read-only, also where a killed program left its lock
// file, which a folder that cannot be written keeps.
TEST(OpenDB, ADatabaseThatCannotBeWrittenOpensReadOnlyAndLeavesNoSideFile)
{
    enum class Where { FileWithoutWriteRight, FolderWithoutWriteRight, ReadOnlyMedia };
    const struct {
        const char* name;
        Where where;
        bool staleLock;
        const char* left;  // what stays beside the database after it closed
    } places[] = {
        {"a file its user cannot write", Where::FileWithoutWriteRight, false, ""},
        {"a folder its user cannot write", Where::FolderWithoutWriteRight, false, ""},
        {"read-only media", Where::ReadOnlyMedia, false, ""},
        {"a file its user cannot write, with a stale lock file", Where::FileWithoutWriteRight, true, ""},
        {"a folder its user cannot write, with a stale lock file", Where::FolderWithoutWriteRight, true,
         " left -lock"},
        {"read-only media, with a stale lock file", Where::ReadOnlyMedia, true, " left -lock"},
    };
    for (const auto& place : places) {
        // Closed in rollback-journal mode, or in write-ahead-log mode as an earlier version left it.
        for (const bool walHeader : {false, true}) {
            const std::string row = std::string(place.name) + (walHeader ? ", left in write-ahead-log mode" : "");
            SCOPED_TRACE(row);
            NoticeDb db;
            ASSERT_TRUE(db::RowWriter::insert(db.conn, "fmtv_terra").set("terrakey", 1).set("adm", "F").run());
            db.conn.close();
            if (walHeader) {
                std::fstream f(db.path(), std::ios::in | std::ios::out | std::ios::binary);
                f.seekp(18);
                f.write("\x02\x02", 2);
            }
            if (place.staleLock)
                db.dir.write("notices.mdb-lock", "");
            const std::string bytes = testing_support::readFile(db.path());
            namespace fs = std::filesystem;
            std::string path = db.path();
            testing_support::SmallFileSystem media(8 << 20);
            switch (place.where) {
            case Where::FileWithoutWriteRight:
                fs::permissions(db.dir.path(), fs::perms::all);
                fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
                break;
            case Where::FolderWithoutWriteRight:
                fs::permissions(path, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                          ~fs::perms::others_exec);
                fs::permissions(db.dir.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                                   fs::perms::group_exec | fs::perms::others_read |
                                                   fs::perms::others_exec);
                break;
            case Where::ReadOnlyMedia:
                if (!media.mounted()) {
                    testing_support::skipRow(row, "no read-only media to test with: " + media.why());
                    continue;
                }
                path = (media.path() / "notices.mdb").string();
                fs::copy_file(db.path(), path);
                if (place.staleLock)
                    fs::copy_file(db.path() + "-lock", path + "-lock");
                ASSERT_TRUE(media.makeReadOnly()) << media.why();
                break;
            }
            const std::string output = openInChild(path, place.where != Where::ReadOnlyMedia);
            EXPECT_EQ(output, std::string("opened 1 read-only 1 adm F wrote 0") + place.left);
            EXPECT_TRUE(testing_support::readFile(path) == bytes) << "the database was changed";
            fs::permissions(db.dir.path(), fs::perms::owner_all);
        }
    }
}

// A lock file that cannot be locked (a file system that keeps no locks) is named in the refusal:
// the database is neither opened nor called read-only.
TEST(OpenDB, ALockFileThatCannotBeLockedIsNamedInTheRefusal)
{
    namespace fs = std::filesystem;
    NoticeDb db;
    ASSERT_TRUE(db::RowWriter::insert(db.conn, "fmtv_terra").set("terrakey", 1).set("adm", "F").run());
    db.conn.close();
    const std::string bytes = testing_support::readFile(db.path());
    const std::string lockFile = db.path() + "-lock";
    EXPECT_EQ(openInChild(db.path(), false, true),
              "opened 0 read-only 0 adm  wrote 0\nErreur  14:The lock file " + lockFile + " cannot be locked (" +
                  std::strerror(ENOLCK) + "). Without a lock, another instance of the program could change the "
                  "database " + db.path() + " at the same time, so it is not opened.");
    EXPECT_TRUE(testing_support::readFile(db.path()) == bytes) << "the database was changed";
}

TEST(OpenDB, AReadOnlyDatabaseWithChangesInItsLogIsReadThroughItsIndexOrRefusedNamingIt)
{
    for (const bool withIndex : {true, false}) {
        SCOPED_TRACE(withIndex ? "with its index" : "without its index");
        testing_support::SmallFileSystem media(8 << 20);
        if (!media.mounted())
            GTEST_SKIP() << "no read-only media to test with: " << media.why();
        const std::string path = (media.path() / "notices.mdb").string();
        // Killed with a notice in the log: the log and its index stay as they were.
        std::filesystem::copy_file(testing_support::templateDb(), path);
        const auto child = testing_support::runInChild([&] {
            platform::Report report;
            db::Connection conn;
            if (OpenDB(path, conn, report) &&
                db::RowWriter::insert(conn, "fmtv_terra").set("terrakey", 1).set("adm", "F").run())
                _exit(0);
            _exit(1);
        });
        ASSERT_TRUE(child.exited && child.status == 0);
        ASSERT_GT(std::filesystem::file_size(path + "-wal"), 0u);
        if (!withIndex)
            std::filesystem::remove(path + "-shm");
        ASSERT_TRUE(media.makeReadOnly()) << media.why();
        const std::string left = withIndex ? " left -wal left -shm left -lock" : " left -wal left -lock";
        EXPECT_EQ(openInChild(path, false),
                  withIndex ? "opened 1 read-only 1 adm F wrote 0" + left
                            : "opened 0 read-only 0 adm  wrote 0" + left + "\nErreur  14:The database " + path +
                                  " is read-only and " + path +
                                  "-wal holds changes not yet written into it. It cannot be opened.");
    }
}

// The folder of an open database is made read-only before it closes: its log is folded into the
// file but cannot be removed. What closing says is that the file holds every change and the log
// beside it is empty, not that the changes are in the log. Run as root, the database belongs to
// another user, whom a folder's mode binds.
TEST(CloseDB, ALogFoldedInThatCannotBeRemovedIsSaidToBeEmpty)
{
    TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    const std::filesystem::path folder = dir.path() / "team";
    std::filesystem::create_directory(folder);
    const std::string path = (folder / "notices.mdb").string();
    ScriptedPrompter prompter;
    ASSERT_TRUE(copyTemplateDB(path, prompter.report(), testing_support::templateDb()));
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(folder.c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
    }
    const auto child = testing_support::runInChild([&] {
        if (root && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            std::printf("cannot become another user");
            return;
        }
        platform::Report report;
        db::Connection conn;
        database::ContourOutcome outcome;
        if (!OpenDB(path, conn, report) ||
            !storeNtc(testing_support::readNotice("t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 98.5\n"),
                      conn, outcome, false, report)) {
            std::printf("not stored");
            return;
        }
        chmod(folder.c_str(), 0555);
        const bool closed = closeDB(conn, report);
        chmod(folder.c_str(), 0755);
        std::printf("closed %d", closed);
        for (const platform::Message& m : report.messages())
            std::printf("\n%s", m.text.c_str());
    });
    const std::string file = std::filesystem::canonical(path).string();
    const std::string said = child.output.substr(std::min(child.output.size(), child.output.find('\n') + 1));
    EXPECT_TRUE(child.output.starts_with("closed 0\n")) << child.output;
    EXPECT_TRUE(said.starts_with("The database " + file + " holds all its changes, but could not be closed into one "
                                 "file (")) << said;
    EXPECT_TRUE(said.ends_with("): its log " + file + "-wal is empty and is no longer needed.")) << said;
    EXPECT_EQ(std::filesystem::file_size(path + "-wal"), 0u);
    TempDir copy;  // the file alone, without its side files
    std::filesystem::copy_file(path, copy.path() / "alone.mdb");
    db::Connection reader;
    ASSERT_TRUE(reader.open((copy.path() / "alone.mdb").string(), db::Connection::Access::Unchanging));
    db::Statement st(reader, "SELECT count(*) FROM fmtv_terra");
    ASSERT_EQ(st.step(), db::Step::Row);
    EXPECT_EQ(st.text(0), "1") << "the file alone holds the notice";
}
