#pragma once

// Runs a benchmark on a generated map: the map is written to a fresh folder and `body` runs in
// a child process that reads it, since the library opens its data files once per process.
#include "tavu32d.h"

#include "geolib/tools/MapFileBuilder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace bench_maps {

/// Writes the data files with `write` into a fresh folder and runs `body` in a child process
/// that reads them; gives the child's exit status.
inline int withFolder(const std::string& name, const std::function<void(const std::filesystem::path&)>& write,
                      const std::function<void()>& body)
{
    namespace fs = std::filesystem;
    const fs::path folder = fs::temp_directory_path() / (name + "_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    write(folder);
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("WINDIR", folder.c_str(), 1);
        int32_t unit = 20;
        WDBUNIT(&unit);
        body();
        std::fflush(stdout);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    fs::remove_all(folder);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

inline void withMap(const std::string& name, const mapfiles::MapData& map, const std::function<void()>& body)
{
    (void)withFolder(name, [&](const std::filesystem::path& folder) {
        std::ofstream(folder / "GEOIDX1.BIN", std::ios::binary) << mapfiles::indexFile(map.entries);
        std::ofstream(folder / "GEOPNT1.BIN", std::ios::binary) << mapfiles::mainPointFile(map.lines);
        std::ofstream(folder / "VINTAR_SOFT.INI", std::ios::binary)
            << mapfiles::settingsFile(folder.string(), folder.string());
    }, body);
}

}  // namespace bench_maps
