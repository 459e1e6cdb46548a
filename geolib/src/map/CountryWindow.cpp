#include "map/CountryWindow.h"

#include "coords/CoordText.h"
#include "core/Fatal.h"
#include "state/LibraryState.h"
#include "files/IndexFile.h"
#include "files/PointFile.h"
#include "geometry/Crossings.h"
#include "geometry/GreatCircle.h"
#include "geometry/Polylines.h"
#include "geometry/Clipping.h"
#include "map/CurrentMap.h"
#include "map/OutlineTrim.h"
#include "geometry/PointInPolygon.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace geo {

namespace {

using Ring = CountryWindow::Ring;

// GEOCIW reports the outline points under a record of its own.
constexpr MapLimit kWindowOutlinePointsLimit{kOutlinePointsLimit.name, kOutlinePointsLimit.value,
                                             kOutlinePointsLimit.width, "GEOQQ77"};

[[noreturn]] void overflow(std::string_view routine, const MapLimit& limit)
{
    fatalMessage(routine, increaseLine(limit));
}

// The outlines of GEODCW within the map's limits of ring lines and outlines.
class RingBuilder {
public:
    explicit RingBuilder(CountryWindow& c) : m_c(c) {}

    void open()
    {
        if (std::int32_t(m_c.rings.size()) >= kMaxOutlines)
            overflow("GEODCW", kOutlinesLimit);
        m_c.rings.emplace_back();
    }

    void add(std::int32_t id, char direction, char kind)
    {
        if (m_lines >= kMaxRingLines)
            overflow("GEODCW", kRingLinesLimit);
        ++m_lines;
        Ring& r = m_c.rings.back();
        r.lineId.push_back(id);
        r.direction.push_back(direction);
        r.kind.push_back(kind);
    }

