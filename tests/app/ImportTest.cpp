#include "app/core/NoticeImport.h"
#include "database/DbConnection.h"
#include "database/sqlite/Statement.h"
#include "platform/NumberText.h"
#include "platform/SystemInfo.h"
#include "support/ChildProcess.h"
#include "support/ImportFixture.h"
#include "support/NoticeDb.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::ImportFixture;
using testing_support::noticeFile;

namespace {

const std::string kSound = "t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 98.5\nt_long = +0060812\n"
                           "t_lat = +471215\n";
const std::string kSoundAgain = "t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 098.50\nt_long = +0060812\n"
                                "t_lat = +471215\n";
const std::string kTelevision = "t_notice_type = T02\nt_action = ADD\nt_freq_assgn = 479.25\nt_long = +0044900\n"
                                "t_lat = +454500\n";

// The report's lines after its four heading lines.
std::vector<std::string> reportBody(const std::string& report)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = report.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(report.substr(start, end - start));
    EXPECT_EQ(start, report.size()) << "every line ends with CR LF";
    return lines.size() < 4 ? lines : std::vector<std::string>(lines.begin() + 4, lines.end());
}

}  // namespace

TEST(Import, ADuplicateAnsweredNoIsNotStored)
{
    ImportFixture f;
    f.prompter.answers = {false};
    ASSERT_TRUE(f.import("batch.txt", noticeFile({kSound, kTelevision, kSoundAgain})));
    EXPECT_EQ(f.scalar("SELECT group_concat(terrakey) FROM fmtv_terra"), "1,2");
    ASSERT_EQ(f.prompter.questions.size(), 1u);
    EXPECT_EQ(f.prompter.questions[0].text,
              "Notice 3 - Notice 1: have the same Freq, Adm and Coord. Do you still want to save it?");
    EXPECT_EQ(f.prompter.questions[0].title, "DataBase : Error");
    EXPECT_EQ(f.prompter.questions[0].byDefault, platform::Prompter::Default::Yes);

    const auto reports = f.reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reportBody(reports[0]), std::vector<std::string>{"Notice 3 - Notice 1 have the same Freq, Adm and Coord."});
    const std::string db = (f.dir.path() / "batch.mdb").string();
    EXPECT_TRUE(reports[0].starts_with("The report of duplicate notices in " + db + "\r\n"
                                       "with  ZEL Ostrel KOLV Analog Version 1.03 / 02.11.2005\r\nOn "));
    ASSERT_EQ(f.prompter.viewed.size(), 1u);
    EXPECT_NE(f.prompter.viewed[0].find("batch_duplicat_report_"), std::string::npos);
    EXPECT_EQ(f.status.texts.back(), "Reading and writing to the databaseNotice no : 3");
    EXPECT_EQ(f.state.dbFileName, db);
    EXPECT_TRUE(f.state.dbConnection.isOpen());
}

TEST(Import, ADuplicateAnsweredYesIsStoredAndReported)
{
    ImportFixture f;
    f.prompter.answers = {true};
    ASSERT_TRUE(f.import("batch.txt", noticeFile({kSound, kTelevision, kSoundAgain})));
    EXPECT_EQ(f.scalar("SELECT count(*) FROM fmtv_terra"), "3");
    const auto reports = f.reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reportBody(reports[0]),
              (std::vector<std::string>{"Notice 3 - Notice 1 have the same Freq, Adm and Coord.", " "}));
}

TEST(Import, AReferenceDuplicateNamesBothKeys)
{
    const std::string ds1 = "t_notice_type = DS1\nt_action = ADD\nt_adm_ref_id = R1\n";
    const std::string tb5 = "t_notice_type = TB5\nt_action = SUPPRESS\nt_trg_freq_assgn = 98.5\n"
                            "t_trg_long = +0060812\nt_trg_lat = +471215\nt_trg_adm_ref_id = Z\n";
    ImportFixture f;
    f.prompter.answers = {true, false};
    ASSERT_TRUE(f.import("refs.txt", noticeFile({ds1, ds1, kSound, tb5})));
    EXPECT_EQ(f.prompter.questions[0].text, "Notice No 2: have the same AdminRefID, Adm. Do you still want to save it?");
    EXPECT_EQ(f.prompter.questions[1].text, "Notice No 4: have the same AdminRefID, Adm. Do you still want to save it?")
        << "a suppression is looked up by its target";
    EXPECT_EQ(f.scalar("SELECT count(*) FROM fmtv_terra"), "3");
    EXPECT_EQ(reportBody(f.reports().at(0)),
              (std::vector<std::string>{"t_adm_ref_id = R1 - is repeated", "Input text file : Notice No : 2",
                                        "In Assign/Allot database : RecordIndex :  2  and RecordIndex :  1 ", " ",
                                        "t_adm_ref_id = Z - is repeated", "Input text file : Notice No : 4", " "}));
}

