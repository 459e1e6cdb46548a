// The radial search and the area symbol at a point on generated maps of 20 and 200 countries:
// square countries of 41 points in rows of ten, one degree apart, each with an allotment area of
// 21 points inside; a map holds at most 64 codes, so the 200 countries share 60 codes. Prints
// GEOALC3 calls per second (radials of 500 km at random azimuths from random points of the grid)
// and GEOIAA2 calls per second (random points of the grid).
//   radial_bench
#include "tavu32d.h"

#include "geolib/tools/MapFileBuilder.h"
#include "Figures.h"
#include "MapFolderBench.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using bench::rad;

constexpr int kColumns = 10;
constexpr int kCapacity = 100;
constexpr int kCodes = 60;

std::string code(int i)
{
    const int c = i % kCodes;
    return {char('A' + c / 26), char('A' + c % 26), 'X'};
}

mapfiles::MapData countries(int count)
{
    mapfiles::MapData map;
    std::vector<mapfiles::IndexEntry> areas;
    for (int i = 0; i < count; ++i) {
        const mapfiles::Point centre{rad(0.5 + i % kColumns), rad(0.5 + i / kColumns)};
        map.lines.push_back(mapfiles::squareLine(1000000 + i, centre, rad(0.4), 10));
        const auto ring = mapfiles::ringEntries(code(i), 'C', {map.lines.back()}, {false});
        map.entries.insert(map.entries.end(), ring.begin(), ring.end());
        map.lines.push_back(mapfiles::squareLine(100 + i, centre, rad(0.2), 5));
        auto area = mapfiles::lineEntry(code(i), 'A', map.lines.back());
        mapfiles::setData(area, 8, "001");
        mapfiles::setData(area, 12, "M");
        areas.push_back(area);
    }
    map.entries.insert(map.entries.end(), areas.begin(), areas.end());
    return map;
}

void measure(int count)
{
    const int rows = (count + kColumns - 1) / kColumns;
    int32_t kind = 2, none = 0;
    float window[4] = {rad(-1), rad(-1), rad(kColumns + 1), rad(rows + 1)};
    ALLMAP(&kind, window, &none);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> lon(0, kColumns), lat(0, rows), azimuth(0, 360);
    std::vector<float> pts(2 * kCapacity), dists(kCapacity);
    std::vector<char> codes(3 * kCapacity);
    const int radials = 5000;
    long stretches = 0;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < radials; ++i) {
        float x = rad(lon(random)), y = rad(lat(random)), dist = 500, az = float(azimuth(random));
        int32_t mode = 0, nmax = kCapacity, n = 0, err = 0;
        GEOALC3(&x, &y, &dist, &az, &mode, &nmax, pts.data(), dists.data(), codes.data(), &n, &err);
        stretches += n;
    }
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("GEOALC3, %3d countries: %s calls/s (%s stretches a radial)\n", count,
                bench::fixed(radials / s, 0, 8).c_str(), bench::fixed(double(stretches) / radials, 1).c_str());
    const int points = 100000;
    int inArea = 0;
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < points; ++i) {
        float x = rad(lon(random)), y = rad(lat(random));
        char symbol[6];
        GEOIAA2(&x, &y, symbol);
        inArea += symbol[3] == '0';
    }
    s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("GEOIAA2, %3d countries: %s calls/s (%d of %d points in an area)\n", count,
                bench::fixed(points / s, 0, 8).c_str(), inArea,
                points);
}

}  // namespace

int main()
{
    // The library opens its data files once per process: each map is measured in a child.
    for (const int count : {20, 200})
        bench_maps::withMap("radial_bench", countries(count), [count] { measure(count); });
    return 0;
}
