// tavu32d.dll's 64-bit twin under wine64, loaded by a Windows program (WindowsCaller.cpp) in one
// wine prefix made for the run: it reads its settings from the Windows folder, finds files on the
// drives of the prefix as Windows resolves them, and gives the bits of libtavu32d.so.
#include "MapFixtures.h"
#include "RoutineTable.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using testing_support::ChildResult;
using testing_support::TempDir;

namespace {

// The folders of the run, under one temporary folder:
//   prefix/        the wine prefix; its drive_c/windows holds the settings
//   tmp/           the temporary folder of the wine processes
//   d/Maps/        drive D:, the data folder the settings name as D:\MAPS
//   r/GEO/         drive R:, a folder of the fixed search
//   r/work/        the caller's current folder, R:\work
//   decoy/GEO/     what a TAVU_DRIVE_R variable names; the DLL must not look there
//   native/        the Windows folder of the native run, naming d/Maps
class WindowsLibrary : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (std::string(GEO_WINE64).empty() || std::string(GEO_WINESERVER).empty())
            s_skip = "wine64 is not installed";
        else if (std::string(GEO_WINDOWS_CALLER).empty())
            s_skip = "no x86_64-w64-mingw32 compiler for the Windows library";
        if (!s_skip.empty())
            return;
        s_dir = std::make_unique<TempDir>();
        const fs::path& dir = s_dir->path();
        fs::create_directories(dir / "tmp");
        s_ready = run({GEO_WINE64, "wineboot", "-i"});  // makes the prefix, the slow part
        if (!s_ready)
            return;
        for (const char* folder : {"d/Maps", "r/GEO", "r/work", "decoy/GEO", "native", "nodrive"})
            fs::create_directories(dir / folder);
        const auto map = map_fixtures::twoCountries();
        s_dir->write("d/Maps/GEOIDX1.BIN", mapfiles::indexFile(map.entries));
        s_dir->write("d/Maps/GEOPNT1.BIN", mapfiles::mainPointFile(map.lines));
        s_dir->write("prefix/drive_c/windows/VINTAR_SOFT.INI", mapfiles::settingsFile("D:\\MAPS", "D:\\local\\"));
        s_dir->write("native/VINTAR_SOFT.INI",
                     mapfiles::settingsFile((dir / "d/Maps").string(), (dir / "d/local").string()));
        s_dir->write("r/GEO/ONLYONR.TXT", "R");
        s_dir->write("r/work/CWDONLY.TXT", "current folder");
        s_dir->write("decoy/GEO/DECOY.TXT", "decoy");
        s_dir->write("prefix/drive_c/ONC.TXT", "C");
        fs::create_symlink(dir / "d", dir / "prefix/dosdevices/d:");
        fs::create_symlink(dir / "r", dir / "prefix/dosdevices/r:");
    }

    // Ends the prefix's wine processes, then removes the folders.
    static void TearDownTestSuite()
    {
        if (s_dir)
            (void)run({GEO_WINESERVER, "-k"});
        s_dir.reset();
    }

    void SetUp() override
    {
        if (!s_skip.empty())
            GTEST_SKIP() << s_skip;
        ASSERT_TRUE(s_ready) << "the wine prefix could not be made";
    }

    // The environment of every wine process: the prefix, quiet, no desktop, no Mono or Gecko,
    // and a temporary folder of the run's own, where the wine server leaves its socket folder.
    // Wine processes that stay in the background hold no stream of the test.
    static void wineEnvironment()
    {
        (void)std::freopen("/dev/null", "w", stderr);
        setenv("WINEPREFIX", (s_dir->path() / "prefix").c_str(), 1);
        setenv("TMPDIR", (s_dir->path() / "tmp").c_str(), 1);
        setenv("WINEDEBUG", "-all", 1);
        setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
    }

    // Runs a program with the wine environment, its output thrown away; true when it succeeds.
    static bool run(const std::vector<std::string>& command)
    {
        const pid_t pid = fork();
        if (pid == 0) {
            wineEnvironment();
            (void)std::freopen("/dev/null", "w", stdout);
            exec(command);
        }
        int status = 0;
        return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    [[noreturn]] static void exec(const std::vector<std::string>& command)
    {
        std::vector<char*> argv;
        for (const std::string& a : command)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }

    // The Windows caller under wine, in R:\work, with a TAVU_DRIVE_R variable naming the decoy.
    static ChildResult caller(const std::vector<std::string>& arguments)
    {
        return testing_support::runInChild([&arguments] {
            wineEnvironment();
            const std::string decoy = "Z:" + (s_dir->path() / "decoy").string();
            setenv("TAVU_DRIVE_R", decoy.c_str(), 1);
            if (chdir((s_dir->path() / "r/work").c_str()) != 0)
                _exit(126);
            std::vector<std::string> command = {GEO_WINE64, GEO_WINDOWS_CALLER, GEO_WINDOWS_DLL};
            command.insert(command.end(), arguments.begin(), arguments.end());
            exec(command);
        });
    }

    static inline std::string s_skip;
    static inline bool s_ready = false;
    static inline std::unique_ptr<TempDir> s_dir;
};

}  // namespace

TEST_F(WindowsLibrary, FindsFilesThroughTheSettingsAndTheDrivesAsWindowsDoes)
{
    const ChildResult r = caller({"find", "GEOPNT1.BIN", "ONLYONR.TXT", "CWDONLY.TXT", "ONC.TXT", "DECOY.TXT"});
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output,
              "GEOPNT1.BIN=D:\\MAPS\\GEOPNT1.BIN\n"  // the settings' folder, in the settings' case
              "ONLYONR.TXT=R:\\GEO\\ONLYONR.TXT\n"    // the fixed search on drive R
              "CWDONLY.TXT=R:CWDONLY.TXT\n"           // R's current folder; not drive C's
              "ONC.TXT=C:ONC.TXT\n"                   // C's current folder is its root here
              "DECOY.TXT not found\n");               // no drive variable is read
}

TEST_F(WindowsLibrary, GivesTheBitsOfTheSharedLibrary)
{
    const ChildResult native = testing_support::runInChild([] {
        setenv("WINDIR", (s_dir->path() / "native").c_str(), 1);
        for (const char* drive : {"TAVU_DRIVE_C", "TAVU_DRIVE_M", "TAVU_DRIVE_N", "TAVU_DRIVE_R"})
            setenv(drive, (s_dir->path() / "nodrive").c_str(), 1);
        void* library = dlopen(GEO_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!library)
            _exit(125);
        const std::string out =
            routine_table::run([library](const char* plain, const char*) { return dlsym(library, plain); });
        std::fwrite(out.data(), 1, out.size(), stdout);
    });
    const ChildResult windows = caller({"table"});
    ASSERT_EQ(native.status, 0) << native.output;
    ASSERT_EQ(windows.status, 0) << windows.output;
    // The map rows found both administrations: the files were read on both sides.
    EXPECT_NE(native.output.find("GEOPLC 10: [WWW]"), std::string::npos) << native.output;
    EXPECT_NE(native.output.find("[EEE]"), std::string::npos) << native.output;
    EXPECT_EQ(native.output.find("missing"), std::string::npos) << native.output;

    // Line by line, so that a difference names its routine and row.
    std::istringstream n(native.output), w(windows.output);
    int lines = 0;
    for (std::string a, b; std::getline(n, a);) {
        ++lines;
        ASSERT_TRUE(std::getline(w, b)) << "the Windows run ended before: " << a;
        EXPECT_EQ(b, a);
    }
    EXPECT_GT(lines, 900);
    EXPECT_EQ(windows.output.size(), native.output.size());
}
