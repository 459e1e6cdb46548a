#include "tavu32d.h"

#include "MapFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <utility>
#include <sstream>
#include <string>
#include <vector>

using map_fixtures::deg;
using map_fixtures::TestMap;
using testing_support::fatalOutput;

namespace {

constexpr float kDegTol = 1e-4f;
constexpr float kRadTol = 1e-6f;

struct RegionIds {
    int region;
    std::vector<std::int32_t> ids;
};

// The groups of lines that bound the regions, as the library knows them.
const RegionIds kRegionGroups[] = {
    {1, {7350038, 7350037, 7350040, 7350041, 7350042, 7350032, 7350030, 5006490, 5005890, 5005880,
         5005810, 5005812, 5005811, 7350020, 5005830, 5030060, 5030061, 5030062, 5002360, 5002361,
         5002362, 5002363, 5002370, 5002610, 5002620, 5002630, 7350010, 7350051, 7350064}},
    {1, {7350050, 7350063}},
    {2, {7350051, 7350052, 7350065}},
    {2, {7350050, 7350036, 7350040, 7350041, 7350042, 7350033, 7350055, 7350054, 7350053, 7350062}},
    {3, {7350031, 7350030, 5006490, 5005890, 5005880, 5005810, 5005812, 5005811, 7350020, 5005830, 5030060, 5030061,
         5030062, 5002360, 5002361, 5002362, 5002363, 5002370, 5002610, 5002620, 5002630, 7350010, 7350052, 7350066}},
    {3, {7350053, 7350054, 7350055, 7350061}},
};

// AAA (0-10 E, 0-10 N) and BBB (10-20 E) share a border along 10 E; each holds an allotment
// area, and a local area lies in AAA.
struct RegionMap : map_fixtures::AreaMap {
    RegionMap()
    {
        map = TestMap{};
        const auto border = mapfiles::evenLine(1000100, deg(10, 0), deg(10, 10), 11);
        const auto west = map_fixtures::path(1000200, {deg(10, 10), deg(0, 10), deg(0, 0), deg(10, 0)}, 11);
        const auto east = map_fixtures::path(1000300, {deg(10, 0), deg(20, 0), deg(20, 10), deg(10, 10)}, 11);
        // BBB comes first in the index, so that sorted lists differ from index order.
        map.ring("BBB", {{east, 'C', false}, {border, 'B', true}});
        map.ring("AAA", {{border, 'B', false}, {west, 'C', false}});
        allotment(mapfiles::squareLine(101, deg(5, 5), float(2 * map_fixtures::kRadPerDeg), 1), {"AAA001"});
        allotment(mapfiles::squareLine(102, deg(15, 5), float(2 * map_fixtures::kRadPerDeg), 2), {"BBB001"});
        local(mapfiles::squareLine(7, deg(4, 4), float(map_fixtures::kRadPerDeg), 1), "AAALOCAL0001");
        map.island("ATA", mapfiles::evenLine(1000400, deg(0, -80), deg(30, -79), 2), 'C');
        for (const std::int32_t id : regionLineIds())
            if (std::none_of(map.lines.begin(), map.lines.end(), [&](const mapfiles::Line& l) { return l.id == id; }))
                map.lines.push_back(regionLine(id));
    }

    // The lines that bound the regions: short meridian stretches placed by their ids.
    static mapfiles::Line regionLine(std::int32_t id)
    {
        const double lon = 30 + (id % 100) * 0.1;
        return mapfiles::evenLine(id, deg(lon, 20), deg(lon, 21), 2);
    }

