#include "tavu32d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <array>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kAngleTolDeg = 1e-4;

float angleAt(std::array<float, 6> p)
{
    float angle = -1;
    GEOA123(&p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &angle);
    return angle;
}

}  // namespace

TEST(PointLists, TheAngleAtAVertexIsThePlanarAngle)
{
    EXPECT_NEAR(angleAt({0.2f, 0.1f, 0, 0, 0.4f, 0.2f}), 0, kAngleTolDeg) << "the same direction";
    EXPECT_NEAR(angleAt({0.2f, 0.1f, 0, 0, -0.4f, -0.2f}), 180, kAngleTolDeg) << "opposite directions";
    EXPECT_EQ(angleAt({0, 0, 0, 0, 0.1f, 0.1f}), 180) << "point 1 on the vertex";
    EXPECT_EQ(angleAt({0, 0, 0, 0, 0, 0}), 0) << "all at one place";
    EXPECT_NEAR(angleAt({3.1f, 0, -3.1f, 0, -3.0f, 0}), 180, kAngleTolDeg) << "across 180 degrees";
    std::mt19937 rng(123);
    std::uniform_real_distribution<float> u(-1, 1);
    for (int k = 0; k < 1000; ++k) {
        const std::array<float, 6> p = {u(rng), u(rng), u(rng), u(rng), u(rng), u(rng)};
        const double x1 = p[0] - p[2], y1 = p[1] - p[3], x3 = p[4] - p[2], y3 = p[5] - p[3];
        EXPECT_NEAR(angleAt(p), std::fabs(std::atan2(x1 * y3 - y1 * x3, x1 * x3 + y1 * y3)) * 180 / kPi, kAngleTolDeg);
    }
}

TEST(PointLists, CloseRepeatedAndSharplyTurningPointsAreThoseADirectScanFinds)
{
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> step(-2, 2);
    const float limitKm = 150;
    const int32_t largestDeg = 20;
    int found = 0;
    for (int c = 0; c < 50; ++c) {
        // A walk in degrees that stands still, turns back or steps on.
        std::vector<float> p;
        double lon = 20, lat = 40;
        for (int k = 0, n = 3 + int(rng() % 80); k < n; ++k) {
            const auto move = rng() % 5;
            if (move == 1 && k >= 2)
                lon = p[p.size() - 4] * 180 / kPi + 0.01 * step(rng), lat = p[p.size() - 3] * 180 / kPi;
            else if (move != 0)
                lon += step(rng), lat += step(rng);
            p.insert(p.end(), {float(lon * kPi / 180), float(lat * kPi / 180)});
        }
        int16_t n = int16_t(p.size() / 2);
        auto at = [&](int k) { return &p[2 * (k - 1)]; };  // point k from 1

        std::vector<int32_t> close, repeated, sharp;
        std::vector<float> closeKm;
        for (int k = 2; k <= n; ++k) {
            const float d = GEODST3(at(k - 1), at(k - 1) + 1, at(k), at(k) + 1);
            if (d <= limitKm)
                close.push_back(k), closeKm.push_back(d);
            if (at(k)[0] == at(k - 1)[0] && at(k)[1] == at(k - 1)[1])
                repeated.push_back(k);
            int32_t d1, az11, az12, d2, az21, az22;
            if (k == n)
                continue;
            LMF90R4(at(k - 1), at(k - 1) + 1, at(k), at(k) + 1, &d1, &az11, &az12);
            LMF90R4(at(k), at(k) + 1, at(k + 1), at(k + 1) + 1, &d2, &az21, &az22);
            const int turn = std::abs(az21 - az12);
            if (d1 > 1 && d2 > 1 && (turn >= 181 ? 360 - turn : turn) <= largestDeg)
                sharp.push_back(k);
        }
        found += int(close.size() + repeated.size() + sharp.size());

        using List = std::function<void(int32_t, int32_t*, float*, int32_t*, int32_t*)>;
        const std::pair<std::vector<int32_t>, List> routines[] = {
            {close, [&](int32_t cap, int32_t* list, float* km, int32_t* count, int32_t* complete) {
                 float limit = limitKm;
                 GEOCLPS(&limit, p.data(), &n, &cap, list, km, count, complete);
             }},
            {repeated, [&](int32_t cap, int32_t* list, float*, int32_t* count, int32_t* complete) {
                 GEODBLP(p.data(), &n, &cap, list, count, complete);
             }},
            {sharp, [&](int32_t cap, int32_t* list, float*, int32_t* count, int32_t* complete) {
                 int32_t largest = largestDeg;
                 GEOSMLA(&largest, p.data(), &n, &cap, list, count, complete);
             }},
        };
        for (const auto& [expected, call] : routines) {
            for (const int32_t room : {int32_t(expected.size()), int32_t(expected.size()) - 1}) {
                if (room < 0)
                    continue;
                std::vector<int32_t> list(std::size_t(n), 0);
                std::vector<float> km(std::size_t(n), -1.0f);
                int32_t count = -1, complete = 1;
                call(room, list.data(), km.data(), &count, &complete);
                ASSERT_EQ(count, room);
                EXPECT_EQ(std::vector<int32_t>(list.begin(), list.begin() + room),
                          std::vector<int32_t>(expected.begin(), expected.begin() + room));
                EXPECT_EQ(complete, room == int32_t(expected.size()) ? -1 : 0);
                if (&expected == &close) {
                    EXPECT_EQ(std::vector<float>(km.begin(), km.begin() + room),
                              std::vector<float>(closeKm.begin(), closeKm.begin() + room));
                }
            }
        }
    }
    EXPECT_GT(found, 500);
}
