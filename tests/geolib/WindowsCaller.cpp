// A Windows program that loads tavu32d.dll as any caller would and prints what it gives:
//   geo_windows_caller <tavu32d.dll> table        the routine table
//   geo_windows_caller <tavu32d.dll> find NAME... the path GEOGETF finds for each name
#include "RoutineTable.h"

#include "tavu32d.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace {

void* lookUp(HMODULE library, const char* plain, const char* decorated)
{
    FARPROC routine = GetProcAddress(library, plain);
    if (!routine && decorated)
        routine = GetProcAddress(library, decorated);
    void* address = nullptr;
    std::memcpy(&address, &routine, sizeof address);
    return address;
}

// Each name's line: "NAME=path", or "NAME not found".
std::string findFiles(HMODULE library, int count, char** names)
{
    decltype(&GEOGETF) getFile = nullptr;
    void* address = lookUp(library, "GEOGETF", "_GEOGETF@12");
    std::memcpy(&getFile, &address, sizeof getFile);
    if (!getFile)
        return "GEOGETF missing\n";
    std::string out;
    for (int i = 0; i < count; ++i) {
        char path[124];
        std::memset(path, ' ', sizeof path);
        std::memcpy(path, names[i], std::min(std::strlen(names[i]), sizeof path));
        std::int32_t length = 124, found = 0;
        getFile(&length, path, &found);
        std::string full(path, sizeof path);
        full.erase(full.find_last_not_of(' ') + 1);
        out += std::string(names[i]) + (found == -1 ? "=" + full : " not found") + "\n";
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);  // lines end in LF, as on the native side
    if (argc < 3) {
        std::printf("usage: %s <tavu32d.dll> table | find NAME...\n", argv[0]);
        return 2;
    }
    HMODULE library = LoadLibraryA(argv[1]);
    if (!library) {
        std::printf("cannot load %s: error %lu\n", argv[1], GetLastError());
        return 1;
    }
    const std::string mode = argv[2];
    const std::string out = mode == "table" ? routine_table::run([library](const char* plain, const char* decorated) {
        return lookUp(library, plain, decorated);
    })
                                            : findFiles(library, argc - 3, argv + 3);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
