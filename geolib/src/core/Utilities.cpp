#include "Utilities.h"

#include "Constants.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <cstring>

namespace geo {
namespace {

// The case alphabet in code page 437: A-U, Ü, V-Z, Å, Ä, Ö and their lower-case letters.
constexpr unsigned char kUpper[] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O',
                                    'P', 'Q', 'R', 'S', 'T', 'U', 154, 'V', 'W', 'X', 'Y', 'Z', 143, 142, 153};
constexpr unsigned char kLower[] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm', 'n', 'o',
                                    'p', 'q', 'r', 's', 't', 'u', 129, 'v', 'w', 'x', 'y', 'z', 134, 132, 148};

void convert(char* text, long length, bool toUpper)
{
    const unsigned char* from = toUpper ? kLower : kUpper;
    const unsigned char* to = toUpper ? kUpper : kLower;
    for (long i = 0; text && i < length; ++i) {
        const auto* end = from + sizeof kUpper;
        const auto* at = std::find(from, end, static_cast<unsigned char>(text[i]));
        if (at != end)
            text[i] = static_cast<char>(to[at - from]);
    }
}

}  // namespace

std::int32_t roundHalfAway(double value)
{
    if (std::isnan(value))
        return 0;
    const double r = std::round(value);
    return std::int32_t(std::clamp(r, double(INT32_MIN), double(INT32_MAX)));  // never past the range
}

void copyPointsForward(const float* source, float* target, std::int32_t count)
{
    if (count > 0)
        std::memmove(target, source, std::size_t(count) * 2 * sizeof(float));
}

void copyPointsBackward(const float* source, float* target, std::int32_t count)
{
    for (std::int32_t i = 0; i < count; ++i) {
        target[2 * i] = source[2 * (count - 1 - i)];
        target[2 * i + 1] = source[2 * (count - 1 - i) + 1];
    }
}

void reversePoints(float* points, std::int32_t count)
{
    for (std::int32_t i = 0; i < count / 2; ++i) {
        std::swap(points[2 * i], points[2 * (count - 1 - i)]);
        std::swap(points[2 * i + 1], points[2 * (count - 1 - i) + 1]);
    }
}

void movePoints(std::int16_t shift, std::int16_t first, float* points, std::int16_t& last)
{
    if (shift == 0)
        return;
    // The array starts at point 1: points that would come from or land before it are left out.
    const int from = std::max({int(first), 1, 1 - shift});
    const int moved = last - from + 1;
    if (moved > 0)
        std::memmove(points + 2 * (from - 1 + shift), points + 2 * (from - 1), std::size_t(moved) * 2 * sizeof(float));
    last = std::int16_t(last + shift);
}

void upperCase437(char* text, long length)
{
    convert(text, length, true);
}

void lowerCase437(char* text, long length)
{
    convert(text, length, false);
}


}  // namespace geo
