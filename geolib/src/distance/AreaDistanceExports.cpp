// The exported distances to areas of the all-areas map and of the local map, real and integer.
#include "tavu32d.h"
#include "tavu32d_shapes.h"

#include "core/Constants.h"
#include "core/Shim.h"
#include "core/Utilities.h"
#include "distance/AreaDistance.h"

#include <algorithm>
#include <type_traits>

using namespace geo::shim;
namespace shape = geo::shape;

namespace {

using AreaWorker = geo::AreaDistance (*)(geo::Point, std::string_view, float);
using ListWorker = geo::AreaDistanceList (*)(geo::Point, float, std::int16_t, const char*, std::int32_t);

template <class Real>
void oneArea(AreaWorker worker, const float* lon, const float* lat, const char* symbol, long symbolLength,
             const Real* maxDist, Real* dist, Real* azimuth)
{
    const geo::AreaDistance r = worker({in(lon), in(lat)}, inText(symbol, symbolLength), float(in(maxDist)));
    if constexpr (std::is_same_v<Real, float>) {
        out(dist, r.distanceKm);
        out(azimuth, r.azimuthDeg);
    } else {
        out(dist, geo::roundHalfAway(r.distanceKm));
        out(azimuth, geo::roundHalfAway(r.azimuthDeg));
    }
}

// The list's entries into the caller's arrays: distances and azimuths as they are, or rounded.
template <class Real>
void listAreas(ListWorker worker, bool local, bool build, const float* lon, const float* lat, const Real* radius,
               const int16_t* exclCount, const char* excluded, const int32_t* capacity, char* own, int32_t* n,
               Real* dists, Real* azimuths, char* symbols, int32_t* dropped)
{
    const geo::Point p{in(lon), in(lat)};
    if (build) {
        // The real form asks for a map one km wider than the whole radius.
        if constexpr (std::is_same_v<Real, float>)
            geo::buildAreaMap(local, p, std::int32_t(std::clamp(in(radius), -geo::kFarKm, geo::kFarKm)) + 1);
        else
            geo::buildAreaMap(local, p, in(radius));
    }
    const long length = local ? shape::LCLDAM3::own : shape::GEODAM3::own;
    const geo::AreaDistanceList r = worker(p, float(in(radius)), excluded ? in(exclCount) : 0, excluded, in(capacity));
    outText(own, length, r.own);
    out(n, r.list.count());
    out(dropped, r.list.dropped());
    for (std::int32_t i = 1; i <= r.list.count(); ++i) {
        const geo::ListEntry& e = r.list.entry(i);
        if constexpr (std::is_same_v<Real, float>) {
            out(dists ? dists + i - 1 : nullptr, e.distanceKm);
            out(azimuths ? azimuths + i - 1 : nullptr, e.azimuthDeg);
        } else {
            out(dists ? dists + i - 1 : nullptr, geo::roundHalfAway(e.distanceKm));
            out(azimuths ? azimuths + i - 1 : nullptr, geo::roundHalfAway(e.azimuthDeg));
        }
        if (symbols)
            outText(symbols + std::size_t(i - 1) * std::size_t(length), length, e.symbol);
    }
}

}  // namespace

