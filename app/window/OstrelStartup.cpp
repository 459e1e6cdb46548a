#include "app/window/OstrelStartup.h"

#include "app/core/NoticeExport.h"
#include "app/window/NoticeGridModel.h"
#include "app/core/NoticeImport.h"
#include "database/DbConnection.h"
#include "forms/NoticeWorkflows.h"
#include "platform/Prompter.h"
#include "platform/qt/EndSignals.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QCloseEvent>
#include <QGridLayout>
#include <QScrollBar>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>

#include <cstdio>
#include <utility>

namespace app {
namespace {

constexpr int kRepaintMs = 50;  // long steps repaint their status at most this often

// What is said when nobody may be there to read a box: on standard error.
platform::Report toStandardError()
{
    return platform::Report(
        [](const platform::Message& m) { std::fprintf(stderr, "%s: %s\n", m.title.c_str(), m.text.c_str()); }, {});
}

}  // namespace

OstrelStartup::OstrelStartup(platform::Prompter& prompter, std::filesystem::path templateFile, QWidget* parent)
    : QMainWindow(parent), m_prompter(prompter), m_templateFile(std::move(templateFile))
{
    setObjectName("OstrelStartup");
    setWindowTitle(kMainCaption);
    resize(1000, 640);

    auto* central = new QWidget(this);
    auto* layout = new QGridLayout(central);
    m_lblInput = new QLabel("Input", central);
    m_lblInput->setObjectName("LblInputTxt");
    m_txtFileName = new QLineEdit(central);
    m_txtFileName->setObjectName("TxtFileName");
    m_txtFileName->setReadOnly(true);
    m_txtStatus = new QLineEdit(central);
    m_txtStatus->setObjectName("TxtProcessingStatus");
    m_txtStatus->setReadOnly(true);
    m_grid = new QTableView(central);
    m_grid->setObjectName("NtcDataGrid");
    m_model = new NoticeGridModel(this);
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->installEventFilter(this);
    connect(m_grid, &QTableView::doubleClicked, this, [this] { onRowPicked(); });
    layout->addWidget(m_lblInput, 0, 0);
    layout->addWidget(m_txtFileName, 0, 1);
    layout->addWidget(m_txtStatus, 1, 0, 1, 2);
    layout->addWidget(m_grid, 2, 0, 1, 2);
    layout->setRowStretch(2, 1);
    setCentralWidget(central);
    buildMenus();

    m_state.programMode = 1;
    setLanguage(Language::English);
    m_state.dbChanged = false;
    m_grid->hide();
    m_lblInput->hide();
    m_txtFileName->hide();
    m_txtStatus->hide();
    m_lastPaint.start();
}

OstrelStartup::~OstrelStartup() = default;

void OstrelStartup::buildMenus()
{
    m_mnuFile = menuBar()->addMenu("File");
    m_mnuFile->setObjectName("mnuFile");
    const std::pair<const char*, void (OstrelStartup::*)()> fileItems[] = {
        {"OpenTxt", &OstrelStartup::mnuFileOpenTxt_Click},
        {"OpenDB", &OstrelStartup::mnuFileOpenDB_Click},
        {"Exit", &OstrelStartup::mnuFileExit_Click},
    };
    for (const auto& [caption, handler] : fileItems) {
        QAction* action = m_mnuFile->addAction(caption);
        action->setObjectName(QString("mnuFile") + caption);
        connect(action, &QAction::triggered, this, handler);
    }

    m_mnuPref = menuBar()->addMenu("Preferences");
    m_mnuPref->setObjectName("mnuPref");
    m_mnuPrefLang = m_mnuPref->addMenu("Language");
    m_mnuPrefLang->setObjectName("mnuPrefLang");
    const char* names[kLanguages] = {"mnuPrefLangE", "mnuPrefLangF", "mnuPrefLangS"};
    for (std::size_t id = 0; id < kLanguages; ++id) {
        QAction* action = m_mnuPrefLang->addAction(textFor(menuTexts(), names[id], Language::English));
        action->setObjectName(names[id]);
        action->setCheckable(true);
        const auto language = Language(id);
        connect(action, &QAction::triggered, this, [this, language] { setLanguage(language); });
        m_langActions[id] = action;
    }
}

void OstrelStartup::setLanguage(Language language)
{
    m_state.language = language;
    for (std::size_t i = 0; i < kLanguages; ++i)
        m_langActions[i]->setChecked(Language(i) == language);
    for (const Text& t : menuTexts()) {
        const QString name = QString::fromUtf8(t.name.data(), qsizetype(t.name.size()));
        const QString words = QString::fromUtf8(t.words[std::size_t(language)]);
        if (auto* menu = findChild<QMenu*>(name))
            menu->setTitle(words);
        else if (auto* action = findChild<QAction*>(name))
            action->setText(words);
    }
}

void OstrelStartup::setStatus(const std::string& text)
{
    m_txtStatus->setText(QString::fromStdString(text));
    m_txtStatus->show();
    if (m_lastPaint.elapsed() >= kRepaintMs) {
        repaint();
        m_lastPaint.restart();
    }
}

std::string OstrelStartup::status() const
{
    return m_txtStatus->text().toStdString();
}

void OstrelStartup::showStatusBox(bool visible)
{
    m_txtStatus->setVisible(visible);
}

void OstrelStartup::leaveDatabase()
{
    if (m_state.dbChanged)
        offerElectFile(m_state, *this, m_prompter);
    closeDatabase(m_prompter.report());
}

void OstrelStartup::leaveDatabaseUnasked()
{
    platform::Report report = toStandardError();
    m_state.dbChanged = false;  // its export is not offered
    closeDatabase(report);
}

void OstrelStartup::saveForSession()
{
    platform::Report report = toStandardError();
    database::foldLogIn(m_state.dbConnection, report);
}

void OstrelStartup::endUnasked(std::function<void()> then)
{
    if (!m_ending)
        m_ending = std::move(then);
    if (m_importing) {
        // Not the user's answer: the import sees that the program is ending.
        if (auto* question = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            question->reject();
        return;
    }
    leaveDatabaseUnasked();
    std::exchange(m_ending, {})();
}

void OstrelStartup::closeDatabaseAtExit()
{
    platform::Report report = toStandardError();
    database::closeDB(m_state.dbConnection, report);
}

void OstrelStartup::closeDatabase(platform::Report& report)
{
    // The file first: the widgets may need a display that has gone.
    database::closeDB(m_state.dbConnection, report);
    m_grid->hide();
    m_model->setRows({});
    buildNtcIndex(m_state, {});
}

void OstrelStartup::mnuFileOpenTxt_Click()
{
    leaveDatabase();
    showStatusBox(false);
    const auto path = m_prompter.pickOpenFile("Text Files (*.txt)|*.txt|Updated Files (*.upd)|*.upd");
    if (!path)
        return;
    m_state.dbFileName = *path;
    m_txtFileName->setText(QString::fromStdString(*path));
    m_lblInput->show();
    m_txtFileName->show();
    repaint();
    ImportOptions options;
    options.caption = kMainCaption;
    options.templateFile = m_templateFile;
    options.ended = [this] { return m_ending || platform::EndSignals::received(); };
    m_importing = true;
    const ImportResult imported = importTextFile(*path, m_state, *this, m_prompter, options);
    m_importing = false;
    if (!imported.stopped.empty())
        toStandardError().message(imported.stopped, platform::kAppTitle, platform::Icon::Warning);
    if (m_ending) {
        endUnasked(std::exchange(m_ending, {}));
        return;
    }
    if (!imported.stopped.empty())
        return;  // the signal that stopped it is acted on next
    if (!imported) {
        database::closeDB(m_state.dbConnection, m_prompter.report());
        showStatusBox(false);
        return;
    }
    m_txtFileName->setText("TEXT FILE : " + m_txtFileName->text());
    if (!listNewDatabase())
        return;
    const std::string count = " - Number of notices : " + std::to_string(m_state.ntcCount);
    if (imported.notStored > 0)
        setStatus("Written to the database, " + std::to_string(imported.notStored) + " notices not stored" + count);
    else
        setStatus("Written sucessfully to the database" + count);
}

void OstrelStartup::mnuFileOpenDB_Click()
{
    leaveDatabase();
    showStatusBox(false);
    m_lblInput->show();
    m_txtFileName->show();
    const auto path = m_prompter.pickOpenFile("Microsoft Access Database (*.mdb)|*.mdb|");
    if (!path)
        return;
    m_state.dbFileName = *path;
    m_txtFileName->setText(QString::fromStdString("DATABASE FILE: " + *path));
    repaint();
    if (!database::OpenDB(*path, m_state.dbConnection, m_prompter.report()) || !listNewDatabase())
        return;
    setStatus("Sucessfully opened the database - Number of notices : " + std::to_string(m_state.ntcCount) +
              (m_state.dbConnection.readOnly() ? " - read-only: notices cannot be saved or deleted" : ""));
}

void OstrelStartup::mnuFileExit_Click()
{
    close();
}

void OstrelStartup::closeEvent(QCloseEvent* event)
{
    leaveDatabase();
    event->accept();
}

bool OstrelStartup::fillNtcGrid()
{
    GridRows rows;
    const bool listed = loadGridRows(m_state.dbConnection, rows);
    if (!listed) {
        database::reportDbErr(m_state.dbConnection, "fillNtcGrid", m_prompter.report());
        database::closeDB(m_state.dbConnection, m_prompter.report());
        rows.clear();
        showStatusBox(false);
    }
    buildNtcIndex(m_state, rows);
    m_model->setRows(std::move(rows));  // moved, not copied: a large database has many cells
    m_grid->setVisible(listed);
    return listed;
}

bool OstrelStartup::listNewDatabase()
{
    if (!fillNtcGrid())
        return false;
    // Another database's notices: columns fit what they show, from the first row and column.
    m_grid->resizeColumnsToContents();
    m_grid->scrollToTop();
    m_grid->horizontalScrollBar()->setValue(0);
    return true;
}

void OstrelStartup::onRowPicked()
{
    if (m_model->rowCount() < 1) {
        m_prompter.message("No notices in the database", "Database is Empty", platform::Icon::Information);
        return;
    }
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    m_state.currentTerrakey = m_model->index(current.row(), 0).data().toInt();
    m_grid->hide();
    const std::string before = status();  // what stays said unless a notice is saved or deleted
    setStatus("Reading the selected notice from database");
    repaint();
    m_state.currentNtcIndex = findNtcKeyIndex(m_state, m_state.currentTerrakey);
    if (m_state.currentNtcIndex == kNotFound) {
        if (!fillNtcGrid())
            return;
        setStatus(before);
        m_prompter.message("Index list corrupted", "Index error", platform::Icon::Information);
        return;
    }
    forms::NoticeSession session{m_state, m_prompter, {}};
    forms::openSelectedNtc(session, m_state.currentTerrakey, m_state.currentNtcIndex);
    if (!fillNtcGrid())
        return;
    if (session.changed > 0)
        setStatus("Database was sucessfully updated - Number of notices : " + std::to_string(m_state.ntcCount));
    else
        setStatus(before);
}

bool OstrelStartup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onRowPicked();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace app
