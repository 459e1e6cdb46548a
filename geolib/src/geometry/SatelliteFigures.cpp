#include "SatelliteFigures.h"

#include "core/Constants.h"
#include "geometry/Sphere.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace geo {
namespace {

constexpr std::int32_t kMostPoints = 600;

// Angle of point k of n around a closed figure, from one degree on.
double ringAngle(std::int32_t k, std::int32_t n)
{
    return double(kRadPerDegree) + double(k) * double(kTwoPi) / double(n - 1);
}

// The ground point seen along the view-plane point (p, q).
void groundPoint(const BeamSetup& v, double satLon, double p, double q, double& lat, double& lon)
{
    const double w = v.d2 + p * p + q * q;
    const double t = (v.dOrbit - std::sqrt(std::fabs(v.dOrbit2 - v.orbit2MinusEarth2 * w))) / w;
    lon = wrapLongitude(satLon + std::atan2(t * p, v.orbitKm - t * v.d));
    lat = std::asin(std::clamp(t * q / v.earthKm, -1.0, 1.0));
}

struct RingPoint {
    float lon = 0, lat = 0;
    std::int32_t flag = -1;  // 0 beam edge, 1 limb, -1 off the earth
};

// The first point with `flag` whose predecessor has `before`, or -1.
std::ptrdiff_t startAfter(const std::vector<RingPoint>& r, std::int32_t before, std::int32_t flag)
{
    for (std::size_t k = 0; k < r.size(); ++k)
        if (r[k].flag == flag && r[(k + r.size() - 1) % r.size()].flag == before)
            return std::ptrdiff_t(k);
    return -1;
}

}  // namespace

SatelliteRadii satelliteRadii(float earthKm, float orbitKm)
{
    SatelliteRadii r{earthKm < 0.5f ? kDefaultEarthRadiusKm : earthKm, orbitKm < 0.5f ? kDefaultOrbitRadiusKm : orbitKm};
    if (r.orbitKm <= r.earthKm)
        r = {kDefaultEarthRadiusKm, kDefaultOrbitRadiusKm};
    return r;
}

std::int32_t elevationContour(const SatelliteRadii& radii, double satLon, double elevationDeg, std::int32_t n,
                              float* points)
{
    if (n <= 4)
        return 0;
    n = std::min(n, kMostPoints);
    const double e = elevationDeg * double(kRadPerDegree);
    const double cosE = std::min(std::cos(e), kLargestElevationCosine);
    const double psi = double(kHalfPi) - std::asin(cosE * radii.earthKm / radii.orbitKm) - e;
    for (std::int32_t k = 0; k < n; ++k) {
        const double theta = ringAngle(k, n);
        points[2 * k] = float(wrapLongitude(satLon + std::atan(std::tan(psi) * std::cos(theta))));
        points[2 * k + 1] = float(std::asin(std::sin(psi) * std::sin(theta)));
    }
    points[2 * n - 2] = points[0];
    points[2 * n - 1] = points[1];
    return n;
}

BeamSetup beamSetup(const SatelliteRadii& radii)
{
    const double re = radii.earthKm, rs = radii.orbitKm;
    const double gamma = std::asin(re / rs);
    const double l = std::sqrt((rs - re) * (rs + re));
    BeamSetup v{re, rs, l * std::cos(gamma), l * std::sin(gamma), 0, 0, 0, rs * rs - re * re};
    v.d2 = v.d * v.d;
    v.dOrbit = v.d * rs;
    v.dOrbit2 = v.dOrbit * v.dOrbit;
    return v;
}

void GEOELS0(const BeamSetup& v, double lat, double lon, double satLon, double& alpha0, double& beta0, bool& visible)
{
    const double dl = lon - satLon;
    const double x = v.orbitKm - v.earthKm * std::cos(dl) * std::cos(lat);
    alpha0 = std::atan(v.earthKm * std::sin(dl) * std::cos(lat) / x);
    beta0 = std::atan(v.earthKm * std::sin(lat) / x);
    visible = std::cos(dl) * std::cos(lat) >= v.earthKm / v.orbitKm;
}

void GEOELS1(const BeamSetup& v, double theta, double o, double a, double b, double alpha0, double beta0,
             double satLon, double& lat, double& lon, std::int32_t& flag)
{
    const double s = std::sin(theta), c = std::cos(theta);
    const double r = 1 / std::sqrt(s * s / (a * a) + c * c / (b * b));
    const double x = r * c, y = r * s;
    const double xo = x * std::cos(o) + y * std::sin(o);
    const double yo = y * std::cos(o) - x * std::sin(o);
    const double p = v.d * std::tan(alpha0 + xo), q = v.d * std::tan(beta0 + yo);
    if (!(p * p + q * q <= v.rho * v.rho)) {  // off the earth's disc, or a beam without a shape
        flag = -1;
        return;
    }
    groundPoint(v, satLon, p, q, lat, lon);
    flag = 0;
}

void GEOELS3(const BeamSetup& v, double satLon, double lat, double lon, double& x, double& y)
{
    const double dl = lon - satLon;
    const double far = v.orbitKm - v.earthKm * std::cos(dl) * std::cos(lat);
    x = v.d * v.earthKm * std::cos(lat) * std::sin(dl) / far;
    y = v.d * v.earthKm * std::sin(lat) / far;
}

