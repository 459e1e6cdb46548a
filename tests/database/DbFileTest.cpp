// What a database file is decides how it opens: each place below is made for real (a hard link,
// a bind mount, a FIFO, a device, another user's files, a group's folder), but for the network
// folder, which this machine's kernel cannot mount: there the test program's own statfs and
// flock answer as a Linux NFS client does (support/NetworkFolder).
#include "database/DbConnection.h"
#include "database/sqlite/RowWriter.h"
#include "database/sqlite/Statement.h"
#include "support/ChildProcess.h"
#include "support/NetworkFolder.h"
#include "support/NoticeDb.h"
#include "support/TestRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using testing_support::runInChild;
using testing_support::templateDb;
using testing_support::TempDir;

// Users of this machine for the tests; no account is needed to be one.
struct User {
    uid_t uid;
    gid_t gid;
    std::vector<gid_t> groups;
};
constexpr gid_t kTeam = 60000;                   // a group that shares a folder
const User kRoot{0, 0, {0}};
const User kNobody{65534, 65534, {65534}};
const User kAnna{60001, 60001, {kTeam}};         // two members of the team, each with a group of her own
const User kBruno{60002, 60002, {kTeam}};

// A user without root's rights, which would hide what a file's modes refuse: nobody when the tests
// run as root, else the runner.
User unprivileged()
{
    return ::geteuid() == 0 ? kNobody : User{::geteuid(), ::getegid(), {}};
}

// Becomes `user` in this (child) process; false when it cannot. Root stands for the runner.
bool become(const User& user)
{
    return user.uid == 0 || user.uid == ::geteuid() ||
           (::setgroups(user.groups.size(), user.groups.data()) == 0 && ::setgid(user.gid) == 0 &&
            ::setuid(user.uid) == 0);
}

// What a row that needs root throws when the runner is not root: the row skips, saying why.
struct NeedsRoot : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void own(const fs::path& path, const User& user, fs::perms mode)
{
    const int changed = ::lchown(path.c_str(), user.uid, user.gid);
    if (changed != 0 && ::geteuid() != 0)
        throw NeedsRoot("needs root to hand a file to user " + std::to_string(user.uid));
    ASSERT_EQ(changed, 0) << path;
    fs::permissions(path, mode);
}

// Opens the database at `path` and saves a notice as `user` would, then ends without closing it,
// as when the program is killed: its log and index stay beside it.
void killedAfterASave(const std::string& path, const User& user)
{
    const auto child = runInChild([&] {
        ::umask(022);
        platform::Report report;
        db::Connection conn;
        if (become(user) && database::OpenDB(path, conn, report) &&
            db::RowWriter::insert(conn, "fmtv_terra").set("terrakey", 7).set("adm", "K").run())
            _exit(0);
        _exit(1);
    });
    ASSERT_TRUE(child.exited && child.status == 0) << child.output;
}

// The notices' administrations in the file at `path`, read by root without changing it.
std::string storedAdms(const std::string& path)
{
    db::Connection conn;
    if (!conn.open(path, fs::exists(path + "-wal") ? db::Connection::Access::ReadOnly : db::Connection::Access::Unchanging))
        return "cannot be read: " + conn.lastError().message;
    std::string adms;
    db::Statement st(conn, "SELECT adm FROM fmtv_terra ORDER BY terrakey");
    while (st.step() == db::Step::Row)
        adms += st.text(0) + ";";
    return adms;
}

struct Place {
    const char* name;
    // Makes the place in the folder and gives the path the user opens.
    std::function<fs::path(const fs::path& folder)> make;
    User user = kRoot;
    bool network = false;    // the folder is an NFS folder
    bool bindMount = false;  // the path is a second name that a bind mount gives the file
    // What came of opening it, saving a notice and closing it: opened, read-only, saved, whether
    // its own lock is taken, and what stays beside it.
    const char* outcome;
    std::string said;  // a part of the one message shown, "" for none
};

