#include "GeometryReference.h"

#include "tavu32d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace geometry_reference;

constexpr float kGuard = 12345.0f;  // values behind the array that nothing may touch
constexpr int kGuards = 4;
constexpr int32_t kModes[] = {0, 2, 1};

float segmentKm(const std::vector<float>& p, int k)
{
    float d = 0;
    std::vector<float> q(p.begin() + 2 * k, p.begin() + 2 * k + 4);
    GEODSTR(&q[0], &q[1], &q[2], &q[3], &d);
    return d;
}

std::vector<float> randomLine(std::mt19937& rng, int n)
{
    std::uniform_real_distribution<double> step(-0.3, 0.3);
    std::vector<float> p(2 * n);
    randomPoint(rng, p[0], p[1]);
    p[1] = std::clamp(p[1], -1.3f, 1.3f);
    for (int i = 1; i < n; ++i) {
        p[2 * i] = float(std::remainder(p[2 * i - 2] + step(rng), 2 * kPi));
        p[2 * i + 1] = float(std::clamp(p[2 * i - 1] + step(rng), -1.3, 1.3));
    }
    return p;
}

// The input points appear unchanged and in order, the first and last in their places.
::testing::AssertionResult keepsInputPoints(const std::vector<float>& input, const std::vector<float>& out, int count)
{
    const int n = int(input.size() / 2);
    int at = 0;
    for (int i = 0; i < n; ++i) {
        while (at < count && (out[2 * at] != input[2 * i] || out[2 * at + 1] != input[2 * i + 1]))
            ++at;
        if (at == count)
            return ::testing::AssertionFailure() << "input point " << i + 1 << " lost";
    }
    if (out[0] != input[0] || out[2 * count - 1] != input[2 * n - 1])
        return ::testing::AssertionFailure() << "ends moved";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult segmentsWithin(const std::vector<float>& p, int count, double stepKm)
{
    for (int k = 0; k + 1 < count; ++k)
        if (segmentKm(p, k) > stepKm)
            return ::testing::AssertionFailure() << "segment " << k + 1 << " is " << segmentKm(p, k);
    return ::testing::AssertionSuccess();
}

bool guardsStay(const std::vector<float>& p, int capacity)
{
    return std::all_of(p.begin() + 2 * capacity, p.end(), [](float v) { return v == kGuard; });
}

struct Densified {
    std::vector<float> out;  // capacity points, then guards
    int32_t count = -1, status = -1;
};

Densified densifyInto(std::vector<float> input, int32_t n, int32_t mode, float step, int32_t capacity)
{
    Densified d;
    d.out.assign(2 * (std::max(capacity, 0) + kGuards), kGuard);
    GEOLOP(&n, input.data(), &mode, &step, &capacity, d.out.data(), &d.count, &d.status);
    return d;
}

// Each random line is densified in place and into a new array.
TEST(Densify, RandomLinesInEveryModeKeepTheirPointsTheStepAndTheCapacity)
{
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> points(2, 8), room(0, 120);
    std::uniform_real_distribution<double> stepKm(20.0, 1500.0);
    int grown = 0, fitted = 0;
    for (int i = 0; i < 1000; ++i) {
        int32_t mode = kModes[i % 3];
        const std::vector<float> input = randomLine(rng, points(rng));
        int32_t n = int32_t(input.size() / 2), capacity = n + room(rng), inPlace = n;
        float step = float(stepKm(rng));
        std::vector<float> p(2 * (capacity + kGuards), kGuard);
        std::copy(input.begin(), input.end(), p.begin());
        GEOAXP(&mode, &step, &capacity, p.data(), &inPlace);
        ASSERT_TRUE(inPlace <= capacity && guardsStay(p, capacity)) << i;
        ASSERT_TRUE(keepsInputPoints(input, p, inPlace)) << i;
        ASSERT_TRUE(inPlace == capacity || segmentsWithin(p, inPlace, step)) << i << " mode " << mode;

        const auto [out, count, status] = densifyInto(input, n, mode, step, capacity);
        ASSERT_TRUE(count <= capacity && guardsStay(out, capacity)) << i;
        ASSERT_TRUE(count >= n || (status == 1 && count == capacity)) << i;
        if (status == 0) {
            ++fitted;
            ASSERT_TRUE(keepsInputPoints(input, out, count)) << i;
            ASSERT_TRUE(segmentsWithin(out, count, step)) << i;
            continue;
        }
        ASSERT_EQ(status, 1);
        ++grown;
        double total = 0;
        for (int k = 0; k + 1 < n; ++k)
            total += segmentKm(input, k);
        ASSERT_TRUE(count == capacity || segmentsWithin(out, count, float(total / (capacity - 1)))) << i;
        // A full output may have given up input points before the last, never the last.
        ASSERT_TRUE(count == capacity || keepsInputPoints(input, out, count)) << i;
        ASSERT_EQ(out[2 * count - 2], input[2 * n - 2]);
        ASSERT_EQ(out[2 * count - 1], input[2 * n - 1]);
    }
    EXPECT_GT(grown, 50);
    EXPECT_GT(fitted, 100);
}

TEST(Densify, OnePassPutsAtMost48PointsIntoASegment)
{
    for (int32_t mode : kModes) {
        std::vector<float> p(2 * 200, kGuard);
        p[0] = 0.1f, p[1] = 0.2f, p[2] = 1.1f, p[3] = 0.6f;
        float step = 1.0f;
        int32_t n = 2, capacity = 50;
        GEOAXP(&mode, &step, &capacity, p.data(), &n);
        ASSERT_EQ(n, 50) << mode;
        std::vector<float> line(2 * 50);
        int32_t fifty = 50;
        if (mode == 0)
            GEOADP(&p[0], &p[1], &p[98], &p[99], &fifty, line.data());
        else if (mode == 1)
            GEOGCL(&p[0], &p[1], &p[98], &p[99], &fifty, line.data());
        else {
            int16_t fifty2 = 50;
            GEOADPM(&p[0], &p[1], &p[98], &p[99], &fifty2, line.data());
        }
        EXPECT_EQ(std::vector<float>(p.begin(), p.begin() + 100), line) << "one pass, the whole segment, mode " << mode;
    }
}

TEST(Densify, AStepOfZeroOrLessOrNotANumberLeavesTheLine)
{
    for (float step : {0.0f, -5.0f, std::numeric_limits<float>::quiet_NaN()}) {
        std::vector<float> p = {0.1f, 0.2f, 1.1f, 0.6f, kGuard, kGuard, kGuard, kGuard};
        const std::vector<float> before = p;
        int32_t mode = 1, capacity = 4, n = 2;
        GEOAXP(&mode, &step, &capacity, p.data(), &n);
        EXPECT_EQ(n, 2) << step;
        EXPECT_EQ(p, before) << step;
    }
}

TEST(DensifyInto, StatusTwoForTooFewOrTooManyPointsAndNothingWritten)
{
    struct Row {
        const char* what;
        int32_t n, capacity;
    };
    const Row rows[] = {{"one point", 1, 10}, {"more points than capacity", 4, 3}};
    for (Row r : rows) {
        const Densified d = densifyInto({0.1f, 0.1f, 0.2f, 0.2f, 0.3f, 0.3f, 0.4f, 0.4f}, r.n, 1, 10, r.capacity);
        EXPECT_EQ(d.status, 2) << r.what;
        EXPECT_TRUE(guardsStay(d.out, 0)) << r.what;
    }
}

TEST(DensifyInto, ALineThatFillsTheOutputExactlyStillFitsItsStep)
{
    const std::vector<float> input = {0.1f, 0.1f, 0.11f, 0.1f, 0.12f, 0.1f};
    const Densified d = densifyInto(input, 3, 1, 100, 3);
    EXPECT_EQ(d.status, 0);
    EXPECT_EQ(d.count, 3);
    EXPECT_TRUE(keepsInputPoints(input, d.out, d.count));
}

TEST(DensifyInto, AnOutputFullBeforeTheLastInputPointEndsWithIt)
{
    // The first segment takes 90% of the length: at the larger step it alone fills the output.
    const Densified d = densifyInto({0.0f, 0.0f, 0.9f, 0.0f, 1.0f, 0.0f}, 3, 1, 10, 4);
    EXPECT_EQ(d.status, 1);
    EXPECT_EQ(d.count, 4);
    EXPECT_TRUE(guardsStay(d.out, 4));
    EXPECT_EQ(d.out[0], 0.0f);
    EXPECT_EQ(d.out[6], 1.0f) << "the last input point closes the output";
    EXPECT_NEAR(d.out[2], 0.3f, 1e-5);
    EXPECT_NEAR(d.out[4], 0.6f, 1e-5);
}

TEST(DensifyInto, APoleEndIsDensifiedOnTheOtherEndsMeridian)
{
    const Densified d = densifyInto({2.5f, 1.5707965f, 0.4f, 1.0f}, 2, 0, 100, 60);
    ASSERT_EQ(d.status, 0);
    EXPECT_EQ(d.out[0], 2.5f) << "the pole keeps its own longitude";
    for (int k = 1; k < d.count; ++k)
        EXPECT_EQ(d.out[2 * k], 0.4f) << k;
}

TEST(SegmentStats, FirstOrLongestSegmentOverTheStep)
{
    const double deg = kPi / 180 * kEarthRadiusKm;
    auto equator = [](std::initializer_list<double> degrees) {
        std::vector<float> p(2 * degrees.size(), 0.0f);
        std::size_t i = 0;
        for (double d : degrees)
            p[2 * i++] = float(d * kPi / 180);
        return p;
    };
    const std::vector<float> line = equator({0, 1, 4, 6, 10});  // segments of 1, 3, 2 and 4 degrees
    const std::vector<float> zigzag = equator({0, 3, 0, 3});    // three equal segments
    struct Row {
        const std::vector<float>& points;
        int32_t mode, n;
        float step;
        double shortest, mean, longest;
        int32_t segment;
    };
    const Row rows[] = {
        {line, 0, 5, float(1.5 * deg), 1 * deg, 2 * deg, 3 * deg, 2},  // stops at the first long one
        {line, 1, 5, float(1.5 * deg), 1 * deg, 2.5 * deg, 4 * deg, 4},
        {line, 1, 5, float(5 * deg), 1 * deg, 2.5 * deg, 4 * deg, 0},
        {zigzag, 1, 4, float(1 * deg), 3 * deg, 3 * deg, 3 * deg, 1},  // the first of equal longest
        {line, 1, 1, 0, 26000, 0, -26000, 0},
        {line, 0, 0, 0, 26000, 0, -26000, 0},
    };
    for (const Row& r : rows) {
        float shortest = 0, mean = 0, longest = 0, step = r.step;
        int32_t segment = -1, mode = r.mode, n = r.n;
        GEOLDI(&mode, &step, const_cast<float*>(r.points.data()), &n, &shortest, &mean, &longest, &segment);
        EXPECT_NEAR(shortest, r.shortest, 0.01) << r.mode << " " << r.n;
        EXPECT_NEAR(mean, r.mean, 0.01) << r.mode << " " << r.n;
        EXPECT_NEAR(longest, r.longest, 0.01) << r.mode << " " << r.n;
        EXPECT_EQ(segment, r.segment) << r.mode << " " << r.n;
    }
}

TEST(CodedSums, StretchesWithACodeAndTheRest)
{
    struct Row {
        const char* what;
        int32_t n;
        std::string codes;
        int32_t codedSum, rest;
    };
    const Row rows[] = {
        {"all blank", 4, "            ", 0, 40},
        {"all coded", 4, "ABCABCABCABC", 40, 0},
        {"first and third", 4, "F     T     ", 10 + 10, 20},
        {"no points", 0, "ABCABCABCABC", 0, 0},
        {"negative count", -2, "ABCABCABCABC", 0, 0},
    };
    for (Row r : rows) {
        std::vector<int32_t> values = {10, 15, 25, 40};
        int32_t coded = -1, rest = -1;
        GEOLSD(&r.n, values.data(), r.codes.data(), &coded, &rest);
        EXPECT_EQ(coded, r.codedSum) << r.what;
        EXPECT_EQ(rest, r.rest) << r.what;
    }
}

TEST(CoincidingVertices, PairsWithoutTheRingsClosingPoint)
{
    // Points 1, 2, 1, 3, 2, 1: a ring whose closing point equals its first.
    std::vector<float> p = {1, 1, 2, 2, 1, 1, 3, 3, 2, 2, 1, 1};
    struct Row {
        int16_t n;
        int32_t maxPairs;
        std::vector<int32_t> pairs;
        int32_t complete;
    };
    const Row rows[] = {
        {6, 10, {1, 3, 2, 5}, -1},
        {5, 10, {1, 3, 2, 5}, -1},
        {6, 1, {1, 3}, 0},
        {6, 0, {}, 0},
        {6, -1, {}, 0},
        {1, 10, {}, -1},
    };
    for (Row r : rows) {
        std::vector<int32_t> pairs(20, -7);
        int32_t count = -1, complete = 1;
        GEOMNYP(p.data(), &r.n, &r.maxPairs, pairs.data(), &count, &complete);
        EXPECT_EQ(std::vector<int32_t>(pairs.begin(), pairs.begin() + 2 * count), r.pairs) << r.n << " " << r.maxPairs;
        EXPECT_EQ(pairs[2 * count], -7) << "nothing past the pairs";
        EXPECT_EQ(complete, r.complete);
    }
    float a[] = {1.0f, 2.0f}, b[] = {1.0f, 2.0f}, c[] = {1.0f, 2.0000002f};
    EXPECT_EQ(GEOPEQP(a, b), -1);
    EXPECT_EQ(GEOPEQP(a, c), 0);
}

}  // namespace
