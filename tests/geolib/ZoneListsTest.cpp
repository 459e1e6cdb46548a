#include "tavu32d.h"

#include "MapFixtures.h"
#include "state/LibraryState.h"
#include "map/ZoneLists.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

using map_fixtures::deg;
using testing_support::fatalOutput;

namespace {

constexpr float kHalfZone = float(0.5 * map_fixtures::kRadPerDeg);

std::array<float, 4> windowAround(const mapfiles::Line& line)
{
    std::array<float, 4> w{1e9f, 1e9f, -1e9f, -1e9f};
    for (const auto& p : line.points) {
        w = {std::min(w[0], p.lon), std::min(w[1], p.lat), std::max(w[2], p.lon), std::max(w[3], p.lat)};
    }
    return w;
}

struct Zone {
    mapfiles::Line line;
    std::array<float, 2> values;
};

mapfiles::ZoneIndexEntry entryOf(const Zone& z)
{
    return {z.line.id, z.values, windowAround(z.line)};
}

mapfiles::Line indexLine(std::int32_t id, const std::vector<Zone>& zones)
{
    std::vector<mapfiles::ZoneIndexEntry> entries;
    for (const Zone& z : zones)
        entries.push_back(entryOf(z));
    return mapfiles::zoneIndexLine(id, entries);
}

// Kind 1: zones 101 (25 points, 1.5 on land and sea) and 103 (far away) in index line 10, 102
// (2 on land, 3 at sea, across the east coast of "EEE") in line 11. Kind 2: zones 201 and 202
// in an index line of 4k + 2 points. Kind 3: five zones of 6997 points each near 45.5 N.
// With `coordination` a kind 4 whose one zone, far away, has value 3 and defaults 1.
struct ZoneFiles {
    map_fixtures::TestMap map = map_fixtures::twoCountries();
    std::vector<mapfiles::Line> zoneLines;

    explicit ZoneFiles(bool coordination)
    {
        map.island("ISL", mapfiles::squareLine(1000500, deg(2, 45.5), float(0.2 * map_fixtures::kRadPerDeg), 4));
        const Zone z101{mapfiles::squareLine(101, deg(9, 50), kHalfZone, 6), {1.5f, 1.5f}};
        const Zone z102{mapfiles::squareLine(102, deg(12, 50), kHalfZone, 6), {2.0f, 3.0f}};
        const Zone z103{mapfiles::squareLine(103, deg(30, 60), kHalfZone, 6), {3.0f, 3.0f}};
        const Zone z201{mapfiles::squareLine(201, deg(10, 50), kHalfZone, 4), {9.0f, 9.0f}};
        const Zone z202{mapfiles::squareLine(202, deg(10, 50), kHalfZone / 2, 4), {10.0f, 10.0f}};
        std::vector<Zone> big;
        for (int i = 0; i < 5; ++i)
            big.push_back({mapfiles::squareLine(301 + i, deg(1 + 2 * i, 45.5), float(0.9 * map_fixtures::kRadPerDeg), 1749),
                           {4.0f, 4.0f}});
        std::vector<mapfiles::ZoneKind> kinds{{10, 2, {5.0f, 6.0f}}, {20, 1, {7.0f, 8.0f}}, {30, 1, {0.0f, 0.0f}}};
        if (coordination)
            kinds.push_back({40, 1, {1.0f, 1.0f}});
        zoneLines.push_back(mapfiles::zoneHeaderLine(kinds));
        zoneLines.push_back(indexLine(10, {z101, z103}));
        zoneLines.push_back(indexLine(11, {z102}));
        auto odd = indexLine(20, {z201, z202});
        odd.points.push_back({mapfiles::wholeCoordinate(201), 0});  // half an entry
        odd.points.push_back({0, 0});
        zoneLines.push_back(odd);
        zoneLines.push_back(indexLine(30, big));
        zoneLines.push_back(indexLine(40, {z103}));
        for (const Zone& z : {z101, z102, z103, z201, z202})
            zoneLines.push_back(z.line);
        for (const Zone& z : big)
            zoneLines.push_back(z.line);
    }

