// Cutting a closed country outline to a window (GEOCTW) and closing it along the window (GEOCTW2).
#include "PolygonReference.h"

#include "map/OutlineToWindow.h"
#include "geometry/PointInPolygon.h"
#include "tavu32d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <vector>

using namespace polygon_reference;

namespace {

constexpr double kDeg = kPi / 180;
constexpr double kTol = 1e-6;  // rad

geo::Window degWindow(double west, double south, double east, double north)
{
    return {float(west * kDeg), float(south * kDeg), float(east * kDeg), float(north * kDeg)};
}

Points degPoints(std::initializer_list<double> degrees)
{
    Points p;
    for (double d : degrees)
        p.push_back(float(d * kDeg));
    return p;
}

bool inWindow(double lon, double lat, const geo::Window& w)
{
    const double x = near(lon, w.west) - w.west;
    return lat >= w.south - kTol && lat <= w.north + kTol && x >= -kTol && x <= eastAfterWest(w) - w.west + kTol;
}

struct Cut {
    Points points;
    std::int32_t n;
    std::int32_t flag;
    geo::Window outlineWindow;
};

// GEOCTW through its export, with room for `room` points.
Cut cutToWindow(geo::Window w, Points points, std::int32_t room)
{
    std::int32_t n = std::int32_t(count(points));
    points.resize(2 * std::size_t(room));
    float window[4], outline[4];
    geo::storeWindow(window, w);
    geo::storeWindow(outline, geo::boundingWindow(points.data(), n));
    std::int32_t flag = -7;
    GEOCTW(window, &room, outline, points.data(), &n, &flag);
    points.resize(2 * std::size_t(n));
    return {points, n, flag, geo::windowOf(outline)};
}

// A random closed walk about a random window, a quarter of them across 180 degrees.
std::pair<geo::Window, Points> randomOutline(std::mt19937& rng)
{
    std::uniform_real_distribution<double> u(0, 1);
    const bool crossing = u(rng) < 0.25;
    const double halfLon = (0.5 + 10 * u(rng)) * kDeg, halfLat = (0.5 + 8 * u(rng)) * kDeg;
    const double lon = crossing ? kPi + (u(rng) - 0.5) * halfLon : (u(rng) * 2 - 1) * 150 * kDeg;
    const double lat = (u(rng) * 2 - 1) * 60 * kDeg;
    Points p;
    const int n = 3 + int(u(rng) * 200);
    const double step = std::pow(10.0, -1.5 + 2 * u(rng));
    double x = lon + (u(rng) * 4 - 2) * halfLon, y = lat + (u(rng) * 4 - 2) * halfLat;
    for (int i = 0; i < n; ++i) {
        const double a = u(rng) * 2 * kPi, s = step * u(rng);
        x = std::clamp(x + std::cos(a) * s * halfLon, lon - 40 * kDeg, lon + 40 * kDeg);
        y = std::clamp(y + std::sin(a) * s * halfLat, -80 * kDeg, 80 * kDeg);
        p.insert(p.end(), {float(near(x, 0)), float(y)});
    }
    p.insert(p.end(), {p[0], p[1]});
    return {windowAround(lon, lat, halfLon, halfLat), p};
}

TEST(OutlineToWindow, RandomOutlinesAreClosedInsideTheWindowAndKeepPointInPolygon)
{
    std::mt19937 rng(20);
    std::uniform_real_distribution<double> u(0, 1);
    int tested = 0, kept = 0;
    for (int i = 0; i < 400; ++i) {
        const auto [w, original] = randomOutline(rng);
        const Cut c = cutToWindow(w, original, std::int32_t(count(original)) * 3 + 200);
        ASSERT_EQ(c.flag, 0) << "case " << i;
        if (c.n == 0)
            continue;
        ++kept;
        ASSERT_TRUE(c.points[0] == c.points[c.points.size() - 2] && c.points[1] == c.points.back())
            << "case " << i << " is closed";
        for (std::size_t k = 0; k < count(c.points); ++k)
            ASSERT_TRUE(inWindow(c.points[2 * k], c.points[2 * k + 1], w)) << "case " << i << " point " << k;
        for (int k = 0; k < 20; ++k) {
            const double lon = w.west + u(rng) * (eastAfterWest(w) - w.west);
            const double lat = w.south + u(rng) * (w.north - w.south);
            if (edgeDistanceKm(lon, lat, original) <= 2)
                continue;
            ++tested;
            const geo::Point p{float(near(lon, 0)), float(lat)};
            ASSERT_EQ(evenOddInside(lon, lat, c.points), evenOddInside(lon, lat, original))
                << "case " << i << " at " << lon / kDeg << " " << lat / kDeg;
            ASSERT_EQ(geo::GEOPIA2(p, c.points.data(), c.n),
                      geo::GEOPIA2(p, original.data(), std::int32_t(count(original))))
                << "case " << i << " at " << lon / kDeg << " " << lat / kDeg;
        }
    }
    EXPECT_GT(kept, 200);
    EXPECT_GT(tested, 2000);
}

TEST(OutlineToWindow, WorkedCases)
{
    const geo::Window w = degWindow(10, 40, 20, 50);
    const Points inside = degPoints({12, 42, 18, 42, 15, 48, 12, 42});
    const Points disjoint = degPoints({30, 42, 38, 42, 35, 48, 30, 42});
    const Points wide = degPoints({5, 35, 25, 35, 25, 55, 5, 55, 5, 35});

    Cut c = cutToWindow(w, inside, 10);
    EXPECT_EQ(c.flag, 0);
    EXPECT_EQ(c.points, inside) << "an outline inside the window is unchanged";

    c = cutToWindow(w, disjoint, 10);
    EXPECT_EQ(c.n, 0);
    EXPECT_EQ(c.flag, 0);

    c = cutToWindow(w, wide, 20);
    EXPECT_EQ(c.flag, 0);
    EXPECT_TRUE(geo::windowInWindow(c.outlineWindow, w));
    EXPECT_TRUE(geo::GEOPIA2({float(15 * kDeg), float(45 * kDeg)}, c.points.data(), c.n))
        << "an outline around the window covers it";

    // A zigzag that dips 4 times below the window's south side crosses it 8 times; the cut
    // leaves room for 8 more points at n + 4, too few for 16.
    Points zigzag = degPoints({11, 45});
    for (int k = 0; k < 4; ++k)
        for (const auto& [dLon, lat] : {std::pair{1.0, 30.0}, {1.5, 25.0}, {2.0, 30.0}, {2.5, 45.0}})
            zigzag.insert(zigzag.end(), {float((10 + 2.5 * k + dLon) * kDeg), float(lat * kDeg)});
    zigzag.insert(zigzag.end(), {zigzag[0], zigzag[1]});
    const std::int32_t n = std::int32_t(count(zigzag));
    EXPECT_EQ(cutToWindow(w, zigzag, n + 4).flag, 1) << "too little room for the crossings";
    EXPECT_EQ(cutToWindow(w, zigzag, n + 40).flag, 0);
}

TEST(OutlineToWindow, ClosingMovesOutsidePointsOntoTheBorder)
{
    float window[4];
    geo::storeWindow(window, degWindow(10, 40, 20, 50));
    // The second point lies north-west of the window and goes to its north-west corner; its
    // edges bend where they cross the lines of the west and north sides.
    Points p = degPoints({12, 42, 5, 55, 18, 48, 12, 42, 0, 0, 0, 0});
    std::int32_t n = 4, capacity = 6, flag = -7;
    GEOCTW2(window, &capacity, p.data(), &n, &flag);
    EXPECT_EQ(flag, 0);
    ASSERT_EQ(n, 6);
    EXPECT_EQ(Points(p.begin() + 4, p.begin() + 6), degPoints({10, 50}));
    EXPECT_EQ(p[2], float(10 * kDeg));
    EXPECT_EQ(p[7], float(50 * kDeg));
    EXPECT_TRUE(p[0] == p[10] && p[1] == p[11]);
    n = 4;
    capacity = 5;
    p = degPoints({12, 42, 5, 55, 18, 48, 12, 42, 0, 0, 0, 0});
    GEOCTW2(window, &capacity, p.data(), &n, &flag);
    EXPECT_EQ(flag, 0) << "without room for the bends the corner point moves alone";
    ASSERT_EQ(n, 4);
    EXPECT_EQ(Points(p.begin(), p.begin() + 8), degPoints({12, 42, 10, 50, 18, 48, 12, 42}));

    // A spike out beyond the north side and back is removed.
    p = degPoints({12, 42, 15, 45, 15, 60, 15, 45, 18, 42, 12, 42});
    n = 6;
    capacity = 6;
    GEOCTW2(window, &capacity, p.data(), &n, &flag);
    EXPECT_EQ(flag, 0);
    ASSERT_EQ(n, 4);
    EXPECT_EQ(Points(p.begin(), p.begin() + 8), degPoints({12, 42, 15, 45, 18, 42, 12, 42}));
}

// GEOCTW2 through its export, with room for `room` points.
Cut closeOnWindow(geo::Window w, Points points, std::int32_t room)
{
    std::int32_t n = std::int32_t(count(points));
    points.resize(2 * std::size_t(std::max(room, n)));
    float window[4];
    geo::storeWindow(window, w);
    std::int32_t flag = -7;
    GEOCTW2(window, &room, points.data(), &n, &flag);
    points.resize(2 * std::size_t(n));
    return {points, n, flag, {}};
}

// An outline wholly outside may shrink to one point.
bool closedInside(const Cut& c, const geo::Window& w)
{
    bool inside = c.n > 0 && c.points[0] == c.points[c.points.size() - 2] && c.points[1] == c.points.back();
    for (std::size_t k = 0; k < count(c.points); ++k)
        inside = inside && inWindow(c.points[2 * k], c.points[2 * k + 1], w);
    return inside;
}

TEST(OutlineToWindow, AnOutlineFitsTheRoomOfItsPointsAndClosingPoint)
{
    const geo::Window w = degWindow(10, 40, 20, 50);
    // Around the window, its corners inside; its points in the four side regions.
    const Points diamond = degPoints({15, 60, 30, 45, 15, 30, 0, 45, 15, 60});
    // Dips below the south side between points inside.
    Points zigzag = degPoints({11, 45});
    for (int k = 0; k < 4; ++k)
        for (const auto& [dLon, lat] : {std::pair{1.0, 30.0}, {2.5, 45.0}})
            zigzag.insert(zigzag.end(), {float((10 + 2.5 * k + dLon) * kDeg), float(lat * kDeg)});
    zigzag.insert(zigzag.end(), {zigzag[0], zigzag[1]});
    const std::pair<const char*, std::function<Cut(const Points&, std::int32_t)>> routines[] = {
        {"GEOCTW", [&](const Points& p, std::int32_t room) { return cutToWindow(w, p, room); }},
        {"GEOCTW2", [&](const Points& p, std::int32_t room) { return closeOnWindow(w, p, room); }},
    };
    const std::pair<double, double> probes[] = {{15, 45}, {10.5, 49.5}, {19.5, 49.5}, {19.5, 40.5}, {10.5, 40.5}};
    for (const auto& [name, run] : routines) {
        const Cut c = run(diamond, std::int32_t(count(diamond)));
        EXPECT_EQ(c.flag, 0) << name;
        EXPECT_TRUE(closedInside(c, w)) << name;
        for (const auto& [lon, lat] : probes)
            EXPECT_TRUE(geo::GEOPIA2({float(lon * kDeg), float(lat * kDeg)}, c.points.data(), c.n))
                << name << " at " << lon << " " << lat;
    }
    const std::int32_t room = std::int32_t(count(zigzag)) + 1;
    const Cut c = closeOnWindow(w, zigzag, room);
    EXPECT_EQ(c.flag, 0);
    EXPECT_LE(c.n, room);
    EXPECT_TRUE(closedInside(c, w));
}

TEST(OutlineToWindow, RandomOutlinesCloseInTheRoomOfTheirPointsAndClosingPoint)
{
    std::mt19937 rng(32);
    for (int i = 0; i < 400; ++i) {
        const auto [w, original] = randomOutline(rng);
        const std::int32_t room = std::int32_t(count(original)) + 1;
        const Cut c = closeOnWindow(w, original, room);
        ASSERT_EQ(c.flag, 0) << "case " << i;
        ASSERT_LE(c.n, room) << "case " << i;
        ASSERT_TRUE(closedInside(c, w)) << "case " << i;
    }
}

}  // namespace
