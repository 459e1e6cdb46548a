#include "tavu32d.h"

#include "GeometryReference.h"
#include "MapFixtures.h"
#include "map/AreasAtPoint.h"
#include "map/Radial.h"

#include <GeographicLib/GeodesicLine.hpp>
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <sstream>

using map_fixtures::deg;
using map_fixtures::path;
using map_fixtures::TestMap;
using testing_support::fatalOutput;

namespace {

constexpr double kKmTol = 0.2;  // crossing distances against GeographicLib
constexpr float kHalf = float(1.5 * map_fixtures::kRadPerDeg);
constexpr int32_t kCapacity = 40;
constexpr double kStartLon = -3, kStartLat = 5, kDistKm = 3000;

// Countries AAA (0..10 E, 0..10 N) and BBB (10..20 E) with allotment areas, areas at sea and
// a local area; the radial from 3 W, 5 N eastwards meets them in turn.
struct RadialMap {
    TestMap map;
    std::vector<mapfiles::IndexEntry> areaEntries;  // after the map lines, as in the index file
    std::vector<mapfiles::Line> localLines;
    std::vector<mapfiles::IndexEntry> localEntries;

    /// An allotment area with its table entries (symbol, marker).
    void allotment(const mapfiles::Line& outline, const std::vector<std::pair<std::string, char>>& entries)
    {
        map.lines.push_back(outline);
        for (const auto& [symbol, marker] : entries) {
            auto e = mapfiles::lineEntry(symbol.substr(0, 3), 'A', outline);
            mapfiles::setData(e, 8, symbol.substr(3, 3));
            mapfiles::setData(e, 12, std::string(1, marker));
            areaEntries.push_back(e);
        }
    }

    testing_support::ChildResult run(const std::function<std::string()>& body) const
    {
        testing_support::MapFolder folder;
        TestMap all = map;
        all.entries.insert(all.entries.end(), areaEntries.begin(), areaEntries.end());
        all.writeTo(folder);
        folder.write("LCLIDX1.BIN", mapfiles::indexFile(localEntries));
        folder.write("LCLPNT1.BIN", mapfiles::mainPointFile(localLines));
        return testing_support::runWithMaps(folder, [&] {
            map_fixtures::startLibrary();
            return body();
        });
    }
};

// AAA split in two at 5 E by a line of its own makes two outlines of AAA.
RadialMap radialMap(bool splitAAA = false)
{
    RadialMap m;
    const auto border = mapfiles::evenLine(1000100, deg(10, 0), deg(10, 10), 41);
    const auto coastB = path(1000300, {deg(10, 0), deg(20, 0), deg(20, 10), deg(10, 10)}, 41);
    if (splitAAA) {
        const auto inner = mapfiles::evenLine(1000400, deg(5, 0), deg(5, 10), 41);
        const auto west = path(1000500, {deg(5, 10), deg(0, 10), deg(0, 0), deg(5, 0)}, 21);
        const auto northEast = path(1000600, {deg(10, 10), deg(5, 10)}, 21);
        const auto southEast = path(1000700, {deg(5, 0), deg(10, 0)}, 21);
        m.map.ring("AAA", {{inner, 'I', false}, {west, 'C', false}});
        m.map.ring("AAA", {{border, 'B', false}, {northEast, 'C', false}, {inner, 'I', true}, {southEast, 'C', false}});
    } else {
        const auto coastA = path(1000200, {deg(10, 10), deg(0, 10), deg(0, 0), deg(10, 0)}, 41);
        m.map.ring("AAA", {{border, 'B', false}, {coastA, 'C', false}});
    }
    m.map.ring("BBB", {{coastB, 'C', false}, {border, 'B', true}});
    m.allotment(mapfiles::squareLine(101, deg(4.5, 5), kHalf, 10), {{"BBB009", 'M'}, {"AAA001", 'M'}});
    m.allotment(mapfiles::squareLine(102, deg(14.5, 5), kHalf, 10), {{"BBB001", 'M'}});
    m.allotment(mapfiles::squareLine(103, deg(10, 8.5), kHalf / 3, 10), {{"BBB002", 'M'}});
    m.allotment(mapfiles::squareLine(104, deg(-5, -5), kHalf, 4), {{"XXXANY", '*'}});
    m.allotment(mapfiles::squareLine(105, deg(-5, 15), kHalf, 4), {{"CCC001", 'M'}});
    m.localLines.push_back(mapfiles::squareLine(201, deg(4.5, 5), kHalf, 10));
    auto local = mapfiles::lineEntry("AAA", 'A', m.localLines.back());
    mapfiles::setData(local, 0, "LOC000001");
    m.localEntries.push_back(local);
    return m;
}

// The map and an area list over the whole test map; the local and allotment lists share
// their storage, so only the last one built is held.
void buildList(void (*list)(int32_t*, float*, int32_t*) = ALLMAP)
{
    int32_t kind = 2, dist = 0;
    const auto sw = deg(-10, -10), ne = deg(30, 20);
    float place[4] = {sw.lon, sw.lat, ne.lon, ne.lat};
    list(&kind, place, &dist);
}

// The distance along the geodesic from the radial's start to where it reaches lonDeg; the
// radial's end for lonDeg 99.
double reachesKm(double lonDeg)
{
    if (lonDeg == 99)
        return kDistKm;
    const auto line = geometry_reference::sphere().Line(kStartLat, kStartLon, 90);
    double low = 0, high = 20000;
    for (int i = 0; i < 80; ++i) {
        const double mid = (low + high) / 2;
        double lat = 0, lon = 0;
        line.Position(mid, lat, lon);
        (lon < lonDeg ? low : high) = mid;
    }
    return low;
}

std::string kmText(double km)
{
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, km, std::chars_format::fixed, 3).ptr;
    return std::string(buffer, end);
}