TEST(Import, AnOverwrittenContourIsReported)
{
    const std::string contour = "t_notice_type = DA1\nzel_contour_id = 5\nzel_nb_test_pts = 2\n"
                                "<POINT>\nzel_long = +0010000\nzel_lat = +0100\n</POINT>\n"
                                "<POINT>\nzel_long = +0020000\nzel_lat = +0200\n</POINT>\n";
    ImportFixture f;
    f.prompter.answers = {true, false};
    ASSERT_TRUE(f.import("contours.txt", noticeFile({contour, contour, contour})));
    EXPECT_EQ(f.state.overwrittenContourKey, 1);
    EXPECT_EQ(reportBody(f.reports().at(0)),
              (std::vector<std::string>{"zel_contour_id = 5 - is repeated ", "Input text file : Notice No : 2",
                                        "In Sub Area database : RecordIndex :  1  Contour ID has been overwritten",
                                        " ", "zel_contour_id = 5 - is repeated ", "Input text file : Notice No : 3",
                                        " "}));
}

TEST(Import, AFileWithoutDuplicatesOrRefusalsLeavesNoReport)
{
    ImportFixture f;
    ASSERT_TRUE(f.import("clean.txt", noticeFile({kSound, kTelevision})));
    EXPECT_TRUE(f.reports().empty());
    EXPECT_TRUE(f.prompter.viewed.empty());
    EXPECT_TRUE(f.prompter.messages.empty());
    for (const auto& entry : std::filesystem::directory_iterator(f.dir.path()))
        EXPECT_TRUE(entry.path().filename().string().starts_with("clean.")) << entry.path();
}

TEST(Import, RefusedLinesAndCutNoticesAreReported)
{
    ImportFixture f;
    const std::string text = "<HEAD>\nt_adm = F\nt_adm = D\n</HEAD>\n<NOTICE>\n" + kSound + "t_long = +0010203\n" +
                             "</NOTICE>\n<NOTICE>\n" + kTelevision;
    ASSERT_TRUE(f.import("cut.txt", text));
    EXPECT_EQ(f.scalar("SELECT count(*) FROM fmtv_terra"), "1") << "the cut notice is not stored";
    EXPECT_EQ(reportBody(f.reports().at(0)),
              (std::vector<std::string>{": Error : t_adm : Duplicate key",
                                        "Notice No : 1 : Error : t_long : Duplicate key",
                                        "Notice No : 1 : Error : t_long : Duplicate key",
                                        "Notice No : 1 : Error : t_long : Duplicate key",
                                        "Notice No : 1 : Error : t_long : Duplicate key",
                                        "Notice No : 2 : Error : <NOTICE> section not closed at the end of the file",
                                        "Input text file : Notice No : 2 - is incomplete and was not stored", " "}));
    EXPECT_EQ(f.prompter.viewed.size(), 1u);
}

TEST(Import, ANoticeThatCannotBeStoredIsReported)
{
    ImportFixture f;
    const std::string comma = "t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 98,5\n";
    const std::string noPoints = "t_notice_type = DA1\nzel_contour_id = 5\nzel_nb_test_pts = 0\n";
    ASSERT_TRUE(f.import("odd.txt", noticeFile({comma, noPoints, kSound})));
    EXPECT_EQ(f.scalar("SELECT count(*) FROM fmtv_terra"), "1");
    EXPECT_EQ(reportBody(f.reports().at(0)),
              (std::vector<std::string>{"Input text file : Notice No : 1 - not stored", " ",
                                        "Input text file : Notice No : 2 - not stored", " "}));
    ASSERT_GE(f.prompter.messages.size(), 2u);
    EXPECT_EQ(f.prompter.messages[f.prompter.messages.size() - 2].text, "The data was not saved to the database");
    // Said once more, on its own, after the notices: how many were not stored, and why.
    EXPECT_EQ(f.prompter.messages.back().text,
              "2 of the 3 notices of the file were not stored in " + (f.dir.path() / "odd.mdb").string() +
                  ": cannot store TEXT value in REAL column fmtv_terra.freq_assgn. Notices not stored, by their "
                  "number in the file: 1, 2.");
}

