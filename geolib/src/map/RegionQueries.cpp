#include "map/RegionQueries.h"

#include "coords/CoordText.h"
#include "core/Fatal.h"
#include "core/LibraryState.h"
#include "files/IndexFile.h"
#include "files/PointFile.h"
#include "geometry/Crossings.h"
#include "geometry/SatelliteFigures.h"
#include "map/AreaLists.h"
#include "map/CurrentMap.h"
#include "map/PointInPolygon.h"
#include "map/SymbolAtPoint.h"

#include <algorithm>

namespace geo {

namespace {

// Fetches the outline `lineId` and copies what fits into the caller's points.
AreaOutline copyOutline(const PointFormat& format, std::string_view routine, std::int32_t lineId,
                        std::int16_t unitCode, float* points, std::int32_t capacity)
{
    AreaOutline r;
    r.lineId = lineId;
    if (lineId == 0)
        return r;
    std::vector<float> work(2 * std::size_t(kLineBufferPoints));
    const LineFetch f = readLine(format, std::int32_t(FetchMode::ById), work.data(), kLineBufferPoints, lineId);
    if (!f.flag)
        fatalMissingLine(routine, lineId);
    const std::int32_t room = points ? std::max(capacity, 0) : 0;
    r.count = std::min(f.count, room);
    r.leftOut = f.count - r.count;
    std::copy_n(work.begin(), 2 * r.count, points);
    convertUnits(unitCode, points, std::int16_t(r.count));
    return r;
}

bool listed(const std::vector<std::string>& codes, std::string_view code)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// True when the entry's line lies (partly) in the polygon: one of its stored ends, its middle
// point, or a crossing with the polygon's edges.
bool lineInPolygon(const IndexEntry& e, const float* polygon, std::int32_t n, const Window& pw,
                   std::vector<float>& work)
{
    for (const Point p : entryEnds(e))
        if (GEOPIA(p, pw, polygon, n))
            return true;
    const LineFetch f = readLine(kGeoPoints, std::int32_t(FetchMode::ById), work.data(), kLineBufferPoints, e.id);
    if (!f.flag)
        fatalMissingLine("GEOCIA", e.id);
    if (GEOPIA(pointOf(work.data(), std::max(1, f.count / 2) - 1), pw, polygon, n))
        return true;
    if (n < 2 || f.count < 2)
        return false;
    float crossing[2];
    CrossingOutput<float> out{crossing, nullptr, 1};
    crossTwoLines(polygon, n, work.data(), f.count,
                  {isNormal(pw), 2, double(kCrossingTolerance), double(kPi), nullptr}, out);
    return out.count + out.overflow > 0;
}

// Adds a code; beyond capacity the last place takes it and the overflow counts it.
void addCode(CountryList& r, std::int32_t capacity, const std::string& code)
{
    if (std::int32_t(r.codes.size()) >= capacity) {
        ++r.overflow;
        r.codes.back() = code;
    } else {
        r.codes.push_back(code);
    }
}

}  // namespace

AreaOutline GEOAAL(std::int16_t unitCode, std::string_view symbol, float* points, std::int32_t capacity)
{
    GEOAAIN();
    // The symbol's area in the allotment index (the look-up of GEOALL2).
    const AreaIndex& x = libraryState().areaLists.allotmentIndex;
    const AreaLookup a = findArea("GEOALL2", symbol, x.tableSymbol, x.tableAreaId, x.areaId);
    return copyOutline(kGeoPoints, "GEOAAL", a.lineId, unitCode, points, capacity);
}

AreaOutline LCLGAL(std::int16_t unitCode, std::string_view symbol, float* points, std::int32_t capacity)
{
    loadLocalIndex();
    return copyOutline(kLocalPoints, "LCLGAL", findLocalArea(symbol).lineId, unitCode, points, capacity);
}

CountriesInWindow GEOACW(const Window& w, std::int32_t capacity)
{
    CountriesInWindow r;
    std::vector<float> work(2 * std::size_t(kLineBufferPoints));
    openIndex();
    for (IndexEntry e; nextMapLine(e);) {
        if (!windowsOverlap(entryWindow(e), w) || listed(r.codes, e.owner))
            continue;
        const MapLine line = GEOMLIN(e.owner, w, work.data(), kLineBufferPoints, e.id);
        if (!line.found)
            fatalMissingLine("GEOACW", e.id);
        if (line.status == 0)
            continue;
        if (std::int32_t(r.codes.size()) >= capacity)
            return r;
        r.codes.push_back(e.owner);
    }
    r.complete = true;
    return r;
}

CountryList GEOCIA(const float* points, std::int32_t n, const std::vector<std::string>& leaveOut,
                   std::int32_t capacity)
{
    CountryList r;
    if (n < 1 || !points)
        return r;
    if (capacity < 1) {
        r.overflow = 999;
        return r;
    }
    const Window pw = boundingWindow(points, n);
    std::vector<float> work(2 * std::size_t(kLineBufferPoints));
    bool found = false;
    openIndex();
    for (IndexEntry e; nextMapLine(e);) {
        if (!windowsOverlap(entryWindow(e), pw) || listed(r.codes, e.owner))
            continue;
        const bool left = listed(leaveOut, e.owner);
        if ((left && found) || !lineInPolygon(e, points, n, pw, work))
            continue;
        found = true;
        if (!left)
            addCode(r, capacity, e.owner);
    }
    if (!found) {
        const std::string here = GEOPLC(pointOf(points, 0));
        if (here != "   " && !listed(leaveOut, here))
            addCode(r, capacity, here);
    }
    std::sort(r.codes.begin(), r.codes.end());
    return r;
}

CountryList GEOCIEL(const BeamArgs& b, std::int32_t capacity)
{
    constexpr std::int32_t n = kRegionFigurePoints;
    std::vector<float> points(2 * n);
    std::vector<std::int32_t> flags(n);
    const BeamResult f = beamFootprint(satelliteRadii(b.earthKm, b.orbitKm), b.satLon,
                                       {b.boreLon, b.boreLat, b.majorDeg, b.minorDeg, b.orientationDeg}, n,
                                       points.data(), flags.data());
    return GEOCIA(points.data(), f.count, {}, capacity);
}

CountryList GEOEEL(float satLon, float elevationDeg, std::int32_t capacity)
{
    constexpr std::int32_t n = kRegionFigurePoints;
    std::vector<float> points(2 * n);
    const std::int32_t count = elevationContour(satelliteRadii(0, 0), satLon, elevationDeg, n, points.data());
    return GEOCIA(points.data(), count, {}, capacity);
}

}  // namespace geo