// The caller's arrays of one search; the call fills them.
struct Search {
    std::vector<float> points = std::vector<float>(2 * kCapacity), km = std::vector<float>(kCapacity);
    std::vector<int32_t> wholeKm = std::vector<int32_t>(kCapacity);
    std::vector<char> texts = std::vector<char>(12 * kCapacity, '#');
    int32_t nmax = kCapacity, n = 0, err = 0;

    /// The n texts of `width` joined by "|", then the error when there is one.
    std::string describe(long width) const
    {
        std::string s;
        for (int32_t i = 0; i < n; ++i)
            s += (i ? "|" : "") + std::string(texts.data() + i * width, std::size_t(width));
        return err ? s + " err " + std::to_string(err) : s;
    }
    /// The distances against the wanted ones (whole km rounded); "" when they agree.
    std::string distancesOff(const std::vector<double>& wantKm, bool whole) const
    {
        if (std::size_t(n) != wantKm.size())
            return " count " + std::to_string(n);
        std::string out;
        for (std::size_t i = 0; i < wantKm.size(); ++i) {
            const double got = whole ? double(wholeKm[i]) : double(km[i]);
            if (std::fabs(got - (whole ? std::round(wantKm[i]) : wantKm[i])) > (whole ? 0 : kKmTol))
                out += " stretch " + std::to_string(i + 1) + ": " + kmText(got) + " not " + kmText(wantKm[i]);
        }
        return out;
    }
};

// The radial's arguments as the real and the integer forms take them.
struct Radial {
    float lon = deg(kStartLon, kStartLat).lon, lat = deg(kStartLon, kStartLat).lat;
    float dist = float(kDistKm), az = 90;
    int32_t wholeDist = int32_t(kDistKm), wholeAz = 90, mode = 0;
    char symbol[13] = "";
};

