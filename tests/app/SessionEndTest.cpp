// The program told to end (a signal, a logout through its session manager, the loss of its
// display) leaves its database as Exit does: one file in rollback-journal mode holding every
// save, nothing beside it; a logout that is cancelled leaves it as it was. The real program runs
// on an X server of its own and is driven with real input through xdotool, each key sent once
// the window meant holds the focus; the session manager is the test's own, speaking XSMP. At
// the end of the session nothing is asked, and the signals reach the event loop, modal or not.
#include "app/core/Texts.h"
#include "app/window/OstrelStartup.h"
#include "database/DbConnection.h"
#include "database/NoticeStore.h"
#include "database/sqlite/Statement.h"
#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"
#include "platform/qt/EndSignals.h"
#include "support/ImportFixture.h"
#include "support/NoticeDb.h"
#include "support/NoticeText.h"
#include "support/SessionManager.h"
#include "support/SmallFileSystem.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing_support::readFile;
using testing_support::TempDir;

// How long one step of the program may take: it runs under AddressSanitizer on a busy machine.
constexpr auto kStepLimit = 15s;
constexpr auto kPoll = 30ms;
constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;

// The environment of this process with `changes` put in: "NAME=value" sets, "NAME" removes.
std::vector<std::string> environmentWith(const std::vector<std::string>& changes)
{
    std::vector<std::string> env;
    for (const std::string& c : changes)
        if (c.find('=') != std::string::npos)
            env.push_back(c);
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (std::none_of(changes.begin(), changes.end(),
                         [&](const std::string& c) { return c == name || c.starts_with(name + "="); }))
            env.push_back(entry);
    }
    return env;
}

// A program started without a shell, the end signals at their default action. Killed and
// reaped at the end when it still runs.
class Process {
public:
    /// Standard output goes to `out` when given (-1 for /dev/null), standard error to `err`
    /// (-1 for /dev/null); `fd3` becomes the program's descriptor 3.
    Process(const std::vector<std::string>& argv, const std::vector<std::string>& env, int out, int err,
            int fd3 = -1)
    {
        posix_spawn_file_actions_t files;
        posix_spawn_file_actions_init(&files);
        posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        for (const auto& [from, to] : {std::pair{out, STDOUT_FILENO}, std::pair{err, STDERR_FILENO}}) {
            if (from >= 0)
                posix_spawn_file_actions_adddup2(&files, from, to);
            else
                posix_spawn_file_actions_addopen(&files, to, "/dev/null", O_WRONLY, 0);
        }
        if (fd3 >= 0)
            posix_spawn_file_actions_adddup2(&files, fd3, 3);
        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        sigset_t none, ends;
        sigemptyset(&none);
        sigemptyset(&ends);
        for (const int s : {SIGTERM, SIGHUP, SIGINT})
            sigaddset(&ends, s);
        posix_spawnattr_setsigmask(&attr, &none);
        posix_spawnattr_setsigdefault(&attr, &ends);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        std::vector<char*> args, vars;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        for (const std::string& v : env)
            vars.push_back(const_cast<char*>(v.c_str()));
        vars.push_back(nullptr);
        if (posix_spawn(&m_pid, args[0], &files, &attr, args.data(), vars.data()) != 0)
            m_pid = -1;
        posix_spawnattr_destroy(&attr);
        posix_spawn_file_actions_destroy(&files);
    }
    ~Process()
    {
        if (running()) {
            ::kill(m_pid, SIGKILL);
            wait(kStepLimit);
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return m_pid; }
    bool running() const { return m_pid > 0 && !m_status; }

    /// The wait status once it has ended, waiting up to `limit`; nothing while it runs.
    std::optional<int> wait(std::chrono::milliseconds limit)
    {
        const auto until = Clock::now() + limit;
        while (running()) {
            int status = 0;
            const pid_t got = ::waitpid(m_pid, &status, WNOHANG);
            if (got == m_pid)
                m_status = status;
            else if (got < 0 && errno != EINTR)
                break;
            else if (Clock::now() >= until)
                break;
            else
                std::this_thread::sleep_for(kPoll / 3);
        }
        return m_status;
    }

private:
    pid_t m_pid = -1;
    std::optional<int> m_status;
};

// Reads what comes on `fd` until its end or `limit`.
std::string readAll(int fd, std::chrono::milliseconds limit, bool toNewline = false)
{
    std::string text;
    const auto until = Clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        pollfd p{fd, POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, int(left)) <= 0)
            break;
        char buf[512];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        text.append(buf, std::size_t(n));
        if (toNewline && text.find('\n') != std::string::npos)
            break;
    }
    return text;
}

