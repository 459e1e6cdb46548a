#pragma once

#include "geometry/Windows.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Questions about a region rather than a point: an area's outline by its symbol, and the
// countries whose lines lie in a window, a polygon, a beam or a satellite's view.
namespace geo {

struct AreaOutline {
    std::int32_t lineId = 0;   // the outline's line id; 0 when the symbol is unknown
    std::int32_t count = 0;    // points written
    std::int32_t leftOut = 0;  // points that found no room
};

/// GEOAAL: the outline of the area of a 6-character symbol from the global files, at most
/// capacity points written to `points` in the unit of unitCode (1 radians, 2 degrees, 3 arc
/// seconds). An unknown symbol gives line id 0; a line missing from the point file is fatal.
AreaOutline GEOAAL(std::int16_t unitCode, std::string_view symbol, float* points, std::int32_t capacity);
/// LCLGAL: the same for a 12-character symbol over the local files.
AreaOutline LCLGAL(std::int16_t unitCode, std::string_view symbol, float* points, std::int32_t capacity);

}  // namespace geo
