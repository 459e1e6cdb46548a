#include "FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace db {

FileLock::~FileLock()
{
    release();
}

FileLock::FileLock(FileLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path))
{
}

FileLock& FileLock::operator=(FileLock&& other) noexcept
{
    if (this != &other) {
        release();
        m_fd = std::exchange(other.m_fd, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

FileLock::Outcome FileLock::acquire(const std::string& path)
{
    release();
    // A holder removes the file as it lets go: a lock won on a file no longer at the path
    // excludes nobody, so it is taken again on the file that is there now.
    for (int tries = 0; tries < 8; ++tries) {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            const int made = errno;
            fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);  // one left where nothing can be made
            if (fd < 0) {
                errno = made;
                return made == EACCES || made == EROFS || made == EPERM ? Outcome::ReadOnlyFolder : Outcome::Failed;
            }
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int e = errno;
            ::close(fd);
            errno = e;
            return e == EWOULDBLOCK ? Outcome::Busy : Outcome::Failed;
        }
        struct stat locked {}, named {};
        if (::fstat(fd, &locked) == 0 && ::stat(path.c_str(), &named) == 0 && locked.st_dev == named.st_dev &&
            locked.st_ino == named.st_ino) {
            m_fd = fd;
            m_path = path;
            return Outcome::Held;
        }
        ::close(fd);
    }
    errno = EAGAIN;
    return Outcome::Failed;
}

void FileLock::release() noexcept
{
    if (m_fd < 0)
        return;
    ::unlink(m_path.c_str());  // while still held, so nobody locks the file being removed
    ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

}  // namespace db