// The searches in their four shapes: real or integer, all areas or one.
template <auto F>
void real(Radial& a, Search& s)
{
    F(&a.lon, &a.lat, &a.dist, &a.az, &s.nmax, s.points.data(), s.km.data(), s.texts.data(), &s.n, &s.err);
}
template <auto F>
void whole(Radial& a, Search& s)
{
    F(&a.lon, &a.lat, &a.wholeDist, &a.wholeAz, &s.nmax, s.points.data(), s.wholeKm.data(), s.texts.data(), &s.n,
      &s.err);
}
template <auto F>
void realOne(Radial& a, Search& s)
{
    F(a.symbol, &a.lon, &a.lat, &a.dist, &a.az, &s.nmax, s.points.data(), s.km.data(), s.texts.data(), &s.n, &s.err);
}
template <auto F>
void wholeOne(Radial& a, Search& s)
{
    F(a.symbol, &a.lon, &a.lat, &a.wholeDist, &a.wholeAz, &s.nmax, s.points.data(), s.wholeKm.data(), s.texts.data(),
      &s.n, &s.err);
}
void countries(Radial& a, Search& s)
{
    GEOALC3(&a.lon, &a.lat, &a.dist, &a.az, &a.mode, &s.nmax, s.points.data(), s.km.data(), s.texts.data(), &s.n,
            &s.err);
}
void wholeCountries(Radial& a, Search& s)
{
    GEOALC(&a.lon, &a.lat, &a.wholeDist, &a.wholeAz, &a.mode, &s.nmax, s.points.data(), s.wholeKm.data(),
           s.texts.data(), &s.n, &s.err);
}

}  // namespace

TEST(RadialSearch, StretchesEndWhereGeographicLibCrossesTheLinesAndCarryTheirSymbols)
{
    struct Row {
        void (*list)(int32_t*, float*, int32_t*);
        void (*call)(Radial&, Search&);
        bool whole;
        const char* symbol;  // the one area, or the mode of the countries' search
        const char* want;
        std::vector<double> stopsDeg;  // longitudes where the stretches end, 99 the radial's end
    };
    const std::vector<double> countryStops{0, 10, 20, 99}, areaStops{0, 3, 6, 10, 13, 16, 20, 99};
    const std::vector<double> localStops{0, 3, 6, 10, 20, 99}, oneStops{0, 13, 16, 20, 99}, landStops{0, 20, 99};
    const char* areas = "      |AAA???|AAA001|AAA???|BBB???|BBB001|BBB???|      ";
    const char* oneArea = "      |++++++|BBB001|++++++|      ";
    const char* localAreas = "            |AAA???      |AAALOC000001|AAA???      |BBB???      |            ";
    const char* oneLocal = "            |++++++      |AAALOC000001|++++++      |            ";
    const Row rows[] = {
        {ALLMAP, countries, false, "0", "   |AAA|BBB|   ", countryStops},
        {ALLMAP, countries, false, "1", "   |+++|   ", landStops},
        {ALLMAP, wholeCountries, true, "0", "   |AAA|BBB|   ", countryStops},
        {ALLMAP, real<GEOAAC3>, false, "", areas, areaStops},
        {ALLMAP, whole<GEOAAC2>, true, "", areas, areaStops},
        {ALLMAP, realOne<GEOAAC9>, false, "BBB001", oneArea, oneStops},
        {ALLMAP, wholeOne<GEOAAC8>, true, "BBB001", oneArea, oneStops},
        {ALLMAP, realOne<GEOAAC9>, false, "ZZZ999", "      |++++++|      ", landStops},
        {LCLMAP, real<LCLAAC3>, false, "", localAreas, localStops},
        {LCLMAP, whole<LCLAAC2>, true, "", localAreas, localStops},
        {LCLMAP, realOne<LCLAAC9>, false, "AAALOC000001", oneLocal, {0, 3, 6, 20, 99}},
        {LCLMAP, wholeOne<LCLAAC8>, true, "AAALOC000001", oneLocal, {0, 3, 6, 20, 99}},
    };
    const auto r = radialMap().run([&] {
        std::string out;
        for (const Row& row : rows) {
            buildList(row.list);
            Radial args;
            std::copy_n(row.symbol, std::strlen(row.symbol), args.symbol);
            args.mode = row.symbol[0] == '1';
            Search s;
            row.call(args, s);
            std::vector<double> wantKm;
            for (double lon : row.stopsDeg)
                wantKm.push_back(reachesKm(lon));
            const std::string got = s.describe(long(std::string_view(row.want).find('|')));
            if (got != row.want || !s.distancesOff(wantKm, row.whole).empty())
                out += got + s.distancesOff(wantKm, row.whole) + "\n";
        }
        return out;
    });
    EXPECT_EQ(r.output, "");
}

