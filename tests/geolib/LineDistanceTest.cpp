#include "tavu32d.h"

#include "geolib/LineReference.h"
#include "geolib/PolygonReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace ref = geometry_reference;
namespace lref = line_reference;

namespace {

constexpr double kPi = ref::kPi, kDeg = kPi / 180;
constexpr double kKmTol = 0.05, kRelTol = 0.004, kAzimuthTolDeg = 0.5, kOnLineKm = 0.05;

using Points = std::vector<float>;

struct Found {
    float lon = 0, lat = 0, dist = 0, azimuth = 0;
};

struct Box {
    float w[4];
};

Found lineDistance(float lon, float lat, Points pts)
{
    Found f;
    int32_t n = int32_t(pts.size() / 2);
    GEODTL(&lon, &lat, pts.data(), &n, &f.lon, &f.lat, &f.dist, &f.azimuth);
    return f;
}

Found windowDistance(float lon, float lat, Box box, Points pts)
{
    Found f;
    int32_t n = int32_t(pts.size() / 2);
    GEODTLW(&lon, &lat, box.w, pts.data(), &n, &f.lon, &f.lat, &f.dist, &f.azimuth);
    return f;
}

Box windowOf(Points pts)
{
    Box b{};
    int32_t n = int32_t(pts.size() / 2);
    GEOWND(pts.data(), &n, b.w);
    return b;
}

Found polygonDistance(float lon, float lat, Points pts)
{
    Found f;
    Box b = windowOf(pts);
    int32_t n = int32_t(pts.size() / 2);
    GEODTA3(&lon, &lat, b.w, &n, pts.data(), &f.lon, &f.lat, &f.dist, &f.azimuth);
    return f;
}

double tolerance(double km)
{
    return kKmTol + kRelTol * km;
}

struct Case {
    Points line;
    float lon, lat;
};

// A random walk of 2 to 500 points (mostly short), a quarter of them closed, some across 180
// degrees, and a point near it.
Case randomCase(std::mt19937& rng)
{
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const int n = 2 + int(498 * std::pow(u(rng), 4));
    const double stepDeg = 0.02 + 2.0 * u(rng) * u(rng);
    double lon = u(rng) < 0.2 ? kPi - 0.01 : (2 * u(rng) - 1) * kPi, lat = (2 * u(rng) - 1) * 1.1;
    Case c;
    for (int i = 0; i < n; ++i) {
        c.line.push_back(float(lref::wrap(lon)));
        c.line.push_back(float(lat));
        lon += (2 * u(rng) - 1) * stepDeg * kDeg;
        lat = std::clamp(lat + (2 * u(rng) - 1) * stepDeg * kDeg, -1.2, 1.2);
    }
    if (n >= 4 && u(rng) < 0.25) {
        c.line[c.line.size() - 2] = c.line[0];
        c.line.back() = c.line[1];
    }
    const std::size_t k = std::size_t(u(rng) * n) % std::size_t(n);
    const double spread = stepDeg * kDeg * (u(rng) < 0.5 ? 1 : 10);
    c.lon = float(lref::wrap(c.line[2 * k] + (2 * u(rng) - 1) * spread));
    c.lat = float(std::clamp(c.line[2 * k + 1] + (2 * u(rng) - 1) * spread, -1.3, 1.3));
    return c;
}

// The distance agrees with the reference, the nearest point lies on the line at that distance
// and the azimuth points to it.
void expectAgrees(const Found& got, const Case& c, const lref::Nearest& want, const lref::Keep& keep = {})
{
    ASSERT_LT(want.distanceKm, 1e9);
    EXPECT_NEAR(got.dist, want.distanceKm, tolerance(want.distanceKm));
    const ref::Inverse toNearest = ref::inverse(c.lon, c.lat, got.lon, got.lat);
    EXPECT_NEAR(toNearest.distanceKm, got.dist, tolerance(got.dist));
    EXPECT_LT(lref::nearestOnLine(got.lon, got.lat, c.line, keep).distanceKm, kOnLineKm);
    if (want.distanceKm > 5) {
        EXPECT_LE(ref::azimuthGap(got.azimuth, toNearest.azimuthDeg), kAzimuthTolDeg);
    }
}

bool inBox(const Box& b, double lon, double lat)
{
    const bool inLon = b.w[0] <= b.w[2] ? lon >= b.w[0] && lon <= b.w[2] : lon >= b.w[0] || lon <= b.w[2];
    return inLon && lat >= b.w[1] && lat <= b.w[3];
}

// A star-shaped polygon around the centre: a simple ring, closed.
Points starPolygon(std::mt19937& rng, double lon, double lat, double radiusDeg, int n)
{
    std::uniform_real_distribution<double> u(0.3, 1.0);
    Points p;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * kPi * i / n, r = radiusDeg * kDeg * u(rng);
        p.push_back(float(lref::wrap(lon + r * std::cos(a))));
        p.push_back(float(lat + r * std::sin(a)));
    }
    p.push_back(p[0]);
    p.push_back(p[1]);
    return p;
}

}  // namespace

