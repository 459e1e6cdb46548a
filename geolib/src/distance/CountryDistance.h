#pragma once

#include "distance/LineDistance.h"
#include "distance/NearestPoints.h"
#include "geometry/Sphere.h"

#include <cstdint>
#include <string>
#include <string_view>

// Distances from a point to countries and coasts: on the current map, which these routines
// build around the point, or from the lines of the index file. Distances are km (999999 when
// nothing lies within the maximum), azimuths degrees; the nearest point of a single answer goes
// to slot 1 of the nearest points, those of a list to the slots of its entries.
namespace geo {

struct Bearing {
    float distanceKm = kNotFoundKm;
    float azimuthDeg = 0;
};

/// Country codes to leave out: `count` codes of 3 characters.
struct Exclusions {
    const char* codes = nullptr;
    std::int16_t count = 0;
    bool holds(std::string_view code) const;
};

/// GEODC1: to the outline of one country on the map built around the point; 0 in it.
Bearing GEODC1(Point p, std::string_view country, float maxDistKm);
/// GEODC9: the same from the index file's lines; 26000 when nothing lies within the maximum,
/// which is cut to 0..25000.
Bearing GEODC9(Point p, std::string_view country, float maxDistKm);
/// GEODCM1: the countries of the map within the radius, nearest first; the one at the point at 0.
DistanceList GEODCM1(Point p, float radiusKm, const Exclusions& excluded, std::int32_t capacity);
/// GEODCM9: the same from the index file's lines.
DistanceList GEODCM9(Point p, float radiusKm, const Exclusions& excluded, std::int32_t capacity);

struct OtherCountry {
    Point nearest{};
    bool nearestFound = false;  // false: the nearest point is not known
    float distanceKm = 0;
    float azimuthDeg = 0;
    std::string country = "   ";  // blanks when none lies within the maximum
};

/// GEODCC1: the nearest country other than the one at the point and the excluded ones, within
/// maxDistKm; none found gives maxDistKm, blanks and azimuth 0.
OtherCountry GEODCC1(Point p, float maxDistKm, const Exclusions& excluded);

struct Coast {
    std::string country;  // at the point
    Bearing bearing;
};

/// GEODW1: to the nearest coast or island line.
Coast GEODW1(Point p, float maxDistKm);

struct RayCoast {
    std::string country;  // at the point, when asked
    float distanceKm = kNotFoundKm;
};

/// GEODWA3: along the azimuth to the first coast on the current map as built; the piece hit is
/// tried first next time.
RayCoast GEODWA3(Point p, float azimuthDeg, float maxDistKm, bool wantCountry);
/// GEODWA1: a map around the ray, then GEODWA3.
RayCoast GEODWA1(Point p, float azimuthDeg, float maxDistKm, bool wantCountry);

}  // namespace geo