fs::path copied(const fs::path& folder, const char* name = "notices.mdb")
{
    fs::copy_file(templateDb(), folder / name);
    return folder / name;
}

// Opens `path` as the place says in a child process, which a hang ends after ten seconds, and
// tells what came of it on its first line and what it said on the following ones.
std::string openThere(const Place& place, const fs::path& folder, const fs::path& path)
{
    const auto child = runInChild([&] {
        ::alarm(10);
        if (place.bindMount) {
            if (::unshare(CLONE_NEWNS) != 0 || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount((folder / "notices.mdb").c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0) {
                std::printf("cannot bind-mount a file here");
                return;
            }
        }
        if (!become(place.user)) {
            std::printf("cannot become user %u", place.user.uid);
            return;
        }
        std::unique_ptr<testing_support::NetworkFolder> network;
        if (place.network)
            network = std::make_unique<testing_support::NetworkFolder>(folder);
        const database::DbFile asked = database::examineDbFile(path.string());
        platform::Report report;
        db::Connection conn;
        const bool opened = database::OpenDB(path.string(), conn, report);
        const bool readOnly = conn.readOnly();
        const bool saved = opened && db::RowWriter::insert(conn, "fmtv_terra").set("terrakey", 1).set("adm", "F").run();
        const bool closed = database::closeDB(conn, report);
        std::printf("opened %d read-only %d saved %d closed %d file-lock %d", opened, readOnly, saved, closed,
                    asked.lockTheFile());
        for (const char* side : {"-wal", "-shm", "-journal", "-lock"})
            if (fs::exists(fs::symlink_status(path.string() + side)))
                std::printf(" left %s", side);
        for (const platform::Message& m : report.messages())
            std::printf("\n%s", m.text.c_str());
    });
    return child.exited ? child.output : child.output + "\nthe child did not end by itself";
}

}  // namespace

