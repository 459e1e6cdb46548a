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
#include <cstring>
#include <fcntl.h>
#include <fstream>
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

std::string resolvedPath(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
    return ec ? path : resolved.string();
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
    fs::path temp = target;
    temp += ".tmp-" + std::to_string(::getpid());
    platform::copyFile(templateFile, temp, ec);  // the system's reason, "No space left on device" too
    // The journal of an earlier database of that name must not be replayed onto the copy.
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        if (!ec)
            fs::remove(path + suffix, ec);
    if (!ec)
        fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return copyFailed(report, ec.value(), path + ": " + ec.message());
    }
    return true;
}

namespace {

bool refuseBusy(const std::string& path, const std::string& procedure, platform::Report& report)
{
    notice::reportErr(db::kErrBusy, procedure,
                      "The database " + path + " is open in another instance of the program. Close it there first.",
                      report);
    return false;
}

bool refuseLock(const std::string& text, const std::string& procedure, platform::Report& report)
{
    notice::reportErr(db::kErrCantOpen, procedure, text, report);
    return false;
}

// Whether this user may write the file or folder, read-only media counted.
bool writable(const std::string& path)
{
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Locks the existing database `file` itself, which `path` names.
bool lockTheFile(const std::string& file, const std::string& path, db::FileLock& lock, const std::string& procedure,
                 platform::Report& report)
{
    switch (lock.acquireFile(file)) {
    case db::FileLock::Outcome::Held:
        return true;
    case db::FileLock::Outcome::Busy:
        return refuseBusy(path, procedure, report);
    case db::FileLock::Outcome::CannotOpen:
    case db::FileLock::Outcome::ReadOnlyFolder:  // never for a file itself
        break;
    case db::FileLock::Outcome::Failed:
        return refuseLock("The database " + file + " cannot be locked (" + std::strerror(errno) +
                              "). Without a lock, another instance of the program could change it at the same time, "
                              "so it is not opened.",
                          procedure, report);
    }
    return refuseLock(path + ": " + std::strerror(errno), procedure, report);
}

}  // namespace

bool lockDB(const std::string& path, DbLock& lock, const std::string& procedure, platform::Report& report)
{
    const std::string file = resolvedPath(path);
    const std::string lockFile = file + "-lock";
    switch (lock.name.acquire(lockFile)) {
    case db::FileLock::Outcome::Held:
    case db::FileLock::Outcome::ReadOnlyFolder:
        break;
    case db::FileLock::Outcome::Busy:
        return refuseBusy(path, procedure, report);
    case db::FileLock::Outcome::CannotOpen:
        return refuseLock("The lock file " + lockFile + " cannot be opened (" + std::strerror(errno) +
                              "): it may be another user's, who has the database " + path + " open.",
                          procedure, report);
    case db::FileLock::Outcome::Failed:
        return refuseLock("The lock file " + lockFile + " cannot be locked (" + std::strerror(errno) +
                              "). Without a lock, another instance of the program could change the database " +
                              path + " at the same time, so it is not opened.",
                          procedure, report);
    }
    if (!notice::fileExists(file) || lockTheFile(file, path, lock.file, procedure, report))
        return true;
    lock.name.release();
    return false;
}

bool OpenDB(const std::string& path, db::Connection& conn, platform::Report& report, DbLock held)
{
    conn.close();
    if (!notice::fileExists(path)) {
        notice::reportErr(db::kErrCantOpen, "OpenDB", "The database " + path + " does not exist", report);
        return false;
    }
    const std::string file = resolvedPath(path);
    if (!held.name.held() && !held.file.held()) {
        if (!lockDB(path, held, "OpenDB", report))
            return false;
    } else {
        // The caller held the name while the file there was replaced: the new file is locked now.
        held.file.release();
        if (!lockTheFile(file, path, held.file, "OpenDB", report))
            return false;
    }
    // Where no lock file can be made, the folder is read-only; a write-ahead log needs the folder.
    const bool readOnly =
        !held.name.held() || !writable(file) || !writable(std::filesystem::path(file).parent_path().string());
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
    // The file's own lock goes last: its descriptor must close after the engine's.
    conn.keep(std::move(held.name));
    conn.keep(std::move(held.file));
    return true;
}

bool closeDB(db::Connection& conn, platform::Report& report)
{
    if (!conn.isOpen())
        return true;
    const std::string file = conn.path();
    std::int64_t bytes = 0;  // the size the file grows to with its log folded in
    {
        db::Statement st(conn, "SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()");
        if (st.step() == db::Step::Row)
            bytes = st.integer(0).value_or(0);
    }
    if (conn.close())
        return true;
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    const std::int64_t lacking = ec ? 0 : bytes - std::int64_t(size);
    constexpr std::int64_t kKB = 1024;
    report.message("The database " + file + " could not be closed into one file (" + conn.lastError().message +
                       "). Its latest changes are in " + file +
                       "-wal, which belongs with it: keep the two files together and never copy, move or "
                       "delete one without the other. " +
                       (lacking > 0 ? "Free at least " + std::to_string((lacking + kKB - 1) / kKB) +
                                          " KB on its disk, then open the database again to write them into it."
                                    : std::string("Open the database again to write them into it.")),
                   platform::kAppTitle, platform::Icon::Warning);
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