    // A ring that broke off before it closed.
    void drop()
    {
        m_lines -= std::int32_t(m_c.rings.back().lineId.size());
        m_c.rings.pop_back();
    }

private:
    CountryWindow& m_c;
    std::int32_t m_lines = 0;
};

void regionRings(CountryWindow& c)
{
    RingBuilder b(c);
    for (const RegionGroup& g : regionGroups()) {
        if (g.region != c.region)
            continue;
        b.open();
        for (const RegionLine& l : g.lines)
            b.add(l.id, l.reversed ? '2' : '1', ' ');
    }
}

// The rings of the code's lines in the index file. A ring cut short by another owner's entry
// or by the end of the file is dropped; an own entry that does not continue it is fatal.
void indexRings(CountryWindow& c)
{
    RingBuilder b(c);
    bool open = false;
    std::int32_t firstId = 0, next = 0;
    openIndex();
    for (IndexEntry e; nextMapLine(e);) {
        const bool own = e.owner == c.code && std::string_view("BCIX").find(e.kind) != std::string_view::npos;
        if (!own) {
            if (open && e.owner != c.code) {
                b.drop();
                open = false;
            }
            continue;
        }
        if (open && e.id != next)
            fatalMessage("GEODCW", " INDEXFILE IN STRANGE WAY (NOT SUPPORTED WAY)");
        if (!open) {
            b.open();
            firstId = e.id;
        }
        b.add(e.id, e.flag, e.kind);
        open = e.secondNumber != firstId;
        next = e.secondNumber;
    }
    if (open)
        b.drop();
}

// Where the segment from the inside point to the outside point crosses the window's border;
// none when the inside point lies on the border itself.
std::optional<Point> borderCrossing(const Window& w, Point inside, Point outside)
{
    float border[14], segment[4] = {inside.lon, inside.lat, outside.lon, outside.lat}, found[2 * 6];
    const std::int32_t nb = windowOutline(w, border);
    CrossingOutput<float> out{found, nullptr, 6};
    crossTwoLines(segment, 2, border, nb, {isNormal(w), 0, double(kCrossingTolerance), double(kPi), nullptr}, out);
    if (out.count == 0)
        return std::nullopt;
    std::int32_t best = 0;
    for (std::int32_t k = 1; k < out.count; ++k)
        if (distanceKm(inside, pointOf(found, k)) < distanceKm(inside, pointOf(found, best)))
            best = k;
    if (samePoint(pointOf(found, best), inside))
        return std::nullopt;
    return pointOf(found, best);
}

// The runs of outline points inside the window, each ending where it crosses the border.
void insideRuns(const Window& w, const std::vector<float>& outline, char kind, std::vector<OutlinePiece>& pieces)
{
    const auto n = std::int32_t(outline.size() / 2);
    for (std::int32_t a = 0; a < n; ++a) {
        if (!pointInWindow(pointOf(outline.data(), a), w))
            continue;
        std::int32_t b = a;
        while (b + 1 < n && pointInWindow(pointOf(outline.data(), b + 1), w))
            ++b;
        OutlinePiece piece{{}, kind};
        auto push = [&](Point p) { piece.points.insert(piece.points.end(), {p.lon, p.lat}); };
        if (a > 0)
            if (const auto p = borderCrossing(w, pointOf(outline.data(), a), pointOf(outline.data(), a - 1)))
                push(*p);
        for (std::int32_t i = a; i <= b; ++i)
            push(pointOf(outline.data(), i));
        if (b + 1 < n)
            if (const auto p = borderCrossing(w, pointOf(outline.data(), b), pointOf(outline.data(), b + 1)))
                push(*p);
        pieces.push_back(std::move(piece));
        a = b;
    }
}

// The stretches of the window's edges that lie inside the outline, densified.
void edgePieces(const Window& w, const std::vector<float>& outline, std::int32_t capacity,
                std::vector<OutlinePiece>& pieces)
{
    const auto n = std::int32_t(outline.size() / 2);
    const Window ow = boundingWindow(outline.data(), n);
    const Point corners[5] = {{w.west, w.south}, {w.west, w.north}, {w.east, w.north}, {w.east, w.south}, {w.west, w.south}};
    for (int k = 0; k < 4; ++k) {
        float edge[4] = {corners[k].lon, corners[k].lat, corners[k + 1].lon, corners[k + 1].lat};
        std::vector<float> found(2 * (kMostEdgeCrossings + 1));
        CrossingOutput<float> out{found.data(), nullptr, kMostEdgeCrossings + 1};
        crossTwoLines(edge, 2, outline.data(), n, {isNormal(w), 0, double(kCrossingTolerance), double(kPi), nullptr}, out);
        if (out.count + out.overflow > kMostEdgeCrossings)
            fatalMessage("GEOCIW", " INCREASE  MXCVDV/" + rightAligned(kMostEdgeCrossings, 3) + "/");
        std::vector<Point> stops{corners[k], corners[k + 1]};
        for (std::int32_t i = 0; i < out.count; ++i)
            stops.push_back(pointOf(found.data(), i));
        std::stable_sort(stops.begin(), stops.end(), [&](Point a, Point b) {
            return distanceKm(corners[k], a) < distanceKm(corners[k], b);
        });
        for (std::size_t i = 0; i + 1 < stops.size(); ++i) {
            float thirds[6];
            evenLine(stops[i], stops[i + 1], 3, thirds);
            if (distanceKm(stops[i], stops[i + 1]) <= kShortestEdgePieceKm ||
                !GEOPIA(pointOf(thirds, 1), ow, outline.data(), n))
                continue;
            std::vector<float> part(2 * std::size_t(std::max(capacity, 2)));
            setPoint(part.data(), 0, stops[i]);
            setPoint(part.data(), 1, stops[i + 1]);
            std::int32_t count = 2;
            densify(0, kRegionStepKm, std::max(capacity, 2), part.data(), count);
            part.resize(2 * std::size_t(count));
            pieces.push_back({std::move(part), ' '});
        }
    }
}

// Assembles a ring's outline: its lines cut to the window (countries) or whole (regions).
std::vector<float> assemble(const CountryWindow& c, const Ring& ring)
{
    const bool whole = c.region != 0;
    std::vector<float> outline, line(2 * std::size_t(kLineBufferPoints));
    for (std::size_t j = 0; j < ring.lineId.size(); ++j) {
        const std::int32_t id = ring.lineId[j];
        std::int32_t n = 0;
        if (whole) {
            n = readLineById(kGeoPoints, "GEOCIW", id, line.data(), kLineBufferPoints);
            if (id > kFirstRegionLineId) {
                densify(0, kRegionStepKm, kLineBufferPoints, line.data(), n);
                for (std::int32_t i = 0; i < n; ++i) {
                    line[2 * std::size_t(i)] = std::clamp(line[2 * std::size_t(i)], -kRegionLonLimit, kRegionLonLimit);
                    line[2 * std::size_t(i) + 1] =
                        std::clamp(line[2 * std::size_t(i) + 1], -kRegionLatLimit, kRegionLatLimit);
                }
            }
        } else {
            const MapLine m = GEOMLIN(c.code, c.window, line.data(), kLineBufferPoints, id);
            if (!m.found)
                fatalMissingLine("GEOCIW", id);
            n = m.count;
        }
        if (ring.direction[j] != '1')
            for (std::int32_t i = 0; i < n / 2; ++i) {
                std::swap(line[2 * std::size_t(i)], line[2 * std::size_t(n - 1 - i)]);
                std::swap(line[2 * std::size_t(i) + 1], line[2 * std::size_t(n - 1 - i) + 1]);
            }
        std::int32_t from = 0;
        if (j > 0 && n > 0 && !outline.empty() &&
            samePoint(pointOf(line.data(), 0), pointOf(outline.data(), long(outline.size() / 2) - 1)))
            from = 1;
        if (std::int64_t(outline.size() / 2) + n - from > kMaxOutlinePoints)
            overflow("GEOCIW", kWindowOutlinePointsLimit);
        outline.insert(outline.end(), line.begin() + 2 * from, line.begin() + 2 * n);
    }
    if (whole || outline.size() < 2)
        return outline;
    const auto n = std::int32_t(outline.size() / 2);
    if (!windowInWindow(boundingWindow(outline.data(), n), c.window)) {
        std::int32_t first = 1, last = GEOCUT(1, c.window, outline.data(), n, outline.data());
        GEOTRIM(c.window, outline.data(), first, last);
        outline.erase(outline.begin() + 2 * last, outline.end());
        outline.erase(outline.begin(), outline.begin() + 2 * (first - 1));
    }
    return outline;
}

// The next outline that reaches the window, in parts for the caller; false after the last.
bool nextOutline(const CountryWindow& c, OutlineWalk& walk, std::int32_t capacity)
{
    walk.pending.clear();
    walk.nextPiece = 0;
    while (walk.nextRing < c.rings.size()) {
        const Ring& ring = c.rings[walk.nextRing++];
        std::vector<float> outline = assemble(c, ring);
        const auto n = std::int32_t(outline.size() / 2);
        if (n == 0 || !windowsOverlap(boundingWindow(outline.data(), n), c.window))
            continue;
        const char kind = std::all_of(ring.kind.begin(), ring.kind.end(), [](char k) { return k == 'I'; }) ? 'I' : ' ';
        if (capacity <= kWholeOutlineCapacity) {
            walk.pending.push_back({std::move(outline), kind});
            return true;
        }
        insideRuns(c.window, outline, kind, walk.pending);
        for (std::int32_t i = 0; i < n; ++i)
            if (!pointInWindow(pointOf(outline.data(), i), c.window)) {
                edgePieces(c.window, outline, capacity, walk.pending);
                break;
            }
        if (!walk.pending.empty())
            return true;
    }
    walk.nextRing = 0;
    return false;
}

}  // namespace

