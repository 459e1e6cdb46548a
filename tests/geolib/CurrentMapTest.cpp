#include "tavu32d.h"

#include "MapFixtures.h"
#include "core/FixedText.h"
#include "state/LibraryState.h"
#include "geometry/GreatCircle.h"
#include "map/CurrentMap.h"
#include "map/LinePairs.h"
#include "map/MapOptions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

using map_fixtures::deg;
using map_fixtures::TestMap;
using testing_support::fatalOutput;
using testing_support::messageLine;
using map_fixtures::onMap;

namespace {

geo::CurrentMap& currentMap()
{
    return geo::libraryState().map;
}

void circle(mapfiles::Point p, int32_t dist)
{
    int32_t kind = 1;
    float place[2] = {p.lon, p.lat};
    GEOMAP(&kind, place, &dist);
}

void window(double west, double south, double east, double north)
{
    int32_t kind = 2, dist = 0;
    const auto sw = deg(west, south), ne = deg(east, north);
    float place[4] = {sw.lon, sw.lat, ne.lon, ne.lat};
    GEOMAP(&kind, place, &dist);
}

int32_t generation()
{
    int16_t item = 1;
    int32_t value = -1;
    GEOVA1(&item, &value);
    return value;
}

void setOption(int32_t n, int32_t value)
{
    GEOSET(&n, &value);
}

std::string symbols()
{
    const auto& o = currentMap().outlines;
    std::string out;
    for (int k = 0; k < o.outlineCount; ++k)
        out += geo::fromSymbol(o.outlineSymbol[std::size_t(k)]) + ",";
    return out;
}

// One island of AAA whose corner lies 30 km from (10 E, 50 N).
TestMap landNearby()
{
    TestMap map;
    map.island("AAA", mapfiles::squareLine(1000100, deg(10.2, 50.2), float(0.2 * map_fixtures::kRadPerDeg), 8));
    return map;
}

}  // namespace

TEST(MapOptions, CharactersAreSetReadAndCleared)
{
    struct Row {
        int32_t option, value;
        int32_t valueAfter;
        std::string optionString;
        int32_t rebuildPending;
    };
    const Row rows[] = {
        {3, 5, 5, "00100000000000000000", 1},
        {-3, 9, 1, "00100000000000000000", 1},
        {7, 1, 1, "00100000000000000000", 1},
        {-7, 9, 0, "00100000000000000000", 1},
        {21, 9, 9, "00100000000000000000", 1},
        {-21, 9, 9, "00100000000000000000", 1},
        {4, -1, -1, "00110000000000000000", 1},
        {20, 2, 2, "00110000000000000001", 1},
        {5, 1, 1, "00111000000000000001", 1},
        {6, 1, 1, "00111100000000000001", 1},
        {4, 0, 0, "00101100000000000001", 1},
        {-20, 0, 1, "00101100000000000001", 1},
        {2, 1, 1, "00101100000000000001", 1},
        {-1, 9, 0, "00101100000000000001", 1},
        {0, 1, 1, "00000000000000000000", 1},
    };
    const auto r = testing_support::runInChild([&] {
        map_fixtures::startLibrary();
        for (const Row& row : rows) {
            int32_t option = row.option, value = row.value;
            GEOSET(&option, &value);
            const auto& s = geo::libraryState().frame.optionString;
            int32_t pending = -1;
            int16_t item = 4;
            GEOVA1(&item, &pending);
            int16_t other = 2;
            GEOVA1(&other, &pending);  // another item leaves the value alone
            std::printf("%d %d %s %d\n", row.option, value, std::string(s.begin(), s.end()).c_str(), pending);
        }
    });
    std::string want;
    for (const Row& row : rows)
        want += std::to_string(row.option) + " " + std::to_string(row.valueAfter) + " " + row.optionString + " " +
                std::to_string(row.rebuildPending) + "\n";
    EXPECT_EQ(r.output, want);
}

TEST(LinePairs, QueryAnswersForFirstLinesOnly)
{
    const std::pair<int32_t, int16_t> rows[] = {{3005096, 1}, {3005110, 0}, {4000250, 1}, {1003050, 1},
                                                {1005600, 0}, {3005095, 1}, {7350477, 1}, {1000000, 0}};
    for (const auto& [line, want] : rows) {
        int16_t result = -1;
        geo::GEOLNPR(1, line, result);
        EXPECT_EQ(result, want) << line;
    }
}

