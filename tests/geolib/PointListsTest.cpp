#include "tavu32d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kAngleTolDeg = 1e-4;

struct List {
    std::vector<int32_t> numbers;
    int32_t complete = 0;
};

// Runs a list routine with the given capacity and keeps what it listed.
template <class Call>
List listed(int32_t capacity, Call call)
{
    std::vector<int32_t> numbers(std::size_t(std::max(capacity, 1)), -7);
    int32_t count = -1;
    List out;
    call(capacity, numbers.data(), count, out.complete);
    out.numbers.assign(numbers.begin(), numbers.begin() + count);
    return out;
}

// A line with repeated points and spikes, in degrees turned to radians.
std::vector<float> randomLine(std::mt19937& rng, int n)
{
    std::uniform_real_distribution<double> step(-2, 2);
    std::vector<float> p;
    double lon = 20, lat = 40;
    for (int k = 0; k < n; ++k) {
        switch (rng() % 5) {
        case 0:
            break;  // the point again
        case 1:
            if (k >= 2) {  // back towards the point before
                lon = p[p.size() - 4] * 180 / kPi + 0.01 * step(rng), lat = p[p.size() - 3] * 180 / kPi;
                break;
            }
            [[fallthrough]];
        default:
            lon += step(rng), lat += step(rng);
        }
        p.insert(p.end(), {float(lon * kPi / 180), float(lat * kPi / 180)});
    }
    return p;
}

}  // namespace

TEST(VertexAngle, GivesTheAngleAtTheMiddlePoint)
{
    struct Row {
        float p[6];
        float expected;
    };
    const Row rows[] = {
        {{0.2f, 0.1f, 0, 0, 0.4f, 0.2f}, 0},          // the same direction
        {{0.2f, 0.1f, 0, 0, -0.4f, -0.2f}, 180},      // opposite directions
        {{0.1f, 0, 0, 0, 0, 0.3f}, 90},
        {{0, 0, 0, 0, 0.1f, 0.1f}, 180},              // point 1 on the vertex
        {{0, 0, 0, 0, 0, 0}, 0},                      // all three the same
        {{3.1f, 0, -3.1f, 0, -3.0f, 0}, 180},         // across 180 degrees
    };
    for (const Row& r : rows) {
        float p[6], angle = -1;
        std::copy(r.p, r.p + 6, p);
        GEOA123(&p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &angle);
        EXPECT_NEAR(angle, r.expected, kAngleTolDeg) << r.p[0] << " " << r.p[4];
    }

    std::mt19937 rng(123);
    std::uniform_real_distribution<float> u(-1, 1);
    for (int k = 0; k < 1000; ++k) {
        float p[6];
        for (float& v : p)
            v = u(rng);
        float angle = -1;
        GEOA123(&p[0], &p[1], &p[2], &p[3], &p[4], &p[5], &angle);
        const double x1 = double(p[0]) - p[2], y1 = double(p[1]) - p[3], x3 = double(p[4]) - p[2],
                     y3 = double(p[5]) - p[3];
        const double planar = std::fabs(std::atan2(x1 * y3 - y1 * x3, x1 * x3 + y1 * y3)) * 180 / kPi;
        EXPECT_NEAR(angle, planar, kAngleTolDeg);
    }
}

TEST(PointLists, ListWhatADirectScanFindsAndReportAFullList)
{
    std::mt19937 rng(99);
    int repeats = 0, turns = 0;
    for (int c = 0; c < 50; ++c) {
        std::vector<float> p = randomLine(rng, 3 + int(rng() % 80));
        int16_t n = int16_t(p.size() / 2);
        auto at = [&](int k) { return &p[2 * (k - 1)]; };  // point k from 1

        std::vector<int32_t> repeated, sharp;
        const int32_t largestDeg = 20;
        for (int k = 2; k <= n; ++k) {
            if (at(k)[0] == at(k - 1)[0] && at(k)[1] == at(k - 1)[1])
                repeated.push_back(k);
            if (k < n) {
                int32_t d1, az11, az12, d2, az21, az22;
                LMF90R4(at(k - 1), at(k - 1) + 1, at(k), at(k) + 1, &d1, &az11, &az12);
                LMF90R4(at(k), at(k) + 1, at(k + 1), at(k + 1) + 1, &d2, &az21, &az22);
                const int turn = std::abs(az21 - az12);
                if (d1 > 1 && d2 > 1 && (turn >= 181 ? 360 - turn : turn) <= largestDeg)
                    sharp.push_back(k);
            }
        }
        repeats += int(repeated.size()), turns += int(sharp.size());

        struct Routine {
            const char* name;
            std::vector<int32_t> expected;
            std::function<void(int32_t, int32_t*, int32_t&, int32_t&)> call;
        };
        const Routine routines[] = {
            {"GEODBLP", repeated,
             [&](int32_t cap, int32_t* list, int32_t& count, int32_t& complete) {
                 GEODBLP(p.data(), &n, &cap, list, &count, &complete);
             }},
            {"GEOSMLA", sharp,
             [&](int32_t cap, int32_t* list, int32_t& count, int32_t& complete) {
                 int32_t largest = largestDeg;
                 GEOSMLA(&largest, p.data(), &n, &cap, list, &count, &complete);
             }},
        };
        for (const Routine& r : routines) {
            SCOPED_TRACE(r.name);
            const List all = listed(int32_t(r.expected.size()), r.call);
            EXPECT_EQ(all.numbers, r.expected);
            EXPECT_EQ(all.complete, -1);
            if (r.expected.empty())
                continue;
            const List cut = listed(int32_t(r.expected.size()) - 1, r.call);
            EXPECT_EQ(cut.numbers, std::vector<int32_t>(r.expected.begin(), r.expected.end() - 1));
            EXPECT_EQ(cut.complete, 0);
        }
    }
    EXPECT_GT(repeats, 100);
    EXPECT_GT(turns, 100);
}

TEST(PointLists, ASpikeIsASharpTurnAndAStraightLineIsNot)
{
    constexpr float kDeg = float(kPi / 180);
    std::vector<float> p = {0, 0, 2 * kDeg, 0, 4 * kDeg, 0, 2 * kDeg, 0.01f * kDeg, 2 * kDeg, 3 * kDeg};
    int16_t n = 5;
    int32_t largest = 10, capacity = 5, count = 0, complete = 0;
    std::vector<int32_t> list(5);
    GEOSMLA(&largest, p.data(), &n, &capacity, list.data(), &count, &complete);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(list[0], 3);
}
