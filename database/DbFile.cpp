#include "DbFile.h"

#include "database/sqlite/Error.h"
#include "notice/FieldUtils.h"
#include "platform/Report.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <linux/magic.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <system_error>
#include <unistd.h>

namespace database {
namespace {

// File systems whose flock is a byte-range lock on the whole file: there an exclusive one needs
// a descriptor open for writing, and then it collides with the engine's own byte-range locks.
constexpr decltype(statfs::f_type) kEmulatedFlock[] = {NFS_SUPER_MAGIC, SMB_SUPER_MAGIC, CIFS_SUPER_MAGIC,
                                                      SMB2_SUPER_MAGIC};

// Whether this user may write the file or folder, read-only media counted.
bool writable(const std::string& path)
{
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

DbFile::Kind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return DbFile::Kind::Regular;
    if (S_ISDIR(mode))
        return DbFile::Kind::Folder;
    if (S_ISFIFO(mode))
        return DbFile::Kind::Fifo;
    if (S_ISSOCK(mode))
        return DbFile::Kind::Socket;
    return DbFile::Kind::Device;
}

// A mount point as the mount table writes it, its space, tab, newline and backslash escaped
// as three octal digits.
std::string unescapedMountPoint(const std::string& field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            int value = 0;
            bool octal = true;
            for (std::size_t k = 1; k <= 3; ++k) {
                const char c = field[i + k];
                octal = octal && c >= '0' && c <= '7';
                value = value * 8 + (c - '0');
            }
            if (octal) {
                out += char(value);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

// Whether a mount point of this process shows the file `named` (a bind mount of the file, at
// its own name or at another).
bool mountedAsFile(const struct stat& named)
{
    std::ifstream table("/proc/self/mountinfo");
    const std::string device = std::to_string(major(named.st_dev)) + ":" + std::to_string(minor(named.st_dev));
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::string id, parent, dev, root, point;
        if (!(fields >> id >> parent >> dev >> root >> point) || dev != device)
            continue;
        struct stat there {};
        const std::string path = unescapedMountPoint(point);
        if (::stat(path.c_str(), &there) == 0 && S_ISREG(there.st_mode) && there.st_dev == named.st_dev &&
            there.st_ino == named.st_ino)
            return true;
    }
    return false;
}

bool refuse(int number, const std::string& text, const std::string& procedure, platform::Report& report)
{
    notice::reportErr(number, procedure, text, report);
    return false;
}

bool refuseBusy(const std::string& path, const std::string& procedure, platform::Report& report)
{
    return refuse(db::kErrBusy,
                  "The database " + path + " is open in another instance of the program. Close it there first.",
                  procedure, report);
}

// Why the lock file cannot be opened, `error` being the system's reason.
std::string unopenableLock(const std::string& lockFile, const std::string& path, int error)
{
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(lockFile, ec))) {
        const auto target = std::filesystem::read_symlink(lockFile, ec);
        if (!std::filesystem::exists(lockFile, ec))
            return "The lock file " + lockFile + " is a symbolic link to " + target.string() +
                   ", which does not exist.";
    }
    return "The lock file " + lockFile + " cannot be opened (" + std::strerror(error) +
           "): it may be another user's, who has the database " + path + " open.";
}

// A lock file's note, `why` it is out of reach, for a database opened read-only.
std::string readOnlyUntilDeleted(const std::string& why, const std::string& lockFile)
{
    return why + " The database is opened read-only; if nobody has it open, deleting " + lockFile +
           " lets it be written.";
}

}  // namespace

std::string resolvedPath(const std::string& path)
{
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
    return ec ? path : resolved.string();
}

const char* DbFile::otherKind() const
{
    switch (kind) {
    case Kind::Missing:
    case Kind::Regular:
        return nullptr;
    case Kind::Folder:
        return "a folder";
    case Kind::Fifo:
        return "a FIFO (a named pipe)";
    case Kind::Device:
        return "a device";
    case Kind::Socket:
        return "a socket";
    }
    return nullptr;
}

std::string DbFile::readOnlyNote(const std::string& path) const
{
    std::string note;
    if (!fileWritable || !folderWritable)
        return note;  // plainly read-only
    if (hasOtherNames()) {
        note = "The database " + path + " has more than one name (" +
               (links > 1 ? std::to_string(links) + " hard links" : std::string("a mount shows it elsewhere too")) +
               "). The log of its latest changes is kept beside the name it is opened by, in " + file +
               "-wal, where opening it by another name would miss them or write over them. It is opened read-only: "
               "copy it to a file of its own and correct that copy.";
    }
    if (!unwritableLog.empty()) {
        note += std::string(note.empty() ? "" : " ") + "The database " + path + " is opened read-only: its log file " +
                unwritableLog + " cannot be written by you. It goes once a user who can write it opens and "
                "closes the database.";
    }
    return note;
}