TEST(RadialSearch, OtherModulesCrossTheRadialWithAStoreOfTheirChoosingAndFindAreasBySymbol)
{
    const auto r = radialMap().run([] {
        buildList();
        std::ostringstream out;
        for (const char* symbol : {"AAA001", "BBB009", "BBB002", "ZZZ999"}) {
            const geo::AreaLookup a = geo::GEOALL1(symbol);
            out << "[" << a.owner << " " << a.lineId << " " << a.index << "]";
        }
        std::vector<float> points(2 * 20);
        const Radial radial;
        const geo::RadialPass map = geo::GEORADX({radial.lon, radial.lat}, radial.dist, 90, 0, points.data(), 20);
        const geo::RadialPass all = geo::GEORADA(geo::AreaStore::Allotments, 0, points.data() + 2 * map.count, 20);
        out << " map " << map.count << (map.far ? " far" : " near") << ", areas " << all.count << " ";
        for (int32_t a = 1; a <= 5; ++a)
            out << (geo::passedOver(geo::AreaStore::Allotments, a) ? '-' : '+');
        // A store of the caller's own: one outline, its own marks.
        const auto square = mapfiles::squareLine(1, deg(8, 5), kHalf, 3);
        std::vector<float> own;
        for (const auto& p : square.points)
            own.insert(own.end(), {p.lon, p.lat});
        const geo::OutlineSet set{1, [&](int32_t) {
                                      return geo::StoreOutline{geo::boundingWindow(own.data(), int32_t(own.size() / 2)),
                                                               own.data(), int32_t(own.size() / 2)};
                                  }};
        std::vector<char> marks;
        const geo::RadialPass mine = geo::GEORADA(set, marks, 0, points.data(), 1);
        out << ", own " << mine.count << " err " << mine.err << " " << std::string(marks.begin(), marks.end());
        return out.str();
    });
    EXPECT_EQ(r.output, "[AAA 101 1][BBB 101 1][BBB 103 3][ 0 0] map 3 near, areas 4 ++---, own 1 err 1 +");
}

namespace {

std::string symbolAt(void (*look)(float*, float*, char*), long width, double lonDeg, double latDeg)
{
    const auto p = deg(lonDeg, latDeg);
    float lon = p.lon, lat = p.lat;
    std::string symbol(std::size_t(width), '#');
    look(&lon, &lat, symbol.data());
    return symbol;
}

}  // namespace

TEST(AreasAtPoint, EachPointGetsItsAreaItsCountryOrBlanks)
{
    struct Row {
        double lon, lat;
        const char* want;
    };
    // In AAA's area (its first entry is tied to BBB), in BBB's; an area tied to BBB across the
    // border claims only BBB's side; an any-country area and a tied area at sea; the sea.
    const Row rows[] = {{4.5, 5, "AAA001"},   {14.5, 5, "BBB001"}, {9.8, 8.5, "AAA???"}, {10.2, 8.5, "BBB002"},
                        {2, 2, "AAA???"},     {-5, -5, "XXXANY"},  {-5, 15, "      "},  {-8, 5, "      "}};
    const auto r = radialMap().run([&] {
        std::string out;
        for (const Row& row : rows) {
            const std::string own = symbolAt(GEOIAA, 6, row.lon, row.lat);
            const std::string held = symbolAt(GEOIAA2, 6, row.lon, row.lat);
            if (own != row.want || held != row.want)
                out += own + "/" + held + " not " + row.want + "\n";
        }
        // The local twins; the second of each pair reads the map the first built.
        for (const Row& row : {Row{4.5, 5, ""}, Row{2, 2, ""}, Row{-8, 5, ""}}) {
            out += symbolAt(LCLILA, 12, row.lon, row.lat);
            out += symbolAt(LCLILA2, 12, row.lon + 0.2, row.lat) + "|";
        }
        return out;
    });
    EXPECT_EQ(r.output, "AAALOC000001AAALOC000001|AAA???      AAA???      |                        |");
}