    testing_support::ChildResult run(const std::function<std::string()>& body) const
    {
        testing_support::MapFolder folder;
        map.writeTo(folder);
        folder.write("GEOPNT12.BIN", mapfiles::pointFile(mapfiles::PointLayout::Zones, {zoneLines}));
        return testing_support::runWithMaps(folder, [&] {
            map_fixtures::startLibrary();
            return body();
        });
    }
};

std::array<float, 4> window(double west, double south, double east, double north)
{
    const auto sw = deg(west, south), ne = deg(east, north);
    return {sw.lon, sw.lat, ne.lon, ne.lat};
}

void zoneList(double west, double south, double east, double north)
{
    auto w = window(west, south, east, north);
    int32_t kind = 2, dist = 0;
    GEOGCM(&kind, w.data(), &dist);
}

std::string listedIds()
{
    const geo::ZoneList& z = geo::libraryState().zones.list;
    std::ostringstream out;
    for (int k = 0; k < z.zoneCount; ++k)
        out << z.zoneLineId[std::size_t(k)] << ",";
    return out.str();
}

int32_t select(void (*selector)(int32_t*, int32_t*), int32_t k)
{
    int32_t status = -5;
    selector(&k, &status);
    return status;
}

}  // namespace

TEST(ZoneLists, SelectorsPickTheirKindAndAnAbsentKindHasNoLines)
{
    struct Row {
        const char* what;
        void (*selector)(int32_t*, int32_t*);
        int32_t k;
        std::string want;  // status, zoneKind, first line, line count, defaults
    };
    const Row rows[] = {
        {"GEOGCMS 0 gives kind 1", GEOGCMS, 0, "0 1 10 2 5 6"},
        {"GEOGCMS -2 gives kind 2", GEOGCMS, -2, "0 2 20 1 7 8"},
        {"GEOGCMS 13 is absent", GEOGCMS, 13, "1 0 0 0 0 0"},
        {"GEONZMS 0 gives kind 10, absent", GEONZMS, 0, "1 0 0 0 0 0"},
        {"GEONZMS -6 gives kind 3", GEONZMS, -6, "0 3 30 1 0 0"},
    };
    for (const Row& row : rows) {
        const auto r = ZoneFiles(false).run([&] {
            const int32_t status = select(row.selector, row.k);
            const geo::ZoneList& z = geo::libraryState().zones.list;
            std::ostringstream out;
            out << status << " " << z.zoneKind << " " << z.zoneFirstLine << " " << z.zoneLineCount << " "
                << z.zoneHeaderValues[0] << " " << z.zoneHeaderValues[1];
            return out.str();
        });
        EXPECT_EQ(r.output, row.want) << row.what;
    }
}

// The internal selector of GEORZML, in the shape of the exported ones.
static void rainSelector(int32_t* k, int32_t* status)
{
    *status = geo::GEORZMS(*k);
}

TEST(ZoneLists, EachSelectorTakesZeroForTheFirstKindOfItsRange)
{
    // Ten kinds, kind i with first line 10 i and defaults i.
    ZoneFiles files(false);
    std::vector<mapfiles::ZoneKind> kinds;
    for (int i = 1; i <= 10; ++i)
        kinds.push_back({10 * i, 1, {float(i), float(i)}});
    files.zoneLines[0] = mapfiles::zoneHeaderLine(kinds);
    struct Row {
        const char* what;
        void (*selector)(int32_t*, int32_t*);
        int32_t k;
        int32_t kind;
    };
    const Row rows[] = {
        {"GEOGCMS 0", GEOGCMS, 0, 1},   {"GEOGCMS 1", GEOGCMS, 1, 1},   {"GEONZMS 0", GEONZMS, 0, 10},
        {"GEONZMS 1", GEONZMS, 1, 10},  {"GEONZMS -12", GEONZMS, -12, 3}, {"GEORZMS 0", rainSelector, 0, 9},
        {"GEORZMS 1", rainSelector, 1, 9},   {"GEOPRMS 0", GEOPRMS, 0, 5},   {"GEOPRMS 1", GEOPRMS, 1, 5},
        {"GEOPRMS -7", GEOPRMS, -7, 3},
    };
    for (const Row& row : rows) {
        const auto r = files.run([&] {
            const int32_t status = select(row.selector, row.k);
            const geo::ZoneList& z = geo::libraryState().zones.list;
            return std::to_string(status) + " " + std::to_string(z.zoneKind) + " " + std::to_string(z.zoneFirstLine);
        });
        EXPECT_EQ(r.output, "0 " + std::to_string(row.kind) + " " + std::to_string(10 * row.kind)) << row.what;
    }
}

