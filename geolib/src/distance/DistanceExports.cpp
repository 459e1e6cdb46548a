// The exported distance routines: thin shims over the distance searches.
#include "tavu32d.h"
#include "tavu32d_shapes.h"

#include "core/Shim.h"
#include "core/Utilities.h"
#include "distance/CountryDistance.h"
#include "distance/LineDistance.h"
#include "distance/ListOutput.h"
#include "distance/NearestPoints.h"
#include "geometry/Windows.h"

using namespace geo::shim;
namespace shape = geo::shape;

namespace {

constexpr float kNone[4] = {0, 0, 0, 0};

geo::Window windowArg(const float* w)
{
    return geo::windowOf(w ? w : kNone);
}

geo::Point pointArg(const float* lon, const float* lat)
{
    return {in(lon), in(lat)};
}

// An absent point array holds no point.
std::int32_t countOf(const float* points, const int32_t* n)
{
    return points ? in(n) : 0;
}

void writeNearest(const geo::LineDistance& r, float* nearLon, float* nearLat, float* dist, float* azimuth)
{
    out(nearLon, r.nearest.lon);
    out(nearLat, r.nearest.lat);
    out(dist, r.distanceKm);
    out(azimuth, r.azimuthDeg);
}

// The caller's outputs are written only where the search wrote them.
template <class Search>
void lineSearch(float* nearLon, float* nearLat, float* dist, float* azimuth, Search search)
{
    geo::LineDistance r{{in(nearLon), in(nearLat)}, 0.0f, in(azimuth)};
    search(r);
    writeNearest(r, nearLon, nearLat, dist, azimuth);
}

void writeRounded(const geo::LineDistance& r, int32_t* dist, int32_t* azimuth)
{
    out(dist, geo::listValue<int32_t>(r.distanceKm));
    out(azimuth, geo::listValue<int32_t>(r.azimuthDeg));
}

// Distances and azimuths of the integer forms come in and go out as whole numbers.
float km(const int32_t* v)
{
    return float(in(v));
}

template <class Value>
void writeBearing(const geo::Bearing& b, Value* dist, Value* azimuth)
{
    out(dist, geo::listValue<Value>(b.distanceKm));
    out(azimuth, geo::listValue<Value>(b.azimuthDeg));
}

using CountryWorker = geo::Bearing (*)(geo::Point, std::string_view, float);

template <class Value>
void oneCountry(CountryWorker worker, float* lon, float* lat, char* country, float maxDist, Value* dist,
                Value* azimuth)
{
    const std::string code = inText(country, shape::GEODC1::country);
    writeBearing(worker(pointArg(lon, lat), code, maxDist), dist, azimuth);
}

geo::Exclusions exclusions(const int16_t* count, const char* codes)
{
    return {codes, codes ? in(count) : int16_t(0)};
}

using CountryListWorker = geo::DistanceList (*)(geo::Point, float, const geo::Exclusions&, std::int32_t);

template <class Value>
void countryList(CountryListWorker worker, float* lon, float* lat, float radius, int16_t* exclCount, char* excluded,
                 int32_t* capacity, int32_t* n, Value* dists, Value* azimuths, char* countries, int32_t* dropped)
{
    const geo::DistanceList list = worker(pointArg(lon, lat), radius, exclusions(exclCount, excluded), in(capacity));
    geo::writeList(list, geo::ListOutput<Value>{n, dists, azimuths, countries, shape::GEODCM1::countries, dropped});
}

template <class Value>
void otherCountry(float* lon, float* lat, float maxDist, int16_t* exclCount, char* excluded, float* nearLon,
                  float* nearLat, Value* dist, Value* azimuth, char* country)
{
    const geo::OtherCountry r = geo::GEODCC1(pointArg(lon, lat), maxDist, exclusions(exclCount, excluded));
    if (r.nearestFound) {
        out(nearLon, r.nearest.lon);
        out(nearLat, r.nearest.lat);
    }
    writeBearing(geo::Bearing{r.distanceKm, r.azimuthDeg}, dist, azimuth);
    outText(country, shape::GEODCC1::country, r.country);
}

template <class Value>
void coast(float* lon, float* lat, float maxDist, char* country, Value* dist, Value* azimuth)
{
    const geo::Coast c = geo::GEODW1(pointArg(lon, lat), maxDist);
    outText(country, shape::GEODW1::country, c.country);
    writeBearing(c.bearing, dist, azimuth);
}

using RayWorker = geo::RayCoast (*)(geo::Point, float, float, bool);

template <class Value>
void rayCoast(RayWorker worker, float* lon, float* lat, float azimuth, float maxDist, int32_t* wantCountry,
              char* country, Value* dist)
{
    const bool want = in(wantCountry) != 0;
    const geo::RayCoast r = worker(pointArg(lon, lat), azimuth, maxDist, want);
    if (want)
        outText(country, shape::GEODWA1::country, r.country);
    out(dist, geo::listValue<Value>(r.distanceKm));
}

}  // namespace

