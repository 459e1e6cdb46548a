#pragma once

#include "geometry/Windows.h"

#include <cstdint>
#include <string_view>

// The country window selection: the outlines of one country, or of one region, handed out one
// per call and cut to a window.
namespace geo {

/// GEODCW: selects the outlines of the country or region code (rings of the index file, or the
/// region's fixed groups) in window w for GEOCIW, and makes the next GEOMAP rebuild the map.
void GEODCW(const Window& w, std::string_view code);

struct OutlinePart {
    std::int32_t count = 0;  // points written
    char kind = ' ';         // 'I' for an island's outline
    std::int32_t status = -1;  // 0 a part handed out; -1 nothing selected, or the end (the next call starts again)
};

/// GEOCIW: the next outline of the selection, or (capacity above 3) the next piece of it inside
/// the window: a run of outline points, or a stretch of the window's edge inside the outline.
/// At most capacity points are written, in the unit of unitCode.
OutlinePart GEOCIW(std::int16_t unitCode, float* points, std::int32_t capacity);

}  // namespace geo
