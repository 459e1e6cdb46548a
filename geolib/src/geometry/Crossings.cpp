#include "Crossings.h"

#include "core/Constants.h"
#include "geometry/Polylines.h"

#include <algorithm>
#include <cmath>

namespace geo {
namespace {

// A segment with its ends ordered by latitude (low b at longitude g, high c at longitude h),
// unwrapped across 180 degrees, as a line lat = slope * lon + intercept.
struct Segment {
    double b = 0, g = 0, c = 0, h = 0;
    bool crosses180 = false;
    double west = 0, east = 0, slope = 0, intercept = 0;

    void shift(double by)
    {
        g += by;
        h += by;
        finish();
    }

    void finish()
    {
        west = std::min(g, h);
        east = std::max(g, h);
        if (g == h)
            slope = c > b ? double(kVerticalSlope) : -double(kVerticalSlope);
        else
            slope = (c - b) / (h - g);
        intercept = b - g * slope;
    }
};

template <class Real>
Segment segmentOf(const Real* p, bool plain, double pi)
{
    Segment s;
    const double lon1 = p[0], lat1 = p[1], lon2 = p[2], lat2 = p[3];
    if (lat1 <= lat2) {
        s.b = lat1, s.g = lon1, s.c = lat2, s.h = lon2;
    } else {
        s.b = lat2, s.g = lon2, s.c = lat1, s.h = lon1;
    }
    if (!plain && std::fabs(s.h - s.g) > pi) {
        s.crosses180 = true;
        (s.g > 0 ? s.g : s.h) -= 2 * pi;
    }
    s.finish();
    return s;
}

// Latitudes of segment p that cannot meet segment a.
template <class Real>
bool apartInLatitude(const Segment& a, const Real* p, double tol)
{
    const double low = std::min<double>(p[1], p[3]), high = std::max<double>(p[1], p[3]);
    return high < a.b - tol || low > a.c + tol;
}

// The crossing point of two segments, when they meet.
bool meet(const Segment& a, Segment b, bool plain, double tol, double pi, double& lon, double& lat)
{
    if (!plain && a.crosses180 != b.crosses180) {
        // Bring B's ends to the side of 180 degrees where A lies.
        const double gap = (b.west + b.east) / 2 - (a.west + a.east) / 2;
        if (gap > pi)
            b.shift(-2 * pi);
        else if (gap < -pi)
            b.shift(2 * pi);
    }
    if (a.west - tol > b.east + tol || b.west - tol > a.east + tol)
        return false;
    if (std::fabs(a.slope - b.slope) <= double(kParallelLimit))
        return false;
    const Segment& base = std::fabs(a.slope) <= std::fabs(b.slope) ? a : b;
    const Segment& other = &base == &a ? b : a;
    lon = (other.intercept - base.intercept) / (base.slope - other.slope);
    lat = base.slope * lon + base.intercept;
    const bool inside = lon >= a.west - tol && lon <= a.east + tol && lon >= b.west - tol && lon <= b.east + tol &&
                        lat >= std::max(a.b, b.b) - tol && lat <= std::min(a.c, b.c) + tol;
    if (!inside)
        return false;
    if (!plain) {
        if (lon > pi)
            lon -= 2 * pi;
        else if (lon < -pi)
            lon += 2 * pi;
    }
    return true;
}

// True when segment `seg` is an end segment of the line and the point lies within one arc
// second, in both coordinates, of that end of the line.
template <class Real>
bool atLineEnd(double lon, double lat, const Real* line, std::int32_t n, std::int32_t seg)
{
    auto near = [&](std::int32_t k) {
        return std::fabs(lon - line[2 * k]) <= double(kRadPerSecond) &&
               std::fabs(lat - line[2 * k + 1]) <= double(kRadPerSecond);
    };
    return (seg == 0 && near(0)) || (seg == n - 2 && near(n - 1));
}

template <class Real>
void put(CrossingOutput<Real>& out, std::int32_t at, double lon, double lat, std::int32_t segA, std::int32_t segB)
{
    out.points[2 * at] = Real(lon);
    out.points[2 * at + 1] = Real(lat);
    if (out.pairs) {
        out.pairs[2 * at] = segA + 1;
        out.pairs[2 * at + 1] = segB + 1;
    }
}

template <class Real>
void store(CrossingOutput<Real>& out, const CrossingRules& rules, const Real* lineA, double lon, double lat,
           std::int32_t segA, std::int32_t segB)
{
    if (out.count < out.capacity) {
        put(out, out.count++, lon, lat, segA, segB);
        return;
    }
    ++out.overflow;
    if (!rules.nearest || out.count < 1)
        return;
    std::int32_t farthest = 0;
    double farthestKm = -1;
    for (std::int32_t k = 0; k < out.count; ++k) {
        const double d = rules.nearest(lineA[0], lineA[1], out.points[2 * k], out.points[2 * k + 1]);
        if (d > farthestKm)
            farthest = k, farthestKm = d;
    }
    if (rules.nearest(lineA[0], lineA[1], lon, lat) < farthestKm)
        put(out, farthest, lon, lat, segA, segB);
}

}  // namespace

template <class Real>
void crossTwoLines(const Real* lineA, std::int32_t nA, const Real* lineB, std::int32_t nB, const CrossingRules& rules,
                   CrossingOutput<Real>& out)
{
    out.count = 0;
    out.overflow = 0;
    out.capacity = std::max(out.capacity, 0);
    for (std::int32_t i = 0; i + 1 < nA; ++i) {
        const Segment a = segmentOf(lineA + 2 * i, rules.plain, rules.pi);
        for (std::int32_t m = 0; m + 1 < nB; ++m) {
            const Real* pb = lineB + 2 * m;
            double lon = 0, lat = 0;
            if (apartInLatitude(a, pb, rules.tolerance) ||
                !meet(a, segmentOf(pb, rules.plain, rules.pi), rules.plain, rules.tolerance, rules.pi, lon, lat))
                continue;
            if (rules.mode == 1 && atLineEnd(lon, lat, lineA, nA, i) && atLineEnd(lon, lat, lineB, nB, m))
                continue;
            store(out, rules, lineA, lon, lat, i, m);
            if (rules.mode == 2)
                return;
        }
    }
}

template void crossTwoLines<float>(const float*, std::int32_t, const float*, std::int32_t, const CrossingRules&,
                                   CrossingOutput<float>&);
template void crossTwoLines<double>(const double*, std::int32_t, const double*, std::int32_t, const CrossingRules&,
                                    CrossingOutput<double>&);

bool crossLineWithItself(const float* points, std::int32_t n, bool ring, CrossingOutput<float>& out)
{
    out.count = 0;
    const double tol = kCrossingTolerance, pi = kPi;
    const bool closed = ring && n >= 2 && samePoint(pointOf(points, 0), pointOf(points, n - 1));
    for (std::int32_t i = 0; i + 1 < n; ++i) {
        const Segment a = segmentOf(points + 2 * i, false, pi);
        for (std::int32_t j = i + 2; j + 1 < n; ++j) {
            const float* pj = points + 2 * j;
            if (closed && i == 0 && j == n - 2)
                continue;  // they share the ring's first point
            double lon = 0, lat = 0;
            if (apartInLatitude(a, pj, tol) || !meet(a, segmentOf(pj, false, pi), false, tol, pi, lon, lat))
                continue;
            if (out.count >= out.capacity)
                return false;
            put(out, out.count++, lon, lat, i, j);
        }
    }
    return true;
}

}  // namespace geo
