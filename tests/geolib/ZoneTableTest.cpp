#include "tavu32d.h"

#include "ZoneTableFixtures.h"
#include "state/LibraryState.h"
#include "zones/FixedZones.h"
#include "zones/NamedLists.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <sstream>

using map_fixtures::deg;
using testing_support::fatalOutput;

namespace {

constexpr float kDegree = float(map_fixtures::kRadPerDeg);
constexpr double kSecond = map_fixtures::kRadPerDeg / 3600;
constexpr float kProbeHalf = float(2 * map_fixtures::kRadPerDeg);  // probe squares 4 degrees wide

mapfiles::Line square(std::int32_t id, double lon, double lat, float half = kProbeHalf, int perSide = 4)
{
    return mapfiles::squareLine(id, deg(lon, lat), half, perSide);
}

// Runs `body` in a child, the library started, on a point file of the lines but `leftOut`.
testing_support::ChildResult onPointFile(const char* name, std::string (*pointFile)(std::vector<mapfiles::Line>),
                                         const std::vector<mapfiles::Line>& lines,
                                         const std::function<std::string()>& body,
                                         const std::vector<std::int32_t>& leftOut)
{
    std::vector<mapfiles::Line> stored;
    for (const auto& l : lines) {
        if (std::find(leftOut.begin(), leftOut.end(), l.id) == leftOut.end())
            stored.push_back(l);
    }
    testing_support::MapFolder folder;
    folder.write(name, pointFile(stored));
    return testing_support::runWithMaps(folder, [&] {
        map_fixtures::startLibrary();
        return body();
    });
}

testing_support::ChildResult onTables(const std::vector<mapfiles::Line>& lines, const std::function<std::string()>& body,
                                      const std::vector<std::int32_t>& leftOut = {})
{
    return onPointFile("GEOPNT1.BIN", mapfiles::mainPointFile, lines, body, leftOut);
}

struct Probe {
    double lon, lat;  // degrees
    std::int32_t want;
};

// Runs every probe through `lookUp` in one child; the child reports the probes that differ.
std::string misses(const std::vector<mapfiles::Line>& lines, const std::vector<Probe>& probes,
                   const std::function<std::int32_t(float, float)>& lookUp)
{
    const auto r = onTables(lines, [&] {
        std::ostringstream out;
        for (const Probe& p : probes) {
            const auto at = deg(p.lon, p.lat);
            const std::int32_t got = lookUp(at.lon, at.lat);
            if (got != p.want)
                out << "(" << p.lon << ", " << p.lat << ") gave " << got << " not " << p.want << "\n";
        }
        return out.str();
    });
    return r.output;
}

// The C exports as look-ups of one value.
std::int32_t region(float lon, float lat, void (*routine)(float*, float*, int32_t*))
{
    int32_t value = -1;
    routine(&lon, &lat, &value);
    return value;
}

char zoneLetter(float lon, float lat, void (*routine)(float*, float*, char*))
{
    char zone = '?';
    routine(&lon, &lat, &zone);
    return zone;
}

std::int32_t rj88(float lon, float lat, const char* symbol)
{
    char text[6];
    std::copy_n(symbol, 6, text);
    int32_t zone = -1;
    RJ88NZ(&lon, &lat, text, &zone);
    return zone;
}

// A closed rectangle between longitudes and latitudes (degrees), 9 points a side.
mapfiles::Line rectangle(std::int32_t id, double west, double south, double east, double north)
{
    return map_fixtures::path(id, {deg(west, south), deg(east, south), deg(east, north), deg(west, north), deg(west, south)},
                              9);
}

// The 20 lines of the appendix 28 zones: bands of longitude 24 degrees wide from 65 S to 65 N
// that overlap their neighbours by 6 degrees; the first reaches 75 S.
std::vector<mapfiles::Line> appendix28Bands()
{
    std::vector<mapfiles::Line> bands;
    for (int k = 0; k < 20; ++k) {
        const double west = -180 + 18 * k - (k > 0 ? 3 : 0), east = -180 + 18 * (k + 1) + (k < 19 ? 3 : 0);
        bands.push_back(rectangle(31010 + 10 * k, west, k == 0 ? -75 : -65, east, 65));
    }
    return bands;
}

// Squares of the same size in rows of `columns`, the first line's centre at (west, south).
std::vector<mapfiles::Line> squareGrid(std::int32_t firstId, std::int32_t step, int count, int columns, double west,
                                       double south, double spacing)
{
    std::vector<mapfiles::Line> squares;
    for (int k = 0; k < count; ++k)
        squares.push_back(square(firstId + step * k, west + spacing * (k % columns), south + spacing * (k / columns)));
    return squares;
}

}  // namespace

