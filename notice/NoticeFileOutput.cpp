#include "NoticeFileOutput.h"

#include "platform/TextCodec.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace notice {

NoticeFileOutput::~NoticeFileOutput()
{
    abandon();
}

bool NoticeFileOutput::open(const std::string& path, std::string& error)
{
    abandon();
    m_path = path;
    m_temp = path + ".partXXXXXX";
    const int fd = mkstemp(m_temp.data());
    if (fd >= 0)
        ::fchmod(fd, 0644);  // as an ordinary file, not the private mode of a temporary one
    if (fd < 0 || !(m_file = fdopen(fd, "wb"))) {
        error = "Cannot write " + path + ": " + std::strerror(errno);
        if (fd >= 0)
            ::close(fd);
        m_temp.clear();
        return false;
    }
    m_replaced = 0;
    m_failed = false;
    return true;
}

void NoticeFileOutput::writeLine(const std::string& text)
{
    if (!m_file)
        return;
    std::size_t replaced = 0;
    const std::string bytes = platform::utf8ToCp1252(text, &replaced) + "\r\n";
    m_replaced += replaced;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
        m_failed = true;
}

bool NoticeFileOutput::commit(std::string& error, bool replace, bool* taken)
{
    if (taken)
        *taken = false;
    if (!m_file && m_temp.empty()) {
        error = "Nothing to write";
        return false;
    }
    if (m_file) {
        const bool written = !m_failed && std::fflush(m_file) == 0 && ::fsync(fileno(m_file)) == 0;
        const int err = errno;
        const bool closed = std::fclose(m_file) == 0;
        m_file = nullptr;
        if (!written || !closed) {
            error = "Cannot write " + m_path + ": " + std::strerror(written ? errno : err);
            abandon();
            return false;
        }
    }
    // A new file is linked into place, which fails rather than replace one that appeared.
    const bool placed = replace ? std::rename(m_temp.c_str(), m_path.c_str()) == 0
                                : ::link(m_temp.c_str(), m_path.c_str()) == 0 && ::unlink(m_temp.c_str()) == 0;
    if (!placed) {
        const int err = errno;
        error = "Cannot write " + m_path + ": " + std::strerror(err);
        if (err == EEXIST && taken) {
            *taken = true;  // the written file stays, for another name
            return false;
        }
        abandon();
        return false;
    }
    m_temp.clear();
    return true;
}

void NoticeFileOutput::abandon()
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    if (!m_temp.empty()) {
        std::remove(m_temp.c_str());
        m_temp.clear();
    }
}

}  // namespace notice
