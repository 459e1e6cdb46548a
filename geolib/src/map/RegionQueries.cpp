#include "map/RegionQueries.h"

#include "coords/CoordText.h"
#include "core/Fatal.h"
#include "core/LibraryState.h"
#include "files/IndexFile.h"
#include "files/PointFile.h"
#include "map/AreaLists.h"

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

}  // namespace geo