TEST(SpecialZones, WindowsAndPolygonsGiveOneAndEverywhereElseZero)
{
    const auto lines = zone_fixtures::zoneTableLines({square(7350301, -30, 5), square(7350302, 150, 0, kProbeHalf / 2)});
    const std::vector<Probe> probes = {
        {0, -85, 1},     {100, -75, 1},   {-100, 45, 1},  {-110, 60, 1},   // the four windows
        {-30, 5, 1},     {-31.9, 6.9, 1}, {150, 0.9, 1},                    // the two polygons
        {0, 0, 0},       {-30, 7.5, 0},   {150, 1.2, 0},  {-70, 45, 0},    {30, -75, 0},
    };
    EXPECT_EQ(misses(lines, probes, [](float lon, float lat) { return geo::GEOSPZN({lon, lat}); }), "");
}

TEST(ZoneTables, MissingLinesAndShortBuffersEndTheProcessWithTheirReports)
{
    struct Row {
        const char* what;
        std::vector<mapfiles::Line> probes;
        std::vector<std::int32_t> leftOut;
        std::function<void()> call;
        std::string want;
    };
    const geo::Point at{0, 0};
    const Row rows[] = {
        {"a table line missing", {}, {7350052}, [at] { geo::GE75NZ(at); },
         fatalOutput("GEOWZI", " Did not find the line 7350052 in the coordinate file.\n")},
        {"more points than the table holds", {square(7350301, -30, 5, kProbeHalf, 30)}, {}, [at] { geo::GEOSPZN(at); },
         fatalOutput("GEOWZI", " Increase dimension for CRDKNT in the calling routine.\n")},
        {"a region polygon line missing", {}, {7350041}, [at] { geo::GEORGNS({-0.5f, 0.1f}); },
         fatalOutput("GEORGNS", " Did not find the line 7350041 in the coordinate file.\n")},
        {"more than 75 points around the point", {square(7350065, -30, 5, float(0.5 * kSecond), 30)}, {},
         [] { geo::GEORGNS({-30 * kDegree, 5 * kDegree}); },
         fatalOutput("GEORGNS", " Increase the parameter MAXVEK=    75\n")},
        {"an appendix 28 line missing", {}, {31200}, [at] { geo::AP28RZS(at); },
         fatalOutput("AP28RZS", " Did not find the line   31200 in the coordinate file.\n")},
        {"a rain zone line missing", {}, {28070}, [at] { geo::GEOR837(at, ' '); },
         fatalOutput("GEOR837", " Did not find the line   28070 in the coordinate file.\n")},
        {"rain zones of another version", {mapfiles::rainVersionLine(28000, 2)}, {}, [at] { geo::GEOR837(at, ' '); },
         fatalOutput("GEOR837", testing_support::messageLine(" ROUTINE/DATABASE MISSMATCH.  RECOMPILE PROGRAM."))},
    };
    for (const Row& row : rows) {
        const auto r = onTables(zone_fixtures::zoneTableLines(row.probes), [&] {
            row.call();
            return std::string("returned");
        }, row.leftOut);
        EXPECT_EQ(r.output, row.want) << row.what;
        EXPECT_TRUE(r.exited && r.status != 0) << row.what;
    }
}

TEST(RegionTable, WindowsInOrderThenPolygonsAndRegionOneNearThePoles)
{
    const auto lines = zone_fixtures::zoneTableLines({square(7350065, -30, 5), square(7350061, 100, 45)});
    const std::vector<Probe> probes = {
        {0, 0, 1},         {-80, 0, 2},      {100, 20, 3},
        {179.5, 70, 1},    {-170, 70, 1},    {-160, 70, 2},  // window 3 crosses 180 degrees
        {-80, 89.99, 2},   {-80, 89.9999, 1}, {-80, -89.9999, 1},
        {-30, 5, 2},       {-31.5, 3.5, 2},  {-25, 5, 1},    // polygon 1, in the gap between windows
        {100, 45, 3},      {100, 48, 1},                      // polygon 4
    };
    EXPECT_EQ(misses(lines, probes, [](float lon, float lat) { return region(lon, lat, GEORGN); }), "");
    EXPECT_EQ(misses(lines, probes, [](float lon, float lat) { return region(lon, lat, GEORGNS); }), "");
}