// An X server of its own on a free display, which it picks and names itself.
class XServer {
public:
    explicit XServer(const fs::path& log)
    {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0)
            return;
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        // Without -noreset, xdotool's short connections reset the server whenever it is the only
        // client, and a program connecting just then is turned away.
        m_server.emplace(std::vector<std::string>{OSTREL_XVFB, "-displayfd", "3", "-nolisten", "tcp", "-screen", "0",
                                                  std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) +
                                                      "x24",
                                                  "-dpi", "96", "-noreset"},
                         environmentWith({}), out, out, ends[1]);
        ::close(ends[1]);
        ::close(out);
        const std::string number = readAll(ends[0], kStepLimit, true);
        ::close(ends[0]);
        if (!number.empty() && number.back() == '\n')
            m_display = ":" + number.substr(0, number.size() - 1);
    }
    ~XServer()
    {
        // Ended by SIGTERM, the server removes its lock file and socket.
        if (m_server && m_server->running()) {
            ::kill(m_server->pid(), SIGTERM);
            m_server->wait(kStepLimit);
        }
    }

    /// ":N", or "" when the server did not start.
    const std::string& display() const { return m_display; }
    /// Ends the server, as a logout or a lost remote display does: its clients lose it.
    void stop()
    {
        if (m_server && m_server->running())
            ::kill(m_server->pid(), SIGTERM);
    }

private:
    std::optional<Process> m_server;
    std::string m_display;
};

// Real input and window look-ups on a display, through xdotool.
class Desktop {
public:
    explicit Desktop(std::string display) : m_env(environmentWith({"DISPLAY=" + std::move(display)})) {}

