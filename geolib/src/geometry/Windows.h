#pragma once

#include "geometry/Sphere.h"

#include <array>
#include <cstdint>

// Longitude/latitude windows (radians). West greater than east means the window crosses the
// 180-degree meridian and covers west .. pi and -pi .. east. Every bound is inclusive.
namespace geo {

struct Window {
    float west;
    float south;
    float east;
    float north;
};

inline Window windowOf(const float* w)
{
    return {w[0], w[1], w[2], w[3]};
}

inline void storeWindow(float* out, const Window& w)
{
    out[0] = w.west;
    out[1] = w.south;
    out[2] = w.east;
    out[3] = w.north;
}

/// True when the window does not cross 180 degrees.
bool isNormal(const Window& w);
/// True when the point lies in the window, edges included.
bool pointInWindow(Point p, const Window& w);
/// The narrowest window around points 1..n; n <= 1 gives the first point's window.
Window boundingWindow(const float* points, std::int32_t n);
Point windowCentre(const Window& w);
/// Writes the closed outline (5 points, 7 when the window spans at least 90 degrees); returns the count.
std::int32_t windowOutline(const Window& w, float* points);
/// True when a and b share a point.
bool windowsOverlap(const Window& a, const Window& b);
/// True when a lies wholly in b.
bool windowInWindow(const Window& a, const Window& b);
/// The narrowest window around the corners (west, south) and (east, north) of n windows.
Window windowAround(const Window* windows, std::int32_t n);
/// The intersection of a and b; when they do not overlap, a window around both and disjoint.
Window windowIntersection(const Window& a, const Window& b, bool& disjoint);
/// The window, its four corner and four side regions out to the opposite meridian.
std::array<Window, 9> nineWindows(const Window& w);
/// Mode < 0 restores the saved window; otherwise saves it and widens it by margin arc
/// seconds, wrapping at 180 degrees (mode 0) or stopping there (mode > 0).
void widenWindow(std::int32_t mode, std::int32_t marginSeconds, Window& w);
/// The window around a circle of radius distKm (at most 20020.371 km) about the centre.
Window circleWindow(Point centre, float distKm);

/// Index (from 1) of the first point in the window scanning forward (direction >= 0) or
/// backward; 0 when none is.
std::int32_t GEOPIWF(std::int32_t direction, const float* points, std::int16_t n, const Window& w);
/// Moves entry `position` (from 1) of the list to the front; position <= 1 changes nothing.
void GEOFRNT(std::int16_t* list, std::int32_t position);

}  // namespace geo