extern "C" {

void TAVU_CALL GEODAA1(float* lon, float* lat, char* symbol, float* maxDist, float* dist, float* azimuth)
{
    oneArea(geo::GEODAA1, lon, lat, symbol, shape::GEODAA1::symbol, maxDist, dist, azimuth);
}

void TAVU_CALL GEODAA(float* lon, float* lat, char* symbol, int32_t* maxDist, int32_t* dist, int32_t* azimuth)
{
    oneArea(geo::GEODAA1, lon, lat, symbol, shape::GEODAA::symbol, maxDist, dist, azimuth);
}

void TAVU_CALL GEODAA3(float* lon, float* lat, char* symbol, float* maxDist, float* dist, float* azimuth)
{
    oneArea(geo::GEODAA3, lon, lat, symbol, shape::GEODAA3::symbol, maxDist, dist, azimuth);
}

void TAVU_CALL GEODAA2(float* lon, float* lat, char* symbol, int32_t* maxDist, int32_t* dist, int32_t* azimuth)
{
    oneArea(geo::GEODAA3, lon, lat, symbol, shape::GEODAA2::symbol, maxDist, dist, azimuth);
}

void TAVU_CALL LCLDLA1(float* lon, float* lat, char* symbol, float* maxDist, float* dist, float* azimuth)
{
    oneArea(geo::LCLDLA1, lon, lat, symbol, shape::LCLDLA1::symbol, maxDist, dist, azimuth);
}

void TAVU_CALL LCLDLA(float* lon, float* lat, char* symbol, int32_t* maxDist, int32_t* dist, int32_t* azimuth)
{
    oneArea(geo::LCLDLA1, lon, lat, symbol, shape::LCLDLA::symbol, maxDist, dist, azimuth);
}

void TAVU_CALL LCLDLA3(float* lon, float* lat, char* symbol, float* maxDist, float* dist, float* azimuth)
{
    oneArea(geo::LCLDLA3, lon, lat, symbol, shape::LCLDLA3::symbol, maxDist, dist, azimuth);
}

void TAVU_CALL LCLDLA2(float* lon, float* lat, char* symbol, int32_t* maxDist, int32_t* dist, int32_t* azimuth)
{
    oneArea(geo::LCLDLA3, lon, lat, symbol, shape::LCLDLA2::symbol, maxDist, dist, azimuth);
}

void TAVU_CALL GEODAM3(float* lon, float* lat, float* radius, int16_t* exclCount, char* excluded, int32_t* capacity,
                       char* own, int32_t* n, float* dists, float* azimuths, char* symbols, int32_t* dropped)
{
    listAreas(geo::GEODAM3, false, false, lon, lat, radius, exclCount, excluded, capacity, own, n, dists, azimuths,
              symbols, dropped);
}

void TAVU_CALL GEODAM1(float* lon, float* lat, float* radius, int16_t* exclCount, char* excluded, int32_t* capacity,
                       char* own, int32_t* n, float* dists, float* azimuths, char* symbols, int32_t* dropped)
{
    listAreas(geo::GEODAM3, false, true, lon, lat, radius, exclCount, excluded, capacity, own, n, dists, azimuths,
              symbols, dropped);
}

void TAVU_CALL GEODAM(float* lon, float* lat, int32_t* radius, int16_t* exclCount, char* excluded, int32_t* capacity,
                      char* own, int32_t* n, int32_t* dists, int32_t* azimuths, char* symbols, int32_t* dropped)
{
    listAreas(geo::GEODAM3, false, true, lon, lat, radius, exclCount, excluded, capacity, own, n, dists, azimuths,
              symbols, dropped);
}

void TAVU_CALL GEODAM2(float* lon, float* lat, int32_t* radius, int16_t* exclCount, char* excluded, int32_t* capacity,
                       char* own, int32_t* n, int32_t* dists, int32_t* azimuths, char* symbols, int32_t* dropped)
{
    listAreas(geo::GEODAM3, false, false, lon, lat, radius, exclCount, excluded, capacity, own, n, dists, azimuths,
              symbols, dropped);
}

void TAVU_CALL LCLDAM3(float* lon, float* lat, float* radius, int16_t* exclCount, char* excluded, int32_t* capacity,
                       char* own, int32_t* n, float* dists, float* azimuths, char* symbols, int32_t* dropped)
{
    listAreas(geo::LCLDAM3, true, false, lon, lat, radius, exclCount, excluded, capacity, own, n, dists, azimuths,
              symbols, dropped);
}

void TAVU_CALL LCLDAM1(float* lon, float* lat, float* radius, int16_t* exclCount, char* excluded, int32_t* capacity,
                       char* own, int32_t* n, float* dists, float* azimuths, char* symbols, int32_t* dropped)
{
    listAreas(geo::LCLDAM3, true, true, lon, lat, radius, exclCount, excluded, capacity, own, n, dists, azimuths,
              symbols, dropped);
}

void TAVU_CALL LCLDAM(float* lon, float* lat, int32_t* radius, int16_t* exclCount, char* excluded, int32_t* capacity,
                      char* own, int32_t* n, int32_t* dists, int32_t* azimuths, char* symbols, int32_t* dropped)
{
    listAreas(geo::LCLDAM3, true, true, lon, lat, radius, exclCount, excluded, capacity, own, n, dists, azimuths,
              symbols, dropped);
}

void TAVU_CALL LCLDAM2(float* lon, float* lat, int32_t* radius, int16_t* exclCount, char* excluded, int32_t* capacity,
                       char* own, int32_t* n, int32_t* dists, int32_t* azimuths, char* symbols, int32_t* dropped)
{
    listAreas(geo::LCLDAM3, true, false, lon, lat, radius, exclCount, excluded, capacity, own, n, dists, azimuths,
              symbols, dropped);
}

}  // extern "C"
