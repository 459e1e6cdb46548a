// Clipping of lines and outlines at a window (GEOCUT) and crossing points (GEOPWC).
#include "PolygonReference.h"
#include "support/ChildProcess.h"

#include "core/Constants.h"
#include "geometry/Clipping.h"
#include "geometry/PointInPolygon.h"
#include "tavu32d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace polygon_reference;
using testing_support::runInChild;

namespace {

constexpr double kDeg = kPi / 180;
constexpr double kFloatTol = 1e-6;  // rad; a moved point is stored as a 4-byte real

struct Case {
    geo::Window w;
    std::int32_t mode;
    Points points;
    bool closed;
};

// A random walk about a random window, within 60 degrees of its centre: steps of every size,
// so that runs beyond each side, across corners and over the whole window all occur. A quarter
// of the windows cross 180 degrees; windows on a plain scale take mode 1 half the time when no
// point of the walk needs a second turn.
Case randomCase(std::mt19937& rng, bool closed)
{
    std::uniform_real_distribution<double> u(0, 1);
    const bool crossing = u(rng) < 0.25;
    const double halfLon = (0.2 + 10 * u(rng)) * kDeg, halfLat = (0.2 + 8 * u(rng)) * kDeg;
    const double lon = crossing ? kPi + (u(rng) - 0.5) * halfLon : (u(rng) * 2 - 1) * 150 * kDeg;
    const double lat = (u(rng) * 2 - 1) * 60 * kDeg;
    Case c{windowAround(lon, lat, halfLon, halfLat), 0, {}, closed};
    const int n = 3 + int(u(rng) * 300);
    const double stepScale = std::pow(10.0, -2 + 2.5 * u(rng));  // of the window's size
    double x = lon + (u(rng) * 4 - 2) * halfLon, y = lat + (u(rng) * 4 - 2) * halfLat;
    bool plain = true;
    for (int i = 0; i < n; ++i) {
        const double a = u(rng) * 2 * kPi, s = stepScale * u(rng);
        x = std::clamp(x + std::cos(a) * s * halfLon, lon - 60 * kDeg, lon + 60 * kDeg);
        y = std::clamp(y + std::sin(a) * s * halfLat, -85 * kDeg, 85 * kDeg);
        plain = plain && std::fabs(x) < kPi;
        c.points.push_back(float(near(x, 0)));
        c.points.push_back(float(y));
    }
    if (closed) {
        c.points.push_back(c.points[0]);
        c.points.push_back(c.points[1]);
    }
    c.mode = !crossing && plain && u(rng) < 0.5 ? 1 : 0;
    return c;
}

Points cut(const Case& c, const Points& in)
{
    Points out(in.size());
    out.resize(2 * std::size_t(geo::GEOCUT(c.mode, c.w, in.data(), std::int32_t(count(in)), out.data())));
    return out;
}

// Where a point lies against the window and its widened copy, longitudes taken about the
// window's centre.
struct Frame {
    double west, east, south, north, centre;
    explicit Frame(const geo::Window& w)
        : west(w.west), east(eastAfterWest(w)), south(w.south), north(w.north),
          centre((west + east) / 2)
    {
    }
    double lonOf(float lon) const { return near(lon, centre); }
    bool inside(float lon, float lat) const
    {
        const double x = lonOf(lon);
        return x >= west && x <= east && lat >= south && lat <= north;
    }
    bool withinWidened(float lon, float lat) const
    {
        const double m = geo::kCutMargin - kFloatTol, x = lonOf(lon);
        return x > west - m && x < east + m && lat > south - m && lat < north + m;
    }
    // Whether the point lies beyond side 0 north, 1 south, 2 west or 3 east.
    bool beyond(const float* p, int side) const
    {
        const double x = lonOf(p[0]);
        const double v[] = {p[1] - north, south - p[1], west - x, x - east};
        return v[side] > 0;
    }
    // An input point that shares no side with the next: a run of one point, which may stay
    // in the widened window.
    bool lonePoint(const Points& in, float lon, float lat) const
    {
        for (std::size_t j = 0; j + 1 < count(in); ++j)
            if (in[2 * j] == lon && in[2 * j + 1] == lat && !shareSide(&in[2 * j], &in[2 * j + 2], &in[2 * j + 2]))
                return true;
        return false;
    }
    // Whether all three points lie beyond one side.
    bool shareSide(const float* a, const float* b, const float* c) const
    {
        for (int s = 0; s < 4; ++s)
            if (beyond(a, s) && beyond(b, s) && beyond(c, s))
                return true;
        return false;
    }
};

}  // namespace

