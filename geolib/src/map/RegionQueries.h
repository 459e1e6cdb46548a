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

struct CountriesInWindow {
    std::vector<std::string> codes;  // 3 characters each, in index-file order
    bool complete = false;           // the whole index file was scanned
};

/// GEOACW: the countries with a line that keeps points in the window, at most capacity of them.
CountriesInWindow GEOACW(const Window& w, std::int32_t capacity);

struct CountryList {
    std::vector<std::string> codes;  // sorted ascending
    std::int32_t overflow = 0;       // codes that found no room; 999 when capacity is below 1
};

/// GEOCIA: the countries with a line in the polygon of n points, leaving out the codes of
/// `leaveOut`; when none has one, the country at the polygon's first point. At most capacity
/// codes, the last place taken by each code beyond it. No polygon point gives no code.
CountryList GEOCIA(const float* points, std::int32_t n, const std::vector<std::string>& leaveOut,
                   std::int32_t capacity);

struct BeamArgs {
    float earthKm, orbitKm, satLon, boreLon, boreLat, majorDeg, minorDeg, orientationDeg;
};

/// GEOCIEL: GEOCIA over the footprint of the beam (300 points); none when there is no footprint.
CountryList GEOCIEL(const BeamArgs& beam, std::int32_t capacity);
/// GEOEEL: GEOCIA over the contour where the satellite at satLon (radians) is seen at the
/// elevation (degrees) or higher.
CountryList GEOEEL(float satLon, float elevationDeg, std::int32_t capacity);

/// GEOCWI: the window around the lines of the countries and of at most one region among the
/// codes; the whole world for no code. Two region codes are a fatal error.
Window GEOCWI(const std::vector<std::string>& codes);

}  // namespace geo