DbFile examineDbFile(const std::string& path)
{
    DbFile db;
    db.file = resolvedPath(path);
    const std::string folder = std::filesystem::path(db.file).parent_path().string();
    struct stat named {};
    if (::stat(db.file.c_str(), &named) == 0) {
        db.kind = kindOf(named.st_mode);
        db.links = named.st_nlink;
        db.mountedElsewhere = db.kind == DbFile::Kind::Regular && mountedAsFile(named);
    } else if (errno != ENOENT && errno != ENOTDIR) {
        db.unreachable = errno;  // the file may well be there
    }
    struct statfs fs {};
    if (::statfs(db.kind == DbFile::Kind::Missing ? folder.c_str() : db.file.c_str(), &fs) == 0)
        for (const auto type : kEmulatedFlock)
            db.emulatedFlock = db.emulatedFlock || fs.f_type == type;
    db.fileWritable = db.kind == DbFile::Kind::Regular && writable(db.file);
    db.folderWritable = writable(folder);
    for (const char* suffix : {"-wal", "-shm"}) {
        struct stat log {};
        const std::string name = db.file + suffix;
        if (db.unwritableLog.empty() && ::lstat(name.c_str(), &log) == 0 && !writable(name))
            db.unwritableLog = name;
    }
    return db;
}

bool isFileOrMissing(const DbFile& db, const std::string& path, const std::string& procedure,
                     platform::Report& report)
{
    if (db.unreachable != 0)
        return refuse(db::kErrCantOpen,
                      "The database " + path + " cannot be reached (" + std::strerror(db.unreachable) + ").", procedure,
                      report);
    const char* what = db.otherKind();
    return !what ||
           refuse(db::kErrCantOpen, "The database " + path + " is " + what + ", not a database file.", procedure, report);
}

bool lockTheFile(const DbFile& db, const std::string& path, db::FileLock& lock, const std::string& procedure,
                 platform::Report& report)
{
    if (!db.lockTheFile())
        return true;
    switch (lock.acquireFile(db.file)) {
    case db::FileLock::Outcome::Held:
        return true;
    case db::FileLock::Outcome::Busy:
        return refuseBusy(path, procedure, report);
    case db::FileLock::Outcome::CannotOpen:
    case db::FileLock::Outcome::ReadOnlyFolder:  // never for a file itself
    case db::FileLock::Outcome::Unheld:
        break;
    case db::FileLock::Outcome::Failed:
        return refuse(db::kErrCantOpen,
                      "The database " + db.file + " cannot be locked (" + std::strerror(errno) +
                          "). Without a lock, another instance of the program could change it at the same time, "
                          "so it is not opened.",
                      procedure, report);
    }
    return refuse(db::kErrCantOpen, path + ": " + std::strerror(errno), procedure, report);
}

bool lockDB(const DbFile& db, const std::string& path, DbLock& lock, const std::string& procedure,
            platform::Report& report, LockFor purpose)
{
    if (!isFileOrMissing(db, path, procedure, report))
        return false;
    const std::string lockFile = db.lockFile();
    // Whoever may write the database may lock it; a database an import is still making has none.
    const std::string like = db.kind == DbFile::Kind::Regular ? db.file : std::string();
    db::FileLock::Outcome outcome = lock.name.acquire(lockFile, like);
    if (outcome == db::FileLock::Outcome::Unheld)
        outcome = lock.name.takeOver(like);  // a leftover, taken as a local disk lets it be taken
    switch (outcome) {
    case db::FileLock::Outcome::Held:
    case db::FileLock::Outcome::ReadOnlyFolder:
        break;
    case db::FileLock::Outcome::Busy:
        return refuseBusy(path, procedure, report);
    case db::FileLock::Outcome::CannotOpen: {
        const std::string why = unopenableLock(lockFile, path, errno);
        if (purpose == LockFor::Replacing)
            return refuse(db::kErrCantOpen, why, procedure, report);
        // Nobody can hold the database against this instance's reads.
        lock.readOnlyNote = readOnlyUntilDeleted(why, lockFile);
        break;
    }
    case db::FileLock::Outcome::Unheld: {
        // Held shared, it keeps every other instance out; this one may only read.
        const std::string why = "The lock file " + lockFile +
                                " is left over: no instance of the program holds it, but you may only read it, "
                                "and its network folder locks a file only for those who may write it; nor can "
                                "you remove it (" + std::strerror(errno) + ").";
        if (purpose == LockFor::Replacing) {
            lock.name.release();
            return refuse(db::kErrCantOpen,
                          why + " If nobody has the database open, deleting " + lockFile + " lets it be replaced.",
                          procedure, report);
        }
        if (db.writable())
            lock.readOnlyNote = readOnlyUntilDeleted(why, lockFile);
        break;
    }
    case db::FileLock::Outcome::Failed:
        return refuse(db::kErrCantOpen,
                      "The lock file " + lockFile + " cannot be locked (" + std::strerror(errno) +
                          "). Without a lock, another instance of the program could change the database " + path +
                          " at the same time, so it is not opened.",
                      procedure, report);
    }
    if (lockTheFile(db, path, lock.file, procedure, report))
        return true;
    lock.name.release();
    lock.readOnlyNote.clear();
    return false;
}

bool lockDB(const std::string& path, DbLock& lock, const std::string& procedure, platform::Report& report,
            LockFor purpose)
{
    return lockDB(examineDbFile(path), path, lock, procedure, report, purpose);
}

}  // namespace database
