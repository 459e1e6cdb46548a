#include "tavu32d.h"

#include "MapFixtures.h"
#include "PolygonReference.h"
#include "state/LibraryState.h"
#include "core/Utilities.h"
#include "geolib/LineReference.h"
#include "map/AreaLists.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using map_fixtures::deg;
using testing_support::fatalOutput;
namespace ref = geometry_reference;

namespace {

const mapfiles::AreaDistanceMap& theMap()
{
    static const mapfiles::AreaDistanceMap m = mapfiles::areaDistanceMap();
    return m;
}

// Runs `body` in a child process on the map's main and local files, the library started.
testing_support::ChildResult onAreaMap(const std::function<std::string()>& body)
{
    const auto& m = theMap();
    testing_support::MapFolder folder;
    folder.write("GEOIDX1.BIN", mapfiles::indexFile(m.global.entries));
    folder.write("GEOPNT1.BIN", mapfiles::mainPointFile(m.global.lines));
    folder.write("LCLIDX1.BIN", mapfiles::indexFile(m.localEntries));
    folder.write("LCLPNT1.BIN", mapfiles::mainPointFile(m.localLines));
    return testing_support::runWithMaps(folder, [&] {
        map_fixtures::startLibrary();
        return body();
    });
}

polygon_reference::Points flat(const mapfiles::Line& line)
{
    polygon_reference::Points p;
    for (const auto& q : line.points) {
        p.push_back(q.lon);
        p.push_back(q.lat);
    }
    return p;
}

// The reference distance to area `a` (0 to 3): to the part of it not inside another country.
double referenceKm(std::size_t a, float lon, float lat)
{
    const auto& m = theMap();
    const auto area = flat(m.localLines[a]);
    const bool inAaa = m.symbols[a].first.starts_with("AAA");
    const auto other = flat(m.countryOutlines[inAaa ? 1 : 0]);
    auto free = [&](double x, double y) { return !polygon_reference::evenOddInside(x, y, other); };
    if (polygon_reference::evenOddInside(lon, lat, area) && free(lon, lat))
        return 0;
    const double onOutline = line_reference::nearestOnLine(lon, lat, area, free).distanceKm;
    const double onBorder = line_reference::nearestOnLine(lon, lat, other, [&](double x, double y) {
                                return polygon_reference::evenOddInside(x, y, area);
                            }).distanceKm;
    return std::min(onOutline, onBorder);
}

constexpr float kNotFound = 999999.0f;

// What is wrong with a distance and azimuth to a nearest point, "" when nothing.
std::string checkAnswer(float lon, float lat, float dist, float azimuth, const float* nearest, double want)
{
    std::ostringstream out;
    if (want < 0) {
        if (dist != kNotFound || azimuth != 0)
            out << " found " << dist << " " << azimuth;
        return out.str();
    }
    const double tol = 0.05 + 0.004 * want;
    if (std::fabs(dist - want) > tol)
        out << " distance " << dist << " want " << want;
    const ref::Inverse toNearest = ref::inverse(lon, lat, nearest[0], nearest[1]);
    if (std::fabs(toNearest.distanceKm - dist) > tol)
        out << " nearest point at " << toNearest.distanceKm;
    if (dist > 5 && ref::azimuthGap(azimuth, toNearest.azimuthDeg) > 0.5)
        out << " azimuth " << azimuth << " want " << toNearest.azimuthDeg;
    if (dist == 0 && azimuth != 0)
        out << " azimuth inside " << azimuth;
    return out.str();
}

struct AreaCase {
    const char* what;
    double lon, lat;  // degrees
    int area;         // 0 to 3, or -1 for a symbol no table holds
    float maxDist;
    bool found;
};

const AreaCase kAreaCases[] = {
    {"inside an area on its own ground", 3, 5, 0, 500, true},
    {"west of an area in its country", 1, 5, 0, 500, true},
    {"an area of the other country", 17.5, 5, 1, 500, true},
    {"across the border", 12, 5, 0, 1500, true},
    {"near the part of an area on another country's ground", 11, 5, 2, 1000, true},
    {"inside an area on another country's ground", 11, 2, 2, 1000, true},
    {"inside an area on another country's ground near the sea", 11.5, 0.4, 2, 1000, true},
    {"inside an area on its own ground near the border", 9, 1, 2, 1000, true},
    {"at sea south of an area", 11, -3, 2, 1000, true},
    {"inside an area at sea", 11, -1, 2, 1000, true},
    {"far east of an area's part on another country's ground", 19, 1, 2, 2000, true},
    {"an area beyond the maximum", 1, 5, 0, 50, false},
    {"a symbol no table holds", 3, 5, -1, 500, false},
    {"an area wholly on another country's ground, however far the search", 17, 5, 3, 1e9f, false},
};

using RealArea = void(TAVU_CALL*)(float*, float*, char*, float*, float*, float*);
using WholeArea = void(TAVU_CALL*)(float*, float*, char*, int32_t*, int32_t*, int32_t*);

struct AreaRoutines {
    const char* name;
    bool local;
    bool buildsMap;
    RealArea real;
    WholeArea whole;
};

const AreaRoutines kAreaRoutines[] = {
    {"GEODAA1", false, true, GEODAA1, GEODAA},
    {"GEODAA3", false, false, GEODAA3, GEODAA2},
    {"LCLDLA1", true, true, LCLDLA1, LCLDLA},
    {"LCLDLA3", true, false, LCLDLA3, LCLDLA2},
};

std::string symbolOf(bool local, int area)
{
    if (area < 0)
        return local ? "ZZZNOWHERE00" : "ZZZ999";
    const auto& s = theMap().symbols[std::size_t(area)];
    return local ? s.second : s.first;
}

void buildMap(bool local, float lon, float lat, int32_t radius)
{
    int32_t kind = 1;
    float place[2] = {lon, lat};
    (local ? LCLMAP : ALLMAP)(&kind, place, &radius);
}

TEST(AreaDistance, OneAreaGivesTheDistanceToItsPartOffOtherCountriesGround)
{
    for (const AreaRoutines& r : kAreaRoutines) {
        const auto result = onAreaMap([&] {
            std::ostringstream out;
            for (const AreaCase& c : kAreaCases) {
                const auto p = deg(c.lon, c.lat);
                float lon = p.lon, lat = p.lat, maxDist = c.maxDist, dist = -1, azimuth = -1;
                if (!r.buildsMap)
                    buildMap(r.local, lon, lat, int32_t(c.maxDist) + 1);
                std::string symbol = symbolOf(r.local, c.area);
                r.real(&lon, &lat, symbol.data(), &maxDist, &dist, &azimuth);
                float nearest[2] = {0, 0};
                int32_t one = 1;
                GEOVA2(&one, nearest);
                const double want = c.found ? referenceKm(std::size_t(c.area), lon, lat) : -1;
                std::string wrong = checkAnswer(lon, lat, dist, azimuth, nearest, want);
                // The integer form rounds the same answer.
                int32_t wholeMax = int32_t(c.maxDist), wholeDist = -1, wholeAzimuth = -1;
                r.whole(&lon, &lat, symbol.data(), &wholeMax, &wholeDist, &wholeAzimuth);
                if (wholeDist != geo::roundHalfAway(dist) || wholeAzimuth != geo::roundHalfAway(azimuth))
                    wrong += " rounded " + std::to_string(wholeDist) + " " + std::to_string(wholeAzimuth);
                if (!wrong.empty())
                    out << c.what << ":" << wrong << "\n";
            }
            return out.str();
        });
        EXPECT_EQ(result.output, "") << r.name;
    }
}

// One list call of a family, its answer as text: own | symbol distance azimuth ... | dropped.
struct ListCall {
    double lon, lat;
    float radius;
    int excluded;  // an area, or -1 for none
    int32_t capacity;
};

struct ListAnswer {
    std::string own;
    std::vector<std::string> symbols;
    std::vector<float> dists, azimuths;
    int32_t dropped = 0;
    std::vector<float> nearest;
};

template <class Real, class Routine>
ListAnswer listAreas(Routine routine, bool local, const ListCall& c)
{
    const std::size_t length = local ? 12 : 6;
    const auto p = deg(c.lon, c.lat);
    float lon = p.lon, lat = p.lat;
    Real radius = Real(c.radius);
    std::string excluded;
    if (c.excluded >= 0)
        excluded = symbolOf(local, c.excluded);
    int16_t exclCount = c.excluded >= 0 ? 1 : 0;
    int32_t capacity = c.capacity, n = -1, dropped = -1;
    const auto room = std::size_t(std::max(capacity, 8));
    std::string own(length, '?'), symbols(length * room, '?');
    std::vector<Real> dists(room), azimuths(room);
    routine(&lon, &lat, &radius, &exclCount, excluded.data(), &capacity, own.data(), &n, dists.data(),
            azimuths.data(), symbols.data(), &dropped);
    ListAnswer a{own, {}, {}, {}, dropped, std::vector<float>(2 * std::size_t(std::max(n, 0)))};
    for (int32_t i = 0; i < n; ++i) {
        a.symbols.push_back(symbols.substr(std::size_t(i) * length, length));
        a.dists.push_back(float(dists[std::size_t(i)]));
        a.azimuths.push_back(float(azimuths[std::size_t(i)]));
    }
    GEOVA2(&n, a.nearest.data());
    return a;
}

struct ListCase {
    const char* what;
    ListCall call;
    std::string_view want;  // areas, nearest first
    int32_t dropped;
    bool ownArea;            // the point lies in area 0
};

const ListCase kListCases[] = {
    {"every area within the radius", {1, 5, 2500, -1, 8}, "021", 0, false},
    {"an excluded area", {1, 5, 2500, 2, 8}, "01", 0, false},
    {"a full list keeps the nearest", {1, 5, 2500, -1, 2}, "02", 1, false},
    {"no room", {1, 5, 2500, -1, 0}, "", 999, false},
    {"the radius leaves the farthest out", {1, 5, 1000, -1, 8}, "02", 0, false},
    {"the area at the point", {3, 5, 2500, -1, 8}, "21", 0, true},
};

using RealList = void(TAVU_CALL*)(float*, float*, float*, int16_t*, char*, int32_t*, char*, int32_t*, float*, float*,
                                  char*, int32_t*);
using WholeList = void(TAVU_CALL*)(float*, float*, int32_t*, int16_t*, char*, int32_t*, char*, int32_t*, int32_t*,
                                   int32_t*, char*, int32_t*);

struct ListRoutines {
    const char* name;
    bool local;
    RealList builds, onMap;
    WholeList wholeBuilds, wholeOnMap;
};

const ListRoutines kListRoutines[] = {
    {"GEODAM1", false, GEODAM1, GEODAM3, GEODAM, GEODAM2},
    {"LCLDAM1", true, LCLDAM1, LCLDAM3, LCLDAM, LCLDAM2},
};

std::string describe(const ListAnswer& a)
{
    std::ostringstream out;
    out << a.own << " |";
    for (std::size_t i = 0; i < a.symbols.size(); ++i)
        out << " " << a.symbols[i] << " " << a.dists[i] << " " << a.azimuths[i];
    out << " | " << a.dropped;
    return out.str();
}

TEST(AreaDistance, ListsGiveTheAreasNearestFirstWithTheirNearestPoints)
{
    for (const ListRoutines& r : kListRoutines) {
        const auto result = onAreaMap([&] {
            std::ostringstream out;
            for (const ListCase& c : kListCases) {
                const ListAnswer got = listAreas<float>(r.builds, r.local, c.call);
                std::ostringstream wrong;
                const std::string own = c.ownArea ? symbolOf(r.local, 0) : "AAA???" + std::string(r.local ? 6 : 0, ' ');
                if (got.own != own)
                    wrong << " own " << got.own;
                if (got.dropped != c.dropped)
                    wrong << " dropped " << got.dropped;
                if (got.symbols.size() != c.want.size())
                    wrong << " count " << got.symbols.size();
                const auto p = deg(c.call.lon, c.call.lat);
                for (std::size_t i = 0; i < std::min(got.symbols.size(), c.want.size()); ++i) {
                    const int area = c.want[i] - '0';
                    if (got.symbols[i] != symbolOf(r.local, area))
                        wrong << " entry " << i << " " << got.symbols[i];
                    const double want = referenceKm(std::size_t(area), p.lon, p.lat);
                    const std::string bad = checkAnswer(p.lon, p.lat, got.dists[i], got.azimuths[i], &got.nearest[2 * i], want);
                    if (!bad.empty())
                        wrong << " entry " << i << bad;
                }
                // The same list on the map as built, and rounded by the integer forms.
                const ListAnswer again = listAreas<float>(r.onMap, r.local, c.call);
                if (describe(again) != describe(got))
                    wrong << " on the map as built " << describe(again);
                ListCall wide = c.call;
                wide.capacity = c.call.capacity == 8 ? 350 : c.call.capacity;
                for (WholeList whole : {r.wholeBuilds, r.wholeOnMap}) {
                    const ListAnswer rounded = listAreas<int32_t>(whole, r.local, wide);
                    ListAnswer expected = got;
                    for (std::size_t i = 0; i < got.dists.size(); ++i) {
                        expected.dists[i] = float(geo::roundHalfAway(got.dists[i]));
                        expected.azimuths[i] = float(geo::roundHalfAway(got.azimuths[i]));
                    }
                    if (describe(rounded) != describe(expected))
                        wrong << " rounded " << describe(rounded);
                }
                if (!wrong.str().empty())
                    out << c.what << ":" << wrong.str() << "\n";
            }
            return out.str();
        });
        EXPECT_EQ(result.output, "") << r.name;
    }
}

TEST(AreaDistance, A374thListEntryEndsTheProcess)
{
    const auto result = onAreaMap([] {
        // Table entries the index file cannot hold, for the area at 2-4 E.
        geo::GEOAAIN();
        auto& x = geo::libraryState().areaLists.allotmentIndex;
        for (int i = 0; i < 380; ++i) {
            x.tableAreaId.push_back(101);
            x.tableSymbol.push_back("AAA" + std::to_string(100 + i));
            x.tableMarker.push_back('M');
        }
        listAreas<int32_t>(GEODAM, false, {1, 5, 2500, -1, 400});
        return std::string("no end");
    });
    EXPECT_EQ(result.output, fatalOutput("GEODAM3", " Increase the parameter MAXQLL=   373 in GEOQ49\n"));
    EXPECT_TRUE(result.exited);
    EXPECT_NE(result.status, 0);
}

TEST(AreaDistance, AnAreaOfAListWhoseStorageAnotherListTookIsNotFound)
{
    const auto result = onAreaMap([] {
        const auto p = deg(1, 5);
        float lon = p.lon, lat = p.lat, maxDist = 2500, dist = -1, azimuth = -1;
        buildMap(false, lon, lat, 2501);
        buildMap(true, lon, lat, 2501);
        std::string symbol = symbolOf(false, 0);
        GEODAA3(&lon, &lat, symbol.data(), &maxDist, &dist, &azimuth);
        const ListAnswer list = listAreas<float>(GEODAM3, false, {1, 5, 2500, -1, 8});
        std::ostringstream out;
        out << dist << " " << azimuth << " " << list.symbols.size();
        return out.str();
    });
    EXPECT_EQ(result.output, "999999 0 0");
}

}  // namespace
