#pragma once

#include "geometry/Sphere.h"
#include "geometry/Windows.h"
#include "map/ZoneLists.h"

#include <array>
#include <cstdint>
#include <string>

// Propagation zones: zone kinds 5 and up of the zone lists, the 2-character code at a point and
// the split of a great-circle path into lengths per code.
namespace geo {

inline constexpr float kNoZoneValue = -999.99f;
inline constexpr int kPathLabels = 10;

/// A zone value's class: the value times 10, rounded to a 4-byte real, truncated toward zero.
std::int32_t zoneClass(float value);

/// The code of a class under the zone kind (5 to 8); two blanks when the kind has none for it.
std::string classCode(std::int16_t kind, std::int32_t cls);

/// GEOPRM: the current map for the request (1 circle, 2 window; as GEOMAP), then the zone list
/// of the selected kind, kind 5 when none is selected.
void GEOPRM(std::int32_t kind, const float* place, std::int32_t dist);

/// GEOPRP2: the propagation code at the point from the zone list as built; blanks for none.
std::string GEOPRP2(Point p);
/// GEOPRP: GEOPRM with a circle of radius 0 at the point, then GEOPRP2.
std::string GEOPRP(Point p);

struct PathSplit {
    float distKm = 0;
    std::int32_t labelCount = 0;
    std::array<std::string, kPathLabels> labels;  // set for the first labelCount slots
    std::array<float, kPathLabels> lengthsKm{};
    std::array<float, kPathLabels> fractions{};
    std::int32_t flag = 0;  // 1 no code at point 1, 2 none at point 2
};

/// GEOPRCP: the great-circle path from p1 to p2 split into the lengths (km) and fractions that
/// run through each code of the selected kind. Leaves the zone list built around the last
/// sub-path.
PathSplit GEOPRCP(Point p1, Point p2);

}  // namespace geo
