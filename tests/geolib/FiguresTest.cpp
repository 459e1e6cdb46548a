#include "tavu32d.h"

#include "geolib/GeometryReference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace ref = geometry_reference;

namespace {

constexpr double kPi = ref::kPi, kDeg = kPi / 180, kArcSecond = kDeg / 3600;
constexpr double kKmTol = 0.05, kAzimuthTolDeg = 0.5, kWindowSlackRad = 2e-6;
constexpr int kSamples = 20000;  // per segment

struct Pt {
    float lon, lat;
};

double wrap(double lon)
{
    return lon > kPi ? lon - 2 * kPi : lon < -kPi ? lon + 2 * kPi : lon;
}

// Sample i of n from p to q in even steps of longitude and latitude, the short way.
std::pair<double, double> sample(Pt p, Pt q, int i, int n)
{
    return {wrap(p.lon + wrap(double(q.lon) - p.lon) * i / n), p.lat + (double(q.lat) - p.lat) * i / n};
}

Pt offset(std::mt19937& rng, Pt p, double spanDeg)
{
    std::uniform_real_distribution<double> u(-spanDeg * kDeg, spanDeg * kDeg);
    return {float(wrap(p.lon + u(rng))), float(std::clamp(p.lat + u(rng), -1.4, 1.4))};
}

// The nearest of the samples of a-b and b-c on the sphere: every hundredth, then each around the best.
ref::Inverse nearestSample(Pt x, Pt a, Pt b, Pt c)
{
    const double ux[3] = {std::cos(x.lat) * std::cos(x.lon), std::cos(x.lat) * std::sin(x.lon), std::sin(x.lat)};
    auto closeness = [&](std::pair<double, double> s) {
        return std::cos(s.second) * (std::cos(s.first) * ux[0] + std::sin(s.first) * ux[1]) + std::sin(s.second) * ux[2];
    };
    std::pair<double, double> best{};
    double bestCloseness = -2;
    for (const auto& [p, q] : {std::pair{a, b}, std::pair{b, c}}) {
        int coarse = 0;
        for (int i = 0; i <= kSamples; i += 100)
            coarse = closeness(sample(p, q, i, kSamples)) > closeness(sample(p, q, coarse, kSamples)) ? i : coarse;
        for (int i = std::max(coarse - 100, 0); i <= std::min(coarse + 100, kSamples); ++i)
            if (const double cl = closeness(sample(p, q, i, kSamples)); cl > bestCloseness)
                bestCloseness = cl, best = sample(p, q, i, kSamples);
    }
    return ref::inverse(x.lon, x.lat, float(best.first), float(best.second));
}

struct Found {
    float lon, lat, dist, azimuth;
};

Found nearestPoint(Pt x, Pt a, Pt b, Pt c)
{
    Found f{};
    GEOCP3R(&x.lon, &x.lat, &a.lon, &a.lat, &b.lon, &b.lat, &c.lon, &c.lat, &f.lon, &f.lat, &f.dist, &f.azimuth);
    float lon = 0, lat = 0;
    int32_t dist = 0, azimuth = 0;
    GEOCP3B(&x.lon, &x.lat, &a.lon, &a.lat, &b.lon, &b.lat, &c.lon, &c.lat, &lon, &lat, &dist, &azimuth);
    EXPECT_TRUE(lon == f.lon && lat == f.lat && dist == std::lround(f.dist) && azimuth == std::lround(f.azimuth));
    return f;
}

void expectNearestIsItself(Pt x, Pt a, Pt b, Pt c)
{
    const Found got = nearestPoint(x, a, b, c);
    EXPECT_LT(got.dist, kKmTol);
    EXPECT_LE(std::fabs(got.lon - x.lon), kArcSecond);
    EXPECT_LE(std::fabs(got.lat - x.lat), kArcSecond);
}

}  // namespace

TEST(Figures, TheNearestPointOfTwoSegmentsIsTheNearestSample)
{
    // Below 50 km the library measures in the plane on the point's latitude, within the
    // tolerance up to about 35 degrees.
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> lon(-kPi, kPi), lat(-0.35, 0.35);
    for (int c = 0; c < 5000 && !HasFailure(); ++c) {
        const Pt a = {float(c % 5 ? lon(rng) : kPi - 0.02), float(lat(rng))};
        const Pt b = offset(rng, a, 4), cc = offset(rng, b, 4), x = offset(rng, b, 6);
        const ref::Inverse want = nearestSample(x, a, b, cc);
        const Found got = nearestPoint(x, a, b, cc);
        EXPECT_NEAR(got.dist, want.distanceKm, kKmTol) << c;
        if (want.distanceKm > 5) {
            EXPECT_LE(ref::azimuthGap(got.azimuth, want.azimuthDeg), kAzimuthTolDeg) << c;
        }
    }
    std::mt19937 onLine(7);
    for (int c = 0; c < 300; ++c) {
        const Pt a = offset(onLine, {0.3f, 0.2f}, 40), b = offset(onLine, a, 3), cc = offset(onLine, b, 3);
        const auto [x, y] = sample(a, b, int(onLine() % 1000), 1000);
        expectNearestIsItself({float(x), float(y)}, a, b, cc);
    }
    // Where the line folds back, the first samples nearest to a point on A-B lie on B-C.
    const Pt a = {float(41.6884 * kDeg), float(-8.24636 * kDeg)}, b = {float(40.7387 * kDeg), float(-6.29084 * kDeg)};
    const auto [x, y] = sample(a, b, 663, 1000);
    expectNearestIsItself({float(x), float(y)}, a, b, {float(41.4541 * kDeg), float(-7.70134 * kDeg)});
}

