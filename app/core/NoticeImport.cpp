#include "app/core/NoticeImport.h"

#include "database/DbConnection.h"
#include "database/Lookups.h"
#include "database/NoticeStore.h"
#include "notice/ErrorNumbers.h"
#include "notice/FieldUtils.h"
#include "notice/NoticeFileOutput.h"
#include "notice/NoticeFileReader.h"
#include "notice/NoticeRules.h"
#include "platform/Prompter.h"
#include "platform/Report.h"
#include "platform/SystemInfo.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <system_error>
#include <utility>
#include <vector>

namespace app {
namespace {

namespace fs = std::filesystem;
using database::Lookup;

// A number as a text file prints it: a blank (or the sign) before, one blank after.
std::string printed(std::int64_t n)
{
    return (n < 0 ? "" : " ") + std::to_string(n) + " ";
}

// How the report names notice `n` of the notice file.
std::string fileNotice(const std::string& n)
{
    return "Input text file : Notice No : " + n;
}

// Notice numbers in increasing order, runs of three or more shortened: "3, 7 to 12, 14, 15".
std::string numberRuns(std::vector<std::int32_t> numbers)
{
    std::sort(numbers.begin(), numbers.end());
    std::string text;
    for (std::size_t first = 0; first < numbers.size();) {
        std::size_t last = first;
        while (last + 1 < numbers.size() && numbers[last + 1] == numbers[last] + 1)
            ++last;
        text += (text.empty() ? "" : ", ") + std::to_string(numbers[first]);
        if (last > first)
            text += (last - first >= 2 ? " to " : ", ") + std::to_string(numbers[last]);
        first = last + 1;
    }
    return text;
}

bool sameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

// The duplicate report, written only when it has something to say.
class DuplicateReport {
public:
    explicit DuplicateReport(notice::NoticeFileOutput& out) : m_out(out) {}
    void line(const std::string& text)
    {
        m_out.writeLine(text);
        m_written = true;
    }
    // A reader's refusals: one line per entry.
    void refusals(const std::string& entries)
    {
        std::size_t start = 0;
        while (start < entries.size()) {
            std::size_t end = entries.find("\r\n", start);
            if (end == std::string::npos)
                end = entries.size();
            const std::string text = notice::trimValue(entries.substr(start, end - start));
            if (!text.empty())
                line(text);
            start = end + 2;
        }
    }
    bool written() const { return m_written; }

private:
    notice::NoticeFileOutput& m_out;
    bool m_written = false;
};

// Notices are stored in savepoints of their own inside one transaction, committed every
// kBatchNotices notices or batch time and before the user is asked or told anything: a kill
// loses at most the notices since the last commit, each whole or absent.
constexpr int kBatchNotices = 500;

class Batch {
public:
    Batch(db::Connection& conn, DuplicateReport& report, std::chrono::milliseconds time)
        : m_conn(conn), m_report(report), m_time(time)
    {
    }
    ~Batch() { commit(); }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    // Before a notice is stored; without a batch (it cannot begin) each notice commits alone.
    void open()
    {
        if (!m_open && !m_conn.inTransaction() && m_conn.exec(db::kBeginWrite)) {
            m_open = true;
            m_started = std::chrono::steady_clock::now();
        }
    }
    // After notice `n` of the file was stored into the batch.
    void stored(std::int32_t n)
    {
        if (!m_open)
            return;
        m_held.push_back(n);
        if (int(m_held.size()) >= kBatchNotices || std::chrono::steady_clock::now() - m_started >= m_time)
            commit();
    }
    // A batch the engine rolled back on a failure, or that cannot commit, is reported lost.
    void commit()
    {
        if (!m_open)
            return;
        m_open = false;
        const bool lost = !m_conn.inTransaction() || !m_conn.exec("COMMIT");
        if (lost && !m_held.empty()) {
            m_lost.insert(m_lost.end(), m_held.begin(), m_held.end());
            m_reason = m_conn.lastError().message;
            m_report.line(fileNotice(std::to_string(m_held.front())) + " to " + std::to_string(m_held.back()) +
                          " - not stored (" + m_reason + ")");
            m_report.line(" ");
        }
        if (m_conn.inTransaction())
            (void)m_conn.exec("ROLLBACK");
        m_held.clear();
    }
    // The numbers in the file of the notices stored into batches that could not commit, and the
    // engine's reason.
    const std::vector<std::int32_t>& lost() const { return m_lost; }
    const std::string& reason() const { return m_reason; }

private:
    db::Connection& m_conn;
    DuplicateReport& m_report;
    std::chrono::milliseconds m_time;
    bool m_open = false;
    std::vector<std::int32_t> m_held;  // the notices stored since the last commit
    std::vector<std::int32_t> m_lost;
    std::string m_reason;
    std::chrono::steady_clock::time_point m_started;
};

// Whether the program is being ended, by the import's options.
bool endedBy(const ImportOptions& options)
{
    return options.ended && options.ended();
}

// Stores a notice into the batch; what storing has to say is shown once the batch is committed,
// unless the program is being ended by then. A contour notice may ask about an existing contour,
// so it is stored on its own.
bool storeInBatch(const notice::NoticeRecord& rec, std::int32_t n, Batch& batch, db::Connection& conn,
                  database::ContourOutcome& contour, platform::Prompter& prompter, const ImportOptions& options)
{
    if (notice::isContour(rec.notice_typ))
        batch.commit();
    else
        batch.open();
    platform::Report held(nullptr, [&prompter](const std::string& text, const std::string& title) {
        return prompter.askYesNo(text, title);
    });
    const bool stored = database::storeNtc(rec, conn, contour, false, held);
    if (stored)
        batch.stored(n);
    if (!held.messages().empty())
        batch.commit();
    if (endedBy(options))
        return stored;
    for (const platform::Message& m : held.messages())
        prompter.report().message(m.text, m.title, m.icon, m.number);
    return stored;
}

// The duplicate look-up of one notice by its type.
Lookup lookUpDuplicate(const notice::NoticeRecord& rec, std::int32_t& found, db::Connection& conn)
{
    const std::string& type = rec.notice_typ;
    if (notice::isAnalogue(type))
        return database::findSameFreqCoordAdm(rec.freq_assgn, rec.long_deg, rec.long_min, rec.long_sec, rec.long_ew,
                                              rec.lat_deg, rec.lat_min, rec.lat_sec, rec.lat_ns, rec.adm, found,
                                              conn);
    if (notice::carriesTarget(type)) {
        const notice::TargetRef& t = rec.target;
        return database::findSameFreqCoordAdm(t.freq_assgn, t.long_deg, t.long_min, t.long_sec, t.long_ew,
                                              t.lat_deg, t.lat_min, t.lat_sec, t.lat_ns, rec.adm, found, conn);
    }
    if (notice::isDigital(type))
        return database::findSameAdmRefId(rec.adm_ref_id, rec.adm, found, conn);
    return Lookup::NotFound;
}

// The question asked before a duplicate is stored.
std::string duplicateQuestion(const std::string& n, std::int32_t found, bool byPlace)
{
    return byPlace ? "Notice " + n + " - Notice " + std::to_string(found) +
                         ": have the same Freq, Adm and Coord. Do you still want to save it?"
                   : "Notice No " + n + ": have the same AdminRefID, Adm. Do you still want to save it?";
}

// One import of a notice file into the open database: its duplicate report, its batch and what
// it counts.
class FileImport {
public:
    FileImport(notice::NoticeFileReader& reader, AppState& state, StatusLine& status, platform::Prompter& prompter,
               const ImportOptions& options)
        : m_reader(reader), m_state(state), m_status(status), m_prompter(prompter), m_options(options),
          m_keptStatus(status.status())
    {
    }

