#include "SmallFileSystem.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace testing_support {

SmallFileSystem::SmallFileSystem(std::size_t bytes)
{
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    m_mounted = ::mount("tmpfs", m_dir.path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
    if (!m_mounted)
        m_why = std::string("cannot mount a file system here: ") + std::strerror(errno) +
                (::geteuid() != 0 ? " (mounting needs root)" : "");
}

bool SmallFileSystem::makeReadOnly()
{
    if (!m_mounted)
        return false;
    if (::mount(nullptr, m_dir.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0)
        return true;
    m_why = std::string("cannot make the file system read-only: ") + std::strerror(errno);
    return false;
}

SmallFileSystem::~SmallFileSystem()
{
    if (m_mounted)
        ::umount2(m_dir.path().c_str(), MNT_DETACH);
}

std::size_t SmallFileSystem::freeBytes() const
{
    struct statvfs s {};
    if (::statvfs(m_dir.path().c_str(), &s) != 0)
        return 0;
    return std::size_t(s.f_bavail) * s.f_frsize;
}

void SmallFileSystem::leaveFree(std::size_t bytes) const
{
    const int fd = ::open((m_dir.path() / "filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0)
        return;
    // Room beyond what is free comes from the filler.
    struct stat filled {};
    if (const std::size_t free = freeBytes(); free < bytes && ::fstat(fd, &filled) == 0) {
        const std::size_t size = std::size_t(filled.st_size);
        if (::ftruncate(fd, off_t(size > bytes - free ? size - (bytes - free) : 0)) != 0)
            return (void)::close(fd);
    }
    const std::vector<char> block(4096, 'f');
    for (std::size_t free = freeBytes(); free > bytes; free = freeBytes()) {
        const std::size_t n = std::min(block.size(), free - bytes);
        if (::write(fd, block.data(), n) <= 0)
            break;
    }
    ::close(fd);
}

}  // namespace testing_support