void GEODCW(const Window& w, std::string_view code)
{
    RegionState& s = libraryState().regions;
    CurrentMap& map = libraryState().map;
    CountryWindow& c = s.countryWindow;
    c = CountryWindow{};
    c.window = w;
    const Point corners[5] = {{w.west, w.south}, {w.west, w.north}, {w.east, w.north}, {w.east, w.south}, {w.west, w.south}};
    for (int k = 0; k < 5; ++k)
        setPoint(c.outline.data(), k, corners[k]);
    c.code = std::string(code);
    s.countryWindowArmed = true;
    // The outline table is GEODCW's now; the next GEOMAP builds the map afresh.
    map.state.rebuildPending = 2;
    map.outlines.outlineCount = 0;
    c.region = regionOf(code);
    if (c.region != 0)
        regionRings(c);
    else
        indexRings(c);
    c.empty = c.rings.empty();
    s.outlineWalk = OutlineWalk{};
}

OutlinePart GEOCIW(std::int16_t unitCode, float* points, std::int32_t capacity)
{
    RegionState& s = libraryState().regions;
    OutlineWalk& walk = s.outlineWalk;
    if (!s.countryWindowArmed)
        return {};
    if (walk.nextPiece >= walk.pending.size() && !nextOutline(s.countryWindow, walk, capacity))
        return {};
    const OutlinePiece& piece = walk.pending[walk.nextPiece++];
    OutlinePart r;
    r.status = 0;
    r.kind = piece.kind;
    r.count = std::min(std::int32_t(piece.points.size() / 2), points ? std::max(capacity, 0) : 0);
    std::copy_n(piece.points.begin(), 2 * r.count, points);
    convertUnits(unitCode, points, std::int16_t(r.count));
    return r;
}

}  // namespace geo