    static std::vector<std::int32_t> regionLineIds()
    {
        std::vector<std::int32_t> ids;
        for (const auto& group : kRegionGroups)
            ids.insert(ids.end(), group.ids.begin(), group.ids.end());
        return ids;
    }
};

using OutlineExport = void (*)(int16_t*, char*, float*, int32_t*, int32_t*, int32_t*, int32_t*);

TEST(AreaOutline, GivesWhatFitsAndCountsTheRest)
{
    struct Row {
        const char* what;
        OutlineExport query;
        std::string symbol;
        int32_t capacity;
        int32_t lineId, count, leftOut;
        double firstLon, firstLat;  // degrees
    };
    const Row rows[] = {
        {"global, room for all", GEOAAL, "AAA001", 10, 101, 5, 0, 3, 3},
        {"global, room for 3", GEOAAL, "AAA001", 3, 101, 3, 2, 3, 3},
        {"global, no room", GEOAAL, "BBB001", 0, 102, 0, 9, 0, 0},
        {"global, unknown", GEOAAL, "CCC001", 10, 0, 0, 0, 0, 0},
        {"local, room for 3", LCLGAL, "AAALOCAL0001", 3, 7, 3, 2, 3, 3},
        {"local, unknown", LCLGAL, "AAALOCAL0002", 10, 0, 0, 0, 0, 0},
    };
    const auto r = RegionMap().run([&] {
        std::ostringstream bad;
        for (const Row& row : rows) {
            std::vector<float> points(20, 0.0f);
            std::string symbol = row.symbol;
            int16_t degrees = 2;
            int32_t capacity = row.capacity, lineId = -1, count = -1, leftOut = -1;
            row.query(&degrees, symbol.data(), points.data(), &capacity, &lineId, &count, &leftOut);
            if (lineId != row.lineId || count != row.count || leftOut != row.leftOut ||
                std::fabs(points[0] - row.firstLon) > kDegTol || std::fabs(points[1] - row.firstLat) > kDegTol)
                bad << row.what << ": line " << lineId << " count " << count << " left out " << leftOut << " first "
                    << points[0] << "," << points[1] << "\n";
            for (std::size_t i = 2 * std::size_t(std::max(count, 0)); i < points.size(); ++i)
                if (points[i] != 0.0f)
                    bad << row.what << ": wrote past the points it gave\n";
        }
        return bad.str();
    });
    EXPECT_EQ(r.output, "");
}

TEST(AreaOutline, AMissingLineIsFatal)
{
    struct Row {
        OutlineExport query;
        std::string symbol, routine;
        int32_t lineId;
    };
    for (const Row& row : {Row{GEOAAL, "AAA001", "GEOAAL", 101}, Row{LCLGAL, "AAALOCAL0001", "LCLGAL", 7}}) {
        RegionMap m;
        if (row.query == LCLGAL)
            m.localLines = {mapfiles::squareLine(8, deg(4, 4), 0.01f, 1)};
        const auto r = m.run(
            [&] {
                std::vector<float> points(20);
                std::string symbol = row.symbol;
                int16_t unit = 1;
                int32_t capacity = 10, lineId = 0, count = 0, leftOut = 0;
                row.query(&unit, symbol.data(), points.data(), &capacity, &lineId, &count, &leftOut);
                return std::string("returned");
            },
            {101});
        const std::string id = std::to_string(row.lineId);
        EXPECT_EQ(r.output, fatalOutput(row.routine, " Did not find the line" + std::string(8 - id.size(), ' ') + id +
                                                         " in the coordinate file.\n"));
    }
}

// A closed rectangle (degrees) in radians, starting at its south-west corner.
std::vector<float> rectangle(double west, double south, double east, double north)
{
    std::vector<float> points;
    for (const auto& [lon, lat] : {std::pair{west, south}, {east, south}, {east, north}, {west, north}, {west, south}}) {
        const auto p = deg(lon, lat);
        points.push_back(p.lon);
        points.push_back(p.lat);
    }
    return points;
}

std::string codeText(const char* codes, int32_t count)
{
    std::string text;
    for (int32_t i = 0; i < count; ++i)
        text += (i ? " " : "") + std::string(codes + 3 * i, 3);
    return text;
}

float rad(double degrees)
{
    return float(degrees * map_fixtures::kRadPerDeg);
}

TEST(CountriesInRegion, WindowListsCountriesWithLinesInIt)
{
    struct Row {
        const char* what;
        double west, south, east, north;
        int32_t capacity;
        std::string codes;  // in index order
        bool complete;
    };
    const Row rows[] = {
        {"both sides of the border", 1, 1, 19, 9, 5, "BBB AAA", true},
        {"no room for the second", 1, 1, 19, 9, 1, "BBB", false},
        {"no room at all", 1, 1, 19, 9, 0, "", false},
        {"the west coast", -5, 2, 5, 8, 5, "AAA", true},
        {"inside one country, away from its lines", 12, 2, 19, 8, 5, "", true},
        {"at sea", 40, 2, 50, 8, 5, "", true},
    };
    const auto r = RegionMap().run([&] {
        std::ostringstream bad;
        for (const Row& row : rows) {
            char codes[3 * 5] = {};
            float w = rad(row.west), s = rad(row.south), e = rad(row.east), n = rad(row.north);
            int32_t capacity = row.capacity, count = -1, complete = 7;
            GEOACW(&w, &s, &e, &n, &capacity, codes, &count, &complete);
            if (codeText(codes, count) != row.codes || complete != (row.complete ? -1 : 0))
                bad << row.what << ": " << codeText(codes, count) << " complete " << complete << "\n";
        }
        return bad.str();
    });
    EXPECT_EQ(r.output, "");
}

// A query that lists codes: capacity in; count, codes and overflow out.
using CodeQuery = std::function<void(int32_t*, int32_t*, char*, int32_t*)>;

struct ListRow {
    const char* what;
    CodeQuery query;
    int32_t capacity;
    std::string codes;  // sorted
    int32_t overflow;
};

// The rows whose codes or overflow differ from what they expect, run on the region map.
std::string listMismatches(const std::vector<ListRow>& rows)
{
    return RegionMap()
        .run([&] {
            std::ostringstream bad;
            for (const ListRow& row : rows) {
                char codes[3 * 5] = {};
                int32_t capacity = row.capacity, count = -1, overflow = -1;
                row.query(&capacity, &count, codes, &overflow);
                if (codeText(codes, count) != row.codes || overflow != row.overflow)
                    bad << row.what << ": " << codeText(codes, count) << " overflow " << overflow << "\n";
            }
            return bad.str();
        })
        .output;
}

CodeQuery polygon(const std::vector<float>& points, const std::string& leaveOut)
{
    return [=](int32_t* capacity, int32_t* count, char* codes, int32_t* overflow) {
        std::vector<float> p = points;
        std::string left = leaveOut;
        int32_t n = int32_t(p.size() / 2), leaveCount = int32_t(left.size() / 3);
        GEOCIA(p.empty() ? nullptr : p.data(), &n, &leaveCount, left.data(), capacity, count, codes, overflow);
    };
}

TEST(CountriesInRegion, PolygonFollowsTheFirstPointLeaveOutSortingAndOverflowRules)
{
    const auto across = rectangle(5, 2, 15, 8), inside = rectangle(2, 2, 4, 4);
    EXPECT_EQ(listMismatches({
                  {"across the border, sorted", polygon(across, ""), 5, "AAA BBB", 0},
                  {"one left out", polygon(across, "AAA"), 5, "BBB", 0},
                  {"no room for the second: it takes the last place", polygon(across, ""), 1, "AAA", 1},
                  {"no room at all", polygon(across, ""), 0, "", 999},
                  {"inside one country: the country at the first point", polygon(inside, ""), 5, "AAA", 0},
                  {"inside a country left out", polygon(inside, "AAA"), 5, "", 0},
                  {"a line crossing through, no end or middle inside", polygon(rectangle(-1, 4.2, 1, 4.8), ""), 5,
                   "AAA", 0},
                  {"at sea", polygon(rectangle(40, 2, 50, 8), ""), 5, "", 0},
                  {"no polygon point", polygon({}, ""), 5, "", 0},
              }),
              "");
}

TEST(CountriesInRegion, SatelliteViewAndBeam)
{
    auto view = [](double satLonDeg, float elevation) {
        return [=](int32_t* capacity, int32_t* count, char* codes, int32_t* overflow) {
            float satLon = rad(satLonDeg), e = elevation;
            GEOEEL(&satLon, &e, capacity, count, codes, overflow);
        };
    };
    auto beam = [](double boreLonDeg, double boreLatDeg, float axisDeg) {
        return [=](int32_t* capacity, int32_t* count, char* codes, int32_t* overflow) {
            float earth = 0, orbit = 0, satLon = rad(5), boreLon = rad(boreLonDeg), boreLat = rad(boreLatDeg);
            float major = axisDeg, minor = axisDeg * 0.7f, orientation = 0;
            GEOCIEL(&earth, &orbit, &satLon, &boreLon, &boreLat, &major, &minor, &orientation, capacity, count, codes,
                    overflow);
        };
    };
    EXPECT_EQ(listMismatches({
                  {"seen from 10 E", view(10, 5), 5, "AAA BBB", 0},
                  {"seen from 170 W", view(-170, 5), 5, "", 0},
                  {"a small beam inside AAA", beam(5, 5, 0.6f), 5, "AAA", 0},
                  // Wider than the earth seen from the satellite, aimed at its far side: no footprint.
                  {"no footprint", beam(-170, 5, 40), 5, "", 0},
                  {"no footprint and no room", beam(-170, 5, 40), 0, "", 0},
              }),
              "");
}

// The window of a region's lines, from where the map places them.
std::array<float, 4> regionWindow(int region)
{
    double west = 999, east = -999;
    for (const auto& group : kRegionGroups)
        for (const std::int32_t id : group.ids)
            if (group.region == region) {
                west = std::min(west, 30 + (id % 100) * 0.1);
                east = std::max(east, 30 + (id % 100) * 0.1);
            }
    return {rad(west), rad(20), rad(east), rad(21)};
}

std::string windowText(const float* w)
{
    std::ostringstream text;
    text.precision(8);
    text << w[0] << " " << w[1] << " " << w[2] << " " << w[3];
    return text.str();
}

TEST(WindowOfCountries, CoversTheirLinesAndOneRegion)
{
    const float pi = 3.141593f, halfPi = 1.5707965f, second = 4.8481375e-6f;
    const auto region2 = regionWindow(2), region3 = regionWindow(3);
    struct Row {
        std::string codes;
        std::array<float, 4> window;  // west, south, east, north
    };
    const Row rows[] = {
        {"", {-pi, -halfPi, pi, halfPi}},
        {"AAA", {0, 0, rad(10), rad(10)}},
        {"BBBAAA", {0, 0, rad(20), rad(10)}},
        {"ATA", {-pi, rad(-80), pi, rad(-79)}},
        {"XR1", {-0.8726695f, -1.5707965f, -2.9491655f, 1.5707965f}},
        {"XR2", {region2[0], region2[1], region2[2] + second, region2[3]}},
        {"RG3", {region3[0], region3[1], region3[2] + second, region3[3]}},
        {"AAAR2 ", {0, 0, region2[2] + second, region2[3]}},
        {"ZZZ", {-pi, -halfPi, pi, halfPi}},
    };
    const auto r = RegionMap().run([&] {
        std::ostringstream bad;
        for (const Row& row : rows) {
            std::string codes = row.codes;
            int32_t count = int32_t(codes.size() / 3);
            float w[4] = {};
            GEOCWI(&count, codes.data(), &w[0], &w[1], &w[2], &w[3]);
            for (int k = 0; k < 4; ++k)
                if (std::fabs(w[k] - row.window[std::size_t(k)]) > kRadTol) {
                    bad << "\"" << row.codes << "\": " << windowText(w) << "\n";
                    break;
                }
        }
        return bad.str();
    });
    EXPECT_EQ(r.output, "");

    const auto two = RegionMap().run([] {
        std::string codes = "XR1R2 ";
        int32_t count = 2;
        float w[4];
        GEOCWI(&count, codes.data(), &w[0], &w[1], &w[2], &w[3]);
        return std::string("returned");
    });
    EXPECT_EQ(two.output, fatalOutput("GEOCWI", testing_support::messageLine(" YOU ARE ONLY ALLOWED TO HAVE ONE REGION AS INPUT")));
}

// The lines of `calls` calls of GEOLIW: "id, kind and point count" (the count only when asked),
// "end" for the end flag.
std::string requestLines(int calls, bool counts = true)
{
    std::string text;
    for (int i = 0; i < calls; ++i) {
        std::vector<float> points(2 * 200);
        int16_t unit = 1;
        int32_t capacity = 200, lineId = -1, count = -1, end = 0;
        char kind = '?';
        GEOLIW(&unit, points.data(), &capacity, &lineId, &count, &kind, &end);
        text += std::string(i ? " " : "") +
                (end ? std::string("end") : std::to_string(lineId) + kind + (counts ? std::to_string(count) : ""));
    }
    return text;
}
void request(double west, double south, double east, double north, float dist, const std::string& codes)
{
    float w = rad(west), s = rad(south), e = rad(east), n = rad(north);
    std::string list = codes;
    int16_t count = int16_t(list.size() / 3);
    GEODWD(&w, &s, &e, &n, &dist, &count, list.data());
}

TEST(LinesOfARequest, EachLineOnceThenTheEndThenAgain)
{
    const auto r = RegionMap().run([] { return requestLines(6); });
    EXPECT_EQ(r.output, "1000300C31 1000100B11 1000200C31 1000400C2 end 1000300C31");
}

TEST(LinesOfARequest, OnlyTheLinesOfTheWindowAndCodes)
{
    struct Row {
        const char* what;
        std::function<void()> setUp;
        int calls;
        bool counts;
        std::string lines;
    };
    std::string fixed;
    for (const std::int32_t id : {5002360, 5002361, 5002362, 5002363, 5002370, 5002610, 5002620, 5002630, 5005810,
                                  5005811, 5005812, 5005830, 5005880, 5005890, 5006490, 5030060, 5030061, 5030062,
                                  7350010, 7350020, 7350030, 7350040, 7350041, 7350042, 7350050, 7350051, 7350052,
                                  7350053, 7350054, 7350055})
        fixed += std::to_string(id) + " 5 ";  // a degree of meridian densified at 30 km
    const Row rows[] = {
        {"BBB's coast in the window", [] { request(15, 2, 25, 8, 0, "BBB"); }, 2, false, "1000300C end"},
        {"AAA's border, not its coast", [] { request(5, 2, 15, 8, 0, "AAA"); }, 2, false, "1000100B end"},
        {"every code, blank ones too", [] { request(5, 2, 15, 8, 0, "   BBBAAABBB"); }, 2, false, "1000100B end"},
        {"nothing there", [] { request(40, 2, 50, 8, 0, ""); }, 1, false, "end"},
        {"east equal to west takes every longitude", [] { request(25, -85, 25, 85, 0, "ATA"); }, 2, true,
         "1000400C2 end"},
        {"the fixed list", [] { request(-180, -90, 180, 90, 0, "R13AAA"); }, 31, true, fixed + "end"},
    };
    const auto r = RegionMap().run([&] {
        std::ostringstream bad;
        for (const Row& row : rows) {
            row.setUp();
            if (const std::string got = requestLines(row.calls, row.counts); got != row.lines)
                bad << row.what << ": " << got << "\n";
        }
        return bad.str();
    });
    EXPECT_EQ(r.output, "");
}

void selectOutlines(double west, double south, double east, double north, const std::string& code)
{
    float w = rad(west), s = rad(south), e = rad(east), n = rad(north), unused = 0;
    std::string c = code;
    GEODCW(&w, &s, &e, &n, &unused, c.data());
}

struct Part {
    int32_t status = 0;
    char kind = '?';
    std::vector<float> points;  // radians
};

Part nextPart(int32_t capacity)
{
    Part p;
    p.points.resize(2 * std::size_t(std::max(capacity, 1)));
    int16_t unit = 1;
    int32_t count = -1;
    GEOCIW(&unit, p.points.data(), &capacity, &count, &p.kind, &p.status);
    p.points.resize(2 * std::size_t(std::max(count, 0)));
    return p;
}

TEST(OutlinesOfASelection, WholeOutlinesThenTheEnd)
{
    const auto r = RegionMap().run([] {
        std::ostringstream out;
        out << nextPart(100).status << ";";  // nothing selected yet
        selectOutlines(-1, -1, 21, 11, "AAA");
        for (int i = 0; i < 3; ++i) {
            const Part p = nextPart(100);
            const std::size_t n = p.points.size() / 2;
            out << p.status;
            if (p.status == 0)
                out << " '" << p.kind << "' " << n << (n > 0 && p.points[0] == p.points[2 * n - 2] && p.points[1] == p.points[2 * n - 1] ? " closed" : " open");
            out << ";";
        }
        selectOutlines(-1, -1, 21, 11, "AAA");
        out << nextPart(3).points.size() / 2 << ";";
        selectOutlines(-1, -1, 21, 11, "ZZZ");
        out << nextPart(100).status << ";";
        selectOutlines(-180, -90, 180, 90, "XR2");
        for (int i = 0; i < 3; ++i)
            out << nextPart(100).status << ";";
        return out.str();
    });
    // The border's 11 points and the coast's 31, sharing a point.
    EXPECT_EQ(r.output, "-1;0 ' ' 41 closed;-1;0 ' ' 41 closed;3;-1;0;0;-1;");
}

TEST(OutlinesOfASelection, PartsInAWindowThatCutsTheCountryStayInIt)
{
    const auto r = RegionMap().run([] {
        std::ostringstream bad;
        const float w = rad(5), s = rad(2), e = rad(15), n = rad(8);
        selectOutlines(5, 2, 15, 8, "AAA");
        int parts = 0;
        for (Part p = nextPart(50); p.status == 0; p = nextPart(50), ++parts) {

            for (std::size_t i = 0; i < p.points.size(); i += 2)
                if (p.points[i] < w - kRadTol || p.points[i] > e + kRadTol || p.points[i + 1] < s - kRadTol ||
                    p.points[i + 1] > n + kRadTol)
                    bad << "part " << parts << " leaves the window at " << p.points[i] << "," << p.points[i + 1] << "\n";
        }
        // The border, and AAA's part of the west, south and north edges.
        if (parts != 4)
            bad << parts << " parts\n";
        return bad.str();
    });
    EXPECT_EQ(r.output, "");
}

TEST(OutlinesOfASelection, RingsThatBreakOffAreDroppedAndStrangeOnesFatal)
{
    const auto a = mapfiles::evenLine(1000500, deg(30, 0), deg(31, 0), 2);
    const auto b = mapfiles::evenLine(1000600, deg(31, 0), deg(30, 0), 2);
    struct Row {
        const char* what;
        std::function<void(std::vector<mapfiles::IndexEntry>&)> change;
        std::string output;
    };
    const Row rows[] = {
        {"a whole ring", [](auto&) {}, "0"},
        {"a ring cut by another owner's entry", [&](auto& entries) {
             entries.insert(entries.end() - 1, mapfiles::lineEntry("RRR", 'C', a));
         }, "-1"},
        {"a ring cut by the end of the file", [](auto& entries) { entries.pop_back(); }, "-1"},
        {"an own entry that does not continue the ring", [](auto& entries) { entries.front().secondNumber = 1000700; },
         fatalOutput("GEODCW", testing_support::messageLine(" INDEXFILE IN STRANGE WAY (NOT SUPPORTED WAY)"))},
    };
    for (const Row& row : rows) {
        RegionMap m;
        m.map.lines.push_back(a);
        m.map.lines.push_back(b);
        auto ring = mapfiles::ringEntries("QQQ", 'C', {a, b}, {false, false});
        row.change(ring);
        m.map.entries.insert(m.map.entries.end(), ring.begin(), ring.end());
        const auto r = m.run([] {
            selectOutlines(-180, -90, 180, 90, "QQQ");
            return std::to_string(nextPart(100).status);
        });
        EXPECT_EQ(r.output, row.output) << row.what;
    }
}

TEST(OutlinesOfASelection, TheNextMapIsBuiltAfresh)
{
    const auto r = RegionMap().run([] {
        float lon = rad(5), lat = rad(5);
        char before[3], after[3];
        GEOPLC(&lon, &lat, before);
        selectOutlines(-1, -1, 21, 11, "AAA");
        int16_t item = 4;
        int32_t pending = 0;
        GEOVA1(&item, &pending);
        GEOPLC(&lon, &lat, after);
        return std::string(before, 3) + " " + std::to_string(pending) + " " + std::string(after, 3);
    });
    EXPECT_EQ(r.output, "AAA 2 AAA");
}

TEST(LinesOfARequest, ThinsWithTheDistanceAndRefusesAnEightySixthCode)
{
    const auto thin = RegionMap().run([] {
        request(-180, -90, 180, 90, -500, "AAA");
        return requestLines(2);
    });
    EXPECT_EQ(thin.output.substr(0, 9), "1000100B4") << thin.output;

    const auto many = RegionMap().run([] {
        std::string codes;
        for (int i = 0; i < 86; ++i)
            codes += std::string{'C', char('A' + i / 26), char('A' + i % 26)};
        request(0, 0, 10, 10, 0, codes);
        return std::string("returned");
    });
    EXPECT_EQ(many.output, fatalOutput("GEODWD", " Increase the parameter MXCTYW=    85 in GEOQ31\n"));
}

}  // namespace
