#include "CurrentMap.h"

#include "coords/CoordText.h"
#include "core/Fatal.h"
#include "core/FixedText.h"
#include "state/LibraryState.h"
#include "core/Utilities.h"
#include "files/IndexFile.h"
#include "files/PointFile.h"
#include "geometry/GreatCircle.h"
#include "geometry/LineCleanup.h"
#include "geometry/Polylines.h"
#include "map/LinePairs.h"
#include "map/MapOptions.h"
#include "geometry/Clipping.h"
#include "map/OutlineTrim.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>

namespace geo {
namespace {

CurrentMap& currentMap()
{
    return libraryState().map;
}

// A full record ends the process with its report, or, while overflows are quiet, abandons the
// map: no outlines, no pieces, and the next request rebuilds.
void overflow(std::string_view routine, const MapLimit& limit)
{
    CurrentMap& map = currentMap();
    MapState& s = map.state;
    if (!optionOn(Option::QuietOverflow)) {
        ErrorRecord& r = errorRecord();
        toFixed(r.messageLines[0], 60, increaseLine(limit));
        toFixed(r.messageLines[1], 60,
                " CENTER-POINT: " + writeCoordText(s.mapCentre.lon, s.mapCentre.lat, Layout::LatitudeFirst) +
                    "    RANGE:" + rightAligned(s.mapRadius, 8));
        fatal(FatalKind::FreeLines, routine);
    }
    s.rebuildPending = 1;
    s.mapKind = MapKind::None;
    map.outlines.outlineCount = 0;
    map.pieces.pieceCount = 0;
}

// The next entry of a record that holds `count`; none, the overflow handled, when it is full.
std::optional<std::size_t> nextEntry(std::int16_t& count, std::string_view routine, const MapLimit& limit,
                                     const MapLimit& reported)
{
    if (count >= limit.value) {
        overflow(routine, reported);
        return std::nullopt;
    }
    return std::size_t(count++);
}

std::optional<std::size_t> nextEntry(std::int16_t& count, std::string_view routine, const MapLimit& limit)
{
    return nextEntry(count, routine, limit, limit);
}

template <typename T, std::size_t N>
bool holds(const std::array<T, N>& list, std::int32_t count, const T& value)
{
    return contains(std::span(list.data(), std::size_t(count)), value);
}


bool isAreaKind(const IndexEntry& e)
{
    constexpr std::int32_t kLeftOutIslands[] = {1003000, 1002980, 1002990};
    if (e.kind == 'I')
        return std::find(std::begin(kLeftOutIslands), std::end(kLeftOutIslands), e.id) == std::end(kLeftOutIslands);
    return e.kind == 'B' || e.kind == 'C' || e.kind == 'X';
}

double spanOf(const Window& w)
{
    const double d = double(w.east) - w.west;
    return d < 0 ? d + kTwoPi : d;
}

Window spanningAll(Window w)
{
    if (spanOf(w) > kFullSpan) {
        w.west = -kPi;
        w.east = kPi;
    }
    return w;
}

// The window around both, its west and east compared on a longitude scale that runs on
// across 180 degrees from a's west edge.
Window windowUnion(const Window& a, const Window& b)
{
    const double bWest = a.west + wrapLongitude(double(b.west) - a.west);
    const double west = std::min(double(a.west), bWest);
    const double east = std::max(a.west + spanOf(a), bWest + spanOf(b));
    const float south = std::min(a.south, b.south), north = std::max(a.north, b.north);
    if (east - west > kFullSpan)
        return {-kPi, south, kPi, north};
    return {float(wrapLongitude(west)), south, float(wrapLongitude(east)), north};
}

bool inRange(const MapState& s, Point p, std::int32_t radiusKm)
{
    if (s.mapKind == MapKind::Circle)
        return distanceKm(s.mapCentre, p) <= float(radiusKm);
    return pointInWindow(p, s.mapWindow);
}

// One pass over the index: the lines and administrations near the map. False when a record
// overflowed.
bool takeAreaLines(CurrentMap& map, std::int32_t radiusKm, bool& found)
{
    MapState& s = map.state;
    AreaLineRecord& a = map.areas;
    const bool circle = s.mapKind == MapKind::Circle;
    const bool restricted = optionOn(Option::RestrictSymbol);
    openIndex();
    IndexEntry e;
    while (nextMapLine(e)) {
        const Window w = entryWindow(e);
        if (!windowsOverlap(w, s.mapWindow) || (circle && !nearWindow(w, s.mapCentre, float(radiusKm))))
            continue;
        const Symbol owner = toSymbol(e.owner);
        if (restricted && owner != s.restrictSymbol)
            continue;
        const bool listed = isPairLine(e.id);
        const bool kindL = e.kind == 'L' && s.kindLLinesOn != 0 && listed;
        if (!kindL && !isAreaKind(e))
            continue;
        if (kindL || !holds(a.areaLines, a.areaLineCount, e.id)) {
            const auto line = nextEntry(a.areaLineCount, "GEOSL", kAreaLinesLimit,
                                        a.mapCodeCount >= kMaxMapCodes ? kMapCodesLimit : kAreaLinesLimit);
            if (!line)
                return false;
            a.areaLines[*line] = e.id;
            if (kindL)
                s.holdsKindLLine = 1;
            else if (listed)
                s.holdsPairLine = 1;
            if (!kindL && !found && !listed) {
                const auto ends = entryEnds(e);
                found = inRange(s, ends[0], radiusKm) || inRange(s, ends[1], radiusKm);
            }
        }
        if (!holds(a.mapCodes, a.mapCodeCount, owner)) {
            const auto code = nextEntry(a.mapCodeCount, "GEOSL", kMapCodesLimit);
            if (!code)
                return false;
            a.mapCodes[*code] = owner;
        }
    }
    return true;
}

// True when a point of an area line lies in range: every tenth point on a circle map.
bool areaLineInRange(CurrentMap& map, std::int32_t radiusKm)
{
    const MapState& s = map.state;
    const std::int32_t step = s.mapKind == MapKind::Circle ? 10 : 1;
    for (std::int32_t k = 0; k < map.areas.areaLineCount; ++k) {
        const std::int32_t id = map.areas.areaLines[std::size_t(k)];
        if (isPairLine(id))
            continue;
        const std::int32_t n = readLineById(kGeoPoints, "GEOSL", id, map.lineBuffer.data(), kLineBufferPoints);
        for (std::int32_t i = 0; i < n; i += step) {
            if (inRange(s, pointOf(map.lineBuffer.data(), i), radiusKm))
                return true;
        }
    }
    return false;
}

// The lines of the rings of the map's administrations; a ring that holds an area line
// becomes an outline.
class RingCollector {
public:
    explicit RingCollector(CurrentMap& map) : m_map(map) {}

