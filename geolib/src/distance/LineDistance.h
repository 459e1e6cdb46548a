#pragma once

#include "geometry/Sphere.h"
#include "geometry/Windows.h"

#include <cstdint>

// Distances from a point to a caller's polyline or polygon (points 1..n, radians): the vertex
// nearest the point gives a first estimate, the two segments round it the nearest point, and a
// circle just inside that distance shows when a farther stretch comes closer.
namespace geo {

struct LineDistance {
    Point nearest{};
    float distanceKm = kFarKm;
    float azimuthDeg = 0;  // from the point to the nearest point, 0 to below 360
};

/// The distance in km between two points in radians, as crossing searches order their crossings.
double distanceFromStart(double lon1, double lat1, double lon2, double lat2);

/// The segment from `from` towards `to` ends where it first crosses the line (points 1..n).
Point cutAt(Point from, Point to, const float* line, std::int32_t n);

/// GEODTL: the nearest point of the polyline. Leaves `r` alone but for distance 26000 when
/// there is no point (n below 1).
void GEODTL(Point p, const float* points, std::int32_t n, LineDistance& r);
/// GEODTLW: the nearest point of the part of the polyline inside the window.
void GEODTLW(Point p, const Window& w, const float* points, std::int32_t n, LineDistance& r);
/// GEODTA3: the nearest point of the polygon; inside it, -99 with the point itself.
LineDistance GEODTA3(Point p, const Window& polygonWindow, const float* points, std::int32_t n);
/// GEODTAW: GEODTA3 over the part of the polygon inside the clip window; 999999 beyond 25000.
LineDistance GEODTAW(Point p, const Window& clip, const Window& polygonWindow, const float* points, std::int32_t n);

}  // namespace geo
