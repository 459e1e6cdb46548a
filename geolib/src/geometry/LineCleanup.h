#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Clean-up of lines and of coded stretches along a line. Points are longitude, latitude pairs
// in radians, counted from 1.
namespace geo {

/// Removes in place every point equal to the point before it; n becomes the count kept.
/// Lines of fewer than 2 or more than kMostLinePoints points are left alone.
void removeRepeatedPoints(float* points, std::int32_t& n);

/// Removes, at the shortest segment, one point after another while a segment is shorter than
/// limitKm; a limit of 0 or less removes one point. Lines of fewer than 3 points stay.
void removeShortSegments(double limitKm, float* points, std::int32_t& n);

/// Thins points 1..n into `out` (room for n points): point 1, then each point farther than
/// the tolerance from the last one kept, and the last point; the tolerance is lowered 0.2 km
/// at a time until leastCount points or all are kept. Returns the count, 0 when n < 1.
std::int32_t thinLine(float toleranceKm, std::int32_t leastCount, const float* points, std::int32_t n, float* out);

/// A stretch of a line ends at `end` (the previous stretch's end, or 0, is its start) and
/// carries a value, or a three-character code, and a pair of values that travel with it.
template <class Key>
struct Stretch {
    std::int32_t end = 0;
    Key key{};
    std::array<std::int32_t, 2> pair{};
};

using Code = std::array<char, 3>;

/// Merges neighbours with equal keys (keeping the later one's end and pair) and gives each
/// stretch shorter than leastLength its next neighbour's key (the previous one's for the last),
/// shortest first, until every stretch is long enough or one remains.
template <class Key>
void tidyStretches(std::vector<Stretch<Key>>& stretches, std::int32_t leastLength);

}  // namespace geo
