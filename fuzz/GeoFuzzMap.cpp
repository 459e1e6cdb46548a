#include "GeoFuzzMap.h"

#include "geolib/tools/MapFileBuilder.h"
#include "core/Fatal.h"
#include "state/LibraryState.h"
#include "tavu32d.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>
#include <unistd.h>

namespace geofuzz {
namespace {

namespace fs = std::filesystem;

// Four square islands of owners G00 and G01, an area of G00 among them, a local area, and the
// coded lines of the country tables.
mapfiles::MapData islands()
{
    mapfiles::MapData map = mapfiles::islandGrid(4, 2, {0.1f, 0.1f}, 0.1f, 0.02f, 3, 2, kIslandLine - 1);
    const mapfiles::Line area = mapfiles::squareLine(100, {0.15f, 0.15f}, 0.01f, 3);
    auto entry = mapfiles::lineEntry("G00", 'A', area);
    mapfiles::setData(entry, 8, "A01");
    mapfiles::setData(entry, 12, "M");
    map.entries.push_back(entry);
    map.lines.push_back(area);
    map.lines.push_back(mapfiles::versionLine(20050621));
    map.lines.push_back(mapfiles::attributeLine(1, {{"G00", {0.1f, 0, 0}}, {"G01", {0.2f, 0, 0}}}));
    map.lines.push_back(mapfiles::codeLine({{"G00", "GAA"}, {"G01", "GBB"}}));
    return map;
}

std::map<std::string, std::string> makeFiles()
{
    const mapfiles::MapData map = islands();
    const mapfiles::Line local = mapfiles::squareLine(1, {0.12f, 0.12f}, 0.01f, 3);
    auto localEntry = mapfiles::lineEntry("G00", 'A', local);
    mapfiles::setData(localEntry, 0, "LOC001000");
    mapfiles::setData(localEntry, 12, "L");
    std::vector<mapfiles::Line> zones = mapfiles::namedLists(10, {{{kIslandLine, 13, "ISLAND"}}});
    zones.push_back(mapfiles::zoneHeaderLine({}));
    const std::vector<std::string> codes{"G00", "G01", "G02"};
    return {
        {"GEOIDX1.BIN", mapfiles::indexFile(map.entries)},
        {"GEOPNT1.BIN", mapfiles::mainPointFile(map.lines)},
        {"GEOPNT12.BIN", mapfiles::zonePointFile(zones)},
        {"LCLIDX1.BIN", mapfiles::indexFile({localEntry})},
        {"LCLPNT1.BIN", mapfiles::mainPointFile({local})},
        {"GEOCCD3.BIN", mapfiles::countryFile(codes, [](int a, int b) {
             return mapfiles::CountryPair{{float(a), float(b), 0.5f, 0.25f}, std::int16_t(10 * a + b)};
         })},
    };
}

// The folder: "windows" holds the settings, "data" and "local" the files, "nodrive" stands for
// every drive of the search.
struct Folder {
    fs::path root;

    Folder()
    {
        std::string pattern = (fs::temp_directory_path() / "geofuzz-XXXXXX").string();
        root = mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
        for (const char* sub : {"windows", "data", "local", "nodrive"})
            fs::create_directories(root / sub);
        write(root / "windows" / "VINTAR_SOFT.INI",
              mapfiles::settingsFile((root / "data").string(), (root / "local").string()));
        setenv("WINDIR", (root / "windows").c_str(), 1);
        for (const char* drive : {"TAVU_DRIVE_C", "TAVU_DRIVE_M", "TAVU_DRIVE_N", "TAVU_DRIVE_R"})
            setenv(drive, (root / "nodrive").c_str(), 1);
        for (const auto& [name, bytes] : mapFiles())
            write(path(name), bytes);
    }
    ~Folder() { fs::remove_all(root); }

    fs::path path(const std::string& name) const { return root / (name.starts_with("LCL") ? "local" : "data") / name; }

    static void write(const fs::path& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
    }
};

}  // namespace

const std::map<std::string, std::string>& mapFiles()
{
    static const std::map<std::string, std::string> files = makeFiles();
    return files;
}

std::string damagedPointFile(float value, bool onLongitude)
{
    mapfiles::MapData map = islands();
    for (auto& line : map.lines)
        if (line.id == kIslandLine)
            (onLongitude ? line.points[1].lon : line.points[1].lat) = value;
    return mapfiles::mainPointFile(map.lines);
}

namespace {

const Folder& folder()
{
    static const Folder made;
    return made;
}

}  // namespace

void useValidMap()
{
    folder();
}

void writeDataFile(const std::string& name, const std::string& bytes)
{
    Folder::write(folder().path(name), bytes);
}

void mapIslands()
{
    float place[4] = {kIslandsWindow[0], kIslandsWindow[1], kIslandsWindow[2], kIslandsWindow[3]};
    std::int32_t kind = 2, dist = 0;
    GEOMAP(&kind, place, &dist);
}

void walkIslandLines()
{
    constexpr std::int32_t kCapacity = 7001;
    float w = kIslandsWindow[0], s = kIslandsWindow[1], e = kIslandsWindow[2], n = kIslandsWindow[3], thin = 5;
    std::int16_t count = 0;
    char codes[3] = {' ', ' ', ' '};
    GEODWD(&w, &s, &e, &n, &thin, &count, codes);
    std::vector<float> points(2 * std::size_t(kCapacity));
    for (int call = 0; call < 600; ++call) {
        std::int16_t unit = 1;
        std::int32_t capacity = kCapacity, id = 0, got = 0, end = 0;
        char lineKind = ' ';
        GEOLIW(&unit, points.data(), &capacity, &id, &got, &lineKind, &end);
        if (end & 1)
            return;
    }
}

void runFresh(const std::function<void()>& calls)
{
    geo::LibraryState& state = geo::libraryState();
    std::destroy_at(&state);
    std::construct_at(&state);
    geo::errorRecord() = geo::ErrorRecord();
    try {
        std::int32_t unit = 20;
        WDBUNIT(&unit);
        calls();
    } catch (const geo::FatalEnd&) {
        // the library's fatal report: the process would end here
    }
}

}  // namespace geofuzz
