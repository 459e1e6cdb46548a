#include "NoticeTextFile.h"

#include "platform/AsciiCase.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace notice {
bool NoticeTextFile::open(const std::string& path, std::string& error)
{
    close();
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "Cannot open " + path + ": it is a folder";
        return false;
    }
    m_in.reset(std::fopen(path.c_str(), "rb"));
    if (!m_in) {
        error = "Cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    m_buffer.resize(kPieceBytes);
    const bool exported = platform::equalsNoCase(std::filesystem::path(path).extension().string(), kExportExtension);
    start(exported ? Coding::Cp1252 : Coding::Undecided);
    if (m_failed) {
        error = "Cannot read " + path;
        close();
        return false;
    }
    return true;
}

void NoticeTextFile::openBytes(std::string_view bytes)
{
    close();
    m_buffer.assign(bytes.begin(), bytes.end());
    m_end = bytes.size();
    start(Coding::Undecided);
}

// `unmarked`: the coding of a file without a byte-order mark; with one, its bytes decide.
void NoticeTextFile::start(Coding unmarked)
{
    m_open = true;
    while (m_end < 3 && fill()) {
    }
    constexpr std::string_view kBom = "\xEF\xBB\xBF";
    if (std::string_view(m_buffer.data(), m_end).starts_with(kBom))
        m_pos = kBom.size();
    else
        m_coding = unmarked;
    if (m_pos == m_end)
        fill();
}

void NoticeTextFile::close()
{
    m_in.reset();
    m_buffer = {};
    m_pos = m_end = 0;
    m_coding = Coding::Undecided;
    m_open = m_exhausted = m_failed = false;
}

// Keeps the unread bytes at the front and reads the next piece behind them; false when
// nothing more came.
bool NoticeTextFile::fill()
{
    if (!m_in)
        return false;
    if (m_pos > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_pos, m_end - m_pos);
        m_end -= m_pos;
        m_pos = 0;
    }
    if (m_buffer.size() - m_end < kPieceBytes / 2)  // a line longer than the room left
        m_buffer.resize(m_buffer.size() + kPieceBytes);
    const std::size_t got = std::fread(m_buffer.data() + m_end, 1, m_buffer.size() - m_end, m_in.get());
    m_end += got;
    if (got == 0) {
        m_failed = std::ferror(m_in.get()) != 0;
        m_in.reset();
    }
    return got > 0;
}

// Whether the bytes from `from` to the end of the file are valid UTF-8. The file is read on
// from where the buffer ends and put back there.
bool NoticeTextFile::restIsUtf8(std::size_t from)
{
    std::string piece(m_buffer.data() + from, m_end - from);
    std::size_t cut = 0;
    if (!platform::isValidUtf8Piece(piece, cut))
        return false;
    std::fpos_t resume;
    if (!m_in || std::fgetpos(m_in.get(), &resume) != 0)
        return cut == 0;
    bool valid = true;
    std::vector<char> more(kPieceBytes);
    for (;;) {
        piece.erase(0, piece.size() - cut);
        const std::size_t got = std::fread(more.data(), 1, more.size(), m_in.get());
        if (got == 0)
            break;
        piece.append(more.data(), got);
        if (!platform::isValidUtf8Piece(piece, cut)) {
            valid = false;
            break;
        }
    }
    valid = valid && cut == 0;
    std::clearerr(m_in.get());
    if (std::fsetpos(m_in.get(), &resume) != 0) {
        m_failed = true;
        m_in.reset();
    }
    return valid;
}

std::string NoticeTextFile::readTxtLine()
{
    std::string line;
    readTxtLine(line);
    return line;
}

void NoticeTextFile::readTxtLine(std::string& line)
{
    line.clear();
    if (atEnd()) {
        m_exhausted = true;
        return;
    }
    std::size_t length = 0;  // from m_pos, which a fill moves; a long line is scanned once
    for (;;) {
        const char* const bytes = m_buffer.data();
        std::size_t stop = m_pos + length;
        while (stop < m_end && bytes[stop] != '\n' && bytes[stop] != '\r')
            ++stop;
        length = stop - m_pos;
        // The line must end inside the buffer, and a CR must show whether an LF follows it.
        if ((stop < m_end && (bytes[stop] == '\n' || stop + 1 < m_end)) || !fill())
            break;
    }
    const char* const bytes = m_buffer.data();
    const std::size_t stop = m_pos + length;
    std::size_t first = m_pos;
    std::size_t last = stop;
    while (first < last && bytes[first] == ' ')
        ++first;
    while (last > first && bytes[last - 1] == ' ')
        --last;
    const std::string_view text(bytes + first, last - first);
    // Only a line with bytes above 127 needs decoding; the first such line tells whether the
    // file is UTF-8, as every byte before it is ASCII.
    if (!platform::hasHighBytes(text)) {
        line.assign(text);
    } else {
        if (m_coding == Coding::Undecided)
            m_coding = restIsUtf8(m_pos) ? Coding::Utf8 : Coding::Cp1252;
        if (m_coding == Coding::Utf8)
            line.assign(text);
        else
            line = platform::cp1252ToUtf8(text);
    }
    m_pos = stop;
    if (m_pos < m_end)
        m_pos += bytes[m_pos] == '\r' && m_pos + 1 < m_end && bytes[m_pos + 1] == '\n' ? 2 : 1;
    if (m_pos == m_end)
        fill();
}

}  // namespace notice
