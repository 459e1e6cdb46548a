#include "distance/AreaDistance.h"

#include "core/Constants.h"
#include "core/FixedText.h"
#include "state/LibraryState.h"
#include "distance/LineDistance.h"
#include "files/CountryFile.h"
#include "geometry/Crossings.h"
#include "geometry/Figures.h"
#include "geometry/GreatCircle.h"
#include "map/AreaLists.h"
#include "map/AreasAtPoint.h"
#include "geometry/PointInPolygon.h"
#include "map/RegionQueries.h"
#include "map/SymbolAtPoint.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <vector>

namespace geo {
namespace {

// What tells the all-areas map and the local map apart.
struct AreaMapKind {
    AreaListOwner owner;
    AreaList AreaLists::*list;
    std::size_t symbolLength;
    std::string_view listRoutine;  // named in the list's overflow report
    void (*build)(std::int32_t kind, const float* place, std::int32_t dist);
    AreaLookup (*lookUp)(std::string_view symbol);
    std::string (*symbolAt)(Point p);
    AreaOutline (*outline)(std::int16_t unitCode, std::string_view symbol, float* points, std::int32_t capacity);
};

const AreaMapKind kAllotmentAreas{AreaListOwner::Allotments, &AreaLists::allotments, 6, "GEODAM3", ALLMAP, GEOALL1,
                                  [](Point p) { return symbolAtPoint(SymbolList::Allotments, p); }, GEOAAL};
const AreaMapKind kLocalAreas{AreaListOwner::Local, &AreaLists::local, 12, "LCLDAM3", LCLMAP, LCLUNP1,
                              [](Point p) { return symbolAtPoint(SymbolList::Local, p); }, LCLGAL};

const AreaMapKind& kindOf(bool local)
{
    return local ? kLocalAreas : kAllotmentAreas;
}

constexpr std::int16_t kRadians = 1;

// An outline kept in shared storage (an area of a list, an outline of the map): its window and
// its points.
struct OutlineRef {
    Window window;
    const float* points;
    std::int32_t n;
};

// Area `index` (from 1) of the kind's list, when the shared storage holds that list and the area.
std::optional<OutlineRef> listedArea(const AreaMapKind& kind, std::int32_t index)
{
    const AreaLists& s = libraryState().areaLists;
    const AreaList& l = s.*kind.list;
    if (s.areaListOwner != kind.owner || index < 1 || index > std::int32_t(l.areaFirst.size()))
        return std::nullopt;
    const auto k = std::size_t(index - 1);
    const std::int32_t first = l.areaFirst[k], n = l.areaPointCount[k];
    if (k >= s.areaWindow.size() || first < 1 || n < 1 || std::size_t(first - 1 + n) * 2 > s.areaPoints.size())
        return std::nullopt;
    return OutlineRef{s.areaWindow[k], s.areaPoints.data() + 2 * (first - 1), n};
}

OutlineRef mapOutline(const OutlineRecord& o, std::size_t j)
{
    const std::int32_t first = o.outlineFirst[j];
    return {o.outlineWindow[j], o.outlinePoints.data() + 2 * (first - 1), o.outlineLast[j] - first + 1};
}

// The nearest point to p of another country's outline inside the area: the vertices round the
// nearest qualifying one, their segments cut at the area's outline and at the map window.
std::optional<AreaDistance> nearestInArea(Point p, const OutlineRef& o, const OutlineRef& area,
                                          const Window& mapWindow, const WindowOutline& mapBorder)
{
    const std::int32_t mid = nearestVertex(p, o.points, o.n, false, [&](Point at) {
                                 return pointInWindow(at, area.window) && GEOPIA(at, area.window, area.points, area.n) &&
                                        pointInWindow(at, mapWindow);
                             }).mid;
    if (mid == 0)
        return std::nullopt;
    std::int32_t prev = mid == 1 ? o.n - 1 : mid - 1;
    std::int32_t next = mid == o.n ? 2 : mid + 1;
    prev = std::clamp(prev, 1, o.n);
    next = std::clamp(next, 1, o.n);
    const Point m = pointOf(o.points, mid - 1);
    auto cut = [&](std::int32_t v) {
        const Point inArea = cutAt(m, pointOf(o.points, v - 1), area.points, area.n);
        return cutAt(m, inArea, mapBorder);
    };
    const NearestPoint r = nearestOnTwoSegments(p, cut(prev), m, cut(next));
    return AreaDistance{r.at, r.distanceKm, r.azimuthDeg};
}

// The map window and its outline.
struct MapFrame {
    Window window;
    WindowOutline border{window};
};

// Q, the area's nearest point, lies on the ground of `ground`: the nearest point of that
// country's outlines inside the area nearer than `bound`, or, when clearly nearer, the point of
// that outline nearest to Q if it lies in the area.
std::optional<AreaDistance> nearestOffOtherGround(Point p, Point q, const std::string& ground, const OutlineRef& area,
                                                  const MapFrame& f, float bound)
{
    const OutlineRecord& o = libraryState().map.outlines;
    std::optional<AreaDistance> best;
    std::optional<OutlineRef> bestOutline;
    for (std::size_t j = 0; j < std::size_t(o.outlineCount); ++j) {
        const OutlineRef c = mapOutline(o, j);
        if (fromSymbol(o.outlineSymbol[j]) != ground || !windowsOverlap(c.window, f.window) ||
            !windowsOverlap(c.window, area.window) || !nearWindow(c.window, p, best ? best->distanceKm : bound) ||
            GEOPIWF(1, c.points, std::int16_t(c.n), area.window) == 0)
            continue;
        const std::optional<AreaDistance> inArea = nearestInArea(p, c, area, f.window, f.border);
        if (inArea && inArea->distanceKm < (best ? best->distanceKm : bound)) {
            best = inArea;
            bestOutline = c;
        }
    }
    if (!best)
        return best;
    // Along the border line: inside that country every point would be its own nearest.
    LineDistance edge;
    GEODTLW(q, f.window, bestOutline->points, bestOutline->n, edge);
    const Point r = edge.nearest;
    const float e = GEODTAW(r, f.window, area.window, area.points, area.n).distanceKm;
    if (e <= 0 && distanceKm(p, r) + kBoundMarginKm < distanceKm(p, best->nearest)) {
        const DistanceAzimuth da = distanceAzimuth(p, r);
        best = AreaDistance{r, da.distanceKm, da.azimuthDeg};
    }
    return best;
}

// The nearest point of the area's part on its own country's ground or at sea, on the current map.
std::optional<AreaDistance> nearestOnOwnGround(Point p, std::string_view country, const OutlineRef& area,
                                               float maxDistKm)
{
    const CurrentMap& map = libraryState().map;
    if (map.outlines.outlineCount == 0)
        return std::nullopt;
    const MapFrame f{map.state.mapWindow};
    const LineDistance q = GEODTAW(p, f.window, area.window, area.points, area.n);
    if (q.distanceKm > maxDistKm)
        return std::nullopt;
    const std::string ground = GEOPLC2(q.nearest);
    if (ground == country.substr(0, 3) || isBlank(ground))
        return AreaDistance{q.nearest, std::max(q.distanceKm, 0.0f), q.distanceKm > 0 ? q.azimuthDeg : 0.0f};
    return nearestOffOtherGround(p, q.nearest, ground, area, f, maxDistKm + kBoundMarginKm);
}

AreaDistance areaOutlineDistance(const AreaMapKind& kind, Point p, std::string_view country, std::int32_t index,
                                 float maxDistKm)
{
    const std::optional<OutlineRef> area = listedArea(kind, index);
    std::optional<AreaDistance> r = area ? nearestOnOwnGround(p, country, *area, maxDistKm) : std::nullopt;
    if (!r || r->distanceKm > maxDistKm)
        return {p, kNotFoundKm, 0};
    return *r;
}

std::array<Point, kMaxNearestPoints + 1>& slots()
{
    return nearestPointStore().nearestPoints;
}

AreaDistance notFound()
{
    return {{}, kNotFoundKm, 0};
}

// The area of the symbol on the list as currently built; slot 1 takes the nearest point.
AreaDistance areaOnMap(const AreaMapKind& kind, Point p, std::string_view symbol, float maxDistKm)
{
    AreaDistance r = notFound();
    const AreaLookup a = kind.lookUp(symbol);
    if (a.lineId != 0) {
        r = areaOutlineDistance(kind, p, a.owner, a.index, maxDistKm);
        slots()[1] = r.nearest;
    }
    return r;
}

// The area of the symbol, the map widened round the point until the area is found or maxDistKm
// is reached.
AreaDistance areaWidening(const AreaMapKind& kind, Point p, std::string_view symbol, float maxDistKm)
{
    AreaDistance r = notFound();
    std::vector<float> outline(2 * std::size_t(kLineBufferPoints));
    const AreaOutline whole = kind.outline(kRadians, symbol, outline.data(), kLineBufferPoints);
    if (whole.count == 0)
        return r;
    const LineDistance d0 = GEODTA3(p, boundingWindow(outline.data(), whole.count), outline.data(), whole.count);
    slots()[0] = d0.nearest;
    float reach = std::max(d0.distanceKm, 0.0f);
    if (reach > maxDistKm)
        return r;
    const float place[2] = {p.lon, p.lat};
    do {
        reach = std::min(reach + float(kMapSearchStepKm), maxDistKm);
        kind.build(std::int32_t(MapKind::Circle), place, std::int32_t(reach) + 1);
        if (libraryState().map.state.rebuildPending != 0)
            break;
        const AreaLookup a = kind.lookUp(symbol);
        if (a.lineId != 0) {
            r = areaOutlineDistance(kind, p, a.owner, a.index, reach);
            slots()[1] = r.nearest;
        }
        // Past the farthest distance on the sphere a wider map finds nothing more.
    } while (r.distanceKm > kFarthestFoundKm && reach < maxDistKm && reach < kFarKm);
    return r;
}

AreaDistanceList areasWithin(const AreaMapKind& kind, Point p, float radiusKm, std::int16_t exclCount,
                             const char* excluded, std::int32_t capacity)
{
    AreaDistanceList result{kind.symbolAt(p), DistanceList(kind.listRoutine, capacity)};
    if (!result.list.hasRoom())
        return result;
    const float reach = std::min(radiusKm, kFarKm);
    const AreaList& l = libraryState().areaLists.*kind.list;
    for (const std::string& symbol : l.tableSymbol) {
        if (symbol == result.own ||
            codePosition(symbol.c_str(), excluded, std::max<std::int32_t>(exclCount, 0), kind.symbolLength) != 0)
            continue;
        const AreaLookup a = kind.lookUp(symbol);
        const AreaDistance d = areaOutlineDistance(kind, p, a.owner, a.index, reach);
        slots()[0] = d.nearest;
        if (d.distanceKm > reach)
            continue;
        result.list.store(symbol, d.distanceKm, d.azimuthDeg, d.nearest);
    }
    result.list.sort();
    return result;
}

}  // namespace

AreaDistance GEODAOL(Point p, std::string_view country, std::int32_t index, float maxDistKm)
{
    return areaOutlineDistance(kAllotmentAreas, p, country, index, maxDistKm);
}

AreaDistance LCLDAOL(Point p, std::string_view country, std::int32_t index, float maxDistKm)
{
    return areaOutlineDistance(kLocalAreas, p, country, index, maxDistKm);
}

AreaDistance GEODAA1(Point p, std::string_view symbol, float maxDistKm)
{
    return areaWidening(kAllotmentAreas, p, symbol, maxDistKm);
}

AreaDistance GEODAA3(Point p, std::string_view symbol, float maxDistKm)
{
    return areaOnMap(kAllotmentAreas, p, symbol, maxDistKm);
}

AreaDistance LCLDLA1(Point p, std::string_view symbol, float maxDistKm)
{
    return areaWidening(kLocalAreas, p, symbol, maxDistKm);
}

AreaDistance LCLDLA3(Point p, std::string_view symbol, float maxDistKm)
{
    return areaOnMap(kLocalAreas, p, symbol, maxDistKm);
}

AreaDistanceList GEODAM3(Point p, float radiusKm, std::int16_t exclCount, const char* excluded, std::int32_t capacity)
{
    return areasWithin(kAllotmentAreas, p, radiusKm, exclCount, excluded, capacity);
}

AreaDistanceList LCLDAM3(Point p, float radiusKm, std::int16_t exclCount, const char* excluded, std::int32_t capacity)
{
    return areasWithin(kLocalAreas, p, radiusKm, exclCount, excluded, capacity);
}

void buildAreaMap(bool local, Point p, std::int32_t radiusKm)
{
    const float place[2] = {p.lon, p.lat};
    kindOf(local).build(std::int32_t(MapKind::Circle), place, radiusKm);
}

}  // namespace geo
