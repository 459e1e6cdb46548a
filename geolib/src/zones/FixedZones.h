#pragma once

#include "geometry/Sphere.h"

#include <array>
#include <cstdint>
#include <string_view>

// The zone look-ups over the fixed tables. Points are longitude, latitude in radians.
namespace geo {

/// The region, 1, 2 or 3, from the region table; 1 within 1.5707941 rad of a pole.
std::int32_t GEORGN(Point p);
/// GEORGN fetching the region polygons on every call, each cut to a window around the point.
std::int32_t GEORGNS(Point p);
/// The appendix 28 zone, "0" to "5".
char AP28RZ(Point p);
/// AP28RZ fetching its 20 lines on every call, without the window south of 70 degrees south.
char AP28RZS(Point p);
/// The appendix 30A zone, "A" to "P".
char AP30ARZ(Point p);
/// AP30ARZ in region 2, else AP28RZ.
char AP30RZ(Point p);
/// The GE75 zone, 1 to 3, 0 outside every zone.
std::int32_t GE75NZ(Point p);
/// 2 or 3 from the RJ81 table, else 1 in region 2, else 0.
std::int32_t RJ81NZ(Point p);
/// 1 or 2 for a symbol of the two lists, else as RJ81NZ over the RJ88 table.
std::int32_t RJ88NZ(Point p, std::string_view symbol);
/// 1 inside a zone of the special table (where land or sea counts as land), else 0.
std::int32_t GEOSPZN(Point p);
/// 1 inside either of two fixed windows, else 0.
std::int32_t GEOEMA(Point p);

struct RainZone {
    char zone;                  // the letter found, or the caller's named zone upper-cased
    std::array<float, 7> rates; // mm/h exceeded for 1, 0.3, 0.1, 0.03, 0.01, 0.003, 0.001 % of the time
};
/// The rain zone at the point and its rates; with a latitude of 900 or more the rates of
/// `named`. A letter that names no zone gives zero rates.
RainZone GEOR837(Point p, char named);

}  // namespace geo
