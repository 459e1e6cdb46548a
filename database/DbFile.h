#pragma once

#include "database/sqlite/FileLock.h"

#include <cstdint>
#include <string>

namespace platform { class Report; }

// What a database file is, asked before anything opens it, and the locks that hold it.
namespace database {

/// The file that `path` names, whatever path leads to it: symbolic links (to the file or to a
/// folder above it) and a relative spelling resolved. For a file that does not exist yet, its
/// folder resolved and its name.
std::string resolvedPath(const std::string& path);

/// A database file as this user finds it: what kind of file it is, how many names it has, the
/// file system under it and what of it can be written.
struct DbFile {
    enum class Kind { Missing, Regular, Folder, Fifo, Device, Socket };

    std::string file;               // the file the path leads to
    Kind kind = Kind::Missing;
    std::uint64_t links = 0;        // its hard links
    bool mountedElsewhere = false;  // a bind mount shows it under another name too
    bool emulatedFlock = false;     // NFS or SMB, where flock is a byte-range lock on the whole file
    bool fileWritable = false;      // by this user; read-only media count as not
    bool folderWritable = false;    // the engine makes its log there
    std::string unwritableLog;      // its "-wal" or "-shm", there and not writable by this user
    int unreachable = 0;            // why the path leads to no file that can be asked (errno): a
                                    // folder above it this user cannot search, a name too long

    /// "<file>-lock", the lock file beside it.
    std::string lockFile() const { return file + "-lock"; }
    /// What it is when it is there but no file to open ("a FIFO"); nullptr otherwise.
    const char* otherKind() const;
    /// Whether the file has a name besides the one it was asked by.
    bool hasOtherNames() const { return links > 1 || mountedElsewhere; }
    /// Whether its own lock is taken: a regular file on a file system that keeps flock apart
    /// from the engine's byte-range locks.
    bool lockTheFile() const { return kind == Kind::Regular && !emulatedFlock; }
    /// Whether this user can write it, its folder and its log, and it has one name.
    bool writable() const { return fileWritable && folderWritable && unwritableLog.empty() && !hasOtherNames(); }
    /// Why it opens read-only where the file and its folder can be written, for the user asking
    /// by `path`: more than one name, or a log this user cannot write; "" otherwise.
    std::string readOnlyNote(const std::string& path) const;
};

/// Asks the file `path` leads to what it is; never opens it.
DbFile examineDbFile(const std::string& path);

// What holds a database for this instance of the program: a lock file beside it, which holds
// its name also while an import replaces the file, and the file itself, which holds it under
// every name a hard link gives it.
struct DbLock {
    db::FileLock name;
    db::FileLock file;
    std::string readOnlyNote;  // why it may be read but not written, the lock file being out of reach
};

/// What the locks are taken for: to replace the database (an import) or to open it.
enum class LockFor { Replacing, Opening };

/// Locks the database at `path` (which need not exist yet) for this instance of the program:
/// the lock file "<file>-lock" beside the file `path` resolves to, made with the database's
/// permission bits and group so that whoever may write the one may lock the other, and the file
/// when it exists and its file system keeps flock apart. A path that is there but no regular
/// file (a FIFO, a device, a folder) or that cannot be followed, a database another instance
/// holds, and a lock file that cannot be locked (a file system without locks) are refused
/// through reportErr titled with the procedure, naming it; false. A lock file that cannot be
/// opened (another user's, a dangling link) is refused too when replacing; when opening, the
/// database may still be read and the lock's readOnlyNote says why it cannot be written. A lock
/// file nobody holds that this user may only read, where flock is a byte-range lock (NFS, SMB),
/// is taken over where this user may remove it; else it is held shared, which keeps every other
/// instance out: replacing is refused, and opening reads the database, the readOnlyNote naming
/// the lock file where the database could otherwise be written. Where no lock file can be made
/// (a read-only folder) nobody can replace the database: true with the file's lock alone.
[[nodiscard]] bool lockDB(const std::string& path, DbLock& lock, const std::string& procedure,
                          platform::Report& report, LockFor purpose = LockFor::Replacing);
/// The same for a file already asked.
[[nodiscard]] bool lockDB(const DbFile& db, const std::string& path, DbLock& lock, const std::string& procedure,
                          platform::Report& report, LockFor purpose);

/// Whether the database at `path` is a regular file or none; a FIFO, a device or a folder is
/// refused through reportErr titled with the procedure, naming what it is, and a path that
/// cannot be followed with the system's reason.
[[nodiscard]] bool isFileOrMissing(const DbFile& db, const std::string& path, const std::string& procedure,
                                   platform::Report& report);

/// Takes the lock of the existing database file itself, which `path` names, where its file
/// system keeps flock apart; a file another instance holds is refused as by lockDB.
[[nodiscard]] bool lockTheFile(const DbFile& db, const std::string& path, db::FileLock& lock,
                               const std::string& procedure, platform::Report& report);

}  // namespace database
