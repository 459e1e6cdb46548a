#pragma once

// GeographicLib's geodesics on the library's sphere, the reference of the geometry tests.
// Points go in as the library holds them: 4-byte reals in radians.
#include <GeographicLib/Geodesic.hpp>

#include <cmath>
#include <random>

namespace geometry_reference {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = 180.0 / kPi;
constexpr double kEarthRadiusKm = 6373.0;

struct Inverse {
    double distanceKm;
    double azimuthDeg;  // 0 to below 360
};

inline const GeographicLib::Geodesic& sphere()
{
    static const GeographicLib::Geodesic g(kEarthRadiusKm, 0.0);
    return g;
}

inline Inverse inverse(float lon1, float lat1, float lon2, float lat2)
{
    double s12 = 0, azi1 = 0, azi2 = 0;
    sphere().Inverse(lat1 * kDeg, lon1 * kDeg, lat2 * kDeg, lon2 * kDeg, s12, azi1, azi2);
    return {s12, azi1 < 0 ? azi1 + 360 : azi1};
}

/// The point at distKm along azimuthDeg, radians.
inline void direct(float lon, float lat, double azimuthDeg, double distKm, double& lon2, double& lat2)
{
    double latDeg = 0, lonDeg = 0;
    sphere().Direct(lat * kDeg, lon * kDeg, azimuthDeg, distKm, latDeg, lonDeg);
    lon2 = lonDeg / kDeg;
    lat2 = latDeg / kDeg;
}

/// Difference of two azimuths the short way round, degrees.
inline double azimuthGap(double a, double b)
{
    const double d = std::fabs(std::fmod(a - b, 360.0));
    return std::min(d, 360 - d);
}

/// A point drawn evenly over the sphere.
inline void randomPoint(std::mt19937& rng, float& lon, float& lat)
{
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    lon = float(u(rng) * kPi);
    lat = float(std::asin(u(rng)));
}

}  // namespace geometry_reference
