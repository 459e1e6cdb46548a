#include "NoticeTextFile.h"

#include "FieldUtils.h"
#include "platform/TextCodec.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
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
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        error = "Cannot read " + path;
        return false;
    }
    m_bytes = std::move(content).str();
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
    const std::size_t end = m_bytes.find_first_of("\r\n", m_pos);
    const std::size_t stop = end == std::string::npos ? m_bytes.size() : end;
    const std::string_view raw = std::string_view(m_bytes).substr(m_pos, stop - m_pos);
    m_pos = stop;
    if (m_pos < m_bytes.size()) {
        if (m_bytes[m_pos] == '\r' && m_pos + 1 < m_bytes.size() && m_bytes[m_pos + 1] == '\n')
            m_pos += 2;
        else
            m_pos += 1;
    }
    return trimValue(m_utf8 ? std::string(raw) : platform::cp1252ToUtf8(raw));
}

}  // namespace notice
