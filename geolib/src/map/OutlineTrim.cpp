#include "OutlineTrim.h"

#include "geometry/Polylines.h"

#include <cmath>

namespace geo {
namespace {

enum class Side { Inside, North, South, West, East };

// The side of the window a point lies beyond, longitudes taken the short way from the
// window's centre, so that windows across 180 degrees need no case of their own.
Side sideOf(Point p, const Window& w)
{
    if (p.lat >= w.north)
        return Side::North;
    if (p.lat <= w.south)
        return Side::South;
    const double centre = windowCentre(w).lon;
    double half = (double(w.east) - w.west) / 2;
    if (half < 0)
        half += kPi;
    const double d = wrapLongitude(double(p.lon) - centre);
    if (d <= -half)
        return Side::West;
    return d >= half ? Side::East : Side::Inside;
}

Point at(const float* points, std::int32_t k)
{
    return pointOf(points, k - 1);
}

}  // namespace

void GEOTRIM(const Window& w, float* points, std::int32_t& first, std::int32_t& last)
{
    if (last <= first || !samePoint(at(points, first), at(points, last)))
        return;
    // Spikes: both ends retrace the same points.
    while (last - first >= 3 && samePoint(at(points, first + 1), at(points, last - 1))) {
        --last;
        ++first;
    }
    // The closing point goes when it and its two neighbours lie beyond the same side: the
    // triangle they span then lies beyond that side too.
    while (last - first >= 4) {
        const Side s = sideOf(at(points, first), w);
        if (s == Side::Inside || sideOf(at(points, first + 1), w) != s || sideOf(at(points, last - 1), w) != s)
            break;
        setPoint(points, first - 1, at(points, last - 1));
        --last;
    }
}

}  // namespace geo
