// The exported routines of outline clipping and point in polygon: thin shims over the
// library's own functions.
#include "tavu32d.h"

#include "core/Shim.h"
#include "geometry/Clipping.h"
#include "geometry/PointInPolygon.h"

#include <algorithm>

extern "C" {

void TAVU_CALL GEOCUT(int32_t* mode, float* window, float* points, float* points2, int32_t* n, float* outPoints,
                      float* outPoints2, int32_t* resultCount)
{
    const float* source = points ? points : points2;
    float* target = outPoints ? outPoints : outPoints2;
    const std::int32_t count = source && target ? geo::shim::in(n) : 0;
    const std::int32_t kept = geo::GEOCUT(geo::shim::in(mode), geo::windowOf(window), source, count, target);
    if (outPoints && outPoints2 && outPoints2 != outPoints)
        std::copy(outPoints, outPoints + 2 * kept, outPoints2);
    geo::shim::out(resultCount, kept);
}

void TAVU_CALL GEOPWC(float* window, float* points, int32_t* capacity, int32_t* count)
{
    std::int32_t n = points ? geo::shim::in(count) : 0;
    geo::GEOPWC(geo::windowOf(window), points, geo::shim::in(capacity), n);
    geo::shim::out(count, n);
}

int32_t TAVU_CALL GEOPIA(float* pt, float* window, float* pts, int32_t* n)
{
    return geo::shim::logical(geo::GEOPIA(geo::pointOf(pt, 0), geo::windowOf(window), pts, pts ? geo::shim::in(n) : 0));
}

int32_t TAVU_CALL GEOPIA2(float* pt, float* pts, int32_t* n)
{
    return geo::shim::logical(geo::GEOPIA2(geo::pointOf(pt, 0), pts, pts ? geo::shim::in(n) : 0));
}

}  // extern "C"