TEST(ZoneLists, ListHoldsTheZonesThatMeetTheMapClippedToIt)
{
    const auto r = ZoneFiles(false).run([] {
        std::ostringstream out;
        zoneList(7, 48, 13, 52);  // no kind selected: kind 1
        out << listedIds() << " ";
        zoneList(7, 48, 12, 52);  // 102 reaches out of the map
        const geo::ZoneList& z = geo::libraryState().zones.list;
        const geo::Window& w = geo::libraryState().map.state.mapWindow;
        geo::Window wide = w;
        geo::widenWindow(1, 600, wide);
        for (int k = 0; k < z.zoneCount; ++k) {
            const float* p = z.zonePoints.data() + 2 * (z.zoneFirst[std::size_t(k)] - 1);
            for (int i = 0; i < z.zonePointCount[std::size_t(k)]; ++i) {
                if (!geo::pointInWindow(geo::pointOf(p, i), wide))
                    out << "point " << i << " of " << z.zoneLineId[std::size_t(k)] << " outside ";
            }
        }
        out << listedIds();
        return out.str();
    });
    EXPECT_EQ(r.output, "101,102, 101,102,");
}

TEST(ZoneLists, AbsentCoordinationKindGivesStatusOneAndAnEmptyList)
{
    const auto r = ZoneFiles(false).run([] {
        zoneList(7, 48, 13, 52);
        std::ostringstream out;
        out << listedIds() << " ";
        auto w = window(7, 48, 13, 52);
        int32_t kind = 2, dist = 0, status = -5;
        GEOCOM(&kind, w.data(), &dist, &status);
        out << status << " " << listedIds() << "|";
        return out.str();
    });
    EXPECT_EQ(r.output, "101,102, 1 |");
}

TEST(ZoneLists, ValueAtAPointTakesTheZoneOrTheDefaultOnLandOrAtSea)
{
    struct Row {
        double lon, lat;
        float want;
    };
    const Row rows[] = {
        {9, 50, 1.5f},      // a zone of equal values
        {11.7, 50, 2.0f},   // zone 102 on land
        {12.3, 50, 3.0f},   // zone 102 at sea
        {10.5, 50.7, 5.0f}, // no zone, on land
        {7.0, 50, 6.0f},    // no zone, at sea
    };
    const auto r = ZoneFiles(false).run([&] {
        std::ostringstream out;
        for (const Row& row : rows) {
            const auto p = deg(row.lon, row.lat);
            float lon = p.lon, lat = p.lat, value = -1, again = -1;
            GEOGCP(&lon, &lat, &value);
            GEOGCP2(&lon, &lat, &again);
            if (value != row.want || again != row.want)
                out << row.lon << " " << row.lat << ": " << value << "/" << again << " not " << row.want << "\n";
        }
        return out.str();
    });
    EXPECT_EQ(r.output, "");
}

TEST(ZoneLists, CodeAtAPointFollowsTheValueAndTheCodeWindows)
{
    struct Row {
        float value;
        double lon, lat;
        const char* want;
    };
    const Row rows[] = {
        {1.0f, 10, 35, "C "},  {1.0f, 10, 0, "C "},   {1.0f, 10, 50, "B "},  {1.0f, 30, 44, "C "},
        {1.0f, -5.3, 35, "C "}, {1.0f, -5.4, 35, "B "}, {1.0f, 50, -29, "C "}, {3.0f, 10, 50, "A1"},
        {2.0f, 10, 35, "A2"},  {1.5f, 10, 0, "A2"},
    };
    for (const Row& row : rows) {
        const auto p = deg(row.lon, row.lat);
        EXPECT_EQ(geo::zoneCode(row.value, {p.lon, p.lat}), row.want) << row.value << " " << row.lon << " " << row.lat;
    }
    // Through the coordination kind: its defaults are 1, its zone's value 3.
    const auto r = ZoneFiles(true).run([] {
        std::string out;
        for (const auto& [lon, lat] : {std::pair{10.0, 35.0}, {10.0, 0.0}, {10.0, 50.0}, {30.0, 60.0}}) {
            const auto p = deg(lon, lat);
            float x = p.lon, y = p.lat;
            char code[2] = {'?', '?'};
            GEOCOP(&x, &y, code, nullptr);
            out += std::string(code, 2) + "|";
        }
        return out;
    });
    EXPECT_EQ(r.output, "C |C |B |A1|");
}

