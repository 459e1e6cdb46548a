#pragma once

#include <string>
#include <sys/types.h>

namespace db {

/// Gives the open file `fd` the permission bits of the file `like`, with `kept` added, and its
/// group where this user may set it (its owner too for root), as the engine gives its log those
/// of the database: whoever may write the one may write the other. Nothing when `like` is "" or
/// not there.
void takeAccessOf(int fd, const std::string& like, mode_t kept = 0);

// An advisory lock (flock) on a file: a lock file of its own, made when missing and removed when
// the lock is let go, or an existing file itself. Instances of the program that lock the same
// file exclude each other; so do two locks taken in one process. Move-only.
class FileLock {
public:
    enum class Outcome { Held, Busy, ReadOnlyFolder, CannotOpen, Failed, Unheld };

    FileLock() = default;
    ~FileLock();
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    /// Takes the lock on the lock file `path` without waiting, a file made here taking the
    /// access of the file `like` (takeAccessOf): Busy when another holds it, ReadOnlyFolder when
    /// the file is missing and cannot be made there (read-only folder or media), CannotOpen when
    /// it is there but cannot be opened (another user's), Failed when the file system keeps no
    /// locks or on any other error (errno tells which). Unheld when it is there and nobody holds
    /// it, but it opens only for reading where flock is a byte-range lock (NFS, SMB), whose
    /// exclusive kind needs a descriptor open for writing: it is then held shared, which keeps
    /// out whoever else would lock it, and takeOver may replace it.
    Outcome acquire(const std::string& path, const std::string& like = {});
    /// After Unheld: removes the lock file nobody holds and takes a lock file of its own there,
    /// one instance of the program at a time (through "<path>-takeover", made and removed as
    /// a lock file). Unheld, still held shared, when this user cannot remove it (errno tells why);
    /// otherwise as acquire.
    Outcome takeOver(const std::string& like);
    /// Takes the lock on the existing file at `path` itself, which is neither made nor removed;
    /// CannotOpen when it cannot be opened for reading. Its descriptor stays open until release,
    /// which must come after everything else in the process has closed the file: closing a
    /// descriptor of a file drops the process's record locks on it. A file this process holds
    /// already is Busy without a second descriptor.
    Outcome acquireFile(const std::string& path);
    bool held() const { return m_fd >= 0; }
    /// Held shared only (after Unheld): another instance is kept out, but this one must not write.
    bool shared() const { return m_fd >= 0 && m_shared; }
    /// Lets the lock go, removing a lock file of its own; nothing when none is held.
    void release() noexcept;

private:
    enum class Kind { LockFile, TheFile };
    Outcome lock(int fd, const std::string& path, Kind kind);

    int m_fd = -1;
    bool m_own = false;     // a lock file of its own, removed when let go
    bool m_shared = false;  // a lock file nobody held, held shared and left where it is
    std::string m_path;
    dev_t m_dev = 0;
    ino_t m_ino = 0;
};

}  // namespace db
