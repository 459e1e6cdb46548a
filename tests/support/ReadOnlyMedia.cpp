#include "ReadOnlyMedia.h"

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace testing_support {

ReadOnlyMedia::ReadOnlyMedia()
{
    const auto target = m_dir.path() / "media";
    std::filesystem::create_directory(target);
    if (::mount("tmpfs", target.c_str(), "tmpfs", 0, "size=8m") != 0)
        m_why = std::string("cannot mount a file system here: ") + std::strerror(errno);
    else
        m_path = target;
}

ReadOnlyMedia::~ReadOnlyMedia()
{
    if (!m_path.empty())
        ::umount2(m_path.c_str(), MNT_DETACH);
}

bool ReadOnlyMedia::makeReadOnly()
{
    if (m_path.empty())
        return false;
    if (::mount(nullptr, m_path.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0)
        return true;
    m_why = std::string("cannot make the file system read-only: ") + std::strerror(errno);
    return false;
}

}  // namespace testing_support
