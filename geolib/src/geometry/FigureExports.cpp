// The exported crossing, clean-up and figure routines: thin shims that read their arguments
// through the caller's addresses and call the library's own functions.
#include "tavu32d.h"

#include "core/Constants.h"
#include "geometry/Crossings.h"
#include "geometry/LineCleanup.h"
#include "geometry/PointLists.h"
#include "geometry/SatelliteFigures.h"

#include <algorithm>
#include <vector>

namespace {

int32_t logical(bool value)
{
    return value ? -1 : 0;
}

// GEOC2LT and GEOC2LTD: crossings without replacement, with their segment pairs.
template <class Real>
void crossingsWithPairs(const Real* lineA, int32_t nA, const Real* lineB, int32_t nB, int32_t plain, int32_t mode,
                        Real* crossings, int32_t capacity, int32_t* count, int32_t* overflow, int32_t* pairs,
                        double tolerance, double pi)
{
    geo::CrossingOutput<Real> out{crossings, pairs, capacity};
    if (nA >= 2 && nA <= 32768)
        geo::crossTwoLines(lineA, nA, lineB, nB, {plain == 1, mode, tolerance, pi}, out);
    *count = out.count;
    *overflow = out.overflow;
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

void TAVU_CALL GEOA123(float* lon1, float* lat1, float* lon2, float* lat2, float* lon3, float* lat3, float* angle)
{
    *angle = float(geo::vertexAngleDeg(*lon1, *lat1, *lon2, *lat2, *lon3, *lat3));
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
