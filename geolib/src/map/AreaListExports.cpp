// The exported routines of the area lists and of the map around two point sets.
#include "tavu32d.h"

#include "core/Shim.h"
#include "map/AreaLists.h"

using namespace geo::shim;

namespace {

using ListBuilder = void (*)(std::int32_t, const float*, std::int32_t);

void buildList(ListBuilder build, const int32_t* requestKind, const float* place, const int32_t* dist)
{
    const float none[4] = {0, 0, 0, 0};
    build(in(requestKind), place ? place : none, in(dist));
}

}  // namespace

extern "C" {

void TAVU_CALL ALLMAP(int32_t* requestKind, float* place, int32_t* dist)
{
    buildList(geo::ALLMAP, requestKind, place, dist);
}

void TAVU_CALL LCLMAP(int32_t* requestKind, float* place, int32_t* dist)
{
    buildList(geo::LCLMAP, requestKind, place, dist);
}

void TAVU_CALL CNDMAP(int32_t* requestKind, float* place, int32_t* dist)
{
    buildList(geo::CNDMAP, requestKind, place, dist);
}

void TAVU_CALL GEO2AM(float* lon1, float* lat1, int32_t* count1, float* points1, float* lon2, float* lat2,
                      int32_t* count2, float* points2)
{
    geo::GEO2AM({in(lon1), in(lat1)}, points1 ? in(count1) : 0, points1, {in(lon2), in(lat2)},
                points2 ? in(count2) : 0, points2);
}

}  // extern "C"
