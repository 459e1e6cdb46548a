// The exported routines of the areas and countries along a radial, the area symbol at a point
// and the border lines of a country pair.
#include "tavu32d.h"
#include "tavu32d_shapes.h"

#include "core/Shim.h"
#include "core/Utilities.h"
#include "map/AreasAtPoint.h"
#include "map/BorderLines.h"

#include <algorithm>
#include <vector>

using namespace geo::shim;
namespace shape = geo::shape;

namespace {

// The caller's result arrays of a search; distances are reals or, in the integer forms, whole km
// written from a buffer of the search's own.
struct Results {
    int32_t* nmax;
    float* pts;
    float* dists;
    int32_t* wholeDists;
    char* texts;
    long width;
    int32_t* n;
    int32_t* err;
};

template <class Search>
void runSearch(const Results& r, Search search)
{
    const bool arrays = r.pts && r.texts && (r.dists || r.wholeDists);
    const int32_t capacity = arrays ? std::max(in(r.nmax), 0) : 0;
    std::vector<float> own(r.dists ? 0 : std::size_t(capacity));
    geo::Stretches s{r.pts, r.dists ? r.dists : own.data(), capacity};
    std::vector<std::string> texts;
    search(s, texts);
    out(r.n, s.count);
    out(r.err, s.err);
    for (int32_t i = 0; i < std::min(s.count, capacity); ++i)
        outText(r.texts + i * r.width, r.width, texts[std::size_t(i)]);
    if (r.wholeDists && s.err == 0)
        for (int32_t i = 0; i < s.count; ++i)
            r.wholeDists[i] = geo::roundHalfAway(s.distancesKm[i]);
}

void areas(geo::SymbolList list, const std::string* only, float* lon, float* lat, float dist, float az,
           const Results& r)
{
    runSearch(r, [&](geo::Stretches& s, std::vector<std::string>& texts) {
        geo::areasAlongRadial(list, only, {in(lon), in(lat)}, dist, az, s, texts);
    });
}

void countries(float* lon, float* lat, float dist, float az, int32_t* mode, const Results& r)
{
    runSearch(r, [&](geo::Stretches& s, std::vector<std::string>& texts) {
        geo::countriesAlongRadial({in(lon), in(lat)}, dist, az, in(mode), s, texts);
    });
}

}  // namespace