TEST(LinePairs, SplitPartsMarkTheFirstOtherOutlineOfTheirAdministrationAndLoseTheirSymbol)
{
    struct Outline {
        const char* symbol;
        std::vector<int32_t> lines;
        const char* want;  // symbol and pair marks afterwards
    };
    const Outline outlines[] = {
        {"S", {3001340, 1}, "S 2 3"},     // the main part of S, marked by both of its parts
        {"S", {3054052}, " 0 0"},
        {"S", {7350477}, " 0 0"},
        {"GHA", {4001650, 4001220}, " 0 0"},  // holds both lines: it does not mark itself
        {"GHA", {4001220}, "GHA 4 0"},
        {"RUS", {5005570}, " 0 0"},        // no main part in the map: only the symbol goes
        {"I", {3005110}, "I 0 0"},        // an enclave's line pair is not for this mode
    };
    const auto r = testing_support::runInChild([&] {
        geo::CurrentMap& map = geo::libraryState().map;
        int16_t ring = 0;
        for (std::size_t k = 0; k < std::size(outlines); ++k) {
            map.outlines.outlineSymbol[k] = geo::toSymbol(outlines[k].symbol);
            map.outlines.ringFirst[k] = int16_t(ring + 1);
            for (const int32_t line : outlines[k].lines)
                map.rings.ringLineId[std::size_t(ring++)] = line;
            map.outlines.ringLast[k] = ring;
        }
        map.outlines.outlineCount = int16_t(std::size(outlines));
        int16_t unused = 0;
        geo::GEOLNPR(3, 0, unused);
        std::ostringstream out;
        for (std::size_t k = 0; k < std::size(outlines); ++k) {
            const auto& marks = map.outlines.outlinePairMarks[k];
            out << geo::trimRight(geo::fromSymbol(map.outlines.outlineSymbol[k])) << " " << marks[0] << " " << marks[1]
                << "\n";
        }
        std::fputs(out.str().c_str(), stdout);
    });
    std::string want;
    for (const Outline& o : outlines)
        want += std::string(o.want) + "\n";
    EXPECT_EQ(r.output, want);
}

TEST(CurrentMap, CircleMapIsHeldThreeKmInsideItsRadius)
{
    const auto r = onMap(landNearby(), [] {
        std::ostringstream out;
        const auto p = deg(10, 50);
        for (int32_t dist : {0, 90, 97, 98, -20, 40000}) {
            circle(p, dist);
            out << dist << ":" << generation() << "/" << currentMap().state.mapRadius << " ";
        }
        return out.str();
    });
    // 40000 km is taken as 20020: a map of 20025 km.
    EXPECT_EQ(r.output, "0:1/100 90:1/100 97:1/100 98:2/103 -20:2/103 40000:3/20025 ");
}

TEST(CurrentMap, WindowMapsBulgeTowardsThePole)
{
    const auto r = onMap(landNearby(), [] {
        std::ostringstream out;
        const geo::MapState& s = currentMap().state;
        window(9, 49, 11, 51);
        const double north = s.mapWindow.north / map_fixtures::kRadPerDeg;
        out << (north > 51.01 && north < 51.5) << " " << int(s.mapKind) << " " << generation() << " ";
        window(9.5, 49.5, 10.5, 50.5);  // held
        out << generation() << " ";
        window(-100, 10, 100, 20);  // wider than 180 degrees
        out << (s.mapWindow.north == geo::kHalfPi) << " " << generation();
        return out.str();
    });
    EXPECT_EQ(r.output, "1 2 1 1 1 2");
}

TEST(CurrentMap, FrozenMapIgnoresEvenABadRequest)
{
    const auto frozen = onMap(landNearby(), [] {
        circle(deg(10, 50), 0);
        setOption(5, 1);
        circle(deg(-60, -20), 0);
        int32_t kind = 3, dist = 0;
        float place[4] = {};
        GEOMAP(&kind, place, &dist);
        return std::to_string(generation());
    });
    EXPECT_EQ(frozen.output, "1");
    const auto noMap = onMap(landNearby(), [] {
        setOption(5, 1);
        int32_t kind = 3, dist = 0;
        float place[4] = {};
        GEOMAP(&kind, place, &dist);
        return std::string("returned");
    });
    EXPECT_EQ(noMap.output, fatalOutput("GEOMAP", messageLine(" The argument  IVAL  must be 1 or 2")));
}