TEST(Figures, WholeNumbersGoTheWayOfTheGreatCircle)
{
    std::mt19937 rng(11);
    for (int c = 0; c < 2000; ++c) {
        Pt p = offset(rng, {0, 0}, 180), to{}, want{};
        int32_t dist = int32_t(rng() % 20000), azimuth = int32_t(c % 4 ? rng() % 361 : 90 * (rng() % 5));
        float distR = float(dist), azimuthR = float(azimuth);
        DAP2R4(&p.lon, &p.lat, &dist, &azimuth, &to.lon, &to.lat);
        GEOPDAP(&p.lon, &p.lat, &distR, &azimuthR, &want.lon, &want.lat);
        EXPECT_TRUE(to.lon == want.lon && to.lat == want.lat) << dist << " km at " << azimuth;
    }
}

TEST(Figures, ACirclePolygonIsClosedAtItsRadius)
{
    const std::array<int32_t, 4> rows[] = {
        // n, centre flag, capacity, count
        {2, 0, 10, 4},  // at least a triangle
        {36, 1, 38, 38},
        {36, 1, 37, 0},  // no room for the centre
        {36, 0, 36, 0},  // no room for the closing point
        {400, 0, 361, 361},
    };
    for (const auto& [sides, centreFlag, room, expected] : rows) {
        float lon = 0.4f, lat = -0.6f, radius = -800, start = 30;  // a negative radius counts as its size
        int32_t n = sides, flag = centreFlag, capacity = room, count = -1;
        std::vector<float> p(2 * std::size_t(capacity), 9.0f);
        GEOFIGC(&lon, &lat, &radius, &n, &flag, &start, &capacity, p.data(), &count);
        ASSERT_EQ(count, expected) << sides;
        const int32_t ring = count - centreFlag, corners = std::clamp(sides, 3, 360);
        if (count == 0) {
            EXPECT_EQ(p, std::vector<float>(p.size(), 9.0f)) << "nothing written";
        } else {
            EXPECT_TRUE(p[0] == p[2 * ring - 2] && p[1] == p[2 * ring - 1]) << "closed";
        }
        for (int32_t k = 0; k + 1 < ring; ++k) {
            const ref::Inverse inv = ref::inverse(lon, lat, p[2 * k], p[2 * k + 1]);
            EXPECT_NEAR(inv.distanceKm, 800, 0.01) << k;
            EXPECT_NEAR(ref::azimuthGap(inv.azimuthDeg, 30 + k * 360.0 / corners), 0, 0.01) << k;
        }
        if (count && centreFlag) {
            EXPECT_TRUE(p[2 * count - 2] == lon && p[2 * count - 1] == lat) << "the centre last";
        }
    }
}

TEST(Figures, AQuadrantWindowHoldsItsQuarterOfTheDisc)
{
    std::mt19937 rng(14);
    std::uniform_real_distribution<float> km(10, 2000);
    for (int c = 0; c < 400; ++c) {
        Pt centre = offset(rng, {c % 4 ? 0.0f : 3.1f, 0}, c % 4 ? 180 : 5);
        centre.lat = c % 10 ? std::clamp(centre.lat, float(-60 * kDeg), float(60 * kDeg)) : 0.0f;
        float dist = km(rng), w[4];
        for (int32_t q = 1; q <= 4; ++q) {
            int32_t quadrant = q;
            GEO14SQ(&quadrant, &centre.lon, &centre.lat, &dist, w);
            for (int step = 0; step <= 18; ++step) {
                for (const double part : {0.25, 0.5, 0.75, 1.0}) {
                    double lon = 0, lat = 0;
                    ref::direct(centre.lon, centre.lat, (q - 1) * 90 + step * 5.0, part * dist, lon, lat);
                    // Eastward from the west edge, no farther than the east edge.
                    const auto eastward = [](double d) { return d < 0 ? d + 2 * kPi : d; };
                    const bool inLon = eastward(std::fmod(lon - w[0] + kWindowSlackRad, 2 * kPi)) <=
                                       eastward(std::fmod(double(w[2]) - w[0], 2 * kPi)) + 2 * kWindowSlackRad;
                    ASSERT_TRUE(inLon && lat >= w[1] - kWindowSlackRad && lat <= w[3] + kWindowSlackRad)
                        << "centre " << centre.lon << " " << centre.lat << ", " << dist << " km, quadrant " << q
                        << ", azimuth step " << step << ", part " << part;
                }
            }
        }
    }
}
