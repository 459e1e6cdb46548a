#include "tavu32d.h"

#include "geolib/tools/MapFileBuilder.h"
#include "support/MapFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <sstream>

using mapfiles::Line;
using mapfiles::PointFileFaults;
using mapfiles::PointLayout;
using testing_support::fatalOutput;
using testing_support::MapFolder;
using testing_support::messageLine;
using testing_support::runWithMaps;

namespace {

constexpr double kDegreeTol = 1e-5;  // relative beyond 1 degree: a float holds 7 digits
constexpr double kDegreesPerRadian = 57.295773;  // the library's 4-byte constant
constexpr int32_t kCapacity = 7001;

// Line ids step by 10 within a block and jump by 1000 between blocks, so that ids between two
// blocks and between two lines exist.
std::vector<std::vector<Line>> makeBlocks(const std::vector<int>& sizes, int32_t firstId = 10)
{
    std::vector<std::vector<Line>> blocks;
    uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return double(seed >> 8) / double(1u << 24);
    };
    int32_t id = firstId;
    for (const int size : sizes) {
        blocks.emplace_back();
        for (int i = 0; i < size; ++i, id += 10) {
            Line line{id, {}};
            line.points.resize(std::size_t(1 + int(next() * 199.99)));
            for (auto& p : line.points)
                p = {float((next() * 2 - 1) * 3.14159), float((next() * 2 - 1) * 1.5707)};
            blocks.back().push_back(line);
        }
        id += 1000;
    }
    return blocks;
}

// The main test map: 1,200 lines in 3 blocks, one line of 7,001 points.
std::vector<std::vector<Line>> mainBlocks()
{
    auto blocks = makeBlocks({500, 500, 200});
    blocks[1][17].points.resize(7001, mapfiles::Point{0.5f, -0.25f});
    return blocks;
}

PointFileFaults faults(const std::function<void(PointFileFaults&)>& set)
{
    PointFileFaults f;
    set(f);
    return f;
}

using Fetch = void(TAVU_CALL*)(int16_t*, float*, int32_t*, int32_t*, int32_t*, int32_t*);

// Fetches every line by id in the three units; the findings, "" when all agree.
std::string checkEveryLine(Fetch fetch, const std::vector<std::vector<Line>>& blocks)
{
    std::ostringstream bad;
    std::vector<float> out(2 * kCapacity);
    for (const auto& block : blocks) {
        for (const Line& line : block) {
            for (int16_t unit : {int16_t(1), int16_t(2), int16_t(3)}) {
                int32_t capacity = kCapacity, id = line.id, count = -1, found = 0;
                fetch(&unit, out.data(), &capacity, &id, &count, &found);
                if (found != -1 || count != int32_t(line.points.size())) {
                    bad << "line " << line.id << " unit " << unit << ": found " << found << " count " << count << "\n";
                    continue;
                }
                for (std::size_t i = 0; i < line.points.size(); ++i) {
                    const float want[2] = {line.points[i].lon, line.points[i].lat};
                    for (int k = 0; k < 2; ++k) {
                        const float got = out[2 * i + std::size_t(k)];
                        const bool ok = unit == 1   ? std::memcmp(&got, &want[k], 4) == 0
                                        : unit == 2 ? std::fabs(got - want[k] * kDegreesPerRadian) <= kDegreeTol * std::max(1.0, std::fabs(double(got)))
                                                    : got == std::round(got) &&
                                                          std::fabs(got - want[k] * 648000.0 / M_PI) <= 1.0;
                        if (!ok)
                            bad << "line " << line.id << " unit " << unit << " point " << i << "\n";
                    }
                }
            }
        }
    }
    return bad.str();
}

}  // namespace

TEST(PointFiles, DeliverEveryLineInEachUnit)
{
    const auto main = mainBlocks();
    const auto zones = makeBlocks({40, 500, 7});
    const auto local = makeBlocks({300, 120});
    MapFolder maps;
    maps.write("GEOPNT1.BIN", mapfiles::pointFile(PointLayout::Main, main));
    maps.write("GEOPNT12.BIN", mapfiles::pointFile(PointLayout::Zones, zones));
    maps.write("LCLPNT1.BIN", mapfiles::pointFile(PointLayout::Main, local));
    const auto r = runWithMaps(maps, [&] {
        return checkEveryLine(GEOLIN, main) + checkEveryLine(GEOLIN2, zones) + checkEveryLine(LCLLIN, local);
    });
    EXPECT_EQ(r.output, "");
    EXPECT_EQ(r.status, 0);
}