TEST(CurrentMap, SearchWidensInHundredKmStepsUntilLandOrEmpty)
{
    TestMap map;
    // The island's south-west corner lies 450 km north of (10 E, 50 N).
    const double southLat = 50 + 450.0 / 6373.0 / map_fixtures::kRadPerDeg;
    map.island("III", mapfiles::squareLine(1000100, deg(10.1, southLat + 0.1), float(0.1 * map_fixtures::kRadPerDeg), 4));
    const auto found = onMap(map, [] {
        circle(deg(10, 50), 0);
        return std::to_string(generation()) + " " + std::to_string(currentMap().state.mapRadius) + " " + symbols();
    });
    EXPECT_EQ(found.output, "5 500 III,");

    TestMap none;
    none.island("LLL", mapfiles::squareLine(1000100, deg(10, 50), 0.01f, 4), 'L');
    const auto empty = onMap(none, [] {
        circle(deg(10, 50), 0);
        const auto& m = currentMap();
        return std::to_string(generation()) + " " + std::to_string(m.areas.areaLineCount) + " " +
               std::to_string(m.areas.mapCodeCount) + " " + std::to_string(m.outlines.outlineCount);
    });
    EXPECT_EQ(empty.output, "199 0 0 0");
}

TEST(CurrentMap, RestrictedMapTakesOneAdministrationThinned)
{
    TestMap map;
    map.island("AAA", mapfiles::squareLine(1000100, deg(10.2, 50.2), float(0.2 * map_fixtures::kRadPerDeg), 8));
    map.island("BBB", mapfiles::squareLine(1000200, deg(9.8, 49.8), float(0.2 * map_fixtures::kRadPerDeg), 100));
    const auto r = onMap(map, [] {
        std::ostringstream out;
        circle(deg(10, 50), 0);
        const auto& o = currentMap().outlines;
        out << symbols() << " " << o.outlineLast[1] - o.outlineFirst[1] + 1 << " ";
        int32_t value = 1;
        GEOSET3(&value, const_cast<char*>("BBB"));
        circle(deg(10, 50), 0);  // held, but the option asks for a rebuild
        out << symbols() << " " << generation() << " " << (o.outlineLast[0] - o.outlineFirst[0] + 1 < 60);
        return out.str();
    });
    EXPECT_EQ(r.output, "AAA,BBB, 401 BBB, 2 1");
}

TEST(CurrentMap, KindLSwitchRebuildsOnlyMapsWithPairLines)
{
    TestMap map = landNearby();
    map.island("SMR", mapfiles::squareLine(3005095, deg(9.9, 49.9), 0.001f, 4), 'B');
    map.island("LLL", mapfiles::squareLine(3005096, deg(9.8, 49.9), 0.001f, 4), 'L');
    const auto r = onMap(map, [] {
        std::ostringstream out;
        const geo::MapState& s = currentMap().state;
        circle(deg(10, 50), 0);
        out << s.holdsPairLine << s.holdsKindLLine << " " << generation() << " ";
        setOption(1, 1);  // rebuilds and now takes the kind-L pair line
        out << s.holdsKindLLine << " " << generation() << " " << symbols() << " ";
        setOption(1, 7);  // no change
        out << generation() << " ";
        setOption(0, 0);  // clears the kind-L lines too
        out << generation() << " " << symbols();
        return out.str();
    });
    EXPECT_EQ(r.output, "10 1 1 2 AAA,SMR,LLL, 2 3 AAA,SMR,");
}

TEST(CurrentMap, SharedBorderIsReadOnceAndCopiedReversed)
{
    const auto r = onMap(map_fixtures::twoCountries(), [] {
        circle(deg(10, 50), 400);
        const auto& m = currentMap();
        const auto& o = m.outlines;
        const auto& p = m.pieces;
        std::ostringstream out;
        out << symbols() << " read";
        for (int i = 0; i < o.readLineCount; ++i)
            out << " " << o.readLineId[std::size_t(i)];
        for (std::size_t k = 0; k < 2; ++k) {
            const auto first = geo::pointOf(o.outlinePoints.data(), o.outlineFirst[k] - 1);
            const auto last = geo::pointOf(o.outlinePoints.data(), o.outlineLast[k] - 1);
            out << " | " << o.outlineLast[k] - o.outlineFirst[k] + 1 << " closed " << (first.lon == last.lon && first.lat == last.lat);
        }
        // The east outline holds the border from north to south after its coast.
        const auto* east = o.outlinePoints.data() + 2 * (o.outlineFirst[1] - 1);
        const auto* west = o.outlinePoints.data() + 2 * (o.outlineFirst[0] - 1);
        bool mirrored = true;
        for (int i = 0; i < 375; ++i)
            mirrored = mirrored && east[2 * (120 + i)] == west[2 * (374 - i)] && east[2 * (120 + i) + 1] == west[2 * (374 - i) + 1];
        out << " mirrored " << mirrored << "\npieces";
        for (std::size_t i = 0; i < std::size_t(p.pieceCount); ++i) {
            out << " " << p.pieceLineId[i] << ":" << p.pieceLast[i] - p.pieceFirst[i] + 1 << ":" << p.pieceCoastFlag[i]
                << ":" << p.pieceCode1[i] << p.pieceCode2[i] << ":" << p.pieceSeq[i];
            if (i > 0 && p.pieceLineId[i] == p.pieceLineId[i - 1]) {
                const auto a = geo::pointOf(p.piecePoints.data(), p.pieceLast[i - 1] - 1);
                const auto b = geo::pointOf(p.piecePoints.data(), p.pieceFirst[i] - 1);
                out << (a.lon == b.lon && a.lat == b.lat ? "=" : "!");
            }
        }
        return out.str();
    });
    EXPECT_EQ(r.output,
              "WWW,EEE, read 1000100 1000200 1000300 1000400 | 495 closed 1 | 495 closed 1 mirrored 1\n"
              "pieces 1000100:64:0:12:1 1000100:63:0:12:2= 1000200:126:0:12:3 1000200:125:0:12:4= "
              "1000300:121:1:10:5 1000400:121:1:20:6");
}

