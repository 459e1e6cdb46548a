// The program told to end by a signal (a logout, a shutdown, kill) leaves its database as Exit
// does: one file in rollback-journal mode holding every save, nothing beside it. The real
// program runs on an X server of its own and is driven with real input through xdotool. At the
// end of the session nothing is asked, and the signals reach the event loop, modal or not.
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

// The environment of this process with `changes` ("NAME=value") put in.
std::vector<std::string> environmentWith(const std::vector<std::string>& changes)
{
    std::vector<std::string> env = changes;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        if (std::none_of(changes.begin(), changes.end(), [&](const std::string& c) { return c.starts_with(name); }))
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
    void keys(const std::vector<std::string>& names)
    {
        std::vector<std::string> args{"key", "--delay", "20"};
        args.insert(args.end(), names.begin(), names.end());
        act(args);
    }
    void type(const std::string& text) { act({"type", "--delay", "5", text}); }

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
    if (!*OSTREL_XVFB || !*OSTREL_XDOTOOL)
        GTEST_SKIP() << "Xvfb or xdotool is missing (scripts/install-deps installs them)";
    std::string path;
    testing_support::NoticeDb notices;  // its folder holds the database alone
    {
        database::ContourOutcome outcome;
        ASSERT_TRUE(database::storeNtc(testing_support::readNotice("t_notice_type = T01\nt_action = ADD\n"
                                                                   "t_fragment = GE84\nt_ctry = F\nt_site_name = "
                                                                   "BEFORE\nt_freq_assgn = 98.5\nt_long = +0044930\n"
                                                                   "t_lat = +454530\nt_polar = H\n"),
                                       notices.conn, outcome, false, notices.prompter.report()));
        ASSERT_TRUE(database::closeDB(notices.conn, notices.prompter.report()));
        path = notices.path();
    }
    const MainPlaces places = mainWindowPlaces();
    const FormPlaces form = soundFormPlaces();

    TempDir home;  // the X server's log, the program's output and settings
    XServer server(home.path() / "xvfb.log");
    ASSERT_FALSE(server.display().empty()) << readFile(home.path() / "xvfb.log");
    Desktop desktop(server.display());
    const fs::path log = home.path() / "program.log";
    const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    Process program({OSTREL_PROGRAM},
                    environmentWith({"DISPLAY=" + server.display(), "QT_QPA_PLATFORM=xcb",
                                     "XDG_CONFIG_HOME=" + (home.path() / "config").string(),
                                     "XDG_CACHE_HOME=" + (home.path() / "cache").string(),
                                     "XDG_DATA_HOME=" + (home.path() / "data").string()}),
                    out, out);
    ::close(out);
    ASSERT_GT(program.pid(), 0);
    const auto said = [&] {
        return describe(desktop) + "\nthe program said:\n" + readFile(log) + "\nthe X server said:\n" +
               readFile(home.path() / "xvfb.log");
    };

    // File > OpenDB, the database's path typed into the file dialog.
    const std::string mainWindow = desktop.newWindow({}, app::kMainCaption);
    ASSERT_FALSE(mainWindow.empty()) << said();
    std::set<std::string> shown = desktop.windows();
    desktop.click(mainWindow, places.fileMenu);
    ASSERT_FALSE(desktop.newWindow(shown).empty()) << "no File menu; " << said();
    shown = desktop.windows();
    desktop.keys({"Down", "Down", "Return"});
    const std::string picker = desktop.newWindow(shown);
    ASSERT_FALSE(picker.empty()) << "no file dialog; " << said();
    // The completion list that opens under the name as it is typed may take a Return for
    // itself: Return again, and then the name typed anew, until the dialog takes it.
    for (int tries = 0; tries < 4 && desktop.windows().count(picker); ++tries) {
        if (tries % 2 == 0) {
            desktop.keys({"ctrl+a"});
            desktop.type(path);
        }
        desktop.keys({"Return"});
        desktop.gone(picker, 1500ms);
    }
    ASSERT_TRUE(desktop.gone(picker)) << said();

    // The notice's row picked in the grid (its only row), and shown in its form.
    shown = desktop.windows();
    desktop.click(mainWindow, places.grid);
    desktop.keys({"Down", "Return"});
    const std::string formWindow = desktop.newWindow(shown, form.title.toStdString());
    ASSERT_FALSE(formWindow.empty()) << "the form did not open; " << said();

    // A new site name, saved with Update and Yes; the form stays open.
    desktop.click(formWindow, form.siteName);
    desktop.keys({"ctrl+a"});
    desktop.type("SIGNALLED");
    shown = desktop.windows();
    desktop.click(formWindow, form.update);
    const std::string question = desktop.newWindow(shown, "Save Notice");
    ASSERT_FALSE(question.empty()) << said();
    desktop.keys({"Return"});
    ASSERT_TRUE(desktop.gone(question)) << said();
    const std::string saved = desktop.newWindow(shown, platform::kAppTitle);
    ASSERT_FALSE(saved.empty()) << said();
    desktop.keys({"Return"});
    ASSERT_TRUE(desktop.gone(saved)) << said();
    ASSERT_TRUE(desktop.windows().count(formWindow));
    ASSERT_TRUE(fs::exists(path + "-wal")) << "the save is in the open database's log";

    ASSERT_EQ(::kill(program.pid(), sig.number), 0);
    const std::optional<int> status = program.wait(kStepLimit);
    ASSERT_TRUE(status) << "the program did not end; " << said();
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == sig.number)
        << "ended by that signal, not by " << (WIFSIGNALED(*status) ? "another signal" : "exit");

    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(notices.dir.path()))
        files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"notices.mdb"}) << readFile(log);
    EXPECT_EQ(readFile(path).substr(18, 2), std::string("\1\1")) << "a file in rollback-journal mode";
    db::Connection reader;
    ASSERT_TRUE(reader.open(path, db::Connection::Access::Unchanging));
    db::Statement st(reader, "SELECT site_name FROM fmtv_terra");
    ASSERT_EQ(st.step(), db::Step::Row);
    EXPECT_EQ(st.text(0), "SIGNALLED");
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
