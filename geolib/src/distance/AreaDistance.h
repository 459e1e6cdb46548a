#pragma once

#include "distance/NearestPoints.h"
#include "geometry/Sphere.h"

#include <cstdint>
#include <string>
#include <string_view>

// Distances from a point to the areas of the all-areas map and of the local map: to the part of
// an area that lies on its own country's ground or at sea, never on another country's ground.
namespace geo {

struct AreaDistance {
    Point nearest{};
    float distanceKm = 0;
    float azimuthDeg = 0;  // from the point to the nearest point, 0 to below 360
};

/// GEODAOL: the distance to area `index` (from 1) of the all-areas map of country `country`
/// (3 characters), on the current map; 999999 beyond maxDistKm or when the index names no area
/// of the list held.
AreaDistance GEODAOL(Point p, std::string_view country, std::int32_t index, float maxDistKm);
/// LCLDAOL: the same over the local map.
AreaDistance LCLDAOL(Point p, std::string_view country, std::int32_t index, float maxDistKm);

/// GEODAA1: the distance to the area of a 6-character symbol, the all-areas map widened in
/// steps of 100 km up to maxDistKm; 0 inside, 999999 (azimuth 0) when unknown or farther.
/// The nearest point goes to slot 1 of the nearest points.
AreaDistance GEODAA1(Point p, std::string_view symbol, float maxDistKm);
/// GEODAA3: the same on the all-areas map as currently built.
AreaDistance GEODAA3(Point p, std::string_view symbol, float maxDistKm);
/// LCLDLA1, LCLDLA3: the twins over the local map, 12-character symbols.
AreaDistance LCLDLA1(Point p, std::string_view symbol, float maxDistKm);
AreaDistance LCLDLA3(Point p, std::string_view symbol, float maxDistKm);

struct AreaDistanceList {
    std::string own;  // the area symbol at the point
    DistanceList list;
};

/// GEODAM3: the areas of the all-areas map as currently built within radiusKm (at most 26000)
/// of the point, nearest first, without the area at the point and the `exclCount` 6-character
/// symbols at `excluded`; at most `capacity` entries, the nearest kept. Entry i's nearest point
/// is slot i. More than 373 entries is a fatal error.
AreaDistanceList GEODAM3(Point p, float radiusKm, std::int16_t exclCount, const char* excluded, std::int32_t capacity);
/// LCLDAM3: the same over the local map, 12-character symbols.
AreaDistanceList LCLDAM3(Point p, float radiusKm, std::int16_t exclCount, const char* excluded, std::int32_t capacity);

/// ALLMAP / LCLMAP with a circle of `radiusKm` km around the point.
void buildAreaMap(bool local, Point p, std::int32_t radiusKm);

}  // namespace geo
