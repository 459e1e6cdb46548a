#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>

// Array and text services shared by the library's routines and its callers. Points are
// longitude, latitude pairs of 4-byte reals; arrays count from 1 as the callers do.
namespace geo {

/// True when the list holds the value.
template <class List, class Value>
bool contains(const List& list, const Value& value)
{
    return std::find(std::begin(list), std::end(list), value) != std::end(list);
}

void copyPointsForward(const float* source, float* target, std::int32_t count);
void copyPointsBackward(const float* source, float* target, std::int32_t count);
void reversePoints(float* points, std::int32_t count);
/// Moves points first..last by `shift` places, overlapping ranges allowed; last += shift.
void movePoints(std::int16_t shift, std::int16_t first, float* points, std::int16_t& last);

/// Upper or lower case by the library's alphabet (code page 437 letters Ü Å Ä Ö too).
void upperCase437(char* text, long length);
void lowerCase437(char* text, long length);

/// The nearest whole number, halves away from zero.
std::int32_t roundHalfAway(double value);

}  // namespace geo