namespace {

using Walker = void (*)(int16_t*, float*, int32_t*, float*, int32_t*, int32_t*, float*, float*, int32_t*);

void gcml(int16_t* u, float* w, int32_t* c, float* p, int32_t* n, int32_t* x, float* v1, float* v2, int32_t* e)
{
    GEOGCML(u, w, c, p, n, x, v1, v2, e);
}
void coml(int16_t* u, float* w, int32_t* c, float* p, int32_t* n, int32_t* x, float* v1, float* v2, int32_t* e)
{
    GEOCOML(u, w, c, p, n, x, v1, v2, e);
}
void nzml(int16_t* u, float* w, int32_t* c, float* p, int32_t* n, int32_t* x, float* v1, float*, int32_t* e)
{
    GEONZML(u, w, c, p, n, x, v1, e);
}
void rzml(int16_t* u, float* w, int32_t* c, float* p, int32_t* n, int32_t* x, float* v1, float*, int32_t* e)
{
    GEORZML(u, w, c, p, n, x, v1, e);
}

struct Step {
    int32_t count = -7, excess = 99, end = -7;
    float value1 = -1;
    std::vector<float> points;
};

Step step(Walker walker, std::array<float, 4> w, int32_t capacity, int16_t unit = 1)
{
    Step s;
    s.points.assign(2 * std::size_t(std::max(capacity, 1)), -100.0f);
    float value2 = -1;
    walker(&unit, w.data(), &capacity, s.points.data(), &s.count, &s.excess, &s.value1, &value2, &s.end);
    return s;
}

std::string describe(const Step& s)
{
    std::ostringstream out;
    if (s.end == -1)
        return "end";
    out << s.value1 << ":" << s.count << "+" << s.excess;
    return out.str();
}

}  // namespace

TEST(ZoneLists, EveryIteratorGivesTheOverlappingZonesThenTheEndThenStartsAgain)
{
    struct Row {
        const char* what;
        Walker walker;
    };
    // Ten kinds: the default kinds 1, 4, 9 and 10 walk kind 1's lines.
    ZoneFiles files(false);
    std::vector<mapfiles::ZoneKind> kinds(10, {10, 2, {5.0f, 6.0f}});
    kinds[1] = {20, 1, {7.0f, 8.0f}};
    files.zoneLines[0] = mapfiles::zoneHeaderLine(kinds);
    const Row rows[] = {{"GEOCOML", coml}, {"GEOGCML", gcml}, {"GEONZML", nzml}, {"GEORZML", rzml}};
    for (const Row& row : rows) {
        const auto r = files.run([&] {
            const auto w = window(7, 48, 13, 52);
            std::string out;
            for (int i = 0; i < 4; ++i)
                out += describe(step(row.walker, w, 7001)) + " ";
            return out;
        });
        EXPECT_EQ(r.output, "1.5:25+0 2:25+0 end 1.5:25+0 ") << row.what;
    }
}

TEST(ZoneLists, IteratorCapacityUnitsAndKindChanges)
{
    const auto r = ZoneFiles(false).run([] {
        const auto w = window(7, 48, 13, 52);
        std::ostringstream out;
        const Step cut = step(gcml, w, 10);
        out << describe(cut) << " ";
        const Step degrees = step(gcml, w, 25, 2);
        out << describe(degrees) << " " << std::lround(degrees.points[0] * 10) << "," << std::lround(degrees.points[1] * 10)
            << " ";
        (void)step(gcml, w, 7001);  // the end
        const Step whole = step(gcml, w, 7001);
        out << describe(whole) << " " << (whole.points[0] == cut.points[0] && whole.points[19] == cut.points[19]) << " ";
        // Kind 2 restarts the walk; its index line ends in half an entry.
        select(GEOGCMS, 2);
        const auto world = window(-180, -90, 180, 90);
        for (int i = 0; i < 3; ++i)
            out << describe(step(gcml, world, 7001)) << " ";
        return out.str();
    });
    // The second zone, 102, starts at its south-west corner, 11.5 E 49.5 N.
    EXPECT_EQ(r.output, "1.5:10+15 2:25+0 115,495 1.5:25+0 1 9:17+0 10:17+0 end ");
}

