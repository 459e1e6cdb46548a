#include "GeometryReference.h"

#include "geometry/Windows.h"
#include "tavu32d.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <random>
#include <vector>

namespace {

using namespace geometry_reference;

constexpr float kPiF = 3.141593f;
constexpr float kHalfPiF = 1.5707965f;
constexpr double kBeyond = 4.0;  // past either end of the longitudes

float rad(double degrees)
{
    return float(degrees * kPi / 180);
}

using Win = std::array<float, 4>;  // west, south, east, north

bool isTrue(int32_t logical)
{
    return logical == -1;
}

// A window as one or two plain longitude intervals.
struct Interval {
    double lo, hi;
};

std::vector<Interval> pieces(const Win& w)
{
    if (w[0] <= w[2])
        return {{w[0], w[2]}};
    return {{w[0], kBeyond}, {-kBeyond, w[2]}};
}

// The longitude intervals that a and b share.
std::vector<Interval> sharedPieces(const Win& a, const Win& b)
{
    std::vector<Interval> parts;
    for (Interval p : pieces(a))
        for (Interval q : pieces(b))
            if (p.lo <= q.hi && p.hi >= q.lo)
                parts.push_back({std::max(p.lo, q.lo), std::min(p.hi, q.hi)});
    return parts;
}

bool overlapByPieces(const Win& a, const Win& b)
{
    return a[1] <= b[3] && a[3] >= b[1] && !sharedPieces(a, b).empty();
}

bool insideByPieces(const Win& a, const Win& b)
{
    if (a[1] < b[1] || a[3] > b[3])
        return false;
    for (Interval p : pieces(a)) {
        bool held = false;
        for (Interval q : pieces(b))
            held = held || (q.lo <= p.lo && p.hi <= q.hi);
        if (!held)
            return false;
    }
    return true;
}

// The intersection when it is one window.
std::optional<Win> intersectionByPieces(const Win& a, const Win& b)
{
    const std::vector<Interval> parts = sharedPieces(a, b);
    const float south = std::max(a[1], b[1]), north = std::min(a[3], b[3]);
    if (parts.size() == 1 && parts[0].lo > -kBeyond && parts[0].hi < kBeyond)
        return Win{float(parts[0].lo), south, float(parts[0].hi), north};
    if (parts.size() == 2 && parts[0].hi == kBeyond && parts[1].lo == -kBeyond)
        return Win{float(parts[0].lo), south, float(parts[1].hi), north};
    return std::nullopt;
}

// Narrower than 300 degrees, crossing 180 degrees when asked.
Win randomWindow(std::mt19937& rng, bool crossing)
{
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (;;) {
        const double width = u(rng) * rad(300), west = (2 * u(rng) - 1) * kPi;
        double east = west + width;
        if ((east > kPi) != crossing)
            continue;
        if (east > kPi)
            east -= 2 * kPi;
        double s = (u(rng) - 0.5) * kPi, n = (u(rng) - 0.5) * kPi;
        if (s > n)
            std::swap(s, n);
        return {float(west), float(s), float(east), float(n)};
    }
}

// Half of the inner windows are cut from the outer one, so that containment comes up.
Win innerOf(std::mt19937& rng, const Win& outer)
{
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const double width = outer[2] - outer[0] + (outer[0] > outer[2] ? 2 * kPi : 0);
    const double from = u(rng) * width, to = from + u(rng) * (width - from);
    auto lon = [&](double x) { return float(outer[0] + x > kPi ? outer[0] + x - 2 * kPi : outer[0] + x); };
    const double span = outer[3] - outer[1];
    const double s = outer[1] + u(rng) * span, n = s + u(rng) * (outer[3] - s);
    return {lon(from), float(s), lon(to), float(n)};
}

TEST(Windows, BoundingWindowsTakeTheNarrowerWayRound)
{
    struct Row {
        const char* what;
        std::vector<float> points;
        int32_t n;
        Win expected;
    };
    const Row rows[] = {
        {"170 and -170 cross", {rad(170), 0.1f, rad(-170), 0.2f}, 2, {rad(170), 0.1f, rad(-170), 0.2f}},
        {"10 and -10 do not", {rad(10), 0.1f, rad(-10), -0.2f}, 2, {rad(-10), -0.2f, rad(10), 0.1f}},
        {"equal widths cross", {kHalfPiF, 0, -kHalfPiF, 0}, 2, {kHalfPiF, 0, -kHalfPiF, 0}},
        {"east only", {0.1f, 0, 0.5f, 0.3f, 0.2f, -0.1f}, 3, {0.1f, -0.1f, 0.5f, 0.3f}},
        {"west only", {-0.1f, 0, -0.5f, 0.3f}, 2, {-0.5f, 0, -0.1f, 0.3f}},
        {"one point", {0.4f, 0.5f, 9, 9}, 1, {0.4f, 0.5f, 0.4f, 0.5f}},
        {"no point reads the first", {0.4f, 0.5f, 9, 9}, 0, {0.4f, 0.5f, 0.4f, 0.5f}},
    };
    for (Row r : rows) {
        Win w{};
        GEOWND(r.points.data(), &r.n, w.data());
        EXPECT_EQ(w, r.expected) << r.what;
        EXPECT_EQ(isTrue(GEONWND(w.data())), w[0] <= w[2]) << r.what;
    }
}

TEST(Windows, PointsOnTheEdgesLieInside)
{
    struct Row {
        const char* what;
        Win window;
        std::vector<float> points;
        int32_t first, last;
    };
    const Win normal{-0.2f, -0.1f, 0.2f, 0.1f}, crossing{rad(170), -0.1f, rad(-170), 0.1f};
    const Row rows[] = {
        {"corners", normal, {-0.2f, -0.1f, 0.5f, 0, 0.2f, 0.1f}, 1, 3},
        {"outside", normal, {0.3f, 0, 0, 0.2f}, 0, 0},
        {"crossing, both sides", crossing, {0, 0, rad(175), 0, rad(-175), 0.1f, 0, 0}, 2, 3},
        {"crossing edges", crossing, {rad(-170), -0.1f, rad(170), 0.1f}, 1, 2},
    };
    for (Row r : rows) {
        auto n = int16_t(r.points.size() / 2);
        int32_t first = -1, last = -1;
        GEOPIW1(r.points.data(), &n, r.window.data(), &first);
        GEOPIW2(r.points.data(), &n, r.window.data(), &last);
        EXPECT_EQ(first, r.first) << r.what;
        EXPECT_EQ(last, r.last) << r.what;
        EXPECT_EQ(isTrue(GEOPIW(r.points.data(), &n, r.window.data())), r.first != 0) << r.what;
    }
}

TEST(Windows, CentresAndOutlines)
{
    struct Row {
        Win window;
        float lon, lat;
        int32_t count;
    };
    const Row rows[] = {
        {{0.1f, 0.2f, 0.3f, 0.4f}, 0.2f, 0.3f, 5},
        {{rad(170), 0, rad(-150), 0.2f}, rad(-170), 0.1f, 5},
        {{rad(-60), 0, rad(60), 0.2f}, 0, 0.1f, 7},
        {{rad(100), 0, rad(-100), 0.2f}, rad(180), 0.1f, 7},
    };
    for (Row r : rows) {
        float lon = 0, lat = 0;
        GEOWNDC(r.window.data(), &lon, &lat);
        EXPECT_NEAR(lon, r.lon, 1e-6);
        EXPECT_NEAR(lat, r.lat, 1e-6);
        std::vector<float> ring(14, 9.0f);
        int32_t count = 0;
        GEOWNDL(r.window.data(), ring.data(), &count);
        ASSERT_EQ(count, r.count);
        EXPECT_EQ(ring[0], ring[2 * count - 2]);
        EXPECT_EQ(ring[1], ring[2 * count - 1]);
        if (count == 7) {
            EXPECT_EQ(ring[4], lon);
            EXPECT_EQ(ring[10], lon);
        }
    }
}

TEST(Windows, OverlapContainmentAndIntersectionAgreeWithPiecewiseIntervals)
{
    std::mt19937 rng(42);
    int inside = 0, onePiece = 0;
    for (int i = 0; i < 10000; ++i) {
        Win a = randomWindow(rng, i % 2 == 0);
        Win b = i % 4 < 2 ? randomWindow(rng, i % 3 == 0) : innerOf(rng, a);
        if (i % 8 >= 4)
            std::swap(a, b);
        ASSERT_EQ(isTrue(GEOWIW(a.data(), b.data())), overlapByPieces(a, b)) << i;
        ASSERT_EQ(isTrue(GEOWTIW(a.data(), b.data())), insideByPieces(a, b)) << i;
        inside += insideByPieces(a, b);
        Win w{};
        int32_t disjoint = -1;
        GEOWNDS(a.data(), b.data(), w.data(), &disjoint);
        ASSERT_EQ(disjoint, overlapByPieces(a, b) ? 0 : 1) << i;
        if (const auto exact = intersectionByPieces(a, b); exact && !disjoint) {
            ++onePiece;
            ASSERT_EQ(w, *exact) << i;
        }
    }
    EXPECT_GT(inside, 1000);
    EXPECT_GT(onePiece, 5000);
}

TEST(Windows, CrossingWindowsAlwaysOverlapAndDisjointOnesGetAWindowAroundBoth)
{
    Win a{rad(100), 0, rad(-100), 0.2f}, b{rad(170), 0.1f, rad(-10), 0.3f};
    EXPECT_TRUE(isTrue(GEOWIW(a.data(), b.data())));
    Win c{0.1f, 0.1f, 0.2f, 0.2f}, d{0.5f, -0.3f, 0.6f, -0.2f}, w{};
    int32_t disjoint = 0;
    GEOWNDS(c.data(), d.data(), w.data(), &disjoint);
    EXPECT_EQ(disjoint, 1);
    EXPECT_EQ(w, (Win{0.1f, -0.3f, 0.6f, 0.2f}));
}

TEST(Windows, NineWindowsCoverTheSphere)
{
    std::mt19937 rng(3);
    for (int i = 0; i < 200; ++i) {
        Win w = randomWindow(rng, i % 2 == 0);
        std::array<float, 36> nine{};
        GEOW9(w.data(), nine.data());
        EXPECT_TRUE(std::equal(w.begin(), w.end(), nine.begin()));
        for (int k = 0; k < 100; ++k) {
            std::array<float, 2> p{};
            randomPoint(rng, p[0], p[1]);
            int16_t one = 1;
            int hits = 0;
            for (int j = 0; j < 9; ++j)
                hits += isTrue(GEOPIW(p.data(), &one, nine.data() + 4 * j));
            ASSERT_GE(hits, 1) << i;
        }
    }
    Win centred{-0.5f, -0.1f, 0.5f, 0.1f};
    std::array<float, 36> nine{};
    GEOW9(centred.data(), nine.data());
    EXPECT_EQ(nine[4], -kPiF) << "the opposite meridian starts a window at -pi";
    EXPECT_EQ(nine[10], kPiF) << "and ends one at pi";
}

TEST(Windows, WideningRestoresTheSavedWindowBitForBit)
{
    struct Row {
        const char* what;
        int32_t mode, margin;
        Win window, expected;
    };
    const float sec = 4.8481375e-6f;
    const Row rows[] = {
        {"wraps at 180", 0, 1000, {3.14f, 0, -3.14f, 0.1f}, {float(3.14 - 1000.0 * sec), float(-1000.0 * sec),
                                                              float(-3.14 + 1000.0 * sec), float(0.1 + 1000.0 * sec)}},
        {"stops at 180", 1, 10000, {-3.14f, 0, 3.1f, 0.1f}, {-kPiF, float(-10000.0 * sec), kPiF, float(0.1 + 10000.0 * sec)}},
        {"full width", 0, 300000, {-2.0f, 1.5f, 2.0f, 1.55f}, {-kPiF, float(1.5 - 300000.0 * sec), kPiF, kHalfPiF}},
    };
    for (Row r : rows) {
        Win w = r.window;
        GEOADTW(&r.mode, &r.margin, w.data());
        for (int k = 0; k < 4; ++k)
            EXPECT_NEAR(w[k], r.expected[k], 1e-6) << r.what << " " << k;
        int32_t restore = -1, margin = 0;
        GEOADTW(&restore, &margin, w.data());
        EXPECT_EQ(std::memcmp(w.data(), r.window.data(), sizeof w), 0) << r.what;
    }
}

TEST(Windows, CircleWindowsHoldTheCircle)
{
    struct Row {
        const char* what;
        float lon, lat, dist;
        double halfWidth;
    };
    const Row rows[] = {
        {"reaches the north pole", 0.1f, 1.4f, 2000, 3.1415882},
        {"reaches the south pole", 3.0f, -1.0f, 5000, 3.1415882},
        {"largest radius", 0.1f, 0.2f, 30000, 3.1415882},
        {"equator", 1.0f, 0, 1000, 1000 / kEarthRadiusKm},
        {"60 north", -3.0f, rad(60), 500, std::asin(std::sin(500 / kEarthRadiusKm) / std::cos(rad(60)))},
    };
    for (Row r : rows) {
        Win w{};
        GEOSQR(&r.lon, &r.lat, &r.dist, w.data());
        const double east = std::remainder(double(w[2]) - r.lon, 2 * kPi);
        const double west = std::remainder(r.lon - double(w[0]), 2 * kPi);
        EXPECT_NEAR(east, r.halfWidth, 1e-5) << r.what;
        EXPECT_NEAR(west, r.halfWidth, 1e-5) << r.what;
        EXPECT_GE(w[1], -kHalfPiF);
        EXPECT_LE(w[3], kHalfPiF);
    }
    float lon = 0.1f, lat = 0.2f, beyond = 25000, largest = 20020.371f;
    Win a{}, b{};
    GEOSQR(&lon, &lat, &beyond, a.data());
    GEOSQR(&lon, &lat, &largest, b.data());
    EXPECT_EQ(a, b) << "a radius above the largest acts as the largest";
}

// Reference distance from a point to a window: 0 inside, else the nearest of its edges.
double distanceToWindow(const Win& w, float lon, float lat)
{
    int16_t one = 1;
    std::array<float, 2> p{lon, lat};
    if (isTrue(GEOPIW(p.data(), &one, const_cast<float*>(w.data()))))
        return 0;
    double best = 1e9;
    for (float edge : {w[0], w[2]}) {  // nearest point of a meridian edge: the foot, held to the edge
        const double foot = std::atan2(std::sin(lat), std::cos(lat) * std::cos(double(lon) - edge));
        best = std::min(best, inverse(lon, lat, edge, float(std::clamp(foot, double(w[1]), double(w[3])))).distanceKm);
    }
    const bool inBand = w[0] <= w[2] ? w[0] <= lon && lon <= w[2] : lon >= w[0] || lon <= w[2];
    for (float edge : {w[1], w[3]})  // nearest point of a parallel edge: the nearest longitude in the band
        if (inBand)
            best = std::min(best, inverse(lon, lat, lon, edge).distanceKm);
    return best;
}

TEST(Windows, NearWindowAgreesWithTheDistanceToTheNearestEdge)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> km(0.0, 4000.0);
    int within = 0, checked = 0;
    for (int i = 0; i < 10000; ++i) {
        Win w = randomWindow(rng, i % 2 == 0);
        std::array<float, 2> p{};
        randomPoint(rng, p[0], p[1]);
        float dist = float(km(rng));
        const double ref = distanceToWindow(w, p[0], p[1]);
        if (std::fabs(ref - dist) < 0.05)
            continue;
        ++checked;
        within += ref <= dist;
        ASSERT_EQ(isTrue(GEOILN(w.data(), p.data(), &dist)), ref <= dist) << i << " ref " << ref << " dist " << dist;
    }
    EXPECT_GT(within, 1000);
    EXPECT_LT(within, checked - 1000);
}

TEST(Windows, MoveToFront)
{
    struct Row {
        int32_t position;
        std::array<int16_t, 4> expected;
    };
    const Row rows[] = {{3, {3, 1, 2, 4}}, {4, {4, 1, 2, 3}}, {1, {1, 2, 3, 4}}, {0, {1, 2, 3, 4}}, {-2, {1, 2, 3, 4}}};
    for (const Row& r : rows) {
        std::array<int16_t, 4> list{1, 2, 3, 4};
        geo::GEOFRNT(list.data(), r.position);
        EXPECT_EQ(list, r.expected) << r.position;
    }
}

}  // namespace
