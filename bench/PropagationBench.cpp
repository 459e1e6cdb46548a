// GEOPRCP paths per second: paths of 100 to 500 km over a grid of 400 islands and 400
// propagation zones of kind 5 (three values), each path rebuilding the map and the zone list
// around itself. The map is written to its own folder and measured in a child process.
//   propagation_bench
#include "tavu32d.h"

#include "geolib/tools/MapFileBuilder.h"
#include "Figures.h"
#include "MapFolderBench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using bench::kRadPerDeg;
using bench::rad;

std::array<float, 4> windowAround(const mapfiles::Line& line)
{
    std::array<float, 4> w{1e9f, 1e9f, -1e9f, -1e9f};
    for (const auto& p : line.points)
        w = {std::min(w[0], p.lon), std::min(w[1], p.lat), std::max(w[2], p.lon), std::max(w[3], p.lat)};
    return w;
}

void writeFiles(const fs::path& folder)
{
    // Islands 0.3 degrees wide every 0.5 degrees from 10 E, 40 N; the fixed land zones far away.
    auto map = mapfiles::islandGrid(400, 20, {rad(10), rad(40)}, rad(0.5), rad(0.15), 10, 40, 1000000);
    map.lines.push_back(mapfiles::squareLine(7350301, {rad(150), rad(-30)}, rad(0.5), 3));
    map.lines.push_back(mapfiles::squareLine(7350302, {rad(160), rad(-30)}, rad(0.5), 3));
    // Zones 0.5 degrees wide side by side over the grid: values 1.0, 1.5 and 2.5 in turn.
    std::vector<mapfiles::Line> zoneLines;
    std::vector<mapfiles::ZoneIndexEntry> entries;
    const float values[] = {1.0f, 1.5f, 2.5f};
    for (int i = 0; i < 400; ++i) {
        const auto z = mapfiles::squareLine(100 + i, {rad(10.25 + 0.5 * (i % 20)), rad(40.25 + 0.5 * (i / 20))},
                                            rad(0.25), 8);
        zoneLines.push_back(z);
        entries.push_back({z.id, {values[i % 3], values[i % 3]}, windowAround(z)});
    }
    std::vector<mapfiles::ZoneKind> kinds(4);
    kinds.push_back({50, 1, {1.0f, 1.5f}});
    zoneLines.push_back(mapfiles::zoneIndexLine(50, entries));
    zoneLines.push_back(mapfiles::zoneHeaderLine(kinds));
    std::sort(zoneLines.begin(), zoneLines.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
    std::ofstream(folder / "GEOIDX1.BIN", std::ios::binary) << mapfiles::indexFile(map.entries);
    std::ofstream(folder / "GEOPNT1.BIN", std::ios::binary) << mapfiles::mainPointFile(map.lines);
    std::ofstream(folder / "GEOPNT12.BIN", std::ios::binary)
        << mapfiles::pointFile(mapfiles::PointLayout::Zones, {zoneLines});
    std::ofstream(folder / "VINTAR_SOFT.INI", std::ios::binary)
        << mapfiles::settingsFile(folder.string(), folder.string());
}

void pathsPerSecond()
{
    std::mt19937 random(11);
    std::uniform_real_distribution<double> lon(10.1, 19.8), lat(40.1, 49.8), length(100, 500), bearing(0, 360);
    const int paths = 300;
    int split = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < paths; ++i) {
        // A path from a random point inside the zones' grid; its end kept in the grid.
        float lon1 = rad(lon(random)), lat1 = rad(lat(random));
        const double d = length(random) / 6373.0, b = bearing(random) * kRadPerDeg;
        float lon2 = rad(std::clamp(lon1 / kRadPerDeg + d / kRadPerDeg * std::sin(b) / std::cos(lat1), 10.1, 19.8));
        float lat2 = rad(std::clamp(lat1 / kRadPerDeg + d / kRadPerDeg * std::cos(b), 40.1, 49.8));
        float dist = 0, lengths[10], fractions[10];
        int32_t labelCount = 0, flag = 0;
        char labels[10][2];
        GEOPRCP(&lon1, &lat1, &lon2, &lat2, &dist, &labelCount, &labels[0][0], lengths, fractions, &flag);
        split += flag == 0;
    }
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("GEOPRCP, paths of 100 to 500 km: %s paths/s (%d of %d with a code at both ends)\n",
                bench::fixed(paths / s, 1, 8).c_str(), split, paths);
}

}  // namespace

int main()
{
    return bench_maps::withFolder("propagation_bench", writeFiles, pathsPerSecond);
}
