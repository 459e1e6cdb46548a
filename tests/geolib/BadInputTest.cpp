// Bad input from a caller or a data file: the library returns or ends with its fatal report,
// never crashes or hangs.
#include "tavu32d.h"

#include "geolib/tools/MapFileBuilder.h"
#include "geometry/Sphere.h"
#include "map/OutlineToWindow.h"
#include "map/OutlineTrim.h"
#include "support/MapFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using testing_support::fatalOutput;
using testing_support::MapFolder;
using testing_support::messageLine;
using testing_support::runWithMaps;

namespace {

constexpr unsigned kLimitSeconds = 20;  // far beyond any of these calls on good input
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr std::int32_t kFirstLine = 1000100;
constexpr std::int32_t kBadLine = kFirstLine + 1;

// Four square islands of two owners around 0.1 rad east and north, three points a side.
mapfiles::MapData islands()
{
    return mapfiles::islandGrid(4, 2, {0.1f, 0.1f}, 0.1f, 0.02f, 3, 2, kFirstLine);
}

// The window around the islands.
constexpr float kIslandsWindow[4] = {0.0f, 0.0f, 0.3f, 0.3f};

void startLibrary()
{
    std::int32_t unit = 20;
    WDBUNIT(&unit);
}

// Writes the islands' map; `bad` replaces the latitude (or, with onLongitude, the longitude) of
// point 2 of line kBadLine.
void writeIslands(const MapFolder& maps, std::optional<float> bad = {}, bool onLongitude = false)
{
    mapfiles::MapData map = islands();
    if (bad)
        for (auto& line : map.lines)
            if (line.id == kBadLine)
                (onLongitude ? line.points[1].lon : line.points[1].lat) = *bad;
    maps.write("GEOIDX1.BIN", mapfiles::indexFile(map.entries));
    maps.write("GEOPNT1.BIN", mapfiles::mainPointFile(map.lines));
}

void mapWindow(const float (&window)[4])
{
    float place[4] = {window[0], window[1], window[2], window[3]};
    std::int32_t kind = 2, dist = 0;
    GEOMAP(&kind, place, &dist);
}

// Every line of the window request, thinned at 5 km.
void walkLineRequest()
{
    float w = kIslandsWindow[0], s = kIslandsWindow[1], e = kIslandsWindow[2], n = kIslandsWindow[3], dist = 5;
    std::int16_t count = 0;
    char codes[3] = {' ', ' ', ' '};
    GEODWD(&w, &s, &e, &n, &dist, &count, codes);
    std::vector<float> points(2 * 7001);
    for (int call = 0; call < 100; ++call) {
        std::int16_t unit = 1;
        std::int32_t capacity = 7001, id = 0, got = 0, end = 0;
        char kind = ' ';
        GEOLIW(&unit, points.data(), &capacity, &id, &got, &kind, &end);
        if (end & 1)
            return;
    }
}

void fetchBadLine()
{
    std::vector<float> points(2 * 7001);
    std::int16_t unit = 2;
    std::int32_t capacity = 7001, id = kBadLine, count = 0, found = 0;
    GEOLIN(&unit, points.data(), &capacity, &id, &count, &found);
}

// A closed outline along 0.1 rad north that starts and ends at longitude `lon`.
std::vector<float> outlineFrom(float lon)
{
    return {lon, 0.1f, 0.1f, 0.1f, 0.2f, 0.1f, 0.3f, 0.1f, 0.4f, 0.1f, lon, 0.1f};
}

}  // namespace