TEST(CurrentMap, PointInMapFollowsTheCircleOrWindow)
{
    const auto r = onMap(landNearby(), [] {
        std::ostringstream out;
        const auto in = [](geo::Point p) { return GEOPIM(const_cast<float*>(&p.lon), const_cast<float*>(&p.lat)) == -1; };
        const auto c = deg(10, 50);
        out << in({c.lon, c.lat}) << " ";
        circle(c, 0);
        for (float km : {99.5f, 100.5f}) {
            const geo::Point p = geo::destination({c.lon, c.lat}, km, 37.0f);
            out << in(p);
        }
        window(9, 49, 11, 51);
        const geo::Window& w = currentMap().state.mapWindow;
        out << " " << in({w.west, w.south}) << in({w.east, w.north}) << in({std::nextafter(w.west, -4.0f), w.south});
        return out.str();
    });
    EXPECT_EQ(r.output, "0 10 110");
}

TEST(CurrentMap, OverflowIsReportedOrAbandonsTheMap)
{
    struct Row {
        const char* what;
        mapfiles::MapData islands;
        double centreLat;
        std::string routine, report;
        std::string quiet;  // rebuild flag, map kind, codes, outlines, pieces, symbol
    };
    const float step = float(0.08 * map_fixtures::kRadPerDeg), closer = float(0.03 * map_fixtures::kRadPerDeg);
    const Row rows[] = {
        {"65 administrations", mapfiles::islandGrid(65, 13, deg(9.5, 49.8), step, 0.0005f, 2, 65, 1000000), 50,
         "GEOSL", "  INCREASE  MAXCTY/64/  IN GEOQQ6\n  CENTER-POINT: 500000N0100000E    RANGE:     100\n",
         "1 0 0 0 0 [   ]"},
        {"651 outlines", mapfiles::islandGrid(651, 31, deg(9.5, 49.5), closer, 0.0002f, 1, 60, 1000000), 49.8,
         "GEOBRD", "  INCREASE  MAXCUN/650/  IN GEOQQ7\n  CENTER-POINT: 494800N0100000E    RANGE:     100\n",
         "1 0 60 0 0 [   ]"},
    };
    for (const Row& row : rows) {
        TestMap map;
        map.add(row.islands);
        const auto loud = onMap(map, [&] {
            circle(deg(10, row.centreLat), 0);
            return std::string("returned");
        });
        EXPECT_EQ(loud.output, fatalOutput(row.routine, row.report)) << row.what;
        const auto quiet = onMap(map, [&] {
            setOption(4, 1);
            circle(deg(10, row.centreLat), 0);
            int16_t item = 4;
            int32_t pending = -1;
            GEOVA1(&item, &pending);
            const auto& m = currentMap();
            float lon = 0.1745f, lat = 0.87f;
            char symbol[4] = "???";
            GEOPLC2(&lon, &lat, symbol);
            std::ostringstream out;
            out << pending << " " << int(m.state.mapKind) << " " << m.areas.mapCodeCount << " "
                << m.outlines.outlineCount << " " << m.pieces.pieceCount << " [" << symbol << "]";
            return out.str();
        });
        EXPECT_EQ(quiet.output, row.quiet) << row.what;
    }
}