    bool run()
    {
        openIndex();
        IndexEntry e;
        while (nextMapLine(e)) {
            const Symbol owner = toSymbol(e.owner);
            if (!holds(m_map.areas.mapCodes, m_map.areas.mapCodeCount, owner))
                continue;
            const bool single = e.secondNumber == e.id;
            if (m_open) {
                if (owner == m_owner && e.id == m_next && !single) {
                    if (!append(e))
                        return false;
                    if (e.secondNumber == m_firstId) {
                        if (!close())
                            return false;
                    } else {
                        m_next = e.secondNumber;
                    }
                    continue;
                }
                drop();  // a broken chain; the entry that broke it starts afresh
            }
            m_open = true;
            m_start = m_map.rings.ringLineCount;
            m_owner = owner;
            m_firstId = e.id;
            m_next = e.secondNumber;
            if (!append(e) || (single && !close()))
                return false;
        }
        if (m_open)
            drop();
        return true;
    }

private:
    bool append(const IndexEntry& e)
    {
        RingLineRecord& r = m_map.rings;
        const auto k = nextEntry(r.ringLineCount, "GEOBRD", kRingLinesLimit);
        if (!k)
            return false;
        r.ringLineId[*k] = e.id;
        r.ringDirection[*k] = e.flag;
        r.ringKind[*k] = e.kind;
        return true;
    }

