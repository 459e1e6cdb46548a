#include "NetworkFolder.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <string>
#include <sys/file.h>
#include <sys/statfs.h>
#include <unistd.h>

// The test program's own statfs and flock come before the C library's for every caller in it,
// the code under test included; they hand everything outside the folder on to the next ones.
namespace {

std::string s_folder;  // with a trailing "/"; "" when none acts as NFS

bool under(const std::string& path)
{
    return !s_folder.empty() && path.compare(0, s_folder.size(), s_folder) == 0;
}

std::string pathOf(int fd)
{
    char link[64], target[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, target, sizeof target - 1);
    return n > 0 ? std::string(target, std::size_t(n)) : std::string();
}

template <class F>
F next(const char* name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" int statfs(const char* path, struct statfs* buf)
{
    static const auto real = next<int (*)(const char*, struct statfs*)>("statfs");
    const int rc = real(path, buf);
    if (rc == 0 && under(path))
        buf->f_type = NFS_SUPER_MAGIC;
    return rc;
}

extern "C" int fstatfs(int fd, struct statfs* buf)
{
    static const auto real = next<int (*)(int, struct statfs*)>("fstatfs");
    const int rc = real(fd, buf);
    if (rc == 0 && under(pathOf(fd)))
        buf->f_type = NFS_SUPER_MAGIC;
    return rc;
}

extern "C" int flock(int fd, int operation)
{
    static const auto real = next<int (*)(int, int)>("flock");
    if (!under(pathOf(fd)))
        return real(fd, operation);
    // As the NFS client does it: a POSIX lock on the whole file, of the kind the descriptor allows.
    const int access = ::fcntl(fd, F_GETFL) & O_ACCMODE;
    struct flock range {};
    range.l_whence = SEEK_SET;
    switch (operation & ~LOCK_NB) {
    case LOCK_EX:
        if (access == O_RDONLY) {
            errno = EBADF;
            return -1;
        }
        range.l_type = F_WRLCK;
        break;
    case LOCK_SH:
        range.l_type = F_RDLCK;
        break;
    default:
        range.l_type = F_UNLCK;
        break;
    }
    if (::fcntl(fd, (operation & LOCK_NB) ? F_SETLK : F_SETLKW, &range) == 0)
        return 0;
    if (errno == EACCES || errno == EAGAIN)
        errno = EWOULDBLOCK;
    return -1;
}

namespace testing_support {

NetworkFolder::NetworkFolder(const std::filesystem::path& folder)
{
    s_folder = std::filesystem::weakly_canonical(folder).string() + "/";
}

NetworkFolder::~NetworkFolder()
{
    s_folder.clear();
}

}  // namespace testing_support