TEST(CurrentMap, AreaLineMissingFromThePointFileIsFatal)
{
    TestMap map = landNearby();
    // Its ends, which the index gives, lie far out: the line itself must be read.
    mapfiles::setDataReal(map.entries[0], 2, 0.1f);
    mapfiles::setDataReal(map.entries[0], 4, 0.1f);
    map.island("ZZZ", mapfiles::squareLine(1000200, deg(-60, -20), 0.01f, 4));
    const auto r = onMap(map, [] {
        circle(deg(10, 50), 0);
        return std::string("returned");
    }, {1000100});
    EXPECT_EQ(r.output, fatalOutput("GEOSL", " Did not find the line 1000100 in the coordinate file.\n"));
}

TEST(CurrentMap, AnyPendingRebuildRebuildsAndEmptiesTheOutlines)
{
    const auto r = onMap(landNearby(), [] {
        std::ostringstream out;
        geo::CurrentMap& m = currentMap();
        circle(deg(10, 50), 0);
        m.state.rebuildPending = 2;  // as a later builder marks it
        geo::GEOBRD();
        out << m.outlines.outlineCount << " ";
        circle(deg(10, 50), 0);
        out << generation() << " " << m.outlines.outlineCount << " " << m.state.rebuildPending;
        return out.str();
    });
    EXPECT_EQ(r.output, "0 2 1 0");
}

TEST(CurrentMap, LargestCircleHoldsTheAntipode)
{
    const auto r = onMap(landNearby(), [] {
        std::ostringstream out;
        const auto p = deg(10, 50);
        circle(p, 50);
        float lon = p.lon - geo::kPi, lat = -p.lat;
        out << generation() << GEOPIM(&lon, &lat) << " ";
        circle(p, 40000);
        out << generation() << GEOPIM(&lon, &lat);
        return out.str();
    });
    EXPECT_EQ(r.output, "10 2-1");
}

TEST(CurrentMap, LineWithoutPointsAddsNothing)
{
    TestMap map;
    const auto coast = mapfiles::squareLine(1000100, deg(10.2, 50.2), float(0.2 * map_fixtures::kRadPerDeg), 8);
    map.ring("AAA", {{coast, 'C', false}, {mapfiles::Line{1000150, {}}, 'B', false}});
    map.ring("BBB", {{mapfiles::Line{1000150, {}}, 'B', true}, {coast, 'C', true}});
    const auto r = onMap(map, [] {
        circle(deg(10, 50), 0);
        const auto& o = currentMap().outlines;
        std::ostringstream out;
        out << symbols();
        for (std::size_t k = 0; k < std::size_t(o.outlineCount); ++k)
            out << " " << o.outlineLast[k] - o.outlineFirst[k] + 1;
        return out.str();
    });
    EXPECT_EQ(r.output, "AAA,BBB, 33 33");
}

TEST(CurrentMap, MapLineIsFittedToTheWindow)
{
    struct Row {
        const char* symbol;
        int32_t lineId;
        geo::Window window;
        std::string want;  // status, count and the first longitude in degrees
    };
    const auto w = [](double west, double south, double east, double north) {
        const auto sw = deg(west, south), ne = deg(east, north);
        return geo::Window{sw.lon, sw.lat, ne.lon, ne.lat};
    };
    const Row rows[] = {
        {"RUS", 5000831, w(-20, 0, 20, 10), "0 2 390"},   // shifted east
        {"RUS", 5000831, w(-20, 0, -10, 10), "0 2 30"},
        {"RUS", 5000900, w(-20, 0, -10, 10), "0 2 -330"},  // shifted west
        {"RUS", 5000900, w(-20, 0, 20, 10), "0 2 30"},
        {"FIN", 5000900, w(-20, 0, -10, 10), "0 2 30"},
        {"RUS", 5000900, w(170, 0, -170, 10), "0 2 30"},   // across 180 degrees: no shift
        {"RUS", 5000900, w(20, 40, 50, 60), "2 21 30"},    // wholly inside
        {"RUS", 5000900, w(20, 40, 40, 60), "1 13 30"},    // partly inside: cut
    };
    TestMap map;
    for (int32_t id : {5000831, 5000900})
        map.lines.push_back(mapfiles::evenLine(id, deg(30, 50), deg(50, 50), 21));
    map.entries.push_back(mapfiles::lineEntry("RUS", 'B', map.lines[0]));
    const auto r = onMap(map, [&] {
        std::ostringstream out;
        std::vector<float> points(2 * 100);
        for (const Row& row : rows) {
            const geo::MapLine line = geo::GEOMLIN(row.symbol, row.window, points.data(), 100, row.lineId);
            out << line.status << " " << line.count << " " << std::lround(points[0] / map_fixtures::kRadPerDeg) << "\n";
        }
        return out.str();
    });
    std::string want;
    for (const Row& row : rows)
        want += row.want + "\n";
    EXPECT_EQ(r.output, want);
}