    // `read` holds the file's first notice, already read into the state's record. Says how many
    // notices the database could not store, and whether the import was stopped.
    ImportResult run(notice::NoticeRead read)
    {
        m_state.overwrittenContourKey = 0;
        m_started = platform::now();
        openReport();
        m_today = platform::shortDate(m_started);
        for (bool more = true; more && !m_stopAt; more = m_reader.readNextNotice(m_state.ntcRecord, read)) {
            if (endedBy(m_options))
                m_stopAt = read.number;
            else
                importNotice(read);
        }
        m_batch.commit();
        ImportResult result;
        result.opened = true;
        result.notStored = m_stopAt ? int(notStoredNumbers().size()) : tellNotStored();
        reportHeadRefusals();
        if (m_stopAt) {
            result.stopped = stoppedText();
            m_report.line(result.stopped);
        } else {
            tellReadFailure();
        }
        m_reader.close();
        finishReport(!m_stopAt);
        return result;
    }

private:
    // Opens the duplicate report under a new name and writes its heading.
    void openReport()
    {
        std::string error;
        m_reportOpen = m_out.open(duplicateReportName(m_state.dbFileName, m_started), error);
        if (!m_reportOpen)
            m_prompter.message(error, platform::kAppTitle, platform::Icon::Warning);
        m_out.writeLine("The report of duplicate notices in " + m_state.dbFileName);
        m_out.writeLine("with " + m_options.caption);
        m_user = notice::getWinUserName();
        m_out.writeLine("On " + platform::shortDate(m_started) + " -  " + platform::shortTime(m_started) + " by " +
                        m_user);
        m_out.writeLine(" ");
    }

