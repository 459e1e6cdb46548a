#include "app/core/NoticeExport.h"
#include "app/window/NoticeGridModel.h"
#include "app/window/OstrelStartup.h"
#include "support/ImportFixture.h"
#include "support/NoticeDb.h"
#include "support/NoticeText.h"
#include "support/SmallFileSystem.h"
#include "support/TestRun.h"
#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"
#include "database/NoticeDelete.h"
#include "database/NoticeRead.h"
#include "database/sqlite/Statement.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QScrollBar>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

using testing_support::noticeFile;
using testing_support::ScriptedPrompter;
using testing_support::TempDir;

namespace {

template <class T>
T* child(QObject& window, const char* name)
{
    T* found = window.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QString menuTitle(QObject& window, const char* name)
{
    return child<QMenu>(window, name)->title();
}

QString actionText(QObject& window, const char* name)
{
    return child<QAction>(window, name)->text();
}

struct Window {
    TempDir dir;
    ScriptedPrompter prompter;
    app::OstrelStartup window{prompter, testing_support::templateDb()};

    std::string write(const std::string& name, const std::string& text) { return dir.write(name, text).string(); }
    bool visible(const char* name) { return !child<QWidget>(window, name)->isHidden(); }
    QString text(const char* name) { return child<QLineEdit>(window, name)->text(); }
};

const std::string kThree = noticeFile({"t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 98.5\n",
                                       "t_notice_type = T02\nt_action = ADD\nt_freq_assgn = 479.25\n",
                                       "t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 101.1\n"});

}  // namespace

TEST(MainWindow, StartsOnItsMenusAlone)
{
    Window w;
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    if (const char* shot = std::getenv("OSTREL_SCREENSHOT"))
        w.window.grab().save(shot);
    EXPECT_EQ(w.window.windowTitle(), " ZEL Ostrel KOLV Analog Version 1.03 / 02.11.2005");
    EXPECT_EQ(w.window.state().programMode, 1);
    EXPECT_EQ(w.window.state().language, app::Language::English);
    EXPECT_TRUE(child<QAction>(w.window, "mnuPrefLangE")->isChecked());
    for (const char* hidden : {"NtcDataGrid", "LblInputTxt", "TxtFileName", "TxtProcessingStatus"})
        EXPECT_FALSE(w.visible(hidden)) << hidden;
    QStringList bar;
    for (QAction* a : w.window.menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, (QStringList{"File", "Preferences"}));
    EXPECT_EQ(actionText(w.window, "mnuFileOpenTxt"), "OpenTxt");
    EXPECT_EQ(actionText(w.window, "mnuFileOpenDB"), "OpenDB");
    EXPECT_EQ(actionText(w.window, "mnuFileExit"), "Exit");
    EXPECT_EQ(menuTitle(w.window, "mnuPrefLang"), "Language");
}

TEST(MainWindow, TheLanguageChangesTheMenusAtOnce)
{
    Window w;
    struct Row { const char* item; const char* texts[6]; };
    const Row rows[] = {
        {"mnuPrefLangF", {"Fichier", "Préférences", "Langue", "Anglais", "Français", "Espagnol"}},
        {"mnuPrefLangS", {"Fichero", "Preferencia", "Idioma", "Inglés", "Francés", "Español"}},
        {"mnuPrefLangE", {"File", "Preferences", "Language", "English", "French", "Spanish"}},
    };
    for (const Row& r : rows) {
        child<QAction>(w.window, r.item)->trigger();
        const QStringList shown = {menuTitle(w.window, "mnuFile"),         menuTitle(w.window, "mnuPref"),
                                   menuTitle(w.window, "mnuPrefLang"),     actionText(w.window, "mnuPrefLangE"),
                                   actionText(w.window, "mnuPrefLangF"),   actionText(w.window, "mnuPrefLangS")};
        EXPECT_EQ(shown, (QStringList{r.texts[0], r.texts[1], r.texts[2], r.texts[3], r.texts[4], r.texts[5]}));
        int ticked = 0;
        for (const char* item : {"mnuPrefLangE", "mnuPrefLangF", "mnuPrefLangS"})
            ticked += child<QAction>(w.window, item)->isChecked() ? 1 : 0;
        EXPECT_EQ(ticked, 1);
        EXPECT_TRUE(child<QAction>(w.window, r.item)->isChecked());
        EXPECT_EQ(actionText(w.window, "mnuFileOpenTxt"), "OpenTxt");
    }
    EXPECT_EQ(w.window.state().language, app::Language::English);
}

TEST(MainWindow, OpenTxtImportsAndListsTheNotices)
{
    Window w;
    const std::string file = w.write("batch.txt", kThree);
    w.prompter.picks = {file};
    child<QAction>(w.window, "mnuFileOpenTxt")->trigger();
    EXPECT_EQ(w.prompter.filters.at(0), "Text Files (*.txt)|*.txt|Updated Files (*.upd)|*.upd");
    EXPECT_TRUE(w.visible("NtcDataGrid"));
    EXPECT_EQ(w.text("TxtProcessingStatus"), "Written sucessfully to the database - Number of notices : 3");
    EXPECT_EQ(w.text("TxtFileName"), QString::fromStdString("TEXT FILE : " + file));
    auto* model = static_cast<app::NoticeGridModel*>(child<QTableView>(w.window, "NtcDataGrid")->model());
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->columnCount(), 11);
    EXPECT_EQ(model->headerData(9, Qt::Horizontal, Qt::DisplayRole).toString(), "Longitude");
    EXPECT_EQ(model->index(2, 6).data().toString(), "101.1");
    EXPECT_EQ(w.window.state().ntcIndexList, (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_TRUE(w.prompter.messages.empty());

    // Picking a row opens its notice, the grid hidden; closing the form lists the notices again.
    auto* grid = child<QTableView>(w.window, "NtcDataGrid");
    grid->setCurrentIndex(model->index(1, 0));
    int shown = 0;
    const forms::ModalShow previous = forms::setModalShow([&](forms::NoticeForm& form) {
        ++shown;
        EXPECT_FALSE(w.visible("NtcDataGrid"));
        EXPECT_EQ(w.text("TxtProcessingStatus"), "Reading the selected notice from database");
        EXPECT_EQ(form.objectName(), "TvFrmT02M");
        EXPECT_EQ(form.control<QLineEdit>("Txt_Ntc_Number")->text(), "2");
        EXPECT_EQ(w.window.state().currentNtcIndex, 1);
    });
    QTest::keyClick(grid, Qt::Key_Return);
    forms::setModalShow(previous);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(w.visible("NtcDataGrid"));
    EXPECT_EQ(w.text("TxtProcessingStatus"), "Written sucessfully to the database - Number of notices : 3");
    EXPECT_EQ(w.window.state().currentTerrakey, 0);
}

TEST(MainWindow, ADoubleClickOpensTheFormInItsOwnLoop)
{
    Window w;
    w.prompter.picks = {w.write("batch.txt", kThree)};
    child<QAction>(w.window, "mnuFileOpenTxt")->trigger();
    auto* grid = child<QTableView>(w.window, "NtcDataGrid");
    w.window.show();
    grid->setCurrentIndex(grid->model()->index(0, 0));
    std::vector<std::string> seen;
    // Each form shown steps once with ">>" where it can, then closes.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* form = dynamic_cast<forms::NoticeForm*>(QApplication::activeModalWidget());
        if (!form || form->isUnloaded())
            return;
        seen.push_back(form->objectName().toStdString() + " " +
                       form->control<QLineEdit>("Txt_Ntc_Number")->text().toStdString());
        auto* next = form->control<QPushButton>("Button_Next_Ntc");
        if (seen.size() == 1 && next->isEnabled())
            next->click();  // onto the television notice: the sound form ends
        else
            form->control<QPushButton>("Button_Reset")->click();
    });
    poll.start(10);
    const QPoint cell = grid->visualRect(grid->model()->index(0, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    poll.stop();
    EXPECT_EQ(seen, (std::vector<std::string>{"FmFrmT01M 1", "TvFrmT02M 2"}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(w.visible("NtcDataGrid"));
    EXPECT_EQ(w.text("TxtProcessingStatus"), "Written sucessfully to the database - Number of notices : 3");
}

// ">>" from the first notice walks the list through both forms, each shown afresh whenever
// the kind changes, until a notice neither form shows ends the walk.
TEST(MainWindow, SteppingThroughBothKindsSwitchesFormsAndRefillsTheGridOnce)
{
    Window w;
    w.prompter.picks = {w.write(
        "batch.txt",
        noticeFile({"t_notice_type = T02\nt_action = ADD\nt_fragment = GE89\nt_freq_assgn = 479.25\n",
                    "t_notice_type = T01\nt_action = ADD\nt_fragment = GE84\nt_freq_assgn = 98.5\n",
                    "t_notice_type = TB5\nt_action = SUPPRESS\nt_fragment = GE84\nt_trg_freq_assgn = 500\n",
                    "t_notice_type = TB5\nt_action = SUPPRESS\nt_fragment = NTFD_RR\nt_trg_freq_assgn = 108.1\n",
                    "t_notice_type = TB5\nt_action = WITHDRAW\nt_fragment = ST61\nt_trg_freq_assgn = 87.5\n",
                    "t_notice_type = T01\nt_action = ADD\nt_fragment = ST61\nt_freq_assgn = 101.1\n",
                    "t_notice_type = DS1\nt_action = ADD\nt_freq_assgn = 98.5\n"}))};
    child<QAction>(w.window, "mnuFileOpenTxt")->trigger();
    ASSERT_EQ(w.window.state().ntcIndexList, (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7}));
    auto* grid = child<QTableView>(w.window, "NtcDataGrid");
    int refills = 0;
    QObject::connect(grid->model(), &QAbstractItemModel::modelReset, [&] { ++refills; });
    grid->setCurrentIndex(grid->model()->index(0, 0));

    std::vector<std::string> seen;
    int loads = 0;
    const forms::ModalShow previous = forms::setModalShow([&](forms::NoticeForm& form) {
        ++loads;
        EXPECT_EQ(form.windowTitle().count(QString::fromUtf8(app::kVersionText)), 1);
        for (const forms::ControlRow& row : form.controls())
            if (auto* list = form.control<QComboBox>(row.name)) {
                EXPECT_EQ(list->count(), int(row.items.size()) + 1) << row.name;
            }
        while (!form.isUnloaded()) {
            seen.push_back(form.objectName().toStdString() + " " +
                           form.control<QLineEdit>("Txt_Ntc_Number")->text().toStdString());
            EXPECT_EQ(refills, 0);
            form.control<QPushButton>("Button_Next_Ntc")->click();
        }
    });
    QTest::keyClick(grid, Qt::Key_Return);
    forms::setModalShow(previous);
    EXPECT_EQ(seen, (std::vector<std::string>{"TvFrmT02M 1", "FmFrmT01M 2", "FmFrmT01M 3", "TvFrmT02M 4",
                                              "FmFrmT01M 5", "FmFrmT01M 6"}));
    EXPECT_EQ(loads, 4);
    EXPECT_EQ(refills, 1);
    EXPECT_EQ(w.window.state().currentNtcIndex, 0);
    EXPECT_EQ(w.window.state().currentTerrakey, 0);
    EXPECT_TRUE(w.prompter.messages.empty());
    EXPECT_EQ(w.text("TxtProcessingStatus"), "Written sucessfully to the database - Number of notices : 7");
}

TEST(MainWindow, ANoticeDeletedBehindTheOpenFormEndsTheWalkWhenReached)
{
    Window w;
    w.prompter.picks = {w.write("batch.txt", kThree)};
    child<QAction>(w.window, "mnuFileOpenTxt")->trigger();
    auto* grid = child<QTableView>(w.window, "NtcDataGrid");
    int refills = 0;
    QObject::connect(grid->model(), &QAbstractItemModel::modelReset, [&] { ++refills; });
    grid->setCurrentIndex(grid->model()->index(0, 0));
    int loads = 0;
    const forms::ModalShow previous = forms::setModalShow([&](forms::NoticeForm& form) {
        ++loads;
        ASSERT_TRUE(database::deleteNtc(2, w.window.state().dbConnection, w.prompter.report()));
        form.control<QPushButton>("Button_Next_Ntc")->click();
        EXPECT_TRUE(form.isUnloaded());
    });
    QTest::keyClick(grid, Qt::Key_Return);
    forms::setModalShow(previous);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(refills, 1);
    // The failed read's own message, and nothing else.
    ASSERT_EQ(w.prompter.messages.size(), 1u);
    EXPECT_EQ(w.prompter.messages[0].title, "Erreur base de données");
    EXPECT_EQ(w.prompter.messages[0].text, "The data was not saved to the database");
    EXPECT_TRUE(w.visible("NtcDataGrid"));
    // Deleted behind the form, not through it: the line keeps what it said.
    EXPECT_EQ(w.text("TxtProcessingStatus"), "Written sucessfully to the database - Number of notices : 3");
}

TEST(MainWindow, LeavingAChangedDatabaseOffersTheExportOnce)
{
    Window w;
    w.prompter.picks = {w.write("batch.txt", kThree)};
    child<QAction>(w.window, "mnuFileOpenTxt")->trigger();
    w.window.state().dbChanged = true;
    w.prompter.answers = {false};
    child<QAction>(w.window, "mnuFileExit")->trigger();
    ASSERT_EQ(w.prompter.questions.size(), 1u);
    EXPECT_EQ(w.prompter.questions[0].text, "Do you want to save the changes to an electronic file?");
    EXPECT_EQ(w.prompter.questions[0].title, "Write to Electronic format");
    EXPECT_FALSE(w.window.state().dbConnection.isOpen());
    w.window.close();
    EXPECT_EQ(w.prompter.questions.size(), 1u) << "not asked twice";
}

TEST(MainWindow, OpenDBCancelledOrRefusedLeavesNoDatabaseOpen)
{
    Window w;
    w.prompter.picks = {w.write("batch.txt", kThree)};
    child<QAction>(w.window, "mnuFileOpenTxt")->trigger();
    ASSERT_TRUE(w.window.state().dbConnection.isOpen());

    child<QAction>(w.window, "mnuFileOpenDB")->trigger();  // cancelled
    EXPECT_FALSE(w.window.state().dbConnection.isOpen());
    EXPECT_FALSE(w.visible("NtcDataGrid"));
    EXPECT_TRUE(w.prompter.messages.empty());
    EXPECT_EQ(w.prompter.filters.back(), "Microsoft Access Database (*.mdb)|*.mdb|");

    w.prompter.picks = {w.write("other.mdb", "not a database at all, only text")};
    child<QAction>(w.window, "mnuFileOpenDB")->trigger();
    EXPECT_FALSE(w.window.state().dbConnection.isOpen());
    ASSERT_EQ(w.prompter.messages.size(), 1u);
    EXPECT_EQ(w.prompter.messages[0].title, "OpenDB");

    w.prompter.picks = {(w.dir.path() / "batch.mdb").string()};
    child<QAction>(w.window, "mnuFileOpenDB")->trigger();
    EXPECT_EQ(w.text("TxtProcessingStatus"), "Sucessfully opened the database - Number of notices : 3");
    EXPECT_EQ(w.text("TxtFileName"), QString::fromStdString("DATABASE FILE: " + (w.dir.path() / "batch.mdb").string()));
}

TEST(MainWindow, PickingInAnEmptyGridSaysSo)
{
    Window w;
    const auto empty = w.dir.path() / "empty.mdb";
    std::filesystem::copy_file(testing_support::templateDb(), empty);
    w.prompter.picks = {empty.string()};
    child<QAction>(w.window, "mnuFileOpenDB")->trigger();
    EXPECT_EQ(w.window.state().ntcCount, 0);
    QTest::keyClick(child<QTableView>(w.window, "NtcDataGrid"), Qt::Key_Enter);
    ASSERT_EQ(w.prompter.messages.size(), 1u);
    EXPECT_EQ(w.prompter.messages[0].text, "No notices in the database");
    EXPECT_EQ(w.prompter.messages[0].title, "Database is Empty");
}

TEST(MainWindow, AFileLackingNoticeColumnsIsRefusedUntouched)
{
    Window w;
    const auto path = w.dir.path() / "old.mdb";
    {
        db::Connection conn;
        ASSERT_TRUE(conn.create(path.string()));
        ASSERT_TRUE(conn.exec("CREATE TABLE fmtv_terra (terrakey INTEGER); CREATE TABLE Fmtv_keys (terrakey INTEGER)"));
    }
    const std::string before = testing_support::readFile(path);
    w.prompter.picks = {path.string()};
    child<QAction>(w.window, "mnuFileOpenDB")->trigger();
    EXPECT_FALSE(w.window.state().dbConnection.isOpen());
    EXPECT_FALSE(w.visible("NtcDataGrid"));
    EXPECT_EQ(w.text("TxtProcessingStatus"), "");
    ASSERT_EQ(w.prompter.messages.size(), 1u);
    EXPECT_NE(w.prompter.messages[0].text.find(path.string() + " is not a notice database: no such column"),
              std::string::npos)
        << w.prompter.messages[0].text;
    EXPECT_EQ(testing_support::readFile(path), before) << "not switched to a write-ahead log";
    EXPECT_FALSE(std::filesystem::exists(path.string() + "-wal"));
}

TEST(MainWindow, AGridThatCannotBeFilledClosesTheDatabase)
{
    Window w;
    w.prompter.picks = {w.write("batch.txt", kThree)};
    child<QAction>(w.window, "mnuFileOpenTxt")->trigger();
    ASSERT_TRUE(w.window.state().dbConnection.exec("ALTER TABLE fmtv_terra DROP COLUMN site_name"));
    EXPECT_FALSE(w.window.fillNtcGrid());
    EXPECT_FALSE(w.window.state().dbConnection.isOpen());
    EXPECT_FALSE(w.visible("NtcDataGrid"));
    EXPECT_FALSE(w.visible("TxtProcessingStatus"));
    EXPECT_EQ(w.window.state().ntcCount, 0);
    ASSERT_EQ(w.prompter.messages.size(), 1u);
    EXPECT_EQ(w.prompter.messages[0].title, "fillNtcGrid");
}

// A frequency corrected in either form reaches the ".upd" file and nothing else changes.
TEST(MainWindow, AFrequencyCorrectedInTheFormIsExportedAndNothingElseChanges)
{
    struct Case {
        std::string notice;
        const char* form;
        const char* before;
        const char* after;
        std::vector<std::string> kept;  // lines of the export, before and after
    };
    const Case cases[] = {
        {testing_support::fullTelevisionNotice(), "TvFrmT02M", "479.25", "480.25", {"t_fragment = GE89\r"}},
        {testing_support::fullSoundNotice(), "FmFrmT01M", "98.5", "98.6",
         {"t_color = PAL\r", "t_pwr_ratio = 10\r", "t_bdwdth = 180\r", "t_tran_sys = 4\r"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        Window w;
        w.prompter.picks = {w.write("batch.txt", noticeFile({c.notice, "t_notice_type = T02\nt_action = ADD\n"
                                                                       "t_freq_assgn = 479.25\n"}))};
        child<QAction>(w.window, "mnuFileOpenTxt")->trigger();
        const auto before = w.dir.path() / "before.upd";
        ASSERT_TRUE(app::writeDBToElectFile(before.string(), w.window.state(), w.prompter));

        auto* grid = child<QTableView>(w.window, "NtcDataGrid");
        grid->setCurrentIndex(grid->model()->index(0, 0));
        const forms::ModalShow previous = forms::setModalShow([&](forms::NoticeForm& form) {
            EXPECT_EQ(form.objectName(), c.form);
            EXPECT_EQ(form.control<QLineEdit>("Txt_1A_FreqAssgn")->text(), c.before);
            form.control<QLineEdit>("Txt_1A_FreqAssgn")->setText(c.after);
            w.prompter.answers = {true};
            form.control<QPushButton>("Button_Next")->click();
            form.control<QPushButton>("Button_Reset")->click();
        });
        QTest::keyClick(grid, Qt::Key_Return);
        forms::setModalShow(previous);
        notice::NoticeRecord stored;
        ASSERT_TRUE(database::readNtcFromDB(1, stored, w.window.state().dbConnection, w.prompter.report()));
        EXPECT_EQ(stored.freq_assgn, c.after);
        EXPECT_EQ(stored.color + "|" + stored.pwr_ratio, c.notice.find("t_color") == std::string::npos ? "|" : "PAL|10");
        w.prompter.answers = {true};
        child<QAction>(w.window, "mnuFileExit")->trigger();

        const auto lines = [](const std::string& text) {
            std::vector<std::string> out;
            std::size_t from = 0;
            for (std::size_t end; (end = text.find('\n', from)) != std::string::npos; from = end + 1)
                out.push_back(text.substr(from, end - from));
            return out;
        };
        const auto old = lines(testing_support::readFile(before));
        const auto now = lines(testing_support::readFile(w.dir.path() / "batch.upd"));
        ASSERT_EQ(old.size(), now.size());
        for (const std::string& line : c.kept)
            EXPECT_EQ(std::count(now.begin(), now.end(), line), 1) << line;
        std::vector<std::string> changed;
        for (std::size_t i = 0; i < old.size(); ++i)
            if (old[i] != now[i])
                changed.push_back(old[i] + " -> " + now[i]);
        ASSERT_GE(changed.size(), 1u);
        ASSERT_LE(changed.size(), 2u);  // the frequency, and the heading's date when the second turned
        EXPECT_NE(changed.back().find(std::string("t_freq_assgn = ") + c.before), std::string::npos) << changed.back();
        EXPECT_NE(changed.back().find(std::string("t_freq_assgn = ") + c.after), std::string::npos) << changed.back();
    }
}

// Each database opened is listed from its first column, each column as wide as what it shows,
// whatever the grid showed of the database before.
TEST(MainWindow, EachDatabaseIsListedFromTheLeftWithColumnsFittingTheirContents)
{
    Window w;
    const std::string longRef = "t_adm_ref_id = F-REFERENCE-0123456789\n";
    w.window.resize(640, 400);
    w.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    auto* grid = child<QTableView>(w.window, "NtcDataGrid");
    for (const char* name : {"first.txt", "second.txt"}) {
        w.prompter.picks = {w.write(name, noticeFile({"t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 98.5\n" +
                                                          longRef + "t_site_name = A SITE WITH A LONG NAME\n"}))};
        child<QAction>(w.window, "mnuFileOpenTxt")->trigger();
        ASSERT_TRUE(w.visible("NtcDataGrid")) << name;
        EXPECT_EQ(grid->horizontalScrollBar()->value(), 0) << name;
        for (int column = 0; column + 1 < grid->model()->columnCount(); ++column)
            EXPECT_GE(grid->columnWidth(column), static_cast<QAbstractItemView*>(grid)->sizeHintForColumn(column)) << name << " " << column;
        grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());  // the user looks right
        ASSERT_GT(grid->horizontalScrollBar()->value(), 0) << name;
    }
    const QString folder = qEnvironmentVariable("OSTREL_SCREENSHOT_DIR");
    if (!folder.isEmpty() && QDir().mkpath(folder)) {
        grid->horizontalScrollBar()->setValue(0);
        QApplication::processEvents();
        EXPECT_TRUE(w.window.grab().save(QDir(folder).filePath("OstrelStartup-grid.png")));
    }
}

// An import that a full disk stops half-way never says it wrote the notices successfully.
TEST(MainWindow, AnImportCutShortByAFullDiskSaysSoInTheStatusLine)
{
    std::vector<std::string> bodies;
    for (int i = 0; i < 1200; ++i)
        bodies.push_back("t_notice_type = T01\nt_action = ADD\nt_freq_assgn = " + std::to_string(88000 + i) +
                         "\nt_site_name = SITE " + std::to_string(i) + "\nt_remarks = " + std::string(200, 'r') + "\n");
    const std::string text = noticeFile(bodies);
    bool cut = false;
    for (std::size_t size = text.size() + 200 * 1024; !cut && size < text.size() + 2048 * 1024; size += 100 * 1024) {
        testing_support::SmallFileSystem fs(size);
        if (!fs.mounted())
            GTEST_SKIP() << "mounting a small file system needs root";
        Window w;
        const auto file = fs.path() / "batch.txt";
        std::ofstream(file, std::ios::binary) << text;
        w.prompter.picks = {file.string()};
        child<QAction>(w.window, "mnuFileOpenTxt")->trigger();
        const int listed = w.window.state().ntcCount;
        if (listed == 0 || listed == 1200)
            continue;
        cut = true;
        EXPECT_EQ(w.text("TxtProcessingStatus").toStdString(),
                  "Written to the database, " + std::to_string(1200 - listed) +
                      " notices not stored - Number of notices : " + std::to_string(listed));
        ASSERT_FALSE(w.prompter.messages.empty());
        EXPECT_EQ(w.prompter.messages[0].text.rfind(std::to_string(1200 - listed) + " of the 1200 notices", 0), 0u);
        w.window.close();
    }
    EXPECT_TRUE(cut) << "no size stopped the import half-way";
}

// The status line says the database was updated only when a notice was saved or deleted in the
// form; otherwise it keeps what it said before, its read-only marker too.
TEST(MainWindow, TheStatusLineSaysUpdatedOnlyAfterANoticeWasSavedOrDeleted)
{
    enum class Disk { Roomy, ReadOnly, Full };
    const struct {
        const char* name;
        int row;  // the grid row picked with Return
        Disk disk;
        std::vector<const char*> clicks;  // the form's buttons clicked in turn, each question answered Yes
        const char* shown;                // a message that the clicks must have shown
        int updatedTo;                    // the notices the status line then counts; -1: it keeps its text
    } cases[] = {
        {"Return on a digital notice's row", 1, Disk::Roomy, {}, nullptr, -1},
        {"a form closed unchanged", 0, Disk::Roomy, {"Button_Reset"}, nullptr, -1},
        {"an update refused on a read-only database", 0, Disk::ReadOnly, {"Button_Next", "Button_Reset"},
         "is read-only. The notice cannot be saved.", -1},
        {"a delete refused on a read-only database", 0, Disk::ReadOnly, {"Button_Finish", "Button_Reset"},
         "is read-only. The notice cannot be deleted.", -1},
        {"a save that failed on a full disk", 0, Disk::Full, {"Button_Next", "Button_Reset"},
         "Failed to update the notice in the Database", -1},
        {"a saved notice", 0, Disk::Roomy, {"Button_Next", "Button_Reset"}, "sucessfully updated", 3},
        {"a deleted notice", 2, Disk::Roomy, {"Button_Finish"}, nullptr, 2},
    };
    const std::string text =
        noticeFile({"t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 98.5\n",
                    "t_notice_type = DS1\nt_action = ADD\nt_adm_ref_id = D1\nt_freq_assgn = 98.5\n",
                    "t_notice_type = T02\nt_action = ADD\nt_freq_assgn = 479.25\n"});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::SmallFileSystem fs(16 << 20);  // a plain folder where it cannot be mounted
        if (c.disk != Disk::Roomy && !fs.mounted()) {
            testing_support::skipRow(c.name, fs.why());
            continue;
        }
        Window w;
        const auto file = fs.path() / "batch.txt";
        std::ofstream(file, std::ios::binary) << text;
        w.prompter.picks = {file.string()};
        child<QAction>(w.window, "mnuFileOpenTxt")->trigger();
        ASSERT_EQ(w.window.state().ntcCount, 3);
        if (c.disk == Disk::ReadOnly) {
            child<QAction>(w.window, "mnuFileOpenDB")->trigger();  // cancelled: the database closes
            ASSERT_TRUE(fs.makeReadOnly()) << fs.why();
            w.prompter.picks = {(fs.path() / "batch.mdb").string()};
            child<QAction>(w.window, "mnuFileOpenDB")->trigger();
        } else if (c.disk == Disk::Full) {
            fs.leaveFree(0);
        }
        const QString before = w.text("TxtProcessingStatus");
        ASSERT_TRUE(before.endsWith(c.disk == Disk::ReadOnly ? "read-only: notices cannot be saved or deleted"
                                                             : "Number of notices : 3"))
            << before.toStdString();

        auto* grid = child<QTableView>(w.window, "NtcDataGrid");
        grid->setCurrentIndex(grid->model()->index(c.row, 0));
        const forms::ModalShow previous = forms::setModalShow([&](forms::NoticeForm& form) {
            for (const char* button : c.clicks) {
                if (form.isUnloaded())
                    break;
                w.prompter.answers = {true};
                QTest::mouseClick(form.control<QPushButton>(button), Qt::LeftButton);
            }
        });
        w.prompter.messages.clear();
        QTest::keyClick(grid, Qt::Key_Return);
        forms::setModalShow(previous);
        if (c.shown) {
            const auto& m = w.prompter.messages;
            EXPECT_TRUE(std::any_of(m.begin(), m.end(), [&](const auto& s) { return s.text.find(c.shown) != std::string::npos; }))
                << c.shown;
        }
        EXPECT_TRUE(w.visible("NtcDataGrid"));
        EXPECT_EQ(w.text("TxtProcessingStatus").toStdString(),
                  c.updatedTo < 0 ? before.toStdString()
                                  : "Database was sucessfully updated - Number of notices : " + std::to_string(c.updatedTo));
        w.prompter.answers = {false};  // no export
        w.window.close();
    }
}

// An import that fits the disk with its write-ahead log, and a close that finds no room to fold
// the log into the database: File > Exit says so, and the database with its log holds every notice.
TEST(MainWindow, ExitOnADiskWithoutRoomToFoldTheLogSaysTheLogBelongsWithTheDatabase)
{
    testing_support::SmallFileSystem fs(16 << 20);
    if (!fs.mounted())
        GTEST_SKIP() << "mounting a small file system needs root";
    std::vector<std::string> bodies;
    for (int i = 0; i < 1200; ++i)
        bodies.push_back("t_notice_type = T01\nt_action = ADD\nt_freq_assgn = " + std::to_string(88000 + i) +
                         "\nt_site_name = SITE " + std::to_string(i) + "\nt_remarks = " + std::string(200, 'r') + "\n");
    Window w;
    const auto file = fs.path() / "batch.txt";
    std::ofstream(file, std::ios::binary) << noticeFile(bodies);
    w.prompter.picks = {file.string()};
    child<QAction>(w.window, "mnuFileOpenTxt")->trigger();
    ASSERT_EQ(w.text("TxtProcessingStatus"), "Written sucessfully to the database - Number of notices : 1200");
    ASSERT_TRUE(w.prompter.messages.empty());
    fs.leaveFree(0);

    child<QAction>(w.window, "mnuFileExit")->trigger();
    EXPECT_FALSE(w.window.state().dbConnection.isOpen());
    const std::string mdb = std::filesystem::canonical(fs.path() / "batch.mdb").string();
    ASSERT_EQ(w.prompter.messages.size(), 1u);
    const auto& said = w.prompter.messages[0];
    EXPECT_EQ(said.title, platform::kAppTitle);
    EXPECT_EQ(said.icon, platform::Icon::Warning);
    EXPECT_TRUE(said.text.starts_with("The database " + mdb + " could not be closed into one file (")) << said.text;
    EXPECT_NE(said.text.find("Its latest changes are in " + mdb + "-wal, which belongs with it"), std::string::npos);
    EXPECT_NE(said.text.find("Free at least "), std::string::npos);

    // The two files, copied together, hold every notice.
    TempDir copy;
    std::filesystem::copy_file(mdb, copy.path() / "batch.mdb");
    std::filesystem::copy_file(mdb + "-wal", copy.path() / "batch.mdb-wal");
    db::Connection conn;
    ASSERT_TRUE(conn.open((copy.path() / "batch.mdb").string()));
    db::Statement st(conn, "SELECT count(*) FROM fmtv_terra WHERE site_name LIKE 'SITE %'");
    ASSERT_EQ(st.step(), db::Step::Row);
    EXPECT_EQ(st.integer(0), 1200);
}
