// The exported routines of land and sea along a radial.
#include "tavu32d.h"

#include "core/Shim.h"
#include "map/LandSea.h"

using namespace geo::shim;

namespace {

// Every walk's export: absent arrays hold nothing.
template <typename Dist, typename DistOut, typename Value>
void walkExport(geo::RadialWalk (*walk)(geo::Point, Dist, Dist, std::int32_t, float*, DistOut*, Value*), float* lon,
                float* lat, Dist* dist, Dist* az, int32_t* nmax, float* pts, DistOut* dists, Value* values, int32_t* n,
                int32_t* err)
{
    const bool room = pts && dists && values;
    const geo::RadialWalk w = walk({in(lon), in(lat)}, in(dist), in(az), room ? in(nmax) : 0, pts, dists, values);
    out(n, w.n);
    out(err, w.err);
}

}  // namespace

extern "C" {

void TAVU_CALL GEOCAC3(float* lon, float* lat, float* dist, float* az, int32_t* nmax, float* pts, float* dists,
                       int32_t* values, int32_t* n, int32_t* err)
{
    walkExport(geo::GEOCAC3, lon, lat, dist, az, nmax, pts, dists, values, n, err);
}

void TAVU_CALL GEOCAC2(float* lon, float* lat, int32_t* dist, int32_t* az, int32_t* nmax, float* pts, int32_t* dists,
                       int32_t* values, int32_t* n, int32_t* err)
{
    walkExport(geo::GEOCAC2, lon, lat, dist, az, nmax, pts, dists, values, n, err);
}

void TAVU_CALL GEOCOC3(float* lon, float* lat, float* dist, float* az, int32_t* nmax, float* pts, float* dists,
                       float* values, int32_t* n, int32_t* err)
{
    walkExport(geo::GEOCOC3, lon, lat, dist, az, nmax, pts, dists, values, n, err);
}

void TAVU_CALL GEOCOC4(float* lon, float* lat, float* dist, float* az, int32_t* nmax, float* pts, float* dists,
                       float* values, int32_t* n, int32_t* err)
{
    GEOCOC3(lon, lat, dist, az, nmax, pts, dists, values, n, err);
}

void TAVU_CALL GEOGCC3(float* lon, float* lat, float* dist, float* az, int32_t* nmax, float* pts, float* dists,
                       float* values, int32_t* n, int32_t* err)
{
    walkExport(geo::GEOCOC3, lon, lat, dist, az, nmax, pts, dists, values, n, err);
}

}  // extern "C"