    void importNotice(const notice::NoticeRead& read)
    {
        notice::NoticeRecord& rec = m_state.ntcRecord;
        ++m_notices;
        rec.src_update = m_user;
        rec.d_updated = m_today;
        m_number = read.number;
        const std::string n = std::to_string(read.number);
        m_status.setStatus(m_keptStatus + "Notice no : " + n);
        reportHeadRefusals();
        m_report.refusals(read.report);
        if (!read.complete) {
            m_report.line(fileNotice(n) + " - is incomplete and was not stored");
            m_report.line(" ");
            return;
        }
        std::int32_t found = 0;
        const Lookup lookup = lookUpDuplicate(rec, found, m_state.dbConnection);
        if (lookup == Lookup::Found)
            storeDuplicate(n, found);
        else
            storeUnique(n, lookup);
    }

    // What the reader refused in the HEAD section since the last call.
    void reportHeadRefusals()
    {
        if (m_reader.headReport().size() > m_headReported) {
            m_report.refusals(m_reader.headReport().substr(m_headReported));
            m_headReported = m_reader.headReport().size();
        }
    }

    // Stores the record; a notice the engine refuses is kept with the engine's reason.
    bool store(database::ContourOutcome& contour)
    {
        const bool stored =
            storeInBatch(m_state.ntcRecord, m_number, m_batch, m_state.dbConnection, contour, m_prompter, m_options);
        if (!stored) {
            m_failed.push_back(m_number);
            m_failure = m_state.dbConnection.lastError().message;
        }
        return stored;
    }

    // A notice without a duplicate, or whose look-up could not be made.
    void storeUnique(const std::string& n, Lookup lookup)
    {
        database::ContourOutcome contour{0, m_state.overwrittenContourKey};
        const std::string checkError = lookup == Lookup::Failed ? m_state.dbConnection.lastError().message : "";
        const bool stored = store(contour);
        m_state.overwrittenContourKey = contour.overwrittenContourKey;
        if (lookup == Lookup::Failed) {
            m_report.line(fileNotice(n) + " - the duplicate check failed (" + checkError + "); " +
                          (stored ? "stored without it" : "not stored"));
            m_report.line(" ");
        } else if (!stored) {
            m_report.line(fileNotice(n) + " - not stored");
            m_report.line(" ");
        } else if (lookup == Lookup::NotChecked) {
            m_report.line(fileNotice(n) + " - the duplicate check could not be made");
            m_report.line(" ");
        } else if (notice::isContour(m_state.ntcRecord.notice_typ) && contour.status != 1) {
            reportRepeatedContour(n, contour.status);
        }
    }

    void reportRepeatedContour(const std::string& n, int status)
    {
        m_report.line("zel_contour_id = " + m_state.ntcRecord.zel.contour.contour_id + " - is repeated ");
        m_report.line(fileNotice(n));
        if (status == 2)
            m_report.line("In Sub Area database : RecordIndex : " + printed(m_state.overwrittenContourKey) +
                          " Contour ID has been overwritten");
        m_report.line(" ");
    }