TEST(LineDistance, RandomLinesAgreeWithTheDenseSamples)
{
    std::mt19937 rng(4711);
    for (int k = 0; k < 10000 && !HasFailure(); ++k) {
        const Case c = randomCase(rng);
        SCOPED_TRACE(k);
        expectAgrees(lineDistance(c.lon, c.lat, c.line), c, lref::nearestOnLine(c.lon, c.lat, c.line));
    }
}

TEST(LineDistance, TheWindowedLineAgreesWithTheSamplesInsideTheWindow)
{
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    for (int k = 0; k < 3000 && !HasFailure(); ++k) {
        const Case c = randomCase(rng);
        const Box whole = windowOf(c.line);
        // A window over part of the line's own: a quarter to all of each side.
        const double span = lref::wrap(double(whole.w[2]) - whole.w[0]);
        const double west = whole.w[0] + u(rng) * 0.4 * span, east = whole.w[2] - u(rng) * 0.4 * span;
        const double height = double(whole.w[3]) - whole.w[1];
        const Box box{{float(lref::wrap(west)), float(whole.w[1] + u(rng) * 0.4 * height), float(lref::wrap(east)),
                       float(whole.w[3] - u(rng) * 0.4 * height)}};
        const auto keep = [&](double lon, double lat) { return inBox(box, lon, lat); };
        std::vector<bool> vertexIn;
        for (std::size_t i = 0; i < c.line.size(); i += 2)
            vertexIn.push_back(keep(c.line[i], c.line[i + 1]));
        SCOPED_TRACE(k);
        const Found got = windowDistance(c.lon, c.lat, box, c.line);
        if (std::find(vertexIn.begin(), vertexIn.end(), true) == vertexIn.end()) {
            EXPECT_EQ(got.dist, 26000.0f);
            continue;
        }
        // Stretches between two vertices outside the window are left out.
        const auto counts = [&](std::size_t s) { return vertexIn[s] || vertexIn[s + 1]; };
        expectAgrees(got, c, lref::nearestOnLine(c.lon, c.lat, c.line, keep, counts), keep);
    }
}

TEST(LineDistance, APolygonGivesMinus99InsideAndItsOutlineDistanceOutside)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int k = 0; k < 2000 && !HasFailure(); ++k) {
        const double lon = k % 5 ? u(rng) * kPi : kPi - 0.005, lat = u(rng) * 1.1, radius = 0.05 + 3 * std::fabs(u(rng));
        Case c{starPolygon(rng, lon, lat, radius, 3 + int(std::fabs(u(rng)) * 60)),
               float(lref::wrap(lon + u(rng) * 1.5 * radius * kDeg)), float(lat + u(rng) * 1.5 * radius * kDeg)};
        if (polygon_reference::edgeDistanceKm(c.lon, c.lat, c.line) < 0.1)
            continue;  // on the edge either answer is right
        SCOPED_TRACE(k);
        const Found got = polygonDistance(c.lon, c.lat, c.line);
        if (polygon_reference::evenOddInside(c.lon, c.lat, c.line)) {
            EXPECT_EQ(got.dist, -99.0f);
            EXPECT_TRUE(got.lon == c.lon && got.lat == c.lat && got.azimuth == 0.0f);
        } else {
            expectAgrees(got, c, lref::nearestOnLine(c.lon, c.lat, c.line));
        }
    }
}