TEST(AreasAtPoint, APointLookUpIgnoresTheMarksOfTheLastRadial)
{
    const auto r = radialMap().run([] {
        buildList();
        // A radial along 1 N meets BBB's and AAA's ground but not AAA's area, which it marks '-'.
        Radial a;
        a.lat = deg(kStartLon, 1).lat;
        Search s;
        real<GEOAAC3>(a, s);
        return s.describe(6) + " " + (geo::passedOver(geo::AreaStore::Allotments, 1) ? "passed over " : "met ") +
               symbolAt(GEOIAA2, 6, 4.5, 5);
    });
    EXPECT_EQ(r.output, "      |AAA???|BBB???|       passed over AAA001");
}

namespace {

constexpr double kRadTol = 1e-6;

geo::Point along(geo::Point start, double km)
{
    return geo::destination(start, float(km), 90);
}

}  // namespace

TEST(RadialSearch, EdgeCasesOfThePath)
{
    const auto r = radialMap().run([] {
        buildList();
        std::string out;
        // A radial far at sea: one blank stretch the radial's length.
        Radial a;
        Search far, full;
        a.lon = deg(-100, -40).lon, a.lat = deg(-100, -40).lat, a.dist = 500, a.az = 0;
        real<GEOAAC3>(a, far);
        out += "[" + far.describe(6) + "]" + far.distancesOff({500}, false) + "\n";
        // No room for the end point of four stretches.
        Radial b;
        full.nmax = 3;
        countries(b, full);
        out += full.describe(3) + "\n";
        // The poles: "ATA" or any land in the south, nothing in the far north.
        for (const double latDeg : {-80.0, 85.0})
            for (const int32_t mode : {0, 1})
                out += "[" + geo::GEOCTPT({0, deg(0, latDeg).lat}, mode) + "]";
        return out;
    });
    EXPECT_EQ(r.output, "[      ]\n   |   |    err 1\n[ATA][+++][   ][   ]");
}

TEST(RadialSearch, CountryStretchesAreNeverMerged)
{
    const auto r = radialMap(true).run([] {
        buildList();
        Radial a;
        Search s;
        countries(a, s);
        return s.describe(3) + s.distancesOff({reachesKm(0), reachesKm(5), reachesKm(10), reachesKm(20), kDistKm},
                                              false);
    });
    EXPECT_EQ(r.output, "   |AAA|AAA|BBB|   ");
}

TEST(RadialSearch, CrossingsWithin40MetresCountAsOne)
{
    struct Row {
        std::vector<double> km;    // the points' distances along the radial, in any order
        std::vector<double> kept;
    };
    const Row rows[] = {
        {{100, 0.03, 200, 100.03, 100.06, 100.15}, {100, 100.15, 200}},  // a chain, and the start
        {{0.03, 300}, {300}},
        {{0.03}, {0.03}},  // the only point stays
        {{50, 50.05, 50.1}, {50, 50.05, 50.1}},
    };
    const auto r = radialMap().run([&] {
        std::ostringstream out;
        const geo::Point start{0, 0};
        for (const Row& row : rows) {
            std::vector<float> points(2 * row.km.size()), dists(row.km.size());
            geo::GEORADX(start, 500, 90, 0, points.data(), 0);
            for (std::size_t i = 0; i < row.km.size(); ++i)
                geo::setPoint(points.data(), long(i), along(start, row.km[i]));
            const int32_t n = geo::GEORADS(points.data(), dists.data(), int32_t(row.km.size()));
            if (std::size_t(n) != row.kept.size()) {
                out << "kept " << n << "\n";
                continue;
            }
            for (std::size_t i = 0; i < row.kept.size(); ++i)
                if (std::fabs(double(dists[i]) - row.kept[i]) > 1e-3 ||
                    std::fabs(double(points[2 * i]) - double(along(start, row.kept[i]).lon)) > kRadTol)
                    out << kmText(dists[i]) << " not " << kmText(row.kept[i]) << "\n";
        }
        return out.str();
    });
    EXPECT_EQ(r.output, "");
}

