#include "tavu32d.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180;
constexpr double kEarthKm = 6370.0, kOrbitKm = 42166.0;  // the defaults
constexpr double kElevationTolDeg = 1e-4, kEllipseTolRad = 1e-6;

// The elevation at which a ground point sees the satellite, from their positions in space.
double elevationDeg(double satLon, double lon, double lat)
{
    const double g[3] = {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
    const double v[3] = {kOrbitKm * std::cos(satLon) - kEarthKm * g[0], kOrbitKm * std::sin(satLon) - kEarthKm * g[1],
                         -kEarthKm * g[2]};
    return std::asin((v[0] * g[0] + v[1] * g[1] + v[2] * g[2]) / std::hypot(v[0], v[1], v[2])) / kDeg;
}

// East-west and north-south angles at which a satellite at longitude 0 sees a ground point.
std::pair<double, double> viewAngles(double lon, double lat)
{
    const double x = kOrbitKm - kEarthKm * std::cos(lon) * std::cos(lat);
    return {std::atan(kEarthKm * std::sin(lon) * std::cos(lat) / x), std::atan(kEarthKm * std::sin(lat) / x)};
}

struct Figure {
    std::vector<float> p;
    std::vector<int32_t> flags;
    int32_t count = -1, status = -1;

    void expectClosed() const
    {
        ASSERT_GT(count, 1);
        EXPECT_EQ(p[0], p[2 * std::size_t(count) - 2]);
        EXPECT_EQ(p[1], p[2 * std::size_t(count) - 1]);
    }
};

// The footprint from a satellite at longitude 0 (the orbit radius left to its default).
Figure footprint(float boreLonDeg, float boreLatDeg, float major, float minor, float orientation, int32_t n)
{
    Figure f{std::vector<float>(2 * 600), std::vector<int32_t>(600, -7)};
    float re = float(kEarthKm), rs = 0, sat = 0, lon = float(boreLonDeg * kDeg), lat = float(boreLatDeg * kDeg);
    GEOELLP(&re, &rs, &sat, &lon, &lat, &major, &minor, &orientation, &n, f.p.data(), f.flags.data(), &f.count,
            &f.status);
    return f;
}

}  // namespace

TEST(SatelliteFigures, TheElevationContourSeesTheSatelliteAtItsElevation)
{
    const float satLon = float(-30 * kDeg);
    for (const float elevation : {0.0f, 5.0f, 30.0f}) {
        for (const int32_t n : {100, 4, 0}) {
            Figure f{std::vector<float>(200), {}};
            float re = 0, rs = float(kOrbitKm), sat = satLon, e = elevation;  // 0 km takes the default
            int32_t points = n;
            GEOELEV(&re, &rs, &sat, &e, &points, f.p.data(), &f.count);
            ASSERT_EQ(f.count, n > 4 ? n : 0);
            if (f.count)
                f.expectClosed();
            for (int32_t k = 0; k < f.count; ++k)
                EXPECT_NEAR(elevationDeg(satLon, f.p[2 * k], f.p[2 * k + 1]), elevation, kElevationTolDeg) << k;
        }
    }
}

TEST(SatelliteFigures, ABeamOnTheEarthGivesItsEllipseOfViewAngles)
{
    const std::array<float, 5> beams[] = {{10, 30, 2, 1, 0}, {10, 30, 2, 1, 35}, {-20, -15, 3, 0.5f, 100}};
    for (const auto& [boreLon, boreLat, major, minor, orientation] : beams) {
        const Figure f = footprint(boreLon, boreLat, major, minor, orientation, 72);
        EXPECT_EQ(f.status, 0);
        ASSERT_EQ(f.count, 72);
        f.expectClosed();
        EXPECT_EQ(std::vector(f.flags.begin(), f.flags.begin() + 72), std::vector<int32_t>(72, 0));
        const auto [alpha0, beta0] = viewAngles(boreLon * kDeg, boreLat * kDeg);
        const double o = (180 - orientation) * kDeg, a = major / 2 * kDeg, b = minor / 2 * kDeg;
        for (int32_t k = 0; k < f.count; ++k) {
            const auto [alpha, beta] = viewAngles(f.p[2 * k], f.p[2 * k + 1]);
            const double x = (alpha - alpha0) * std::cos(o) - (beta - beta0) * std::sin(o);
            const double y = (alpha - alpha0) * std::sin(o) + (beta - beta0) * std::cos(o);
            const double theta = std::atan2(y, x);
            EXPECT_NEAR(std::hypot(x, y), 1 / std::hypot(std::sin(theta) / a, std::cos(theta) / b), kEllipseTolRad);
        }
    }
}

TEST(SatelliteFigures, ABeamWiderThanTheEarthGivesTheHorizonAndTooFewPointsNothing)
{
    const Figure wide = footprint(10, 30, 30, 30, 0, 60);
    EXPECT_EQ(wide.status, 999);
    ASSERT_EQ(wide.count, 60);
    wide.expectClosed();
    for (int32_t k = 0; k < wide.count; ++k)
        EXPECT_NEAR(elevationDeg(0, wide.p[2 * k], wide.p[2 * k + 1]), 0, kElevationTolDeg) << k;

    for (const Figure& none : {footprint(120, 0, 60, 60, 0, 60), footprint(10, 30, 2, 1, 0, 9)}) {
        EXPECT_EQ(none.status, 999);
        EXPECT_EQ(none.count, 0);
    }
}

TEST(SatelliteFigures, ABeamOverTheLimbFollowsTheLimbAcrossItsGap)
{
    const Figure f = footprint(70, 0, 2, 1, 0, 72);
    EXPECT_EQ(f.status, 1);
    ASSERT_GT(f.count, 10);
    ASSERT_LE(f.count, 72);
    f.expectClosed();
    EXPECT_EQ(f.flags[0], 0) << "starts on the beam edge";
    EXPECT_EQ(f.flags[std::size_t(f.count) - 2], 1) << "after a limb point";
    int limb = 0;
    for (int32_t k = 0; k < f.count; ++k) {
        ASSERT_TRUE(f.flags[k] == 0 || f.flags[k] == 1) << k;
        if (f.flags[k] == 1) {
            ++limb;
            const double e = elevationDeg(0, f.p[2 * k], f.p[2 * k + 1]);
            EXPECT_TRUE(e >= 0 && e < 1) << k << ": " << e;
        }
    }
    EXPECT_GT(limb, 0);
}