    // A notice that repeats stored notice `found`: stored only when the user says so.
    void storeDuplicate(const std::string& n, std::int32_t found)
    {
        const notice::NoticeRecord& rec = m_state.ntcRecord;
        const bool byPlace = notice::isAnalogue(rec.notice_typ);
        std::int32_t lastKey = 0;
        const bool lastKnown = byPlace || database::getLastTerraKey(m_state.dbConnection, lastKey) == Lookup::Found;
        m_batch.commit();
        const bool save = m_prompter.askYesNo(duplicateQuestion(n, found, byPlace), "DataBase : Error");
        if (endedBy(m_options)) {  // not the user's answer: the question was closed
            m_stopAt = m_number;
            return;
        }
        if (byPlace) {
            m_report.line("Notice " + n + " - Notice " + std::to_string(found) + " have the same Freq, Adm and Coord.");
        } else {
            m_report.line("t_adm_ref_id = " + rec.adm_ref_id + " - is repeated");
            m_report.line(fileNotice(n));
        }
        if (!save) {
            if (!byPlace)
                m_report.line(" ");
            return;
        }
        database::ContourOutcome contour{0, m_state.overwrittenContourKey};
        const bool stored = store(contour);
        if (!byPlace)
            m_report.line("In Assign/Allot database : RecordIndex : " +
                          (lastKnown ? printed(std::int64_t(lastKey) + 1) : std::string(" ? ")) +
                          " and RecordIndex : " + printed(found) + (stored ? "" : " - not stored"));
        else if (!stored)
            m_report.line(fileNotice(n) + " - not stored");
        m_report.line(" ");
    }

    // The notices not stored, by their number in the file.
    std::vector<std::int32_t> notStoredNumbers() const
    {
        std::vector<std::int32_t> notStored = m_failed;
        notStored.insert(notStored.end(), m_batch.lost().begin(), m_batch.lost().end());
        return notStored;
    }

    // What a stopped import says in its report and on leaving.
    std::string stoppedText() const
    {
        const std::vector<std::int32_t> notStored = notStoredNumbers();
        return "The import into " + m_state.dbFileName +
               " was stopped because the program was ended: the notices of the file from No " +
               std::to_string(m_stopAt) + " on were not stored" +
               (notStored.empty() ? std::string() : ", nor were notices " + numberRuns(notStored)) + ".";
    }

    // How many notices were not stored, and which, by their number in the file.
    int tellNotStored()
    {
        const std::vector<std::int32_t> notStored = notStoredNumbers();
        if (!notStored.empty())
            m_prompter.message(std::to_string(notStored.size()) + " of the " + std::to_string(m_notices) +
                                   " notices of the file were not stored in " + m_state.dbFileName + ": " +
                                   (m_batch.lost().empty() ? m_failure : m_batch.reason()) +
                                   ". Notices not stored, by their number in the file: " + numberRuns(notStored) +
                                   ".",
                               platform::kAppTitle, platform::Icon::Warning);
        return int(notStored.size());
    }

    void tellReadFailure()
    {
        if (m_reader.readFailed())
            m_prompter.message("The notice file could not be read to its end after line " +
                                   std::to_string(m_reader.lineNo()) + ": the notices after it were not stored.",
                               platform::kAppTitle, platform::Icon::Warning);
    }

    // Commits a report that has something to say and shows it when `show`. A report that
    // appeared under the chosen name meanwhile is kept: the next free name is taken.
    void finishReport(bool show)
    {
        std::string error;
        bool taken = false;
        bool committed = m_reportOpen && m_report.written() && m_out.commit(error, false, &taken);
        for (int tries = 0; !committed && taken && tries < 100; ++tries) {
            m_out.retarget(duplicateReportName(m_state.dbFileName, m_started));
            committed = m_out.commit(error, false, &taken);
        }
        if (committed) {
            if (show)
                showInNotepad(m_out.path(), "The duplicate report cannot be shown, but is available on ", m_prompter);
        } else {
            if (show && m_reportOpen && m_report.written())
                m_prompter.message(error, platform::kAppTitle, platform::Icon::Warning);
            m_out.abandon();
        }
    }