TEST(Clipping, RandomLinesAndOutlinesKeepTheWindowAndShrinkTheRest)
{
    std::mt19937 rng(20261209);
    for (int i = 0; i < 1000; ++i) {
        const Case c = randomCase(rng, i % 2 == 0);
        const Frame f(c.w);
        const Points out = cut(c, c.points);
        SCOPED_TRACE("case " + std::to_string(i));
        ASSERT_LE(out.size(), c.points.size()) << "the count never grows";

        Points insideIn, insideOut;
        for (std::size_t k = 0; k < count(c.points); ++k)
            if (f.inside(c.points[2 * k], c.points[2 * k + 1]))
                insideIn.insert(insideIn.end(), {c.points[2 * k], c.points[2 * k + 1]});
        for (std::size_t k = 0; k < count(out); ++k) {
            if (f.inside(out[2 * k], out[2 * k + 1])) {
                insideOut.insert(insideOut.end(), {out[2 * k], out[2 * k + 1]});
            } else if (f.withinWidened(out[2 * k], out[2 * k + 1])) {
                ASSERT_TRUE(f.lonePoint(c.points, out[2 * k], out[2 * k + 1]))
                    << "point " << k << " outside the window lies on or beyond the widened border";
            }
            if (k >= 2) {
                ASSERT_FALSE(f.shareSide(&out[2 * k - 4], &out[2 * k - 2], &out[2 * k]))
                    << "a run beyond one side keeps at most two points, at " << k;
            }
        }
        ASSERT_EQ(insideOut, insideIn) << "points inside stay, unchanged and in order";
        if (c.closed) {
            EXPECT_TRUE(out[0] == out[out.size() - 2] && out[1] == out.back()) << "an outline stays closed";
        }
    }
}

TEST(Clipping, CutCrossingsCutKeepsPointInPolygonInsideTheWindow)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(0, 1);
    int tested = 0;
    for (int i = 0; i < 300; ++i) {
        const Case c = randomCase(rng, true);
        const Frame f(c.w);
        Points clipped = cut(c, c.points);
        std::int32_t n = std::int32_t(count(clipped));
        const std::int32_t before = n;
        clipped.resize(clipped.size() * 2 + 8);
        geo::GEOPWC(c.w, clipped.data(), std::int32_t(count(clipped)), n);
        clipped.resize(2 * std::size_t(n));
        if (n > before)
            clipped = cut(c, clipped);
        for (int k = 0; k < 20; ++k) {
            const double lon = f.west + u(rng) * (f.east - f.west), lat = f.south + u(rng) * (f.north - f.south);
            if (edgeDistanceKm(lon, lat, c.points) <= 2)
                continue;
            ++tested;
            ASSERT_EQ(evenOddInside(lon, lat, clipped), evenOddInside(lon, lat, c.points))
                << "case " << i << " at " << lon / kDeg << " " << lat / kDeg;
            const geo::Point p{float(near(lon, 0)), float(lat)};
            ASSERT_EQ(geo::GEOPIA2(p, clipped.data(), std::int32_t(count(clipped))),
                      geo::GEOPIA2(p, c.points.data(), std::int32_t(count(c.points))))
                << "case " << i << " at " << lon / kDeg << " " << lat / kDeg;
        }
    }
    EXPECT_GT(tested, 4000);
}

