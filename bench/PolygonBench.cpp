// Times GEOPIA on star-shaped polygons of 50, 500 and 2,000 vertices (about 2 degrees across,
// at 45 degrees north) at random points of each polygon's window, and prints calls per second.
#include "tavu32d.h"
#include "Figures.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180;

std::vector<float> star(std::mt19937& rng, int n)
{
    std::uniform_real_distribution<double> u(0, 1);
    const double lon = 10 * kDeg, lat = 45 * kDeg, size = 1 * kDeg;
    std::vector<float> p;
    for (int k = 0; k < n; ++k) {
        const double a = 2 * kPi * (k + 0.8 * u(rng)) / n, r = size * (0.35 + 0.65 * u(rng));
        p.push_back(float(lon + r * std::sin(a) / std::cos(lat)));
        p.push_back(float(lat + r * std::cos(a)));
    }
    p.push_back(p[0]);
    p.push_back(p[1]);
    return p;
}

}  // namespace

int main()
{
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> u(0, 1);
    for (int n : {50, 500, 2000}) {
        std::vector<float> poly = star(rng, n);
        int32_t count = int32_t(poly.size() / 2);
        float window[4];
        GEOWND(poly.data(), &count, window);
        std::vector<float> points;
        for (int k = 0; k < 10000; ++k) {
            points.push_back(float(window[0] + u(rng) * (window[2] - window[0])));
            points.push_back(float(window[1] + u(rng) * (window[3] - window[1])));
        }
        const long calls = 50000000L / n;
        long inside = 0;
        const auto start = std::chrono::steady_clock::now();
        for (long c = 0; c < calls; ++c)
            inside += GEOPIA(&points[2 * std::size_t(c % 10000)], window, poly.data(), &count) != 0;
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("GEOPIA, %4d vertices: %s calls/s  (%ld calls, %s s, %ld inside)\n", n,
                    bench::fixed(double(calls) / seconds, 0, 10).c_str(), calls, bench::fixed(seconds, 2).c_str(),
                    inside);
    }
}
