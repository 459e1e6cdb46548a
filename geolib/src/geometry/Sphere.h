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

static_assert(kTwoPi == 2 * kPi, "a turn is two half turns, so that -pi and pi stay where they are");

/// A longitude brought into -pi..pi by whole turns, in one step however far outside it lies
/// (NaN stays NaN). One turn past either end moves by exactly one turn; -pi and pi stay.
inline double wrapLongitude(double lon)
{
    return std::remainder(lon, double(kTwoPi));
}

/// As wrapLongitude, into -pi (excluded) .. pi.
inline double wrapLongitudeAbove(double lon)
{
    const double w = wrapLongitude(lon);
    return w <= -kPi ? w + kTwoPi : w;
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
