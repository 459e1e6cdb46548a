#include "map/RegionQueries.h"

#include "coords/CoordText.h"
#include "core/Fatal.h"
#include "state/LibraryState.h"
#include "core/Utilities.h"
#include "files/IndexFile.h"
#include "files/PointFile.h"
#include "geometry/Crossings.h"
#include "geometry/SatelliteFigures.h"
#include "map/AreaLists.h"
#include "map/CurrentMap.h"
#include "geometry/PointInPolygon.h"
#include "map/RegionRecords.h"
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
    const std::int32_t n = readLineById(format, routine, lineId, work.data(), kLineBufferPoints);
    const std::int32_t room = points ? std::max(capacity, 0) : 0;
    r.count = std::min(n, room);
    r.leftOut = n - r.count;
    std::copy_n(work.begin(), 2 * r.count, points);
    convertUnits(unitCode, points, std::int16_t(r.count));
    return r;
}

// True when the entry's line lies (partly) in the polygon: one of its stored ends, its middle
// point, or a crossing with the polygon's edges.
bool lineInPolygon(const IndexEntry& e, const float* polygon, std::int32_t n, const Window& pw,
                   std::vector<float>& work)
{
    for (const Point p : entryEnds(e))
        if (GEOPIA(p, pw, polygon, n))
            return true;
    const std::int32_t count = readLineById(kGeoPoints, "GEOCIA", e.id, work.data(), kLineBufferPoints);
    if (GEOPIA(pointOf(work.data(), std::max(1, count / 2) - 1), pw, polygon, n))
        return true;
    if (n < 2 || count < 2)
        return false;
    float crossing[2];
    CrossingOutput<float> out{crossing, nullptr, 1};
    crossTwoLines(polygon, n, work.data(), count,
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

// The windows of the region lines, read once.
const std::vector<Window>& regionLineWindows()
{
    std::vector<Window>& windows = libraryState().regions.regionLineWindows;
    if (!windows.empty())
        return windows;
    std::vector<float> work(2 * std::size_t(kLineBufferPoints));
    for (const RegionGroup& g : regionGroups())
        for (const RegionLine& l : g.lines) {
            const std::int32_t n = readLineById(kGeoPoints, "GEOCWI", l.id, work.data(), kLineBufferPoints);
            windows.push_back(boundingWindow(work.data(), n));
        }
    return windows;
}

void addCorners(std::vector<float>& points, const Window& w)
{
    points.insert(points.end(), {w.west, w.south, w.east, w.north});
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
        if (!windowsOverlap(entryWindow(e), w) || contains(r.codes, e.owner))
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
        if (!windowsOverlap(entryWindow(e), pw) || contains(r.codes, e.owner))
            continue;
        const bool left = contains(leaveOut, e.owner);
        if ((left && found) || !lineInPolygon(e, points, n, pw, work))
            continue;
        found = true;
        if (!left)
            addCode(r, capacity, e.owner);
    }
    if (!found) {
        const std::string here = GEOPLC(pointOf(points, 0));
        if (here != "   " && !contains(leaveOut, here))
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

Window GEOCWI(const std::vector<std::string>& codes)
{
    Window w{-kPi, -kHalfPi, kPi, kHalfPi};
    if (codes.empty())
        return w;
    std::int16_t region = 0;
    if (std::count_if(codes.begin(), codes.end(), [&](const std::string& c) {
            const std::int16_t r = regionOf(c);
            region = r ? r : region;
            return r != 0;
        }) > 1)
        fatalMessage("GEOCWI", " YOU ARE ONLY ALLOWED TO HAVE ONE REGION AS INPUT");

    std::vector<float> work;
    if (region != 0) {
        const std::vector<Window>& windows = regionLineWindows();
        std::size_t k = 0;
        for (const RegionGroup& g : regionGroups())
            for (std::size_t i = 0; i < g.lines.size(); ++i, ++k)
                if (g.region == region)
                    addCorners(work, windows[k]);
    }
    if (region == 0 || codes.size() > 1) {
        openIndex();
        for (IndexEntry e; nextMapLine(e);) {
            if (!contains(codes, e.owner))
                continue;
            if (std::int32_t(work.size() / 2) > kLineBufferPoints - 3) {
                const Window own = boundingWindow(work.data(), std::int32_t(work.size() / 2));
                work.clear();
                addCorners(work, own);
            }
            addCorners(work, entryWindow(e));
        }
    }
    if (!work.empty())
        w = boundingWindow(work.data(), std::int32_t(work.size() / 2));
    if (contains(codes, "ATA")) {
        w.west = -kPi;
        w.east = kPi;
    }
    if (region == 1) {
        const LonLat southWest = readCoordText(kRegion1SouthWest, Layout::LatitudeFirst, "GEOCWI");
        const LonLat northEast = readCoordText(kRegion1NorthEast, Layout::LatitudeFirst, "GEOCWI");
        w = {southWest.lon, southWest.lat, northEast.lon, northEast.lat};
    } else if (region != 0) {
        w.east += kRadPerSecond;
    }
    return w;
}

}  // namespace geo
