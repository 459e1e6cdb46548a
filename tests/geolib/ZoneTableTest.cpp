#include "tavu32d.h"

#include "ZoneTableFixtures.h"
#include "zones/FixedZones.h"

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

testing_support::ChildResult onTables(const std::vector<mapfiles::Line>& lines, const std::function<std::string()>& body,
                                      const std::vector<std::int32_t>& leftOut = {})
{
    std::vector<mapfiles::Line> stored;
    for (const auto& l : lines) {
        if (std::find(leftOut.begin(), leftOut.end(), l.id) == leftOut.end())
            stored.push_back(l);
    }
    testing_support::MapFolder folder;
    folder.write("GEOPNT1.BIN", mapfiles::mainPointFile(stored));
    return testing_support::runWithMaps(folder, [&] {
        map_fixtures::startLibrary();
        return body();
    });
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
