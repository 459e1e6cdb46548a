#include "OutlineToWindow.h"

#include "core/Constants.h"
#include "geometry/Crossings.h"
#include "geometry/PointLists.h"
#include "geometry/Polylines.h"
#include "geometry/Sphere.h"
#include "geometry/Clipping.h"
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

// Removes the closing point of a closed outline when `drop` says so of it and its neighbours:
// the second point becomes the first and last. True when it was removed.
template <typename Drop>
bool dropClosingPoint(float* points, std::int32_t& n, Drop drop)
{
    if (n <= 2 || !isClosed(points, n) || !drop(pointOf(points, n - 2), pointOf(points, 0), pointOf(points, 1)))
        return false;
    std::memmove(points, points + 2, std::size_t(n - 1) * 2 * sizeof(float));
    --n;
    setPoint(points, n - 1, pointOf(points, 0));
    return true;
}

// One pass over the spikes; true when one was removed.
bool removeSpikes(float* points, std::int32_t& n)
{
    bool removed = dropClosingPoint(points, n, isSpike);
    for (std::int32_t i = 1; i + 1 < n; ++i)
        if (isSpike(pointOf(points, i - 1), pointOf(points, i), pointOf(points, i + 1))) {
            setPoint(points, i, pointOf(points, i + 1));
            removed = true;
        }
    mergeRepeats(points, n);
    return removed;
}

// True when a, b and c lie on the line of one side of w: the border from a to c passes
// through b, so b adds nothing to the outline inside w.
bool alongOneSide(const Window& w, Point a, Point b, Point c)
{
    const auto on = [&](auto coordinate, float line) {
        return coordinate(a) == line && coordinate(b) == line && coordinate(c) == line;
    };
    const auto lon = [](Point p) { return p.lon; };
    const auto lat = [](Point p) { return p.lat; };
    return on(lat, w.north) || on(lat, w.south) || on(lon, w.west) || on(lon, w.east);
}

// Drops the points that lie on one side's line between neighbours on that line.
void mergeAlongSides(const Window& w, float* points, std::int32_t& n)
{
    const auto along = [&](Point a, Point b, Point c) { return alongOneSide(w, a, b, c); };
    while (dropClosingPoint(points, n, along)) {
    }
    std::int32_t kept = std::min(n, 1);
    for (std::int32_t i = 1; i < n; ++i)
        if (i + 1 == n || !along(pointOf(points, kept - 1), pointOf(points, i), pointOf(points, i + 1)))
            setPoint(points, kept++, pointOf(points, i));
    n = kept;
}

// The crossings of the outline with W's border.
std::int32_t borderCrossings(const float* points, std::int32_t n, const Border& border)
{
    CrossingOutput<float> out{nullptr, nullptr, 0};
    crossTwoLines(points, n, border.points.data(), border.n, {false, 0, double(kCrossingTolerance), double(kPi), nullptr}, out);
    return out.count + out.overflow;
}

// An outline moved onto w: the images of its points, and of its edges outside w the bends where
// they go round w. The bends of a run of points outside w are kept or left out together.
class MovedOutline {
public:
    MovedOutline(const Window& w, const float* points, std::int32_t n) : m_w(w), m_clamp(w), m_edgeRun(std::size_t(n), 0)
    {
        std::vector<std::int32_t> runOf(std::size_t(n), 0);
        for (std::int32_t i = 0; i < n; ++i) {
            const Point p = pointOf(points, i);
            const bool inside = pointInWindow(p, w);
            m_points.push_back(p);
            m_images.push_back(inside ? p : m_clamp.image(p));
            if (!inside)
                runOf[std::size_t(i)] = i > 0 && runOf[std::size_t(i - 1)] > 0 ? runOf[std::size_t(i - 1)] : ++m_runs;
        }
        // On a closed outline the run through the closing point is one.
        const std::int32_t last = runOf.empty() ? 0 : runOf.back();
        if (isClosed(points, n) && last > 0 && runOf.front() > 0 && last != runOf.front())
            std::replace(runOf.begin(), runOf.end(), last, runOf.front());
        for (std::size_t i = 1; i < runOf.size(); ++i)
            m_edgeRun[i] = std::max(runOf[i - 1], runOf[i]);
        m_bends.assign(std::size_t(m_runs) + 1, 0);
        std::vector<Point> edge;
        for (std::size_t i = 1; i < m_points.size(); ++i)
            if (m_edgeRun[i] > 0) {
                edge.clear();
                m_clamp.edge(m_points[i - 1], m_points[i], edge);
                m_bends[std::size_t(m_edgeRun[i])] += std::int32_t(edge.size()) - 1;
            }
    }

