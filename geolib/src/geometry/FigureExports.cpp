// The exported crossing, clean-up and figure routines: thin shims that read their arguments
// through the caller's addresses and call the library's own functions.
#include "tavu32d.h"

#include "core/Shim.h"
#include "core/Constants.h"
#include "core/Utilities.h"
#include "geometry/Crossings.h"
#include "geometry/Figures.h"
#include "geometry/GreatCircle.h"
#include "geometry/LineCleanup.h"
#include "geometry/PointLists.h"
#include "geometry/SatelliteFigures.h"

#include <algorithm>
#include <vector>

namespace {

using geo::shim::logical;

double distanceFromStart(double lon1, double lat1, double lon2, double lat2)
{
    return geo::distanceKm({float(lon1), float(lat1)}, {float(lon2), float(lat2)});
}

// GEOC2LT and GEOC2LTD: crossings without replacement, with their segment pairs.
template <class Real>
void crossingsWithPairs(const Real* lineA, int32_t nA, const Real* lineB, int32_t nB, int32_t plain, int32_t mode,
                        Real* crossings, int32_t capacity, int32_t* count, int32_t* overflow, int32_t* pairs,
                        double tolerance, double pi)
{
    geo::CrossingOutput<Real> out{crossings, pairs, capacity};
    if (nA >= 2 && nA <= geo::kMostLinePoints)
        geo::crossTwoLines(lineA, nA, lineB, nB, {plain == 1, mode, tolerance, pi}, out);
    *count = out.count;
    *overflow = out.overflow;
}

geo::NearestPoint nearest(float* lon, float* lat, float* lonA, float* latA, float* lonB, float* latB, float* lonC,
                          float* latC, float* nearLon, float* nearLat)
{
    const geo::NearestPoint r = geo::nearestOnTwoSegments({*lon, *lat}, {*lonA, *latA}, {*lonB, *latB}, {*lonC, *latC});
    *nearLon = r.at.lon;
    *nearLat = r.at.lat;
    return r;
}

template <class Run>
void fillList(int32_t capacity, int32_t* list, float* distances, int32_t* count, int32_t* complete, Run run)
{
    geo::IndexList out{list, distances, capacity};
    run(out);
    *count = out.count;
    *complete = logical(out.complete);
}

}  // namespace

