#pragma once

#include "geometry/Windows.h"

#include <cstdint>

// Point in polygon by the winding of whole-degree local azimuths about the point. Polygons are
// closed arrays of n longitude, latitude pairs in radians.
namespace geo {

struct LocalAzimuth {
    std::int16_t azimuthDeg = 0;  // whole degrees clockwise from north; unset when coincident
    bool coincident = true;       // the points lie within a second of arc in both coordinates
};

/// The azimuth from one point to another on the plane about the first.
LocalAzimuth GEOPIAZ(Point from, Point to);

/// True when pt lies in the polygon whose window is polygonWindow; a point within a second of
/// arc of a vertex, or on an edge, counts as inside. A point outside the window is outside.
bool GEOPIA(Point pt, const Window& polygonWindow, const float* points, std::int32_t n);

/// GEOPIA with the window of the polygon's points.
bool GEOPIA2(Point pt, const float* points, std::int32_t n);

}  // namespace geo
