// The exported routines of the library's frame, settings and utilities: thin shims that read
// their arguments through the caller's addresses and call the library's own functions.
#include "tavu32d.h"
#include "tavu32d_shapes.h"

#include "core/Fatal.h"
#include "core/FixedText.h"
#include "core/Services.h"
#include "core/Shim.h"
#include "core/Settings.h"
#include "core/Utilities.h"
#include "geometry/GreatCircle.h"
#include "state/LibraryState.h"

#include <algorithm>
#include <cstring>

using namespace geo::shim;
namespace shape = geo::shape;

extern "C" {

void TAVU_CALL WDBUNIT(int32_t* unit)
{
    geo::WDBUNIT(in(unit));
}

void TAVU_CALL CANCELR(void)
{
    geo::CANCELR();
}

void TAVU_CALL GEOMSG8(int32_t*, char* first, int32_t firstLength, char* second, int32_t secondLength)
{
    constexpr int32_t kUsed = 800;  // the message buffer: longer texts are cut
    geo::showMessage(geo::fromFixed(first, std::min(firstLength, kUsed)),
                     geo::fromFixed(second, std::min(secondLength, kUsed)));
}

void TAVU_CALL TAVU(int32_t* version)
{
    out(version, geo::kVersion);
}

void TAVU_CALL DATIMH(char* date, char* time)
{
    std::string d, t;
    geo::dateAndTime(d, t);
    outText(date, shape::DATIMH::date, d);
    outText(time, shape::DATIMH::time, t);
}

float TAVU_CALL GNTS(int16_t* mode)
{
    return geo::stopWatch(in(mode));
}

void TAVU_CALL GEOGETF(int32_t* length, char* path, int32_t* found)
{
    const long usable = std::clamp<long>(in(length), 0, shape::GEOGETF::path);
    const std::string name(geo::trimRight(geo::fromFixed(path, usable)));
    const std::string full = geo::locateFile("XGET" + name);
    const bool fits = !full.empty() && long(full.size()) <= usable;
    if (fits)
        outText(path, shape::GEOGETF::path, full);
    out(found, logical(fits));
}

void TAVU_CALL GEOCP81(float* source, float* target)
{
    if (source && target)
        geo::copyPointsForward(source, target, 1);
}

void TAVU_CALL GEOCP8F(float* source, float* target, int32_t* count)
{
    geo::copyPointsForward(source, target, source && target ? in(count) : 0);
}

void TAVU_CALL GEOCP8B(float* source, float* target, int32_t* count)
{
    geo::copyPointsBackward(source, target, source && target ? in(count) : 0);
}

void TAVU_CALL GEOSWP8(float* points, int32_t* count)
{
    geo::reversePoints(points, points ? in(count) : 0);
}

void TAVU_CALL GEOMV8(int16_t* shift, int16_t* first, float* points, int16_t* last)
{
    if (!points || !last)
        return;
    geo::movePoints(in(shift), in(first), points, *last);
}

void TAVU_CALL UCOPY(int32_t* source, int32_t* target, int16_t* count)
{
    if (source && target && in(count) > 0)
        std::memmove(target, source, std::size_t(in(count)) * sizeof(int32_t));
}

void TAVU_CALL VFILL(int32_t* values, int16_t* count, int32_t* value)
{
    if (values && in(count) > 0)
        std::fill_n(values, in(count), in(value));
}

void TAVU_CALL VSCALE(float* source, float* factor, float* target, int16_t* count)
{
    const int n = source && target ? in(count) : 0;
    for (int i = 0; i < n; ++i)
        target[i] = float(double(in(factor)) * double(source[i]));
}

void TAVU_CALL VZERO(int32_t* values, int16_t* count)
{
    if (values && in(count) > 0)
        std::fill_n(values, in(count), 0);
}

void TAVU_CALL GEOTUCN(char* text, int16_t* length)
{
    geo::upperCase437(text, in(length));
}

void TAVU_CALL GEOTLCN(char* text, int16_t* length)
{
    geo::lowerCase437(text, in(length));
}

void TAVU_CALL TSWON(int32_t*) {}

void TAVU_CALL TSWOFF(int32_t*) {}

void TAVU_CALL LMF90R4(float* lon1, float* lat1, float* lon2, float* lat2, int32_t* distanceKm, int32_t* azimuth1,
                       int32_t* azimuth2)
{
    const geo::DistanceAzimuths r = geo::distanceAndAzimuths(in(lon1), in(lat1), in(lon2), in(lat2));
    out(distanceKm, r.distanceKm);
    out(azimuth1, r.azimuth1Deg);
    out(azimuth2, r.azimuth2Deg);
}

}  // extern "C"
