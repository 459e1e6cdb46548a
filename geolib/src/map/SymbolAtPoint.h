#pragma once

#include "geometry/Sphere.h"
#include "map/MapRecords.h"

#include <string>

namespace geo {

/// True when outline k (from 0) of the current map's outline record holds the point.
bool outlineHoldsPoint(const OutlineRecord& o, std::size_t k, Point p);

/// GEOPLC2: the symbol of the current map's outline that holds the point, or of the enclave it
/// names when that holds it too; blanks where none does, north of 84 degrees or at a coordinate
/// that is not finite, "ATA" south of -78.5 degrees. A hit moves its outline to the front of the
/// search order.
std::string GEOPLC2(Point p);
/// GEOPLC: a circle map around the point, then GEOPLC2.
std::string GEOPLC(Point p);

}  // namespace geo