    notice::NoticeFileReader& m_reader;
    AppState& m_state;
    StatusLine& m_status;
    platform::Prompter& m_prompter;
    const ImportOptions& m_options;
    const std::string m_keptStatus;
    platform::DateTime m_started{};
    std::string m_today;
    std::string m_user;
    notice::NoticeFileOutput m_out;
    bool m_reportOpen = false;
    DuplicateReport m_report{m_out};
    Batch m_batch{m_state.dbConnection, m_report, m_options.batchTime};
    std::size_t m_headReported = 0;
    int m_notices = 0;
    std::int32_t m_number = 0;          // the notice under way, by its number in the file
    std::int32_t m_stopAt = 0;          // the first notice left when the program is ended
    std::vector<std::int32_t> m_failed;  // notices the engine refused one by one
    std::string m_failure;
};

// `read` holds the file's first notice, already read into the state's record.
ImportResult readTxtFileToDB(notice::NoticeFileReader& reader, notice::NoticeRead read, AppState& state, StatusLine& status,
                    platform::Prompter& prompter, const ImportOptions& options)
{
    return FileImport(reader, state, status, prompter, options).run(read);
}

}  // namespace

void showInNotepad(const std::string& file, const std::string& message, platform::Prompter& prompter)
{
    prompter.showTextFile(file, [file, message, &prompter] {
        prompter.message("Cannot find Notepad.exe. " + message + file, "Information", platform::Icon::Information);
    });
}

std::string duplicateReportName(const std::string& database, const platform::DateTime& t)
{
    const std::string stem = fs::path(database).replace_extension().string() + "_duplicat_report_" +
                             std::to_string(t.year) + std::to_string(t.month) + std::to_string(t.day) + "-" +
                             std::to_string(t.hour) + std::to_string(t.minute) + std::to_string(t.second);
    std::string name = stem + ".txt";
    std::error_code ec;
    for (int n = 2; fs::exists(fs::symlink_status(name, ec)); ++n)  // a folder of that name too
        name = stem + "_" + std::to_string(n) + ".txt";
    return name;
}

std::string databaseNameFor(const std::string& textFile)
{
    return fs::path(textFile).replace_extension(".mdb").string();
}

ImportResult importTextFile(const std::string& textFile, AppState& state, StatusLine& status,
                            platform::Prompter& prompter, const ImportOptions& options)
{
    database::closeDB(state.dbConnection, prompter.report());
    state.ntcIndexList.clear();
    state.ntcCount = 0;

    std::error_code ec;
    if (!fs::is_regular_file(options.templateFile, ec)) {
        prompter.message("Error " + std::to_string(notice::kErrFileNotFound) + " : \n\rMasterKOLV_TPR.mdb file not found",
                         platform::kAppTitle, platform::Icon::None);
        return {};
    }
    const std::string dbName = databaseNameFor(textFile);
    if (sameFile(dbName, options.templateFile) || sameFile(dbName, textFile)) {
        prompter.message("The database " + dbName + " cannot be made: it would replace " +
                             (sameFile(dbName, textFile) ? "the notice file itself." : "the template database."),
                         platform::kAppTitle, platform::Icon::Warning);
        return {};
    }

    notice::NoticeFileReader reader;
    std::string error;
    if (!reader.openNtcTxtFile(textFile, state.ntcRecord, error)) {
        prompter.message(error, platform::kAppTitle, platform::Icon::Warning);
        return {};
    }
    // A file without any notice (a wrong file picked) makes no database and replaces none.
    notice::NoticeRead first;
    if (!reader.readNextNotice(state.ntcRecord, first)) {
        prompter.message("No notice was found in " + textFile + ". No database was made.", platform::kAppTitle,
                         platform::Icon::Warning);
        return {};
    }
    // Held from before the question until the new database is open: another instance can
    // neither have it open nor take it meanwhile.
    database::DbLock lock;
    if (!database::lockDB(dbName, lock, "copyTemplateDB", prompter.report()))
        return {};
    if (platform::fileExists(dbName) &&
        !prompter.askYesNo("The database " + dbName + " already exists. Do you want to replace it?",
                           platform::kAppTitle, platform::Prompter::Default::No))
        return {};

    state.dbFileName = dbName;
    status.setStatus("Creating database structure");
    if (!database::copyTemplateDB(dbName, prompter.report(), options.templateFile))
        return {};
    status.setStatus("Reading and writing to the database");
    if (!database::OpenDB(dbName, state.dbConnection, prompter.report(), std::move(lock)))
        return {};
    return readTxtFileToDB(reader, first, state, status, prompter, options);
}

}  // namespace app
