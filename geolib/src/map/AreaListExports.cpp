// The exported routines of the area lists, of the map around two point sets and of cutting a
// country outline to a window.
#include "tavu32d.h"

#include "core/Shim.h"
#include "map/AreaLists.h"
#include "map/OutlineToWindow.h"

using namespace geo::shim;

namespace {

using ListBuilder = void (*)(std::int32_t, const float*, std::int32_t);

void buildList(ListBuilder build, const int32_t* requestKind, const float* place, const int32_t* dist)
{
    const float none[4] = {0, 0, 0, 0};
    build(in(requestKind), place ? place : none, in(dist));
}

geo::Window windowArg(const float* window)
{
    const float none[4] = {0, 0, 0, 0};
    return geo::windowOf(window ? window : none);
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

void TAVU_CALL GEOCTW(float* window, int32_t* capacity, float* outlineWindow, float* points, int32_t* count,
                      int32_t* flag)
{
    std::int32_t n = points && outlineWindow ? in(count) : 0;
    std::int32_t f = 0;
    if (n > 0) {
        geo::Window ow = geo::windowOf(outlineWindow);
        geo::GEOCTW(windowArg(window), in(capacity), ow, points, n, f);
        geo::storeWindow(outlineWindow, ow);
    }
    out(count, n);
    out(flag, f);
}

void TAVU_CALL GEOCTW2(float* window, int32_t* capacity, float* points, int32_t* count, int32_t* flag)
{
    std::int32_t n = points ? in(count) : 0;
    std::int32_t f = 0;
    geo::GEOCTW2(windowArg(window), in(capacity), points, n, f);
    out(count, n);
    out(flag, f);
}

}  // extern "C"