    void drop()
    {
        m_map.rings.ringLineCount = m_start;
        m_open = false;
    }

    bool close()
    {
        RingLineRecord& r = m_map.rings;
        OutlineRecord& o = m_map.outlines;
        const AreaLineRecord& a = m_map.areas;
        const auto first = r.ringLineId.begin() + m_start, last = r.ringLineId.begin() + r.ringLineCount;
        const bool used = std::any_of(first, last, [&](std::int32_t id) { return holds(a.areaLines, a.areaLineCount, id); });
        if (!used) {
            drop();
            return true;
        }
        m_open = false;
        const auto k = nextEntry(o.outlineCount, "GEOBRD", kOutlinesLimit);
        if (!k)
            return false;
        o.outlineSymbol[*k] = m_owner;
        o.ringFirst[*k] = std::int16_t(m_start + 1);
        o.ringLast[*k] = r.ringLineCount;
        o.outlinePairMarks[*k] = {0, 0};
        return true;
    }

    CurrentMap& m_map;
    bool m_open = false;
    std::int16_t m_start = 0;
    Symbol m_owner{};
    std::int32_t m_firstId = 0, m_next = 0;
};

// The points and pieces of the outlines, outline by outline, line by line.
class OutlineReader {
public:
    explicit OutlineReader(CurrentMap& map) : m_map(map) {}

    bool run()
    {
        for (std::int16_t k = 0; k < m_map.outlines.outlineCount; ++k) {
            if (!readOutline(k))
                return false;
        }
        return true;
    }

private:
    bool readOutline(std::int16_t k)
    {
        OutlineRecord& o = m_map.outlines;
        const RingLineRecord& r = m_map.rings;
        const std::int32_t start = m_outlineEnd + 1;
        for (std::int32_t j = o.ringFirst[k]; j <= o.ringLast[k]; ++j) {
            const auto ring = std::size_t(j - 1);
            const std::int32_t id = r.ringLineId[ring];
            const char direction = r.ringDirection[ring];
            const bool coast = r.ringKind[ring] == 'C' || r.ringKind[ring] == 'I';
            const auto* readBegin = o.readLineId.begin();
            const auto* readEnd = readBegin + o.readLineCount;
            const auto* shared = coast ? readEnd : std::find(readBegin, readEnd, id);
            const float* source = nullptr;
            std::int32_t n = 0;
            bool forward = true;
            if (shared != readEnd) {
                const auto s = std::size_t(shared - readBegin);
                source = o.outlinePoints.data() + 2 * (o.readFirst[s] - 1);
                n = o.readLast[s] - o.readFirst[s] + 1;
                forward = direction == o.readDirection[s];
                PieceRecord& p = m_map.pieces;
                for (std::int32_t i = 0; i < p.pieceCount; ++i) {
                    if (p.pieceLineId[std::size_t(i)] == id)
                        p.pieceCode2[std::size_t(i)] = std::int16_t(k + 1);
                }
            } else {
                if (!readNewLine(k, id, coast, n))
                    return false;
                source = m_map.lineBuffer.data();
                forward = direction == '1';
            }
            if (j > o.ringFirst[k] && m_outlineEnd >= start && n > 0) {
                const Point firstCopied = pointOf(source, forward ? 0 : n - 1);
                if (samePoint(pointOf(o.outlinePoints.data(), m_outlineEnd - 1), firstCopied))
                    --m_outlineEnd;
            }
            if (m_outlineEnd + n > kMaxOutlinePoints) {
                overflow("GEOBRD", kOutlinePointsLimit);
                return false;
            }
            if (shared == readEnd) {
                const auto s = nextEntry(o.readLineCount, "GEOBRD", kReadLinesLimit);
                if (!s)
                    return false;
                o.readLineId[*s] = id;
                o.readFirst[*s] = std::int16_t(m_outlineEnd + 1);
                o.readLast[*s] = std::int16_t(m_outlineEnd + n);
                o.readDirection[*s] = direction;
            }
            float* target = o.outlinePoints.data() + 2 * m_outlineEnd;
            (forward ? copyPointsForward : copyPointsBackward)(source, target, n);
            m_outlineEnd += n;
        }
        o.outlineFirst[std::size_t(k)] = std::int16_t(start);
        o.outlineLast[std::size_t(k)] = std::int16_t(m_outlineEnd);
        return true;
    }