TEST(Import, NamesFollowTheChosenFile)
{
    EXPECT_EQ(app::databaseNameFor("/data/v1.2/a.txt"), "/data/v1.2/a.mdb");
    EXPECT_EQ(app::databaseNameFor("/data/v1.2/a.b.upd"), "/data/v1.2/a.b.mdb");
    EXPECT_EQ(app::databaseNameFor("/data/v1.2/notes"), "/data/v1.2/notes.mdb");

    ImportFixture f;
    const platform::DateTime when{2005, 11, 2, 9, 5, 7};
    const std::string db = (f.dir.path() / "a.mdb").string();
    const std::string first = app::duplicateReportName(db, when);
    EXPECT_EQ(first, (f.dir.path() / "a_duplicat_report_2005112-957.txt").string());
    f.dir.write("a_duplicat_report_2005112-957.txt", "kept");
    EXPECT_EQ(app::duplicateReportName(db, when), (f.dir.path() / "a_duplicat_report_2005112-957_2.txt").string());
}

TEST(Import, AnExistingDatabaseIsReplacedOnlyAfterYes)
{
    ImportFixture f;
    const auto db = f.dir.write("batch.mdb", "precious");
    f.prompter.answers = {false};
    EXPECT_FALSE(f.import("batch.txt", noticeFile({kSound})));
    ASSERT_EQ(f.prompter.questions.size(), 1u);
    EXPECT_EQ(f.prompter.questions[0].text,
              "The database " + db.string() + " already exists. Do you want to replace it?");
    EXPECT_EQ(f.prompter.questions[0].byDefault, platform::Prompter::Default::No) << "a stray Return keeps it";
    EXPECT_FALSE(f.state.dbConnection.isOpen());
    std::ifstream in(db);
    std::string kept;
    std::getline(in, kept);
    EXPECT_EQ(kept, "precious");

    f.prompter.answers = {true};
    EXPECT_TRUE(f.import("batch.txt", noticeFile({kSound})));
    EXPECT_EQ(f.scalar("SELECT count(*) FROM fmtv_terra"), "1");
}

