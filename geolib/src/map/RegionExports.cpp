// The exported routines of the region queries: area outlines, countries in a region, the
// window of countries and the line and outline iterators.
#include "tavu32d.h"
#include "tavu32d_shapes.h"

#include "core/Shim.h"
#include "map/RegionQueries.h"

using namespace geo::shim;
namespace shape = geo::shape;

namespace {

using OutlineQuery = geo::AreaOutline (*)(std::int16_t, std::string_view, float*, std::int32_t);

void areaOutline(OutlineQuery query, int16_t* unitCode, const std::string& symbol, float* points, int32_t* capacity,
                 int32_t* lineId, int32_t* count, int32_t* leftOut)
{
    const geo::AreaOutline r = query(in(unitCode), symbol, points, points ? in(capacity) : 0);
    out(lineId, r.lineId);
    out(count, r.count);
    out(leftOut, r.leftOut);
}

}  // namespace

extern "C" {

void TAVU_CALL GEOAAL(int16_t* unitCode, char* symbol, float* points, int32_t* capacity, int32_t* lineId,
                      int32_t* count, int32_t* leftOut)
{
    areaOutline(geo::GEOAAL, unitCode, inText(symbol, shape::GEOAAL::symbol), points, capacity, lineId, count,
                leftOut);
}

void TAVU_CALL LCLGAL(int16_t* unitCode, char* symbol, float* points, int32_t* capacity, int32_t* lineId,
                      int32_t* count, int32_t* leftOut)
{
    areaOutline(geo::LCLGAL, unitCode, inText(symbol, shape::LCLGAL::symbol), points, capacity, lineId, count,
                leftOut);
}

}  // extern "C"
