// The exported routines of the library's frame, settings and utilities: thin shims that read
// their arguments through the caller's addresses and call the library's own functions.
#include "tavu32d.h"

#include "core/Fatal.h"
#include "core/FixedText.h"
#include "core/LibraryState.h"
#include "core/Services.h"
#include "core/Settings.h"
#include "core/Utilities.h"

#include <algorithm>
#include <cstring>

extern "C" {

void TAVU_CALL WDBUNIT(int32_t* unit)
{
    geo::WDBUNIT(unit ? *unit : 0);
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
    if (version)
        *version = geo::kVersion;
}

void TAVU_CALL DATIMH(char* date, char* time)
{
    std::string d, t;
    geo::dateAndTime(d, t);
    geo::toFixed(date, 8, d);
    geo::toFixed(time, 8, t);
}

float TAVU_CALL GNTS(int16_t* mode)
{
    return geo::stopWatch(mode ? *mode : 0);
}

void TAVU_CALL GEOGETF(int32_t* length, char* path, int32_t* found)
{
    const long usable = std::clamp<long>(length ? *length : 0, 0, 124);
    const std::string name(geo::trimRight(geo::fromFixed(path, usable)));
    const std::string full = geo::locateFile("XGET" + name);
    const bool fits = !full.empty() && long(full.size()) <= usable;
    if (fits)
        geo::toFixed(path, 124, full);
    if (found)
        *found = fits ? -1 : 0;
}

void TAVU_CALL GEOCP81(float* source, float* target)
{
    geo::copyPointsForward(source, target, 1);
}

void TAVU_CALL GEOCP8F(float* source, float* target, int32_t* count)
{
    geo::copyPointsForward(source, target, *count);
}

void TAVU_CALL GEOCP8B(float* source, float* target, int32_t* count)
{
    geo::copyPointsBackward(source, target, *count);
}

void TAVU_CALL GEOSWP8(float* points, int32_t* count)
{
    geo::reversePoints(points, *count);
}

void TAVU_CALL GEOMV8(int16_t* shift, int16_t* first, float* points, int16_t* last)
{
    geo::movePoints(*shift, *first, points, *last);
}

void TAVU_CALL UCOPY(int32_t* source, int32_t* target, int16_t* count)
{
    if (*count > 0)
        std::memmove(target, source, std::size_t(*count) * sizeof(int32_t));
}

void TAVU_CALL VFILL(int32_t* values, int16_t* count, int32_t* value)
{
    if (*count > 0)
        std::fill_n(values, *count, *value);
}

void TAVU_CALL VSCALE(float* source, float* factor, float* target, int16_t* count)
{
    for (int i = 0; i < *count; ++i)
        target[i] = float(double(*factor) * double(source[i]));
}

void TAVU_CALL VZERO(int32_t* values, int16_t* count)
{
    if (*count > 0)
        std::fill_n(values, *count, 0);
}

void TAVU_CALL GEOTUCN(char* text, int16_t* length)
{
    geo::upperCase437(text, *length);
}

void TAVU_CALL GEOTLCN(char* text, int16_t* length)
{
    geo::lowerCase437(text, *length);
}

void TAVU_CALL TSWON(int32_t*) {}

void TAVU_CALL TSWOFF(int32_t*) {}

void TAVU_CALL LMF90R4(float* lon1, float* lat1, float* lon2, float* lat2, int32_t* distanceKm, int32_t* azimuth1,
                       int32_t* azimuth2)
{
    const geo::DistanceAzimuths r = geo::distanceAndAzimuths(*lon1, *lat1, *lon2, *lat2);
    *distanceKm = r.distanceKm;
    *azimuth1 = r.azimuth1Deg;
    *azimuth2 = r.azimuth2Deg;
}

}  // extern "C"
