#include "Windows.h"

#include <algorithm>
#include <vector>
#include <cmath>

namespace geo {
namespace {

// The window that GEOADTW widened last; a restore gives it back.
Window s_savedWindow{};

// Width of the longitude band, 0..two pi.
double bandWidth(const Window& w)
{
    const double width = double(w.east) - w.west;
    return width < 0 ? width + kTwoPi : width;
}

}  // namespace

bool isNormal(const Window& w)
{
    return w.west <= w.east;
}

bool pointInWindow(Point p, const Window& w)
{
    if (p.lat < w.south || p.lat > w.north)
        return false;
    return isNormal(w) ? w.west <= p.lon && p.lon <= w.east : p.lon >= w.west || p.lon <= w.east;
}

Window boundingWindow(const float* points, std::int32_t n)
{
    const Point first = pointOf(points, 0);
    Window w{first.lon, first.lat, first.lon, first.lat};
    if (n <= 1)
        return w;
    constexpr float kNone = 1e30f;
    float leastNeg = kNone, greatestNeg = -kNone, leastPos = kNone, greatestPos = -kNone;
    for (std::int32_t i = 0; i < n; ++i) {
        const Point p = pointOf(points, i);
        w.south = std::min(w.south, p.lat);
        w.north = std::max(w.north, p.lat);
        if (p.lon < 0) {
            leastNeg = std::min(leastNeg, p.lon);
            greatestNeg = std::max(greatestNeg, p.lon);
        } else {
            leastPos = std::min(leastPos, p.lon);
            greatestPos = std::max(greatestPos, p.lon);
        }
    }
    const bool anyNeg = leastNeg != kNone, anyPos = leastPos != kNone;
    if (!anyNeg || !anyPos) {
        w.west = anyNeg ? leastNeg : leastPos;
        w.east = anyNeg ? greatestNeg : greatestPos;
        return w;
    }
    const double normalWidth = double(greatestPos) - leastNeg;
    const double crossingWidth = kTwoPi - (double(leastPos) - greatestNeg);
    if (normalWidth < crossingWidth) {
        w.west = leastNeg;
        w.east = greatestPos;
    } else {
        w.west = leastPos;
        w.east = greatestNeg;
    }
    return w;
}

Point windowCentre(const Window& w)
{
    const double east = isNormal(w) ? double(w.east) : w.east + double(kTwoPi);
    double lon = (w.west + east) / 2;
    if (lon > kPi)
        lon -= kTwoPi;
    return {float(lon), float((double(w.south) + w.north) / 2)};
}

std::int32_t windowOutline(const Window& w, float* points)
{
    const bool wide = bandWidth(w) >= kHalfPi;
    const float centre = windowCentre(w).lon;
    std::int32_t n = 0;
    auto add = [&](float lon, float lat) { setPoint(points, n++, {lon, lat}); };
    add(w.west, w.south);
    add(w.west, w.north);
    if (wide)
        add(centre, w.north);
    add(w.east, w.north);
    add(w.east, w.south);
    if (wide)
        add(centre, w.south);
    add(w.west, w.south);
    return n;
}

bool windowsOverlap(const Window& a, const Window& b)
{
    if (a.south > b.north || a.north < b.south)
        return false;
    const bool aNormal = isNormal(a), bNormal = isNormal(b);
    if (aNormal && bNormal)
        return a.west <= b.east && a.east >= b.west;
    if (aNormal)
        return a.west <= b.east || a.east >= b.west;
    if (bNormal)
        return b.west <= a.east || b.east >= a.west;
    return true;
}

bool windowInWindow(const Window& a, const Window& b)
{
    if (a.south < b.south || a.north > b.north)
        return false;
    const bool aNormal = isNormal(a), bNormal = isNormal(b);
    if (aNormal == bNormal)
        return a.west >= b.west && a.east <= b.east;
    if (!aNormal)
        return false;
    // A normal window lies in a crossing one when it lies wholly in one of its two pieces.
    return a.east <= b.east || a.west >= b.west;
}

Window windowAround(const Window* windows, std::int32_t n)
{
    std::vector<float> corners;
    for (std::int32_t i = 0; i < n; ++i) {
        const Window& w = windows[i];
        corners.insert(corners.end(), {w.west, w.south, w.east, w.north});
    }
    return boundingWindow(corners.data(), 2 * n);
}

Window windowIntersection(const Window& a, const Window& b, bool& disjoint)
{
    disjoint = !windowsOverlap(a, b);
    if (disjoint) {
        const Window both[] = {a, b};
        return windowAround(both, 2);
    }
    Window w{0, std::max(a.south, b.south), 0, std::min(a.north, b.north)};
    const bool aNormal = isNormal(a), bNormal = isNormal(b);
    if (aNormal == bNormal) {
        w.west = std::max(a.west, b.west);
        w.east = std::min(a.east, b.east);
    } else if (a.west <= b.east && a.east >= b.west) {
        // They meet at both ends: the narrower window stands for the two pieces.
        const Window& narrow = bandWidth(b) < bandWidth(a) ? b : a;
        w.west = narrow.west;
        w.east = narrow.east;
    } else {
        // One piece: the normal window's ends cut by the crossing window's near edge.
        const Window& normal = aNormal ? a : b;
        const Window& crossing = aNormal ? b : a;
        if (normal.east < crossing.west) {
            w.west = normal.west;
            w.east = std::min(normal.east, crossing.east);
        } else {
            w.west = std::max(normal.west, crossing.west);
            w.east = normal.east;
        }
    }
    return w;
}

std::array<Window, 9> nineWindows(const Window& w)
{
    const float c = float(wrapLongitude(double(windowCentre(w).lon) + kPi));
    const float c1 = c == kPi ? -kPi : c;
    const float W = w.west, S = w.south, E = w.east, N = w.north, P = kHalfPi;
    return {{{W, S, E, N}, {c1, N, W, P}, {E, N, c, P}, {E, -P, c, S}, {c1, -P, W, S},
             {W, N, E, P}, {E, S, c, N}, {W, -P, E, S}, {c1, S, W, N}}};
}

void widenWindow(std::int32_t mode, std::int32_t marginSeconds, Window& w)
{
    if (mode < 0) {
        w = s_savedWindow;
        return;
    }
    s_savedWindow = w;
    const double a = double(marginSeconds) * kRadPerSecond;
    const bool full = bandWidth(w) + 2 * a >= kTwoPi;
    double west = w.west - a, east = w.east + a;
    if (mode == 0) {
        west = wrapLongitude(west);
        east = wrapLongitude(east);
    } else {
        west = std::max(west, -double(kPi));
        east = std::min(east, double(kPi));
    }
    w.west = full ? -kPi : float(west);
    w.east = full ? kPi : float(east);
    w.south = float(std::max(w.south - a, -double(kHalfPi)));
    w.north = float(std::min(w.north + a, double(kHalfPi)));
}

Window circleWindow(Point centre, float distKm)
{
    const double lat = centre.lat;
    const double r = std::min(std::fabs(double(distKm)), double(kLargestCircleKm)) / kEarthRadiusKm;
    const double south = std::clamp(lat - r, -double(kHalfPi), double(kHalfPi));
    const double north = std::clamp(lat + r, -double(kHalfPi), double(kHalfPi));
    double d = kPoleHalfWidth;
    if (south > -kHalfPi && north < kHalfPi) {
        const double t = std::clamp(std::sin(lat) / std::cos(r), -1.0, 1.0);
        const double q = (std::cos(r) - std::sin(lat) * t) / (std::cos(lat) * std::sin(std::acos(t)));
        d = std::fabs(std::acos(std::clamp(q, -1.0, 1.0)));
    }
    return {float(wrapLongitude(centre.lon - d)), float(south), float(wrapLongitude(centre.lon + d)), float(north)};
}

std::int32_t GEOPIWF(std::int32_t direction, const float* points, std::int16_t n, const Window& w)
{
    for (std::int32_t k = 0; k < n; ++k) {
        const std::int32_t i = direction >= 0 ? k : n - 1 - k;
        if (pointInWindow(pointOf(points, i), w))
            return i + 1;
    }
    return 0;
}

void GEOFRNT(std::int16_t* list, std::int32_t position)
{
    if (position > 1)
        std::rotate(list, list + position - 1, list + position);
}

}  // namespace geo