TEST(RadialSearch, TestPointsLieWhereTheirCaseOfStretchPutsThem)
{
    struct Row {
        double startLonDeg;
        std::vector<double> km;    // the stretches' ends
        std::vector<double> test;  // where each stretch is tested, km along the radial
    };
    // Radial vertices every 50 km along the equator.
    const Row rows[] = {
        // no crossing or vertex before; one vertex after the crossing, nearer it, then nearer
        // the end; exactly between; two vertices after it; the crossing beyond the last vertex
        {0, {20, 75, 140, 160, 460, 470, 500}, {10, 42.5, 110, 152.5, 425, 465, 485}},
        {0, {120, 300}, {87.5, 225}},  // vertices but no crossing before
        {0, {10, 30, 500}, {5, 20, 425}},  // a crossing but no vertex before
        {179.8, {44.5, 300}, {22.25, 225}},  // across 180 degrees
    };
    const auto r = radialMap().run([&] {
        std::ostringstream out;
        for (const Row& row : rows) {
            const geo::Point start{deg(row.startLonDeg, 0).lon, 0};
            const auto n = int32_t(row.km.size());
            std::vector<float> points(2 * row.km.size()), dists(row.km.begin(), row.km.end());
            geo::GEORADX(start, float(row.km.back()), 90, 0, points.data(), 0);
            for (int32_t i = 0; i < n; ++i)
                geo::setPoint(points.data(), i, along(start, row.km[std::size_t(i)]));
            for (int32_t k = 1; k <= n; ++k) {
                const geo::Point t = geo::GEORADT(k, points.data(), dists.data(), n);
                const geo::Point want = along(start, row.test[std::size_t(k - 1)]);
                if (std::fabs(double(t.lon) - double(want.lon)) > kRadTol || std::fabs(double(t.lat)) > kRadTol)
                    out << row.startLonDeg << " stretch " << k << ": " << kmText(t.lon) << " not " << kmText(want.lon)
                        << "\n";
            }
        }
        return out.str();
    });
    EXPECT_EQ(r.output, "");
}

TEST(RadialSearch, ASawToothCoastCrossed340TimesFitsTheIntegerForm)
{
    TestMap map;
    mapfiles::Line saw{1000900, {}};
    for (int i = 0; i <= 340; ++i)
        saw.points.push_back(deg(1 + 0.05 * i, i % 2 ? -0.1 : 0.1));
    const auto rest = path(1000901, {deg(18, 0.1), deg(18, 5), deg(1, 5), deg(1, 0.1)}, 5);
    map.ring("SAW", {{saw, 'C', false}, {rest, 'C', false}});
    const auto r = map_fixtures::onMap(map, [] {
        int32_t kind = 2, dist = 2100, az = 90, nmax = 350, n = 0, err = 0;
        const auto sw = deg(-1, -2), ne = deg(20, 6);
        float place[4] = {sw.lon, sw.lat, ne.lon, ne.lat}, lon = 0, lat = 0;
        ALLMAP(&kind, place, &dist);
        std::vector<float> pts(2 * 350);
        std::vector<int32_t> dists(350);
        std::vector<char> syms(6 * 350);
        GEOAAC2(&lon, &lat, &dist, &az, &nmax, pts.data(), dists.data(), syms.data(), &n, &err);
        std::string out = std::to_string(n) + " err " + std::to_string(err);
        for (int32_t i = 0; i < n; ++i) {
            const std::string want = i % 2 ? "SAW???" : "      ";
            const auto k = std::size_t(i);
            if (std::string(syms.data() + 6 * i, 6) != want || (i > 0 && dists[k] <= dists[k - 1]))
                out += " stretch " + std::to_string(i + 1);
        }
        return out + " last " + std::to_string(dists[std::size_t(n - 1)]);
    });
    EXPECT_EQ(r.output, "341 err 0 last 2100");
}

