#include "PointLists.h"

#include "core/Constants.h"
#include "core/Utilities.h"
#include "geometry/GreatCircle.h"
#include "geometry/Polylines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace geo {
namespace {

// Appends when there is room; false ends the scan.
bool append(IndexList& list, std::int32_t number, double distanceKm = 0)
{
    if (list.count >= list.capacity)
        return false;
    list.numbers[list.count] = number;
    if (list.distances)
        list.distances[list.count] = float(distanceKm);
    ++list.count;
    return true;
}

// Scans k = first .. last (from 1); `found(k, distance)` says whether k is listed.
template <class Test>
void scan(std::int32_t first, std::int32_t last, IndexList& list, Test found)
{
    list.count = 0;
    list.complete = false;
    for (std::int32_t k = first; k <= last; ++k) {
        double distanceKm = 0;
        if (found(k, distanceKm) && !append(list, k, distanceKm))
            return;
    }
    list.complete = true;
}

}  // namespace

double vertexAngleDeg(double lon1, double lat1, double lon2, double lat2, double lon3, double lat3)
{
    const double x1 = wrapLongitude(lon1 - lon2), y1 = lat1 - lat2;
    const double x3 = wrapLongitude(lon3 - lon2), y3 = lat3 - lat2;
    if (x1 == x3 && y1 == y3)
        return 0;
    const double len = std::sqrt(x1 * x1 + y1 * y1) * std::sqrt(x3 * x3 + y3 * y3);
    if (len == 0)
        return 180;
    return std::acos(std::clamp((x1 * x3 + y1 * y3) / len, -1.0, 1.0)) * double(kDegreesPerRadian);
}

void listClosePoints(double limitKm, const float* p, std::int32_t n, IndexList& list)
{
    scan(2, n, list, [&](std::int32_t k, double& d) {
        d = flatDistanceKm(pointOf(p, k - 2), pointOf(p, k - 1));
        return d <= limitKm;
    });
}

void listRepeatedPoints(const float* p, std::int32_t n, IndexList& list)
{
    scan(2, n, list, [&](std::int32_t k, double&) { return samePoint(pointOf(p, k - 2), pointOf(p, k - 1)); });
}

void listSharpTurns(std::int32_t largestDeg, const float* p, std::int32_t n, IndexList& list)
{
    scan(2, n - 1, list, [&](std::int32_t k, double&) {
        const float* at = p + 2 * (k - 1);  // point k
        const DistanceAzimuths in = distanceAndAzimuths(at[-2], at[-1], at[0], at[1]);
        const DistanceAzimuths out = distanceAndAzimuths(at[0], at[1], at[2], at[3]);
        if (in.distanceKm <= 1 || out.distanceKm <= 1)
            return false;
        std::int32_t turn = std::abs(out.azimuth1Deg - in.azimuth2Deg);
        if (turn >= 181)
            turn = 360 - turn;
        return turn <= largestDeg;
    });
}

}  // namespace geo