TEST(PointFiles, FindsTheFirstIdOfEachBlockAndMissesIdsBetweenThem)
{
    const auto blocks = mainBlocks();
    MapFolder maps;
    maps.write("GEOPNT1.BIN", mapfiles::pointFile(PointLayout::Main, blocks));
    const auto r = runWithMaps(maps, [&] {
        std::ostringstream out;
        std::vector<float> points(2 * kCapacity, 7.0f);
        int16_t unit = 1;
        int32_t capacity = kCapacity;
        // From the middle of block 1 to the first ids of blocks 3, 2 and 1.
        for (int32_t id : {blocks[0][300].id, blocks[2][0].id, blocks[1][0].id, blocks[0][0].id}) {
            int32_t count = 0, found = 0;
            GEOLIN(&unit, points.data(), &capacity, &id, &count, &found);
            out << id << ":" << found << " ";
        }
        // Between blocks 1 and 2, below the first id, beyond the last, and between two lines.
        for (int32_t id : {blocks[0].back().id + 500, 5, blocks[2].back().id + 1, blocks[1][3].id + 1}) {
            std::fill(points.begin(), points.end(), 7.0f);
            int32_t count = -9, found = 1;
            GEOLIN(&unit, points.data(), &capacity, &id, &count, &found);
            const bool untouched = std::all_of(points.begin(), points.end(), [](float v) { return v == 7.0f; });
            out << found << "," << count << "," << untouched << " ";
        }
        return out.str();
    });
    std::ostringstream want;
    for (int32_t id : {blocks[0][300].id, blocks[2][0].id, blocks[1][0].id, blocks[0][0].id})
        want << id << ":-1 ";
    want << "0,-9,1 0,-9,1 0,-9,1 0,-9,1 ";
    EXPECT_EQ(r.output, want.str());
}

TEST(PointFiles, NextWalksEveryIdOnceThenRepeatsTheLast)
{
    struct Case {
        Fetch next;
        const char* file;
        std::vector<std::vector<Line>> blocks;
    };
    // A last block of one line is entered and ended by the same call.
    const Case cases[] = {
        {GEONXT, "GEOPNT1.BIN", mainBlocks()},
        {LCLNXT, "LCLPNT1.BIN", makeBlocks({300, 120})},
        {GEONXT, "GEOPNT1.BIN", makeBlocks({1, 1})},
        {LCLNXT, "LCLPNT1.BIN", makeBlocks({3, 1})},
    };
    for (const Case& c : cases) {
        MapFolder maps;
        maps.write(c.file, mapfiles::pointFile(PointLayout::Main, c.blocks));
        std::size_t lines = 0;
        for (const auto& block : c.blocks)
            lines += block.size();
        const auto r = runWithMaps(maps, [&] {
            std::ostringstream out;
            std::vector<float> points(2 * kCapacity);
            int16_t unit = 2;
            int32_t capacity = kCapacity;
            for (std::size_t i = 0; i < lines + 3; ++i) {
                int32_t id = 0, count = 0, last = 7;
                c.next(&unit, points.data(), &capacity, &id, &count, &last);
                out << id << (last ? "*" : "") << " ";
            }
            return out.str();
        });
        std::ostringstream want;
        for (const auto& block : c.blocks)
            for (const Line& line : block)
                want << line.id << (&line == &c.blocks.back().back() ? "* " : " ");
        const int32_t last = c.blocks.back().back().id;
        want << last << "* " << last << "* " << last << "* ";
        EXPECT_EQ(r.output, want.str()) << c.file << " with " << c.blocks.size() << " blocks";
    }
}

TEST(PointFiles, NextAfterAMissingIdGivesTheFirstLineAboveIt)
{
    const auto blocks = mainBlocks();
    MapFolder maps;
    maps.write("GEOPNT1.BIN", mapfiles::pointFile(PointLayout::Main, blocks));
    struct Row {
        int32_t missing, expected;
    };
    const Row rows[] = {
        {blocks[0][10].id + 5, blocks[0][11].id},     // inside a block
        {blocks[0][0].id - 5, blocks[0][0].id},       // below the first id
        {blocks[0].back().id + 5, blocks[1][0].id},   // beyond its block's last id
        {blocks[1][0].id + 5, blocks[1][1].id},       // the block just loaded
        {blocks[1].back().id + 3, blocks[2][0].id},
    };
    const auto r = runWithMaps(maps, [&] {
        std::ostringstream out;
        std::vector<float> points(2 * kCapacity);
        int16_t unit = 1;
        int32_t capacity = kCapacity;
        for (const Row& row : rows) {
            int32_t id = row.missing, count = 0, flag = 0;
            GEOLIN(&unit, points.data(), &capacity, &id, &count, &flag);
            GEONXT(&unit, points.data(), &capacity, &id, &count, &flag);
            out << id << " ";
        }
        return out.str();
    });
    std::ostringstream want;
    for (const Row& row : rows)
        want << row.expected << " ";
    EXPECT_EQ(r.output, want.str());
}

