// Look-ups in the fixed zone tables after their first call (which unpacks the table): GEORGN,
// GE75NZ and AP30ARZ at random points over the globe. Every table line is a square 10 degrees
// wide at a random place: 97 points for the 74 appendix lines, 33 for the others.
//   zone_table_bench
#include "tavu32d.h"

#include "geolib/tools/MapFileBuilder.h"
#include "Figures.h"
#include "MapFolderBench.h"
#include "core/Constants.h"
#include "zones/ZoneTables.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

using bench::rad;

void writeTables(const fs::path& folder)
{
    std::mt19937 random(116);
    std::uniform_real_distribution<double> lon(-175, 175), lat(-80, 80);
    std::vector<mapfiles::Line> lines;
    for (std::int32_t id : geo::fixedTableLineIds()) {
        const bool appendix = (id >= 27010 && id <= 27540) || (id >= 31010 && id <= 31200);
        lines.push_back(mapfiles::squareLine(id, {rad(lon(random)), rad(lat(random))}, rad(5), appendix ? 24 : 8));
    }
    lines.push_back(mapfiles::rainVersionLine(geo::kRainVersionLine, 1));
    std::ofstream(folder / "GEOPNT1.BIN", std::ios::binary) << mapfiles::mainPointFile(lines);
    std::ofstream(folder / "VINTAR_SOFT.INI", std::ios::binary) << mapfiles::settingsFile(folder.string(), folder.string());
}

template <typename Call>
void lookUps(const char* name, Call call)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> lon(-3.14159f, 3.14159f), lat(-1.5707f, 1.5707f);
    float x = 0, y = 0;
    call(x, y);  // unpacks the table
    const int calls = 1000000;
    std::vector<float> points(2 * calls);
    for (auto& v : points)
        v = (&v - points.data()) % 2 == 0 ? lon(random) : lat(random);
    long sum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        sum += call(points[2 * std::size_t(i)], points[2 * std::size_t(i) + 1]);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-8s %s look-ups/s (checksum %ld)\n", name, bench::fixed(calls / s, 0, 10).c_str(), sum);
}

}  // namespace

int main()
{
    return bench_maps::withFolder("zone_table_bench", writeTables, [] {
        lookUps("GEORGN", [](float lon, float lat) {
            int32_t region = 0;
            GEORGN(&lon, &lat, &region);
            return long(region);
        });
        lookUps("GE75NZ", [](float lon, float lat) {
            int32_t zone = 0;
            GE75NZ(&lon, &lat, &zone);
            return long(zone);
        });
        lookUps("AP30ARZ", [](float lon, float lat) {
            char zone = ' ';
            AP30ARZ(&lon, &lat, &zone);
            return long(zone);
        });
    });
}
