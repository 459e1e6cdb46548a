// Point in polygon (GEOPIA, GEOPIA2) against an even-odd reference.
#include "PolygonReference.h"

#include "core/Constants.h"
#include "geometry/PointInPolygon.h"
#include "tavu32d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace polygon_reference;

namespace {

constexpr double kDeg = kPi / 180;
constexpr double kSecond = kDeg / 3600;

struct Shape {
    const char* kind;
    Points points;
};

// Local x (east) and y (north) offsets in radians of latitude about a centre, to a closed polygon.
Points placed(const std::vector<std::pair<double, double>>& xy, double lon, double lat, double turn)
{
    Points p;
    for (auto [x, y] : xy) {
        const double rx = x * std::cos(turn) - y * std::sin(turn), ry = x * std::sin(turn) + y * std::cos(turn);
        const double plat = std::clamp(lat + ry, -89 * kDeg, 89 * kDeg);
        p.push_back(float(near(lon + rx / std::cos(lat), 0)));
        p.push_back(float(plat));
    }
    p.push_back(p[0]);
    p.push_back(p[1]);
    return p;
}

// A star-shaped polygon of n vertices, or a comb with teeth of one width and gaps of another:
// both simple. Every fourth crosses 180 degrees and every fourth reaches 80 degrees north or
// south.
Shape randomShape(std::mt19937& rng, int i)
{
    std::uniform_real_distribution<double> u(0, 1);
    const double size = std::pow(10.0, -2 + 3 * u(rng)) * kDeg;  // 0.01 to 10 degrees
    double lon = (u(rng) * 2 - 1) * 170 * kDeg, lat = (u(rng) * 2 - 1) * 60 * kDeg;
    if (i % 4 == 1)
        lon = kPi + (u(rng) - 0.5) * size;
    if (i % 4 == 2)
        lat = (i % 8 == 2 ? 1 : -1) * (80 * kDeg - 0.3 * size);
    std::vector<std::pair<double, double>> xy;
    const char* kind = "star";
    if (i % 3 == 2) {
        kind = "comb";
        const int teeth = 2 + int(std::pow(u(rng), 2) * 498);
        const double width = std::max(size, teeth * 40 * kSecond);  // teeth of some seconds
        const double tooth = width / teeth * (0.2 + 0.6 * u(rng)), gap = width / teeth - tooth, top = width;
        const double base = top * (0.05 + 0.3 * u(rng));
        xy = {{0, -base}, {width - gap, -base}};
        for (int t = teeth - 1; t >= 0; --t) {
            const double left = t * (tooth + gap), right = left + tooth;
            xy.insert(xy.end(), {{right, top}, {left, top}});
            if (t > 0)
                xy.insert(xy.end(), {{left, 0}, {left - gap, 0}});
        }
        for (auto& [x, y] : xy)
            x -= width / 2;
    } else {
        const int n = 5 + int(std::pow(u(rng), 3) * 1995);
        for (int k = 0; k < n; ++k) {
            const double a = 2 * kPi * (k + 0.8 * u(rng)) / n, r = size * (0.35 + 0.65 * u(rng));
            xy.emplace_back(r * std::sin(a), r * std::cos(a));
        }
    }
    return {kind, placed(xy, lon, lat, u(rng) < 0.5 ? 0 : u(rng) * kPi)};
}

bool pia(double lon, double lat, const Points& poly, bool ownWindow)
{
    float pt[2] = {float(lon), float(lat)};
    int32_t n = int32_t(count(poly));
    if (ownWindow)
        return GEOPIA2(pt, const_cast<float*>(poly.data()), &n) != 0;
    float window[4];
    GEOWND(const_cast<float*>(poly.data()), &n, window);
    return GEOPIA(pt, window, const_cast<float*>(poly.data()), &n) != 0;
}

}  // namespace

