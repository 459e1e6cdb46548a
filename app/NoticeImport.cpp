#include "NoticeImport.h"

#include "database/DbConnection.h"
#include "database/Lookups.h"
#include "database/NoticeStore.h"
#include "notice/FieldUtils.h"
#include "notice/NoticeFileOutput.h"
#include "notice/NoticeFileReader.h"
#include "notice/NoticeRules.h"
#include "platform/Prompter.h"
#include "platform/Report.h"
#include "platform/SystemInfo.h"

#include <chrono>
#include <system_error>

namespace app {
namespace {

namespace fs = std::filesystem;
using database::Lookup;

constexpr int kErrFileNotFound = 53;

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

bool sameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

// The duplicate report, written only when it has something to say.
class Report {
public:
    explicit Report(notice::NoticeFileOutput& out) : m_out(out) {}
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
    Batch(db::Connection& conn, Report& report, std::chrono::milliseconds time)
        : m_conn(conn), m_report(report), m_time(time)
    {
    }
    ~Batch() { commit(); }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

    // Before a notice is stored; without a batch (it cannot begin) each notice commits alone.
    void open()
    {
        if (!m_open && !m_conn.inTransaction() && m_conn.exec("BEGIN")) {
            m_open = true;
            m_started = std::chrono::steady_clock::now();
        }
    }
    // After notice `n` was stored into the batch.
    void stored(const std::string& n)
    {
        if (!m_open)
            return;
        if (m_count == 0)
            m_first = n;
        m_last = n;
        if (++m_count >= kBatchNotices || std::chrono::steady_clock::now() - m_started >= m_time)
            commit();
    }
    // A batch the engine rolled back on a failure, or that cannot commit, is reported lost.
    void commit()
    {
        if (!m_open)
            return;
        m_open = false;
        const bool lost = !m_conn.inTransaction() || !m_conn.exec("COMMIT");
        if (lost && m_count > 0) {
            m_lost += m_count;
            m_reason = m_conn.lastError().message;
            m_report.line(fileNotice(m_first) + " to " + m_last + " - not stored (" + m_reason + ")");
            m_report.line(" ");
        }
        if (m_conn.inTransaction())
            (void)m_conn.exec("ROLLBACK");
        m_count = 0;
    }
    // Notices that were stored into a batch that could not commit, and the engine's reason.
    int lost() const { return m_lost; }
    const std::string& reason() const { return m_reason; }

private:
    db::Connection& m_conn;
    Report& m_report;
    std::chrono::milliseconds m_time;
    bool m_open = false;
    int m_count = 0;
    int m_lost = 0;
    std::string m_reason;
    std::string m_first, m_last;  // the notices stored since the last commit
    std::chrono::steady_clock::time_point m_started;
};

// Stores a notice into the batch; what storing has to say is shown once the batch is committed.
// A contour notice may ask about an existing contour, so it is stored on its own.
bool storeInBatch(const notice::NoticeRecord& rec, const std::string& n, Batch& batch, db::Connection& conn,
                  database::ContourOutcome& contour, platform::Prompter& prompter)
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

// `read` holds the file's first notice, already read into the state's record. Returns how many
// notices the database could not store.
int readTxtFileToDB(notice::NoticeFileReader& reader, notice::NoticeRead read, AppState& state, StatusLine& status,
                    platform::Prompter& prompter, const ImportOptions& options)
{
    const std::string keptStatus = status.status();
    state.overwrittenContourKey = 0;
    const platform::DateTime started = platform::now();
    const std::string reportName = duplicateReportName(state.dbFileName, started);
    notice::NoticeFileOutput out;
    std::string error;
    const bool reportOpen = out.open(reportName, error);
    if (!reportOpen)
        prompter.message(error, platform::kAppTitle, platform::Icon::Warning);
    Report report(out);
    out.writeLine("The report of duplicate notices in " + state.dbFileName);
    out.writeLine("with " + options.caption);
    const std::string user = notice::getWinUserName();
    out.writeLine("On " + platform::shortDate(started) + " -  " + platform::shortTime(started) + " by " + user);
    out.writeLine(" ");

    notice::NoticeRecord& rec = state.ntcRecord;
    const std::string today = platform::shortDate(started);
    std::size_t headReported = 0;
    Batch batch(state.dbConnection, report, options.batchTime);
    int notices = 0;
    int failed = 0;  // notices the engine refused one by one
    std::string failure;
    const auto refused = [&](bool stored) {
        if (!stored) {
            ++failed;
            failure = state.dbConnection.lastError().message;
        }
        return stored;
    };
    for (bool more = true; more; more = reader.readNextNotice(rec, read)) {
        ++notices;
        rec.src_update = user;
        rec.d_updated = today;
        const std::string n = std::to_string(read.number);
        status.setStatus(keptStatus + "Notice no : " + n);
        if (reader.headReport().size() > headReported) {
            report.refusals(reader.headReport().substr(headReported));
            headReported = reader.headReport().size();
        }
        report.refusals(read.report);
        if (!read.complete) {
            report.line(fileNotice(n) + " - is incomplete and was not stored");
            report.line(" ");
            continue;
        }

        std::int32_t found = 0;
        const Lookup lookup = lookUpDuplicate(rec, found, state.dbConnection);
        database::ContourOutcome contour{0, state.overwrittenContourKey};
        if (lookup != Lookup::Found) {
            const std::string checkError = lookup == Lookup::Failed ? state.dbConnection.lastError().message : "";
            const bool stored = refused(storeInBatch(rec, n, batch, state.dbConnection, contour, prompter));
            state.overwrittenContourKey = contour.overwrittenContourKey;
            if (lookup == Lookup::Failed) {
                report.line(fileNotice(n) + " - the duplicate check failed (" + checkError + "); " +
                            (stored ? "stored without it" : "not stored"));
                report.line(" ");
            } else if (!stored) {
                report.line(fileNotice(n) + " - not stored");
                report.line(" ");
            } else if (lookup == Lookup::NotChecked) {
                report.line(fileNotice(n) + " - the duplicate check could not be made");
                report.line(" ");
            } else if (notice::isContour(rec.notice_typ) && contour.status != 1) {
                report.line("zel_contour_id = " + rec.zel.contour.contour_id + " - is repeated ");
                report.line(fileNotice(n));
                if (contour.status == 2)
                    report.line("In Sub Area database : RecordIndex : " + printed(state.overwrittenContourKey) +
                                " Contour ID has been overwritten");
                report.line(" ");
            }
            continue;
        }

        const bool byPlace = notice::isAnalogue(rec.notice_typ);
        std::int32_t lastKey = 0;
        const bool lastKnown = byPlace || database::getLastTerraKey(state.dbConnection, lastKey) == Lookup::Found;
        const std::string question =
            byPlace ? "Notice " + n + " - Notice " + std::to_string(found) +
                          ": have the same Freq, Adm and Coord. Do you still want to save it?"
                    : "Notice No " + n + ": have the same AdminRefID, Adm. Do you still want to save it?";
        batch.commit();
        const bool save = prompter.askYesNo(question, "DataBase : Error");
        if (byPlace) {
            report.line("Notice " + n + " - Notice " + std::to_string(found) + " have the same Freq, Adm and Coord.");
        } else {
            report.line("t_adm_ref_id = " + rec.adm_ref_id + " - is repeated");
            report.line(fileNotice(n));
        }
        if (!save) {
            if (!byPlace)
                report.line(" ");
            continue;
        }
        const bool stored = refused(storeInBatch(rec, n, batch, state.dbConnection, contour, prompter));
        if (!byPlace)
            report.line("In Assign/Allot database : RecordIndex : " +
                        (lastKnown ? printed(std::int64_t(lastKey) + 1) : std::string(" ? ")) +
                        " and RecordIndex : " + printed(found) + (stored ? "" : " - not stored"));
        else if (!stored)
            report.line(fileNotice(n) + " - not stored");
        report.line(" ");
    }
    batch.commit();
    const int notStored = failed + batch.lost();
    if (notStored > 0)
        prompter.message(std::to_string(notStored) + " of the " + std::to_string(notices) +
                             " notices of the file were not stored in " + state.dbFileName + ": " +
                             (batch.lost() > 0 ? batch.reason() : failure),
                         platform::kAppTitle, platform::Icon::Warning);
    if (reader.headReport().size() > headReported)
        report.refusals(reader.headReport().substr(headReported));
    if (reader.readFailed())
        prompter.message("The notice file could not be read to its end after line " +
                             std::to_string(reader.lineNo()) + ": the notices after it were not stored.",
                         platform::kAppTitle, platform::Icon::Warning);
    reader.close();

    // A report that appeared under the chosen name meanwhile is kept: the next free name is taken.
    bool taken = false;
    bool committed = reportOpen && report.written() && out.commit(error, false, &taken);
    for (int tries = 0; !committed && taken && tries < 100; ++tries) {
        out.retarget(duplicateReportName(state.dbFileName, started));
        committed = out.commit(error, false, &taken);
    }
    if (committed) {
        showInNotepad(out.path(), "The duplicate report cannot be shown, but is available on ", prompter);
    } else {
        if (reportOpen && report.written())
            prompter.message(error, platform::kAppTitle, platform::Icon::Warning);
        out.abandon();
    }
    return notStored;
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
    database::closeDB(state.dbConnection);
    state.ntcIndexList.clear();
    state.ntcCount = 0;

    std::error_code ec;
    if (!fs::is_regular_file(options.templateFile, ec)) {
        prompter.message("Error " + std::to_string(kErrFileNotFound) + " : \n\rMasterKOLV_TPR.mdb file not found",
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
    if (platform::fileExists(dbName) &&
        !prompter.askYesNo("The database " + dbName + " already exists. Do you want to replace it?",
                           platform::kAppTitle, platform::Prompter::Default::No))
        return {};

    state.dbFileName = dbName;
    status.setStatus("Creating database structure");
    if (!database::copyTemplateDB(dbName, prompter.report(), options.templateFile))
        return {};
    status.setStatus("Reading and writing to the database");
    if (!database::OpenDB(dbName, state.dbConnection, prompter.report()))
        return {};
    return {true, readTxtFileToDB(reader, first, state, status, prompter, options)};
}

}  // namespace app
