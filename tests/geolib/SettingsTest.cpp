#include "tavu32d.h"

#include "core/FixedText.h"
#include "core/Settings.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;
using testing_support::TempDir;

namespace {

// Drives C, M, N and R and the Windows folder in a temporary tree; the environment is put back
// afterwards.
class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : kVariables) {
            const char* v = std::getenv(name);
            m_saved.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
            unsetenv(name);
        }
        for (const char drive : {'C', 'M', 'N', 'R'})
            fs::create_directories(dir.path() / std::string(1, drive));
        fs::create_directories(dir.path() / "windows");
        setenv("WINDIR", (dir.path() / "windows").c_str(), 1);
        setenv("TAVU_DRIVE_C", (dir.path() / "C").c_str(), 1);
        setenv("TAVU_DRIVE_M", (dir.path() / "M").c_str(), 1);
        setenv("TAVU_DRIVE_R", (dir.path() / "R").c_str(), 1);
    }

    void TearDown() override
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

    fs::path file(const std::string& relative)
    {
        const fs::path p = dir.path() / relative;
        fs::create_directories(p.parent_path());
        dir.write(fs::relative(p, dir.path()).string(), "data");
        return p;
    }

    void settings(const std::string& text) { dir.write("windows/VINTAR_SOFT.INI", text); }

    // GEOGETF on a name, with the given usable length.
    std::pair<bool, std::string> getFile(const std::string& name, int32_t length = 124)
    {
        char path[124];
        geo::toFixed(path, 124, name);
        int32_t found = 0;
        GEOGETF(&length, path, &found);
        return {found == -1, std::string(geo::trimRight(std::string(path, 124)))};
    }

    TempDir dir;

private:
    static constexpr const char* kVariables[] = {"WINDIR", "TAVU_DRIVE_C", "TAVU_DRIVE_M", "TAVU_DRIVE_N",
                                                 "TAVU_DRIVE_R", "TAVU_DRIVE_D"};
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

}  // namespace

TEST_F(Settings, TheConfiguredFolderComesFirstWithOrWithoutItsSeparator)
{
    const fs::path data = file("data/MYFILE.DAT");
    file("C/GEO/MYFILE.DAT");
    for (const std::string& folder : {(dir.path() / "data").string(), (dir.path() / "data").string() + "\\",
                                     (dir.path() / "data").string() + "/"}) {
        settings("; maps\r\n[Other]\r\nTAVU_DataFileDir=/nowhere\r\n[TAVU]\r\n  tavu_datafiledir = " + folder +
                 "  \r\n");
        EXPECT_EQ(getFile("MYFILE.DAT"), std::make_pair(true, data.string())) << folder;
    }
}

TEST_F(Settings, AFolderWithoutTheFileFallsThroughToTheDriveSearch)
{
    settings("[TAVU]\nTAVU_DataFileDir=" + (dir.path() / "empty").string() + "\n");
    const fs::path onR = file("R/GEO/GEOPNT1.BIN");
    EXPECT_EQ(geo::locateFile("XP"), onR.string());
    const fs::path onC = file("C/TAVU/GEOPNT1.BIN");
    file("M/GEO/GEOPNT1.BIN");
    EXPECT_EQ(geo::locateFile("XP"), onC.string()) << "drive C comes before M and R";
    const fs::path first = file("C/VINTAR_SOFT/TAVU/GEOPNT1.BIN");
    EXPECT_EQ(geo::locateFile("XP"), first.string()) << "folders in their order within a drive";
}

TEST_F(Settings, LocalFilesUseTheirOwnFolderOnly)
{
    file("main/LCLIDX1.BIN");
    settings("[TAVU]\nTAVU_DataFileDir=" + (dir.path() / "main").string() + "\n");
    EXPECT_EQ(geo::locateFile("XLI"), "") << "the main data folder is not for local files";
    const fs::path local = file("local/LCLIDX1.BIN");
    settings("[TAVU]\nTAVU_DataFileDir=" + (dir.path() / "main").string() + "\nLocal_DataFileDir=\"" +
             (dir.path() / "local").string() + "\"\n");
    EXPECT_EQ(geo::locateFile("XLI"), local.string());
}

TEST_F(Settings, WindowsPathsAndLetterCaseAreFound)
{
    setenv("TAVU_DRIVE_D", (dir.path() / "D").c_str(), 1);
    const fs::path maps = file("D/Maps/Tavu/geoidx1.bin");
    settings("[TAVU]\nTAVU_DataFileDir=D:\\MAPS\\TAVU\n");
    EXPECT_EQ(geo::locateFile("XI"), maps.string());
    EXPECT_EQ(geo::findFile("N:\\GEO\\GEOIDX1.BIN"), std::nullopt) << "a drive that is not there";
}

TEST_F(Settings, GetFileReportsOnlyPathsThatFit)
{
    const fs::path geo = file("R/GEO/NAMES.TXT");
    const std::size_t length = geo.string().size();
    EXPECT_EQ(getFile("NAMES.TXT", int32_t(length)), std::make_pair(true, geo.string()));
    EXPECT_EQ(getFile("NAMES.TXT", int32_t(length - 1)), std::make_pair(false, std::string("NAMES.TXT")));
    EXPECT_FALSE(getFile("NAMES.TXT", 0).first);
    EXPECT_EQ(getFile("MISSING.TXT"), std::make_pair(false, std::string("MISSING.TXT")));
}

TEST_F(Settings, AMissingDataFileIsFatal)
{
    const auto r = testing_support::runInChild([] { geo::locateFile("P"); });
    const std::string line = " Can not find the TAVU file: GEOPNT1.BIN";
    EXPECT_EQ(r.output, " --- Error in routine GEOFNM\n" + line + std::string(60 - line.size(), ' ') +
                            "\n >>>> CANCELR - ABNORMAL END\n");
    EXPECT_NE(r.status, 0);
}

TEST_F(Settings, NoSettingsFolderIsShownAndReadsAsNoSetting)
{
    const auto r = testing_support::runInChild([] {
        for (const char* name : {"WINDIR", "XDG_CONFIG_HOME", "HOME"})
            unsetenv(name);
        std::printf("[%s]\n", geo::readSetting(1, 128).c_str());
    });
    EXPECT_EQ(r.output, " GEOGID\n GetWindowsDirectory failed\n  Press return ...\n[]\n");
    EXPECT_EQ(r.status, 0);
}

TEST_F(Settings, ASettingLongerThanTheFolderVariableIsShownAndReadsAsNoSetting)
{
    const fs::path onR = file("R/GEO/GEOPNT1.BIN");
    constexpr std::size_t kFolderVariable = 128;  // GEOFNM's folder, as long as its name
    for (const std::size_t length : {kFolderVariable, kFolderVariable + 1}) {
        const std::string base = dir.path().string() + "/";
        const std::string folder = base + std::string(length - base.size(), 'x');
        const fs::path inFolder = file(fs::relative(fs::path(folder) / "GEOPNT1.BIN", dir.path()).string());
        settings("[TAVU]\nTAVU_DataFileDir=" + folder + "\n");
        const auto r = testing_support::runInChild([] { std::printf("[%s]\n", geo::locateFile("XP").c_str()); });
        const std::string shown = " TAVU_DataFileDir\n Value of entry name to long\n  Press return ...\n";
        EXPECT_EQ(r.output, length <= kFolderVariable ? "[" + inFolder.string() + "]\n" : shown + "[" + onR.string() + "]\n")
            << length;
    }
}
