#pragma once

#include "NoticeRecord.h"
#include "NoticeTextFile.h"

#include <cstdint>
#include <string>
#include <string_view>

// Reading an electronic notice file into notice records. Every reader returns a report of
// the lines it refused; the record keeps what was accepted.
namespace notice {

// The reading position that the section readers share.
struct ReadCursor {
    NoticeTextFile& file;
    std::string line;         // the current line; a reader returns on its closing tag
    std::int64_t lineNo = 0;  // lines read so far

    /// Reads the next line, tabs turned into blanks.
    void advance();
    /// True when the last advance found no line left.
    bool atEndOfInput() const { return file.exhausted(); }
};

/// Reads the HEAD section from the current line up to "</HEAD>" into `adm` and the e-mail
/// address; stops early at "<NOTICE>" or the end of input.
std::string readHeadSection(ReadCursor& cur, NoticeRecord& rec, const std::string& prefix);

/// Reads one notice from the current line up to "</NOTICE>", then completes the record.
/// `complete` is false when the notice broke off (end of input, or a new section inside
/// one of its sub-sections); such a notice must not be stored.
std::string readNoticeSection(ReadCursor& cur, NoticeRecord& rec, const std::string& prefix, bool& complete);

std::string readPointSection(ReadCursor& cur, FlaggedPair& point, const std::string& prefix);
std::string readCoordSection(ReadCursor& cur, AdmList& list, const std::string& prefix);
std::string readCoordASection(ReadCursor& cur, AdmList& list, const std::string& prefix);
std::string readCoordOSection(ReadCursor& cur, AdmList& list, const std::string& prefix);
std::string readAntHgtSection(ReadCursor& cur, NoticeRecord& rec, const std::string& prefix);
std::string readAntDiagrHSection(ReadCursor& cur, NoticeRecord& rec, const std::string& prefix);
std::string readAntDiagrVSection(ReadCursor& cur, NoticeRecord& rec, const std::string& prefix);

/// Administrations a "<COORD_A>" or "<COORD_O>" list holds, as the database and forms do.
inline constexpr int kCoordAOLimit = 12;

struct NoticeRead {
    std::int32_t number = 0;  // the notice's place in the file, from 1
    bool complete = false;    // false: broke off, not to be stored
    std::string report;       // refused lines; one blank when none
};

// The walk over a whole file: HEAD sections are taken wherever they stand, everything
// outside HEAD and NOTICE is skipped.
class NoticeFileReader {
public:
    NoticeFileReader() = default;
    NoticeFileReader(const NoticeFileReader&) = delete;  // the cursor refers to this reader's file
    NoticeFileReader& operator=(const NoticeFileReader&) = delete;

    /// Opens the file and empties the record's `adm`; false with a message when it cannot.
    [[nodiscard]] bool openNtcTxtFile(const std::string& path, NoticeRecord& rec, std::string& error);
    /// The same for bytes held in memory.
    void openNtcBytes(std::string_view bytes, NoticeRecord& rec);
    void close();

    /// Reads the next notice into `rec`, reset first (keeping `adm` and the HEAD's e-mail
    /// address); false when the file holds no further notice.
    bool readNextNotice(NoticeRecord& rec, NoticeRead& read);

    /// Refused lines of the HEAD sections read so far.
    const std::string& headReport() const { return m_headReport; }
    std::int64_t lineNo() const { return m_cur.lineNo; }
    /// True when the file could not be read to its end: the notices after were never seen.
    bool readFailed() const { return m_file.readFailed(); }

private:
    void restart(NoticeRecord& rec);

    NoticeTextFile m_file;
    ReadCursor m_cur{m_file, {}, 0};
    std::string m_keptEmail;
    std::string m_headReport;
    std::int32_t m_count = 0;
    bool m_pending = false;  // the current line opens a section and is still to be looked at
};

}  // namespace notice