TEST(NoiseZones, TablesGiveTheirZonesAndTheRegionFillsIn)
{
    const auto lines = zone_fixtures::zoneTableLines({square(7350078, -100, 40)});
    const std::vector<Probe> ge75 = {
        {0, 45, 1},   {110, 0, 2},  {0, -50, 3},    {-60, 0, 0},
        {60, 0, 1},                         // windows 4 and 10 share the equator: the first wins
        {-169.5, 70, 1}, {-168, 70, 0},     // window 2 crosses 180 degrees
        {-100, 40, 2}, {-100, 43, 0},       // polygon 6
    };
    EXPECT_EQ(misses(lines, ge75, [](float lon, float lat) { return region(lon, lat, GE75NZ); }), "");
    const std::vector<Probe> rj81 = {
        {-61.7, 12, 3}, {-91, 0, 2}, {-100, 40, 1}, {0, 0, 0}, {-80, 89.9999, 0}, {-80, 89.99, 1},
    };
    EXPECT_EQ(misses(lines, rj81, [](float lon, float lat) { return region(lon, lat, RJ81NZ); }), "");
    const std::vector<Probe> ema = {{0, 45, 1}, {50, 65, 1}, {50, 50, 0}, {-33, 40, 0}};
    EXPECT_EQ(misses(lines, ema, [](float lon, float lat) { return region(lon, lat, GEOEMA); }), "");
}

TEST(NoiseZones, Rj88SymbolsOfTheTwoListsDecideElseTheGeographicRule)
{
    struct Row {
        const char* symbol;
        double lon, lat;
        std::int32_t want;
    };
    const Row rows[] = {
        {"B  17 ", 100, 20, 1}, {"USA   ", 0, 0, 1},   {"GRL   ", 0, 0, 1},   {"VEN   ", 0, 0, 2},
        {"ABW123", 0, 0, 2},    {"B  23 ", 0, 0, 2},   {"F     ", 0, 0, 0},   {"      ", -91, 0, 2},
        {"F     ", -100, 40, 1}, {"B  17X", 0, 0, 0},  {"      ", -80, 89.9999, 0},
    };
    const auto r = onTables(zone_fixtures::zoneTableLines(), [&] {
        std::ostringstream out;
        for (const Row& row : rows) {
            const auto at = deg(row.lon, row.lat);
            if (const std::int32_t got = rj88(at.lon, at.lat, row.symbol); got != row.want)
                out << "'" << row.symbol << "' gave " << got << "\n";
        }
        return out.str();
    });
    EXPECT_EQ(r.output, "");
}