    /// What xdotool prints; nothing when it fails (a window that has just gone, say).
    std::optional<std::string> xdotool(std::vector<std::string> args)
    {
        args.insert(args.begin(), OSTREL_XDOTOOL);
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0)
            return std::nullopt;
        Process tool(args, m_env, ends[1], -1);
        ::close(ends[1]);
        std::string out = readAll(ends[0], kStepLimit);
        ::close(ends[0]);
        const std::optional<int> status = tool.wait(kStepLimit);
        if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0)
            return std::nullopt;
        return out;
    }

    /// The windows shown now.
    std::set<std::string> windows()
    {
        std::istringstream ids(xdotool({"search", "--onlyvisible", "--name", ""}).value_or(""));
        std::set<std::string> shown;
        for (std::string id; ids >> id;)
            shown.insert(id);
        return shown;
    }

    std::string nameOf(const std::string& window)
    {
        std::string name = xdotool({"getwindowname", window}).value_or("");
        if (!name.empty() && name.back() == '\n')
            name.pop_back();
        return name;
    }

    /// Waits for a window not in `before`, of that name unless it is empty; "" after the limit.
    std::string newWindow(const std::set<std::string>& before, const std::string& name = {})
    {
        for (const auto until = Clock::now() + kStepLimit; Clock::now() < until; std::this_thread::sleep_for(kPoll))
            for (const std::string& w : windows())
                if (!before.count(w) && (name.empty() || nameOf(w) == name))
                    return w;
        return {};
    }

    /// Waits until the window is no longer shown; false after `limit`.
    bool gone(const std::string& window, std::chrono::milliseconds limit = kStepLimit)
    {
        for (const auto until = Clock::now() + limit; Clock::now() < until; std::this_thread::sleep_for(kPoll))
            if (!windows().count(window))
                return true;
        return false;
    }

    /// A left click at `at` within the window; then the pointer rests in the screen's corner,
    /// outside every window, so that no tool tip opens a window of its own.
    void click(const std::string& window, QPoint at)
    {
        act({"mousemove", "--window", window, std::to_string(at.x()), std::to_string(at.y()), "click", "1",
             "mousemove", std::to_string(kScreenWidth - 1), std::to_string(kScreenHeight - 1)});
    }

    /// Waits until `window` holds the keyboard focus; false once it is gone or after `limit`.
    /// Keys go where the focus is when they are sent: a program that has not yet taken it for a
    /// window it has just shown or clicked would lose them. There is no window manager to give
    /// the focus on a click; where the program's own request for it came too late for the X
    /// server, the focus is given as a window manager would.
    bool focusOn(const std::string& window, std::chrono::milliseconds limit = kStepLimit)
    {
        auto given = Clock::now() + 1s;
        for (const auto until = Clock::now() + limit; Clock::now() < until; std::this_thread::sleep_for(kPoll)) {
            std::string focus = xdotool({"getwindowfocus", "-f"}).value_or("");
            if (!focus.empty() && focus.back() == '\n')
                focus.pop_back();
            if (focus == window)
                return true;
            if (!windows().count(window))
                return false;
            if (Clock::now() >= given) {
                xdotool({"windowfocus", "--sync", window});
                given = Clock::now() + 1s;
            }
        }
        return false;
    }
    /// Keys sent to `window` once it holds the focus; false when it never does.
    bool keysTo(const std::string& window, const std::vector<std::string>& names)
    {
        std::vector<std::string> args{"key", "--delay", "20"};
        args.insert(args.end(), names.begin(), names.end());
        return focusOn(window) && xdotool(args);
    }
    bool typeTo(const std::string& window, const std::string& text)
    {
        return focusOn(window) && xdotool({"type", "--delay", "5", text});
    }
    void keys(const std::string& window, const std::vector<std::string>& names)
    {
        if (!keysTo(window, names))
            ADD_FAILURE() << "no keys sent to [" << nameOf(window) << "]: it never held the focus";
    }
    void type(const std::string& window, const std::string& text)
    {
        if (!typeTo(window, text))
            ADD_FAILURE() << "nothing typed into [" << nameOf(window) << "]: it never held the focus";
    }

private:
    void act(const std::vector<std::string>& args)
    {
        if (!xdotool(args))
            ADD_FAILURE() << "xdotool " << args[0] << " failed";
    }

    std::vector<std::string> m_env;
};

std::string describe(Desktop& desktop)
{
    std::string text = "windows shown:";
    for (const std::string& w : desktop.windows())
        text += " [" + desktop.nameOf(w) + "]";
    return text;
}

// Where the program's own widgets are, from the same widgets made here: the menu bar lays out
// the same menus, and the grid fills the lower part of the window.
struct MainPlaces {
    QPoint fileMenu, grid;
};

MainPlaces mainWindowPlaces()
{
    testing_support::ScriptedPrompter prompter;
    app::OstrelStartup window(prompter, testing_support::templateDb());
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    QMenuBar* bar = window.menuBar();
    const QRect file = bar->actionGeometry(window.findChild<QMenu*>("mnuFile")->menuAction());
    return {bar->mapTo(&window, file.center()), {window.width() / 2, window.height() * 7 / 8}};
}

// The forms place their controls at fixed positions.
struct FormPlaces {
    QString title;
    QPoint siteName, update;
};

FormPlaces soundFormPlaces()
{
    const auto form = forms::loadNtcForm(forms::kSoundForm, app::Language::English);
    const auto centre = [&form](const char* name) {
        const QWidget* control = form->control(name);
        return control->mapTo(form.get(), control->rect().center());
    };
    return {form->windowTitle(), centre("Txt_4A_SiteName"), centre("Button_Next")};
}

// The File menu's items, in their order.
enum class FileItem { OpenTxt, OpenDB };