TEST(Import, AnotherInstanceNeitherReplacesNorOpensADatabaseThatIsOpen)
{
    ImportFixture f;
    ASSERT_TRUE(f.import("batch.txt", noticeFile({kSound})));
    const std::string text = (f.dir.path() / "batch.txt").string();
    const std::string db = (f.dir.path() / "batch.mdb").string();
    struct stat before {};
    ASSERT_EQ(stat(db.c_str(), &before), 0);
    const std::string bytes = testing_support::readFile(db);

    // Another instance imports the same file again, answering Yes to any question, then opens
    // the database; it writes what it was told and asked.
    const auto other = testing_support::runInChild([&] {
        testing_support::ScriptedPrompter prompter;
        prompter.answers = {true};
        testing_support::RecordingStatus status;
        app::AppState state;
        const bool imported =
            app::importTextFile(text, state, status, prompter, {"", testing_support::templateDb()}).opened;
        const bool opened = database::OpenDB(db, state.dbConnection, prompter.report());
        std::printf("%d %d %zu\n", imported, opened, prompter.questions.size());
        for (const auto& m : prompter.messages)
            std::printf("%s|%s\n", m.title.c_str(), m.text.c_str());
    });
    const std::string refused =
        "Erreur  5:The database " + db + " is open in another instance of the program. Close it there first.";
    EXPECT_EQ(other.output, "0 0 0\ncopyTemplateDB|" + refused + "\nOpenDB|" + refused + "\n");

    struct stat after {};
    ASSERT_EQ(stat(db.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the database was replaced";
    EXPECT_TRUE(testing_support::readFile(db) == bytes) << "the database was changed";
    // This instance's next change is kept.
    ASSERT_TRUE(f.state.dbConnection.exec("UPDATE fmtv_terra SET site_name = 'KEPT'"));
    f.state.dbConnection.close();
    EXPECT_FALSE(std::filesystem::exists(db + "-lock")) << "the lock goes with the connection";
    ASSERT_TRUE(database::OpenDB(db, f.state.dbConnection, f.prompter.report()));
    EXPECT_EQ(f.scalar("SELECT group_concat(site_name) FROM fmtv_terra"), "KEPT");
}

TEST(Import, AFileWithoutNoticesMakesNoDatabaseAndReplacesNone)
{
    ImportFixture f;
    EXPECT_FALSE(f.import("picked.txt", "<HEAD>\nt_adm = F\n</HEAD>\nt_ctry = F\n<notice>\n</NOTICE>\n"));
    ASSERT_EQ(f.prompter.messages.size(), 1u);
    EXPECT_EQ(f.prompter.messages[0].text,
              "No notice was found in " + (f.dir.path() / "picked.txt").string() + ". No database was made.");
    EXPECT_FALSE(std::filesystem::exists(f.dir.path() / "picked.mdb"));
    EXPECT_FALSE(f.state.dbConnection.isOpen());

    const auto kept = f.dir.write("batch.mdb", "precious");
    EXPECT_FALSE(f.import("batch.txt", ""));
    EXPECT_TRUE(f.prompter.questions.empty()) << "nothing to replace it with";
    EXPECT_EQ(testing_support::readFile(kept), "precious");
    EXPECT_TRUE(f.reports().empty());
}

TEST(Import, StopsWithOneMessageBeforeMakingADatabase)
{
    ImportFixture f;
    // No template.
    EXPECT_FALSE(app::importTextFile((f.dir.path() / "x.txt").string(), f.state, f.status, f.prompter,
                                     {"", f.dir.path() / "MasterKOLV_TPR.mdb"}));
    EXPECT_EQ(f.prompter.messages.back().text, "Error 53 : \n\rMasterKOLV_TPR.mdb file not found");
    // No text file.
    EXPECT_FALSE(app::importTextFile((f.dir.path() / "missing.txt").string(), f.state, f.status, f.prompter,
                                     {"", testing_support::templateDb()}));
    EXPECT_NE(f.prompter.messages.back().text.find("missing.txt"), std::string::npos);
    // A file named like the template would replace it.
    const auto copy = f.dir.path() / "MasterKOLV_TPR.mdb";
    std::filesystem::copy_file(testing_support::templateDb(), copy);
    const auto clash = f.dir.write("MasterKOLV_TPR.txt", noticeFile({kSound}));
    EXPECT_FALSE(app::importTextFile(clash.string(), f.state, f.status, f.prompter, {"", copy}));
    EXPECT_NE(f.prompter.messages.back().text.find("the template database"), std::string::npos);
    EXPECT_EQ(f.prompter.messages.size(), 3u);
    EXPECT_TRUE(f.prompter.questions.empty());
    EXPECT_FALSE(std::filesystem::exists(f.dir.path() / "missing.mdb"));
    EXPECT_FALSE(f.state.dbConnection.isOpen());
}

namespace {

constexpr int kKilledNotices = 20000;

// Dies the moment it is told notice `killAt` is read, when it is not 0.
class KillingStatus : public testing_support::RecordingStatus {
public:
    explicit KillingStatus(int killAt) : m_killAt(" : " + std::to_string(killAt)) {}
    void setStatus(const std::string& text) override
    {
        if (m_killAt != " : 0" && text.ends_with(m_killAt))
            raise(SIGKILL);
    }

private:
    std::string m_killAt;
};

// Imports notices of 36 heights and 36 attenuations in a child process that is killed at notice
// `killAt`, or, when 0, from outside once some are stored; notice `duplicateAt` repeats the first
// one's frequency. Checks that the database left holds only whole notices; returns their number.
int importKilled(ImportFixture& f, int killAt, int duplicateAt)
{
    std::string body = "t_notice_type = T02\nt_action = ADD\nt_long = +0044930\nt_lat = +454530\nt_polar = V\n"
                       "<ANT_HGT>\n";
    for (int k = 0; k < 36; ++k)
        body += "t_eff_hgt@azm" + std::to_string(k * 10) + " = 5\n";
    body += "</ANT_HGT>\n<ANT_DIAGR_V>\n";
    for (int k = 0; k < 36; ++k)
        body += "t_attn@azm" + std::to_string(k * 10) + " = 1\n";
    body += "</ANT_DIAGR_V>\n";
    std::string text = "<HEAD>\nt_adm = F\n</HEAD>\n";
    for (int i = 1; i <= kKilledNotices; ++i)
        text += "<NOTICE>\nt_freq_assgn = " + std::to_string(i == duplicateAt ? 100 : 99 + i) + "\n" + body +
                "</NOTICE>\n";
    const auto file = f.dir.write("big" + std::to_string(killAt) + ".txt", text);
    const std::string dbPath = app::databaseNameFor(file.string());

    const pid_t child = fork();
    EXPECT_NE(child, -1);
    if (child == 0) {
        testing_support::ScriptedPrompter quiet;
        quiet.answers = {true};
        KillingStatus status(killAt);
        app::AppState state;
        // Killed at a notice, the batch commits only by count or before a question, however
        // slow the machine; killed at a time, it commits every half second as the program does.
        app::ImportOptions options{"", testing_support::templateDb()};
        if (killAt != 0)
            options.batchTime = std::chrono::hours(1);
        app::importTextFile(file.string(), state, status, quiet, options);
        _exit(0);
    }
    if (killAt == 0) {
        // Let it store some notices, then kill it without warning.
        std::string stored = "0";
        for (int i = 0; i < 600 && (stored == "0" || stored.empty()); ++i) {
            usleep(50000);
            db::Connection probe;
            if (std::filesystem::exists(dbPath) && probe.open(dbPath)) {
                db::Statement st(probe, "SELECT count(*) FROM fmtv_terra");
                stored = st.step() == db::Step::Row ? st.text(0) : "";
            }
        }
        usleep(200000);
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status)) << "the import ended before it was killed";

    EXPECT_TRUE(database::OpenDB(dbPath, f.state.dbConnection, f.prompter.report()));
    EXPECT_EQ(f.scalar("PRAGMA integrity_check"), "ok");
    const int notices = std::stoi(f.scalar("SELECT count(*) FROM fmtv_terra"));
    EXPECT_EQ(f.scalar("SELECT count(*) FROM fmtv_terra t WHERE (SELECT count(*) FROM fmtv_ant_hgt h WHERE "
                       "h.terrakey = t.terrakey) <> 36 OR (SELECT count(*) FROM fmtv_ant_diag d WHERE "
                       "d.terrakey = t.terrakey) <> 36"),
              "0");
    EXPECT_EQ(f.scalar("SELECT count(*) FROM fmtv_ant_hgt"), std::to_string(36 * notices)) << "no stray rows";
    EXPECT_EQ(f.scalar("SELECT terrakey FROM Fmtv_keys"), std::to_string(notices + 1));
    EXPECT_EQ(f.scalar("SELECT count(*) FROM fmtv_terra WHERE terrakey > " + std::to_string(notices)), "0");
    f.state.dbConnection.close();
    return notices;
}

}  // namespace

namespace {

// A copy of the template beside the fixture's files with `sql` run on it.
std::filesystem::path templateWith(ImportFixture& f, const std::string& sql)
{
    const auto copy = f.dir.path() / "template-copy.mdb";
    std::filesystem::copy_file(testing_support::templateDb(), copy);
    db::Connection conn;
    EXPECT_TRUE(conn.open(copy.string()) && conn.exec(sql)) << conn.lastError().message;
    return copy;
}

}  // namespace

TEST(Import, AKilledImportLeavesOnlyWholeNotices)
{
    ImportFixture f;
    const int notices = importKilled(f, 0, 0);
    EXPECT_GT(notices, 0);
    EXPECT_LT(notices, kKilledNotices);

    // The question about notice 301 commits the 300 before it; 301 and the five after it are
    // still uncommitted when the import dies reading the next.
    EXPECT_EQ(importKilled(f, 307, 301), 300);
}

TEST(Import, ANoticeFailingInTheMiddleOfABatchLeavesTheOthersStored)
{
    // A template that refuses one notice when its antenna heights are stored.
    ImportFixture f;
    const auto refusing = templateWith(f, "CREATE TRIGGER refuse BEFORE INSERT ON fmtv_ant_hgt WHEN (SELECT "
                                          "freq_assgn FROM fmtv_terra WHERE terrakey = NEW.terrakey) = 102 BEGIN "
                                          "SELECT RAISE(ABORT, 'refused'); END");
    std::vector<std::string> bodies;
    for (int i = 1; i <= 5; ++i)
        bodies.push_back("t_notice_type = T02\nt_action = ADD\nt_freq_assgn = " + std::to_string(99 + i) +
                         "\nt_long = +0060812\nt_lat = +471215\n<ANT_HGT>\nt_eff_hgt@azm0 = 5\n</ANT_HGT>\n");
    const auto file = f.dir.write("batch.txt", noticeFile(bodies));
    ASSERT_TRUE(app::importTextFile(file.string(), f.state, f.status, f.prompter, {"", refusing}));
    EXPECT_EQ(f.scalar("SELECT group_concat(CAST(freq_assgn AS INTEGER) || ':' || terrakey) FROM fmtv_terra"),
              "100:1,101:2,103:3,104:4");
    EXPECT_EQ(f.scalar("SELECT count(*) FROM fmtv_ant_hgt"), "4");
    EXPECT_EQ(f.scalar("SELECT terrakey FROM Fmtv_keys"), "5");
    EXPECT_EQ(reportBody(f.reports().at(0)),
              (std::vector<std::string>{"Input text file : Notice No : 3 - not stored", " "}));
    ASSERT_GE(f.prompter.messages.size(), 2u);
    EXPECT_EQ(f.prompter.messages[f.prompter.messages.size() - 2].text, "The data was not saved to the database");
    EXPECT_EQ(f.prompter.messages.back().text,
              "1 of the 5 notices of the file were not stored in " + (f.dir.path() / "batch.mdb").string() +
                  ": refused. Notices not stored, by their number in the file: 3.");
}

namespace {

// The numbers a list such as "1, 2, 4 to 7" names.
std::set<int> namedNumbers(const std::string& list)
{
    std::set<int> numbers;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find(", ", start);
        if (end == std::string::npos)
            end = list.size();
        const std::string item = list.substr(start, end - start);
        const std::size_t to = item.find(" to ");
        const auto first = platform::parseInteger(item.substr(0, to));
        const auto last = to == std::string::npos ? first : platform::parseInteger(item.substr(to + 4));
        EXPECT_TRUE(first && last) << "not a number or a range: " << item;
        for (std::int64_t n = first.value_or(0); n <= last.value_or(-1); ++n)
            numbers.insert(int(n));
        start = end + 2;
    }
    return numbers;
}

}  // namespace