TEST(BadCallerInput, EveryCallReturnsWithinItsTimeLimit)
{
    struct Case {
        const char* name;
        std::function<std::string()> call;  // its findings, "" when all is well
    };
    const Case cases[] = {
        {"GEOMAP with a window west of 1e10",
         [] {
             startLibrary();
             mapWindow({1e10f, 0.0f, 0.3f, 0.3f});
             return "";
         }},
        {"GEOMAP with a window of NaN edges",
         [] {
             startLibrary();
             mapWindow({kNaN, kNaN, kNaN, kNaN});
             return "";
         }},
        {"GEODST3 at a latitude of -3.8e7",
         [] {
             float lon1 = 0, lat1 = -3.8e7f, lon2 = 0.1f, lat2 = -3.8e7f;
             return std::isfinite(GEODST3(&lon1, &lat1, &lon2, &lat2)) ? "" : "GEODST3 not finite";
         }},
        {"GEOSM1 with a NaN point",
         [] {
             float tolerance = 5;
             std::int32_t least = 5, n = 4, kept = -1;  // more than the line holds
             float points[8] = {0.1f, 0.1f, kNaN, kNaN, 0.2f, 0.2f, 0.3f, 0.3f}, out[8] = {};
             GEOSM1(&tolerance, &least, points, &n, out, &kept);
             return kept >= 1 && kept <= n ? "" : "GEOSM1 kept " + std::to_string(kept);
         }},
        {"GEOMV8 moving point 1 one place down",
         [] {
             // Two guard reals stand before the caller's array; points 2 and 3 land on 1 and 2.
             float memory[8] = {-7, -7, 1, 1, 2, 2, 3, 3};
             std::int16_t shift = -1, first = 1, last = 3;
             GEOMV8(&shift, &first, memory + 2, &last);
             const std::vector<float> want{-7, -7, 2, 2, 3, 3, 3, 3};
             return std::vector<float>(memory, memory + 8) == want && last == 2 ? "" : "GEOMV8 wrote outside";
         }},
        {"GEOTRIM with a longitude of 1e30",
         [] {
             auto points = outlineFrom(1e30f);
             std::int32_t first = 1, last = 6;
             geo::GEOTRIM({0.0f, 0.0f, 0.15f, 0.15f}, points.data(), first, last);
             return "";
         }},
        {"GEOCTW2 with a longitude of -1e30",
         [] {
             auto points = outlineFrom(-1e30f);
             std::int32_t n = 6, flag = 0;
             geo::GEOCTW2({0.0f, 0.0f, 0.15f, 0.15f}, 6, points.data(), n, flag);
             return "";
         }},
    };
    const MapFolder maps;
    writeIslands(maps);
    for (const Case& c : cases) {
        const auto r = runWithMaps(maps, c.call, kLimitSeconds);
        EXPECT_TRUE(r.exited) << c.name << ": crashed or hung";
        EXPECT_EQ(r.status, 0) << c.name;
        EXPECT_EQ(r.output, "") << c.name;
    }
}

TEST(BadPointFile, AValueFarOffTheSphereIsAReadFailure)
{
    struct Value {
        const char* name;
        float value;
        bool onLongitude;
    };
    const Value values[] = {
        {"latitude -1e9", -1e9f, false},
        {"longitude 1e30", 1e30f, true},
        {"latitude NaN", kNaN, false},
        {"longitude infinite", std::numeric_limits<float>::infinity(), true},
    };
    struct Reader {
        const char* name;
        void (*read)();
    };
    const Reader readers[] = {
        {"GEOLIN", fetchBadLine},
        {"GEODWD and GEOLIW", walkLineRequest},
        {"GEOMAP", [] { mapWindow(kIslandsWindow); }},
    };
    const std::string report = fatalOutput("GEODAR", messageLine(" ERROR WHILE READING FROM DISK"));
    for (const Value& v : values) {
        const MapFolder maps;
        writeIslands(maps, v.value, v.onLongitude);
        for (const Reader& reader : readers) {
            const auto r = runWithMaps(
                maps,
                [&] {
                    startLibrary();
                    reader.read();
                    return "";
                },
                kLimitSeconds);
            EXPECT_TRUE(r.exited) << reader.name << ", " << v.name << ": crashed or hung";
            EXPECT_EQ(r.status, 1) << reader.name << ", " << v.name;
            EXPECT_EQ(r.output, report) << reader.name << ", " << v.name;
        }
    }
}

TEST(BadPointFile, PointsOfOrdinaryLinesStillRead)
{
    const MapFolder maps;
    writeIslands(maps, -1.5f);  // near the south pole, yet on the sphere
    const auto r = runWithMaps(
        maps,
        [] {
            startLibrary();
            fetchBadLine();
            walkLineRequest();
            mapWindow(kIslandsWindow);
            return "";
        },
        kLimitSeconds);
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(r.status, 0);
}

TEST(WrapLongitude, TakesWholeTurnsOffAnyFiniteLongitude)
{
    constexpr double pi = geo::kPi, turn = geo::kTwoPi;
    struct Row {
        double lon, wrapped;
    };
    // One step past either end moves by one turn, exactly as before; the ends stay.
    const Row ordinary[] = {{1.0, 1.0}, {4.0, 4.0 - turn}, {-4.0, -4.0 + turn}, {pi, pi}, {-pi, -pi}, {8.0, 8.0 - turn}};
    for (const Row& row : ordinary)
        EXPECT_EQ(geo::wrapLongitude(row.lon), row.wrapped) << row.lon;
    for (const double far : {1e10, -1e10, 1e30, -1e30, 3.8e7, double(std::numeric_limits<float>::max())}) {
        const double w = geo::wrapLongitude(far);
        EXPECT_TRUE(w >= -pi && w <= pi) << far << " gave " << w;
    }
}
