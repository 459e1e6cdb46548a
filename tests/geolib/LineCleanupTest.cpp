#include "tavu32d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180;

// Points on the equator at the given longitudes in degrees.
std::vector<float> onEquator(const std::vector<double>& lonsDeg)
{
    std::vector<float> p;
    for (const double lon : lonsDeg)
        p.insert(p.end(), {float(lon * kDeg), 0.0f});
    return p;
}

void expectLongitudes(const std::vector<float>& p, int32_t n, const std::vector<double>& lonsDeg, const char* what)
{
    ASSERT_EQ(n, int32_t(lonsDeg.size())) << what;
    for (int32_t k = 0; k < n; ++k)
        EXPECT_NEAR(p[2 * k] / kDeg, lonsDeg[k], 1e-5) << what << ", point " << k + 1;
}

}  // namespace

TEST(LineCleanup, RepeatedPointsAreRemovedAndOtherLinesLeftAlone)
{
    std::mt19937 rng(5);
    for (int c = 0; c < 200; ++c) {
        std::vector<std::array<float, 2>> line(rng() % 40), kept;
        for (std::size_t k = 0; k < line.size(); ++k)
            line[k] = k && c % 2 && rng() % 3 == 0 ? line[k - 1] : std::array{float(rng() % 5), float(rng() % 3)};
        std::unique_copy(line.begin(), line.end(), std::back_inserter(kept));
        int32_t n = int32_t(line.size());
        GEODBLD(line.empty() ? nullptr : line.front().data(), &n);
        EXPECT_EQ(std::vector(line.begin(), line.begin() + n), kept);
    }
    std::vector<float> longest(2 * 40000, 0.5f);
    int32_t n = 40000;
    GEODBLD(longest.data(), &n);
    EXPECT_EQ(n, 40000) << "beyond the longest line nothing is done";
}

TEST(LineCleanup, ShortSegmentsLoseAPointAtTheirShortestSegment)
{
    struct Row {
        const char* what;
        std::vector<double> lons;
        float limitKm;
        std::vector<double> expected;
    };
    const Row rows[] = {
        {"first segment: point 2 goes", {0, 0.1, 5, 10}, 0, {0, 5, 10}},
        {"last segment: the point before the last goes", {0, 5, 10, 10.1}, -1, {0, 5, 10.1}},
        {"alike neighbours: the ends meet in the middle", {0, 5, 5.2, 10}, 0, {0, 5.1, 10}},
        {"a much longer segment after: its start stays", {0, 5, 5.2, 5.35, 10}, 0, {0, 5, 5.35, 10}},
        {"a much longer segment before: its end stays", {0, 5, 5.15, 5.35, 5.6}, 0, {0, 5, 5.35, 5.6}},
        {"until no segment is shorter than the limit", {0, 1, 3, 6, 10}, 150, {0, 3, 6, 10}},
        {"a large limit leaves the ends", {0, 1, 3, 6, 10, 11}, 1e6f, {0, 11}},
        {"two points stay", {0, 0.1}, 1e6f, {0, 0.1}},
    };
    for (const Row& row : rows) {
        std::vector<float> p = onEquator(row.lons);
        int32_t n = int32_t(row.lons.size());
        float limit = row.limitKm;
        GEOCDCP(&limit, p.data(), &n);
        expectLongitudes(p, n, row.expected, row.what);
    }
}

