#pragma once

#include "geometry/Sphere.h"
#include "geometry/Windows.h"

#include <cstdint>

// Figures on the sphere: the nearest point of a two-segment line, circles as polygons and the
// window of a quadrant of a circle. Distances are km, azimuths degrees clockwise from north.
namespace geo {

struct NearestPoint {
    Point at;
    float distanceKm;
    float azimuthDeg;  // from the given point to the nearest point
};

/// The point of the line a-b-c (even steps of longitude and latitude) nearest to x, found on
/// each segment to about one arc second by sampling ever shorter pieces around the nearest sample.
NearestPoint nearestOnTwoSegments(Point x, Point a, Point b, Point c);

/// A closed polygon of n + 1 points (n limited to 3..360) at |radiusKm| around the centre from
/// startAzimuthDeg (0..360) on, then the centre when withCentre; returns the count, 0 (and
/// nothing written) when it does not fit in capacity points.
std::int32_t circlePolygon(Point centre, float radiusKm, std::int32_t n, bool withCentre, float startAzimuthDeg,
                           std::int32_t capacity, float* points);

/// The window of quadrant 1 (north-east), 2 (south-east), 3 (south-west) or 4 (north-west) of
/// the disc of radius distKm around the centre; other quadrant numbers are taken to 1..4.
Window quadrantWindow(std::int32_t quadrant, Point centre, float distKm);

}  // namespace geo