TEST(RainZoneTables, Appendix28And30ZonesAndTheLineByLineTwinAgree)
{
    auto lines = appendix28Bands();
    const auto grid = squareGrid(27010, 10, 54, 27, -175, 0, 13);
    lines.insert(lines.end(), grid.begin(), grid.end());
    const auto r = onTables(zone_fixtures::zoneTableLines(lines), [] {
        std::ostringstream out;
        std::string ap28, ap30;
        for (int k = 0; k < 20; ++k) {
            const auto at = deg(-171 + 18 * k, -30);
            ap28 += zoneLetter(at.lon, at.lat, AP28RZ);
        }
        for (int k = 0; k < 54; ++k) {
            const auto at = deg(-175 + 13 * (k % 27), 13 * (k / 27));
            ap30 += zoneLetter(at.lon, at.lat, AP30ARZ);
        }
        out << ap28 << "\n" << ap30 << "\n";
        // South of 70 S the window of AP28RZ answers; the twin looks at the lines.
        const auto south = deg(-171, -72);
        out << zoneLetter(south.lon, south.lat, AP28RZ) << zoneLetter(south.lon, south.lat, AP28RZS);
        const auto nowhere = deg(0, 80), polar = deg(0, -70);
        out << zoneLetter(nowhere.lon, nowhere.lat, AP28RZ) << zoneLetter(nowhere.lon, nowhere.lat, AP30ARZ)
            << zoneLetter(polar.lon, polar.lat, AP30ARZ) << "\n";
        std::mt19937 random(22);
        std::uniform_real_distribution<float> lon(-3.14159f, 3.14159f), lat(-1.2217f, 1.5707f);
        for (int i = 0; i < 1000; ++i) {
            const float x = lon(random), y = lat(random);
            if (zoneLetter(x, y, AP28RZ) != zoneLetter(x, y, AP28RZS))
                out << "differ at " << x << ", " << y << "\n";
        }
        // AP30RZ: a letter of AP30ARZ in region 2, else the digit of AP28RZ.
        for (const auto& p : {deg(-80, 0), deg(-90, 40), deg(0, 0), deg(100, 20), deg(-30, 5)}) {
            const char got = zoneLetter(p.lon, p.lat, AP30RZ);
            const bool second = region(p.lon, p.lat, GEORGN) == 2;
            if (got != zoneLetter(p.lon, p.lat, second ? AP30ARZ : AP28RZ) || std::isdigit(got) == second)
                out << "AP30RZ gave " << got << "\n";
        }
        return out.str();
    });
    EXPECT_EQ(r.output, "55532345532241551541\n"
                        "PPCGEPCPALLBBDEFKMKKPDEGEGCECCFCDKMMFDKJKHPHFCCEEENKKN\n"
                        "050AA\n");
}

TEST(RainRates, ZonesOfTheLinesAndZonesNamedByTheCaller)
{
    const auto grid = squareGrid(28001, 1, 70, 35, -175, -20, 10);
    const auto r = onTables(zone_fixtures::zoneTableLines(grid), [] {
        std::ostringstream out;
        const auto rain = [](float lon, float lat, char zone, std::ostringstream& text) {
            float rates[7] = {-1, -1, -1, -1, -1, -1, -1};
            GEOR837(&lon, &lat, &zone, rates);
            text << zone;
            for (float v : rates)
                text << " " << v;
            text << "\n";
        };
        std::ostringstream letters;
        for (int k = 0; k < 70; ++k) {
            const auto at = deg(-175 + 10 * (k % 35), -20 + 10 * (k / 35));
            float lon = at.lon, lat = at.lat, rates[7];
            char zone = ' ';
            GEOR837(&lon, &lat, &zone, rates);
            letters << zone;
        }
        out << letters.str() << "\n";
        const auto sea = deg(0, 45);
        rain(sea.lon, sea.lat, 'K', out);  // in no zone: A, whatever the caller named
        for (char named : {'k', 'Q', 'P', 'I'})
            rain(0, 900, named, out);
        return out.str();
    });
    EXPECT_EQ(r.output, "ACEKDPPQPNPPNFJECECEFKBCCELLKFKDKKHDMKCMBMFDJGAKCKJCKBHFHEGEDGEEGJMCCK\n"
                        "A 0.1 0.8 2 5 8 14 22\n"
                        "k 1.5 4.2 12 23 42 70 100\n"
                        "Q 24 49 72 96 115 142 170\n"
                        "P 12 34 65 105 145 200 250\n"
                        "I 0 0 0 0 0 0 0\n");
}

namespace {

// GEOPNT12.BIN with appendix 27 areas of kinds 1 and 3 (kind 2 empty) and 257 CIRAF zones over
// two list lines: 1 and 2 around (10 E, 50 N) and (10 E, 10 N), 253 fillers from 101 on sharing
// one far outline, and 99 around (100 E, 0), an entry cut short after its number.
struct NamedListFile {
    std::vector<mapfiles::Line> lines;