TEST(ZoneLists, ListOverflowIsReportedOrLeavesTheListEmpty)
{
    const ZoneFiles files(false);
    const auto loud = files.run([] {
        select(GEOGCMS, 3);
        zoneList(0, 44, 10, 47);
        return std::string("not reported");
    });
    EXPECT_EQ(loud.output, fatalOutput("GEOGCM", " Increase the parameter MXCDCR= 32691 in GEOQ162\n"));

    const auto quiet = files.run([] {
        int32_t option = 4, on = 1, item = 4;
        GEOSET(&option, &on);
        select(GEOGCMS, 3);
        zoneList(0, 44, 10, 47);
        int32_t pending = -1;
        int16_t pendingItem = int16_t(item);
        GEOVA1(&pendingItem, &pending);
        return listedIds() + "|" + std::to_string(pending);
    });
    EXPECT_EQ(quiet.output, "|1");

    // On a wide map the list overflows; the map of the request holds two zones.
    const auto rebuilt = files.run([] {
        auto wide = window(0, 44, 13, 52);
        int32_t kind = 2, dist = 0;
        GEOMAP(&kind, wide.data(), &dist);
        select(GEOGCMS, 3);
        zoneList(0.5, 44.5, 3.5, 46.5);
        return listedIds();
    });
    EXPECT_EQ(rebuilt.output, "301,302,");
}

TEST(ZoneLists, KindWithoutItsDefaultsPointIsAbsent)
{
    ZoneFiles files(false);
    files.zoneLines[0].points.pop_back();  // kind 3 keeps its lines but loses its defaults
    const auto r = files.run([] {
        const int32_t third = select(GEOGCMS, 3);
        const int32_t second = select(GEOGCMS, 2);
        return std::to_string(third) + " " + std::to_string(second);
    });
    EXPECT_EQ(r.output, "1 0");
}

TEST(ZoneLists, AnAbsentKindHasNoZonesNoValuesAndNoLines)
{
    // Three kinds: kinds 4, 9, 10 and 13 are absent. Each row first builds kind 1's list at
    // the point, which lies in kind 1's zone 101 (value 1.5).
    const auto at = deg(9, 50);
    const auto gcp = [at] {
        float lon = at.lon, lat = at.lat, value = -1;
        GEOGCP(&lon, &lat, &value);
        return value;
    };
    const auto text = [](float v) {
        std::ostringstream out;
        out << v;
        return out.str();
    };
    struct Row {
        const char* what;
        std::function<std::string()> absent;
        std::string want;
    };
    const auto walkAfter = [](std::function<void()> before, Walker walker) {
        return [before, walker] {
            before();
            return describe(step(walker, window(7, 48, 13, 52), 7001));
        };
    };
    const auto coordination = [] {
        auto w = window(7, 48, 13, 52);
        int32_t kind = 2, dist = 0, status = -5;
        GEOCOM(&kind, w.data(), &dist, &status);
    };
    const Row rows[] = {
        {"GEOGCM", [] { select(GEOGCMS, 13); zoneList(7, 48, 13, 52); return listedIds(); }, ""},
        {"GEOGCP", [&] { select(GEOGCMS, 13); return text(gcp()); }, "0"},
        {"GEOGCP2 after GEOCOM", [&] {
             coordination();
             float lon = at.lon, lat = at.lat, v = -1;
             GEOGCP2(&lon, &lat, &v);
             return text(v);
         }, "0"},
        {"GEOGCML", walkAfter([] { select(GEOGCMS, 13); }, gcml), "end"},
        {"GEOCOML", walkAfter(coordination, coml), "end"},
        {"GEONZML", walkAfter([] { select(GEONZMS, 0); }, nzml), "end"},
        {"GEORZML", walkAfter([] {}, rzml), "end"},
    };
    for (const Row& row : rows) {
        const auto r = ZoneFiles(false).run([&] {
            const std::string before = text(gcp());
            return before + " " + row.absent();
        });
        EXPECT_EQ(r.output, "1.5 " + row.want) << row.what;
    }
}
