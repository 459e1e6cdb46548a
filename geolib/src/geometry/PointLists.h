#pragma once

#include <cstdint>

// Lists of the points of a line that need attention: points close to or equal to the point
// before them, and sharp turns. Point numbers count from 1.
namespace geo {

struct IndexList {
    std::int32_t* numbers = nullptr;  // capacity point numbers
    float* distances = nullptr;       // capacity distances in km, or none
    std::int32_t capacity = 0;
    std::int32_t count = 0;
    bool complete = false;            // false when a point found no room
};

/// Planar angle at point 2 between the directions to points 1 and 3, degrees 0..180.
double vertexAngleDeg(double lon1, double lat1, double lon2, double lat2, double lon3, double lat3);

/// Points k + 1 whose flat-earth distance from point k is at most limitKm.
void listClosePoints(double limitKm, const float* points, std::int32_t n, IndexList& list);
/// Points k + 1 equal to point k.
void listRepeatedPoints(const float* points, std::int32_t n, IndexList& list);
/// Inner points where the line turns back to within largestDeg of its way in (whole degrees).
void listSharpTurns(std::int32_t largestDeg, const float* points, std::int32_t n, IndexList& list);

}  // namespace geo
