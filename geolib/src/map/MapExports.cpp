// The exported routines of the current map, its options and the symbol at a point.
#include "tavu32d.h"
#include "tavu32d_shapes.h"

#include "core/Shim.h"
#include "map/CurrentMap.h"
#include "map/MapOptions.h"
#include "map/SymbolAtPoint.h"

using namespace geo::shim;
namespace shape = geo::shape;

extern "C" {

void TAVU_CALL GEOMAP(int32_t* requestKind, float* place, int32_t* dist)
{
    const float none[4] = {0, 0, 0, 0};
    geo::GEOMAP(in(requestKind), place ? place : none, in(dist));
}

void TAVU_CALL GEOINM(float* lon, float* lat, int32_t* dist)
{
    geo::GEOINM({in(lon), in(lat)}, in(dist));
}

void TAVU_CALL GEOSET(int32_t* option, int32_t* value)
{
    int32_t v = in(value);
    geo::GEOSET(in(option), v);
    out(value, v);
}

void TAVU_CALL GEOSET3(int32_t* value, char* symbol)
{
    geo::GEOSET3(in(value), inText(symbol, shape::GEOSET3::symbol));
}

void TAVU_CALL GEOVA1(int16_t* item, int32_t* value)
{
    int32_t v = in(value);
    geo::GEOVA1(in(item), v);
    out(value, v);
}

int32_t TAVU_CALL GEOPIM(float* lon, float* lat)
{
    return logical(geo::GEOPIM({in(lon), in(lat)}));
}

void TAVU_CALL GEOPLC(float* lon, float* lat, char* symbol)
{
    outText(symbol, shape::GEOPLC::symbol, geo::GEOPLC({in(lon), in(lat)}));
}

void TAVU_CALL GEOPLC2(float* lon, float* lat, char* symbol)
{
    outText(symbol, shape::GEOPLC2::symbol, geo::GEOPLC2({in(lon), in(lat)}));
}

}  // extern "C"
