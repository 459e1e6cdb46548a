#include "NoticeTextFile.h"

#include "platform/TextCodec.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>
#include <filesystem>

namespace notice {

bool NoticeTextFile::open(const std::string& path, std::string& error)
{
    close();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "Cannot open " + path + ": it is a folder";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "Cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    // Read in one go into room of the file's size.
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    std::string bytes(size > 0 ? std::size_t(size) : 0, '\0');
    in.read(bytes.data(), std::streamsize(bytes.size()));
    if (size < 0 || in.bad() || in.gcount() != std::streamsize(bytes.size())) {
        error = "Cannot read " + path;
        return false;
    }
    m_bytes = std::move(bytes);
    start();
    return true;
}

void NoticeTextFile::openBytes(std::string bytes)
{
    close();
    m_bytes = std::move(bytes);
    start();
}

void NoticeTextFile::start()
{
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    m_pos = m_bytes.starts_with(kBom) ? kBom.size() : 0;
    const std::string_view rest = std::string_view(m_bytes).substr(m_pos);
    m_utf8 = m_pos > 0 ? platform::isValidUtf8(rest)
                       : platform::hasHighBytes(rest) && platform::isValidUtf8(rest);
    m_open = true;
    m_exhausted = false;
}

void NoticeTextFile::close()
{
    m_bytes.clear();
    m_bytes.shrink_to_fit();
    m_pos = 0;
    m_open = false;
    m_exhausted = false;
}

std::string NoticeTextFile::readTxtLine()
{
    if (atEnd()) {
        m_exhausted = true;
        return {};
    }
    std::size_t stop = m_pos;
    while (stop < m_bytes.size() && m_bytes[stop] != '\n' && m_bytes[stop] != '\r')
        ++stop;
    const std::string_view raw = std::string_view(m_bytes).substr(m_pos, stop - m_pos);
    m_pos = stop;
    if (m_pos < m_bytes.size()) {
        if (m_bytes[m_pos] == '\r' && m_pos + 1 < m_bytes.size() && m_bytes[m_pos + 1] == '\n')
            m_pos += 2;
        else
            m_pos += 1;
    }
    const std::size_t first = raw.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::string_view line = raw.substr(first, raw.find_last_not_of(' ') - first + 1);
    // Only a line with bytes above 127 needs decoding.
    return m_utf8 || !platform::hasHighBytes(line) ? std::string(line) : platform::cp1252ToUtf8(line);
}

}  // namespace notice