TEST(LineCleanup, ThinningKeepsTheEndsAndLowersItsToleranceToKeepTheLeastCount)
{
    std::vector<double> degrees;
    for (int k = 0; k <= 10; ++k)
        degrees.push_back(k);
    std::vector<float> p = onEquator({0, 1});
    const float degreeKm = GEODST3(&p[0], &p[1], &p[2], &p[3]);
    struct Row {
        const char* what;
        std::vector<double> lons;
        float toleranceKm;
        int32_t leastCount;
        std::vector<double> expected;
    };
    const Row rows[] = {
        {"all near point 1, the last half the tolerance away or more", {0, 0.3, 0.6, 1.0}, 200, 1, {0, 1.0}},
        {"all near point 1, the last nearer than half of it", {0, 0.3, 0.5, 0.8}, 200, 1, {0.8}},
        {"every second point", degrees, degreeKm + 0.3f, 6, {0, 2, 4, 6, 8, 10}},
        {"more wanted: the tolerance drops below a degree", degrees, degreeKm + 0.3f, 7, degrees},
        {"a tolerance beyond the sphere comes down too", degrees, 1e30f, 3, {0, 6, 10}},
        {"a tolerance that is not a number keeps every point", degrees, std::nanf(""), 3, degrees},
        {"one point", {4}, 200, 5, {4}},
        {"no point", {}, 200, 5, {}},
    };
    for (const Row& row : rows) {
        std::vector<float> in = onEquator(row.lons), out(in.size() + 2, -9.0f);
        int32_t n = int32_t(row.lons.size()), least = row.leastCount, count = -1;
        float tolerance = row.toleranceKm;
        GEOSM1(&tolerance, &least, in.data(), &n, out.data(), &count);
        expectLongitudes(out, count, row.expected, row.what);
    }
    int32_t n = -3, least = 1, count = -1;
    float tolerance = 1, none[2] = {};
    GEOSM1(&tolerance, &least, none, &n, none, &count);
    EXPECT_EQ(count, 0) << "a line of no points thins to none";
}

TEST(LineCleanup, StretchesMergeEqualNeighboursAndAbsorbShortOnes)
{
    std::mt19937 rng(44);
    for (int c = 0; c < 500; ++c) {
        SCOPED_TRACE(c);
        // Stretches with codes of few kinds, each code also a number, and a pair travelling along.
        const int32_t n = 1 + int32_t(rng() % 30), least = int32_t(rng() % 15);
        std::vector<int32_t> ends, entries, pairs;
        std::string codes;
        for (int32_t k = 0, end = 0; k < n; ++k) {
            ends.push_back(end += 1 + int32_t(rng() % 20));
            const int kind = int(rng() % 3), variant = rng() % 4 ? 0 : 1;
            codes += std::string(1, char('A' + kind)) + "B" + (variant ? "C" : " ");
            entries.insert(entries.end(), {end, 10 * kind + variant});
            pairs.insert(pairs.end(), {int32_t(rng() % 1000), -end});
        }
        int32_t n2 = n, n4 = n, leastLength = least;
        std::vector<int32_t> ends4 = ends, pairs4 = pairs;
        std::string codes4 = codes;
        GEOSM2(entries.data(), &n2, &leastLength);
        GEOSM4(pairs4.data(), ends4.data(), codes4.data(), &n4, &leastLength);
        ASSERT_EQ(n4, n2) << "codes and their numbers give the same stretches";
        ASSERT_GE(n2, 1);
        EXPECT_EQ(ends4[n4 - 1], ends.back()) << "the line ends where it did";
        for (int32_t k = 0; k < n2; ++k) {
            EXPECT_EQ(entries[2 * k], ends4[k]);
            if (k + 1 < n2) {
                EXPECT_NE(entries[2 * k + 1], entries[2 * k + 3]);
                EXPECT_NE(codes4.substr(3 * k, 3), codes4.substr(3 * k + 3, 3));
            }
            if (n2 > 1) {
                EXPECT_GE(ends4[k] - (k ? ends4[k - 1] : 0), least) << "stretch " << k;
            }
            const auto from = std::size_t(std::find(ends.begin(), ends.end(), ends4[k]) - ends.begin());
            ASSERT_LT(from, ends.size()) << "an end position from the input";
            EXPECT_EQ(pairs4[2 * k], pairs[2 * from]) << "the pair travels with its end";
            EXPECT_EQ(pairs4[2 * k + 1], pairs[2 * from + 1]);
        }
    }
}
