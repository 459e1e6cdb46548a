// The exported routines of the point files, the country file and the country tables.
#include "tavu32d.h"
#include "tavu32d_shapes.h"

#include "coords/CoordText.h"
#include "core/Shim.h"
#include "files/CountryFile.h"
#include "files/PointFile.h"

#include <algorithm>

using namespace geo::shim;
namespace shape = geo::shape;

namespace {

void fetch(const geo::PointFormat& format, geo::FetchMode mode, int16_t* unitCode, float* points, int32_t* capacity,
           int32_t* lineId, int32_t* count, int32_t* flag)
{
    const geo::LineFetch r =
        geo::readLine(format, int32_t(mode), points, points ? in(capacity) : 0, in(lineId));
    if (mode == geo::FetchMode::ById && !r.flag) {
        out(flag, logical(false));
        return;
    }
    if (mode == geo::FetchMode::Next)
        out(lineId, r.lineId);
    out(count, r.count);
    out(flag, logical(r.flag));
    geo::convertUnits(in(unitCode), points, int16_t(r.count));
}

}  // namespace

extern "C" {

void TAVU_CALL GEOCFD(int32_t* version)
{
    out(version, geo::dataVersion());
}

void TAVU_CALL GEOLIN(int16_t* unitCode, float* points, int32_t* capacity, int32_t* lineId, int32_t* count,
                      int32_t* found)
{
    fetch(geo::kGeoPoints, geo::FetchMode::ById, unitCode, points, capacity, lineId, count, found);
}

void TAVU_CALL GEONXT(int16_t* unitCode, float* points, int32_t* capacity, int32_t* lineId, int32_t* count,
                      int32_t* isLast)
{
    fetch(geo::kGeoPoints, geo::FetchMode::Next, unitCode, points, capacity, lineId, count, isLast);
}

void TAVU_CALL GEOLIN2(int16_t* unitCode, float* points, int32_t* capacity, int32_t* lineId, int32_t* count,
                       int32_t* found)
{
    fetch(geo::kGeoPoints2, geo::FetchMode::ById, unitCode, points, capacity, lineId, count, found);
}

void TAVU_CALL LCLLIN(int16_t* unitCode, float* points, int32_t* capacity, int32_t* lineId, int32_t* count,
                      int32_t* found)
{
    fetch(geo::kLocalPoints, geo::FetchMode::ById, unitCode, points, capacity, lineId, count, found);
}

void TAVU_CALL LCLNXT(int16_t* unitCode, float* points, int32_t* capacity, int32_t* lineId, int32_t* count,
                      int32_t* isLast)
{
    fetch(geo::kLocalPoints, geo::FetchMode::Next, unitCode, points, capacity, lineId, count, isLast);
}

void TAVU_CALL GEOCCDI(int32_t* unit)
{
    geo::openCountryFile(in(unit));
}

void TAVU_CALL GEOCCD(char* code1, char* code2, float* value1, float* value2, float* value3, float* value4,
                      int16_t* pairClass)
{
    const geo::PairValues p =
        geo::pairValues(inText(code1, shape::GEOCCD::code1), inText(code2, shape::GEOCCD::code2));
    out(value1, p.values[0]);
    out(value2, p.values[1]);
    out(value3, p.values[2]);
    out(value4, p.values[3]);
    out(pairClass, p.pairClass);
}

void TAVU_CALL GEOCCDC(char* codes, int32_t* maximum, int32_t* count, int32_t* excess)
{
    const std::vector<std::string> all = geo::countryCodes();
    const int32_t n = int32_t(all.size()), room = codes ? in(maximum) : 0;
    const int32_t delivered = std::clamp(room, 0, n);
    for (int32_t i = 0; i < delivered; ++i)
        outText(codes + i * shape::GEOCCDC::codes, shape::GEOCCDC::codes, all[std::size_t(i)]);
    out(count, delivered);
    out(excess, std::max(n - in(maximum), 0));
}

void TAVU_CALL GEOCRDN(int32_t* unit, int32_t* sortFlag, char* code, int32_t* classLimit, int32_t* maxCount,
                       char* codes, int16_t* classes, int32_t* count, int32_t* dropped)
{
    const int32_t room = codes && classes ? in(maxCount) : 0;
    const geo::NearCountries r = geo::nearCountries(in(unit), in(sortFlag) != 0, inText(code, shape::GEOCRDN::code),
                                                    in(classLimit), room);
    for (std::size_t i = 0; i < r.codes.size(); ++i) {
        outText(codes + i * shape::GEOCRDN::codes, shape::GEOCRDN::codes, r.codes[i]);
        classes[i] = r.classes[i];
    }
    out(count, r.codes.size());
    out(dropped, r.dropped);
}

void TAVU_CALL GEOCTYA(char* code, char* codeOut)
{
    outText(codeOut, shape::GEOCTYA::codeOut, geo::translateCountry(inText(code, shape::GEOCTYA::code)));
}

void TAVU_CALL GEOCTYR(char* code, char* region)
{
    outText(region, shape::GEOCTYR::region, std::string(1, geo::countryRegion(inText(code, shape::GEOCTYR::code))));
}

void TAVU_CALL GEOPINF(char* planName, char* code, int32_t* result)
{
    out(result, geo::planDigit(inText(planName, shape::GEOPINF::planName), inText(code, shape::GEOPINF::code)));
}

int32_t TAVU_CALL GEOC3C(char* code, char* list, int16_t* count)
{
    return geo::codePosition(code, list, in(count), shape::GEOC3C::code);
}

int32_t TAVU_CALL GEOC6C(char* code, char* list, int16_t* count)
{
    return geo::codePosition(code, list, in(count), shape::GEOC6C::code);
}

int32_t TAVU_CALL GEOC12C(char* code, char* list, int16_t* count)
{
    return geo::codePosition(code, list, in(count), shape::GEOC12C::code);
}

}  // extern "C"
