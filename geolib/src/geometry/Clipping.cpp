#include "geometry/Clipping.h"

#include "core/Fatal.h"
#include "geometry/Crossings.h"
#include "geometry/GreatCircle.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <vector>

namespace geo {

namespace {

struct Xy {
    double lon;
    double lat;
};

// Sides of the window as bits; a point beyond none of them lies in the window.
using Sides = unsigned;
inline constexpr Sides kNorth = 1, kSouth = 2, kWest = 4, kEast = 8;

// The window and its widened copy on one longitude scale. A window crossing 180 degrees, or
// mode 0, takes every longitude to within half a turn of the window's centre, so that the
// scale runs on across 180 degrees and breaks only at the opposite meridian.
class CutFrame {
public:
    CutFrame(std::int32_t mode, const Window& w)
    {
        const bool crossing = !isNormal(w);
        m_wrap = crossing || mode != 1;
        m_west = w.west;
        m_east = crossing ? double(w.east) + kTwoPi : double(w.east);
        m_south = w.south;
        m_north = w.north;
        m_centre = (m_west + m_east) / 2;
        const double lo = m_wrap ? m_centre - kPi : -double(kPi);
        const double hi = m_wrap ? m_centre + kPi : double(kPi);
        m_wideWest = std::max(m_west - kCutMargin, lo);
        m_wideEast = std::min(m_east + kCutMargin, hi);
        m_wideSouth = std::max(m_south - kCutMargin, -double(kHalfPi));
        m_wideNorth = std::min(m_north + kCutMargin, double(kHalfPi));
    }

    Xy onScale(Point p) const
    {
        double lon = p.lon;
        if (m_wrap) {
            if (lon < m_centre - kPi)
                lon += kTwoPi;
            else if (lon >= m_centre + kPi)
                lon -= kTwoPi;
        }
        return {lon, p.lat};
    }

    Point back(Xy p) const
    {
        return {float(m_wrap ? wrapLongitude(p.lon) : p.lon), float(p.lat)};
    }

    // The sides the point lies beyond, strictly: a point on the window's edge lies in the
    // window and stays.
    Sides sidesOf(Xy p) const
    {
        return (p.lat > m_north ? kNorth : 0) | (p.lat < m_south ? kSouth : 0) | (p.lon < m_west ? kWest : 0) |
               (p.lon > m_east ? kEast : 0);
    }

    bool beyond(Xy p, Sides sides) const { return (sidesOf(p) & sides) == sides; }

    // Every coordinate beyond a side of the window goes to the widened window's edge there:
    // a corner of it when the point lies beyond two sides.
    Xy ontoBorder(Xy p) const
    {
        const Sides sides = sidesOf(p);
        if (sides & kNorth)
            p.lat = m_wideNorth;
        else if (sides & kSouth)
            p.lat = m_wideSouth;
        if (sides & kWest)
            p.lon = m_wideWest;
        else if (sides & kEast)
            p.lon = m_wideEast;
        return p;
    }

    // The two points where the line through q and p meets the widened window's border, as
    // parameters t of q + t (p - q); none when it passes by.
    std::optional<std::pair<double, double>> borderOnLine(Xy q, Xy p) const
    {
        const double dx = p.lon - q.lon, dy = p.lat - q.lat;
        if (dx == 0 && dy == 0)
            return std::nullopt;
        const double far = std::numeric_limits<double>::infinity();
        return lineInBox(q.lon, q.lat, dx, dy, m_wideWest, m_wideEast, m_wideSouth, m_wideNorth, -far, far);
    }

    // The point nearest the window's centre, beyond `sides`, where the line through q and p
    // meets the widened window's border, or where the edge from q to p meets one of the
    // border's four lines: never farther out than the edge itself.
    std::optional<Xy> slideAlong(Xy q, Xy p, Sides sides) const
    {
        const double dx = p.lon - q.lon, dy = p.lat - q.lat;
        const double cosLat = std::cos((m_south + m_north) / 2);
        std::optional<Xy> best;
        double bestGap = 0;
        auto consider = [&](double t, bool onBorder) {
            if (!onBorder && (t < 0 || t > 1))
                return;
            const Xy at{q.lon + t * dx, q.lat + t * dy};
            const double gap = std::hypot((at.lon - m_centre) * cosLat, at.lat - (m_south + m_north) / 2);
            if (std::isfinite(gap) && beyond(at, sides) && (!best || gap < bestGap)) {
                best = at;
                bestGap = gap;
            }
        };
        if (const auto border = borderOnLine(q, p)) {
            consider(border->first, true);
            consider(border->second, true);
        }
        for (double lat : {m_wideSouth, m_wideNorth})
            if (dy != 0)
                consider((lat - q.lat) / dy, false);
        for (double lon : {m_wideWest, m_wideEast})
            if (dx != 0)
                consider((lon - q.lon) / dx, false);
        return best;
    }

private:
    bool m_wrap = false;
    double m_west, m_east, m_south, m_north, m_centre;
    double m_wideWest, m_wideEast, m_wideSouth, m_wideNorth;
};

struct Kept {
    Xy at;
    std::int32_t source;  // index of the input point kept unchanged, -1 when moved
};

// The neighbours of a run's end point that belong to other runs: none, one or two.
struct Across {
    std::array<Xy, 2> points{};
    int count = 0;
    void add(Xy p) { points[std::size_t(count++)] = p; }
};

// Where a kept end point of a run goes. Its edges to points of other runs keep their lines:
// along such an edge the point may only slide, and it must stay beyond the sides of its run.
// Every point-in-polygon answer inside the window then stays as it was. With no such edge (the
// end of a line) the point goes straight onto the widened window's border; with one it slides
// along that edge onto the border, or onto the line of one of its sides, as near the window as
// it can; with two (a run of one point) it stays where it is.
class RunEnds {
public:
    explicit RunEnds(const CutFrame& frame) : m_frame(frame) {}