    // Reads a line into the line buffer, thins it on a restricted map and adds its pieces.
    bool readNewLine(std::int16_t k, std::int32_t id, bool coast, std::int32_t& n)
    {
        MapState& s = m_map.state;
        float* buffer = m_map.lineBuffer.data();
        const MapLine line =
            GEOMLIN(fromSymbol(m_map.outlines.outlineSymbol[std::size_t(k)]), s.mapWindow, buffer, kLineBufferPoints, id);
        if (!line.found)
            fatalMissingLine("GEOBRD", id);
        n = line.count;
        if (line.status == 0)
            return true;
        if (optionOn(Option::RestrictSymbol) && m_outlineEnd + n <= kMaxOutlinePoints) {
            float* copy = m_map.outlines.outlinePoints.data() + 2 * m_outlineEnd;
            copyPointsForward(buffer, copy, n);
            n = thinLine(kThinToleranceKm, kThinLeastPoints, copy, n, buffer);
        }
        return addPieces(k, id, coast, line, n);
    }

    // Pieces of at most 126 points, neighbours sharing a point.
    bool addPieces(std::int16_t k, std::int32_t id, bool coast, const MapLine& line, std::int32_t n)
    {
        if (n <= kMaxPiecePointsEach)
            return addPiece(k, id, coast, line, 1, n, true);
        std::int32_t pieces = n / kMaxPiecePointsEach;
        std::int32_t step = n / pieces;
        if (step > kMaxPiecePointsEach) {
            ++pieces;
            step = n / pieces;
        }
        const std::int32_t rest = n - step * pieces;
        if (rest > 0)
            ++step;
        std::int32_t start = 1;
        for (std::int32_t m = 1; m <= pieces; ++m) {
            const std::int32_t end = m == pieces ? n : start + (rest > 0 && m >= rest ? step - 1 : step);
            if (!addPiece(k, id, coast, line, start, end, false))
                return false;
            start = end;
        }
        return true;
    }

    bool addPiece(std::int16_t k, std::int32_t id, bool coast, const MapLine& line, std::int32_t a, std::int32_t b,
                  bool whole)
    {
        const float* buffer = m_map.lineBuffer.data();
        const Window& mapWindow = m_map.state.mapWindow;
        const auto in = [&](std::int32_t i) { return pointInWindow(pointOf(buffer, i - 1), mapWindow); };
        if (line.status == 1 && b > a) {
            // Ends outside the map go, down to a two-point piece.
            while (!in(a) && !in(a + 1)) {
                if (++a == b) {
                    --a;
                    break;
                }
            }
            while (!in(b) && !in(b - 1)) {
                if (--b == a) {
                    ++b;
                    break;
                }
            }
        }
        PieceRecord& p = m_map.pieces;
        const std::int32_t count = b - a + 1;
        if (p.pieceCount < kMaxPieces && m_pieceEnd + count > kMaxPiecePoints) {
            overflow("GEOBRD", kPiecePointsLimit);
            return false;
        }
        const auto slot = nextEntry(p.pieceCount, "GEOBRD", kPiecesLimit);
        if (!slot)
            return false;
        const std::size_t i = *slot;
        p.pieceLineId[i] = id;
        p.pieceFirst[i] = std::int16_t(m_pieceEnd + 1);
        p.pieceLast[i] = std::int16_t(m_pieceEnd + count);
        p.pieceWindow[i] = whole && line.status == 2 ? line.window : boundingWindow(buffer + 2 * (a - 1), count);
        p.pieceCoastFlag[i] = coast ? '1' : '0';
        p.pieceCode1[i] = std::int16_t(k + 1);
        p.pieceCode2[i] = 0;
        copyPointsForward(buffer + 2 * (a - 1), p.piecePoints.data() + 2 * m_pieceEnd, count);
        m_pieceEnd += count;
        return true;
    }