TEST(PointInPolygon, AgreesWithEvenOddAwayFromTheEdges)
{
    std::mt19937 rng(19);
    std::uniform_real_distribution<double> u(0, 1);
    int checked = 0;
    for (int i = 0; i < 200; ++i) {
        const Shape s = randomShape(rng, i);
        const geo::Window w = geo::boundingWindow(s.points.data(), std::int32_t(count(s.points)));
        const double west = w.west, east = eastAfterWest(w);
        // 100 points of the polygon's window more than 3 seconds of arc from every edge.
        for (int k = 0, tries = 0; k < 100 && tries < 5000; ++tries) {
            const float lon = float(near(west + u(rng) * (east - west), 0));
            const float lat = float(w.south + u(rng) * (double(w.north) - w.south));
            if (edgeDistanceKm(lon, lat, s.points) <= 3 * kSecond * kEarthKm)
                continue;
            ++checked;
            ASSERT_EQ(pia(lon, lat, s.points, ++k % 2 == 0), evenOddInside(lon, lat, s.points))
                << "polygon " << i << " (" << s.kind << ", " << count(s.points) << " points) at " << lon / kDeg << " "
                << lat / kDeg;
        }
    }
    EXPECT_EQ(checked, 20000);
}

TEST(PointInPolygon, VerticesEdgesAndTheWindow)
{
    // An L: 9 to 11 degrees east by 19 to 20 north, and 10 to 11 east by 20 to 21 north.
    auto deg = [](double d) { return float(d * kDeg); };
    const Points ell{deg(9), deg(19), deg(11), deg(19), deg(11), deg(21), deg(10), deg(21),
                     deg(10), deg(20), deg(9),  deg(20), deg(9),  deg(19)};
    const float sec = float(kSecond);
    struct Row {
        const char* what;
        float lon, lat;
        bool inside;
    };
    const Row rows[] = {
        {"the middle of the foot", deg(10.5), deg(19.5), true},
        {"10 seconds inside the west edge", deg(9) + 10 * sec, deg(19.5), true},
        {"10 seconds outside the west edge", deg(9) - 10 * sec, deg(19.5), false},
        {"on the west edge: half a circle between its ends", deg(9), deg(19.5), true},
        {"on the north edge", deg(10.3), deg(21), true},
        {"a vertex", deg(11), deg(21), true},
        {"within a second of the inner corner, outside", deg(10) - 0.7f * sec, deg(20) + 0.7f * sec, true},
        {"two seconds from the inner corner, outside", deg(10) - 2 * sec, deg(20) + 2 * sec, false},
        {"the missing quarter", deg(9.5), deg(20.5), false},
        {"outside the window", deg(12), deg(20), false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(pia(row.lon, row.lat, ell, false), row.inside) << row.what;

    // A point outside the window given is outside, whatever the polygon.
    const geo::Window small{deg(9), deg(19), deg(9.5), deg(19.5)};
    EXPECT_FALSE(geo::GEOPIA({deg(10), deg(19.5)}, small, ell.data(), 7));
    EXPECT_TRUE(geo::GEOPIA({deg(9.2), deg(19.2)}, small, ell.data(), 7));
}

TEST(PointInPolygon, AZigZagThroughThePointsBoxNeedsNoFixedBuffer)
{
    // 500 zig-zags across the point's box, each edge within a second of it, then a loop far
    // round: far more points inside the box than any fixed buffer would hold.
    const double lon = 30 * kDeg, lat = 40 * kDeg;
    Points poly;
    for (int k = 0; k <= 1000; ++k) {
        poly.push_back(float(lon + (k % 2 ? 2 : -2) * kSecond));
        poly.push_back(float(lat + (k - 500) * 0.001 * kSecond));
    }
    poly.insert(poly.end(), {float(lon + 2 * kDeg), float(lat), float(lon - 2 * kDeg), float(lat + 2 * kDeg)});
    poly.push_back(poly[0]);
    poly.push_back(poly[1]);
    EXPECT_TRUE(pia(lon, lat, poly, true)) << "the point lies on one of the zig-zag's edges";
    EXPECT_FALSE(pia(lon, lat - 3 * kDeg, poly, true));
}
