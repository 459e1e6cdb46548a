// Times the library's distance routines beside GeographicLib's inverse solution on the same
// sphere, over the same pairs (half of them less than 200 km apart), and prints calls per second.
//   geometry_bench [pairs]     (default: 1000000)
#include "tavu32d.h"
#include "Figures.h"

#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = 180 / kPi;
constexpr double kEarthRadiusKm = 6373.0;

struct Pair {
    float lon1, lat1, lon2, lat2;
};

std::vector<Pair> makePairs(long count)
{
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<Pair> pairs(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        Pair& p = pairs[std::size_t(i)];
        p.lon1 = float(u(rng) * kPi);
        p.lat1 = float(std::asin(u(rng)));
        const double near = i % 2 ? 200 / kEarthRadiusKm : kPi;  // the odd ones nearby
        p.lon2 = float(std::remainder(p.lon1 + u(rng) * near, 2 * kPi));
        p.lat2 = float(std::clamp(p.lat1 + u(rng) * near / 2, -1.5707963, 1.5707963));
    }
    return pairs;
}

template <typename Call>
void time(const char* name, const std::vector<Pair>& pairs, Call call)
{
    double sum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (Pair p : pairs)
        sum += call(p);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-28s %s calls/s  (%ld pairs, %s s, checksum %s)\n", name,
                bench::fixed(double(pairs.size()) / seconds, 0, 10).c_str(), long(pairs.size()),
                bench::fixed(seconds, 3).c_str(), bench::fixed(sum, 0).c_str());
}

}  // namespace

int main(int argc, char* argv[])
{
    const long count = argc > 1 ? std::stol(argv[1]) : 1000000;
    const std::vector<Pair> pairs = makePairs(count);
    const GeographicLib::Geodesic sphere(kEarthRadiusKm, 0.0);

    time("GEODSTR", pairs, [](Pair p) {
        float d = 0;
        GEODSTR(&p.lon1, &p.lat1, &p.lon2, &p.lat2, &d);
        return double(d);
    });
    time("GEOPPDA", pairs, [](Pair p) {
        float d = 0, az = 0;
        GEOPPDA(&p.lon1, &p.lat1, &p.lon2, &p.lat2, &d, &az);
        return double(d) + az;
    });
    time("GeographicLib Inverse", pairs, [&](Pair p) {
        double s12 = 0, azi1 = 0, azi2 = 0;
        sphere.Inverse(p.lat1 * kDeg, p.lon1 * kDeg, p.lat2 * kDeg, p.lon2 * kDeg, s12, azi1, azi2);
        return s12 + azi1;
    });
    return 0;
}
