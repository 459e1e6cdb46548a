#include "tavu32d.h"

#include "MapFixtures.h"
#include "state/LibraryState.h"
#include "map/AreaLists.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

using map_fixtures::deg;
using map_fixtures::TestMap;
using testing_support::fatalOutput;

namespace {

geo::AreaLists& areaLists()
{
    return geo::libraryState().areaLists;
}

using map_fixtures::AreaMap;

void window(void (*list)(int32_t*, float*, int32_t*), double west, double south, double east, double north)
{
    int32_t kind = 2, dist = 0;
    const auto sw = deg(west, south), ne = deg(east, north);
    float place[4] = {sw.lon, sw.lat, ne.lon, ne.lat};
    list(&kind, place, &dist);
}

void setOption(int32_t option, int32_t value)
{
    GEOSET(&option, &value);
}

std::string describe(const geo::AreaList& l)
{
    std::ostringstream out;
    for (std::size_t i = 0; i < l.areaId.size(); ++i)
        out << l.areaId[i] << " ";
    out << "|";
    for (std::size_t t = 0; t < l.tableAreaId.size(); ++t)
        out << " " << l.tableAreaId[t] << "=" << l.tableSymbol[t] << l.tableMarker[t];
    return out.str();
}

// Outlines near the administrations at 10 E, 50 N.
const mapfiles::Line kInside = mapfiles::squareLine(101, deg(10, 50), 0.004f, 5);
const mapfiles::Line kAcross = mapfiles::squareLine(102, deg(10.6, 50), 0.008f, 40);
const mapfiles::Line kUnlisted = mapfiles::squareLine(103, deg(9.9, 49.9), 0.002f, 3);
const mapfiles::Line kFar = mapfiles::squareLine(104, deg(100, 0), 0.01f, 3);

AreaMap allotments()
{
    AreaMap m;
    m.allotment(kInside, {"AAA001", "***ANY"});
    m.allotment(kAcross, {"BBB002"});
    m.outlineOnly(kUnlisted);
    m.allotment(kFar, {"CCC003"});
    return m;
}

// The index file gives every area a table entry: an area without one is put in the loaded index.
void indexAreaWithoutEntry()
{
    geo::GEOAAIN();
    auto& x = areaLists().allotmentIndex;
    x.areaId.insert(x.areaId.begin(), std::int16_t(kUnlisted.id));
    x.areaWindow.insert(x.areaWindow.begin(), geo::boundingWindow(&kUnlisted.points[0].lon, std::int32_t(kUnlisted.points.size())));
}

TEST(AreaLists, AllotmentListHoldsAreasMeetingTheMapThatHaveTableEntries)
{
    const auto r = allotments().run([] {
        indexAreaWithoutEntry();
        window(ALLMAP, 9.7, 49.7, 10.7, 50.3);
        const auto& s = areaLists();
        const geo::Window w = geo::libraryState().map.state.mapWindow;
        std::ostringstream out;
        out << int(s.areaListOwner) << " " << describe(s.allotments) << "\n";
        // Every point of the crossing outline inside the map window is kept, in order.
        std::size_t next = std::size_t(s.allotments.areaFirst[1] - 1);
        const std::size_t end = next + std::size_t(s.allotments.areaPointCount[1]);
        int missing = 0;
        for (const auto& p : kAcross.points) {
            if (!geo::pointInWindow({p.lon, p.lat}, w))
                continue;
            while (next < end && !(s.areaPoints[2 * next] == p.lon && s.areaPoints[2 * next + 1] == p.lat))
                ++next;
            missing += next == end ? 1 : 0;
        }
        const std::size_t first = std::size_t(s.allotments.areaFirst[1] - 1);
        out << "first " << s.allotments.areaFirst[0] << " " << s.allotments.areaPointCount[0] << " missing " << missing
            << " closed " << (s.areaPoints[2 * (end - 1)] == s.areaPoints[2 * first]) << " windows "
            << s.areaWindow.size();
        return out.str();
    });
    EXPECT_EQ(r.output, "1 101 102 | 101=AAA001M 101=***ANYM 102=BBB002M\nfirst 1 " + std::to_string(kInside.points.size()) +
                            " missing 0 closed 1 windows 2");
}

TEST(AreaLists, ListIsKeptOnTheSameMapAndRebuiltWhenAnotherListTookTheStorage)
{
    AreaMap m = allotments();
    m.local(mapfiles::squareLine(7, deg(10.1, 50.1), 0.002f, 3), "LLLAREA00001");
    const auto r = m.run([] {
        auto& l = areaLists().allotments;
        window(ALLMAP, 9.7, 49.7, 10.7, 50.3);
        l.areaPointCount[0] = -7;  // a mark that only a rebuild removes
        window(ALLMAP, 9.8, 49.8, 10.6, 50.2);
        std::ostringstream out;
        out << l.areaPointCount[0];
        window(LCLMAP, 9.8, 49.8, 10.6, 50.2);
        out << " " << int(areaLists().areaListOwner) << " " << describe(areaLists().local);
        window(ALLMAP, 9.8, 49.8, 10.6, 50.2);
        out << " " << int(areaLists().areaListOwner) << " " << (l.areaPointCount[0] > 0);
        return out.str();
    });
    EXPECT_EQ(r.output, "-7 3 7 | 7=LLLAREA00001L 1 1");
}

TEST(AreaLists, CoordinationListGivesBackEachValueAsWritten)
{
    constexpr float kValues[] = {0, 1, 32767, 32768, 65535};
    AreaMap m;
    for (int i = 0; i < 5; ++i)
        m.coordination(mapfiles::squareLine(4001 + i, deg(9.8 + 0.1 * i, 50), 0.001f, 2), kValues[i],
                       65535 - kValues[i]);
    const auto r = m.run([] {
        window(CNDMAP, 9.7, 49.7, 10.7, 50.3);
        const auto& l = areaLists().coordination;
        std::ostringstream out;
        out << int(areaLists().areaListOwner) << " " << l.coordBounds[0] << " " << l.coordBounds[1];
        for (std::size_t i = 0; i < l.areaId.size(); ++i)
            out << " " << l.areaId[i] << "=" << l.areaValues[i][0] + 32768 << "," << l.areaValues[i][1] + 32768;
        return out.str();
    });
    EXPECT_EQ(r.output, "2 0 50000 4001=0,65535 4002=1,65534 4003=32767,32768 4004=32768,32767 4005=65535,0");
}

TEST(AreaLists, CoordinationValueThatDoesNotRoundInto0To65535IsAReadFailure)
{
    const std::string failure =
        testing_support::fatalOutput("GEOIXCD", testing_support::messageLine(" ERROR WHILE READING FROM DISK"));
    struct Row {
        float value;
        std::string expected;  // the value read, or the report
    };
    const Row rows[] = {
        {-0.49f, "0"}, {0, "0"}, {65535, "65535"}, {65535.49f, "65535"},
        {-0.5f, failure}, {-1, failure}, {65535.5f, failure}, {65536, failure},
        {-1e10f, failure}, {1e10f, failure}, {std::numeric_limits<float>::quiet_NaN(), failure},
    };
    for (const Row& row : rows) {
        for (int item = 3; item <= 4; ++item) {
            AreaMap m;
            const float value1 = item == 3 ? row.value : 100, value2 = item == 4 ? row.value : 100;
            m.coordination(mapfiles::squareLine(4001, deg(10, 50), 0.001f, 2), value1, value2);
            const auto r = m.run([item] {
                window(CNDMAP, 9.7, 49.7, 10.7, 50.3);
                const auto& l = areaLists().coordination;
                return l.areaValues.size() == 1 ? std::to_string(l.areaValues[0][item - 3] + 32768) : "no area";
            });
            EXPECT_EQ(r.output, row.expected) << row.value << " in item " << item;
        }
    }
}

TEST(AreaLists, LocalLookUpFindsAnAreaOfTheLocalList)
{
    AreaMap m;
    m.local(mapfiles::squareLine(7, deg(10.1, 50.1), 0.002f, 3), "LLLAREA00001");
    m.local(mapfiles::squareLine(9, deg(10.2, 50.1), 0.002f, 3), "MMMAREA00002");
    m.local(mapfiles::squareLine(9, deg(10.2, 50.1), 0.002f, 3), "NNNAREA00003");
    const auto r = m.run([] {
        window(LCLMAP, 9.7, 49.7, 10.7, 50.3);
        std::ostringstream out;
        for (const char* id : {"LLLAREA00001", "NNNAREA00003", "XXXAREA00009"}) {
            const geo::AreaLookup a = geo::LCLUNP1(id);
            out << "[" << a.owner << " " << a.lineId << " " << a.index << "]";
        }
        return out.str();
    });
    EXPECT_EQ(r.output, "[LLL 7 1][NNN 9 2][ 0 0]");
}

// Outlines of `count` points within a small square at the centre.
mapfiles::Line denseOutline(std::int32_t id, mapfiles::Point centre, int count)
{
    return mapfiles::squareLine(id, centre, 0.002f, (count - 1) / 4);
}

TEST(AreaLists, OverflowsAndMissingLinesAreFatalOrQuiet)
{
    struct Row {
        const char* what;
        std::function<void(AreaMap&)> build;
        std::vector<std::int32_t> leftOut;
        std::function<void()> call;
        std::string routine, report;
    };
    const auto allmap = [] { window(ALLMAP, 9.7, 49.7, 10.7, 50.3); };
    const Row rows[] = {
        {"missing outline", [](AreaMap& m) { m.allotment(mapfiles::squareLine(123, deg(10, 50), 0.002f, 3), {"AAA001"}); },
         {123}, allmap, "ALLMAP", " Did not find the line     123 in the coordinate file.\n"},
        {"8151 points",
         [](AreaMap& m) {
             m.allotment(denseOutline(201, deg(9.9, 50), 5001), {"AAA001"});
             m.allotment(denseOutline(202, deg(10.1, 50), 3153), {"BBB002"});
         },
         {}, allmap, "ALLMAP", " Increase the parameter MXALCR=  8150 in GEOQ15\n"},
        {"8151 points on a frozen map, which the retry cannot rebuild",
         [](AreaMap& m) {
             m.allotment(denseOutline(201, deg(9.9, 50), 5001), {"AAA001"});
             m.allotment(denseOutline(202, deg(10.1, 50), 3153), {"BBB002"});
         },
         {},
         [&] {
             window(GEOMAP, 9.6, 49.6, 10.8, 50.4);
             setOption(5, 1);
             allmap();
         },
         "ALLMAP", " Increase the parameter MXALCR=  8150 in GEOQ15\n"},
        {"369 area ids",
         [](AreaMap& m) {
             for (int i = 1; i <= 369; ++i)
                 m.allotment(mapfiles::squareLine(i, deg(10, 50), 0.001f, 1), {"AAA001"});
         },
         {}, allmap, "GEOAAIN", " Increase the parameter MXALIDQ=   368 in GEOQ25\n"},
        {"7002 points for GEO2AM", [](AreaMap&) {}, {},
         [] {
             std::vector<float> points(2 * 7000, 0.5f);
             float lon = 0.1f, lat = 0.2f;
             int32_t n1 = 7000, n2 = 0;
             GEO2AM(&lon, &lat, &n1, points.data(), &lon, &lat, &n2, points.data());
         },
         "GEO2AM", " Increase the parameter MAXWRK=  7001 in GEOQ91\n"},
    };
    for (const Row& row : rows) {
        AreaMap m;
        row.build(m);
        const auto loud = m.run([&] {
            row.call();
            return std::string("returned");
        }, row.leftOut);
        EXPECT_EQ(loud.output, fatalOutput(row.routine, row.report)) << row.what;
    }
    // Quiet: the overflow leaves the list empty and the map to be rebuilt.
    AreaMap m;
    rows[1].build(m);
    const auto quiet = m.run([&] {
        setOption(4, 1);
        allmap();
        int16_t item = 4;
        int32_t pending = -1;
        GEOVA1(&item, &pending);
        return std::to_string(pending) + " " + describe(areaLists().allotments) + " " +
               std::to_string(areaLists().areaPoints.size());
    });
    EXPECT_EQ(quiet.output, "1 | 0");
    // 8150 points fill the storage exactly.
    AreaMap full;
    full.allotment(denseOutline(201, deg(9.9, 50), 5001), {"AAA001"});
    full.allotment(denseOutline(202, deg(10.1, 50), 3149), {"BBB002"});
    const auto fits = full.run([&] {
        allmap();
        return describe(areaLists().allotments) + " " + std::to_string(areaLists().areaPoints.size() / 2);
    });
    EXPECT_EQ(fits.output, "201 202 | 201=AAA001M 202=BBB002M 8150");
}

TEST(AreaLists, ListThatOverflowsAWideMapIsBuiltOnAMapOfItsOwnRequest)
{
    AreaMap m;
    m.allotment(denseOutline(201, deg(9.9, 50), 5001), {"AAA001"});
    m.allotment(denseOutline(202, deg(11.8, 50), 3153), {"BBB002"});
    const auto r = m.run([] {
        int32_t kind = 1, dist = 300;
        const auto c = deg(10, 50);
        float place[2] = {c.lon, c.lat};
        GEOMAP(&kind, place, &dist);
        window(ALLMAP, 9.85, 49.95, 10.05, 50.05);  // far from area 202
        int16_t item = 4;
        int32_t pending = -1;
        GEOVA1(&item, &pending);
        // The circle map held the request: only the overflow made it a window map.
        return std::to_string(int(geo::libraryState().map.state.mapKind)) + " " + std::to_string(pending) + " " +
               describe(areaLists().allotments);
    });
    EXPECT_EQ(r.output, "2 0 201 | 201=AAA001M");
}

TEST(AreaLists, TwoPointSetMapHoldsBothSetsAndPoints)
{
    const auto r = AreaMap{}.run([] {
        const std::vector<mapfiles::Point> set1{deg(9, 49.5), deg(9.5, 50.5)}, set2{deg(11, 50), deg(11.5, 49.2)};
        const auto p1 = deg(8.5, 50), p2 = deg(12, 50.8);
        float lon1 = p1.lon, lat1 = p1.lat, lon2 = p2.lon, lat2 = p2.lat;
        int32_t n1 = 2, n2 = 2;
        GEO2AM(&lon1, &lat1, &n1, const_cast<float*>(&set1[0].lon), &lon2, &lat2, &n2,
               const_cast<float*>(&set2[0].lon));
        std::string out = std::to_string(int(geo::libraryState().map.state.mapKind));
        for (auto p : {set1[0], set1[1], set2[0], set2[1], p1, p2})
            out += GEOPIM(&p.lon, &p.lat) ? " in" : " out";
        const auto far = deg(20, 50);
        out += GEOPIM(const_cast<float*>(&far.lon), const_cast<float*>(&far.lat)) ? " in" : " out";
        return out;
    });
    EXPECT_EQ(r.output, "2 in in in in in in out");
}

}  // namespace
