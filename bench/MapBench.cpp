// The current map on generated maps of square islands:
//  - GEOPLC2 calls per second on maps of 50, 200 and 600 outlines;
//  - GEOMAP build time for index files of 1,000 to 7,000 lines over the globe;
//  - the cost of a request that the current map holds.
// Each map is written to its own folder and measured in a child process, since the library
// opens its data files once per process.
//   geo_map_bench
#include "tavu32d.h"

#include "geolib/tools/MapFileBuilder.h"
#include "Figures.h"
#include "MapFolderBench.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using bench::rad;

constexpr int kPerSide = 10;  // islands of 41 points
constexpr int kOwners = 60;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void withMap(const mapfiles::MapData& map, const std::function<void()>& body)
{
    bench_maps::withMap("geo_map_bench", map, body);
}

void circle(float lon, float lat, int32_t dist)
{
    int32_t kind = 1;
    float place[2] = {lon, lat};
    GEOMAP(&kind, place, &dist);
}

void symbolsPerSecond(int outlines)
{
    const int columns = 30;
    const double step = 0.1;
    const auto map = mapfiles::islandGrid(outlines, columns, {rad(5), rad(45)}, rad(step), rad(0.03), kPerSide, kOwners,
                                          1000000);
    withMap(map, [&] {
        const int rows = (outlines + columns - 1) / columns;
        circle(rad(5 + step * columns / 2), rad(45 + step * rows / 2), 400);
        std::mt19937 random(7);
        std::uniform_real_distribution<double> lon(4.95, 5 + step * columns), lat(44.95, 45 + step * rows);
        const int calls = 20000;
        int hits = 0;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < calls; ++i) {
            float x = rad(lon(random)), y = rad(lat(random));
            char symbol[3];
            GEOPLC2(&x, &y, symbol);
            hits += symbol[0] != ' ';
        }
        const double s = secondsSince(start);
        std::printf("GEOPLC2, %3d outlines: %s calls/s (%d of %d points on land)\n", outlines,
                    bench::fixed(calls / s, 0, 9).c_str(), hits, calls);
    });
}

void buildTime(int lines)
{
    // Islands over the globe between 60 S and 60 N; a request takes those within 1200 km.
    const int columns = int(std::sqrt(lines * 3.0));
    const int rows = (lines + columns - 1) / columns;
    mapfiles::MapData map;
    for (int i = 0; i < lines; ++i) {
        const float lon = rad(-179 + 358.0 * (i % columns) / columns), lat = rad(-60 + 120.0 * (i / columns) / rows);
        map.lines.push_back(mapfiles::squareLine(1000000 + i, {lon, lat}, rad(0.05), kPerSide));
        const int owner = i % kOwners;
        map.entries.push_back(
            mapfiles::lineEntry(std::string{'G', char('0' + owner / 10), char('0' + owner % 10)}, 'I', map.lines.back()));
    }
    withMap(map, [&] {
        const int builds = 40;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < builds; ++i)
            circle(rad(i % 2 == 0 ? 10 : -100), rad(i % 2 == 0 ? 20 : -20), 1200);  // never held
        const double s = secondsSince(start);
        int16_t item = 1;
        int32_t generation = 0;
        GEOVA1(&item, &generation);
        std::printf("GEOMAP build, index of %4d lines: %s ms a build (%d builds)\n", lines,
                    bench::fixed(1000 * s / builds, 3, 8).c_str(),
                    generation);
    });
}

void heldRequest()
{
    const auto map = mapfiles::islandGrid(200, 20, {rad(5), rad(45)}, rad(0.1), rad(0.03), kPerSide, kOwners, 1000000);
    withMap(map, [&] {
        circle(rad(6), rad(45.5), 400);
        const int calls = 1000000;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < calls; ++i)
            circle(rad(6 + 0.001 * (i % 100)), rad(45.5), 100);
        const double s = secondsSince(start);
        int16_t item = 1;
        int32_t generation = 0;
        GEOVA1(&item, &generation);
        std::printf("GEOMAP held request: %s ns a call (generation still %d)\n",
                    bench::fixed(1e9 * s / calls, 1, 8).c_str(), generation);
    });
}

}  // namespace

int main()
{
    for (int outlines : {50, 200, 600})
        symbolsPerSecond(outlines);
    for (int lines = 1000; lines <= 7000; lines += 1000)
        buildTime(lines);
    heldRequest();
    return 0;
}