// The real program on an X server of its own, its settings and output in a folder of the
// test's; a client of the session manager whose address is given, and of none otherwise.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& sessionManager = {})
        : m_server(m_home.path() / "xvfb.log"), desktop(m_server.display()), m_log(m_home.path() / "program.log")
    {
        if (m_server.display().empty())
            return;
        const int out = ::open(m_log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        program.emplace(std::vector<std::string>{OSTREL_PROGRAM},
                        environmentWith({"DISPLAY=" + m_server.display(), "QT_QPA_PLATFORM=xcb",
                                         sessionManager.empty() ? "SESSION_MANAGER" : "SESSION_MANAGER=" + sessionManager,
                                         "ICEAUTHORITY=" + (m_home.path() / "iceauthority").string(),
                                         "XDG_CONFIG_HOME=" + (m_home.path() / "config").string(),
                                         "XDG_CACHE_HOME=" + (m_home.path() / "cache").string(),
                                         "XDG_DATA_HOME=" + (m_home.path() / "data").string()}),
                        out, out);
        ::close(out);
        if (program->pid() > 0)
            mainWindow = desktop.newWindow({}, app::kMainCaption);
    }

    /// Whether the program runs and shows its window.
    bool started() const { return !mainWindow.empty(); }
    /// What the program wrote to its standard output and error.
    std::string output() const { return readFile(m_log); }
    /// What a failure shows: the windows, the program's output and the X server's.
    std::string said() { return describe(desktop) + "\nthe program said:\n" + output() + "\nthe X server said:\n" + readFile(m_home.path() / "xvfb.log"); }
    /// Ends the display, as a logout or a lost remote display does.
    void stopDisplay() { m_server.stop(); }

    /// File > the item, and `path` taken by the file dialog.
    [[nodiscard]] bool pick(FileItem item, const std::string& path)
    {
        std::set<std::string> shown = desktop.windows();
        desktop.click(mainWindow, m_places.fileMenu);  // which also gives the window the focus
        if (desktop.newWindow(shown).empty())
            return fail("no File menu");
        shown = desktop.windows();
        std::vector<std::string> keys(std::size_t(item) + 1, "Down");
        keys.push_back("Return");
        desktop.keys(mainWindow, keys);
        const std::string picker = desktop.newWindow(shown);
        if (picker.empty())
            return fail("no file dialog");
        // Each key waits for the dialog to hold the focus, which it takes back after its own box.
        // The completion list that opens under the name as it is typed may take a Return for
        // itself: Return again, and then the name typed anew, until the dialog takes it.
        for (int tries = 0; tries < 4 && desktop.windows().count(picker); ++tries) {
            const std::set<std::string> before = desktop.windows();
            if (tries % 2 == 0 && !(desktop.keysTo(picker, {"ctrl+a"}) && desktop.typeTo(picker, path)))
                continue;
            if (!desktop.keysTo(picker, {"Return"}) || desktop.gone(picker, 1500ms))
                continue;
            for (const std::string& w : desktop.windows())  // the dialog's box for a name it cannot find
                if (!before.count(w) && w != picker && desktop.keysTo(w, {"Return"}))
                    desktop.gone(w);
        }
        return desktop.gone(picker) || fail("the file dialog did not take " + path);
    }

    /// The grid's row picked (its only one), and its form shown: the form's window.
    [[nodiscard]] std::string openTheNotice()
    {
        const std::set<std::string> shown = desktop.windows();
        desktop.click(mainWindow, m_places.grid);
        desktop.keys(mainWindow, {"Down", "Return"});
        const std::string form = desktop.newWindow(shown, m_form.title.toStdString());
        if (form.empty())
            fail("the form did not open");
        return form;
    }

    /// A new site name typed into the open form and saved with Update and Yes; the form stays.
    [[nodiscard]] bool saveSiteName(const std::string& form, const std::string& name)
    {
        desktop.click(form, m_form.siteName);
        desktop.keys(form, {"ctrl+a"});
        desktop.type(form, name);
        const std::set<std::string> shown = desktop.windows();
        desktop.click(form, m_form.update);
        const std::string question = desktop.newWindow(shown, "Save Notice");
        if (question.empty())
            return fail("no question before the save");
        desktop.keys(question, {"Return"});
        if (!desktop.gone(question))
            return fail("the question stayed");
        const std::string saved = desktop.newWindow(shown, platform::kAppTitle);
        if (saved.empty())
            return fail("the save was not confirmed");
        desktop.keys(saved, {"Return"});
        return (desktop.gone(saved) && desktop.windows().count(form)) || fail("the form did not stay");
    }

    /// File > OpenDB on `database`, its notice's form opened and a new site name saved in it:
    /// the form's window, "" on failure.
    [[nodiscard]] std::string saveInAForm(const std::string& database, const std::string& name)
    {
        if (!pick(FileItem::OpenDB, database))
            return {};
        const std::string form = openTheNotice();
        return !form.empty() && saveSiteName(form, name) ? form : std::string();
    }

private:
    bool fail(const std::string& what)
    {
        ADD_FAILURE() << what << "; " << said();
        return false;
    }

    TempDir m_home;  // the X server's log, the program's output and settings
    XServer m_server;

public:
    Desktop desktop;
    std::optional<Process> program;
    std::string mainWindow;

private:
    fs::path m_log;
    MainPlaces m_places = mainWindowPlaces();
    FormPlaces m_form = soundFormPlaces();
};

