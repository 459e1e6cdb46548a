// The exported routines of the region queries: area outlines, countries in a region, the
// window of countries and the line and outline iterators.
#include "tavu32d.h"
#include "tavu32d_shapes.h"

#include "core/Shim.h"
#include "map/CountryWindow.h"
#include "map/LineWindow.h"
#include "map/RegionQueries.h"

#include <string>
#include <vector>

using namespace geo::shim;
namespace shape = geo::shape;

namespace {

using OutlineQuery = geo::AreaOutline (*)(std::int16_t, std::string_view, float*, std::int32_t);

void areaOutline(OutlineQuery query, int16_t* unitCode, const std::string& symbol, float* points, int32_t* capacity,
                 int32_t* lineId, int32_t* count, int32_t* leftOut)
{
    const geo::AreaOutline r = query(in(unitCode), symbol, points, points ? in(capacity) : 0);
    out(lineId, r.lineId);
    out(count, r.count);
    out(leftOut, r.leftOut);
}

void writeCodes(char* codes, std::size_t length, const std::vector<std::string>& list)
{
    for (std::size_t i = 0; codes && i < list.size(); ++i)
        outText(codes + i * length, long(length), list[i]);
}

std::vector<std::string> readCodes(const char* codes, std::size_t length, std::int32_t count)
{
    std::vector<std::string> list;
    for (std::int32_t i = 0; codes && i < count; ++i)
        list.push_back(inText(codes + std::size_t(i) * length, long(length)));
    return list;
}

void countryList(const geo::CountryList& r, int32_t* count, char* codes, std::size_t length, int32_t* overflow)
{
    writeCodes(codes, length, r.codes);
    out(count, r.codes.size());
    out(overflow, r.overflow);
}

}  // namespace

extern "C" {

void TAVU_CALL GEOAAL(int16_t* unitCode, char* symbol, float* points, int32_t* capacity, int32_t* lineId,
                      int32_t* count, int32_t* leftOut)
{
    areaOutline(geo::GEOAAL, unitCode, inText(symbol, shape::GEOAAL::symbol), points, capacity, lineId, count,
                leftOut);
}

void TAVU_CALL LCLGAL(int16_t* unitCode, char* symbol, float* points, int32_t* capacity, int32_t* lineId,
                      int32_t* count, int32_t* leftOut)
{
    areaOutline(geo::LCLGAL, unitCode, inText(symbol, shape::LCLGAL::symbol), points, capacity, lineId, count,
                leftOut);
}

void TAVU_CALL GEOACW(float* west, float* south, float* east, float* north, int32_t* capacity, char* codes,
                      int32_t* count, int32_t* complete)
{
    const geo::CountriesInWindow r =
        geo::GEOACW({in(west), in(south), in(east), in(north)}, codes ? in(capacity) : 0);
    writeCodes(codes, shape::GEOACW::codes, r.codes);
    out(count, r.codes.size());
    out(complete, logical(r.complete));
}

void TAVU_CALL GEOCIA(float* points, int32_t* pointCount, int32_t* leaveOutCount, char* leaveOut, int32_t* capacity,
                      int32_t* count, char* codes, int32_t* overflow)
{
    const geo::CountryList r =
        geo::GEOCIA(points, points ? in(pointCount) : 0, readCodes(leaveOut, shape::GEOCIA::leaveOut, in(leaveOutCount)),
                    codes ? in(capacity) : 0);
    countryList(r, count, codes, shape::GEOCIA::codes, overflow);
}

void TAVU_CALL GEOCIEL(float* earthRadius, float* orbitRadius, float* satLon, float* boreLon, float* boreLat,
                       float* majorAxis, float* minorAxis, float* orientation, int32_t* capacity, int32_t* count,
                       char* codes, int32_t* overflow)
{
    const geo::BeamArgs beam{in(earthRadius), in(orbitRadius), in(satLon),    in(boreLon),
                             in(boreLat),     in(majorAxis),   in(minorAxis), in(orientation)};
    countryList(geo::GEOCIEL(beam, codes ? in(capacity) : 0), count, codes, shape::GEOCIEL::codes, overflow);
}

void TAVU_CALL GEOEEL(float* satLon, float* elevation, int32_t* capacity, int32_t* count, char* codes,
                      int32_t* overflow)
{
    countryList(geo::GEOEEL(in(satLon), in(elevation), codes ? in(capacity) : 0), count, codes,
                shape::GEOEEL::codes, overflow);
}

void TAVU_CALL GEOCWI(int32_t* codeCount, char* codes, float* west, float* south, float* east, float* north)
{
    const geo::Window w = geo::GEOCWI(readCodes(codes, shape::GEOCWI::codes, in(codeCount)));
    out(west, w.west);
    out(south, w.south);
    out(east, w.east);
    out(north, w.north);
}

void TAVU_CALL GEOLIW(int16_t* unitCode, float* points, int32_t* capacity, int32_t* lineId, int32_t* count,
                      char* kind, int32_t* endFlag)
{
    const geo::RequestLine r = geo::GEOLIW(in(unitCode), points, points ? in(capacity) : 0);
    out(lineId, r.lineId);
    out(count, r.count);
    outText(kind, shape::GEOLIW::kind, std::string(1, r.kind));
    out(endFlag, logical(r.end));
}

void TAVU_CALL GEOCIW(int16_t* unitCode, float* points, int32_t* capacity, int32_t* count, char* kind,
                      int32_t* status)
{
    const geo::OutlinePart r = geo::GEOCIW(in(unitCode), points, in(capacity));
    out(count, r.count);
    outText(kind, shape::GEOCIW::kind, std::string(1, r.kind));
    out(status, r.status);
}

void TAVU_CALL GEODCW(float* west, float* south, float* east, float* north, float*, char* code)
{
    geo::GEODCW({in(west), in(south), in(east), in(north)}, inText(code, shape::GEODCW::code));
}

void TAVU_CALL GEODWD(float* west, float* south, float* east, float* north, float* dist, int16_t* count,
                      char* countries)
{
    geo::GEODWD({in(west), in(south), in(east), in(north)}, in(dist),
                readCodes(countries, shape::GEODWD::countries, in(count)));
}

}  // extern "C"