TEST(PointFiles, FaultsEndTheProcessWithTheReadersReport)
{
    const auto blocks = makeBlocks({30, 20});
    auto twelve = blocks;
    twelve[0][4].points.resize(12);
    auto local = makeBlocks({3}, 32681);
    const int32_t line5 = blocks[0][4].id;
    const std::string kDisk = messageLine(" ERROR WHILE READING FROM DISK");
    const std::string fullSize = mapfiles::pointFile(PointLayout::Main, blocks);
    struct Row {
        const char* what;
        PointLayout layout;
        std::vector<std::vector<Line>> lines;
        PointFileFaults faults;
        int32_t lineId, capacity;
        std::string expected;  // "" when the line is read
    };
    const std::vector<Row> rows = {
        {"capacity 11", PointLayout::Main, twelve, {}, line5, 11,
         fatalOutput("GEODAR", messageLine(" INCREASE DIMENSION FOR  CRDARR  IN CALLING ROUTINE"))},
        {"capacity 12", PointLayout::Main, twelve, {}, line5, 12, ""},
        {"29 index slots", PointLayout::Zones, blocks, faults([](PointFileFaults& f) { f.slots = 29; }), line5, 200,
         fatalOutput("GEODAR2", messageLine(" Data file and read routine do not match"))},
        {"point record -32768", PointLayout::Main, blocks, faults([](PointFileFaults& f) { f.pointRecord = PointFileFaults::StoredRecord{1, 5, -32768}; }), line5, 200,
         fatalOutput("GEODAR", kDisk)},
        {"block record 0", PointLayout::Main, blocks, faults([](PointFileFaults& f) { f.blockRecord = std::pair{1, 0}; }), line5, 200, fatalOutput("GEODAR", kDisk)},
        {"16 blocks", PointLayout::Main, blocks, faults([](PointFileFaults& f) { f.blockCount = 16; }), line5, 200, fatalOutput("GEODAR", kDisk)},
        {"31 blocks", PointLayout::Zones, blocks, faults([](PointFileFaults& f) { f.blockCount = 31; }), line5, 200, fatalOutput("GEODAR2", kDisk)},
        {"negative block count", PointLayout::Main, blocks, faults([](PointFileFaults& f) { f.blockCount = -1; }), line5, 200, fatalOutput("GEODAR", kDisk)},
        {"501 entries", PointLayout::Main, blocks, faults([](PointFileFaults& f) { f.entryCount = std::pair{2, 501}; }), line5, 200, fatalOutput("GEODAR", kDisk)},
        {"negative entries", PointLayout::Zones, blocks, faults([](PointFileFaults& f) { f.entryCount = std::pair{1, -3}; }), line5, 200,
         fatalOutput("GEODAR2", kDisk)},
        {"short header", PointLayout::Main, blocks, faults([](PointFileFaults& f) { f.length = 100; }), line5, 200, fatalOutput("GEODAR", kDisk)},
        {"short block", PointLayout::Main, blocks, faults([](PointFileFaults& f) { f.length = 64 * 70; }), blocks[1][0].id, 200,
         fatalOutput("GEODAR", kDisk)},
        {"points past the end", PointLayout::Main, blocks, faults([&](PointFileFaults& f) { f.length = fullSize.size() - 64; }), blocks[1].back().id, 200,
         fatalOutput("GEODAR", kDisk)},
        {"line 32691", PointLayout::Main, local, {}, 32691, 200, ""},
        {"line 32701", PointLayout::Main, local, {}, 32701, 200,
         fatalOutput("LCLDAR", messageLine(" Line id   32701 out of range (1-32700 ). Re-link!"))},
    };
    for (const Row& row : rows) {
        const bool isLocal = row.lines[0][0].id > 30000;
        const char* name = isLocal ? "LCLPNT1.BIN" : row.layout == PointLayout::Zones ? "GEOPNT12.BIN" : "GEOPNT1.BIN";
        MapFolder maps;
        maps.write(name, mapfiles::pointFile(row.layout, row.lines, row.faults));
        const auto r = runWithMaps(maps, [&] {
            std::vector<float> points(2 * std::size_t(row.capacity));
            int16_t unit = 1;
            int32_t capacity = row.capacity, id = row.lineId, count = 0, found = 0;
            (isLocal ? LCLLIN : row.layout == PointLayout::Zones ? GEOLIN2 : GEOLIN)(&unit, points.data(), &capacity,
                                                                                     &id, &count, &found);
            return std::string();
        });
        EXPECT_EQ(r.output, row.expected) << row.what;
        EXPECT_EQ(r.status != 0, !row.expected.empty()) << row.what;
    }
}