TEST(Import, TheClosingMessageNamesEachNoticeNotStored)
{
    // A template that refuses a notice alone, or rolls back the whole batch with it, by its site name.
    ImportFixture f;
    const auto failing = templateWith(f, "CREATE TRIGGER refuse BEFORE INSERT ON fmtv_terra WHEN NEW.site_name = "
                                         "'REFUSED' BEGIN SELECT RAISE(ABORT, 'refused'); END;"
                                         "CREATE TRIGGER undo BEFORE INSERT ON fmtv_terra WHEN NEW.site_name = "
                                         "'UNDONE' BEGIN SELECT RAISE(ROLLBACK, 'undone'); END");
    // The letters of a row: a notice stored, one refused alone, one that rolls back its batch with it.
    const char kept = '.', refused = 'R', undone = 'U';
    struct Row {
        const char* file;  // one letter per notice
        const char* named;
    };
    const Row rows[] = {
        {".R.", "2"},
        {"RR.R..U.R", "1, 2, 4 to 7, 9"},
        {"...U.", "1 to 4"},
        {".U..R..U", "1, 2, 5 to 8"},
    };
    int imports = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        const std::string notices = r.file;
        std::vector<std::string> bodies;
        for (std::size_t i = 0; i < notices.size(); ++i) {
            const char fate = notices[i];
            ASSERT_TRUE(fate == kept || fate == refused || fate == undone);
            bodies.push_back("t_notice_type = T01\nt_action = ADD\nt_freq_assgn = " + std::to_string(101 + i) +
                             "\nt_long = +0060812\nt_lat = +471215\nt_site_name = " +
                             (fate == refused ? "REFUSED" : fate == undone ? "UNDONE" : "KEPT") + "\n");
        }
        const auto file = f.dir.write("batch" + std::to_string(++imports) + ".txt", noticeFile(bodies));
        f.prompter.messages.clear();
        app::ImportOptions options{"", failing};
        options.batchTime = std::chrono::hours(1);  // batches end only where a notice fails
        ASSERT_TRUE(app::importTextFile(file.string(), f.state, f.status, f.prompter, options));

        // The notice i of the file has the frequency 100 + i.
        std::set<int> missing;
        for (int n = 1; n <= int(notices.size()); ++n)
            missing.insert(n);
        db::Statement stored(f.state.dbConnection, "SELECT CAST(freq_assgn AS INTEGER) - 100 FROM fmtv_terra");
        while (stored.step() == db::Step::Row)
            missing.erase(int(platform::parseInteger(stored.text(0)).value_or(0)));

        ASSERT_FALSE(f.prompter.messages.empty());
        const std::string text = f.prompter.messages.back().text;
        EXPECT_TRUE(text.starts_with(std::to_string(missing.size()) + " of the " + std::to_string(notices.size()) +
                                     " notices of the file were not stored in " + f.state.dbFileName + ": "))
            << text;
        const std::string lead = ". Notices not stored, by their number in the file: ";
        const std::size_t at = text.rfind(lead);
        ASSERT_NE(at, std::string::npos) << text;
        ASSERT_TRUE(text.ends_with(".")) << text;
        const std::string list = text.substr(at + lead.size(), text.size() - 1 - at - lead.size());
        EXPECT_EQ(namedNumbers(list), missing) << text;
        EXPECT_EQ(list, r.named);
    }
}

