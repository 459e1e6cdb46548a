// The exported routines of the fixed zone tables and of the named lists of GEOPNT12.BIN.
#include "tavu32d.h"
#include "tavu32d_shapes.h"

#include "core/Shim.h"
#include "zones/FixedZones.h"
#include "zones/NamedLists.h"

#include <algorithm>
#include <string>

using namespace geo::shim;
namespace shape = geo::shape;

namespace {

geo::Point place(const float* lon, const float* lat)
{
    return {in(lon), in(lat)};
}

std::string letter(char c)
{
    return std::string(1, c);
}

}  // namespace

extern "C" {

void TAVU_CALL GEORGN(float* lon, float* lat, int32_t* region)
{
    out(region, geo::GEORGN(place(lon, lat)));
}

void TAVU_CALL GEORGNS(float* lon, float* lat, int32_t* region)
{
    out(region, geo::GEORGNS(place(lon, lat)));
}

void TAVU_CALL AP28RZ(float* lon, float* lat, char* zone)
{
    outText(zone, shape::AP28RZ::zone, letter(geo::AP28RZ(place(lon, lat))));
}

void TAVU_CALL AP28RZS(float* lon, float* lat, char* zone)
{
    outText(zone, shape::AP28RZS::zone, letter(geo::AP28RZS(place(lon, lat))));
}

void TAVU_CALL AP30ARZ(float* lon, float* lat, char* zone)
{
    outText(zone, shape::AP30ARZ::zone, letter(geo::AP30ARZ(place(lon, lat))));
}

void TAVU_CALL AP30RZ(float* lon, float* lat, char* zone)
{
    outText(zone, shape::AP30RZ::zone, letter(geo::AP30RZ(place(lon, lat))));
}

void TAVU_CALL GE75NZ(float* lon, float* lat, int32_t* zone)
{
    out(zone, geo::GE75NZ(place(lon, lat)));
}

void TAVU_CALL RJ81NZ(float* lon, float* lat, int32_t* zone)
{
    out(zone, geo::RJ81NZ(place(lon, lat)));
}

void TAVU_CALL RJ88NZ(float* lon, float* lat, char* symbol, int32_t* zone)
{
    out(zone, geo::RJ88NZ(place(lon, lat), inText(symbol, shape::RJ88NZ::symbol)));
}

void TAVU_CALL GEOEMA(float* lon, float* lat, int32_t* flag)
{
    out(flag, geo::GEOEMA(place(lon, lat)));
}

void TAVU_CALL GEOR837(float* lon, float* lat, char* zone, float* rates)
{
    const geo::Point p = place(lon, lat);
    const geo::RainZone r = geo::GEOR837(p, inText(zone, shape::GEOR837::zone)[0]);
    if (p.lat < geo::kNamedRainZoneLat)
        outText(zone, shape::GEOR837::zone, letter(r.zone));
    if (rates)
        std::copy(r.rates.begin(), r.rates.end(), rates);
}

void TAVU_CALL CIRAFZP(float* lon, float* lat, int32_t* zone, int32_t* status)
{
    const geo::CirafZone r = geo::CIRAFZP(place(lon, lat));
    out(zone, r.zone);
    out(status, r.status);
}

void TAVU_CALL CIRAFZL(int32_t* zoneNumber, int16_t* unitCode, int32_t* capacity, float* points, int32_t* count,
                       float* refLon, float* refLat, int32_t* leftOut, int32_t* status)
{
    const geo::CirafOutline r = geo::CIRAFZL(in(zoneNumber), in(unitCode), points ? in(capacity) : 0, points);
    out(count, r.count);
    out(refLon, r.refLon);
    out(refLat, r.refLat);
    out(leftOut, r.leftOut);
    out(status, r.status);
}

void TAVU_CALL AP27AER(int32_t* kind, int32_t* request, int16_t* unitCode, int32_t* capacity, char* codes,
                       int32_t* values, float* points, int32_t* count, int32_t* overflow)
{
    const int32_t req = in(request);
    std::string code = inText(codes, shape::AP27AER::codes);
    const bool room = req == 1 ? codes && values : points != nullptr;
    const geo::AreaListResult r = geo::AP27AER(in(kind), req, in(unitCode), room ? in(capacity) : 0,
                                               req == 1 ? codes : code.data(), values, points);
    out(count, r.count);
    out(overflow, r.overflow);
}

}  // extern "C"
