// Fetches lines by id from a point file of 7,500 lines in 15 blocks, in ascending and in random
// id order, and prints the fetches per second and the blocks each run loaded.
//   geo_line_bench [passes]     (default: 20)
#include "tavu32d.h"

#include "geolib/tools/MapFileBuilder.h"
#include "Figures.h"
#include "state/LibraryState.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kBlocks = 15;
constexpr int kLinesPerBlock = 500;
constexpr int kPointsPerLine = 40;

std::vector<int32_t> writeMap(const fs::path& folder)
{
    std::vector<std::vector<mapfiles::Line>> blocks(kBlocks);
    std::vector<int32_t> ids;
    for (int b = 0; b < kBlocks; ++b) {
        for (int i = 0; i < kLinesPerBlock; ++i) {
            const int32_t id = 1000000 + 10 * int32_t(ids.size());
            ids.push_back(id);
            mapfiles::Line line{id, std::vector<mapfiles::Point>(kPointsPerLine, mapfiles::Point{0.25f, 0.5f})};
            blocks[std::size_t(b)].push_back(line);
        }
    }
    std::ofstream(folder / "GEOPNT1.BIN", std::ios::binary)
        << mapfiles::pointFile(mapfiles::PointLayout::Main, blocks);
    std::ofstream(folder / "VINTAR_SOFT.INI", std::ios::binary) << mapfiles::settingsFile(folder.string(), folder.string());
    return ids;
}

void run(const char* name, const std::vector<int32_t>& order, int passes)
{
    std::vector<float> points(2 * kPointsPerLine);
    int16_t unit = 1;
    int32_t capacity = kPointsPerLine;
    const int64_t loadsBefore = geo::libraryState().geoPoints.blocksLoaded;
    const auto start = std::chrono::steady_clock::now();
    for (int p = 0; p < passes; ++p) {
        for (int32_t id : order) {
            int32_t count = 0, found = 0;
            GEOLIN(&unit, points.data(), &capacity, &id, &count, &found);
            if (!found) {
                std::fprintf(stderr, "line %d not found\n", id);
                std::exit(1);
            }
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double fetches = double(order.size()) * passes;
    const double loads = double(geo::libraryState().geoPoints.blocksLoaded - loadsBefore) / passes;
    std::printf("%-10s %s fetches in %s s: %s fetches/s, %s blocks loaded a pass\n", name,
                bench::fixed(fetches, 0, 8).c_str(), bench::fixed(seconds, 3, 6).c_str(),
                bench::fixed(fetches / seconds, 0, 10).c_str(), bench::fixed(loads, 1, 6).c_str());
}

}  // namespace

int main(int argc, char* argv[])
{
    const int passes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const fs::path folder = fs::temp_directory_path() / ("geo_line_bench_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::vector<int32_t> ids = writeMap(folder);
    setenv("WINDIR", folder.c_str(), 1);
    std::vector<int32_t> shuffled = ids;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(42));
    std::printf("GEOLIN over %zu lines of %d points in %d blocks, %d passes\n", ids.size(), kPointsPerLine, kBlocks,
                passes);
    run("ascending", ids, passes);
    run("random", shuffled, passes);
    fs::remove_all(folder);
    return 0;
}
