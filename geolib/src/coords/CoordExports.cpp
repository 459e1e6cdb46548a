// The exported routines of coordinate texts and angle units.
#include "tavu32d.h"
#include "tavu32d_shapes.h"

#include "coords/CoordText.h"
#include "core/Shim.h"

#include <algorithm>

using namespace geo::shim;
namespace shape = geo::shape;

namespace {

constexpr long kText = shape::CDGRAD4::text;  // every coordinate text has this length

void readInto(const char* text, float* lon, float* lat, geo::Layout layout, const char* routine)
{
    const geo::LonLat p = geo::readCoordText(inText(text, kText), layout, routine);
    out(lon, p.lon);
    out(lat, p.lat);
}

void check(char* text, int32_t* valid, geo::Layout layout)
{
    std::string t = inText(text, kText);
    const bool ok = geo::checkCoordText(t, layout);
    if (ok)
        outText(text, kText, t);
    out(valid, logical(ok));
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
    outText(text, shape::CRADDG4::text, geo::writeCoordText(in(lon), in(lat), geo::Layout::LongitudeFirst));
}

void TAVU_CALL GEORDDG(float* lon, float* lat, char* text)
{
    outText(text, shape::GEORDDG::text, geo::writeCoordText(in(lon), in(lat), geo::Layout::LatitudeFirst));
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
    const bool read = geo::readFreeCoord(geo::fromFixed(text, std::clamp<long>(in(length), 0, 80)), p);
    out(lon, p.lon);
    out(lat, p.lat);
    out(ok, logical(read));
}

void TAVU_CALL GEORDXX(int16_t* unit, float* points, int16_t* count)
{
    geo::convertUnits(in(unit), points, points ? in(count) : int16_t(0));
}

void TAVU_CALL GEOR3CH(int32_t* mode, int32_t* count, float* values, char* packed)
{
    if (values && packed)
        geo::packReals(in(mode), in(count), values, packed);
}

}  // extern "C"
