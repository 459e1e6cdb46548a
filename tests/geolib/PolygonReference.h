#pragma once

#include "geometry/Sphere.h"
#include "geometry/Windows.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

// An independent even-odd point-in-polygon test and polygon makers for the clipping and
// point-in-polygon tests. Edges are straight in longitude and latitude, the short way across
// 180 degrees, as the library's local azimuths see them.
namespace polygon_reference {

using Points = std::vector<float>;  // longitude, latitude pairs, radians

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthKm = 6373.0;

/// A longitude taken to within half a turn of `around`.
inline double near(double lon, double around)
{
    while (lon - around > kPi)
        lon -= 2 * kPi;
    while (lon - around < -kPi)
        lon += 2 * kPi;
    return lon;
}

inline std::size_t count(const Points& p)
{
    return p.size() / 2;
}

/// Even-odd rule: true when a ray east from (lon, lat) crosses the closed polygon an odd
/// number of times.
inline bool evenOddInside(double lon, double lat, const Points& poly)
{
    bool inside = false;
    const std::size_t n = count(poly);
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const double xi = near(poly[2 * i], lon), yi = poly[2 * i + 1];
        const double xj = near(poly[2 * j], lon), yj = poly[2 * j + 1];
        if ((yi > lat) != (yj > lat) && lon < xj + (xi - xj) * (lat - yj) / (yi - yj))
            inside = !inside;
    }
    return inside;
}

/// Distance in km, on the plane about the point, from (lon, lat) to the nearest edge.
inline double edgeDistanceKm(double lon, double lat, const Points& poly)
{
    const double c = std::cos(lat);
    double best = 1e300;
    const std::size_t n = count(poly);
    for (std::size_t i = 0; i + 1 < n || (n == 1 && i == 0); ++i) {
        const double ax = (near(poly[2 * i], lon) - lon) * c, ay = poly[2 * i + 1] - lat;
        const std::size_t k = n == 1 ? i : i + 1;
        const double bx = (near(poly[2 * k], lon) - lon) * c, by = poly[2 * k + 1] - lat;
        const double dx = bx - ax, dy = by - ay;
        const double len2 = dx * dx + dy * dy;
        const double t = len2 > 0 ? std::clamp(-(ax * dx + ay * dy) / len2, 0.0, 1.0) : 0.0;
        best = std::min(best, std::hypot(ax + t * dx, ay + t * dy));
    }
    return best * kEarthKm;
}

/// The window's east edge on a scale running on from its west edge across 180 degrees.
inline double eastAfterWest(const geo::Window& w)
{
    return w.west > w.east ? w.east + 2 * kPi : w.east;
}

/// A window of the given centre and half sizes (radians); west > east when it crosses 180.
inline geo::Window windowAround(double lon, double lat, double halfLon, double halfLat)
{
    return {float(near(lon - halfLon, 0)), float(lat - halfLat), float(near(lon + halfLon, 0)), float(lat + halfLat)};
}

}  // namespace polygon_reference
