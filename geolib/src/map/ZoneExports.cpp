// The exported routines of the zone kinds, zone lists, zone values and zone line iterators.
#include "tavu32d.h"
#include "tavu32d_shapes.h"

#include "core/Shim.h"
#include "map/ZoneLists.h"

using namespace geo::shim;
namespace shape = geo::shape;

namespace {

constexpr float kNone[4] = {0, 0, 0, 0};

const float* place(const float* p)
{
    return p ? p : kNone;
}

void walk(geo::ZoneIterator which, int16_t* unit, float* window, int32_t* capacity, float* points, int32_t* count,
          int32_t* excess, float* value1, float* value2, int32_t* endFlag)
{
    const geo::ZoneLine r =
        geo::nextZoneLine(which, in(unit), geo::windowOf(place(window)), points ? in(capacity) : 0, points);
    out(endFlag, r.endFlag);
    if (r.endFlag != 0)
        return;
    out(count, r.count);
    out(excess, r.excess);
    out(value1, r.values[0]);
    out(value2, r.values[1]);
}

}  // namespace

extern "C" {

void TAVU_CALL GEOGCM(int32_t* requestKind, float* where, int32_t* dist)
{
    geo::GEOGCM(in(requestKind), place(where), in(dist));
}

void TAVU_CALL GEOCOM(int32_t* requestKind, float* where, int32_t* dist, int32_t* status)
{
    out(status, geo::GEOCOM(in(requestKind), place(where), in(dist)));
}

void TAVU_CALL GEOGCMS(int32_t* k, int32_t* status)
{
    out(status, geo::GEOGCMS(in(k)));
}

void TAVU_CALL GEONZMS(int32_t* k, int32_t* status)
{
    out(status, geo::GEONZMS(in(k)));
}

void TAVU_CALL GEOGCP(float* lon, float* lat, float* value)
{
    out(value, geo::GEOGCP({in(lon), in(lat)}));
}

void TAVU_CALL GEOGCP2(float* lon, float* lat, float* value)
{
    out(value, geo::GEOGCP2({in(lon), in(lat)}));
}

void TAVU_CALL GEOCOP(float* lon, float* lat, char* code, int32_t* /*unused*/)
{
    outText(code, shape::GEOCOP::code, geo::GEOCOP({in(lon), in(lat)}));
}

void TAVU_CALL GEOCOP2(float* lon, float* lat, char* code)
{
    outText(code, shape::GEOCOP2::code, geo::GEOCOP2({in(lon), in(lat)}));
}

void TAVU_CALL GEOCOML(int16_t* unit, float* window, int32_t* capacity, float* points, int32_t* count,
                       int32_t* excess, float* value1, float* value2, int32_t* endFlag)
{
    walk(geo::ZoneIterator::Coordination, unit, window, capacity, points, count, excess, value1, value2, endFlag);
}

void TAVU_CALL GEOGCML(int16_t* unit, float* window, int32_t* capacity, float* points, int32_t* count,
                       int32_t* excess, float* value1, float* value2, int32_t* endFlag)
{
    walk(geo::ZoneIterator::Kind, unit, window, capacity, points, count, excess, value1, value2, endFlag);
}

void TAVU_CALL GEONZML(int16_t* unit, float* window, int32_t* capacity, float* points, int32_t* count,
                       int32_t* excess, float* value1, int32_t* endFlag)
{
    walk(geo::ZoneIterator::NewKind, unit, window, capacity, points, count, excess, value1, nullptr, endFlag);
}

void TAVU_CALL GEORZML(int16_t* unit, float* window, int32_t* capacity, float* points, int32_t* count,
                       int32_t* excess, float* value1, int32_t* endFlag)
{
    walk(geo::ZoneIterator::RegionKind, unit, window, capacity, points, count, excess, value1, nullptr, endFlag);
}

}  // extern "C"
