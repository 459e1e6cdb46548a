#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Clean-up of lines and of coded stretches along a line. Points are longitude, latitude pairs
// in radians, counted from 1.
namespace geo {

/// Removes in place every point equal to the point before it; n becomes the count kept.
/// Lines of fewer than 2 or more than 32768 points are left alone.
void removeRepeatedPoints(float* points, std::int32_t& n);

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
