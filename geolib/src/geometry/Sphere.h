#pragma once

#include "coords/CoordText.h"
#include "core/Constants.h"

#include <algorithm>
#include <cmath>

// Pieces of the spherical formulas that several routines share. Points are longitude,
// latitude in radians; point arrays are pairs of 4-byte reals.
namespace geo {

using Point = LonLat;

/// Point i (from 0) of a point array.
inline Point pointOf(const float* points, long i)
{
    return {points[2 * i], points[2 * i + 1]};
}

inline void setPoint(float* points, long i, Point p)
{
    points[2 * i] = p.lon;
    points[2 * i + 1] = p.lat;
}

/// A cosine kept within the limit, with its sign.
inline double clampCosine(double c)
{
    return std::clamp(c, -double(kCosineLimit), double(kCosineLimit));
}

/// True when the latitude lies within the coincidence tolerance of a pole.
inline bool atPole(double lat)
{
    return std::fabs(std::fabs(lat) - double(kHalfPi)) <= kCoincidence;
}

/// An absolute longitude difference the short way round, 0..pi.
inline double shortLongitude(double dlon)
{
    const double d = std::fabs(dlon);
    return d > kPi ? kTwoPi - d : d;
}

/// A longitude brought back into -pi..pi after one step past either end.
inline double wrapLongitude(double lon)
{
    if (lon > kPi)
        return lon - kTwoPi;
    return lon < -kPi ? lon + kTwoPi : lon;
}

struct Turn {
    double angle;  // longitude difference the short way, rad
    bool east;     // point 2 lies east of point 1
};

/// The short way from longitude difference lon2 - lon1.
inline Turn turnOf(double dlon)
{
    const double c = std::fabs(dlon);
    if (dlon < 0)
        return c <= kPi ? Turn{c, false} : Turn{kTwoPi - c, true};
    return dlon < kPi ? Turn{c, true} : Turn{kTwoPi - c, false};
}

/// The arc between points on opposite meridians, over the nearer pole, rad.
inline double arcOverPole(double lat1, double lat2)
{
    const double f = std::fabs(kPi - lat1 - lat2);
    return f > kPi ? kTwoPi - f : f;
}

}  // namespace geo