TEST(LineDistance, TheSpecialCasesOfTheVertexSearch)
{
    const float d = float(kDeg);
    const Points line{0, 0, 1 * d, 0, 2 * d, 1 * d, 3 * d, 1 * d};
    // A vertex hit: 0, the point itself, azimuth 0, whatever the outputs held.
    Found hit = lineDistance(2 * d, 1 * d, line);
    EXPECT_TRUE(hit.dist == 0 && hit.lon == 2 * d && hit.lat == 1 * d && hit.azimuth == 0);
    // No point: 26000 and nothing else written.
    Found none{7, 8, 0, 9};
    int32_t zero = 0;
    float lon = 0.1f, lat = 0.1f;
    GEODTL(&lon, &lat, nullptr, &zero, &none.lon, &none.lat, &none.dist, &none.azimuth);
    EXPECT_TRUE(none.dist == 26000.0f && none.lon == 7 && none.lat == 8 && none.azimuth == 9);

    // A closed ring whose nearest vertex is its first: the segments round it are (n-1, 1) and
    // (1, 2), so the point west of the first vertex finds the closing segment.
    const Points ring{0, 0, 2 * d, 0, 2 * d, 2 * d, -1 * d, 2 * d, -1 * d, 0.2f * d, 0, 0};
    const Found closing = lineDistance(-0.3f * d, 0.1f * d, ring);
    const Case c{ring, -0.3f * d, 0.1f * d};
    expectAgrees(closing, c, lref::nearestOnLine(c.lon, c.lat, ring));
    EXPECT_LT(closing.lon, -0.2f * d);
    EXPECT_LT(closing.dist, 5.0f);

    // A clip window away from the polygon: not found.
    const Points square{0, 0, 1 * d, 0, 1 * d, 1 * d, 0, 1 * d, 0, 0};
    Box clip{{5 * d, 5 * d, 6 * d, 6 * d}};
    Box own = windowOf(square);
    Found away;
    int32_t n = 5;
    float plon = 3 * d, plat = 3 * d;
    GEODTAW(&plon, &plat, clip.w, own.w, &n, const_cast<float*>(square.data()), &away.lon, &away.lat, &away.dist,
            &away.azimuth);
    EXPECT_EQ(away.dist, 999999.0f);
}

TEST(LineDistance, TheWholeNumberFormsRoundHalvesAwayFromZero)
{
    std::mt19937 rng(12);
    for (int k = 0; k < 200; ++k) {
        Points poly = starPolygon(rng, 0.3, 0.4, 2.0, 12);
        const float lon = float(0.3 + (k % 20 - 10) * 0.01), lat = float(0.4 + (k / 20 - 5) * 0.01);
        Box b = windowOf(poly);
        int32_t n = int32_t(poly.size() / 2);
        Found real = polygonDistance(lon, lat, poly);
        float plon = lon, plat = lat, nearLon = 0, nearLat = 0;
        int32_t dist = 0, azimuth = 0, dist1 = 0, azimuth1 = 0;
        GEODTA(&plon, &plat, &n, poly.data(), &dist, &azimuth);
        GEODTA1(&plon, &plat, b.w, &n, poly.data(), &nearLon, &nearLat, &dist1, &azimuth1);
        const auto away = [](float v) { return int32_t(v < 0 ? std::ceil(v - 0.5f) : std::floor(v + 0.5f)); };
        EXPECT_EQ(dist, away(real.dist));
        EXPECT_EQ(azimuth, away(real.azimuth));
        EXPECT_TRUE(dist1 == dist && azimuth1 == azimuth && nearLon == real.lon && nearLat == real.lat);
    }
}