// The names in a folder.
std::set<std::string> filesIn(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// The site name of the only notice, read from the database file alone (copied without its side
// files): what a copy, a backup or the next user of that file would see.
std::string siteNameInTheFileAlone(const std::string& path)
{
    TempDir copy;
    const fs::path alone = copy.path() / "alone.mdb";
    fs::copy_file(path, alone);
    db::Connection reader;
    if (!reader.open(alone.string(), db::Connection::Access::Unchanging))
        return "(not a database: " + reader.lastError().message + ")";
    db::Statement st(reader, "SELECT site_name FROM fmtv_terra");
    return st.step() == db::Step::Row ? st.text(0) : "(no notice)";
}

// A database of one sound notice named "BEFORE", alone in its folder.
struct OneNoticeDb {
    testing_support::NoticeDb notices;
    std::string path;
    OneNoticeDb()
    {
        database::ContourOutcome outcome;
        EXPECT_TRUE(database::storeNtc(testing_support::readNotice("t_notice_type = T01\nt_action = ADD\n"
                                                                   "t_fragment = GE84\nt_ctry = F\nt_site_name = "
                                                                   "BEFORE\nt_freq_assgn = 98.5\nt_long = +0044930\n"
                                                                   "t_lat = +454530\nt_polar = H\n"),
                                       notices.conn, outcome, false, notices.prompter.report()));
        EXPECT_TRUE(database::closeDB(notices.conn, notices.prompter.report()));
        path = notices.path();
    }
    /// The database closed as Exit leaves it: the file alone, in rollback-journal mode.
    void expectClosedAlone(const std::string& output) const
    {
        EXPECT_EQ(filesIn(notices.dir.path()), std::set<std::string>{"notices.mdb"}) << output;
        EXPECT_EQ(readFile(path).substr(18, 2), std::string("\1\1")) << "a file in rollback-journal mode";
    }
};

bool haveDesktopTools()
{
    return *OSTREL_XVFB && *OSTREL_XDOTOOL;
}
constexpr const char* kNoDesktopTools = "Xvfb or xdotool is missing (scripts/install-deps installs them)";

struct EndSignal {
    int number;
    const char* name;
};

void PrintTo(const EndSignal& s, std::ostream* out) { *out << s.name; }

class EndBySignal : public testing::TestWithParam<EndSignal> {};

INSTANTIATE_TEST_SUITE_P(ThreeSignals, EndBySignal,
                         testing::Values(EndSignal{SIGTERM, "SIGTERM"}, EndSignal{SIGHUP, "SIGHUP"},
                                         EndSignal{SIGINT, "SIGINT"}),
                         [](const auto& param) { return std::string(param.param.name); });

// A form is open on a notice whose change was saved; the signal comes. The save must be in the
// database file, which stands alone, and the program must have ended by that signal.
TEST_P(EndBySignal, ASignalWhileAFormIsOpenLeavesOneFileHoldingTheSave)
{
    const EndSignal sig = GetParam();
    if (!haveDesktopTools())
        GTEST_SKIP() << kNoDesktopTools;
    const OneNoticeDb db;
    RunningProgram run;
    ASSERT_TRUE(run.started()) << run.said();
    const std::string form = run.saveInAForm(db.path, "SIGNALLED");
    ASSERT_FALSE(form.empty());
    ASSERT_TRUE(fs::exists(db.path + "-wal")) << "the save is in the open database's log";

    ASSERT_EQ(::kill(run.program->pid(), sig.number), 0);
    const std::optional<int> status = run.program->wait(kStepLimit);
    ASSERT_TRUE(status) << "the program did not end; " << run.said();
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == sig.number)
        << "ended by that signal, not by " << (WIFSIGNALED(*status) ? "another signal" : "exit");
    db.expectClosedAlone(run.output());
    EXPECT_EQ(siteNameInTheFileAlone(db.path), "SIGNALLED");
}