TEST(Clipping, WorkedExamples)
{
    const geo::Window w{float(10 * kDeg), float(40 * kDeg), float(20 * kDeg), float(50 * kDeg)};
    const float north = float(50 * kDeg + geo::kCutMargin);
    struct Row {
        const char* what;
        geo::Window w;
        std::int32_t mode;
        Points in;
        Points expected;
    };
    Points tenNorth{float(15 * kDeg), float(45 * kDeg)};
    for (int k = 0; k < 10; ++k)
        tenNorth.insert(tenNorth.end(), {float((15 + k / 9.0) * kDeg), float((51 + 0.01 * k) * kDeg)});
    tenNorth.insert(tenNorth.end(), {float(16 * kDeg), float(45 * kDeg)});
    const float a = float(15 * kDeg), b = float(45 * kDeg);
    const geo::Window across = windowAround(kPi, 0, 5 * kDeg, 5 * kDeg);
    const Row rows[] = {
        {"a 2-point line far outside", w, 1, {-1, -1, -1.2f, -1.1f}, {-1, -1, -1.2f, -1.1f}},
        {"an outline wholly inside", w, 1, {a, b, a + 0.01f, b, a, b + 0.01f, a, b}, {a, b, a + 0.01f, b, a, b + 0.01f, a, b}},
        {"ten points north become two at the widened north", w, 1, tenNorth,
         {a, b, float(15 * kDeg), north, float(16 * kDeg), north, float(16 * kDeg), b}},
        {"+179 and -179 kept in a window across 180", across, 0,
         {float(179 * kDeg), 0.01f, float(-179 * kDeg), 0.02f, float(179.5 * kDeg), -0.01f},
         {float(179 * kDeg), 0.01f, float(-179 * kDeg), 0.02f, float(179.5 * kDeg), -0.01f}},
    };
    for (const Row& row : rows) {
        Points out(row.in.size());
        out.resize(2 * std::size_t(geo::GEOCUT(row.mode, row.w, row.in.data(), std::int32_t(count(row.in)), out.data())));
        ASSERT_EQ(out.size(), row.expected.size()) << row.what;
        for (std::size_t k = 0; k < out.size(); ++k)
            EXPECT_NEAR(out[k], row.expected[k], 1e-6) << row.what << ", value " << k;
    }
}

TEST(Clipping, EdgeOverTheWindowGainsAPointThatASecondCutKeeps)
{
    const geo::Window w{0.1f, 0.1f, 0.2f, 0.2f};
    // Both ends beyond different sides; the edge crosses the window's south-west part.
    Points pts{0.05f, 0.17f, 0.17f, 0.05f, 0.3f, 0.02f};
    std::int32_t n = 3;
    pts.resize(12);
    geo::GEOPWC(w, pts.data(), 6, n);
    ASSERT_EQ(n, 4);
    EXPECT_NEAR(pts[2], 0.11f, 1e-6);
    EXPECT_NEAR(pts[3], 0.11f, 1e-6) << "midway between the crossings at (0.1, 0.12) and (0.12, 0.1)";
    Points again(8);
    ASSERT_EQ(geo::GEOCUT(1, w, pts.data(), n, again.data()), 4);
    EXPECT_EQ(again[2], pts[2]);
    EXPECT_EQ(again[3], pts[3]);

    // In place through the exported routine, the second arrays the same as the first.
    int32_t mode = 1, kept = 0, count = 4;
    float window[4] = {w.west, w.south, w.east, w.north};
    GEOCUT(&mode, window, pts.data(), pts.data(), &count, pts.data(), pts.data(), &kept);
    EXPECT_EQ(kept, 4);
}

TEST(Clipping, FatalReports)
{
    const std::string cancel = " >>>> CANCELR - ABNORMAL END\n";
    auto child = [](auto body) { return runInChild(body).output; };
    EXPECT_EQ(child([] {
                  std::vector<float> pts(80000, 0.0f);
                  geo::GEOCUT(1, {0, 0, 1, 1}, pts.data(), 40000, pts.data());
              }),
              " --- Error in routine GEOCUT\n" + std::string(" NRIN > 32767") + std::string(47, ' ') + "\n" + cancel);
    EXPECT_EQ(child([] {
                  // A zig-zag outline that one edge crosses 7 times.
                  std::vector<float> zigzag;
                  for (int k = 0; k < 8; ++k)
                      zigzag.insert(zigzag.end(), {0.1f * float(k), k % 2 ? 0.2f : -0.2f});
                  float crossings[12];
                  geo::windowCrossings({-0.1f, 0.0f}, {0.8f, 0.0f}, zigzag.data(), 8, crossings);
              }),
              " --- Error in routine GEOPWC\n Increase the parameter MXDVCV=     6\n" + cancel);
    EXPECT_EQ(child([] {
                  float pts[6] = {0.05f, 0.17f, 0.17f, 0.05f, 0, 0};
                  std::int32_t n = 2;
                  geo::GEOPWC({0.1f, 0.1f, 0.2f, 0.2f}, pts, 2, n);
              }),
              " --- Error in routine GEOPWC\n Increase dimension for A in the calling routine.\n" + cancel);
}
