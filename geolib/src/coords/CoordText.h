#pragma once

#include "core/Constants.h"

#include <cstdint>
#include <string>
#include <string_view>

// Coordinate texts of 15 characters and angle units. Angles are radians, east and north
// positive.
//   longitude first: DDDhMMSSDDhMMSS (longitude degrees, E/W, minutes, seconds, latitude ...)
//   latitude first:  DDMMSShDDDMMSSh
namespace geo {

enum class Layout { LongitudeFirst, LatitudeFirst };

struct LonLat {
    float lon;
    float lat;
};

/// Reads a text of the layout; a numeric field that is not a number is a fatal error
/// reported under `routine`.
LonLat readCoordText(std::string_view text, Layout layout, std::string_view routine);
/// The text of the layout for the angles, to the nearest second.
std::string writeCoordText(float lon, float lat, Layout layout);
/// True when the text is a valid coordinate of the layout; it is then upper-cased and its
/// blanks become zeros. An invalid text is left as it was.
bool checkCoordText(std::string& text, Layout layout);
/// Reads a coordinate in a free form; false (and 0, 0) when it cannot.
bool readFreeCoord(std::string_view text, LonLat& out);

/// Converts `count` points in place: 2 radians to degrees, -2 back, 3 radians to whole
/// seconds of arc, -3 back; other codes leave them.
void convertUnits(std::int16_t unit, float* points, std::int16_t count);
/// Packs reals below 0.1 into three characters each (mode 1) or unpacks them (mode 2).
void packReals(std::int32_t mode, std::int32_t count, float* values, char* packed);
/// Each real rounded to the nearest whole number, halves away from zero.
void roundReals(const float* values, std::int32_t* rounded, std::int16_t count);

}  // namespace geo