TEST(Import, AFailedDuplicateCheckStoresTheNoticeAndSaysSo)
{
    // A template whose notice table compares the administration by a collation this program
    // does not have: every check fails, while storing still works.
    ImportFixture f;
    const auto broken = f.dir.path() / "broken.mdb";
    std::filesystem::copy_file(testing_support::templateDb(), broken);
    for (const char* sql : {"PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql, "
                            "'COLLATE NOCASE', 'COLLATE legacy') WHERE name = 'fmtv_terra'",
                            "DROP INDEX fmtv_terra_freq_adm; DROP INDEX fmtv_terra_ref_adm"}) {
        db::Connection conn;
        ASSERT_TRUE(conn.open(broken.string()));
        ASSERT_TRUE(conn.exec(sql)) << conn.lastError().message;
    }
    const std::string noSeconds = "t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 98.5\nt_long = +00608\n"
                                  "t_lat = +4712\n";
    const auto file = f.dir.write("odd.txt", noticeFile({noSeconds, noSeconds}));
    ASSERT_TRUE(app::importTextFile(file.string(), f.state, f.status, f.prompter, {"", broken}));
    EXPECT_EQ(f.scalar("SELECT count(*) FROM fmtv_terra"), "2");
    EXPECT_TRUE(f.prompter.questions.empty());
    const auto body = reportBody(f.reports().at(0));
    ASSERT_EQ(body.size(), 4u);
    EXPECT_EQ(body[0], "Input text file : Notice No : 1 - the duplicate check failed (no such collation sequence: "
                       "legacy); stored without it");
}

