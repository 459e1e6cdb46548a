#pragma once

#include "MapFixtures.h"
#include "core/Constants.h"
#include "zones/ZoneTables.h"

#include <vector>

// Point files holding every line the fixed zone tables name: probe lines where a test looks,
// stand-ins of one point near the south pole elsewhere, and a rain version line of the right
// version unless a probe replaces it.
namespace zone_fixtures {

inline mapfiles::Point standIn()
{
    return map_fixtures::deg(0.5, -89.5);
}

inline std::vector<mapfiles::Line> zoneTableLines(std::vector<mapfiles::Line> probes = {})
{
    probes.push_back(mapfiles::rainVersionLine(geo::kRainVersionLine, 1));
    return mapfiles::tableLines(geo::fixedTableLineIds(), probes, standIn());
}

}  // namespace zone_fixtures