// The session asks its programs to save, the first step of a logout, and the logout is then
// cancelled: the database file alone held every save at the request, and the program goes on
// with its database open, its form saving as before.
TEST(SessionEnd, ALogoutThatIsCancelledLeavesTheProgramAsItWas)
{
    if (!haveDesktopTools())
        GTEST_SKIP() << kNoDesktopTools;
    testing_support::SessionManager manager;
    ASSERT_FALSE(manager.address().empty());
    const OneNoticeDb db;
    RunningProgram run(manager.address());
    ASSERT_TRUE(run.started()) << run.said();
    ASSERT_TRUE(manager.waitForClient(kStepLimit)) << run.said();
    const std::string form = run.saveInAForm(db.path, "BEFORE LOGOUT");
    ASSERT_FALSE(form.empty());

    EXPECT_EQ(manager.saveBeforeShutdown(kStepLimit), std::optional<bool>(true)) << run.said();
    EXPECT_EQ(siteNameInTheFileAlone(db.path), "BEFORE LOGOUT");
    manager.cancelShutdown();

    ASSERT_TRUE(run.saveSiteName(form, "AFTER CANCEL"));
    ASSERT_EQ(::kill(run.program->pid(), SIGTERM), 0);
    ASSERT_TRUE(run.program->wait(kStepLimit)) << run.said();
    db.expectClosedAlone(run.output());
    EXPECT_EQ(siteNameInTheFileAlone(db.path), "AFTER CANCEL");
    EXPECT_EQ(run.output().find("not open"), std::string::npos) << run.output();
}