TEST(Import, ANoticeThatCannotBeCheckedForDuplicatesIsStoredAndNamed)
{
    const std::string noFrequency = "t_notice_type = T01\nt_action = ADD\nt_long = +0060812\nt_lat = +471215\n";
    // The reader refuses the coordinate, which leaves the degrees and minutes empty.
    const std::string letterDegrees = "t_notice_type = T02\nt_action = ADD\nt_freq_assgn = 479.25\n"
                                      "t_long = +0AB4900\nt_lat = +454500\n";
    const std::string letterTargetFrequency = "t_notice_type = TB5\nt_action = MODIFY\nt_freq_assgn = 98.5\n"
                                              "t_trg_freq_assgn = abc\nt_trg_long = +0060812\nt_trg_lat = +471215\n";
    const std::string noTargetPlace = "t_notice_type = TB5\nt_action = SUPPRESS\nt_trg_freq_assgn = 98.5\n"
                                      "t_trg_adm_ref_id = Z\n";
    ImportFixture f;
    f.prompter.answers = {true};
    // Notice 6 repeats notice 2 and notice 7 repeats notice 1.
    ASSERT_TRUE(f.import("unchecked.txt", noticeFile({kSound, noFrequency, letterDegrees, letterTargetFrequency,
                                                      noTargetPlace, noFrequency, kSoundAgain})));
    EXPECT_EQ(f.scalar("SELECT count(*) FROM fmtv_terra"), "7") << "every notice is stored";
    ASSERT_EQ(f.prompter.questions.size(), 1u) << "only a notice that could be checked is asked about";
    EXPECT_EQ(f.prompter.questions[0].text,
              "Notice 7 - Notice 1: have the same Freq, Adm and Coord. Do you still want to save it?");
    EXPECT_EQ(reportBody(f.reports().at(0)),
              (std::vector<std::string>{
                  "Input text file : Notice No : 2 - the duplicate check could not be made", " ",
                  "Notice No : 3 : Error : t_long : Invalid value +0AB4900",
                  "Input text file : Notice No : 3 - the duplicate check could not be made", " ",
                  "Input text file : Notice No : 4 - the duplicate check could not be made", " ",
                  "Input text file : Notice No : 5 - the duplicate check could not be made", " ",
                  "Input text file : Notice No : 6 - the duplicate check could not be made", " ",
                  "Notice 7 - Notice 1 have the same Freq, Adm and Coord.", " "}));
}

