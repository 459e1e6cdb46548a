#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace notice {

// The electronic notice file open for reading, line by line. The whole file is read at
// open; each line is decoded to UTF-8 as it is handed out.
class NoticeTextFile {
public:
    /// Opens a file; false with a message in `error` when it cannot be read.
    [[nodiscard]] bool open(const std::string& path, std::string& error);
    /// Opens bytes held in memory, as if they were a file.
    void openBytes(std::string bytes);
    void close();
    bool isOpen() const { return m_open; }

    /// The next line without leading and trailing blanks; "" once no line is left. A line
    /// ends at CR, CR LF or LF.
    std::string readTxtLine();
    /// True when no line is left to read.
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    /// True when the last readTxtLine found no line left.
    bool exhausted() const { return m_exhausted; }

private:
    void start();

    std::string m_bytes;
    std::size_t m_pos = 0;
    bool m_utf8 = false;
    bool m_open = false;
    bool m_exhausted = false;
};

}  // namespace notice
