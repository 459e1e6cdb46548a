#include "distance/LineDistance.h"

#include "core/Constants.h"
#include "geometry/Crossings.h"
#include "geometry/Figures.h"
#include "geometry/GreatCircle.h"
#include "geometry/PointInPolygon.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace geo {
namespace {

constexpr int kCirclePoints = 360 / kCheckCircleStepDeg + 1;

bool crosses(const float* a, std::int32_t nA, const float* b, std::int32_t nB)
{
    if (nA < 2 || nB < 2 || nA > kMostLinePoints)
        return false;
    float at[2];
    CrossingOutput<float> out{at, nullptr, 1};
    crossTwoLines(a, nA, b, nB, {false, 2, double(kCrossingTolerance), double(kPi), nullptr}, out);
    return out.count > 0;
}

bool closedLine(const float* points, std::int32_t n)
{
    const Point first = pointOf(points, 0), last = pointOf(points, n - 1);
    return std::fabs(double(first.lon) - last.lon) <= double(kRadPerSecond) &&
           std::fabs(double(first.lat) - last.lat) <= double(kRadPerSecond);
}

void take(LineDistance& r, const NearestPoint& q)
{
    r = {q.at, q.distanceKm, q.azimuthDeg};
}

// The line crosses the circle just inside the distance found: a stretch comes nearer.
bool comesNearer(Point p, float distKm, const float* points, std::int32_t n)
{
    std::array<float, 2 * kCirclePoints> circle{};
    const float radius = distKm - kCircleMarginKm;
    for (int k = 0; k + 1 < kCirclePoints; ++k)
        setPoint(circle.data(), k, destination(p, radius, float(k * kCheckCircleStepDeg)));
    setPoint(circle.data(), kCirclePoints - 1, pointOf(circle.data(), 0));
    return crosses(points, n, circle.data(), kCirclePoints);
}

struct Neighbours {
    std::int32_t prev, next;
};

Neighbours neighbours(std::int32_t mid, const float* points, std::int32_t n)
{
    Neighbours nb{std::max(mid - 1, 1), std::min(mid + 1, n)};
    if (n >= 4 && closedLine(points, n)) {
        if (mid == 1)
            nb.prev = n - 1;
        if (mid == n)
            nb.next = 2;
    }
    return nb;
}

}  // namespace

double distanceFromStart(double lon1, double lat1, double lon2, double lat2)
{
    return distanceKm({float(lon1), float(lat1)}, {float(lon2), float(lat2)});
}

Point cutAt(Point from, Point to, const WindowOutline& outline)
{
    return cutAt(from, to, outline.points.data(), outline.n);
}

Point cutAt(Point from, Point to, const float* line, std::int32_t n)
{
    const std::array<float, 4> segment{from.lon, from.lat, to.lon, to.lat};
    float at[2];
    CrossingOutput<float> out{at, nullptr, 1};
    crossTwoLines(segment.data(), 2, line, n, {false, 0, double(kCrossingTolerance), double(kPi), &distanceFromStart},
                  out);
    return out.count > 0 ? pointOf(at, 0) : to;
}

void GEODTL(Point p, const float* points, std::int32_t n, LineDistance& r)
{
    n = std::int16_t(n);
    r.distanceKm = kFarKm;
    const VertexRun run = nearestVertex(p, points, n, true, [](Point) { return true; });
    if (run.exactHit) {
        r = {p, 0.0f, 0.0f};
        return;
    }
    if (run.mid == 0)
        return;
    const Neighbours nb = neighbours(run.mid, points, n);
    take(r, nearestOnTwoSegments(p, pointOf(points, nb.prev - 1), pointOf(points, run.mid - 1),
                                 pointOf(points, nb.next - 1)));
    if (!comesNearer(p, r.distanceKm, points, n))
        return;
    r.distanceKm = kFarKm;
    for (std::int32_t i = 1; i <= n; i += 2) {
        const NearestPoint q = nearestOnTwoSegments(p, pointOf(points, i - 1), pointOf(points, std::min(i + 1, n) - 1),
                                                    pointOf(points, std::min(i + 2, n) - 1));
        if (q.distanceKm < r.distanceKm)
            take(r, q);
    }
}

void GEODTLW(Point p, const Window& w, const float* points, std::int32_t n, LineDistance& r)
{
    n = std::int16_t(n);
    const WindowOutline outline(w);
    r.distanceKm = kFarKm;
    const auto inWindow = [&](Point q) { return pointInWindow(q, w); };
    const VertexRun run = nearestVertex(p, points, n, false, inWindow);
    if (run.mid == 0)
        return;
    const Neighbours nb = neighbours(run.mid, points, n);
    const Point mid = pointOf(points, run.mid - 1);
    take(r, nearestOnTwoSegments(p, cutAt(mid, pointOf(points, nb.prev - 1), outline), mid,
                                 cutAt(mid, pointOf(points, nb.next - 1), outline)));
    if (!comesNearer(p, r.distanceKm, points, n))
        return;
    r.distanceKm = kFarKm;
    for (std::int32_t i = 1; i <= n; i += 2) {
        const Point a = pointOf(points, i - 1), b = pointOf(points, std::min(i + 1, n) - 1),
                    c = pointOf(points, std::min(i + 2, n) - 1);
        NearestPoint q{b, kFarKm, 0.0f};
        if (inWindow(b)) {
            q = nearestOnTwoSegments(p, cutAt(b, a, outline), b, cutAt(b, c, outline));
        } else {
            // Only the stretches from an end inside the window to where they leave it.
            for (const Point end : {a, c}) {
                if (!inWindow(end))
                    continue;
                const Point cut = cutAt(end, b, outline);
                const NearestPoint side = nearestOnTwoSegments(p, end, cut, cut);
                if (side.distanceKm < q.distanceKm)
                    q = side;
            }
        }
        if (q.distanceKm < r.distanceKm)
            take(r, q);
    }
}

LineDistance GEODTA3(Point p, const Window& polygonWindow, const float* points, std::int32_t n)
{
    LineDistance r{p, kInsideKm, 0.0f};
    if (n >= 1 && GEOPIA(p, polygonWindow, points, n))
        return r;
    GEODTL(p, points, n, r);
    return r;
}

LineDistance GEODTAW(Point p, const Window& clip, const Window& polygonWindow, const float* points, std::int32_t n)
{
    LineDistance r{p, kInsideKm, 0.0f};
    if (n >= 1 && GEOPIA(p, polygonWindow, points, n))
        return r;
    GEODTLW(p, clip, points, n, r);
    if (r.distanceKm > kFarthestFoundKm)
        r.distanceKm = kNotFoundKm;
    return r;
}

}  // namespace geo