    std::int32_t runs() const { return m_runs; }
    std::int32_t bends(std::int32_t run) const { return m_bends[std::size_t(run)]; }

    // The moved outline with the bends of the runs `bent` says, repeats, spikes and points
    // along a side between neighbours on it removed.
    std::vector<float> build(const std::vector<bool>& bent) const
    {
        std::vector<Point> moved{m_images.front()};
        for (std::size_t i = 1; i < m_points.size(); ++i) {
            if (m_edgeRun[i] > 0 && bent[std::size_t(m_edgeRun[i])])
                m_clamp.edge(m_points[i - 1], m_points[i], moved);
            else
                moved.push_back(m_images[i]);
            moved.back() = m_images[i];
        }
        std::vector<float> work(2 * moved.size());
        std::int32_t count = std::int32_t(moved.size());
        for (std::int32_t i = 0; i < count; ++i)
            setPoint(work.data(), i, moved[std::size_t(i)]);
        mergeRepeats(work.data(), count);
        do
            mergeAlongSides(m_w, work.data(), count);
        while (removeSpikes(work.data(), count));
        work.resize(2 * std::size_t(count));
        return work;
    }

private:
    Window m_w;
    Clamp m_clamp;
    std::vector<Point> m_points, m_images;
    std::vector<std::int32_t> m_edgeRun;  // the run of outside points an edge touches; 0: none
    std::vector<std::int32_t> m_bends;    // bends per run
    std::int32_t m_runs = 0;
};

}  // namespace

void GEOCTW2(const Window& w, std::int32_t capacity, float* points, std::int32_t& n, std::int32_t& flag)
{
    flag = 0;
    if (n <= 0)
        return;
    const MovedOutline moved(w, points, n);
    // Runs with the most bends give them up first, until the outline fits; without any bends it
    // holds no more points than it had.
    std::vector<std::int32_t> order(std::size_t(moved.runs()));
    for (std::size_t r = 0; r < order.size(); ++r)
        order[r] = std::int32_t(r) + 1;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::int32_t a, std::int32_t b) { return moved.bends(a) > moved.bends(b); });
    const auto withBends = [&](std::size_t plain) {
        std::vector<bool> bent(order.size() + 1, true);
        for (std::size_t k = 0; k < plain; ++k)
            bent[std::size_t(order[k])] = false;
        return moved.build(bent);
    };
    const auto fits = [&](const std::vector<float>& outline) { return std::int64_t(outline.size()) <= 2 * std::int64_t(capacity); };
    std::vector<float> result = withBends(0);
    if (!fits(result)) {
        std::size_t lo = 0, hi = order.size();
        result = withBends(hi);
        while (hi - lo > 1) {
            const std::size_t mid = lo + (hi - lo) / 2;
            std::vector<float> tried = withBends(mid);
            if (fits(tried)) {
                hi = mid;
                result = std::move(tried);
            } else {
                lo = mid;
            }
        }
    }
    std::int32_t count = std::int32_t(result.size() / 2);
    if (count > capacity) {
        flag = 1;
        count = std::max(capacity, 0);
    }
    std::copy(result.begin(), result.begin() + 2 * count, points);
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
