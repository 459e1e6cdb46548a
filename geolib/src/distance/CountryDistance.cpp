#include "distance/CountryDistance.h"

#include "core/Fatal.h"
#include "core/FixedText.h"
#include "state/LibraryState.h"
#include "core/Utilities.h"
#include "files/BinaryFile.h"
#include "files/CountryFile.h"
#include "files/IndexFile.h"
#include "files/PointFile.h"
#include "geometry/Crossings.h"
#include "geometry/GreatCircle.h"
#include "map/CurrentMap.h"
#include "map/Radial.h"
#include "map/SymbolAtPoint.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace geo {
namespace {

constexpr std::int32_t kStretchPoints = 76;  // GEODC1 walks outlines in stretches of this many
constexpr float kRestMarginKm = 4.0f;        // the map's edge counts this much nearer
constexpr float kInsideMapKm = 10.0f;        // GEODCC1 answers from the map this far inside it
constexpr int kMostRayCrossings = 16;

const float* pointsFrom(const float* all, std::int32_t first)
{
    return all + 2 * std::ptrdiff_t(first - 1);
}

void setSlot(std::size_t i, Point q)
{
    nearestPointStore().nearestPoints[i] = q;
}

void circleMap(Point p, std::int32_t radiusKm)
{
    const float place[2] = {p.lon, p.lat};
    GEOMAP(1, place, radiusKm);
}

std::int32_t truncatedPlusOne(float km)
{
    return std::int32_t(km) + 1;
}

// The line of an index entry, read whole into the line buffer; a missing line is a fatal
// error of `routine`.
const float* readEntryLine(std::string_view routine, const IndexEntry& e, std::int32_t& n)
{
    float* buffer = libraryState().map.lineBuffer.data();
    n = readLineById(kGeoPoints, routine, e.id, buffer, kLineBufferPoints);
    return buffer;
}

// Walks the index file's map lines from its start.
template <class Visit>
void eachIndexLine(Visit visit)
{
    openIndex();
    IndexEntry e;
    while (nextMapLine(e))
        visit(e);
}

// The outlines of the current map: symbol, window and points.
template <class Visit>
void eachOutline(Visit visit)
{
    const OutlineRecord& o = libraryState().map.outlines;
    for (std::int16_t j = 0; j < o.outlineCount; ++j) {
        const std::int32_t first = o.outlineFirst[std::size_t(j)], last = o.outlineLast[std::size_t(j)];
        visit(fromSymbol(o.outlineSymbol[std::size_t(j)]), o.outlineWindow[std::size_t(j)],
              pointsFrom(o.outlinePoints.data(), first), last - first + 1);
    }
}

// A country's list entry: 0 for the country at the point, else the nearest point of its line
// when that comes within the bound.
struct CountrySearch {
    Point p;
    float radiusKm;
    const Exclusions& excluded;
    std::string here;
    Window square;
    DistanceList& list;

    bool wanted(const std::string& symbol, const Window& w) const
    {
        return !isBlank(symbol) && windowsOverlap(w, square) && !excluded.holds(symbol);
    }

    float bound(const std::string& symbol) const
    {
        const std::int32_t i = list.find(symbol);
        return i > 0 ? list.entry(i).distanceKm : radiusKm + kBoundMarginKm;
    }

    template <class Line>
    void visit(const std::string& symbol, const Window& w, float skipAboveKm, Line line)
    {
        LineDistance r{p, 0.0f, 0.0f};
        if (symbol != here) {
            if (!nearWindow(w, p, bound(symbol)))
                return;
            std::int32_t n = 0;
            const float* points = line(n);
            GEODTL(p, points, n, r);
            if (r.distanceKm > skipAboveKm)
                return;
        }
        setSlot(0, r.nearest);
        const std::int32_t i = list.find(symbol);
        if (i == 0)
            list.store(symbol, r.distanceKm, r.azimuthDeg, r.nearest);
        else if (r.distanceKm < list.entry(i).distanceKm)
            list.update(i, r.distanceKm, r.azimuthDeg, r.nearest);
    }
};

}  // namespace

bool Exclusions::holds(std::string_view code) const
{
    return codes && count > 0 && codePosition(code.data(), codes, count, 3) != 0;
}

namespace {

// The nearest line so far of a single-distance search, its point in slot 1; the square around
// the point shrinks with it.
struct NearestLine {
    Point p;
    Bearing b;
    Window square;

    NearestLine(Point at, float boundKm) : p(at), b{boundKm, 0.0f}, square(circleWindow(at, boundKm)) {}

    bool near(const Window& w) const { return windowsOverlap(w, square) && nearWindow(w, p, b.distanceKm); }

