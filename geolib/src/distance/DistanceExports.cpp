// The exported distance routines: thin shims over the distance searches.
#include "tavu32d.h"
#include "tavu32d_shapes.h"

#include "core/Shim.h"
#include "core/Utilities.h"
#include "distance/LineDistance.h"
#include "distance/NearestPoints.h"
#include "geometry/Windows.h"

using namespace geo::shim;

namespace {

constexpr float kNone[4] = {0, 0, 0, 0};

geo::Window windowArg(const float* w)
{
    return geo::windowOf(w ? w : kNone);
}

geo::Point pointArg(const float* lon, const float* lat)
{
    return {in(lon), in(lat)};
}

// An absent point array holds no point.
std::int32_t countOf(const float* points, const int32_t* n)
{
    return points ? in(n) : 0;
}

void writeNearest(const geo::LineDistance& r, float* nearLon, float* nearLat, float* dist, float* azimuth)
{
    out(nearLon, r.nearest.lon);
    out(nearLat, r.nearest.lat);
    out(dist, r.distanceKm);
    out(azimuth, r.azimuthDeg);
}

// The caller's outputs are written only where the search wrote them.
template <class Search>
void lineSearch(float* nearLon, float* nearLat, float* dist, float* azimuth, Search search)
{
    geo::LineDistance r{{in(nearLon), in(nearLat)}, 0.0f, in(azimuth)};
    search(r);
    writeNearest(r, nearLon, nearLat, dist, azimuth);
}

void writeRounded(const geo::LineDistance& r, int32_t* dist, int32_t* azimuth)
{
    out(dist, geo::roundHalfAway(r.distanceKm));
    out(azimuth, geo::roundHalfAway(r.azimuthDeg));
}

}  // namespace

extern "C" {

void TAVU_CALL GEODTL(float* lon, float* lat, float* pts, int32_t* n, float* nearLon, float* nearLat, float* dist,
                      float* azimuth)
{
    lineSearch(nearLon, nearLat, dist, azimuth,
               [&](geo::LineDistance& r) { geo::GEODTL(pointArg(lon, lat), pts, countOf(pts, n), r); });
}

void TAVU_CALL GEOVA2(int32_t* count, float* pts)
{
    geo::copyNearestPoints(in(count), pts);
}

void TAVU_CALL GEODTLW(float* lon, float* lat, float* window, float* pts, int32_t* n, float* nearLon, float* nearLat,
                       float* dist, float* azimuth)
{
    lineSearch(nearLon, nearLat, dist, azimuth, [&](geo::LineDistance& r) {
        geo::GEODTLW(pointArg(lon, lat), windowArg(window), pts, countOf(pts, n), r);
    });
}

void TAVU_CALL GEODTA3(float* lon, float* lat, float* window, int32_t* n, float* pts, float* nearLon, float* nearLat,
                       float* dist, float* azimuth)
{
    writeNearest(geo::GEODTA3(pointArg(lon, lat), windowArg(window), pts, countOf(pts, n)), nearLon, nearLat, dist,
                 azimuth);
}

void TAVU_CALL GEODTAW(float* lon, float* lat, float* clipWindow, float* polyWindow, int32_t* n, float* pts,
                       float* nearLon, float* nearLat, float* dist, float* azimuth)
{
    writeNearest(geo::GEODTAW(pointArg(lon, lat), windowArg(clipWindow), windowArg(polyWindow), pts, countOf(pts, n)),
                 nearLon, nearLat, dist, azimuth);
}

void TAVU_CALL GEODTA(float* lon, float* lat, int32_t* n, float* pts, int32_t* dist, int32_t* azimuth)
{
    const std::int32_t count = countOf(pts, n);
    const geo::Window w = count > 0 ? geo::boundingWindow(pts, count) : windowArg(nullptr);
    writeRounded(geo::GEODTA3(pointArg(lon, lat), w, pts, count), dist, azimuth);
}

void TAVU_CALL GEODTA1(float* lon, float* lat, float* window, int32_t* n, float* pts, float* nearLon, float* nearLat,
                       int32_t* dist, int32_t* azimuth)
{
    const geo::LineDistance r = geo::GEODTA3(pointArg(lon, lat), windowArg(window), pts, countOf(pts, n));
    out(nearLon, r.nearest.lon);
    out(nearLat, r.nearest.lat);
    writeRounded(r, dist, azimuth);
}

}  // extern "C"
