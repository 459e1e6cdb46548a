#pragma once

#include "geometry/GreatCircle.h"
#include "geometry/Sphere.h"
#include "geometry/Windows.h"

#include <array>
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

struct VertexRun {
    std::int32_t mid = 0;  // from 1; 0 when no vertex counts
    float distanceKm = kFarKm;
    bool exactHit = false;
};

/// The nearest vertex (points 1..n) that `counts` (the first of equals) and the middle of the run
/// of counting vertices after it that keep that distance; with `stopOnHit`, a vertex on the point
/// itself ends the search.
template <class Counts>
VertexRun nearestVertex(Point p, const float* points, std::int32_t n, bool stopOnHit, Counts counts)
{
    VertexRun run;
    std::int32_t best = 0, runEnd = 0;
    for (std::int32_t v = 1; v <= n; ++v) {
        const Point q = pointOf(points, v - 1);
        if (!counts(q))
            continue;
        const float d = distanceKm(p, q);
        if (d > run.distanceKm)
            continue;
        if (v == runEnd + 1)
            runEnd = v;
        if (d < run.distanceKm) {
            best = runEnd = v;
            run.distanceKm = d;
            if (stopOnHit && d == 0 && q.lon == p.lon && q.lat == p.lat) {
                run.exactHit = true;
                return run;
            }
        }
    }
    run.mid = (best + runEnd) / 2;
    return run;
}

/// The distance in km between two points in radians, as crossing searches order their crossings.
double distanceFromStart(double lon1, double lat1, double lon2, double lat2);

/// The segment from `from` towards `to` ends where it first crosses the line (points 1..n).
Point cutAt(Point from, Point to, const float* line, std::int32_t n);

/// A window's outline as windowOutline draws it (at most 7 points).
struct WindowOutline {
    std::array<float, 14> points{};
    std::int32_t n = 0;

    explicit WindowOutline(const Window& w) : n(windowOutline(w, points.data())) {}
};

/// cutAt with the window's outline as the line.
Point cutAt(Point from, Point to, const WindowOutline& outline);

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