    void offer(const float* points, std::int32_t n, bool tieTakes)
    {
        LineDistance r;
        GEODTL(p, points, n, r);
        if (r.distanceKm < b.distanceKm || (tieTakes && r.distanceKm == b.distanceKm)) {
            b = {r.distanceKm, r.azimuthDeg};
            setSlot(1, r.nearest);
            square = circleWindow(p, b.distanceKm);
        }
    }
};

}  // namespace

Bearing GEODC1(Point p, std::string_view country, float maxDistKm)
{
    circleMap(p, truncatedPlusOne(maxDistKm));
    if (GEOPLC2(p) == country) {
        setSlot(1, p);
        return {0.0f, 0.0f};
    }
    NearestLine best(p, maxDistKm + kBoundMarginKm);
    eachOutline([&](const std::string& symbol, const Window& w, const float* points, std::int32_t n) {
        if (symbol != country || !best.near(w))
            return;
        for (std::int32_t first = 0; first + 1 < n || first == 0; first += kStretchPoints - 1) {
            const std::int32_t count = std::min(kStretchPoints, n - first);
            if (count == n || best.near(boundingWindow(points + 2 * first, count)))
                best.offer(points + 2 * first, count, false);
        }
    });
    if (best.b.distanceKm > maxDistKm)
        best.b.distanceKm = kNotFoundKm;
    return best.b;
}

Bearing GEODC9(Point p, std::string_view country, float maxDistKm)
{
    std::string code(country);
    upperCase437(code.data(), long(code.size()));
    const float maxKm = std::clamp(maxDistKm, 0.0f, kFarthestFoundKm);
    if (GEOPLC(p) == code) {
        setSlot(1, p);
        return {0.0f, 0.0f};
    }
    NearestLine best(p, maxKm + kBoundMarginKm);
    eachIndexLine([&](const IndexEntry& e) {
        if (e.owner != code || !best.near(entryWindow(e)))
            return;
        std::int32_t n = 0;
        const float* points = readEntryLine("GEODC9", e, n);
        best.offer(points, n, true);
    });
    if (best.b.distanceKm > maxKm)
        best.b.distanceKm = kFarKm;
    return best.b;
}

DistanceList GEODCM1(Point p, float radiusKm, const Exclusions& excluded, std::int32_t capacity)
{
    circleMap(p, truncatedPlusOne(radiusKm));
    DistanceList list("GEODCM1", capacity);
    if (!list.hasRoom())
        return list;
    CountrySearch search{p, radiusKm, excluded, GEOPLC2(p), circleWindow(p, radiusKm), list};
    eachOutline([&](const std::string& symbol, const Window& w, const float* points, std::int32_t n) {
        if (search.wanted(symbol, w))
            search.visit(symbol, w, radiusKm, [&](std::int32_t& count) {
                count = n;
                return points;
            });
    });
    list.sort();
    return list;
}

DistanceList GEODCM9(Point p, float radiusKm, const Exclusions& excluded, std::int32_t capacity)
{
    DistanceList list("GEODCM9", capacity);
    if (!list.hasRoom())
        return list;
    CountrySearch search{p, radiusKm, excluded, GEOPLC(p), circleWindow(p, radiusKm), list};
    eachIndexLine([&](const IndexEntry& e) {
        const Window w = entryWindow(e);
        if (search.wanted(e.owner, w))
            search.visit(e.owner, w, search.bound(e.owner),
                         [&](std::int32_t& count) { return readEntryLine("GEODCM9", e, count); });
    });
    list.sort();
    return list;
}

OtherCountry GEODCC1(Point p, float maxDistKm, const Exclusions& excluded)
{
    const std::string here = GEOPLC(p);
    const MapState& m = libraryState().map.state;
    const float rest = std::max(0.0f, float(m.mapRadius) - kRestMarginKm - distanceKm(p, m.mapCentre));
    OtherCountry r;
    if (rest > kInsideMapKm) {
        const DistanceList list = GEODCM1(p, rest, excluded, 2);
        for (std::int32_t i = 1; i <= list.count(); ++i) {
            const ListEntry& e = list.entry(i);
            if (e.symbol == here)
                continue;
            // Nothing lies within the maximum when the nearest other country lies beyond it.
            if (e.distanceKm > maxDistKm)
                return {p, false, maxDistKm, 0.0f, "   "};
            return {nearestPointStore().nearestPoints[std::size_t(i)], true, e.distanceKm, e.azimuthDeg, e.symbol};
        }
    }
    r.distanceKm = maxDistKm;
    const auto counts = [&](const IndexEntry& e) {
        return (e.kind == 'B' || e.kind == 'C' || e.kind == 'I') && e.owner != here && !excluded.holds(e.owner);
    };
    eachIndexLine([&](const IndexEntry& e) {
        if (!counts(e))
            return;
        const auto ends = entryEnds(e);
        float d = distanceKm(p, ends[0]);
        if (e.kind != 'I')
            d = std::min(d, distanceKm(p, ends[1]));
        if (d <= r.distanceKm)
            r.distanceKm = d, r.country = e.owner;
    });
    eachIndexLine([&](const IndexEntry& e) {
        if (!counts(e) || !nearWindow(entryWindow(e), p, r.distanceKm))
            return;
        std::int32_t n = 0;
        const float* points = readEntryLine("GEODCC1", e, n);
        LineDistance q;
        GEODTL(p, points, n, q);
        if (q.distanceKm <= r.distanceKm)
            r = {q.nearest, true, q.distanceKm, q.azimuthDeg, e.owner};
    });
    return r;
}

