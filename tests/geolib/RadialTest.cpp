#include "tavu32d.h"

#include "GeometryReference.h"
#include "MapFixtures.h"
#include "map/AreasAtPoint.h"
#include "map/Radial.h"

#include <GeographicLib/GeodesicLine.hpp>
#include <gtest/gtest.h>

#include <charconv>
#include <sstream>

using map_fixtures::deg;
using map_fixtures::path;
using map_fixtures::TestMap;
using testing_support::fatalOutput;

namespace {

constexpr double kKmTol = 0.2;  // crossing distances against GeographicLib
constexpr float kHalf = float(1.5 * map_fixtures::kRadPerDeg);
constexpr int kLargeCapacity = 40;

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

    void local(const mapfiles::Line& outline, const std::string& areaId)
    {
        localLines.push_back(outline);
        auto e = mapfiles::lineEntry(areaId.substr(0, 3), 'A', outline);
        mapfiles::setData(e, 0, areaId.substr(3));
        mapfiles::setData(e, 12, "L");
        localEntries.push_back(e);
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
    m.local(mapfiles::squareLine(201, deg(4.5, 5), kHalf, 10), "AAALOC000001");
    return m;
}

// The map and the area list over the whole test map; the local and allotment lists share
// their storage, so only the last one built is held.
void buildList(void (*list)(int32_t*, float*, int32_t*) = ALLMAP)
{
    int32_t kind = 2, dist = 0;
    const auto sw = deg(-10, -10), ne = deg(30, 20);
    float place[4] = {sw.lon, sw.lat, ne.lon, ne.lat};
    list(&kind, place, &dist);
}

// The distance from the radial's start, along the geodesic, to where it reaches lonDeg.
double reachesKm(double startLon, double startLat, double azimuthDeg, double lonDeg)
{
    const GeographicLib::GeodesicLine line = geometry_reference::sphere().Line(startLat, startLon, azimuthDeg);
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

struct Search {
    std::vector<std::string> texts;
    std::vector<float> km;
    std::vector<int32_t> wholeKm;
    std::vector<float> points;
    int32_t n = 0, err = 0;

    explicit Search(int32_t capacity) : km(std::size_t(capacity)), wholeKm(std::size_t(capacity)),
                                        points(2 * std::size_t(capacity)), m_capacity(capacity) {}

    /// The texts joined by "|", then "err" and the error when there is one.
    std::string describe() const
    {
        std::string s;
        for (int32_t i = 0; i < n; ++i)
            s += (i ? "|" : "") + texts[std::size_t(i)];
        return err ? s + " err " + std::to_string(err) : s;
    }
    /// The stretches' distances against the wanted ones; "" when they agree.
    std::string distancesOff(const std::vector<double>& wantKm, bool whole = false) const
    {
        std::ostringstream out;
        if (std::size_t(n) != wantKm.size())
            return "count " + std::to_string(n);
        for (std::size_t i = 0; i < wantKm.size(); ++i) {
            const double got = whole ? double(wholeKm[i]) : double(km[i]);
            if (std::fabs(got - (whole ? std::round(wantKm[i]) : wantKm[i])) > (whole ? 0 : kKmTol))
                out << " stretch " << i + 1 << ": " << kmText(got) << " not " << kmText(wantKm[i]);
        }
        return out.str();
    }

    template <class Call>
    Search& run(long width, Call call)
    {
        std::vector<char> chars(std::size_t(width * m_capacity), '#');
        call(&m_capacity, points.data(), chars.data());
        for (int32_t i = 0; i < n && i < m_capacity; ++i)
            texts.emplace_back(chars.data() + i * width, std::size_t(width));
        return *this;
    }

private:
    int32_t m_capacity;
};

constexpr double kStartLon = -3, kStartLat = 5, kDistKm = 3000;

Search countries(int32_t mode, int32_t capacity = kLargeCapacity, bool whole = false)
{
    Search s(capacity);
    const auto p = deg(kStartLon, kStartLat);
    float lon = p.lon, lat = p.lat, dist = float(kDistKm), az = 90;
    int32_t wholeDist = int32_t(kDistKm), wholeAz = 90;
    return s.run(3, [&](int32_t* nmax, float* pts, char* codes) {
        if (whole)
            GEOALC(&lon, &lat, &wholeDist, &wholeAz, &mode, nmax, pts, s.wholeKm.data(), codes, &s.n, &s.err);
        else
            GEOALC3(&lon, &lat, &dist, &az, &mode, nmax, pts, s.km.data(), codes, &s.n, &s.err);
    });
}

using AreaSearch = void (*)(float*, float*, float*, float*, int32_t*, float*, float*, char*, int32_t*, int32_t*);
using OneAreaSearch = void (*)(char*, float*, float*, float*, float*, int32_t*, float*, float*, char*, int32_t*,
                               int32_t*);

// GEOAAC3 and its twins along the radial; `symbol` given for GEOAAC9 and its twins.
Search areas(long width, AreaSearch all, OneAreaSearch one = nullptr, std::string symbol = {},
             int32_t capacity = kLargeCapacity)
{
    Search s(capacity);
    const auto p = deg(kStartLon, kStartLat);
    float lon = p.lon, lat = p.lat, dist = float(kDistKm), az = 90;
    return s.run(width, [&](int32_t* nmax, float* pts, char* syms) {
        if (one)
            one(symbol.data(), &lon, &lat, &dist, &az, nmax, pts, s.km.data(), syms, &s.n, &s.err);
        else
            all(&lon, &lat, &dist, &az, nmax, pts, s.km.data(), syms, &s.n, &s.err);
    });
}

// The crossings of the radial with 0, 10 and 20 E, then its end.
std::vector<double> countryStops()
{
    return {reachesKm(kStartLon, kStartLat, 90, 0), reachesKm(kStartLon, kStartLat, 90, 10),
            reachesKm(kStartLon, kStartLat, 90, 20), kDistKm};
}

}  // namespace

TEST(RadialSearch, CountriesAlongTheRadialEndWhereGeographicLibCrossesTheirLines)
{
    const auto r = radialMap().run([] {
        buildList();
        std::string out;
        const Search zero = countries(0), one = countries(1), whole = countries(0, kLargeCapacity, true);
        out += zero.describe() + zero.distancesOff(countryStops()) + "\n";
        const auto stops = countryStops();
        out += one.describe() + one.distancesOff({stops[0], stops[2], stops[3]}) + "\n";
        out += whole.describe() + whole.distancesOff(countryStops(), true) + "\n";
        return out;
    });
    EXPECT_EQ(r.output, "   |AAA|BBB|   \n   |+++|   \n   |AAA|BBB|   \n");
}

TEST(RadialSearch, AreasAlongTheRadialComeStretchByStretchAndMergeEqualNeighbours)
{
    const auto r = radialMap().run([] {
        buildList();
        std::string out;
        auto at = [](double lon) { return reachesKm(kStartLon, kStartLat, 90, lon); };
        const Search all = areas(6, GEOAAC3);
        out += all.describe() + all.distancesOff({at(0), at(3), at(6), at(10), at(13), at(16), at(20), kDistKm}) + "\n";
        const Search one = areas(6, nullptr, GEOAAC9, "BBB001");
        out += one.describe() + one.distancesOff({at(0), at(13), at(16), at(20), kDistKm}) + "\n";
        const Search unknown = areas(6, nullptr, GEOAAC9, "ZZZ999");
        out += unknown.describe() + unknown.distancesOff({at(0), at(20), kDistKm}) + "\n";
        buildList(LCLMAP);
        const Search local = areas(12, LCLAAC3);
        out += local.describe() + local.distancesOff({at(0), at(3), at(6), at(10), at(20), kDistKm}) + "\n";
        const Search localOne = areas(12, nullptr, LCLAAC9, "AAALOC000001");
        out += localOne.describe() + localOne.distancesOff({at(0), at(3), at(6), at(20), kDistKm}) + "\n";
        return out;
    });
    EXPECT_EQ(r.output,
              "      |AAA???|AAA001|AAA???|BBB???|BBB001|BBB???|      \n"
              "      |++++++|BBB001|++++++|      \n"
              "      |++++++|      \n"
              "            |AAA???      |AAALOC000001|AAA???      |BBB???      |            \n"
              "            |++++++      |AAALOC000001|++++++      |            \n");
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
        const geo::RadialPass map = geo::GEORADX(geo::Point{deg(kStartLon, kStartLat).lon, deg(kStartLon, kStartLat).lat},
                                                 float(kDistKm), 90, 0, points.data(), 20);
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
