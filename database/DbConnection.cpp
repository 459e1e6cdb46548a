#include "DbConnection.h"

#include "FieldColumns.h"
#include "NoticeGridQuery.h"
#include "database/sqlite/Statement.h"
#include "notice/ErrorNumbers.h"
#include "notice/FieldUtils.h"
#include "notice/NoticeFields.h"
#include "notice/NoticeRecord.h"
#include "platform/Report.h"
#include "platform/SystemInfo.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>
#include <vector>

namespace database {
namespace {

std::filesystem::path programFolder()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) : exe.parent_path();
}

// Whether the file holds every column the program reads: those of the notice's fields and
// those of the grid. Only reads, so a file that is refused stays as it was.
bool hasNoticeColumns(db::Connection& conn)
{
    std::vector<std::string> queries = {ntcGridQuery()};
    const notice::NoticeRecord none;  // only the columns' names are wanted
    for (const notice::Table table : {notice::Table::Terra, notice::Table::Target, notice::Table::Elements}) {
        const std::string name = tableName(table);
        std::string columns;
        forEachColumn(table, none, [&columns](const notice::NoticeField&, const char* column, const std::string&) {
            columns += std::string(columns.empty() ? "" : ", ") + column;
        });
        queries.push_back("SELECT " + columns + " FROM " + name);
    }
    for (const std::string& sql : queries) {
        db::Statement st(conn, sql + " LIMIT 0");
        if (st.step() != db::Step::Done)
            return false;
    }
    return true;
}

// Whether the file's header says it is in write-ahead-log mode.
bool inWalMode(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    char header[20] = {};
    return in.read(header, sizeof header) && (header[18] == 2 || header[19] == 2);
}

bool copyFailed(platform::Report& report, int number, const std::string& text)
{
    report.message("Error " + std::to_string(number) + " : " + text, platform::kAppTitle, platform::Icon::None);
    return false;
}

}  // namespace

std::filesystem::path templatePath()
{
    return programFolder() / kTemplateName;
}

bool copyTemplateDB(const std::string& name, platform::Report& report, const std::filesystem::path& templateFile)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_regular_file(templateFile, ec))
        return copyFailed(report, ENOENT, templateFile.string() + ": " + std::strerror(ENOENT));
    // The file a link names is replaced, not the link: the database stays where its lock is.
    const std::string path = resolvedPath(name);
    const fs::path target(path);
    const std::string mine = "." + std::to_string(::getpid());
    fs::path temp = target;
    temp += ".tmp" + mine;
    platform::copyFile(templateFile, temp, ec);  // the system's reason, "No space left on device" too
    // A file replaced leaves the new one its permission bits and group, as cp onto it would, so
    // that a team's database stays the team's; its owner's reading and writing the import needs.
    if (const int copy = ec ? -1 : ::open(temp.c_str(), O_RDONLY | O_CLOEXEC); copy >= 0) {
        std::error_code absent;
        if (fs::is_regular_file(target, absent))
            db::takeAccessOf(copy, path, S_IRUSR | S_IWUSR);
        ::close(copy);
    }
    // The journal of the file replaced must not be replayed onto the copy, nor be lost while that
    // file stays: it is set aside, put back when the copy cannot take the file's place, and
    // removed once it has.
    std::vector<std::pair<std::string, std::string>> aside;
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        const std::string journal = path + suffix;
        std::error_code absent;  // a file that is not there is no error here
        if (!ec && fs::exists(fs::symlink_status(journal, absent))) {
            fs::rename(journal, journal + ".old" + mine, ec);
            if (!ec)
                aside.emplace_back(journal, journal + ".old" + mine);
        }
    }
    if (!ec)
        fs::rename(temp, target, ec);
    std::error_code ignored;
    for (const auto& [journal, setAside] : aside) {
        if (ec)
            fs::rename(setAside, journal, ignored);
        else
            fs::remove(setAside, ignored);
    }
    if (ec) {
        fs::remove(temp, ignored);
        return copyFailed(report, ec.value(), path + ": " + ec.message());
    }
    return true;
}

