#include "Polylines.h"

#include "core/Utilities.h"
#include "geometry/GreatCircle.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace geo {
namespace {

constexpr std::int32_t kMostPoints = std::numeric_limits<std::int16_t>::max();  // counts are 2-byte

void makeLine(std::int32_t mode, Point p1, Point p2, std::int32_t n, float* points)
{
    if (mode == 0)
        evenLine(p1, p2, n, points);
    else if (mode == 2)
        mercatorLine(p1, p2, n, points);
    else
        greatCircleLine(p1, p2, n, points);
}

bool nearPole(float lat)
{
    return kHalfPi - std::fabs(double(lat)) < kNearPoleLimit;
}

// One pass of densifyInto. With `strict` the pass gives up (false) as soon as the step does
// not fit; otherwise a full output ends with the last input point.
bool densifyPass(std::int32_t n, const float* points, std::int32_t mode, float stepKm, std::int32_t capacity,
                 float* out, bool strict, std::int32_t& count)
{
    setPoint(out, 0, pointOf(points, 0));
    std::int32_t k = 1;
    for (std::int32_t j = 1; j < n; ++j) {
        if (k == capacity) {
            setPoint(out, k - 1, pointOf(points, n - 1));
            break;
        }
        const Point from = pointOf(points, j - 1), to = pointOf(points, j);
        // An end at a pole takes the other end's meridian while the segment is made.
        const bool poleFrom = nearPole(from.lat), poleTo = nearPole(to.lat);
        const bool onePole = poleFrom != poleTo;
        float* piece = out + 2 * (k - 1);
        setPoint(piece, 0, {onePole && poleFrom ? to.lon : from.lon, from.lat});
        setPoint(piece, 1, {onePole && poleTo ? from.lon : to.lon, to.lat});
        std::int32_t m = 2;
        const std::int32_t room = capacity - k + 1;
        densify(mode, stepKm, room, piece, m);
        if (onePole && poleFrom)
            piece[0] = from.lon;
        else if (onePole)
            piece[2 * (m - 1)] = to.lon;
        if (strict && m >= room && (j < n - 1 || segmentStats(0, stepKm, piece, m).segment != 0))
            return false;
        k += m - 1;
    }
    count = k;
    return true;
}

}  // namespace

SegmentStats segmentStats(std::int32_t mode, float stepKm, const float* points, std::int32_t n)
{
    SegmentStats s;
    if (n < 2)
        return s;
    float limit = stepKm;
    double sum = 0;
    std::int32_t scanned = 0;
    for (std::int32_t k = 1; k < n; ++k) {
        const float d = distanceKm(pointOf(points, k - 1), pointOf(points, k));
        s.shortestKm = std::min(s.shortestKm, d);
        s.longestKm = std::max(s.longestKm, d);
        sum += d;
        ++scanned;
        if (d > limit) {
            s.segment = k;
            if (mode == 0)
                break;
            limit = d;
        }
    }
    s.meanKm = float(sum / scanned);
    return s;
}

void densify(std::int32_t mode, float stepKm, std::int32_t capacity, float* points, std::int32_t& n)
{
    if (!(stepKm > 0))
        return;
    capacity = std::min(capacity, kMostPoints);
    float buffer[2 * kDensifyBuffer];
    std::int32_t start = 1;  // segments before it are no longer than the step
    while (n < capacity) {
        const SegmentStats first = segmentStats(0, stepKm, points + 2 * (start - 1), n - start + 1);
        if (first.segment == 0)
            return;
        start += first.segment - 1;
        const SegmentStats longest = segmentStats(1, stepKm, points + 2 * (start - 1), n - start + 1);
        const std::int32_t i = start + longest.segment - 1;
        const double pieces = std::trunc(double(longest.longestKm) / stepKm + 1) + 1;
        const auto count = std::int32_t(std::min({double(kDensifyBuffer), double(capacity - n + 2), pieces}));
        makeLine(mode, pointOf(points, i - 1), pointOf(points, i), count, buffer);
        std::int16_t last = std::int16_t(n);
        movePoints(std::int16_t(count - 2), std::int16_t(i + 1), points, last);
        n = last;
        copyPointsForward(buffer, points + 2 * (i - 1), count);
    }
}

Densified densifyInto(std::int32_t n, const float* points, std::int32_t mode, float stepKm, std::int32_t capacity,
                      float* out)
{
    if (n < 2 || n > capacity)
        return {0, 2};
    std::int32_t count = 0;
    if (densifyPass(n, points, mode, stepKm, capacity, out, true, count))
        return {count, 0};
    double total = 0;
    for (std::int32_t j = 1; j < n; ++j)
        total += distanceKm(pointOf(points, j - 1), pointOf(points, j));
    (void)densifyPass(n, points, mode, float(total / (capacity - 1)), capacity, out, false, count);
    return {count, 1};
}

void codedSums(std::int32_t n, const std::int32_t* values, const char* codes, std::int32_t& codedSum,
               std::int32_t& rest)
{
    codedSum = 0;
    rest = 0;
    if (n < 1)
        return;
    auto coded = [&](std::int32_t i) { return std::memcmp(codes + 3 * i, "   ", 3) != 0; };
    std::int64_t sum = coded(0) ? values[0] : 0;
    for (std::int32_t i = 1; i < n; ++i)
        if (coded(i))
            sum += std::int64_t(values[i]) - values[i - 1];
    codedSum = std::int32_t(sum);
    rest = std::int32_t(values[n - 1] - sum);
}

bool samePoint(Point a, Point b)
{
    return a.lon == b.lon && a.lat == b.lat;
}

void coincidingVertices(const float* points, std::int16_t n, std::int32_t maxPairs, std::int32_t* pairs,
                        std::int32_t& pairCount, bool& complete)
{
    pairCount = 0;
    complete = false;
    const std::int32_t m = n >= 1 && samePoint(pointOf(points, 0), pointOf(points, n - 1)) ? n - 1 : n;
    for (std::int32_t i = 0; i < m - 1; ++i)
        for (std::int32_t j = i + 1; j < m; ++j) {
            if (!samePoint(pointOf(points, i), pointOf(points, j)))
                continue;
            if (pairCount >= maxPairs)
                return;
            pairs[2 * pairCount] = i + 1;
            pairs[2 * pairCount + 1] = j + 1;
            ++pairCount;
        }
    complete = true;
}

}  // namespace geo