    Kept place(Xy p, std::int32_t index, const Across& across, Sides sides) const
    {
        if (across.count == 0)
            return moved(m_frame.ontoBorder(p), p, index);
        if (across.count == 1) {
            if (const auto at = m_frame.slideAlong(across.points[0], p, sides))
                return moved(*at, p, index);
        }
        return {p, index};
    }

private:
    static Kept moved(Xy at, Xy p, std::int32_t index)
    {
        return {at, at.lon == p.lon && at.lat == p.lat ? index : -1};
    }

    const CutFrame& m_frame;
};

bool sameSide(const CutFrame& frame, const Kept& a, const Kept& b, const Kept& c)
{
    return (frame.sidesOf(a.at) & frame.sidesOf(b.at) & frame.sidesOf(c.at)) != 0;
}

struct Run {
    std::size_t first;
    std::size_t last;
    Sides sides;  // beyond which every point of the run lies; none for a point in the window
};

std::vector<Run> runsOf(const CutFrame& frame, const std::vector<Xy>& pts)
{
    std::vector<Run> runs;
    for (std::size_t i = 0; i < pts.size();) {
        Sides sides = frame.sidesOf(pts[i]);
        std::size_t j = i;
        while (sides && j + 1 < pts.size() && (sides & frame.sidesOf(pts[j + 1]))) {
            sides &= frame.sidesOf(pts[j + 1]);
            ++j;
        }
        runs.push_back({i, j, sides});
        i = j + 1;
    }
    return runs;
}

}  // namespace

std::optional<std::pair<double, double>> lineInBox(double lon, double lat, double dLon, double dLat, double west,
                                                   double east, double south, double north, double tMin, double tMax)
{
    auto limit = [&](double d, double from, double lo, double hi) {
        if (d == 0)
            return from >= lo && from <= hi;
        double a = (lo - from) / d, b = (hi - from) / d;
        if (a > b)
            std::swap(a, b);
        tMin = std::max(tMin, a);
        tMax = std::min(tMax, b);
        return tMin <= tMax;
    };
    if (!limit(dLon, lon, west, east) || !limit(dLat, lat, south, north))
        return std::nullopt;
    return std::pair{tMin, tMax};
}

std::int32_t GEOCUT(std::int32_t mode, const Window& w, const float* points, std::int32_t n, float* out)
{
    if (n > kMostCutPoints)
        fatalMessage("GEOCUT", " NRIN > 32767");
    if (n <= 0)
        return 0;
    if (n <= 2) {
        std::copy(points, points + 2 * n, out);
        return n;
    }
    const CutFrame frame(mode, w);
    std::vector<Point> raw(static_cast<std::size_t>(n));
    std::vector<Xy> pts(raw.size());
    for (std::int32_t i = 0; i < n; ++i) {
        raw[std::size_t(i)] = pointOf(points, i);
        pts[std::size_t(i)] = frame.onScale(raw[std::size_t(i)]);
    }
    const bool closed = points[0] == points[2 * n - 2] && points[1] == points[2 * n - 1];
    const std::vector<Run> runs = runsOf(frame, pts);
    const RunEnds ends(frame);
    const std::size_t last = pts.size() - 1;
    auto single = [](const Run& r) { return r.first == r.last; };

    // A closed outline's closing point is placed once, beyond the sides of both the first and
    // the last run, so that the outline stays closed.
    std::optional<Kept> closing;
    if (closed && runs.front().sides) {
        Across across;
        if (single(runs.front()))
            across.add(pts[1]);
        if (single(runs.back()))
            across.add(pts[last - 1]);
        closing = ends.place(pts[0], 0, across, runs.front().sides | runs.back().sides);
    }

    std::vector<Kept> kept;
    kept.reserve(pts.size());
    auto keep = [&](const Kept& k) {
        kept.push_back(k);
        while (kept.size() >= 3 && sameSide(frame, kept[kept.size() - 3], kept[kept.size() - 2], kept.back()))
            kept.erase(kept.end() - 2);
    };
    for (const Run& run : runs) {
        if (!run.sides) {
            keep({pts[run.first], std::int32_t(run.first)});
            continue;
        }
        for (std::size_t k : {run.first, run.last}) {
            if (closing && (k == 0 || k == last)) {
                keep(*closing);
            } else {
                Across across;
                if (k == run.first && k > 0)
                    across.add(pts[k - 1]);
                if (k == run.last && k < last)
                    across.add(pts[k + 1]);
                keep(ends.place(pts[k], std::int32_t(k), across, run.sides));
            }
            if (single(run))
                break;
        }
    }

    std::int32_t count = 0;
    for (const Kept& k : kept) {
        const Point p = k.source >= 0 ? raw[std::size_t(k.source)] : frame.back(k.at);
        setPoint(out, count++, p);
    }
    return count;
}

std::int32_t windowCrossings(Point a, Point b, const float* outline, std::int32_t nOutline, float* crossings)
{
    const std::array<float, 4> edge{a.lon, a.lat, b.lon, b.lat};
    CrossingOutput<float> found{crossings, nullptr, kMostWindowCrossings};
    crossTwoLines(edge.data(), 2, outline, nOutline,
                  {false, 0, double(kCrossingTolerance), double(kPi), nullptr}, found);
    if (found.overflow > 0)
        fatalLimit("GEOPWC", "MXDVCV", kMostWindowCrossings);
    return found.count;
}

namespace {

// True when the edge's latitude and longitude ranges meet the window's, the edge taken the
// short way across 180 degrees.
bool edgeNearWindow(Point a, Point b, const Window& w)
{
    if (std::max(a.lat, b.lat) < w.south || std::min(a.lat, b.lat) > w.north)
        return false;
    const Turn turn = turnOf(double(b.lon) - a.lon);
    const double from = a.lon, to = from + (turn.east ? turn.angle : -turn.angle);
    const double lo = std::min(from, to), hi = std::max(from, to);
    const double west = w.west, east = isNormal(w) ? double(w.east) : double(w.east) + kTwoPi;
    for (double shift : {-double(kTwoPi), 0.0, double(kTwoPi)})
        if (lo <= east + shift && hi >= west + shift)
            return true;
    return false;
}

void insertPoint(float* points, std::int32_t capacity, std::int32_t& n, std::int32_t at, Point p)
{
    if (n >= capacity)
        fatalCallerDimension("GEOPWC", "A");
    std::copy_backward(points + 2 * at, points + 2 * n, points + 2 * n + 2);
    setPoint(points, at, p);
    ++n;
}

bool nearSecond(Point a, Point b)
{
    return std::fabs(double(a.lon) - b.lon) < kRadPerSecond || std::fabs(double(a.lat) - b.lat) < kRadPerSecond;
}

}  // namespace

std::int32_t cutOutlineToWindow(std::int32_t mode, const Window& w, float* points, std::int32_t capacity,
                                std::int32_t n)
{
    n = GEOCUT(mode, w, points, n, points);
    const std::int32_t cut = n;
    GEOPWC(w, points, capacity, n);
    if (n != cut)
        n = GEOCUT(mode, w, points, n, points);
    return n;
}

void GEOPWC(const Window& w, float* points, std::int32_t capacity, std::int32_t& n)
{
    std::array<float, 14> outline{};
    const std::int32_t nOutline = windowOutline(w, outline.data());
    std::array<float, 2 * kMostWindowCrossings> found{};
    auto crossingsOf = [&](std::int32_t k, std::vector<Point>& sorted) {
        const Point a = pointOf(points, k), b = pointOf(points, k + 1);
        sorted.clear();
        if (pointInWindow(a, w) || pointInWindow(b, w) || !edgeNearWindow(a, b, w))
            return;
        const std::int32_t count = windowCrossings(a, b, outline.data(), nOutline, found.data());
        for (std::int32_t i = 0; i < count; ++i)
            sorted.push_back(pointOf(found.data(), i));
        std::sort(sorted.begin(), sorted.end(),
                  [&](Point p, Point q) { return distanceKm(a, p) < distanceKm(a, q); });
    };

    // Each edge over the window gains the point midway between its first and last crossing.
    std::vector<Point> sorted;
    for (std::int32_t k = 0; k + 1 < n; ++k) {
        crossingsOf(k, sorted);
        if (sorted.empty())
            continue;
        std::array<float, 6> line{};
        evenLine(sorted.front(), sorted.back(), 3, line.data());
        const Point middle = pointOf(line.data(), 1);
        if (pointInWindow(middle, w))
            insertPoint(points, capacity, n, ++k, middle);
    }
    // An edge still over the window (its middle fell just outside) gains its first crossing
    // inside the window, unless that lies within a second of arc of one of its ends.
    for (std::int32_t k = 0; k + 1 < n; ++k) {
        crossingsOf(k, sorted);
        const auto inside = std::find_if(sorted.begin(), sorted.end(), [&](Point p) {
            return pointInWindow(p, w) && !nearSecond(p, pointOf(points, k)) && !nearSecond(p, pointOf(points, k + 1));
        });
        if (inside != sorted.end())
            insertPoint(points, capacity, n, ++k, *inside);
    }
}

}  // namespace geo