extern "C" {

void TAVU_CALL GEOAAC3(float* lon, float* lat, float* dist, float* az, int32_t* nmax, float* pts, float* dists,
                       char* syms, int32_t* n, int32_t* err)
{
    areas(geo::SymbolList::Allotments, nullptr, lon, lat, in(dist), in(az),
          {nmax, pts, dists, nullptr, syms, shape::GEOAAC3::syms, n, err});
}

void TAVU_CALL GEOAAC2(float* lon, float* lat, int32_t* dist, int32_t* az, int32_t* nmax, float* pts,
                       int32_t* dists, char* syms, int32_t* n, int32_t* err)
{
    areas(geo::SymbolList::Allotments, nullptr, lon, lat, float(in(dist)), float(in(az)),
          {nmax, pts, nullptr, dists, syms, shape::GEOAAC2::syms, n, err});
}

void TAVU_CALL GEOAAC9(char* symbol, float* lon, float* lat, float* dist, float* az, int32_t* nmax, float* pts,
                       float* dists, char* syms, int32_t* n, int32_t* err)
{
    const std::string only = inText(symbol, shape::GEOAAC9::symbol);
    areas(geo::SymbolList::Allotments, &only, lon, lat, in(dist), in(az),
          {nmax, pts, dists, nullptr, syms, shape::GEOAAC9::syms, n, err});
}

void TAVU_CALL GEOAAC8(char* symbol, float* lon, float* lat, int32_t* dist, int32_t* az, int32_t* nmax, float* pts,
                       int32_t* dists, char* syms, int32_t* n, int32_t* err)
{
    const std::string only = inText(symbol, shape::GEOAAC8::symbol);
    areas(geo::SymbolList::Allotments, &only, lon, lat, float(in(dist)), float(in(az)),
          {nmax, pts, nullptr, dists, syms, shape::GEOAAC8::syms, n, err});
}

void TAVU_CALL LCLAAC3(float* lon, float* lat, float* dist, float* az, int32_t* nmax, float* pts, float* dists,
                       char* syms, int32_t* n, int32_t* err)
{
    areas(geo::SymbolList::Local, nullptr, lon, lat, in(dist), in(az),
          {nmax, pts, dists, nullptr, syms, shape::LCLAAC3::syms, n, err});
}

void TAVU_CALL LCLAAC2(float* lon, float* lat, int32_t* dist, int32_t* az, int32_t* nmax, float* pts,
                       int32_t* dists, char* syms, int32_t* n, int32_t* err)
{
    areas(geo::SymbolList::Local, nullptr, lon, lat, float(in(dist)), float(in(az)),
          {nmax, pts, nullptr, dists, syms, shape::LCLAAC2::syms, n, err});
}

void TAVU_CALL LCLAAC9(char* symbol, float* lon, float* lat, float* dist, float* az, int32_t* nmax, float* pts,
                       float* dists, char* syms, int32_t* n, int32_t* err)
{
    const std::string only = inText(symbol, shape::LCLAAC9::symbol);
    areas(geo::SymbolList::Local, &only, lon, lat, in(dist), in(az),
          {nmax, pts, dists, nullptr, syms, shape::LCLAAC9::syms, n, err});
}

void TAVU_CALL LCLAAC8(char* symbol, float* lon, float* lat, int32_t* dist, int32_t* az, int32_t* nmax, float* pts,
                       int32_t* dists, char* syms, int32_t* n, int32_t* err)
{
    const std::string only = inText(symbol, shape::LCLAAC8::symbol);
    areas(geo::SymbolList::Local, &only, lon, lat, float(in(dist)), float(in(az)),
          {nmax, pts, nullptr, dists, syms, shape::LCLAAC8::syms, n, err});
}

void TAVU_CALL GEOALC3(float* lon, float* lat, float* dist, float* az, int32_t* mode, int32_t* nmax, float* pts,
                       float* dists, char* codes, int32_t* n, int32_t* err)
{
    countries(lon, lat, in(dist), in(az), mode, {nmax, pts, dists, nullptr, codes, shape::GEOALC3::codes, n, err});
}

void TAVU_CALL GEOALC(float* lon, float* lat, int32_t* dist, int32_t* az, int32_t* mode, int32_t* nmax, float* pts,
                      int32_t* dists, char* codes, int32_t* n, int32_t* err)
{
    countries(lon, lat, float(in(dist)), float(in(az)), mode,
              {nmax, pts, nullptr, dists, codes, shape::GEOALC::codes, n, err});
}

void TAVU_CALL GEOIAA(float* lon, float* lat, char* symbol)
{
    outText(symbol, shape::GEOIAA::symbol,
            geo::symbolAtPointWithMap(geo::SymbolList::Allotments, {in(lon), in(lat)}));
}

void TAVU_CALL GEOIAA2(float* lon, float* lat, char* symbol)
{
    outText(symbol, shape::GEOIAA2::symbol, geo::symbolAtPoint(geo::SymbolList::Allotments, {in(lon), in(lat)}));
}

void TAVU_CALL LCLILA(float* lon, float* lat, char* symbol)
{
    outText(symbol, shape::LCLILA::symbol, geo::symbolAtPointWithMap(geo::SymbolList::Local, {in(lon), in(lat)}));
}

void TAVU_CALL LCLILA2(float* lon, float* lat, char* symbol)
{
    outText(symbol, shape::LCLILA2::symbol, geo::symbolAtPoint(geo::SymbolList::Local, {in(lon), in(lat)}));
}

void TAVU_CALL GEOBCI(int16_t* unitCode, char* cty1, char* cty2, int32_t* nmax, float* pts, int32_t* lineId,
                      int32_t* n, char* kind, int32_t* endFlag, int32_t* status)
{
    const geo::BorderLine r = geo::GEOBCI(in(unitCode), inText(cty1, shape::GEOBCI::cty1),
                                          inText(cty2, shape::GEOBCI::cty2), pts ? in(nmax) : 0, pts);
    out(status, r.status);
    out(endFlag, logical(r.end));
    if (r.end)
        return;
    out(lineId, r.lineId);
    out(n, r.count);
    outText(kind, shape::GEOBCI::kind, std::string(1, r.kind));
}

}  // extern "C"
