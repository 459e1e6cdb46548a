#pragma once

#include "geometry/Sphere.h"

#include <cstdint>

// Polylines: segment statistics, densification so that no segment exceeds a step, sums of
// coded stretches and coinciding vertices. Modes of making points between two points:
// 0 even steps of longitude and latitude, 2 even steps on the Mercator projection, any other
// the great circle.
namespace geo {

struct SegmentStats {
    float shortestKm = kFarKm;
    float meanKm = 0.0f;
    float longestKm = -kFarKm;
    std::int32_t segment = 0;  // from 1; 0 when no segment is longer than the step
};

/// Statistics of the segments of points 1..n scanned in order. Mode 0 stops at the first
/// segment longer than stepKm; any other mode finds the longest such (the first of equals).
SegmentStats segmentStats(std::int32_t mode, float stepKm, const float* points, std::int32_t n);

/// Splits the longest segment, pass after pass, until none exceeds stepKm or n reaches
/// capacity. Input points stay in place and in order; at most 48 points go into a segment
/// per pass. A step of 0 or less (or not a number) leaves the line unchanged.
void densify(std::int32_t mode, float stepKm, std::int32_t capacity, float* points, std::int32_t& n);

struct Densified {
    std::int32_t count;
    std::int32_t status;  // 0 done with the step, 1 done with a larger step, 2 nothing done
};

/// Densifies points 1..n into `out`, which holds capacity points. When the step does not fit,
/// the line is made again with the total length / (capacity - 1); when even that fills the
/// output before the last input point, the output ends with the last input point.
Densified densifyInto(std::int32_t n, const float* points, std::int32_t mode, float stepKm, std::int32_t capacity,
                      float* out);

/// Sum of the stretches values(i) - values(i - 1) whose three-character code is not blank
/// (value 1 itself for the first), and the last value minus that sum; both 0 when n < 1.
void codedSums(std::int32_t n, const std::int32_t* values, const char* codes, std::int32_t& codedSum,
               std::int32_t& rest);

/// True when both coordinates are exactly equal.
bool samePoint(Point a, Point b);

/// Index pairs (i, j), i < j, of equal points, leaving out a ring's closing point; stops
/// incomplete when more than maxPairs are found.
void coincidingVertices(const float* points, std::int16_t n, std::int32_t maxPairs, std::int32_t* pairs,
                        std::int32_t& pairCount, bool& complete);

}  // namespace geo
