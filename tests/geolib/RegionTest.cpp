#include "tavu32d.h"

#include "MapFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

using map_fixtures::deg;
using map_fixtures::TestMap;
using testing_support::fatalOutput;

namespace {

constexpr float kDegTol = 1e-4f;

// AAA (0-10 E, 0-10 N) and BBB (10-20 E) share a border along 10 E; each holds an allotment
// area, and a local area lies in AAA.
struct RegionMap {
    TestMap map;
    std::vector<mapfiles::IndexEntry> areaEntries;
    std::vector<mapfiles::Line> localLines;
    std::vector<mapfiles::IndexEntry> localEntries;

    RegionMap()
    {
        const auto border = mapfiles::evenLine(1000100, deg(10, 0), deg(10, 10), 11);
        const auto west = map_fixtures::path(1000200, {deg(10, 10), deg(0, 10), deg(0, 0), deg(10, 0)}, 11);
        const auto east = map_fixtures::path(1000300, {deg(10, 0), deg(20, 0), deg(20, 10), deg(10, 10)}, 11);
        map.ring("AAA", {{border, 'B', false}, {west, 'C', false}});
        map.ring("BBB", {{east, 'C', false}, {border, 'B', true}});
        allotment(mapfiles::squareLine(101, deg(5, 5), float(2 * map_fixtures::kRadPerDeg), 1), "AAA001");
        allotment(mapfiles::squareLine(102, deg(15, 5), float(2 * map_fixtures::kRadPerDeg), 2), "BBB001");
        local(mapfiles::squareLine(7, deg(4, 4), float(map_fixtures::kRadPerDeg), 1), "AAALOCAL0001");
    }

    void allotment(const mapfiles::Line& outline, const std::string& symbol)
    {
        map.lines.push_back(outline);
        auto e = mapfiles::lineEntry(symbol.substr(0, 3), 'A', outline);
        mapfiles::setData(e, 8, symbol.substr(3, 3));
        mapfiles::setData(e, 12, "M");
        areaEntries.push_back(e);
    }

    void local(const mapfiles::Line& outline, const std::string& areaId)
    {
        localLines.push_back(outline);
        auto e = mapfiles::lineEntry(areaId.substr(0, 3), 'A', outline);
        mapfiles::setData(e, 0, areaId.substr(3));
        mapfiles::setData(e, 12, "L");
        localEntries.push_back(e);
    }

    testing_support::ChildResult run(const std::function<std::string()>& body,
                                     const std::vector<std::int32_t>& leftOut = {}) const
    {
        testing_support::MapFolder folder;
        TestMap all = map;
        all.entries.insert(all.entries.end(), areaEntries.begin(), areaEntries.end());
        all.writeTo(folder, leftOut);
        folder.write("LCLIDX1.BIN", mapfiles::indexFile(localEntries));
        folder.write("LCLPNT1.BIN", mapfiles::mainPointFile(localLines));
        return testing_support::runWithMaps(folder, [&] {
            map_fixtures::startLibrary();
            return body();
        });
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

}  // namespace
