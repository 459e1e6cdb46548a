#include "tavu32d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180;
constexpr double kEarthKm = 6370.0, kOrbitKm = 42166.0;
constexpr double kElevationTolDeg = 1e-4;
constexpr double kEllipseTolRad = 1e-6;

// The elevation at which a ground point sees the satellite, from their positions in space.
double elevationDeg(double satLon, double lon, double lat)
{
    const double g[3] = {kEarthKm * std::cos(lat) * std::cos(lon), kEarthKm * std::cos(lat) * std::sin(lon),
                         kEarthKm * std::sin(lat)};
    const double v[3] = {kOrbitKm * std::cos(satLon) - g[0], kOrbitKm * std::sin(satLon) - g[1], -g[2]};
    const double up = (v[0] * g[0] + v[1] * g[1] + v[2] * g[2]) / kEarthKm;
    return std::asin(up / std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])) / kDeg;
}

// East-west and north-south angles at which the satellite sees a ground point.
void viewAngles(double satLon, double lon, double lat, double& alpha, double& beta)
{
    const double dl = lon - satLon, x = kOrbitKm - kEarthKm * std::cos(dl) * std::cos(lat);
    alpha = std::atan(kEarthKm * std::sin(dl) * std::cos(lat) / x);
    beta = std::atan(kEarthKm * std::sin(lat) / x);
}

struct Footprint {
    std::vector<float> points;
    std::vector<int32_t> flags;
    int32_t count = -1, status = -1;
};

Footprint footprint(float satLonDeg, float boreLonDeg, float boreLatDeg, float major, float minor, float orientation,
                    int32_t n)
{
    Footprint f;
    f.points.assign(2 * std::size_t(std::max(n, 1)), 0.0f);
    f.flags.assign(std::size_t(std::max(n, 1)), -7);
    float re = float(kEarthKm), rs = 0;  // the orbit takes its default
    float sat = float(satLonDeg * kDeg), lon = float(boreLonDeg * kDeg), lat = float(boreLatDeg * kDeg);
    GEOELLP(&re, &rs, &sat, &lon, &lat, &major, &minor, &orientation, &n, f.points.data(), f.flags.data(), &f.count,
            &f.status);
    return f;
}

void expectClosed(const std::vector<float>& p, int32_t count)
{
    ASSERT_GT(count, 1);
    EXPECT_EQ(p[0], p[2 * std::size_t(count) - 2]);
    EXPECT_EQ(p[1], p[2 * std::size_t(count) - 1]);
}

}  // namespace

TEST(SatelliteFigures, TheElevationContourSeesTheSatelliteAtItsElevation)
{
    const float satLon = float(-30 * kDeg);
    for (const float elevation : {0.0f, 5.0f, 30.0f}) {
        for (const float earth : {float(kEarthKm), 0.0f}) {  // 0 takes the default radius
            std::vector<float> p(2 * 100, 0.0f);
            float re = earth, rs = float(kOrbitKm), sat = satLon, e = elevation;
            int32_t n = 100, count = -1;
            GEOELEV(&re, &rs, &sat, &e, &n, p.data(), &count);
            ASSERT_EQ(count, 100);
            expectClosed(p, count);
            for (int32_t k = 0; k < count; ++k)
                EXPECT_NEAR(elevationDeg(satLon, p[2 * k], p[2 * k + 1]), elevation, kElevationTolDeg) << k;
        }
    }
    for (const int32_t tooFew : {4, 0, -3}) {
        float re = 0, rs = 0, sat = 0, e = 0, p[2] = {};
        int32_t n = tooFew, count = -1;
        GEOELEV(&re, &rs, &sat, &e, &n, p, &count);
        EXPECT_EQ(count, 0);
    }
}

TEST(SatelliteFigures, ABeamOnTheEarthGivesItsEllipseOfViewAngles)
{
    struct Row {
        float boreLon, boreLat, major, minor, orientation;
    };
    const Row rows[] = {{10, 30, 2, 1, 0}, {10, 30, 2, 1, 35}, {-20, -15, 3, 0.5f, 100}, {5, 5, 1, 1, 270}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.boreLon << " " << r.boreLat << " " << r.orientation);
        const Footprint f = footprint(0, r.boreLon, r.boreLat, r.major, r.minor, r.orientation, 72);
        EXPECT_EQ(f.status, 0);
        ASSERT_EQ(f.count, 72);
        expectClosed(f.points, f.count);
        EXPECT_EQ(f.flags, std::vector<int32_t>(72, 0));

        double alpha0 = 0, beta0 = 0;
        viewAngles(0, r.boreLon * kDeg, r.boreLat * kDeg, alpha0, beta0);
        const double o = (180 - r.orientation) * kDeg, a = r.major / 2 * kDeg, b = r.minor / 2 * kDeg;
        for (int32_t k = 0; k < f.count; ++k) {
            double alpha = 0, beta = 0;
            viewAngles(0, f.points[2 * k], f.points[2 * k + 1], alpha, beta);
            const double xr = alpha - alpha0, yr = beta - beta0;
            const double x = xr * std::cos(o) - yr * std::sin(o), y = xr * std::sin(o) + yr * std::cos(o);
            const double theta = std::atan2(y, x);
            const double onEllipse =
                1 / std::sqrt(std::pow(std::sin(theta) / a, 2) + std::pow(std::cos(theta) / b, 2));
            EXPECT_NEAR(std::hypot(x, y), onEllipse, kEllipseTolRad) << k;
        }
    }
}

TEST(SatelliteFigures, ABeamWiderThanTheEarthGivesTheHorizon)
{
    const Footprint f = footprint(0, 10, 30, 30, 30, 0, 60);
    EXPECT_EQ(f.status, 999);
    ASSERT_EQ(f.count, 60);
    expectClosed(f.points, f.count);
    for (int32_t k = 0; k < f.count; ++k)
        EXPECT_NEAR(elevationDeg(0, f.points[2 * k], f.points[2 * k + 1]), 0, kElevationTolDeg) << k;

    const Footprint hidden = footprint(0, 120, 0, 60, 60, 0, 60);  // aimed at the far side
    EXPECT_EQ(hidden.status, 999);
    EXPECT_EQ(hidden.count, 0);
}

TEST(SatelliteFigures, ABeamOverTheLimbFollowsTheLimbAcrossItsGap)
{
    const Footprint f = footprint(0, 70, 0, 2, 1, 0, 72);
    EXPECT_EQ(f.status, 1);
    ASSERT_GT(f.count, 10);
    ASSERT_LE(f.count, 72);
    expectClosed(f.points, f.count);
    EXPECT_EQ(f.flags[0], 0) << "starts on the beam edge";
    EXPECT_EQ(f.flags[std::size_t(f.count) - 2], 1) << "after a limb point";
    int limb = 0;
    for (int32_t k = 0; k < f.count; ++k) {
        ASSERT_TRUE(f.flags[k] == 0 || f.flags[k] == 1) << k;
        if (f.flags[k] == 1) {
            ++limb;
            const double e = elevationDeg(0, f.points[2 * k], f.points[2 * k + 1]);
            EXPECT_GE(e, 0) << k;
            EXPECT_LT(e, 1) << k;
        }
    }
    EXPECT_GT(limb, 0);
}

TEST(SatelliteFigures, TooFewPointsGiveNoFootprint)
{
    const Footprint f = footprint(0, 10, 30, 2, 1, 0, 9);
    EXPECT_EQ(f.count, 0);
    EXPECT_EQ(f.status, 999);
}