namespace {

// GEOBCI's next line of the pair: "id kind n status" or "end status".
// In degrees (unit 2) the first point of the border must be (10, 0).
std::string nextBorder(const char* c1, const char* c2, int32_t nmax, int16_t unit)
{
    char cty1[3], cty2[3], kind = '#';
    std::copy_n(c1, 3, cty1);
    std::copy_n(c2, 3, cty2);
    std::vector<float> pts(2 * std::size_t(std::max(nmax, 1)));
    int32_t lineId = 0, n = 0, end = 0, status = -1;
    GEOBCI(&unit, cty1, cty2, &nmax, pts.data(), &lineId, &n, &kind, &end, &status);
    if (unit == 2 && !end && (std::fabs(pts[0] - 10) > 1e-4 || std::fabs(pts[1]) > 1e-4))
        return "not in degrees; ";
    std::string s = end ? "end " + std::to_string(status)
                        : std::to_string(lineId) + " " + kind + " " + std::to_string(n) + " " + std::to_string(status);
    if (std::string(cty1, 3) != c1 || std::string(cty2, 3) != c2)
        s += " codes changed";
    return s + "; ";
}

}  // namespace

TEST(BorderLines, EachPairHandsOutItsLinesThenTheEnd)
{
    struct Call {
        const char *c1, *c2;
        int32_t nmax;
    };
    // A border, the coast, a country alone with no lines of its own, a short capacity, then
    // lower-case codes (in degrees) that stay as they were and go on with the same pair.
    const Call calls[] = {{"AAA", "BBB", 100}, {"AAA", "BBB", 100}, {"AAA", "   ", 200}, {"AAA", "   ", 200},
                          {"AAA", "AAA", 100}, {"AAA", "BBB", 10},  {"aaa", "bbb", 100}, {"aaa", "bbb", 100}};
    const auto r = radialMap().run([&] {
        std::string out;
        for (const Call& c : calls)
            out += nextBorder(c.c1, c.c2, c.nmax, c.c1[0] == 'a' ? 2 : 1);
        return out;
    });
    EXPECT_EQ(r.output,
              "1000100 B 41 0; end 0; 1000200 C 121 0; end 0; end 1; 1000100 B 10 2; end 0; 1000100 B 41 0; ");
}

TEST(BorderLines, MoreThan670LinesEndTheProcess)
{
    TestMap map;
    map.add(mapfiles::islandGrid(671, 40, deg(0, 0), float(0.5 * map_fixtures::kRadPerDeg), 0.001f, 1, 1, 1000000));
    const auto r = map_fixtures::onMap(map, [] { return nextBorder("G00", "G00", 10, 1); });
    EXPECT_EQ(r.output, fatalOutput("GEOBCI", " Increase the parameter LSTLOK=   670\n"));
}

TEST(RadialSearch, LinesAreCrossedAcross180WhenTheWindowAroundTheOutlinesCrossesIt)
{
    // One outline along 60 N from 175 W east to 170 E, back across 180 to 175 W, 65 N. Its
    // own window is normal (points at 1 W and 1 E make the crossing one wider), the window
    // around its corners crosses 180: the edge across 180 is met there, not on the ray at 0.
    std::vector<mapfiles::Point> ring{deg(-175, 60)};
    for (double lon : {-170.0, -90.0, -10.0, -1.0, 1.0, 10.0, 90.0, 170.0})
        ring.push_back(deg(lon, 60));
    ring.push_back(deg(-175, 65));
    ring.push_back(ring.front());
    TestMap map;
    map.island("RNG", {1000100, ring});
    const auto r = map_fixtures::onMap(map, [] {
        auto w = std::array<float, 4>{deg(-180, 50).lon, deg(-180, 50).lat, deg(180, 70).lon, deg(180, 70).lat};
        int32_t kind = 2, dist = 0;
        GEOMAP(&kind, w.data(), &dist);
        float lon = deg(0, 55).lon, lat = deg(0, 55).lat, km = 1000, az = 0;
        int32_t mode = 0, nmax = kCapacity, n = -1, err = -1;
        std::array<float, 2 * kCapacity> points{};
        std::array<float, kCapacity> kms{};
        std::array<char, 3 * kCapacity> codes{};
        GEOALC3(&lon, &lat, &km, &az, &mode, &nmax, points.data(), kms.data(), codes.data(), &n, &err);
        std::ostringstream out;
        out << "n " << n << " err " << err << ":";
        for (int i = 0; i < n; ++i)
            out << " " << std::lround(points[2 * std::size_t(i) + 1] / map_fixtures::kRadPerDeg);
        return out.str();
    });
    EXPECT_EQ(r.output, "n 2 err 0: 60 64");
}