void GEOELS4(const BeamSetup& v, double satLon, double x, double y, double& lat, double& lon)
{
    const double r = std::hypot(x, y);
    if (r > v.rho) {
        x *= v.rho / r;
        y *= v.rho / r;
    }
    groundPoint(v, satLon, x, y, lat, lon);
}

std::int32_t GEOELS2(const BeamSetup& v, double satLon, const float* hitA, const float* hitB, std::int32_t room,
                     float* limb)
{
    auto polarAngle = [&](const float* p) {
        double x = 0, y = 0;
        GEOELS3(v, satLon, p[1], p[0], x, y);
        const double phi = std::atan2(y, x);
        return phi < 0 ? phi + double(kTwoPi) : phi;
    };
    const double phi1 = polarAngle(hitA);
    double delta = polarAngle(hitB) - phi1;
    if (delta <= 0)
        delta += double(kTwoPi);
    const auto wanted = std::int32_t(std::lround(1.5 * delta / double(kLimbStep)));
    const std::int32_t m = std::max(std::min(wanted, room), 1);
    const double radius = double(kLimbScale) * v.rho;
    for (std::int32_t j = 1; j <= m; ++j) {
        const double phi = phi1 + j * delta / (m + 1);
        double lat = 0, lon = 0;
        GEOELS4(v, satLon, radius * std::cos(phi), radius * std::sin(phi), lat, lon);
        limb[2 * j - 2] = float(lon);
        limb[2 * j - 1] = float(lat);
    }
    return m;
}

BeamResult beamFootprint(const SatelliteRadii& radii, double satLon, const Beam& beam, std::int32_t n, float* points,
                         std::int32_t* flags)
{
    if (n < 10)
        return {0, 999};
    const BeamSetup v = beamSetup(radii);
    double alpha0 = 0, beta0 = 0;
    bool visible = false;
    GEOELS0(v, beam.boreLat, beam.boreLon, satLon, alpha0, beta0, visible);
    const double o = (180 - beam.orientationDeg) * double(kRadPerDegree);
    const double a = beam.majorDeg / 2 * double(kRadPerDegree), b = beam.minorDeg / 2 * double(kRadPerDegree);
    n = std::min(n, kMostPoints);

    std::vector<RingPoint> ring(std::size_t(n), RingPoint{});
    for (std::int32_t k = 0; k < n; ++k) {
        double lat = 0, lon = 0;
        GEOELS1(v, ringAngle(k, n), o, a, b, alpha0, beta0, satLon, lat, lon, ring[k].flag);
        if (ring[k].flag == 0)
            ring[k].lon = float(lon), ring[k].lat = float(lat);
    }
    if (ring.front().flag == 0)  // the ring closes on a hit where it can
        ring.back() = ring.front();
    else
        ring.front() = ring.back();

    const auto hits =
        std::int32_t(std::count_if(ring.begin(), ring.end(), [](const RingPoint& p) { return p.flag == 0; }));
    BeamResult result;
    if (hits == n) {
        result.count = n;
    } else if (hits < 3) {
        result.status = 999;  // nothing of the beam falls on the earth
        if (visible) {
            result.count = elevationContour(radii, satLon, 0, n, points);
            std::fill_n(flags, result.count, 1);
        }
        return result;
    } else {
        ring.pop_back();  // worked on as an open ring, closed again at the end
        for (std::ptrdiff_t start; (start = startAfter(ring, 0, -1)) >= 0; ++result.status) {
            // The hit before the gap goes first.
            const auto size = std::ptrdiff_t(ring.size());
            std::rotate(ring.begin(), ring.begin() + (start + size - 1) % size, ring.end());
            std::size_t h = 1;
            while (h < ring.size() && ring[h].flag != 0)
                ++h;
            const RingPoint& hitB = ring[h % ring.size()];
            const float a2[2] = {ring[0].lon, ring[0].lat}, b2[2] = {hitB.lon, hitB.lat};
            std::vector<float> limb(2 * (h - 1));
            const std::int32_t m = GEOELS2(v, satLon, a2, b2, std::int32_t(h - 1), limb.data());
            std::vector<RingPoint> filled;
            for (std::int32_t j = 0; j < m; ++j)
                filled.push_back({limb[2 * j], limb[2 * j + 1], 1});
            ring.erase(ring.begin() + 1, ring.begin() + std::ptrdiff_t(h));
            ring.insert(ring.begin() + 1, filled.begin(), filled.end());
        }
        const std::ptrdiff_t start = startAfter(ring, 1, 0);
        std::rotate(ring.begin(), ring.begin() + std::max<std::ptrdiff_t>(start, 0), ring.end());
        ring.push_back(ring.front());
        result.count = std::int32_t(ring.size());
    }
    for (std::int32_t k = 0; k < result.count; ++k) {
        points[2 * k] = ring[k].lon;
        points[2 * k + 1] = ring[k].lat;
        flags[k] = ring[k].flag;
    }
    return result;
}

}  // namespace geo