Coast GEODW1(Point p, float maxDistKm)
{
    Coast c;
    c.bearing = {maxDistKm + kBoundMarginKm, 0.0f};
    circleMap(p, roundHalfAway(c.bearing.distanceKm));
    c.country = GEOPLC2(p);
    const PieceRecord& pieces = libraryState().map.pieces;
    for (std::int16_t k = 0; k < pieces.pieceCount; ++k) {
        const std::size_t i = std::size_t(k);
        if (pieces.pieceCoastFlag[i] == '0' || !nearWindow(pieces.pieceWindow[i], p, c.bearing.distanceKm))
            continue;
        LineDistance r;
        GEODTL(p, pointsFrom(pieces.piecePoints.data(), pieces.pieceFirst[i]),
               pieces.pieceLast[i] - pieces.pieceFirst[i] + 1, r);
        if (r.distanceKm < c.bearing.distanceKm) {
            c.bearing = {r.distanceKm, r.azimuthDeg};
            setSlot(1, r.nearest);
        }
    }
    if (c.bearing.distanceKm > maxDistKm)
        c.bearing.distanceKm = kNotFoundKm;
    return c;
}

RayCoast GEODWA3(Point p, float azimuthDeg, float maxDistKm, bool wantCountry)
{
    CurrentMap& map = libraryState().map;
    PieceRecord& pieces = map.pieces;
    RayCoast result;
    float dist = maxDistKm + kBoundMarginKm, rayLength = kInsideKm;
    std::int32_t hit = 0;
    Ray ray;
    for (std::int32_t position = 1; position <= pieces.pieceCount && dist > 0; ++position) {
        const std::size_t i = std::size_t(pieces.pieceSeq[std::size_t(position - 1)] - 1);
        if (pieces.pieceCoastFlag[i] == '0')
            continue;
        if (dist != rayLength) {
            ray.build(p, std::min(dist, maxDistKm), azimuthDeg);
            rayLength = dist;
        }
        const Window& w = pieces.pieceWindow[i];
        if (!windowsOverlap(ray.window, w) || !rayMeetsWindow(ray, w, ray.normal))
            continue;
        const auto [a, end] = rayPartNear(ray, w);
        std::array<float, 2 * kMostRayCrossings> at{};
        CrossingOutput<float> out{at.data(), nullptr, kMostRayCrossings};
        crossTwoLines(ray.points.data() + 2 * (a - 1), end - a + 1,
                      pointsFrom(pieces.piecePoints.data(), pieces.pieceFirst[i]),
                      pieces.pieceLast[i] - pieces.pieceFirst[i] + 1,
                      {ray.normal, 0, double(kCrossingTolerance), double(kPi), &distanceFromStart}, out);
        const float atStart = dist;
        for (std::int32_t k = 0; k < out.count; ++k) {
            const Point q = pointOf(at.data(), k);
            const float d = distanceKm(p, q);
            if (pointInWindow(q, map.state.mapWindow) && d < atStart && d < dist) {
                dist = d;
                setSlot(1, q);
                hit = position;
            }
        }
    }
    if (dist > maxDistKm)
        dist = kNotFoundKm;
    else if (hit > 0)
        GEOFRNT(pieces.pieceSeq.data(), hit);
    result.distanceKm = dist;
    if (wantCountry)
        result.country = GEOPLC2(p);
    return result;
}

RayCoast GEODWA1(Point p, float azimuthDeg, float maxDistKm, bool wantCountry)
{
    Ray ray;
    ray.build(p, maxDistKm, azimuthDeg);
    float place[4];
    storeWindow(place, ray.window);
    GEOMAP(2, place, 0);
    return GEODWA3(p, azimuthDeg, maxDistKm, wantCountry);
}

}  // namespace geo
