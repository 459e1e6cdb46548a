#include "OutlineToWindow.h"

#include "core/Constants.h"
#include "geometry/Crossings.h"
#include "geometry/PointLists.h"
#include "geometry/Polylines.h"
#include "geometry/Sphere.h"
#include "map/Clipping.h"
#include "map/OutlineTrim.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <tuple>
#include <vector>

namespace geo {
namespace {

struct Border {
    std::array<float, 2 * kBorderPoints> points{};
    std::int32_t n = 0;
};

// W's outline, densified so that its sides follow the window's edges.
Border borderOf(const Window& w)
{
    Border b;
    b.n = windowOutline(w, b.points.data());
    densify(0, kBorderStepKm, kBorderPoints, b.points.data(), b.n);
    return b;
}

// A longitude on a scale running from -pi to pi about `centre`.
double around(double lon, double centre)
{
    return wrapLongitudeAbove(lon - centre);
}

// Clamping to the window, on a longitude scale about its centre, takes every point outside it
// to the nearest point of its border. The image of an edge bends where the edge crosses the
// lines of the window's sides; these bends are added, so that the moved outline winds round
// every point inside the window as the original does.
class Clamp {
public:
    explicit Clamp(const Window& w)
        : m_centre(windowCentre(w).lon), m_west(around(w.west, m_centre)), m_east(around(w.east, m_centre)),
          m_south(w.south), m_north(w.north)
    {
        if (m_east < m_west)
            m_east += kTwoPi;
    }

    // Appends the image of the edge from p to q, without p's own image.
    void edge(Point p, Point q, std::vector<Point>& out) const
    {
        const double x0 = around(p.lon, m_centre), y0 = p.lat;
        const double x1 = x0 + around(q.lon, p.lon), y1 = q.lat;
        std::array<double, 4> ts{};
        std::size_t n = 0;
        for (const auto& [a, b, line] : {std::tuple{x0, x1, m_west}, {x0, x1, m_east}, {y0, y1, m_south},
                                         {y0, y1, m_north}}) {
            if ((a - line) * (b - line) < 0) {
                // Sorted as they come.
                const double t = (line - a) / (b - a);
                std::size_t k = n++;
                for (; k > 0 && ts[k - 1] > t; --k)
                    ts[k] = ts[k - 1];
                ts[k] = t;
            }
        }
        for (std::size_t k = 0; k < n; ++k)
            out.push_back(image(x0 + ts[k] * (x1 - x0), y0 + ts[k] * (y1 - y0)));
        out.push_back(image(x1, y1));
    }

    Point image(Point p) const { return image(around(p.lon, m_centre), p.lat); }

private:
    Point image(double x, double y) const
    {
        const double lon = std::clamp(x, m_west, m_east) + m_centre;
        return {float(wrapLongitude(lon)), float(std::clamp(y, m_south, m_north))};
    }

    double m_centre, m_west, m_east, m_south, m_north;
};

// Drops points equal to the one before them.
void mergeRepeats(float* points, std::int32_t& n)
{
    std::int32_t kept = std::min(n, 1);
    for (std::int32_t i = 1; i < n; ++i)
        if (!samePoint(pointOf(points, i), pointOf(points, kept - 1)))
            setPoint(points, kept++, pointOf(points, i));
    n = kept;
}

bool isSpike(Point a, Point b, Point c)
{
    return vertexAngleDeg(a.lon, a.lat, b.lon, b.lat, c.lon, c.lat) <= kSpikeDeg;
}

bool isClosed(const float* points, std::int32_t n)
{
    return n > 1 && samePoint(pointOf(points, 0), pointOf(points, n - 1));
}

// One pass over the spikes; true when one was removed.
bool removeSpikes(float* points, std::int32_t& n)
{
    bool removed = false;
    if (n > 2 && isClosed(points, n) && isSpike(pointOf(points, n - 2), pointOf(points, 0), pointOf(points, 1))) {
        std::memmove(points, points + 2, std::size_t(n - 1) * 2 * sizeof(float));
        --n;
        setPoint(points, n - 1, pointOf(points, 0));
        removed = true;
    }
    for (std::int32_t i = 1; i + 1 < n; ++i)
        if (isSpike(pointOf(points, i - 1), pointOf(points, i), pointOf(points, i + 1))) {
            setPoint(points, i, pointOf(points, i + 1));
            removed = true;
        }
    mergeRepeats(points, n);
    return removed;
}

// The crossings of the outline with W's border.
std::int32_t borderCrossings(const float* points, std::int32_t n, const Border& border)
{
    CrossingOutput<float> out{nullptr, nullptr, 0};
    crossTwoLines(points, n, border.points.data(), border.n, {false, 0, double(kCrossingTolerance), double(kPi), nullptr}, out);
    return out.count + out.overflow;
}

}  // namespace

void GEOCTW2(const Window& w, std::int32_t capacity, float* points, std::int32_t& n, std::int32_t& flag)
{
    flag = 0;
    if (n <= 0)
        return;
    const Clamp clamp(w);
    // Points inside w stay exactly as they are.
    const auto image = [&](Point p) { return pointInWindow(p, w) ? p : clamp.image(p); };
    std::vector<Point> moved{image(pointOf(points, 0))};
    for (std::int32_t i = 1; i < n; ++i) {
        const Point p = pointOf(points, i - 1), q = pointOf(points, i);
        if (!pointInWindow(p, w) || !pointInWindow(q, w))
            clamp.edge(p, q, moved);
        else
            moved.push_back(q);
        moved.back() = image(q);
    }
    std::vector<float> work(2 * moved.size());
    std::int32_t count = std::int32_t(moved.size());
    for (std::int32_t i = 0; i < count; ++i)
        setPoint(work.data(), i, moved[std::size_t(i)]);
    mergeRepeats(work.data(), count);
    while (removeSpikes(work.data(), count)) {
    }
    if (count > capacity) {
        flag = 1;
        count = std::max(capacity, 0);
    }
    std::copy(work.begin(), work.begin() + 2 * count, points);
    n = count;
}

void GEOCTW(const Window& w, std::int32_t capacity, Window& outlineWindow, float* points, std::int32_t& n,
            std::int32_t& flag)
{
    flag = 0;
    if (windowInWindow(outlineWindow, w))
        return;
    if (!windowsOverlap(outlineWindow, w)) {
        n = 0;
        return;
    }
    const std::int32_t mode = isNormal(outlineWindow) ? 1 : 0;
    std::int32_t count = GEOCUT(mode, w, points, n, points);
    if (count < n) {
        if (capacity - count < 2 * borderCrossings(points, count, borderOf(w))) {
            flag = 1;
        } else {
            const std::int32_t cut = count;
            GEOPWC(w, points, capacity, count);
            if (count != cut)
                count = GEOCUT(mode, w, points, count, points);
        }
    }
    std::int32_t first = 1, last = std::max(count, 1);
    GEOTRIM(w, points, first, last);
    if (first == last) {
        n = 0;
        return;
    }
    n = last - first + 1;
    std::memmove(points, points + 2 * (first - 1), std::size_t(n) * 2 * sizeof(float));
    std::int32_t closing = 0;
    GEOCTW2(w, capacity, points, n, closing);
    outlineWindow = boundingWindow(points, n);
    flag = std::max(flag, closing);
}

}  // namespace geo
