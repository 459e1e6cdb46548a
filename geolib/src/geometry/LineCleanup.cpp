#include "LineCleanup.h"

#include "core/Constants.h"
#include "geometry/GreatCircle.h"
#include "geometry/Polylines.h"

#include <algorithm>
#include <cmath>

namespace geo {

void removeRepeatedPoints(float* p, std::int32_t& n)
{
    if (n < 2 || n > kMostLinePoints)
        return;
    std::int32_t kept = 1;
    for (std::int32_t k = 1; k < n; ++k) {
        if (!samePoint(pointOf(p, k), pointOf(p, kept - 1)))
            setPoint(p, kept++, pointOf(p, k));
    }
    n = kept;
}

void removeShortSegments(double limitKm, float* p, std::int32_t& n)
{
    const bool once = !(limitKm > 0);
    const double limit = once ? double(kFarKm) : limitKm;
    auto length = [&](std::int32_t k) { return double(distanceKm(pointOf(p, k - 1), pointOf(p, k))); };  // segment k
    while (n >= 3) {
        std::int32_t k = 1;
        double shortest = length(1);
        for (std::int32_t s = 2; s < n; ++s) {
            const double d = length(s);
            if (d <= shortest)  // the last of equal shortest
                k = s, shortest = d;
        }
        if (shortest >= limit)
            return;
        std::int32_t removed = k + 1;  // point number from 1
        if (k == 1) {
            removed = 2;
        } else if (k == n - 1) {
            removed = n - 1;
        } else {
            const double before = length(k - 1), after = length(k + 1);
            if (after <= 20 * before && before <= 20 * after) {
                float middle[6];  // point k moves to the middle of the segment
                evenLine(pointOf(p, k - 1), pointOf(p, k), 3, middle);
                setPoint(p, k - 1, pointOf(middle, 1));
            } else if (!(after <= 20 * before)) {
                removed = k;
            }
        }
        std::copy(p + 2 * removed, p + 2 * n, p + 2 * (removed - 1));
        --n;
        if (once)
            return;
    }
}

std::int32_t thinLine(float toleranceKm, std::int32_t leastCount, const float* p, std::int32_t n, float* out)
{
    if (n < 1)
        return 0;
    // A tolerance beyond any distance keeps point 1 alone, as the longest does.
    float tolerance = std::isnan(toleranceKm) ? 0.0f : std::min(toleranceKm, kFarKm);
    for (;;) {
        setPoint(out, 0, pointOf(p, 0));
        std::int32_t kept = 1;
        for (std::int32_t k = 1; k < n; ++k)
            if (flatDistanceKm(pointOf(out, kept - 1), pointOf(p, k)) > tolerance)
                setPoint(out, kept++, pointOf(p, k));
        if (kept == n)
            return n;
        const Point last = pointOf(p, n - 1);
        if (flatDistanceKm(pointOf(out, kept - 1), last) < tolerance * 0.5f)
            setPoint(out, kept - 1, last);
        else
            setPoint(out, kept++, last);
        // Below 0 every distance passes, so a lower tolerance keeps no more: a point that
        // still fails has no distance (NaN).
        if (kept >= leastCount || tolerance < 0)
            return kept;
        tolerance -= kToleranceStepKm;
    }
}

template <class Key>
void tidyStretches(std::vector<Stretch<Key>>& s, std::int32_t leastLength)
{
    for (;;) {
        // A stretch merges into the next one when their keys are equal.
        std::vector<Stretch<Key>> merged;
        for (std::size_t k = 0; k < s.size(); ++k)
            if (k + 1 == s.size() || !(s[k].key == s[k + 1].key))
                merged.push_back(s[k]);
        s.swap(merged);
        if (s.size() < 2)
            return;
        std::size_t shortest = 0;
        std::int64_t shortestLength = 0;
        for (std::size_t k = 0; k < s.size(); ++k) {
            const std::int64_t length = std::int64_t(s[k].end) - (k ? s[k - 1].end : 0);
            if (k == 0 || length < shortestLength)
                shortest = k, shortestLength = length;
        }
        if (shortestLength >= leastLength)
            return;
        s[shortest].key = s[shortest + 1 < s.size() ? shortest + 1 : shortest - 1].key;
    }
}

template void tidyStretches<std::int32_t>(std::vector<Stretch<std::int32_t>>&, std::int32_t);
template void tidyStretches<Code>(std::vector<Stretch<Code>>&, std::int32_t);

}  // namespace geo
