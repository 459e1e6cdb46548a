#include "MapFolder.h"

#include "geolib/tools/MapFileBuilder.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace testing_support {

namespace fs = std::filesystem;

MapFolder::MapFolder()
{
    for (const char* folder : {"windows", "data", "local", "nodrive"})
        fs::create_directories(m_dir.path() / folder);
    m_dir.write("windows/VINTAR_SOFT.INI",
                mapfiles::settingsFile((m_dir.path() / "data").string(), (m_dir.path() / "local").string()));
}

void MapFolder::write(const std::string& name, const std::string& bytes) const
{
    const bool local = name.starts_with("LCL");
    m_dir.write((local ? "local/" : "data/") + name, bytes);
}

void MapFolder::use() const
{
    setenv("WINDIR", (m_dir.path() / "windows").c_str(), 1);
    for (const char* drive : {"TAVU_DRIVE_C", "TAVU_DRIVE_M", "TAVU_DRIVE_N", "TAVU_DRIVE_R"})
        setenv(drive, (m_dir.path() / "nodrive").c_str(), 1);
}

ChildResult runWithMaps(const MapFolder& folder, const std::function<std::string()>& body, unsigned limitSeconds)
{
    return runInChild([&folder, &body, limitSeconds] {
        alarm(limitSeconds);  // a reader caught in a loop ends the child, not the test run
        folder.use();
        const std::string findings = body();
        std::fwrite(findings.data(), 1, findings.size(), stdout);
    });
}

std::string fatalOutput(const std::string& routine, const std::string& lines)
{
    return " --- Error in routine " + routine + "\n" + lines + " >>>> CANCELR - ABNORMAL END\n";
}

std::string messageLine(const std::string& line)
{
    return line + std::string(60 - line.size(), ' ') + "\n";
}

}  // namespace testing_support