extern "C" {

void TAVU_CALL GEOC1L(float* points, int16_t* n, int32_t* ring, int32_t* capacity, int32_t* pairs, float* crossings,
                      int32_t* count, int32_t* complete)
{
    geo::CrossingOutput<float> out{crossings, pairs, *capacity};
    *complete = logical(geo::crossLineWithItself(points, *n, *ring == 1, out));
    *count = out.count;
}

void TAVU_CALL GEOC2L(float* lineA, int32_t* nA, float* lineB, int32_t* nB, int32_t* plain, int32_t* mode,
                      float* crossings, int32_t* capacity, int32_t* count, int32_t* overflow)
{
    geo::CrossingOutput<float> out{crossings, nullptr, *capacity};
    geo::crossTwoLines(lineA, *nA, lineB, *nB,
                       {*plain == 1, *mode, double(geo::kCrossingTolerance), double(geo::kPi), &distanceFromStart}, out);
    *count = out.count;
    *overflow = out.overflow;
}

void TAVU_CALL GEOC2LT(float* lineA, int32_t* nA, float* lineB, int32_t* nB, int32_t* plain, int32_t* mode,
                       float* crossings, int32_t* capacity, int32_t* count, int32_t* overflow, int32_t* pairs)
{
    crossingsWithPairs(lineA, *nA, lineB, *nB, *plain, *mode, crossings, *capacity, count, overflow, pairs,
                       double(geo::kCrossingTolerance), double(geo::kPi));
}

void TAVU_CALL GEOC2LTD(double* lineA, int32_t* nA, double* lineB, int32_t* nB, int32_t* plain, int32_t* mode,
                        double* crossings, int32_t* capacity, int32_t* count, int32_t* overflow, int32_t* pairs)
{
    crossingsWithPairs(lineA, *nA, lineB, *nB, *plain, *mode, crossings, *capacity, count, overflow, pairs,
                       geo::kFineCrossingTolerance, geo::kFinePi);
}

void TAVU_CALL GEOCP3R(float* lon, float* lat, float* lonA, float* latA, float* lonB, float* latB, float* lonC,
                       float* latC, float* nearLon, float* nearLat, float* dist, float* azimuth)
{
    const geo::NearestPoint r = nearest(lon, lat, lonA, latA, lonB, latB, lonC, latC, nearLon, nearLat);
    *dist = r.distanceKm;
    *azimuth = r.azimuthDeg;
}

void TAVU_CALL GEOCP3B(float* lon, float* lat, float* lonA, float* latA, float* lonB, float* latB, float* lonC,
                       float* latC, float* nearLon, float* nearLat, int32_t* dist, int32_t* azimuth)
{
    const geo::NearestPoint r = nearest(lon, lat, lonA, latA, lonB, latB, lonC, latC, nearLon, nearLat);
    *dist = geo::roundHalfAway(r.distanceKm);
    *azimuth = geo::roundHalfAway(r.azimuthDeg);
}

void TAVU_CALL GEOA123(float* lon1, float* lat1, float* lon2, float* lat2, float* lon3, float* lat3, float* angle)
{
    *angle = float(geo::vertexAngleDeg(*lon1, *lat1, *lon2, *lat2, *lon3, *lat3));
}

void TAVU_CALL GEOCLPS(float* limit, float* points, int16_t* n, int32_t* capacity, int32_t* list, float* distances,
                       int32_t* count, int32_t* complete)
{
    fillList(*capacity, list, distances, count, complete,
             [&](geo::IndexList& out) { geo::listClosePoints(*limit, points, *n, out); });
}

void TAVU_CALL GEODBLP(float* points, int16_t* n, int32_t* capacity, int32_t* list, int32_t* count, int32_t* complete)
{
    fillList(*capacity, list, nullptr, count, complete,
             [&](geo::IndexList& out) { geo::listRepeatedPoints(points, *n, out); });
}

void TAVU_CALL GEOSMLA(int32_t* largestAngle, float* points, int16_t* n, int32_t* capacity, int32_t* list,
                       int32_t* count, int32_t* complete)
{
    fillList(*capacity, list, nullptr, count, complete,
             [&](geo::IndexList& out) { geo::listSharpTurns(*largestAngle, points, *n, out); });
}

void TAVU_CALL GEODBLD(float* points, int32_t* n)
{
    geo::removeRepeatedPoints(points, *n);
}

void TAVU_CALL GEOCDCP(float* limit, float* points, int32_t* n)
{
    geo::removeShortSegments(*limit, points, *n);
}

void TAVU_CALL GEOSM1(float* tolerance, int32_t* leastCount, float* points, int32_t* n, float* outPoints,
                      int32_t* outCount)
{
    *outCount = geo::thinLine(*tolerance, *leastCount, points, *n, outPoints);
}

void TAVU_CALL GEOSM2(int32_t* entries, int32_t* n, int32_t* leastLength)
{
    std::vector<geo::Stretch<int32_t>> s(std::size_t(std::max(*n, 0)));
    for (std::size_t k = 0; k < s.size(); ++k)
        s[k].end = entries[2 * k], s[k].key = entries[2 * k + 1];
    geo::tidyStretches(s, *leastLength);
    for (std::size_t k = 0; k < s.size(); ++k)
        entries[2 * k] = s[k].end, entries[2 * k + 1] = s[k].key;
    *n = int32_t(s.size());
}

void TAVU_CALL GEOSM4(int32_t* entries, int32_t* values, char* codes, int32_t* n, int32_t* leastLength)
{
    std::vector<geo::Stretch<geo::Code>> s(std::size_t(std::max(*n, 0)));
    for (std::size_t k = 0; k < s.size(); ++k) {
        s[k].end = values[k];
        std::copy_n(codes + 3 * k, 3, s[k].key.begin());
        s[k].pair = {entries[2 * k], entries[2 * k + 1]};
    }
    geo::tidyStretches(s, *leastLength);
    for (std::size_t k = 0; k < s.size(); ++k) {
        values[k] = s[k].end;
        std::copy_n(s[k].key.begin(), 3, codes + 3 * k);
        entries[2 * k] = s[k].pair[0], entries[2 * k + 1] = s[k].pair[1];
    }
    *n = int32_t(s.size());
}

void TAVU_CALL DAP2R4(float* lon, float* lat, int32_t* dist, int32_t* azimuth, float* lon2, float* lat2)
{
    const geo::Point p = geo::destination({*lon, *lat}, float(*dist), float(*azimuth));
    *lon2 = p.lon;
    *lat2 = p.lat;
}

void TAVU_CALL GEOFIGC(float* lon, float* lat, float* radius, int32_t* n, int32_t* centreFlag, float* startAzimuth,
                       int32_t* capacity, float* points, int32_t* count)
{
    *count = geo::circlePolygon({*lon, *lat}, *radius, *n, *centreFlag == 1, *startAzimuth, *capacity, points);
}

void TAVU_CALL GEO14SQ(int32_t* quadrant, float* lon, float* lat, float* dist, float* window)
{
    geo::storeWindow(window, geo::quadrantWindow(*quadrant, {*lon, *lat}, *dist));
}

void TAVU_CALL GEOELEV(float* earthRadius, float* orbitRadius, float* satLon, float* elevation, int32_t* n,
                       float* points, int32_t* count)
{
    *count = geo::elevationContour(geo::satelliteRadii(*earthRadius, *orbitRadius), *satLon, *elevation, *n, points);
}

void TAVU_CALL GEOELLP(float* earthRadius, float* orbitRadius, float* satLon, float* boreLon, float* boreLat,
                       float* majorAxis, float* minorAxis, float* orientation, int32_t* n, float* points,
                       int32_t* flags, int32_t* count, int32_t* status)
{
    const geo::BeamResult r = geo::beamFootprint(geo::satelliteRadii(*earthRadius, *orbitRadius), *satLon,
                                                 {*boreLon, *boreLat, *majorAxis, *minorAxis, *orientation}, *n,
                                                 points, flags);
    *count = r.count;
    *status = r.status;
}

}  // extern "C"
