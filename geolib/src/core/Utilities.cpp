#include "Utilities.h"

#include "Constants.h"
#include "geometry/Sphere.h"

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

std::int32_t wrap360(std::int32_t az)
{
    return az == 360 ? 0 : az;
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

DistanceAzimuths distanceAndAzimuths(float lon1f, float lat1f, float lon2f, float lat2f)
{
    const double lat1 = lat1f, lat2 = lat2f;
    const double dlon = double(lon2f) - double(lon1f);
    const double r = kEarthRadiusKm;

    auto meridian = [&](double dlat, std::int32_t distance) {
        return dlat < 0 ? DistanceAzimuths{distance, 180, 0} : DistanceAzimuths{distance, 0, 180};
    };
    if (atPole(lat2) || std::fabs(dlon) <= kCoincidence || atPole(lat1))
        return meridian(lat2 - lat1, roundHalfAway(std::fabs(lat2 - lat1) * r));
    if (std::fabs(std::fabs(dlon) - kPi) <= kCoincidence) {
        const std::int32_t az = lat1 + lat2 < 0 ? 180 : 0;
        return {roundHalfAway(arcOverPole(lat1, lat2) * r), az, az};
    }
    const Turn turn = turnOf(dlon);
    const double a = turn.angle;
    const bool east = turn.east;

    const double cosC = clampCosine(std::sin(lat1) * std::sin(lat2) + std::cos(lat1) * std::cos(lat2) * std::cos(a));
    const double c = std::acos(cosC);
    if (c < kFlatEarthLimit) {
        const double dl = lat2 - lat1;
        const double x = a * std::cos(lat1);
        const double s = std::max(std::sqrt(x * x + dl * dl), double(kRadPerSecond));
        const std::int32_t distance = roundHalfAway(s * r);
        if (a <= kRadPerSecond)
            return meridian(dl, distance);
        const std::int32_t az = roundHalfAway(std::acos(clampCosine(dl / s)) * kDegreesPerRadian);
        const std::int32_t az1 = east ? az : 360 - az;
        const std::int32_t az2 = az1 + 180 <= 360 ? az1 + 180 : az1 - 180;
        return {distance, wrap360(az1), wrap360(az2)};
    }
    const double sinC = std::sin(c);
    const double a1 = std::acos(clampCosine((std::sin(lat2) - cosC * std::sin(lat1)) /
                                            std::max(sinC * std::cos(lat1), double(kSmallestDivisor))));
    const double a2 = std::acos(clampCosine((std::sin(lat1) - cosC * std::sin(lat2)) /
                                            std::max(sinC * std::cos(lat2), double(kSmallestDivisor))));
    const std::int32_t A1 = roundHalfAway(a1 * kDegreesPerRadian);
    const std::int32_t A2 = roundHalfAway(a2 * kDegreesPerRadian);
    return east ? DistanceAzimuths{roundHalfAway(c * r), wrap360(A1), wrap360(360 - A2)}
                : DistanceAzimuths{roundHalfAway(c * r), wrap360(360 - A1), wrap360(A2)};
}

}  // namespace geo
