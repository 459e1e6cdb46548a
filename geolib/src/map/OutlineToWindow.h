#pragma once

#include "geometry/Windows.h"

#include <cstdint>

// Cutting a closed country outline to a window. Points are longitude, latitude pairs in radians.
namespace geo {

/// GEOCTW: cuts the closed outline of n points (room for capacity; its window outlineWindow)
/// to w and closes it along w's border. n becomes 0 when nothing is left; outlineWindow
/// becomes the window of the result. flag is 1 when room ran short, else 0.
void GEOCTW(const Window& w, std::int32_t capacity, Window& outlineWindow, float* points, std::int32_t& n,
            std::int32_t& flag);

/// GEOCTW2: moves every point outside w to the nearest point of w's border, adding a point where
/// an edge outside w bends round it, then merges repeated points, points along a side between
/// neighbours on it, and spikes. Where the bends do not fit capacity, the runs of outside points
/// with the most bends move without them, which never needs more room than the input's points
/// and a closed outline stays closed. flag is 1 only when even that does not fit (n is then
/// capacity).
void GEOCTW2(const Window& w, std::int32_t capacity, float* points, std::int32_t& n, std::int32_t& flag);

}  // namespace geo