// An import that the end of the program interrupts: a signal while it stores notices or at
// either of its questions, or a logout at its duplicate question. It stops after the notice
// under way and the program ends, leaving the new database alone (or the old one, untouched, at
// the question whether to replace it) and a whole report saying which notices were not stored.
TEST(SessionEnd, AnImportEndsPromptlyAndSaysWhyItStopped)
{
    enum class At { Storing, Replacing, Duplicate };
    struct Case {
        const char* name;
        At at;
        bool logout;  // the session's end rather than SIGTERM
    };
    if (!haveDesktopTools())
        GTEST_SKIP() << kNoDesktopTools;
    const std::string sound = "t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 98.5\nt_long = +0060812\n"
                              "t_lat = +471215\n";
    for (const Case& c : {Case{"a signal while notices are stored", At::Storing, false},
                          Case{"a signal at the question whether to replace the database", At::Replacing, false},
                          Case{"a signal at the duplicate question", At::Duplicate, false},
                          Case{"a logout at the duplicate question", At::Duplicate, true}}) {
        SCOPED_TRACE(c.name);
        // Many more notices than the program stores before the end comes.
        const int count = c.at == At::Storing ? 40000 : 3000;
        std::vector<std::string> bodies;
        if (c.at == At::Duplicate)
            bodies = {sound, sound};
        for (int i = 0; int(bodies.size()) < count; ++i)
            bodies.push_back("t_notice_type = T01\nt_action = ADD\nt_freq_assgn = " + std::to_string(88000 + i) + "\n");
        TempDir folder;
        const fs::path text = folder.path() / "batch.txt";
        const std::string mdb = (folder.path() / "batch.mdb").string();
        std::ofstream(text, std::ios::binary) << testing_support::noticeFile(bodies);
        if (c.at == At::Replacing)
            fs::copy_file(testing_support::templateDb(), mdb);
        const std::string before = readFile(mdb);

        testing_support::SessionManager manager;
        RunningProgram run(c.logout ? manager.address() : std::string());
        ASSERT_TRUE(run.started()) << run.said();
        if (c.logout) {
            ASSERT_TRUE(manager.waitForClient(kStepLimit)) << run.said();
        }
        std::set<std::string> shown = run.desktop.windows();
        ASSERT_TRUE(run.pick(FileItem::OpenTxt, text.string()));
        if (c.at == At::Storing) {
            for (const auto until = Clock::now() + kStepLimit; !fs::exists(mdb + "-wal") && Clock::now() < until;)
                std::this_thread::sleep_for(kPoll);
            ASSERT_TRUE(fs::exists(mdb + "-wal")) << "the import did not start; " << run.said();
        } else {
            const char* title = c.at == At::Replacing ? platform::kAppTitle : "DataBase : Error";
            ASSERT_FALSE(run.desktop.newWindow(shown, title).empty()) << "no question; " << run.said();
        }

        if (c.logout) {
            EXPECT_EQ(manager.saveBeforeShutdown(kStepLimit), std::optional<bool>(true)) << run.said();
            manager.die();
        } else {
            ASSERT_EQ(::kill(run.program->pid(), SIGTERM), 0);
        }
        const std::optional<int> status = run.program->wait(kStepLimit);
        ASSERT_TRUE(status) << "the program did not end; " << run.said();
        if (c.logout)
            EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << run.said();
        else
            EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGTERM) << run.said();

        std::set<std::string> files = filesIn(folder.path());
        if (c.at == At::Replacing) {
            EXPECT_EQ(files, (std::set<std::string>{"batch.mdb", "batch.txt"})) << run.said();
            EXPECT_TRUE(readFile(mdb) == before) << "the database is not replaced";
            continue;
        }
        std::string report;
        for (const std::string& name : files)
            if (name.starts_with("batch_duplicat_report_") && name.ends_with(".txt"))
                report = readFile(folder.path() / name);
        EXPECT_EQ(files.size(), 3u) << "the notice file, the database and the report alone; " << run.said();
        EXPECT_EQ(readFile(mdb).substr(18, 2), std::string("\1\1")) << "a file in rollback-journal mode";
        db::Connection reader;
        ASSERT_TRUE(reader.open(mdb, db::Connection::Access::Unchanging));
        db::Statement st(reader, "SELECT count(*) FROM fmtv_terra");
        ASSERT_EQ(st.step(), db::Step::Row);
        const std::int64_t stored = st.integer(0).value_or(-1);
        EXPECT_LT(stored, count) << "the import stopped before the end of the file";
        const std::string said = "The import into " + mdb +
                                 " was stopped because the program was ended: the notices of the file from No " +
                                 std::to_string(stored + 1) + " on were not stored.";
        EXPECT_NE(report.find(said + "\r\n"), std::string::npos) << report;
        EXPECT_EQ(report.find("duplicate check failed"), std::string::npos) << report;
        EXPECT_NE(run.output().find(said), std::string::npos) << run.output();
    }
}

// The X server ends under the program (a logout in which the session's processes are stopped
// together, a lost remote display), alone or as SIGTERM comes: the program ends, leaving the
// database as a signal does.
TEST(SessionEnd, TheDisplayGoingAwayLeavesOneFileHoldingTheSave)
{
    if (!haveDesktopTools())
        GTEST_SKIP() << kNoDesktopTools;
    for (const bool signalled : {false, true}) {
        SCOPED_TRACE(signalled ? "the display ends as SIGTERM comes" : "the display ends");
        const OneNoticeDb db;
        RunningProgram run;
        ASSERT_TRUE(run.started()) << run.said();
        const std::string form = run.saveInAForm(db.path, "DISPLAY GONE");
        ASSERT_FALSE(form.empty());

        if (signalled)
            ::kill(run.program->pid(), SIGTERM);
        run.stopDisplay();
        ASSERT_TRUE(run.program->wait(kStepLimit)) << "the program did not end; " << run.said();
        db.expectClosedAlone(run.output());
        EXPECT_EQ(siteNameInTheFileAlone(db.path), "DISPLAY GONE");
    }
}

