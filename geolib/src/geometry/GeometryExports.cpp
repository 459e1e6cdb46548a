// The exported routines of windows and great-circle geometry: thin shims that read their
// arguments through the caller's addresses and call the library's own functions.
#include "tavu32d.h"

#include "core/Shim.h"
#include "geometry/GreatCircle.h"
#include "geometry/Polylines.h"
#include "geometry/Windows.h"

namespace {

using geo::shim::logical;

geo::Point point(const float* lon, const float* lat)
{
    return {*lon, *lat};
}

void store(geo::Point p, float* lon, float* lat)
{
    *lon = p.lon;
    *lat = p.lat;
}

}  // namespace

extern "C" {

int32_t TAVU_CALL GEONWND(float* window)
{
    return logical(geo::isNormal(geo::windowOf(window)));
}

void TAVU_CALL GEOWND(float* points, int32_t* n, float* window)
{
    geo::storeWindow(window, geo::boundingWindow(points, *n));
}

void TAVU_CALL GEOWNDC(float* window, float* lon, float* lat)
{
    store(geo::windowCentre(geo::windowOf(window)), lon, lat);
}

void TAVU_CALL GEOWNDL(float* window, float* points, int32_t* count)
{
    *count = geo::windowOutline(geo::windowOf(window), points);
}

int32_t TAVU_CALL GEOWIW(float* windowA, float* windowB)
{
    return logical(geo::windowsOverlap(geo::windowOf(windowA), geo::windowOf(windowB)));
}

int32_t TAVU_CALL GEOWTIW(float* windowA, float* windowB)
{
    return logical(geo::windowInWindow(geo::windowOf(windowA), geo::windowOf(windowB)));
}

void TAVU_CALL GEOWNDS(float* windowA, float* windowB, float* window, int32_t* disjoint)
{
    bool apart = false;
    geo::storeWindow(window, geo::windowIntersection(geo::windowOf(windowA), geo::windowOf(windowB), apart));
    *disjoint = apart ? 1 : 0;
}

void TAVU_CALL GEOW9(float* window, float* nineWindows)
{
    const auto nine = geo::nineWindows(geo::windowOf(window));
    for (std::size_t i = 0; i < nine.size(); ++i)
        geo::storeWindow(nineWindows + 4 * i, nine[i]);
}

void TAVU_CALL GEOADTW(int32_t* mode, int32_t* margin, float* window)
{
    geo::Window w = geo::windowOf(window);
    geo::widenWindow(*mode, *margin, w);
    geo::storeWindow(window, w);
}

void TAVU_CALL GEOSQR(float* lon, float* lat, float* dist, float* window)
{
    geo::storeWindow(window, geo::circleWindow(point(lon, lat), *dist));
}

int32_t TAVU_CALL GEOPIW(float* points, int16_t* n, float* window)
{
    return logical(geo::GEOPIWF(1, points, *n, geo::windowOf(window)) != 0);
}

void TAVU_CALL GEOPIW1(float* points, int16_t* n, float* window, int32_t* index)
{
    *index = geo::GEOPIWF(1, points, *n, geo::windowOf(window));
}

void TAVU_CALL GEOPIW2(float* points, int16_t* n, float* window, int32_t* index)
{
    *index = geo::GEOPIWF(-1, points, *n, geo::windowOf(window));
}

void TAVU_CALL GEODSTR(float* lon1, float* lat1, float* lon2, float* lat2, float* dist)
{
    *dist = geo::distanceKm(point(lon1, lat1), point(lon2, lat2));
}

void TAVU_CALL GEODST(float* lon1, float* lat1, float* lon2, float* lat2, int32_t* km)
{
    *km = geo::distanceWholeKm(point(lon1, lat1), point(lon2, lat2));
}

float TAVU_CALL GEODST3(float* lon1, float* lat1, float* lon2, float* lat2)
{
    return geo::flatDistanceKm(point(lon1, lat1), point(lon2, lat2));
}

void TAVU_CALL GEOPPDA(float* lon1, float* lat1, float* lon2, float* lat2, float* dist, float* azimuth)
{
    const geo::DistanceAzimuth da = geo::distanceAzimuth(point(lon1, lat1), point(lon2, lat2));
    *dist = da.distanceKm;
    *azimuth = da.azimuthDeg;
}

void TAVU_CALL GEOPDAP(float* lon, float* lat, float* dist, float* azimuth, float* lon2, float* lat2)
{
    store(geo::destination(point(lon, lat), *dist, *azimuth), lon2, lat2);
}

void TAVU_CALL GEOADP(float* lon1, float* lat1, float* lon2, float* lat2, int32_t* n, float* points)
{
    geo::evenLine(point(lon1, lat1), point(lon2, lat2), *n, points);
}

void TAVU_CALL GEOADPM(float* lon1, float* lat1, float* lon2, float* lat2, int16_t* n, float* points)
{
    geo::mercatorLine(point(lon1, lat1), point(lon2, lat2), *n, points);
}

void TAVU_CALL GEOGCL(float* lon1, float* lat1, float* lon2, float* lat2, int32_t* n, float* points)
{
    geo::greatCircleLine(point(lon1, lat1), point(lon2, lat2), *n, points);
}

void TAVU_CALL GEOAXP(int32_t* mode, float* step, int32_t* capacity, float* points, int32_t* n)
{
    geo::densify(*mode, *step, *capacity, points, *n);
}

void TAVU_CALL GEOLDI(int32_t* mode, float* step, float* points, int32_t* n, float* shortest, float* mean,
                      float* longest, int32_t* segment)
{
    const geo::SegmentStats s = geo::segmentStats(*mode, *step, points, *n);
    *shortest = s.shortestKm;
    *mean = s.meanKm;
    *longest = s.longestKm;
    *segment = s.segment;
}

void TAVU_CALL GEOLOP(int32_t* n, float* points, int32_t* mode, float* step, int32_t* capacity, float* outPoints,
                      int32_t* count, int32_t* status)
{
    const geo::Densified d = geo::densifyInto(*n, points, *mode, *step, *capacity, outPoints);
    *count = d.count;
    *status = d.status;
}

void TAVU_CALL GEOLSD(int32_t* n, int32_t* values, char* codes, int32_t* codedSum, int32_t* rest)
{
    geo::codedSums(*n, values, codes, *codedSum, *rest);
}

int32_t TAVU_CALL GEOILN(float* window, float* point, float* dist)
{
    return logical(geo::nearWindow(geo::windowOf(window), geo::pointOf(point, 0), *dist));
}

int32_t TAVU_CALL GEOPEQP(float* pt1, float* pt2)
{
    return logical(geo::samePoint(geo::pointOf(pt1, 0), geo::pointOf(pt2, 0)));
}

void TAVU_CALL GEOMNYP(float* points, int16_t* n, int32_t* maxPairs, int32_t* pairs, int32_t* pairCount,
                       int32_t* complete)
{
    bool done = false;
    geo::coincidingVertices(points, *n, *maxPairs, pairs, *pairCount, done);
    *complete = logical(done);
}

}  // extern "C"
