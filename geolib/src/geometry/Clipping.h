#pragma once

#include "geometry/Windows.h"

#include <cstdint>
#include <optional>
#include <utility>

// Clipping of lines and closed outlines at a window. Points are longitude, latitude pairs in
// radians; counts are numbers of points.
namespace geo {

/// Shortens a line or closed outline to window w and writes the result to out (which may be
/// `points`); returns the number of points kept, never more than n. Mode 1 compares plain
/// longitudes (a window and outline that do not cross 180 degrees); any other mode, or a
/// window that crosses 180 degrees, puts longitudes on one scale running across 180 degrees.
/// Points in w, its edges included, stay unchanged and in order. A run of points beyond a side
/// of w (or beyond two at a corner) is cut to its first and last point; these slide along
/// their edges to the border of w widened by 10 minutes of arc, so that a point-in-polygon
/// test anywhere in w answers as on the whole outline. A run of one point stays where it is.
/// n above 32767 is a fatal error; n below 0 counts as 0; 1 or 2 points are copied.
std::int32_t GEOCUT(std::int32_t mode, const Window& w, const float* points, std::int32_t n, float* out);

/// Inserts a point inside w into every edge whose ends lie outside w but which passes over
/// it; n grows by the points inserted. An array too small for them (capacity points) is a
/// fatal error.
void GEOPWC(const Window& w, float* points, std::int32_t capacity, std::int32_t& n);

/// GEOCUT, then GEOPWC, then GEOCUT again when GEOPWC inserted points: an outline cut to w
/// in place (room for capacity points). Returns the number of points kept.
std::int32_t cutOutlineToWindow(std::int32_t mode, const Window& w, float* points, std::int32_t capacity,
                                std::int32_t n);

/// The range of t within [tMin, tMax] for which (lon + t dLon, lat + t dLat) lies in the box
/// west..east by south..north (plain numbers, no turn at 180 degrees); none when it is empty.
std::optional<std::pair<double, double>> lineInBox(double lon, double lat, double dLon, double dLat, double west,
                                                   double east, double south, double north, double tMin, double tMax);

/// The crossings of edge a-b with an outline of nOutline points, into `crossings` (room for
/// 6); more than 6 is a fatal error of GEOPWC. Returns their count.
std::int32_t windowCrossings(Point a, Point b, const float* outline, std::int32_t nOutline, float* crossings);

}  // namespace geo