// The session ends with a database whose log finds no room on its disk to be folded in: nothing
// is asked (no export offered) or shown in a box, and what Exit would show goes to standard error.
TEST(SessionEnd, NothingIsAskedAndACloseWithoutRoomIsToldOnStandardError)
{
    testing_support::SmallFileSystem disk(16 << 20);
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small file system needs root";
    std::vector<std::string> bodies;
    for (int i = 0; i < 1200; ++i)
        bodies.push_back("t_notice_type = T01\nt_action = ADD\nt_freq_assgn = " + std::to_string(88000 + i) +
                         "\nt_site_name = SITE " + std::to_string(i) + "\nt_remarks = " + std::string(200, 'r') + "\n");
    testing_support::ScriptedPrompter prompter;
    app::OstrelStartup window(prompter, testing_support::templateDb());
    const fs::path file = disk.path() / "batch.txt";
    std::ofstream(file, std::ios::binary) << testing_support::noticeFile(bodies);
    prompter.picks = {file.string()};
    window.findChild<QAction*>("mnuFileOpenTxt")->trigger();
    ASSERT_TRUE(window.state().dbConnection.isOpen());
    ASSERT_TRUE(prompter.messages.empty());
    window.state().dbChanged = true;  // Exit would offer the export now
    disk.leaveFree(0);

    testing::internal::CaptureStderr();
    window.leaveDatabaseUnasked();
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(window.state().dbConnection.isOpen());
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_TRUE(prompter.messages.empty());
    const std::string mdb = fs::canonical(disk.path() / "batch.mdb").string();
    EXPECT_TRUE(told.starts_with(std::string(platform::kAppTitle) + ": The database " + mdb +
                                 " could not be closed into one file ("))
        << told;
    EXPECT_NE(told.find("Its latest changes are in " + mdb + "-wal, which belongs with it"), std::string::npos);
    EXPECT_FALSE(fs::exists(mdb + "-lock")) << "the lock is let go";
}

// The handler itself only writes to a pipe: the call comes from the event loop on the main
// thread, also from the loop of a modal dialog.
TEST(EndSignals, EachSignalIsHandledOnTheMainThreadInsideAModalDialog)
{
    QDialog dialog;
    std::multiset<int> seen;
    int fromDialog = 0, fromMainThread = 0;
    platform::EndSignals ends([&](int signal) {
        seen.insert(signal);
        fromDialog += QApplication::activeModalWidget() == &dialog;
        fromMainThread += QThread::currentThread() == QCoreApplication::instance()->thread();
        if (seen.size() == 3)
            dialog.done(0);
    });
    ASSERT_TRUE(ends.installed());
    QTimer::singleShot(0, &dialog, [] {
        for (const int s : {SIGHUP, SIGINT, SIGTERM})
            ::kill(::getpid(), s);
    });
    QTimer::singleShot(5000, &dialog, [&dialog] { dialog.done(1); });
    EXPECT_EQ(dialog.exec(), 0) << "not all signals came";
    EXPECT_EQ(seen, (std::multiset<int>{SIGHUP, SIGINT, SIGTERM}));
    EXPECT_EQ(fromDialog, 3);
    EXPECT_EQ(fromMainThread, 3);
}

// A program started with a signal ignored (nohup, a background job) keeps it ignored.
TEST(EndSignals, ASignalIgnoredWhenTheProgramStartedStaysIgnored)
{
    struct sigaction ignore {}, before {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(::sigaction(SIGHUP, &ignore, &before), 0);
    std::vector<int> seen;
    {
        platform::EndSignals ends([&seen](int signal) { seen.push_back(signal); });
        ::kill(::getpid(), SIGHUP);
        ::kill(::getpid(), SIGTERM);
        EXPECT_TRUE(QTest::qWaitFor([&seen] { return !seen.empty(); }, 5000));
        QTest::qWait(50);
    }
    ::sigaction(SIGHUP, &before, nullptr);
    EXPECT_EQ(seen, std::vector<int>{SIGTERM});
}

}  // namespace