    explicit NamedListFile(std::string_view firstCirafName = "1     10E 50N")
    {
        const std::vector<mapfiles::Line> outlines = {
            square(5001, 10, 50), square(5002, 10, 10), square(5003, 100, 0), square(5009, -170, -50, kProbeHalf / 4, 1),
            square(6001, 20, 20, kProbeHalf, 1), square(6002, 30, 20, kProbeHalf, 2), square(6003, 40, 20, kProbeHalf, 3),
        };
        std::vector<mapfiles::ListEntry> ciraf = {{5001, 17, std::string(firstCirafName)}, {5002, 17, "2     10.5 10.25"}};
        for (int k = 0; k < 253; ++k)
            ciraf.push_back({5009, 5, std::to_string(101 + k) + "   0 0"});
        ciraf.push_back({5003, 17, "99    100E 0N"});
        const std::vector<mapfiles::ListEntry> kind1 = {
            {6001, 5, "ZONE A-1"}, {6002, 9, "ZONE A-2"}, {6003, 13, "ZONE A-3"}};
        lines = mapfiles::namedLists(10, {kind1, {}, {{6003, 13, "ONLY ONE"}}, ciraf});
        lines.back().points.resize(lines.back().points.size() - 2);  // 99 keeps its number alone
        lines.insert(lines.end(), outlines.begin(), outlines.end());
        // Zone kinds 1 to 8 beside the lists, each with an index line of one zone (5001).
        std::vector<mapfiles::ZoneKind> kinds;
        for (int k = 1; k <= 8; ++k) {
            kinds.push_back({100 + k, 1, {float(k), float(10 * k)}});
            lines.push_back(mapfiles::zoneIndexLine(100 + k, {{5001, {float(k), float(k)}, {0, 0, 1, 1}}}));
        }
        lines.push_back(mapfiles::zoneHeaderLine(kinds));
    }

    testing_support::ChildResult run(const std::function<std::string()>& body,
                                     const std::vector<std::int32_t>& leftOut = {}) const
    {
        return onPointFile("GEOPNT12.BIN", mapfiles::zonePointFile, lines, body, leftOut);
    }
};

std::string cirafZone(double lon, double lat)
{
    const auto at = deg(lon, lat);
    float x = at.lon, y = at.lat;
    int32_t zone = -1, status = -1;
    CIRAFZP(&x, &y, &zone, &status);
    return std::to_string(zone) + "/" + std::to_string(status);
}

}  // namespace

TEST(CirafZones, ThePointsZoneAndBeyondEightyDegreesTheCaps)
{
    const auto r = NamedListFile().run([] {
        std::string out;
        for (const auto& [lon, lat] : std::vector<std::pair<double, double>>{
                 {10, 50}, {11.5, 51.5}, {10, 10}, {100, 0}, {-170, -50}, {0, 0}, {0, -80.001}, {0, -79.999}, {0, 80.001}, {0, 79.999}})
            out += cirafZone(lon, lat) + " ";
        return out;
    });
    EXPECT_EQ(r.output, "1/0 1/0 2/0 99/0 101/0 0/0 74/0 0/0 75/0 0/0 ");
}

TEST(CirafZones, ZoneKindsShareTheFileWithTheLists)
{
    const auto r = NamedListFile().run([] {
        std::ostringstream out;
        for (int32_t k = 5; k <= 8; ++k) {
            int32_t kind = k, status = -1;
            GEOGCMS(&kind, &status);
            const geo::ZoneList& z = geo::libraryState().zones.list;
            out << status << " " << z.zoneKind << " " << z.zoneFirstLine << " " << z.zoneHeaderValues[1] << ", ";
        }
        return out.str() + cirafZone(10, 50);
    });
    EXPECT_EQ(r.output, "0 5 105 50, 0 6 106 60, 0 7 107 70, 0 8 108 80, 1/0");
}

TEST(CirafZones, AFailedFirstCallLeavesTheZonesUnpreparedAndTheNextCallBuildsThem)
{
    const auto failing = [](int allocations) {
        return [allocations] {
            geo::failListAllocation(allocations);
            const std::string first = cirafZone(10, 50);
            return first + " " + cirafZone(10, 50);
        };
    };
    EXPECT_EQ(NamedListFile().run(failing(1)).output, "0/2 1/0");
    EXPECT_EQ(NamedListFile().run(failing(5)).output, "0/2 1/0");  // the point array
    EXPECT_EQ(NamedListFile("ABC   10E 50N").run(failing(0)).output, "0/1 0/1");
}