TEST(DbFile, EachPlaceOpensAsItsFileAllowsAndLocksWhatItsFileSystemKeeps)
{
    const Place places[] = {
        {"a file of its own on a local disk", [](const fs::path& d) { return copied(d); }, kRoot, false, false,
         "opened 1 read-only 0 saved 1 closed 1 file-lock 1", ""},
        {"a file with a second name, a hard link",
         [](const fs::path& d) {
             fs::create_hard_link(copied(d), d / "linked.mdb");
             return d / "linked.mdb";
         },
         kRoot, false, false, "opened 1 read-only 1 saved 0 closed 1 file-lock 1",
         "has more than one name (2 hard links). The log of its latest changes is kept beside the name it is "
         "opened by"},
        {"a file with a second name, a bind mount",
         [](const fs::path& d) {
             copied(d);
             return d / "mounted.mdb";
         },
         kRoot, false, true, "opened 1 read-only 1 saved 0 closed 1 file-lock 1",
         "has more than one name (a mount shows it elsewhere too)"},
        {"a file in an NFS folder", [](const fs::path& d) { return copied(d); }, kRoot, true, false,
         "opened 1 read-only 0 saved 1 closed 1 file-lock 0", ""},
        {"a file with a hard link in an NFS folder",
         [](const fs::path& d) {
             fs::create_hard_link(copied(d), d / "linked.mdb");
             return d / "notices.mdb";
         },
         kRoot, true, false, "opened 1 read-only 1 saved 0 closed 1 file-lock 0", "has more than one name"},
        {"a FIFO",
         [](const fs::path& d) {
             ::mkfifo((d / "x.mdb").c_str(), 0666);
             return d / "x.mdb";
         },
         kRoot, false, false, "opened 0 read-only 0 saved 0 closed 1 file-lock 0",
         "x.mdb is a FIFO (a named pipe), not a database file."},
        {"a device",
         [](const fs::path& d) {
             fs::permissions(d, fs::perms::all);
             fs::create_symlink("/dev/null", d / "null.mdb");
             return d / "null.mdb";
         },
         unprivileged(), false, false, "opened 0 read-only 0 saved 0 closed 1 file-lock 0",
         "null.mdb is a device, not a database file."},
        {"a folder",
         [](const fs::path& d) {
             fs::create_directory(d / "folder.mdb");
             return d / "folder.mdb";
         },
         kRoot, false, false, "opened 0 read-only 0 saved 0 closed 1 file-lock 0",
         "folder.mdb is a folder, not a database file."},
        {"a database whose lock file another user left, mode 0600",
         [](const fs::path& d) {
             fs::permissions(d, fs::perms::all);
             own(copied(d), kRoot, fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec &
                                       ~fs::perms::others_exec);
             const fs::path lock = d / "notices.mdb-lock";
             std::ofstream{lock};
             own(lock, kAnna, fs::perms::owner_read | fs::perms::owner_write);
             return d / "notices.mdb";
         },
         kNobody, false, false, "opened 1 read-only 1 saved 0 closed 1 file-lock 1 left -lock",
         "notices.mdb-lock cannot be opened (" + std::string(std::strerror(EACCES)) +
             "): it may be another user's, who has the database "},
        {"a database whose lock file is a dangling symbolic link",
         [](const fs::path& d) {
             fs::create_symlink(d / "gone", d / "notices.mdb-lock");
             return copied(d);
         },
         kRoot, false, false, "opened 1 read-only 1 saved 0 closed 1 file-lock 1 left -lock",
         "notices.mdb-lock is a symbolic link to "},
        {"a group's folder where another member left the log",
         [](const fs::path& d) {
             own(d, {0, kTeam, {}}, fs::perms::owner_all | fs::perms::group_all | fs::perms::others_read |
                                        fs::perms::others_exec);
             const fs::path path = copied(d);
             own(path, {kAnna.uid, kTeam, {}}, fs::perms::owner_read | fs::perms::owner_write |
                                                   fs::perms::group_read | fs::perms::group_write |
                                                   fs::perms::others_read);
             killedAfterASave(path.string(), kAnna);
             return path;
         },
         kBruno, false, false, "opened 1 read-only 1 saved 0 closed 1 file-lock 1 left -wal left -shm",
         "notices.mdb-wal cannot be written by you."},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.name);
        TempDir dir;
        fs::path path;
        try {
            path = place.make(dir.path());
        } catch (const NeedsRoot& e) {
            testing_support::skipRow(place.name, e.what());
            continue;
        }
        if (place.bindMount)
            std::ofstream{path};  // the mount point
        const std::string said = openThere(place, dir.path(), path);
        if (said.starts_with("cannot ")) {
            testing_support::skipRow(place.name, said + (::geteuid() != 0 ? ": needs root" : ""));
            continue;
        }
        const std::string outcome = said.substr(0, said.find('\n'));
        const std::string message = said.find('\n') == std::string::npos ? "" : said.substr(said.find('\n') + 1);
        EXPECT_EQ(outcome, place.outcome);
        if (!place.said.empty())
            EXPECT_NE(message.find(place.said), std::string::npos) << message;
        else
            EXPECT_EQ(message, "");
        EXPECT_EQ(message.find('\n'), std::string::npos) << "one message: " << message;
        // A save reached the file itself; every other file keeps what it had.
        if (fs::is_regular_file(dir.path() / "notices.mdb")) {
            EXPECT_EQ(storedAdms((dir.path() / "notices.mdb").string()),
                      std::string(outcome.find("saved 1") != std::string::npos ? "F;" : "") +
                          (fs::exists(dir.path() / "notices.mdb-wal") ? "K;" : ""));
        }
        if (!fs::is_regular_file(path) && !fs::is_directory(path)) {
            EXPECT_FALSE(fs::exists(fs::symlink_status(path.string() + "-lock"))) << "nothing is left beside it";
        }
    }
}