TEST(PointFiles, VersionOfTheMainPointFile)
{
    struct Row {
        std::vector<mapfiles::Point> points;
        int32_t expected;
    };
    const Row rows[] = {
        {{{0.000020f, 0.000005f}, {0.000006f, 0.000021f}}, 20050621},
        {{{0.000100f, 0.000005f}, {0.000006f, 0.000021f}}, 0},
        {{{0.000020f, -0.000005f}, {0.000006f, 0.000021f}}, 0},
        {{{0.000020f, 0.000005f}}, 0},
    };
    for (const Row& row : rows) {
        MapFolder maps;
        maps.write("GEOPNT1.BIN", mapfiles::pointFile(PointLayout::Main, {{Line{1, row.points}, Line{2, {}}}}));
        const auto r = runWithMaps(maps, [] {
            int32_t version = 7;
            GEOCFD(&version);
            return std::to_string(version);
        });
        EXPECT_EQ(r.output, std::to_string(row.expected));
    }
    MapFolder empty;
    EXPECT_EQ(runWithMaps(empty,
                          [] {
                              int32_t version = 7;
                              GEOCFD(&version);
                              return std::to_string(version);
                          })
                  .output,
              "-1");
    MapFolder built;
    built.write("GEOPNT1.BIN", mapfiles::pointFile(PointLayout::Main, {{mapfiles::versionLine(20050621)}}));
    EXPECT_EQ(runWithMaps(built,
                          [] {
                              int32_t version = 0;
                              GEOCFD(&version);
                              return std::to_string(version);
                          })
                  .output,
              "20050621")
        << "the builder's version line";
}

TEST(PointFiles, ZoneLinesHoldNumbersAndTextsAsTheLibraryReadsThem)
{
    const std::vector<Line> lines = {
        mapfiles::zoneHeaderLine({{10, 2, {55, -7}}, {12, 1, {0, 3}}}),
        mapfiles::directoryLine({{20, 1}, {21, 3}}),
        mapfiles::zoneIndexLine(10, {{3001, {4, 9}, {-0.5f, -0.25f, 0.5f, 0.25f}}}),
        mapfiles::listLine(20, {{3001, 417, "ZONE 27-A  NORTH"}, {3002, 5, "12    0100E4530N"}}),
    };
    MapFolder maps;
    maps.write("GEOPNT12.BIN", mapfiles::pointFile(PointLayout::Zones, {lines}));
    const auto r = runWithMaps(maps, [] {
        std::ostringstream out;
        std::vector<float> p(2 * kCapacity);
        int16_t unit = 1;
        int32_t capacity = kCapacity;
        const auto whole = [&p](std::size_t i) { return std::lround(std::fabs(double(p[i])) * 1e7); };
        for (int32_t id : {2, 3, 10, 20}) {
            int32_t count = 0, found = 0;
            GEOLIN2(&unit, p.data(), &capacity, &id, &count, &found);
            out << id << ":";
            for (std::size_t i = 0; i < std::size_t(2 * count); ++i) {
                if (id == 20 && i % 8 >= 2) {  // the name: six groups of three characters
                    char text[18];
                    int32_t mode = 1, groups = 6;  // the reals as their characters
                    GEOR3CH(&mode, &groups, &p[i], text);
                    out << " [" << std::string(text, 18) << "]";
                    i += 5;
                } else if (id == 10 && i % 8 >= 4) {
                    out << " " << p[i];
                } else {
                    out << " " << whole(i);
                }
            }
            out << "\n";
        }
        return out.str();
    });
    EXPECT_EQ(r.output, "2: 10 2 55 7 12 1 0 3\n3: 20 1 21 3\n10: 3001 0 4 9 -0.5 -0.25 0.5 0.25\n"
                        "20: 3001 417 [ZONE 27-A  NORTH  ] 3002 5 [12    0100E4530N  ]\n");
}
