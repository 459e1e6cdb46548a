#include "Figures.h"

#include "geometry/GreatCircle.h"

#include <algorithm>
#include <cmath>

namespace geo {
namespace {

constexpr int kSamples = 21;       // 11 on each segment, the middle point shared
constexpr int kNoGainRounds = 50;
constexpr int kMostRounds = 200;   // each gaining round shortens the pieces tenfold

bool withinArcSecond(Point a, Point c)
{
    return shortLongitude(double(a.lon) - c.lon) < kRadPerSecond && std::fabs(double(a.lat) - c.lat) < kRadPerSecond;
}

// Samples the line a-b-c and narrows in on the nearest sample.
NearestPoint narrowIn(Point x, Point a, Point b, Point c)
{
    float samples[2 * kSamples];
    float best = distanceKm(x, b);
    Point result = b;
    for (int round = 0, noGain = 0; round < kMostRounds; ++round) {
        evenLine(a, b, kSamples / 2 + 1, samples);
        evenLine(b, c, kSamples / 2 + 1, samples + kSamples - 1);
        float least = kFarKm;
        int lo = 1, hi = 1;  // sample numbers from 1
        for (int k = 1; k <= kSamples; ++k) {
            const float d = distanceKm(x, pointOf(samples, k - 1));
            if (d < least)
                least = d, lo = hi = k;
            else if (d <= least)
                hi = k;
        }
        const int mid = (lo + hi) / 2;
        result = pointOf(samples, mid - 1);
        lo = std::max(lo - 1, 1);
        hi = std::min(hi + 1, kSamples);
        if (best <= least) {
            if (hi - lo > kSamples - 2)
                break;
            const DistanceAzimuth toLo = distanceAzimuth(x, pointOf(samples, lo - 1));
            const DistanceAzimuth toHi = distanceAzimuth(x, pointOf(samples, hi - 1));
            if ((toLo.distanceKm == toHi.distanceKm && toLo.azimuthDeg == toHi.azimuthDeg) || ++noGain >= kNoGainRounds)
                break;
        }
        best = least;
        a = pointOf(samples, lo - 1), b = result, c = pointOf(samples, hi - 1);
        if (withinArcSecond(a, c))
            break;
    }
    const DistanceAzimuth da = distanceAzimuth(x, result);
    return {result, da.distanceKm, da.azimuthDeg};
}

// A segment as a two-segment line through its middle.
NearestPoint nearestOnSegment(Point x, Point p, Point q)
{
    float middle[6];
    evenLine(p, q, 3, middle);
    return narrowIn(x, p, pointOf(middle, 1), q);
}

}  // namespace

NearestPoint nearestOnTwoSegments(Point x, Point a, Point b, Point c)
{
    // Each segment on its own: where the line folds back, the nearest sample of the whole line
    // can lie on the other segment than the nearest point.
    const NearestPoint first = nearestOnSegment(x, a, b), second = nearestOnSegment(x, b, c);
    return second.distanceKm < first.distanceKm ? second : first;
}

std::int32_t circlePolygon(Point centre, float radiusKm, std::int32_t n, bool withCentre, float startAzimuthDeg,
                           std::int32_t capacity, float* points)
{
    n = std::clamp(n, 3, 360);
    const std::int32_t count = n + 1 + (withCentre ? 1 : 0);
    if (capacity < count)
        return 0;
    const float radius = std::fabs(radiusKm), step = 360.0f / float(n);
    float azimuth = std::clamp(startAzimuthDeg, 0.0f, 360.0f);
    for (std::int32_t k = 0; k < n; ++k) {
        setPoint(points, k, destination(centre, radius, azimuth));
        azimuth += step;
        if (azimuth >= 360.0f)
            azimuth -= 360.0f;
    }
    setPoint(points, n, pointOf(points, 0));
    if (withCentre)
        setPoint(points, n + 1, centre);
    return count;
}

Window quadrantWindow(std::int32_t quadrant, Point centre, float distKm)
{
    quadrant = std::clamp(quadrant, 1, 4);
    const bool north = quadrant == 1 || quadrant == 4, east = quadrant <= 2;
    Window w = circleWindow(centre, distKm);
    (north ? w.south : w.north) = centre.lat;
    (east ? w.west : w.east) = centre.lon;

    // The radius along the quadrant's east or west edge bends towards the equator.
    const float azimuth = east ? 90.0f : 270.0f;
    float ray[2 * kRayCapacity], rayKm[kRayCapacity];
    std::int32_t n = 0;
    Window rayWindow{};
    bool normal = true;
    GEOAZL(centre, distKm, azimuth, ray, rayKm, n, rayWindow, normal);
    w.south = std::min(w.south, rayWindow.south);
    w.north = std::max(w.north, rayWindow.north);

    // On the equator side the circle's widest point lies outside the quadrant.
    const bool equatorSide = centre.lat != 0 && (north == (centre.lat < 0));
    if (equatorSide) {
        float& edge = east ? w.east : w.west;
        const float lon = destination(centre, distKm, azimuth).lon;
        if (distanceKm({centre.lon, 0}, {lon, 0}) < distanceKm({centre.lon, 0}, {edge, 0}))
            edge = lon;
    }
    return w;
}

}  // namespace geo
