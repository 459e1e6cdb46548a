#pragma once

#include "app/core/AppState.h"

#include <QElapsedTimer>
#include <QMainWindow>

#include <filesystem>
#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;

namespace platform { class Prompter; class Report; }

namespace app {

class NoticeGridModel;

// The main window: menus, the input file box, the status box and the notice grid. It owns
// the application state.
class OstrelStartup : public QMainWindow, public StatusLine {
public:
    OstrelStartup(platform::Prompter& prompter, std::filesystem::path templateFile, QWidget* parent = nullptr);
    ~OstrelStartup() override;

    AppState& state() { return m_state; }

    void setStatus(const std::string& text) override;
    std::string status() const override;

    void mnuFileOpenTxt_Click();
    void mnuFileOpenDB_Click();
    void mnuFileExit_Click();
    /// Leaves the database as Exit does, but asks nothing and shows no message box: the desktop
    /// session or the process is ending and nobody may be there to answer. What closing has to
    /// say (a log that could not be folded into the file) goes to standard error.
    void leaveDatabaseUnasked();
    /// The desktop session asks its programs to save (the first step of a logout, which may yet
    /// be cancelled): the database file alone is made to hold every save, and stays open.
    void saveForSession();
    /// The program is to end (a signal, the end of the session): leaves the database unasked and
    /// then calls `then`, at once or, during an import, once the import has stopped; a question
    /// the import is asking is closed.
    void endUnasked(std::function<void()> then);
    /// At an exit that no event loop sees (the display gone): closes the database as
    /// leaveDatabaseUnasked does, touching no widget.
    void closeDatabaseAtExit();
    /// Sets the language (0 English, 1 French, 2 Spanish) and the menus' captions.
    void setLanguage(Language language);
    /// Lists the open database's notices in the grid and rebuilds the notice list. When the
    /// notices cannot be listed: says why, closes the database and hides the grid; false.
    bool fillNtcGrid();
    /// Fills the grid with a database just opened, its columns fitted to their contents and
    /// shown from the start; false when it cannot be filled.
    bool listNewDatabase();
    /// A grid row was picked (double-click or Enter).
    void onRowPicked();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void leaveDatabase();
    /// Closes the database, saying through `report` what closing has to say, and empties the grid.
    void closeDatabase(platform::Report& report);
    void showStatusBox(bool visible);

    platform::Prompter& m_prompter;
    std::filesystem::path m_templateFile;
    AppState m_state;
    QMenu* m_mnuFile = nullptr;
    QMenu* m_mnuPref = nullptr;
    QMenu* m_mnuPrefLang = nullptr;
    QAction* m_langActions[kLanguages] = {};
    QLabel* m_lblInput = nullptr;
    QLineEdit* m_txtFileName = nullptr;
    QLineEdit* m_txtStatus = nullptr;
    QTableView* m_grid = nullptr;
    NoticeGridModel* m_model = nullptr;
    QElapsedTimer m_lastPaint;
    bool m_importing = false;
    std::function<void()> m_ending;  // what endUnasked is to call once the import stops
};

/// The caption of the main window.
inline constexpr const char* kMainCaption = kVersionText;

}  // namespace app
