// The exported routines of coordinate texts and angle units.
#include "tavu32d.h"

#include "coords/CoordText.h"
#include "core/FixedText.h"

#include <algorithm>

namespace {

void readInto(const char* text, float* lon, float* lat, geo::Layout layout, const char* routine)
{
    const geo::LonLat p = geo::readCoordText(geo::fromFixed(text, 15), layout, routine);
    *lon = p.lon;
    *lat = p.lat;
}

void check(char* text, int32_t* valid, geo::Layout layout)
{
    std::string t = geo::fromFixed(text, 15);
    const bool ok = geo::checkCoordText(t, layout);
    if (ok)
        geo::toFixed(text, 15, t);
    *valid = ok ? -1 : 0;
}

}  // namespace

extern "C" {

void TAVU_CALL CDGRAD4(char* text, float* lon, float* lat)
{
    readInto(text, lon, lat, geo::Layout::LongitudeFirst, "CDGRAD4");
}

void TAVU_CALL GEODGRD(char* text, float* lon, float* lat)
{
    readInto(text, lon, lat, geo::Layout::LatitudeFirst, "GEODGRD");
}

void TAVU_CALL CRADDG4(float* lon, float* lat, char* text)
{
    geo::toFixed(text, 15, geo::writeCoordText(*lon, *lat, geo::Layout::LongitudeFirst));
}

void TAVU_CALL GEORDDG(float* lon, float* lat, char* text)
{
    geo::toFixed(text, 15, geo::writeCoordText(*lon, *lat, geo::Layout::LatitudeFirst));
}

void TAVU_CALL CRDCHK1(char* text, int32_t* valid)
{
    check(text, valid, geo::Layout::LongitudeFirst);
}

void TAVU_CALL CRDCHK2(char* text, int32_t* valid)
{
    check(text, valid, geo::Layout::LatitudeFirst);
}

void TAVU_CALL CRDUNPN(char* text, float* lon, float* lat, int32_t* ok, int32_t* length)
{
    geo::LonLat p{};
    const bool read = geo::readFreeCoord(geo::fromFixed(text, std::clamp<long>(*length, 0, 80)), p);
    *lon = p.lon;
    *lat = p.lat;
    *ok = read ? -1 : 0;
}

void TAVU_CALL GEORDXX(int16_t* unit, float* points, int16_t* count)
{
    geo::convertUnits(*unit, points, *count);
}

void TAVU_CALL GEOR3CH(int32_t* mode, int32_t* count, float* values, char* packed)
{
    geo::packReals(*mode, *count, values, packed);
}

}  // extern "C"
