#include "geometry/PointInPolygon.h"

#include "core/Utilities.h"
#include "geometry/Clipping.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace geo {

LocalAzimuth GEOPIAZ(Point from, Point to)
{
    LocalAzimuth result;
    const Turn turn = turnOf(double(to.lon) - from.lon);
    const double dlat = double(to.lat) - from.lat;
    if (turn.angle <= kRadPerSecond) {
        if (std::fabs(dlat) <= kRadPerSecond)
            return result;
        result.azimuthDeg = dlat >= 0 ? 0 : 180;
    } else {
        const double x = turn.angle * std::cos(double(from.lat));
        double r = std::sqrt(x * x + dlat * dlat);
        if (r <= kRadPerSecond)
            r = kRadPerSecond;
        double g = dlat / r;
        if (g >= 1)
            g = kCosineLimit;
        else if (g <= -1)
            g = -kCosineLimit;
        const std::int32_t az = roundHalfAway(std::acos(g) * kDegreesPerRadian);
        result.azimuthDeg = std::int16_t(turn.east ? az : 360 - az);
    }
    result.coincident = false;
    return result;
}

namespace {

// A buffer point as seen from the test point: its offset (longitude the short way, latitude)
// and its exact azimuth in degrees on the plane about the test point.
struct Seen {
    double dlon;
    double dlat;
    double azimuthDeg;
};

Seen seenFrom(Point pt, Point q)
{
    const Turn turn = turnOf(double(q.lon) - pt.lon);
    const double dlon = turn.east ? turn.angle : -turn.angle, dlat = double(q.lat) - pt.lat;
    return {dlon, dlat, std::atan2(dlon * std::cos(double(pt.lat)), dlat) * kDegreesPerRadian};
}

// True when the segment between two offsets meets the point's box of a second of arc.
bool segmentMeetsBox(const Seen& a, const Seen& b)
{
    const double h = kRadPerSecond;
    return lineInBox(a.dlon, a.dlat, b.dlon - a.dlon, b.dlat - a.dlat, -h, h, -h, h, 0, 1).has_value();
}

}  // namespace

bool GEOPIA(Point pt, const Window& polygonWindow, const float* points, std::int32_t n)
{
    if (!pointInWindow(pt, polygonWindow))
        return false;
    Window box{pt.lon, pt.lat, pt.lon, pt.lat};
    widenWindow(0, 1, box);

    // The clipped polygon never has more points than the whole one.
    std::vector<float> clipped(2 * std::size_t(std::max(n, 0)));
    const std::int32_t count = GEOCUT(isNormal(polygonWindow) ? 1 : 0, box, points, n, clipped.data());
    if (count <= 1)
        return false;

    const LocalAzimuth first = GEOPIAZ(pt, pointOf(clipped.data(), 0));
    if (first.coincident)
        return true;
    const Seen firstSeen = seenFrom(pt, pointOf(clipped.data(), 0));
    std::int16_t sum = 0, previous = first.azimuthDeg;
    Seen previousSeen = firstSeen;
    // The turn to the next point in whole degrees. Of its values modulo 360 the one nearest
    // the exact turn is taken: whole degrees alone cannot tell which way an edge that passes
    // close by turns. Half a circle on an edge through the point's box puts the point on it.
    auto turn = [&](std::int16_t to, const Seen& seen, std::int16_t& e) {
        const double exact = std::remainder(seen.azimuthDeg - previousSeen.azimuthDeg, 360.0);
        const int d = to - previous;
        int best = d;
        for (int c : {d - 360, d + 360})
            if (std::fabs(c - exact) < std::fabs(best - exact))
                best = c;
        e = std::int16_t(best);
        return std::abs(best) != 180 || !segmentMeetsBox(previousSeen, seen);
    };
    std::int16_t e = 0;
    for (std::int32_t k = 1; k < count; ++k) {
        const LocalAzimuth a = GEOPIAZ(pt, pointOf(clipped.data(), k));
        if (a.coincident)
            return true;
        const Seen seen = seenFrom(pt, pointOf(clipped.data(), k));
        if (!turn(a.azimuthDeg, seen, e))
            return true;
        sum = std::int16_t(sum + e);
        previous = a.azimuthDeg;
        previousSeen = seen;
    }
    if (!turn(first.azimuthDeg, firstSeen, e))
        return true;
    return std::int16_t(sum + e) != 0;
}

bool GEOPIA2(Point pt, const float* points, std::int32_t n)
{
    return GEOPIA(pt, boundingWindow(points, n), points, n);
}

}  // namespace geo
