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
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <fcntl.h>
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// A copy of the template below folders nested deeper than a path the system follows whole
// (PATH_MAX): the file is there, but its path names nothing the system can find. The folders
// are made, and removed by removeTooDeep, through descriptors, one name at a time.
const std::string kDeepName(200, 'd');

fs::path tooDeep(const fs::path& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    std::string path = folder.string();
    while (fd >= 0 && path.size() <= PATH_MAX) {
        ::mkdirat(fd, kDeepName.c_str(), 0755);
        const int next = ::openat(fd, kDeepName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        fd = next;
        path += "/" + kDeepName;
    }
    const std::string bytes = testing_support::readFile(templateDb());
    const int out = fd < 0 ? -1 : ::openat(fd, "notices.mdb", O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    const bool made = out >= 0 && ::write(out, bytes.data(), bytes.size()) == ssize_t(bytes.size());
    if (out >= 0)
        ::close(out);
    if (fd >= 0)
        ::close(fd);
    EXPECT_TRUE(made) << "no file below folders too deep";
    return path + "/notices.mdb";
}

void removeTooDeep(const fs::path& folder)
{
    std::vector<int> fds{::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    while (fds.back() >= 0)
        fds.push_back(::openat(fds.back(), kDeepName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    fds.pop_back();
    for (const char* name : {"notices.mdb", "notices.mdb-lock", "notices.mdb-wal", "notices.mdb-shm"})
        if (fds.size() > 1)
            ::unlinkat(fds.back(), name, 0);
    for (std::size_t i = fds.size(); i-- > 0;) {
        if (i + 1 < fds.size())
            ::unlinkat(fds[i], kDeepName.c_str(), AT_REMOVEDIR);
        ::close(fds[i]);
    }
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
        std::error_code unreachable;  // a path that cannot be followed has nothing beside it
        for (const char* side : {"-wal", "-shm", "-journal", "-lock"})
            if (fs::exists(fs::symlink_status(path.string() + side, unreachable)))
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
        {"a database in a folder this user cannot search",
         [](const fs::path& d) {
             fs::permissions(d, fs::perms::all);
             fs::create_directory(d / "private");
             fs::permissions(d / "private", fs::perms::owner_all);
             return copied(d / "private");
         },
         kNobody, false, false, "opened 0 read-only 0 saved 0 closed 1 file-lock 0",
         "private/notices.mdb cannot be reached (" + std::string(std::strerror(EACCES)) + ")."},
        {"a name longer than the system allows",
         [](const fs::path& d) { return d / (std::string(NAME_MAX, 'n') + ".mdb"); }, kRoot, false, false,
         "opened 0 read-only 0 saved 0 closed 1 file-lock 0",
         "nnn.mdb cannot be reached (" + std::string(std::strerror(ENAMETOOLONG)) + ")."},
        {"a database whose path is longer than the system allows", tooDeep, kRoot, false, false,
         "opened 0 read-only 0 saved 0 closed 1 file-lock 0",
         "/notices.mdb cannot be reached (" + std::string(std::strerror(ENAMETOOLONG)) + ")."},
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
        std::error_code unreachable;
        if (!fs::is_regular_file(path, unreachable) && !fs::is_directory(path, unreachable)) {
            EXPECT_FALSE(fs::exists(fs::symlink_status(path.string() + "-lock", unreachable)))
                << "nothing is left beside it";
        }
        removeTooDeep(dir.path());
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

// An import over a database leaves the new file the permission bits and group of the one it
// replaces where the importing user may set them, as `cp` onto a file keeps them; a first
// import makes it as any file is made.
TEST(CopyTemplateDB, TheNewDatabaseKeepsTheBitsAndGroupOfTheOneItReplaces)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "the users and groups of these cases need root";
    struct Owner {
        uid_t uid;
        gid_t gid;
    };
    const struct {
        const char* name;
        Owner folderOwner;
        mode_t folderMode;
        bool old;  // a database is there to be replaced
        Owner oldOwner;
        mode_t oldMode;
        User importer;
        mode_t mode;  // what the new database gets
        Owner owner;
    } cases[] = {
        {"a team's database, in a team's folder without the setgid bit", {0, kTeam}, 0775, true, {kAnna.uid, kTeam},
         0664, kBruno, 0664, {kBruno.uid, kTeam}},
        {"another member's database in her own group, which the importer is not in", {0, 0}, 0777, true,
         {kAnna.uid, kAnna.gid}, 0664, kBruno, 0664, {kBruno.uid, kBruno.gid}},
        {"the importer's own read-only database, which the import must write", {0, 0}, 0777, true,
         {kBruno.uid, kBruno.gid}, 0440, kBruno, 0640, {kBruno.uid, kBruno.gid}},
        {"another user's database, replaced by root", {0, 0}, 0755, true, {kAnna.uid, kTeam}, 0640, kRoot, 0640,
         {kAnna.uid, kTeam}},
        {"no database yet", {0, kTeam}, 0775, false, {}, 0, kBruno, 0644, {kBruno.uid, kBruno.gid}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path folder = dir.path() / "team";
        fs::create_directory(folder);
        ASSERT_EQ(::chown(folder.c_str(), c.folderOwner.uid, c.folderOwner.gid), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
        const fs::path path = folder / "notices.mdb";
        if (c.old) {
            copied(folder);
            ASSERT_EQ(::chown(path.c_str(), c.oldOwner.uid, c.oldOwner.gid), 0);
            ASSERT_EQ(::chmod(path.c_str(), c.oldMode), 0);
        }
        fs::permissions(dir.path(), fs::perms::all);
        const fs::path source = dir.path() / "template.mdb";  // where the importer can read it
        fs::copy_file(templateDb(), source);
        fs::permissions(source, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const std::string said = runInChild([&] {
            ::umask(022);
            platform::Report report;
            database::DbLock lock;
            std::printf("%d", become(c.importer) && database::lockDB(path.string(), lock, "copyTemplateDB", report) &&
                                  database::copyTemplateDB(path.string(), report, source));
            for (const platform::Message& m : report.messages())
                std::printf("\n%s", m.text.c_str());
        }).output;
        EXPECT_EQ(said, "1");
        struct stat made {};
        ASSERT_EQ(::stat(path.c_str(), &made), 0);
        EXPECT_EQ(made.st_mode & 07777, c.mode) << std::oct << (made.st_mode & 07777);
        EXPECT_EQ(made.st_uid, c.owner.uid);
        EXPECT_EQ(made.st_gid, c.owner.gid);
        EXPECT_EQ(storedAdms(path.string()), "") << "the template's copy";
    }
}

namespace {

// An instance of the program that `user` runs in a child process: it opens the database at
// `path` (in an NFS folder when `network` names one), saves a notice and tells what came of it,
// then holds the database until it is closed or killed.
class Instance {
public:
    Instance(const fs::path& path, const User& user, const fs::path& network, int terrakey, const char* adm)
    {
        int out[2], control[2];
        if (::pipe(out) != 0 || ::pipe(control) != 0)
            return;
        std::fflush(stdout);
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(out[0]);
            ::close(control[1]);
            ::alarm(30);  // a hang ends
            ::umask(022);
            std::unique_ptr<testing_support::NetworkFolder> nfs;
            if (!network.empty())
                nfs = std::make_unique<testing_support::NetworkFolder>(network);
            std::string said = "cannot become user " + std::to_string(user.uid);
            platform::Report report;
            db::Connection conn;
            if (become(user)) {
                const bool opened = database::OpenDB(path.string(), conn, report);
                const bool readOnly = conn.readOnly();
                const bool saved =
                    opened && db::RowWriter::insert(conn, "fmtv_terra").set("terrakey", terrakey).set("adm", adm).run();
                said = "opened " + std::to_string(opened) + " read-only " + std::to_string(readOnly) + " saved " +
                       std::to_string(saved);
                for (const platform::Message& m : report.messages())
                    said += "\n" + m.text;
            }
            said += '\0';
            if (::write(out[1], said.data(), said.size()) < 0)
                _exit(1);
            char order = 0;
            if (::read(control[0], &order, 1) == 1 && order == 'c')
                database::closeDB(conn, report);
            _exit(0);  // as killed when not told to close
        }
        ::close(out[1]);
        ::close(control[0]);
        m_control = control[1];
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\0')
            m_said += c;
        ::close(out[0]);
    }
    ~Instance() { kill(); }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    /// What its open said: "opened 1 read-only 0 saved 1", then its messages, one a line.
    const std::string& said() const { return m_said; }
    /// Closes the database as File > Exit does.
    void close() { end('c'); }
    /// Ends as a crash or a lost network does, closing nothing.
    void kill() { end(0); }

private:
    void end(char order)
    {
        if (m_pid <= 0)
            return;
        if (order != 0 && ::write(m_control, &order, 1) != 1)
            order = 0;
        if (order == 0)
            ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        ::close(m_control);
        m_pid = -1;
    }

    pid_t m_pid = -1;
    int m_control = -1;
    std::string m_said;
};

// What `user` is told opening the database at `path`, then locking it to replace it, as a
// second instance of the program: the outcome of each and its messages, one a line.
std::string asSecondInstance(const fs::path& path, const User& user, const fs::path& network)
{
    return runInChild([&] {
        std::unique_ptr<testing_support::NetworkFolder> nfs;
        if (!network.empty())
            nfs = std::make_unique<testing_support::NetworkFolder>(network);
        if (!become(user)) {
            std::printf("cannot become user %u", user.uid);
            return;
        }
        platform::Report report;
        db::Connection conn;
        std::printf("opened %d", database::OpenDB(path.string(), conn, report));
        database::DbLock lock;
        std::printf("\nlocked to replace %d", database::lockDB(path.string(), lock, "copyTemplateDB", report));
        for (const platform::Message& m : report.messages())
            std::printf("\n%s", m.text.c_str());
    }).output;
}

// What `user` is told locking the database at `path` to replace it, as an import does first:
// whether it could, then its messages, one a line.
std::string lockedToReplace(const fs::path& path, const User& user, const fs::path& network)
{
    return runInChild([&] {
        std::unique_ptr<testing_support::NetworkFolder> nfs;
        if (!network.empty())
            nfs = std::make_unique<testing_support::NetworkFolder>(network);
        platform::Report report;
        database::DbLock lock;
        std::printf("%d", become(user) && database::lockDB(path.string(), lock, "copyTemplateDB", report));
        for (const platform::Message& m : report.messages())
            std::printf("\n%s", m.text.c_str());
    }).output;
}

}  // namespace

// Two members of a team share a database in the team's folder, on a local disk and in an NFS
// folder (where the test program's statfs and flock answer as an NFS client does): whoever may
// write the database may lock it, so a second instance is refused as open there whoever runs
// it; a lock file a killed member left is taken over where the next member may remove it, else
// the database opens read-only saying why and what to delete, and still keeps others out.
TEST(DbFile, ATeamsDatabaseLocksForEveryMemberAsOnALocalDisk)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "the team's users and groups need root";
    const std::string leftover = "is left over: no instance of the program holds it, but you may only read it, "
                                 "and its network folder locks a file only for those who may write it; nor can you "
                                 "remove it (" + std::string(std::strerror(EPERM)) + ").";
    const struct {
        const char* name;
        bool network;
        mode_t folderMode;   // of the team's folder, root's in the team's group
        mode_t dbMode;       // of the database, the first member's in the team's group
        bool earlierLock;    // the lock file as an earlier version made it: 0644, in its maker's own group
        bool replaceable;    // whether the next member may lock it to replace it, once the first was killed
        const char* taken;   // what the next member's open came to then
        std::string said;    // what it said, "" for nothing
        const char* stored;  // the notices in the database once the next member closed it
    } rows[] = {
        {"a local folder with the setgid bit", false, 02775, 0664, false, true, "opened 1 read-only 0 saved 1", "",
         "F;K;"},
        {"an NFS folder with the setgid bit", true, 02775, 0664, false, true, "opened 1 read-only 0 saved 1", "",
         "F;K;"},
        {"an NFS folder with the setgid bit, the lock file as an earlier version made it", true, 02775, 0664, true,
         true, "opened 1 read-only 0 saved 1", "", "F;K;"},
        {"a local sticky folder, the lock file as an earlier version made it", false, 03775, 0664, true, true,
         "opened 1 read-only 0 saved 1", "", "F;K;"},
        {"an NFS sticky folder, the lock file as an earlier version made it", true, 03775, 0664, true, false,
         "opened 1 read-only 1 saved 0", leftover, "K;"},
        {"an NFS sticky folder, a database only its owner may write", true, 03775, 0644, false, false,
         "opened 1 read-only 1 saved 0", "", "K;"},
        {"a local folder without the setgid bit, where the log stays the first member's", false, 0775, 0664, false,
         true, "opened 1 read-only 1 saved 0", "notices.mdb-wal cannot be written by you.", "K;"},
        {"an NFS folder without the setgid bit, where the log stays the first member's", true, 0775, 0664, false,
         true, "opened 1 read-only 1 saved 0", "notices.mdb-wal cannot be written by you.", "K;"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
        const fs::path folder = dir.path() / "team";
        fs::create_directory(folder);
        ASSERT_EQ(::chown(folder.c_str(), 0, kTeam), 0);
        ASSERT_EQ(::chmod(folder.c_str(), row.folderMode), 0);
        const fs::path path = copied(folder);
        ASSERT_EQ(::chown(path.c_str(), kAnna.uid, kTeam), 0);
        ASSERT_EQ(::chmod(path.c_str(), row.dbMode), 0);
        const fs::path network = row.network ? folder : fs::path();
        const std::string lockFile = path.string() + "-lock";
        const std::string busy = "Erreur  5:The database " + path.string() +
                                 " is open in another instance of the program. Close it there first.";
        const std::string refused = "opened 0\nlocked to replace 0\n" + busy + "\n" + busy;

        Instance anna(path, kAnna, network, 7, "K");
        ASSERT_EQ(anna.said(), "opened 1 read-only 0 saved 1");
        struct stat lock {};
        ASSERT_EQ(::stat(lockFile.c_str(), &lock), 0);
        if (row.earlierLock) {
            ASSERT_EQ(::chown(lockFile.c_str(), kAnna.uid, kAnna.gid), 0);
            ASSERT_EQ(::chmod(lockFile.c_str(), 0644), 0);
        } else {
            EXPECT_EQ(lock.st_mode & 07777, row.dbMode) << "the database's bits, whatever the umask";
            EXPECT_EQ(lock.st_gid, kTeam) << "the database's group";
        }
        EXPECT_EQ(asSecondInstance(path, kBruno, network), refused) << "while Anna has it open";

        anna.kill();
        EXPECT_EQ(lockedToReplace(path, kBruno, network),
                  row.replaceable ? "1"
                                  : "0\nErreur  14:The lock file " + lockFile + " " + leftover +
                                        " If nobody has the database open, deleting " + lockFile +
                                        " lets it be replaced.");
        Instance bruno(path, kBruno, network, 1, "F");
        const std::string& said = bruno.said();
        EXPECT_EQ(said.substr(0, said.find('\n')), row.taken);
        const std::string message = said.find('\n') == std::string::npos ? "" : said.substr(said.find('\n') + 1);
        if (row.said.empty())
            EXPECT_EQ(message, "");
        else
            EXPECT_NE(message.find(row.said), std::string::npos) << message;
        if (row.said == leftover) {
            EXPECT_EQ(message, "The lock file " + lockFile + " " + leftover +
                                   " The database is opened read-only; if nobody has it open, deleting " + lockFile +
                                   " lets it be written.");
        }
        EXPECT_EQ(asSecondInstance(path, kAnna, network), refused) << "while Bruno has it open";
        bruno.close();
        EXPECT_EQ(storedAdms(path.string()), row.stored);
        EXPECT_FALSE(fs::exists(lockFile + "-takeover"));
    }
}