// In an NFS folder the lock file alone keeps a second instance out: it is taken as the file
// system takes it, by a lock on the whole file.
TEST(DbFile, InAnNfsFolderTheLockFileKeepsASecondInstanceOut)
{
    TempDir dir;
    const fs::path path = copied(dir.path());
    const testing_support::NetworkFolder network(dir.path());
    platform::Report report;
    db::Connection first;
    ASSERT_TRUE(database::OpenDB(path.string(), first, report));
    const std::string second = runInChild([&] {
        platform::Report refused;
        db::Connection conn;
        std::printf("%d", database::OpenDB(path.string(), conn, refused));
        for (const platform::Message& m : refused.messages())
            std::printf("\n%s", m.text.c_str());
    }).output;
    EXPECT_EQ(second, "0\nErreur  5:The database " + path.string() +
                          " is open in another instance of the program. Close it there first.");
    ASSERT_TRUE(db::RowWriter::insert(first, "fmtv_terra").set("terrakey", 1).set("adm", "F").run());
    EXPECT_TRUE(database::closeDB(first, report));
    EXPECT_TRUE(report.messages().empty());
    EXPECT_EQ(storedAdms(path.string()), "F;");
}

// An import replaces a database only whole: the old file's log goes once the new file is in its
// place, and stays with the old file when the new one cannot take it.
TEST(CopyTemplateDB, TheOldLogGoesOnlyWithTheOldFile)
{
    const struct {
        const char* name;
        bool othersFile;  // the old database is another user's, in a sticky shared folder
    } cases[] = {
        {"the user's own database", false},
        {"another user's database in a sticky folder", true},
    };
    const User user = unprivileged();
    // The template where the user can read it, which the build folder may not be.
    TempDir shared;
    fs::permissions(shared.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                       fs::perms::others_read | fs::perms::others_exec);
    const fs::path templ = copied(shared.path(), "MasterKOLV_TPR.mdb");
    fs::permissions(templ, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::permissions(dir.path(), fs::perms::all | fs::perms::sticky_bit);
        const fs::path path = copied(dir.path());
        try {
            own(path, c.othersFile ? kAnna : user,
                fs::perms::all & ~fs::perms::owner_exec & ~fs::perms::group_exec & ~fs::perms::others_exec);
        } catch (const NeedsRoot& e) {
            testing_support::skipRow(c.name, e.what());
            continue;
        }
        killedAfterASave(path.string(), user);
        const std::string log = testing_support::readFile(path.string() + "-wal");
        ASSERT_FALSE(log.empty());
        const std::string said = runInChild([&] {
            platform::Report report;
            database::DbLock lock;
            std::printf("%d", become(user) && database::lockDB(path.string(), lock, "copyTemplateDB", report) &&
                                  database::copyTemplateDB(path.string(), report, templ));
            for (const platform::Message& m : report.messages())
                std::printf("\n%s", m.text.c_str());
        }).output;
        if (c.othersFile) {
            EXPECT_EQ(said, "0\nError 1 : " + path.string() + ": " + std::strerror(EPERM));
            EXPECT_TRUE(testing_support::readFile(path.string() + "-wal") == log) << "the log was changed";
            EXPECT_TRUE(fs::exists(path.string() + "-shm"));
            EXPECT_EQ(storedAdms(path.string()), "K;") << "the old database lacks its latest save";
        } else {
            EXPECT_EQ(said, "1");
            EXPECT_FALSE(fs::exists(path.string() + "-wal"));
            EXPECT_FALSE(fs::exists(path.string() + "-shm"));
            EXPECT_EQ(storedAdms(path.string()), "") << "the old log was replayed onto the new file";
        }
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        const std::vector<std::string> left =
            c.othersFile ? std::vector<std::string>{"notices.mdb", "notices.mdb-shm", "notices.mdb-wal"}
                         : std::vector<std::string>{"notices.mdb"};
        EXPECT_EQ(names, left);
    }
}
