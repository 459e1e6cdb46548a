#include "FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace db {
namespace {

// The existing files this process holds locks on, by device and inode.
std::mutex s_heldMutex;
std::set<std::pair<dev_t, ino_t>> s_heldFiles;

// Whether another process holds a lock on the open file that an exclusive lock on the whole of it
// would meet, which is seen where flock is a byte-range lock: EWOULDBLOCK when one does, 0 when
// none does, else the system's reason for not telling.
int lockedByAnother(int fd)
{
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;  // from the start to the end, however it grows
    if (::fcntl(fd, F_GETLK, &probe) != 0)
        return errno;
    return probe.l_type == F_UNLCK ? 0 : EWOULDBLOCK;
}

}  // namespace

void takeAccessOf(int fd, const std::string& like, mode_t kept)
{
    struct stat from {};
    if (like.empty() || ::stat(like.c_str(), &from) != 0)
        return;
    if (::fchown(fd, ::geteuid() == 0 ? from.st_uid : uid_t(-1), from.st_gid) != 0) {
        // a group this user is no member of: the file keeps the user's own
    }
    ::fchmod(fd, (from.st_mode & 0777) | kept);  // the file's owner may always
}

FileLock::~FileLock()
{
    release();
}

FileLock::FileLock(FileLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_own(other.m_own), m_shared(other.m_shared),
      m_path(std::move(other.m_path)), m_dev(other.m_dev), m_ino(other.m_ino)
{
}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        release();
        m_fd = std::exchange(other.m_fd, -1);
        m_own = other.m_own;
        m_shared = other.m_shared;
        m_path = std::move(other.m_path);
        m_dev = other.m_dev;
        m_ino = other.m_ino;
    }
    return *this;
}

FileLock::Outcome FileLock::acquire(const std::string& path, const std::string& like)
{
    release();
    // A holder removes the file as it lets go: a lock won on a file no longer at the path
    // excludes nobody, so it is taken again on the file that is there now.
    for (int tries = 0; tries < 8; ++tries) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        const bool made = fd >= 0;
        if (made)
            takeAccessOf(fd, like);
        if (!made && errno == EEXIST)
            fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) {
            const int cannotMake = errno;
            fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);  // one left where nothing can be made
            if (fd < 0) {
                struct stat there {};
                const bool exists = ::lstat(path.c_str(), &there) == 0;
                errno = exists ? errno : cannotMake;
                if (exists)
                    return Outcome::CannotOpen;
                return cannotMake == EACCES || cannotMake == EROFS || cannotMake == EPERM ? Outcome::ReadOnlyFolder
                                                                                          : Outcome::Failed;
            }
        }
        const Outcome outcome = lock(fd, path, Kind::LockFile);
        if (outcome == Outcome::Failed && made && errno != ESTALE) {
            const int e = errno;
            ::unlink(path.c_str());  // a lock file that locks nothing is not left behind
            errno = e;
        }
        if (outcome != Outcome::Failed || errno != ESTALE)
            return outcome;
    }
    errno = EAGAIN;
    return Outcome::Failed;
}

FileLock::Outcome FileLock::takeOver(const std::string& like)
{
    if (!shared()) {
        errno = EINVAL;
        return Outcome::Failed;
    }
    const std::string path = m_path;
    // Takers remove the file one at a time: another could remove the file a taker has just made.
    FileLock guard;
    const Outcome guarded = guard.acquire(path + "-takeover", like);
    int e = errno;
    if (guarded != Outcome::Held) {
        guard.release();
        if (guarded == Outcome::Busy)
            release();
        errno = e;
        return guarded == Outcome::Busy ? Outcome::Busy : Outcome::Unheld;
    }
    // Held shared here, it can be held by nobody else; an instance holding it shared meanwhile
    // (reading the database) keeps it.
    Outcome outcome = Outcome::Unheld;
    struct stat named {};
    if (const int others = lockedByAnother(m_fd); others != 0) {
        release();
        outcome = others == EWOULDBLOCK ? Outcome::Busy : Outcome::Failed;
        e = others;
    } else if (::stat(path.c_str(), &named) == 0 && (named.st_dev != m_dev || named.st_ino != m_ino)) {
        outcome = acquire(path, like);  // another file took its place
        e = errno;
    } else if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        e = errno;  // still held shared
    } else {
        release();
        outcome = acquire(path, like);
        e = errno;
    }
    guard.release();
    errno = e;
    return outcome;
}

FileLock::Outcome FileLock::acquireFile(const std::string& path)
{
    release();
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0)
        return Outcome::CannotOpen;
    {
        const std::lock_guard guard(s_heldMutex);
        if (s_heldFiles.count({named.st_dev, named.st_ino})) {
            errno = EWOULDBLOCK;
            return Outcome::Busy;
        }
    }
    // Never waits for a writer, as a FIFO would.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return Outcome::CannotOpen;
    return lock(fd, path, Kind::TheFile);
}

// Locks the open file `fd` and keeps it when it is still the file at `path`; Failed with ESTALE
// when another file has taken its place.
FileLock::Outcome FileLock::lock(int fd, const std::string& path, Kind kind)
{
    bool shared = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int e = errno;
        // Where flock is a byte-range lock, an exclusive one needs a descriptor open for writing;
        // a shared one tells a lock file another holds from one nobody holds.
        if (e == EBADF && kind == Kind::LockFile && (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY) {
            shared = ::flock(fd, LOCK_SH | LOCK_NB) == 0;
            e = shared ? lockedByAnother(fd) : errno;
        }
        if (e != 0) {
            ::close(fd);
            errno = e;
            return e == EWOULDBLOCK ? Outcome::Busy : Outcome::Failed;
        }
    }
    struct stat locked {}, named {};
    if (::fstat(fd, &locked) != 0 || ::stat(path.c_str(), &named) != 0 || locked.st_dev != named.st_dev ||
        locked.st_ino != named.st_ino) {
        ::close(fd);
        errno = ESTALE;
        return Outcome::Failed;
    }
    if (kind == Kind::TheFile) {
        const std::lock_guard guard(s_heldMutex);
        s_heldFiles.insert({locked.st_dev, locked.st_ino});
    }
    m_fd = fd;
    m_own = kind == Kind::LockFile && !shared;
    m_shared = shared;
    m_path = path;
    m_dev = locked.st_dev;
    m_ino = locked.st_ino;
    return shared ? Outcome::Unheld : Outcome::Held;
}

void FileLock::release() noexcept
{
    if (m_fd < 0)
        return;
    if (m_own) {
        ::unlink(m_path.c_str());  // while still held, so nobody locks the file being removed
    } else if (!m_shared) {
        const std::lock_guard guard(s_heldMutex);
        s_heldFiles.erase({m_dev, m_ino});
    }
    ::close(m_fd);
    m_fd = -1;
    m_shared = false;
    m_path.clear();
}

}  // namespace db