bool OpenDB(const std::string& path, db::Connection& conn, platform::Report& report, DbLock held)
{
    conn.close();
    const DbFile db = examineDbFile(path);
    if (db.kind == DbFile::Kind::Missing && db.unreachable == 0) {
        notice::reportErr(db::kErrCantOpen, "OpenDB", "The database " + path + " does not exist", report);
        return false;
    }
    const std::string& file = db.file;
    if (!held.name.held() && !held.file.held()) {
        if (!lockDB(db, path, held, "OpenDB", report, LockFor::Opening))
            return false;
    } else {
        // The caller held the name while the file there was replaced: the new file is locked now.
        held.file.release();
        if (!isFileOrMissing(db, path, "OpenDB", report) || !lockTheFile(db, path, held.file, "OpenDB", report))
            return false;
    }
    // Where no lock file can be had, or only one held shared, nobody can hold the database
    // against another instance's writes; a write-ahead log needs the folder.
    const bool readOnly = !held.name.held() || held.name.shared() || !db.writable();
    db::Connection::Access access = db::Connection::Access::ReadWrite;
    std::error_code ec;
    const auto logBytes = std::filesystem::file_size(file + "-wal", ec);
    const bool logged = !ec && logBytes > 0;
    if (readOnly && inWalMode(file) && !(logged && notice::fileExists(file + "-shm"))) {
        // A log can be read only through the index beside it, which a read-only open must not
        // make; without a log the file holds everything.
        if (logged) {
            notice::reportErr(db::kErrCantOpen, "OpenDB",
                              "The database " + path + " is read-only and " + file +
                                  "-wal holds changes not yet written into it. It cannot be opened.",
                              report);
            return false;
        }
        access = db::Connection::Access::Unchanging;
    } else if (readOnly) {
        access = db::Connection::Access::ReadOnly;
    }
    if (!conn.open(file, access)) {
        notice::reportErr(conn.lastError().code, "OpenDB", path + ": " + conn.lastError().message, report);
        return false;
    }
    if (!conn.hasTable("fmtv_terra") || !conn.hasTable("Fmtv_keys")) {
        conn.close();
        notice::reportErr(db::kErrNotADatabase, "OpenDB", path + " is not a notice database", report);
        return false;
    }
    if (!hasNoticeColumns(conn)) {
        const std::string why = conn.lastError().message;
        conn.close();
        notice::reportErr(db::kErrNotADatabase, "OpenDB", path + " is not a notice database: " + why, report);
        return false;
    }
    // Every notice commits on its own: the write-ahead log keeps that atomic without a disk
    // wait per commit; the last close folds the log back into the file.
    if (!readOnly && (!conn.exec("PRAGMA journal_mode = WAL") || !conn.exec("PRAGMA synchronous = NORMAL") ||
                      !conn.exec("PRAGMA wal_autocheckpoint = 8192"))) {
        notice::reportErr(conn.lastError().code, "OpenDB", path + ": " + conn.lastError().message, report);
        conn.close();
        return false;
    }
    for (const std::string& note : {held.readOnlyNote, db.readOnlyNote(path)})
        if (!note.empty())
            report.message(note, platform::kAppTitle, platform::Icon::Warning);
    // The file's own lock goes last: its descriptor must close after the engine's.
    conn.keep(std::move(held.name));
    conn.keep(std::move(held.file));
    return true;
}

namespace {

// The size the file grows to with its log folded in.
std::int64_t foldedSize(db::Connection& conn)
{
    db::Statement st(conn, "SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()");
    return st.step() == db::Step::Row ? st.integer(0).value_or(0) : 0;
}

// Says that the log of `file` could not be folded into it, after `failure`: what holds its
// latest changes, and what to do. `bytes` is the size the folded file would have.
void reportLogKept(const std::string& file, std::int64_t bytes, const std::string& failure,
                   platform::Report& report)
{
    std::error_code ec;
    const std::string log = file + "-wal";
    if (std::filesystem::file_size(log, ec) == 0 || ec == std::errc::no_such_file_or_directory) {
        report.message("The database " + file + " holds all its changes, but could not be closed into one file (" +
                           failure + "): its log " + log + " is empty and is no longer needed.",
                       platform::kAppTitle, platform::Icon::Warning);
        return;
    }
    const auto size = std::filesystem::file_size(file, ec);
    const std::int64_t lacking = ec ? 0 : bytes - std::int64_t(size);
    constexpr std::int64_t kKB = 1024;
    report.message("The database " + file + " could not be closed into one file (" + failure +
                       "). Its latest changes are in " + log +
                       ", which belongs with it: keep the two files together and never copy, move or "
                       "delete one without the other. " +
                       (lacking > 0 ? "Free at least " + std::to_string((lacking + kKB - 1) / kKB) +
                                          " KB on its disk, then open the database again to write them into it."
                                    : std::string("Open the database again to write them into it.")),
                   platform::kAppTitle, platform::Icon::Warning);
}

}  // namespace

bool closeDB(db::Connection& conn, platform::Report& report)
{
    if (!conn.isOpen())
        return true;
    const std::string file = conn.path();
    const std::int64_t bytes = foldedSize(conn);
    if (conn.close())
        return true;
    reportLogKept(file, bytes, conn.lastError().message, report);
    return false;
}

bool foldLogIn(db::Connection& conn, platform::Report& report)
{
    if (!conn.isOpen() || conn.readOnly() || conn.checkpoint())
        return true;
    const db::Error failure = conn.lastError();
    reportLogKept(conn.path(), foldedSize(conn), failure.message, report);
    return false;
}

void reportNotSaved(platform::Report& report, const std::string& reason)
{
    report.message("The data was not saved to the database" + (reason.empty() ? std::string() : ": " + reason),
                   "Erreur base de données", platform::Icon::Warning);
}

bool reportDbErr(const db::Connection& conn, const std::string& procedure, platform::Report& report)
{
    const db::Error& e = conn.lastError();
    notice::reportErr(e.code == 0 ? db::kErrGeneric : e.code, procedure, e.message, report);
    return false;
}

void reportTooManySubAreas(const std::string& procedure, platform::Report& report)
{
    notice::reportErr(notice::kErrSubscript, procedure,
                      "Subscript out of range: more than " + std::to_string(notice::kContourIdSlots) + " sub-areas",
                      report);
}

}  // namespace database