extern "C" {

void TAVU_CALL GEODTL(float* lon, float* lat, float* pts, int32_t* n, float* nearLon, float* nearLat, float* dist,
                      float* azimuth)
{
    lineSearch(nearLon, nearLat, dist, azimuth,
               [&](geo::LineDistance& r) { geo::GEODTL(pointArg(lon, lat), pts, countOf(pts, n), r); });
}

void TAVU_CALL GEOVA2(int32_t* count, float* pts)
{
    geo::copyNearestPoints(in(count), pts);
}

void TAVU_CALL GEODTLW(float* lon, float* lat, float* window, float* pts, int32_t* n, float* nearLon, float* nearLat,
                       float* dist, float* azimuth)
{
    lineSearch(nearLon, nearLat, dist, azimuth, [&](geo::LineDistance& r) {
        geo::GEODTLW(pointArg(lon, lat), windowArg(window), pts, countOf(pts, n), r);
    });
}

void TAVU_CALL GEODTA3(float* lon, float* lat, float* window, int32_t* n, float* pts, float* nearLon, float* nearLat,
                       float* dist, float* azimuth)
{
    writeNearest(geo::GEODTA3(pointArg(lon, lat), windowArg(window), pts, countOf(pts, n)), nearLon, nearLat, dist,
                 azimuth);
}

void TAVU_CALL GEODTAW(float* lon, float* lat, float* clipWindow, float* polyWindow, int32_t* n, float* pts,
                       float* nearLon, float* nearLat, float* dist, float* azimuth)
{
    writeNearest(geo::GEODTAW(pointArg(lon, lat), windowArg(clipWindow), windowArg(polyWindow), pts, countOf(pts, n)),
                 nearLon, nearLat, dist, azimuth);
}

void TAVU_CALL GEODTA(float* lon, float* lat, int32_t* n, float* pts, int32_t* dist, int32_t* azimuth)
{
    const std::int32_t count = countOf(pts, n);
    const geo::Window w = count > 0 ? geo::boundingWindow(pts, count) : windowArg(nullptr);
    writeRounded(geo::GEODTA3(pointArg(lon, lat), w, pts, count), dist, azimuth);
}

void TAVU_CALL GEODTA1(float* lon, float* lat, float* window, int32_t* n, float* pts, float* nearLon, float* nearLat,
                       int32_t* dist, int32_t* azimuth)
{
    const geo::LineDistance r = geo::GEODTA3(pointArg(lon, lat), windowArg(window), pts, countOf(pts, n));
    out(nearLon, r.nearest.lon);
    out(nearLat, r.nearest.lat);
    writeRounded(r, dist, azimuth);
}

void TAVU_CALL GEODC1(float* lon, float* lat, char* country, float* maxDist, float* dist, float* azimuth)
{
    oneCountry(geo::GEODC1, lon, lat, country, in(maxDist), dist, azimuth);
}

void TAVU_CALL GEODC(float* lon, float* lat, char* country, int32_t* maxDist, int32_t* dist, int32_t* azimuth)
{
    oneCountry(geo::GEODC1, lon, lat, country, km(maxDist), dist, azimuth);
}

void TAVU_CALL GEODC9(float* lon, float* lat, char* country, float* maxDist, float* dist, float* azimuth)
{
    oneCountry(geo::GEODC9, lon, lat, country, in(maxDist), dist, azimuth);
}

void TAVU_CALL GEODCM1(float* lon, float* lat, float* radius, int16_t* exclCount, char* excluded, int32_t* capacity,
                       int32_t* n, float* dists, float* azimuths, char* countries, int32_t* dropped)
{
    countryList(geo::GEODCM1, lon, lat, in(radius), exclCount, excluded, capacity, n, dists, azimuths, countries,
                dropped);
}

void TAVU_CALL GEODCM(float* lon, float* lat, int32_t* radius, int16_t* exclCount, char* excluded, int32_t* capacity,
                      int32_t* n, int32_t* dists, int32_t* azimuths, char* countries, int32_t* dropped)
{
    countryList(geo::GEODCM1, lon, lat, km(radius), exclCount, excluded, capacity, n, dists, azimuths, countries,
                dropped);
}

void TAVU_CALL GEODCM9(float* lon, float* lat, float* radius, int16_t* exclCount, char* excluded, int32_t* capacity,
                       int32_t* n, float* dists, float* azimuths, char* countries, int32_t* dropped)
{
    countryList(geo::GEODCM9, lon, lat, in(radius), exclCount, excluded, capacity, n, dists, azimuths, countries,
                dropped);
}

void TAVU_CALL GEODCC1(float* lon, float* lat, float* maxDist, int16_t* exclCount, char* excluded, float* nearLon,
                       float* nearLat, float* dist, float* azimuth, char* country)
{
    otherCountry(lon, lat, in(maxDist), exclCount, excluded, nearLon, nearLat, dist, azimuth, country);
}

void TAVU_CALL GEODCC(float* lon, float* lat, int32_t* maxDist, int16_t* exclCount, char* excluded, float* nearLon,
                      float* nearLat, int32_t* dist, int32_t* azimuth, char* country)
{
    otherCountry(lon, lat, km(maxDist), exclCount, excluded, nearLon, nearLat, dist, azimuth, country);
}

void TAVU_CALL GEODW1(float* lon, float* lat, float* maxDist, char* country, float* dist, float* azimuth)
{
    coast(lon, lat, in(maxDist), country, dist, azimuth);
}

void TAVU_CALL GEODW(float* lon, float* lat, int32_t* maxDist, char* country, int32_t* dist, int32_t* azimuth)
{
    coast(lon, lat, km(maxDist), country, dist, azimuth);
}

void TAVU_CALL GEODWA1(float* lon, float* lat, float* azimuth, float* maxDist, int32_t* wantCountry, char* country,
                       float* dist)
{
    rayCoast(geo::GEODWA1, lon, lat, in(azimuth), in(maxDist), wantCountry, country, dist);
}

void TAVU_CALL GEODWA3(float* lon, float* lat, float* azimuth, float* maxDist, int32_t* wantCountry, char* country,
                       float* dist)
{
    rayCoast(geo::GEODWA3, lon, lat, in(azimuth), in(maxDist), wantCountry, country, dist);
}

void TAVU_CALL GEODWA(float* lon, float* lat, int32_t* azimuth, int32_t* maxDist, int32_t* wantCountry, char* country,
                      int32_t* dist)
{
    rayCoast(geo::GEODWA1, lon, lat, km(azimuth), km(maxDist), wantCountry, country, dist);
}

void TAVU_CALL GEODWA2(float* lon, float* lat, int32_t* azimuth, int32_t* maxDist, int32_t* wantCountry, char* country,
                       int32_t* dist)
{
    rayCoast(geo::GEODWA3, lon, lat, km(azimuth), km(maxDist), wantCountry, country, dist);
}

}  // extern "C"
