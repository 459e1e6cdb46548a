#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace notice {

// An electronic notice file being written: Windows-1252 text with CR LF line ends. The text
// goes to a temporary file beside the target, which replaces the target only on commit, so
// an export that stops half-way leaves any earlier file as it was.
class NoticeFileOutput {
public:
    NoticeFileOutput() = default;
    ~NoticeFileOutput();
    NoticeFileOutput(const NoticeFileOutput&) = delete;
    NoticeFileOutput& operator=(const NoticeFileOutput&) = delete;

    /// Starts writing `path`; false with a message when the folder cannot take the file.
    [[nodiscard]] bool open(const std::string& path, std::string& error);
    /// Writes the text and a CR LF. Characters outside Windows-1252 become "?".
    void writeLine(const std::string& text);
    /// Puts the complete file in place; false with a message when it cannot. Without
    /// `replace`, a file that stands at the path by then is kept and the commit fails with
    /// `taken` set, so that another name can be tried with `retarget`.
    [[nodiscard]] bool commit(std::string& error, bool replace = true, bool* taken = nullptr);
    const std::string& path() const { return m_path; }
    /// The path the file will be put at.
    void retarget(const std::string& path) { m_path = path; }
    /// Drops what was written; the target stays as it was.
    void abandon();

    /// Characters written as "?" so far.
    std::size_t replaced() const { return m_replaced; }

private:
    std::FILE* m_file = nullptr;
    std::string m_path;
    std::string m_temp;
    std::size_t m_replaced = 0;
    bool m_failed = false;
};

}  // namespace notice