TEST(Import, ShowInNotepadOpensTheViewerOrTellsWhereTheFileIs)
{
    testing_support::ScriptedPrompter shown;
    app::showInNotepad("/tmp/dup.txt", "Report in ", shown);
    EXPECT_EQ(shown.viewed, std::vector<std::string>{"/tmp/dup.txt"});
    EXPECT_TRUE(shown.messages.empty());

    testing_support::ScriptedPrompter missing;
    missing.viewerAvailable = false;
    app::showInNotepad("/tmp/dup.txt", "Report in ", missing);
    ASSERT_EQ(missing.messages.size(), 1u);
    EXPECT_EQ(missing.messages[0].text, "Cannot find Notepad.exe. Report in /tmp/dup.txt");
    EXPECT_EQ(missing.messages[0].title, "Information");
    EXPECT_EQ(missing.messages[0].icon, platform::Icon::Information);
}

// The program is ended during an import: it stops before the next notice, or at the question
// it is asking, which was closed without an answer. What it stored stays, the report is whole
// and says which notices were not stored, and nothing more is asked or shown.
TEST(Import, AnImportStopsWhenTheProgramIsEnded)
{
    struct Case {
        const char* name;
        int endAfter;             // the notice under way when the end comes; -1 for the question
        std::int32_t firstLeft;   // the first notice not stored
        const char* stored;       // the keys stored
    };
    const std::vector<std::string> bodies = {kSound, kTelevision, kSoundAgain,
                                             "t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 99.5\n",
                                             "t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 100.5\n"};
    for (const Case& c : {Case{"while a notice is stored", 2, 3, "1,2"}, Case{"before the first", 0, 1, ""},
                          Case{"at the duplicate question", -1, 3, "1,2"}}) {
        SCOPED_TRACE(c.name);
        ImportFixture f;
        bool ending = c.endAfter == 0;
        f.ended = [&] {
            ending = ending || (c.endAfter > 0 ? f.status.status().ends_with("Notice no : " + std::to_string(c.endAfter))
                                               : !f.prompter.questions.empty());
            return ending;
        };
        f.prompter.answers = {true};  // the answer a closed question does not give
        ASSERT_TRUE(f.import("batch.txt", noticeFile(bodies)));
        EXPECT_EQ(f.scalar("SELECT coalesce(group_concat(terrakey), '') FROM fmtv_terra"), c.stored);
        const std::string said = "The import into " + (f.dir.path() / "batch.mdb").string() +
                                 " was stopped because the program was ended: the notices of the file from No " +
                                 std::to_string(c.firstLeft) + " on were not stored.";
        EXPECT_EQ(f.result.stopped, said);
        EXPECT_EQ(f.result.notStored, 0);
        const auto reports = f.reports();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reportBody(reports[0]), std::vector<std::string>{said}) << "the closed question is not reported";
        EXPECT_TRUE(f.prompter.messages.empty());
        EXPECT_TRUE(f.prompter.viewed.empty()) << "the report is not shown";
        for (const auto& entry : std::filesystem::directory_iterator(f.dir.path()))
            EXPECT_FALSE(entry.path().string().ends_with(".part")) << entry.path();
    }
}