    CurrentMap& m_map;
    std::int32_t m_outlineEnd = 0;  // points used in outlinePoints
    std::int32_t m_pieceEnd = 0;    // and in piecePoints
};

// Outlines reaching beyond the map are cut at its window.
void clipOutlines(CurrentMap& map)
{
    OutlineRecord& o = map.outlines;
    const Window& w = map.state.mapWindow;
    float* points = o.outlinePoints.data();
    for (std::size_t k = 0; k < std::size_t(o.outlineCount); ++k) {
        std::int32_t first = o.outlineFirst[k], last = o.outlineLast[k];
        o.outlineWindow[k] = boundingWindow(points + 2 * (first - 1), last - first + 1);
        if (windowInWindow(o.outlineWindow[k], w))
            continue;
        float* outline = points + 2 * (first - 1);
        last = first + GEOCUT(1, w, outline, last - first + 1, outline) - 1;
        GEOTRIM(w, points, first, last);
        o.outlineFirst[k] = std::int16_t(first);
        o.outlineLast[k] = std::int16_t(last);
        o.outlineWindow[k] = boundingWindow(points + 2 * (first - 1), last - first + 1);
    }
}

template <typename T, std::size_t N>
void numberInOrder(std::array<T, N>& list, std::int32_t count)
{
    for (std::int32_t i = 0; i < count; ++i)
        list[std::size_t(i)] = T(i + 1);
}

// The window request's outline, with the mid-points of its south and north edges (or a pole
// where such a point falls outside the window's longitudes), and the window around them.
struct BulgedWindow {
    std::array<float, 2 * 9> points{};
    std::int32_t count = 0;
    Window window{};
};

BulgedWindow bulged(const Window& w)
{
    BulgedWindow b;
    b.count = windowOutline(w, b.points.data());
    for (const float lat : {w.south, w.north}) {
        const Point a{w.west, lat}, e{w.east, lat};
        const DistanceAzimuth da = distanceAzimuth(a, e);
        Point mid = destination(a, da.distanceKm / 2, da.azimuthDeg);
        if (!pointInWindow({mid.lon, w.south}, w))
            mid = lat < 0 ? Point{w.west, -kHalfPi} : Point{w.east, kHalfPi};
        setPoint(b.points.data(), b.count++, mid);
    }
    b.window = boundingWindow(b.points.data(), b.count);
    b.window.west = w.west;
    b.window.east = w.east;
    return b;
}

bool holdsCircle(const MapState& s, Point p, std::int32_t d)
{
    if (s.mapKind == MapKind::Circle)
        return distanceKm(s.mapCentre, p) + float(d) <= float(s.mapRadius - kHeldMarginKm);
    if (s.mapKind == MapKind::Window)
        return d <= 0 ? pointInWindow(p, s.mapWindow) : windowInWindow(circleWindow(p, float(d)), s.mapWindow);
    return false;
}

bool holdsWindow(const MapState& s, const BulgedWindow& b)
{
    if (s.mapKind == MapKind::Circle) {
        for (std::int32_t i = 0; i < b.count; ++i) {
            if (distanceKm(s.mapCentre, pointOf(b.points.data(), i)) > float(s.mapRadius))
                return false;
        }
        return true;
    }
    return s.mapKind == MapKind::Window && windowInWindow(b.window, s.mapWindow);
}

// The largest circle about the window's centre that lies in the window, at least 1 km.
std::int32_t radiusInside(const Window& w, Point centre)
{
    // Held to the sphere, so that the search below stays short whatever the window.
    auto wholeKm = [](double km) { return km > 0 ? std::int32_t(std::min(km, double(kFarKm))) : 0; };
    const std::int32_t r1 = wholeKm(std::fabs(double(w.north) - centre.lat) * kEarthRadiusKm);
    const std::int32_t r2 = wholeKm(distanceKm(centre, {w.east, centre.lat}));
    std::int32_t radius = std::max(std::min(r1, r2), 1);
    while (radius > 1 && !windowInWindow(circleWindow(centre, float(radius)), w))
        --radius;
    return radius;
}

}  // namespace

Window entryWindow(const IndexEntry& e)
{
    return windowOf(e.window.data());
}

std::array<Point, 2> entryEnds(const IndexEntry& e)
{
    const std::vector<unsigned char> bytes(e.data.begin(), e.data.end());
    ByteReader in(bytes);
    std::array<Point, 2> ends{};
    for (Point& p : ends) {
        p.lon = in.real32();
        p.lat = in.real32();
    }
    return ends;
}

void GEOMAP(std::int32_t kind, const float* place, std::int32_t dist)
{
    MapState& s = currentMap().state;
    if (s.mapGeneration != 0 && optionOn(Option::FrozenMap))
        return;
    Point centre{};
    std::int32_t radius = 0;
    // A place that is no place (NaN or infinite) makes no map: the current one stays.
    auto finite = [place](int values) { return std::all_of(place, place + values, [](float v) { return std::isfinite(v); }); };
    if (kind == std::int32_t(MapKind::Circle)) {
        if (!finite(2))
            return;
        const Point p = pointOf(place, 0);
        const auto d = std::int32_t(std::min<std::int64_t>(std::llabs(std::int64_t(dist)), kWidestMapKm));
        if (holdsCircle(s, p, d) && s.rebuildPending == 0)
            return;
        centre = p;
        radius = std::max(d + kMapMarginKm, kSmallestMapKm);
    } else if (kind == std::int32_t(MapKind::Window)) {
        if (!finite(4))
            return;
        const BulgedWindow b = bulged(windowOf(place));
        if (holdsWindow(s, b) && s.rebuildPending == 0)
            return;
        Window wide = b.window;
        widenWindow(0, kMapWindowMarginSeconds, wide);
        centre = windowCentre(wide);
        radius = radiusInside(wide, centre);
        s.mapWindow = wide;
    } else {
        fatalMessage("GEOMAP", " The argument  IVAL  must be 1 or 2");
    }
    s.mapKind = MapKind(kind);
    s.rebuildPending = 0;
    GEOSL(centre, radius);
    GEOBRD();
}

void GEOINM(Point p, std::int32_t dist)
{
    const float place[2] = {p.lon, p.lat};
    GEOMAP(std::int32_t(MapKind::Circle), place, dist);
}

void GEOSL(Point centre, std::int32_t radiusKm)
{
    CurrentMap& map = currentMap();
    MapState& s = map.state;
    AreaLineRecord& a = map.areas;
    s.mapCentre = centre;
    for (std::int32_t r = radiusKm;; r += kMapSearchStepKm) {
        if (r >= kMapSearchLimitKm && r != radiusKm) {
            a.areaLineCount = 0;
            a.mapCodeCount = 0;
            return;
        }
        s.mapRadius = std::int16_t(r);
        a.areaLineCount = 0;
        a.mapCodeCount = 0;
        s.holdsPairLine = 0;
        s.holdsKindLLine = 0;
        ++s.mapGeneration;
        const Window square = circleWindow(centre, float(r));
        s.mapWindow = spanningAll(s.mapKind == MapKind::Circle ? square : windowUnion(s.mapWindow, square));
        bool found = false;
        if (!takeAreaLines(map, r, found)) {
            a.areaLineCount = 0;
            a.mapCodeCount = 0;
            return;
        }
        if (found || areaLineInRange(map, r))
            return;
    }
}

void GEOBRD()
{
    CurrentMap& map = currentMap();
    map.outlines.outlineCount = 0;
    map.outlines.readLineCount = 0;
    map.rings.ringLineCount = 0;
    map.pieces.pieceCount = 0;
    if (map.areas.mapCodeCount == 0 || map.state.rebuildPending != 0)
        return;
    if (!RingCollector(map).run() || map.outlines.outlineCount == 0)
        return;
    // The pair table looks at the outlines' ring lines: no line is read yet.
    std::int16_t unused = 0;
    if (map.state.holdsPairLine != 0)
        GEOLNPR(2, 0, unused);
    if (map.state.holdsKindLLine != 0)
        GEOLNPR(3, 0, unused);
    if (!OutlineReader(map).run())
        return;
    clipOutlines(map);
    numberInOrder(map.outlines.outlineSeq, map.outlines.outlineCount);
    numberInOrder(map.pieces.pieceSeq, map.pieces.pieceCount);
}

std::string increaseLine(const MapLimit& limit)
{
    return " INCREASE  " + std::string(limit.name) + "/" + rightAligned(limit.value, limit.width) + "/  IN " +
           std::string(limit.record);
}

MapLine GEOMLIN(std::string_view symbol, const Window& w, float* points, std::int32_t capacity, std::int32_t lineId)
{
    MapLine line;
    const LineFetch f = readLine(kGeoPoints, std::int32_t(FetchMode::ById), points, capacity, lineId);
    if (!f.flag)
        return line;
    line.found = true;
    line.count = f.count;
    if (f.count < 1)
        return line;  // a line without points adds nothing
    line.window = boundingWindow(points, f.count);
    if (windowsOverlap(line.window, w)) {
        if (windowInWindow(line.window, w)) {
            line.status = 2;
            return line;
        }
        line.count = GEOCUT(1, w, points, line.count, points);
        const std::int32_t cut = line.count;
        GEOPWC(w, points, capacity, line.count);
        if (line.count != cut) {
            line.count = GEOCUT(1, w, points, line.count, points);
            line.status = 1;
        } else {
            line.status = GEOPIWF(1, points, std::int16_t(std::min(line.count, 32767)), w) != 0 ? 1 : 0;
        }
        return line;
    }
    // Outside: the two ends stand for the line.
    line.status = 0;
    setPoint(points, 1, pointOf(points, f.count - 1));
    line.count = 2;
    if (isNormal(w) && symbol == "RUS") {
        constexpr std::int32_t kEastwardLines[] = {5000831, 5000802, 5000811};
        const bool eastward =
            std::find(std::begin(kEastwardLines), std::end(kEastwardLines), lineId) != std::end(kEastwardLines);
        const float shift = eastward ? (w.east > 0 ? kTwoPi : 0.0f) : (w.east <= 0 ? -kTwoPi : 0.0f);
        points[0] = float(double(points[0]) + shift);
        points[2] = float(double(points[2]) + shift);
    }
    return line;
}

bool requestInMap(std::int32_t kind, const float* place, std::int32_t dist)
{
    const Window& mapWindow = libraryState().map.state.mapWindow;
    if (kind == std::int32_t(MapKind::Circle)) {
        const float d = float(std::min<std::int64_t>(std::llabs(std::int64_t(dist)), kWidestMapKm));
        return windowInWindow(circleWindow(pointOf(place, 0), d + kRequestMarginKm), mapWindow);
    }
    return windowInWindow(windowOf(place), mapWindow);
}

bool GEOPIM(Point p)
{
    const MapState& s = currentMap().state;
    if (s.mapKind == MapKind::Circle)
        return float(s.mapRadius) >= distanceKm(p, s.mapCentre);
    return s.mapKind == MapKind::Window && pointInWindow(p, s.mapWindow);
}

}  // namespace geo
