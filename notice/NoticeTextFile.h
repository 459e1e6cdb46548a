#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace notice {

/// The extension of the files the export writes, in Windows-1252 without a byte-order mark.
inline constexpr std::string_view kExportExtension = ".upd";

// The electronic notice file open for reading, line by line. The file is read in large
// pieces into one buffer kept for the whole file (fresh memory for a whole large file costs
// more than reading it); a line is decoded to UTF-8 as it is handed out, and only when it
// holds bytes above 127.
class NoticeTextFile {
public:
    /// Bytes read at a time.
    static constexpr std::size_t kPieceBytes = std::size_t(1) << 20;

    /// Opens a file; false with a message in `error` when it cannot be read. An export file
    /// (by its name's own extension, in any case) is Windows-1252 unless it starts with a
    /// UTF-8 byte-order mark; any other file is UTF-8 when its bytes are.
    [[nodiscard]] bool open(const std::string& path, std::string& error);
    /// Opens bytes held in memory, as if they were a file of any other kind.
    void openBytes(std::string_view bytes);
    void close();
    bool isOpen() const { return m_open; }

    /// The next line without leading and trailing blanks; "" once no line is left. A line
    /// ends at CR, CR LF or LF.
    std::string readTxtLine();
    /// The same into `line`, whose room is kept from one line to the next.
    void readTxtLine(std::string& line);
    /// True when no line is left to read.
    bool atEnd() const { return m_pos >= m_end; }
    /// True when the last readTxtLine found no line left.
    bool exhausted() const { return m_exhausted; }
    /// True when the file could not be read to its end; the lines before were handed out.
    bool readFailed() const { return m_failed; }

private:
    enum class Coding { Undecided, Utf8, Cp1252 };

    void start(Coding unmarked);
    bool fill();
    bool restIsUtf8(std::size_t from);

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> m_in{nullptr, &std::fclose};
    std::vector<char> m_buffer;
    std::size_t m_pos = 0;  // the unread bytes are m_buffer[m_pos, m_end)
    std::size_t m_end = 0;
    Coding m_coding = Coding::Undecided;
    bool m_open = false;
    bool m_exhausted = false;
    bool m_failed = false;
};

}  // namespace notice