TEST(CirafZones, OutlineOfAZoneCutToCapacityWithItsReferencePoint)
{
    const auto r = NamedListFile().run([] {
        std::ostringstream out;
        for (const auto& [zone, capacity] : std::vector<std::pair<int32_t, int32_t>>{{2, 40}, {2, 5}, {1, 0}, {101, 40}, {99, 40}, {100, 40}}) {
            int32_t number = zone, room = capacity, count = -1, leftOut = -1, status = -1;
            int16_t unit = 2;
            float points[80] = {}, lon = -1, lat = -1;
            CIRAFZL(&number, &unit, &room, points, &count, &lon, &lat, &leftOut, &status);
            out << zone << ": " << count << " " << leftOut << " " << status;
            if (count > 0)
                out << " (" << points[0] << ", " << points[1] << ") (" << points[2 * count - 2] << ", " << points[2 * count - 1] << ")";
            if (status == 0)
                out << " ref " << std::round(lon / map_fixtures::kRadPerDeg * 100) / 100 << " " << std::round(lat / map_fixtures::kRadPerDeg * 100) / 100;
            out << "\n";
        }
        return out.str();
    });
    EXPECT_EQ(r.output, "2: 17 0 0 (8, 8) (8, 8) ref 10.5 10.25\n"
                        "2: 5 12 0 (8, 8) (12, 8) ref 10.5 10.25\n"
                        "1: 0 17 0 ref 10 50\n"
                        "101: 5 0 0 (-170.5, -50.5) (-170.5, -50.5) ref 0 0\n"
                        "99: 0 0 1\n"
                        "100: 0 0 3\n");
}

TEST(Appendix27Areas, ListsAndOutlinesWithTheirOverflow)
{
    const auto r = NamedListFile().run([] {
        std::ostringstream out;
        const auto call = [&](int32_t kind, int32_t request, int32_t capacity, std::string code) {
            std::vector<char> codes(18 * 4, '.');
            code.resize(18, ' ');
            std::copy(code.begin(), code.end(), codes.begin());
            int32_t values[4] = {}, count = -1, overflow = -1;
            int16_t unit = 2;
            float points[2 * 20] = {};
            AP27AER(&kind, &request, &unit, &capacity, codes.data(), values, points, &count, &overflow);
            out << count << " " << overflow;
            for (int i = 0; request == 1 && i < count; ++i)
                out << " " << values[i] << " " << std::string(codes.data() + 18 * i, 18);
            for (int i = 0; request == 2 && i < count; i += std::max(count - 1, 1))
                out << " (" << points[2 * i] << ", " << points[2 * i + 1] << ")";
            out << "\n";
        };
        call(1, 1, 4, "");
        call(1, 1, 2, "");
        call(2, 1, 4, "");
        call(3, 1, 4, "");
        call(1, 2, 20, "ZONE A-2");
        call(1, 2, 4, "ZONE A-3");
        call(1, 2, 20, "ZONE A-4");
        call(0, 1, 4, "");
        call(4, 1, 4, "");
        call(1, 3, 4, "");
        call(1, 1, 0, "");
        geo::failListAllocation(1);
        call(1, 2, 4, "ZONE A-3");
        return out.str();
    });
    EXPECT_EQ(r.output, "3 0 5 ZONE A-1           9 ZONE A-2           13 ZONE A-3          \n"
                        "2 1 5 ZONE A-1           9 ZONE A-2          \n"
                        "0 0\n"
                        "1 0 13 ONLY ONE          \n"
                        "9 0 (28, 18) (28, 18)\n"
                        "4 9 (38, 18) (42, 18)\n"
                        "0 0\n0 0\n0 0\n0 0\n0 0\n"
                        "0 13\n");
}

TEST(Appendix27Areas, MissingListLinesEndTheProcess)
{
    const auto area = [] {
        int32_t kind = 1, request = 1, capacity = 4, values[4], count, overflow;
        int16_t unit = 1;
        char codes[18 * 4];
        float points[2];
        AP27AER(&kind, &request, &unit, &capacity, codes, values, points, &count, &overflow);
        return std::string("returned");
    };
    EXPECT_EQ(NamedListFile().run(area, {3}).output, fatalOutput("AP27AER", " Did not find the line       3 in the coordinate file.\n"));
    EXPECT_EQ(NamedListFile().run(area, {10}).output, fatalOutput("AP27AER", " Did not find the line      10 in the coordinate file.\n"));
    EXPECT_EQ(NamedListFile().run([] { return cirafZone(0, 0); }, {5002}).output,
              fatalOutput("CIRAFZP", " Did not find the line    5002 in the coordinate file.\n"));
}
