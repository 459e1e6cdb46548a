// Distance searches:
//  - GEODTL calls per second on lines of 10, 100, 1,000 and 7,000 points (the cost should grow
//    about linearly with the line);
//  - GEODW1 and GEODCM1 calls per second on generated maps of 20 and 200 island countries.
//   geo_distance_bench
#include "tavu32d.h"

#include "geolib/tools/MapFileBuilder.h"
#include "Figures.h"
#include "MapFolderBench.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using bench::rad;

constexpr double kStepDeg = 1.5;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Calls `call` until a second has passed; returns calls per second.
double perSecond(const std::function<void(int)>& call)
{
    const auto start = std::chrono::steady_clock::now();
    int calls = 0;
    while (calls < 10 || secondsSince(start) < 1.0)
        call(calls++);
    return calls / secondsSince(start);
}

// A wandering line of n points about 5 km apart, and points around it.
void lineCalls(int n)
{
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> step(-0.05, 0.05);
    std::vector<float> line;
    double lon = 10, lat = 45;
    for (int i = 0; i < n; ++i) {
        line.push_back(rad(lon));
        line.push_back(rad(lat));
        lon += 0.04 + step(rng);
        lat += step(rng);
    }
    std::uniform_real_distribution<double> pickLon(10, lon), pickLat(44, 46);
    std::vector<float> points;
    for (int i = 0; i < 1000; ++i) {
        points.push_back(rad(pickLon(rng)));
        points.push_back(rad(pickLat(rng)));
    }
    int32_t count = n;
    float nearLon = 0, nearLat = 0, dist = 0, azimuth = 0;
    const double rate = perSecond([&](int i) {
        const std::size_t k = 2 * std::size_t(i % 1000);
        GEODTL(&points[k], &points[k + 1], line.data(), &count, &nearLon, &nearLat, &dist, &azimuth);
    });
    std::printf("GEODTL, line of %4d points: %s calls/s\n", n, bench::fixed(rate, 0, 10).c_str());
}

// Island countries 1.5 degrees apart in rows of 10 (a map of 200 km holds at most 64
// countries); points among them.
void mapCalls(int countries)
{
    const int columns = 10, rows = (countries + columns - 1) / columns;
    const auto map =
        mapfiles::islandGrid(countries, columns, {rad(5), rad(20)}, rad(kStepDeg), rad(0.3), 10, countries, 1000000);
    bench_maps::withMap("geo_distance_bench", map, [&] {
        std::mt19937 rng(3);
        std::uniform_real_distribution<double> lon(5, 5 + kStepDeg * columns), lat(20, 20 + kStepDeg * rows);
        std::vector<float> points;
        for (int i = 0; i < 1000; ++i) {
            points.push_back(rad(lon(rng)));
            points.push_back(rad(lat(rng)));
        }
        char country[3];
        float maxDist = 200, dist = 0, azimuth = 0;
        const double coast = perSecond([&](int i) {
            const std::size_t k = 2 * std::size_t(i % 1000);
            GEODW1(&points[k], &points[k + 1], &maxDist, country, &dist, &azimuth);
        });
        int16_t exclCount = 0;
        int32_t capacity = 50, n = 0, dropped = 0;
        std::vector<float> dists(50), azimuths(50);
        std::string codes(150, ' ');
        const double list = perSecond([&](int i) {
            const std::size_t k = 2 * std::size_t(i % 1000);
            GEODCM1(&points[k], &points[k + 1], &maxDist, &exclCount, country, &capacity, &n, dists.data(),
                    azimuths.data(), codes.data(), &dropped);
        });
        std::printf("%3d countries: GEODW1 %s calls/s, GEODCM1 (200 km) %s calls/s\n", countries,
                    bench::fixed(coast, 0, 8).c_str(), bench::fixed(list, 0, 8).c_str());
    });
}

}  // namespace

int main()
{
    for (int n : {10, 100, 1000, 7000})
        lineCalls(n);
    for (int countries : {20, 200})
        mapCalls(countries);
    return 0;
}
