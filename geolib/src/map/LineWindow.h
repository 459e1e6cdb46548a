#pragma once

#include "geometry/Windows.h"

#include <cstdint>
#include <string>
#include <vector>

// The line window request: the lines of the index file (or of a fixed list) that lie in a
// window, handed out one per call.
namespace geo {

/// GEODWD: the request of GEOLIW: the window (all longitudes when east and west lie within a
/// second of arc), the thinning distance (km, its absolute value) and the country codes
/// (blank codes become "---", repeats are dropped, "R13" first puts the fixed list in force).
/// An 86th code is a fatal error.
void GEODWD(const Window& w, float distKm, const std::vector<std::string>& codes);

struct RequestLine {
    std::int32_t lineId = 0;
    std::int32_t count = 0;  // points written
    char kind = ' ';         // the index entry's kind; blank for the fixed list
    bool end = false;        // the request is exhausted; the next call starts again
};

/// GEOLIW: the next line of the request, cut to its window, in `points` (capacity points) in
/// the unit of unitCode. A line that comes twice in the index (a border) is handed out once.
RequestLine GEOLIW(std::int16_t unitCode, float* points, std::int32_t capacity);

}  // namespace geo
