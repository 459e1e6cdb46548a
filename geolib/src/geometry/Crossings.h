#pragma once

#include <cstdint>

// Crossings of lines in the longitude-latitude plane. Points are longitude, latitude pairs in
// radians; segment k (from 1) runs from point k to point k + 1.
namespace geo {

/// Distance in km from the first point of line A, used to keep the crossings nearest to it.
using DistanceFromStart = double (*)(double lon1, double lat1, double lon2, double lat2);

template <class Real>
struct CrossingOutput {
    Real* points = nullptr;          // capacity points
    std::int32_t* pairs = nullptr;   // capacity pairs (segment of A, segment of B), or none
    std::int32_t capacity = 0;
    std::int32_t count = 0;
    std::int32_t overflow = 0;       // crossings found beyond the capacity
};

struct CrossingRules {
    bool plain = false;              // no 180-degree handling
    std::int32_t mode = 0;           // 1 drops shared end points, 2 stops at the first crossing
    double tolerance = 0;            // rad
    double pi = 0;                   // half a turn of longitude
    DistanceFromStart nearest = nullptr;  // when full: keep the nearest to A's start, else count only
};

/// Crossings of line A with line B.
template <class Real>
void crossTwoLines(const Real* lineA, std::int32_t nA, const Real* lineB, std::int32_t nB, const CrossingRules& rules,
                   CrossingOutput<Real>& out);

/// Crossings of a line with itself, never of neighbouring segments; a closed ring (ring true,
/// first point equal to the last) takes its first and last segments as neighbours. Returns
/// false when the output filled before the scan ended.
bool crossLineWithItself(const float* points, std::int32_t n, bool ring, CrossingOutput<float>& out);

}  // namespace geo
