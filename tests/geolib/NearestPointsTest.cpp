#include "tavu32d.h"

#include "distance/NearestPoints.h"
#include "support/ChildProcess.h"
#include "support/MapFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

geo::Point pointFor(float d)
{
    return {d / 1000, -d / 1000};
}

// The entries as "symbol=distance", checking that each entry's nearest point went with it.
std::string listed(const geo::DistanceList& list)
{
    std::string s;
    for (std::int32_t i = 1; i <= list.count(); ++i) {
        const geo::ListEntry& e = list.entry(i);
        const geo::Point slot = geo::nearestPointStore().nearestPoints[std::size_t(i)];
        const bool inStep = slot.lon == pointFor(e.distanceKm).lon && slot.lat == pointFor(e.distanceKm).lat;
        s += e.symbol + "=" + std::to_string(int(e.distanceKm)) + (inStep ? " " : "! ");
    }
    return s + "dropped " + std::to_string(list.dropped());
}

}  // namespace

TEST(DistanceList, KeepsTheNearestSortedWithTheirPointsAndCountsTheDropped)
{
    struct Row {
        const char* what;
        std::int32_t capacity;
        std::vector<std::pair<std::string, float>> items;
        std::string want;
    };
    const Row rows[] = {
        {"no room", 0, {{"A", 5}}, "dropped 999"},
        {"room for all", 5, {{"A", 30}, {"B", 10}, {"C", 20}}, "B=10 C=20 A=30 dropped 0"},
        {"equal distances keep their order", 5, {{"A", 20}, {"B", 10}, {"C", 20}, {"D", 10}},
         "B=10 D=10 A=20 C=20 dropped 0"},
        {"a full list: the nearer replaces the first of the farthest", 3,
         {{"A", 30}, {"B", 40}, {"C", 40}, {"D", 10}, {"E", 50}, {"F", 40}},
         "D=10 A=30 C=40 dropped 3"},
        {"a full list keeps an entry as near as the newcomer", 1, {{"A", 10}, {"B", 10}}, "A=10 dropped 1"},
    };
    for (const Row& row : rows) {
        geo::DistanceList list("TEST", row.capacity);
        for (const auto& [symbol, d] : row.items)
            if (list.hasRoom())
                list.store(symbol, d, 0, pointFor(d));
        list.sort();
        EXPECT_EQ(listed(list), row.want) << row.what;
    }
    // An entry given a nearer distance moves with its point.
    geo::DistanceList list("TEST", 4);
    for (const auto& [symbol, d] : {std::pair{"A", 10.0f}, {"B", 20.0f}, {"C", 30.0f}})
        list.store(symbol, d, 0, pointFor(d));
    list.update(list.find("C"), 5, 0, pointFor(5));
    list.sort();
    EXPECT_EQ(listed(list), "C=5 A=10 B=20 dropped 0");
    EXPECT_EQ(list.find("Z"), 0);
}

TEST(DistanceList, A374thEntryIsAFatalErrorOfTheRoutine)
{
    const auto result = testing_support::runInChild([] {
        geo::DistanceList list("GEODCM1", 400);
        for (int i = 0; i < 374; ++i)
            list.store("X", float(i), 0, pointFor(float(i)));
    });
    EXPECT_EQ(result.output,
              testing_support::fatalOutput("GEODCM1", " Increase the parameter MAXQLL=   373 in GEOQ49\n"));
}

TEST(DistanceList, GEOVA2CopiesAtMost373Points)
{
    auto& slots = geo::nearestPointStore().nearestPoints;
    for (std::size_t i = 0; i < slots.size(); ++i)
        slots[i] = {float(i), 0.5f};
    for (const int32_t count : {0, 1, 373, 10000, -5}) {
        std::vector<float> pts(2 * 10001, -1.0f);
        int32_t n = count;
        GEOVA2(&n, pts.data());
        int copied = 0;
        while (pts[2 * std::size_t(copied)] == float(copied + 1) && pts[2 * std::size_t(copied) + 1] == 0.5f)
            ++copied;
        EXPECT_EQ(copied, std::clamp(count, 0, 373)) << count;
        EXPECT_EQ(pts[2 * std::size_t(copied)], -1.0f) << count;
    }
}
