#include "tavu32d.h"

#include "geolib/tools/MapFileBuilder.h"
#include "state/LibraryState.h"
#include "core/Settings.h"
#include "files/CountryFile.h"
#include "files/IndexFile.h"
#include "support/MapFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

using mapfiles::CountryPair;
using mapfiles::Line;
using mapfiles::PointLayout;
using testing_support::fatalOutput;
using testing_support::MapFolder;
using testing_support::messageLine;
using testing_support::runWithMaps;

namespace {

// Pair (a, b), a < b from 1: values a, b, 100a + b, -b and class 50a + b.
CountryPair samplePair(int a, int b)
{
    return CountryPair{{float(a), float(b), float(100 * a + b), float(-b)}, int16_t(50 * a + b)};
}

std::vector<std::string> fortyCodes()
{
    std::vector<std::string> codes = {"AD ", "D  "};  // "D  " also stands inside the slot of "AD "
    for (int i = 0; codes.size() < 40; ++i)
        codes.push_back(std::string{char('E' + i % 20), char('A' + i / 20), '9'});
    return codes;
}

std::string pair(const char* code1, const char* code2)
{
    float v[4] = {9, 9, 9, 9};
    int16_t pairClass = 1;
    GEOCCD(const_cast<char*>(code1), const_cast<char*>(code2), &v[0], &v[1], &v[2], &v[3], &pairClass);
    std::ostringstream out;
    out << pairClass << ":" << v[0] << "," << v[1] << "," << v[2] << "," << v[3];
    return out.str();
}

}  // namespace

TEST(CountryFile, GivesEveryOrderedPairAsWritten)
{
    const auto codes = fortyCodes();
    MapFolder maps;
    maps.write("GEOCCD3.BIN", mapfiles::countryFile(codes, samplePair));
    const auto r = runWithMaps(maps, [&codes] {
        std::ostringstream bad;
        bad << "before opening " << pair("AD ", "D  ") << "\n";
        int32_t unit = 33;
        GEOCCDI(&unit);
        for (std::size_t i = 0; i < codes.size(); ++i) {
            for (std::size_t j = 0; j < codes.size(); ++j) {
                const int a = int(std::min(i, j)) + 1, b = int(std::max(i, j)) + 1;
                const CountryPair p = samplePair(a, b);
                std::ostringstream want;
                if (i == j)
                    want << "0:0,0,0,0";
                else if (i < j)
                    want << p.pairClass << ":" << p.values[0] << "," << p.values[1] << "," << p.values[2] << ","
                         << p.values[3];
                else
                    want << p.pairClass << ":" << p.values[2] << "," << p.values[3] << "," << p.values[0] << ","
                         << p.values[1];
                const std::string got = pair(codes[i].c_str(), codes[j].c_str());
                if (got != want.str())
                    bad << codes[i] << "/" << codes[j] << " " << got << " not " << want.str() << "\n";
            }
        }
        bad << "lower case " << pair("ad ", "d  ") << "\n";
        bad << "unknown " << pair("AD ", "ZZZ") << "\n";
        return bad.str();
    });
    EXPECT_EQ(r.output, "before opening 26000:0,0,0,0\nlower case 52:1,2,102,-2\nunknown 26000:0,0,0,0\n");
}

TEST(CountryFile, ACodeInsideAnotherSlotIsMissing)
{
    MapFolder maps;
    maps.write("GEOCCD3.BIN", mapfiles::countryFile({"AD ", "SF "}, samplePair));
    const auto r = runWithMaps(maps, [] {
        int32_t unit = 33;
        GEOCCDI(&unit);
        return pair("AD ", "D  ");
    });
    EXPECT_EQ(r.output, "26000:0,0,0,0");
}

TEST(CountryFile, ListsItsCodes)
{
    const auto codes = fortyCodes();
    MapFolder maps;
    maps.write("GEOCCD3.BIN", mapfiles::countryFile(codes, samplePair));
    const auto r = runWithMaps(maps, [] {
        std::string out;
        int32_t unit = 33;
        GEOCCDI(&unit);
        for (int32_t maximum : {5, 40, 50, 0}) {
            char list[50 * 3];
            int32_t count = -1, excess = -1;
            GEOCCDC(list, &maximum, &count, &excess);
            out += std::string(list, std::size_t(3 * count)) + " " + std::to_string(count) + " " +
                   std::to_string(excess) + "\n";
        }
        return out;
    });
    std::string all;
    for (const auto& c : codes)
        all += c;
    EXPECT_EQ(r.output, all.substr(0, 15) + " 5 35\n" + all + " 40 0\n" + all + " 40 0\n 0 40\n");
}

TEST(CountryFile, HoldsFewPairsInMemoryWhenTheOptionAsks)
{
    MapFolder maps;
    maps.write("GEOCCD3.BIN", mapfiles::countryFile({"AD ", "SF "}, samplePair));
    const auto r = runWithMaps(maps, [] {
        int32_t unit = 33;
        WDBUNIT(&unit);
        geo::libraryState().frame.optionString[5] = '1';
        GEOCCDI(&unit);
        std::filesystem::resize_file(geo::locateFile("C"), 18);  // the open file loses its pairs
        return pair("SF ", "AD ");
    });
    EXPECT_EQ(r.output, "52:102,-2,1,2");
}

TEST(CountryFile, FaultsEndTheProcess)
{
    std::vector<std::string> many;
    for (int i = 0; i < 271; ++i)
        many.push_back(std::string{char('A' + i / 26 % 26), char('A' + i % 26), '1'});
    struct Row {
        const char* what;
        std::string file;
        std::string expected;
    };
    const Row rows[] = {
        {"version 3", mapfiles::countryFile({"AD ", "SF "}, samplePair, 3),
         fatalOutput("GEOCCDI", " Wrong version, relink program.\n")},
        {"271 countries", mapfiles::countryFile(many, samplePair),
         fatalOutput("GEOCRDN", " Increase the parameter MXCTY=   270\n")},
        {"short code list", mapfiles::countryFile({"AD ", "SF "}, samplePair).substr(0, 20),
         fatalOutput("GEOCCDI", messageLine(" ERROR WHILE READING FROM DISK"))},
    };
    for (const Row& row : rows) {
        MapFolder maps;
        maps.write("GEOCCD3.BIN", row.file);
        const auto r = runWithMaps(maps, [] {
            int32_t unit = 33, sortFlag = 0, limit = 100, maximum = 5, count = 0, dropped = 0;
            char code[] = "AA1", codes[15];
            int16_t classes[5];
            GEOCRDN(&unit, &sortFlag, code, &limit, &maximum, codes, classes, &count, &dropped);
            return std::string();
        });
        EXPECT_EQ(r.output, row.expected) << row.what;
        EXPECT_NE(r.status, 0) << row.what;
    }
}

TEST(CountryFile, NearCountriesWithinAClassLimit)
{
    // HOM and K01 to K15; the classes of HOM with K01 to K10 lie within 100, the others above.
    const int16_t homeClass[] = {90, 10, 50, 10, 70, 30, 100, 20, 60, 40, 150, 160, 170, 180, 190};
    std::vector<std::string> codes = {"HOM"};
    for (int k = 1; k <= 15; ++k)
        codes.push_back("K" + std::string(k < 10 ? "0" : "") + std::to_string(k));
    MapFolder maps;
    maps.write("GEOCCD3.BIN", mapfiles::countryFile(codes, [&homeClass](int a, int b) {
                   return CountryPair{{}, a == 1 ? homeClass[b - 2] : int16_t(1)};
               }));
    struct Row {
        const char* code;
        int32_t sortFlag, maximum;
        std::string expected;  // codes:classes, then count and dropped
    };
    const Row rows[] = {
        {"HOM", 0, 0, "0 0"},
        {"XYZ", 0, 5, "0 -1"},
        {"hom", 1, 20, "K02:10 K04:10 K08:20 K06:30 K10:40 K03:50 K09:60 K05:70 K01:90 K07:100 10 0"},
        {"HOM", 0, 20, "K01:90 K02:10 K03:50 K04:10 K05:70 K06:30 K07:100 K08:20 K09:60 K10:40 10 0"},
        {"HOM", 0, 3, "K02:10 K04:10 K08:20 3 7"},
        {"HOM", 1, 3, "K02:10 K04:10 K08:20 3 7"},
        {"HOM", 1, 9, "K02:10 K04:10 K08:20 K06:30 K10:40 K03:50 K09:60 K05:70 K01:90 9 1"},
    };
    for (const Row& row : rows) {
        const auto r = runWithMaps(maps, [&row] {
            int32_t unit = 33, sortFlag = row.sortFlag, limit = 100, maximum = row.maximum, count = 9, dropped = 9;
            char code[3], kept[20 * 3];
            std::copy_n(row.code, 3, code);
            int16_t classes[20];
            GEOCRDN(&unit, &sortFlag, code, &limit, &maximum, kept, classes, &count, &dropped);
            std::string out;
            for (int i = 0; i < count; ++i)
                out += std::string(kept + 3 * i, 3) + ":" + std::to_string(classes[i]) + " ";
            out += std::to_string(count) + " " + std::to_string(dropped);
            if (std::string(code, 3) != row.code)
                out += " the caller's code was written";
            return out;
        });
        EXPECT_EQ(r.output, row.expected) << row.code << " maximum " << row.maximum;
    }
}

namespace {

// GEOPNT1.BIN with the version, attribute and code lines.
std::string codedPointFile(int32_t valuesPerCountry = 3, bool withCodeLine = true)
{
    std::vector<Line> lines = {
        mapfiles::versionLine(20050621),
        mapfiles::attributeLine(valuesPerCountry, {{"FIN", {0.347f, 0.5f, 0.1f}},
                                                   {"S  ", {0.3f, 0, 0}},
                                                   {"DNK", {0.4f, 0, 0}},
                                                   {"NOR", {0.55f, 0, 0}},
                                                   {"ISL", {0.0f, 0, 0}}}),
    };
    if (withCodeLine)
        lines.push_back(mapfiles::codeLine({{"FIN", "SF "}, {"ABC", "XYZ"}, {"+-?", "019"}}));
    lines.push_back(Line{10, {{0, 0}}});
    return mapfiles::pointFile(PointLayout::Main, {lines});
}

}  // namespace

TEST(CountryTables, RegionsPlansAndCodes)
{
    MapFolder maps;
    maps.write("GEOPNT1.BIN", codedPointFile());
    const auto r = runWithMaps(maps, [] {
        std::string out;
        for (const char* code : {"FIN", "S  ", "DNK", "NOR", "ISL", "XXX", "fin"}) {
            char region = '#', copy[4];
            std::copy_n(code, 4, copy);
            GEOCTYR(copy, &region);
            out += std::string(1, region) + "|";
        }
        for (const char* plan : {"GE85M   ", "GE85N   ", "ge85n   ", "GE85X   "}) {
            char planCopy[9], code[] = "fin";
            std::copy_n(plan, 9, planCopy);
            int32_t result = 9;
            GEOPINF(planCopy, code, &result);
            out += std::to_string(result) + (std::string(planCopy, 8) == plan ? "|" : " written|");
        }
        for (int32_t item : {11, -11, 12, 21, 31, 41, 17, 10, 0})
            out += std::to_string(geo::countryAttribute(item, "FIN")) + ",";
        for (const char* code : {"FIN", "fin", "abc", "+-?", "qq1", "SF "}) {
            char copy[4], result[3];
            std::copy_n(code, 4, copy);
            GEOCTYA(copy, result);
            out += "|" + std::string(result, 3) + (std::string(copy) == code ? "" : " written");
        }
        return out;
    });
    EXPECT_EQ(r.output, "3|3|Y|?| | |3|4|7|7|-1|3,3,4,5,1,-2,-2,-2,-2,|SF |SF |XYZ|019|QQ1|SF ");
}

TEST(CountryTables, WrongCoordinateFilesEndTheProcess)
{
    struct Row {
        const char* what;
        std::string file;
        bool region;  // GEOCTYR, else GEOCTYA
        std::string expected;
    };
    const Row rows[] = {
        {"4 values a country", codedPointFile(4), true,
         fatalOutput("GEOCTYI", messageLine(" ROUTINE/DATABASE MISSMATCH.  RELINK PROGRAM."))},
        {"no code line", codedPointFile(3, false), false,
         fatalOutput("GEOCTYA", messageLine(" Wrong coordinate file for this routine."))},
    };
    for (const Row& row : rows) {
        MapFolder maps;
        maps.write("GEOPNT1.BIN", row.file);
        const auto r = runWithMaps(maps, [&row] {
            char code[] = "FIN", out[3];
            row.region ? GEOCTYR(code, out) : GEOCTYA(code, out);
            return std::string();
        });
        EXPECT_EQ(r.output, row.expected) << row.what;
    }
}

TEST(CountryTables, EveryCodeOfTheAlphabetSurvivesEncoding)
{
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ *+-?0123456789";
    int wrong = 0;
    for (const char a : alphabet)
        for (const char b : alphabet)
            for (const char c : alphabet) {
                const std::string code{a, b, c};
                wrong += geo::decodeCountryCode(mapfiles::codeCoordinate(code)) != code;
                wrong += geo::decodeCountryCode(-mapfiles::codeCoordinate(code)) != code;
            }
    EXPECT_EQ(wrong, 0);
}

TEST(CountryTables, CodePositionsInLists)
{
    char list3[] = "ABCDEFABC", list6[] = "ABCDEFGHIJKL", list12[] = "ABCDEFGHIJKLabcdefghijkl";
    struct Row {
        int32_t (*routine)(char*, char*, int16_t*);
        const char* code;
        char* list;
        int16_t count;
        int32_t expected;
    };
    const Row rows[] = {
        {GEOC3C, "ABC", list3, 3, 1}, {GEOC3C, "DEF", list3, 3, 2},    {GEOC3C, "abc", list3, 3, 0},
        {GEOC3C, "ABC", list3, 0, 0}, {GEOC3C, "ABC", list3, -1, 0},   {GEOC3C, "BCD", list3, 3, 0},
        {GEOC6C, "GHIJKL", list6, 2, 2}, {GEOC6C, "GHIJKL", list6, 1, 0},
        {GEOC12C, "abcdefghijkl", list12, 2, 2}, {GEOC12C, "ABCDEFGHIJKl", list12, 2, 0},
    };
    for (const Row& row : rows) {
        std::string code = row.code;
        int16_t count = row.count;
        EXPECT_EQ(row.routine(code.data(), row.list, &count), row.expected) << row.code << " " << row.count;
    }
}

TEST(DataFiles, KeepTheirOwnHandlesWhateverTheUnits)
{
    MapFolder maps;
    maps.write("GEOCCD3.BIN", mapfiles::countryFile({"AD ", "SF "}, samplePair));
    maps.write("GEOPNT12.BIN", mapfiles::pointFile(PointLayout::Zones, {{Line{5, {{0.5f, 0.25f}}}}}));
    maps.write("LCLPNT1.BIN", mapfiles::pointFile(PointLayout::Main, {{Line{7, {{0.125f, 0.75f}}}}}));
    std::vector<mapfiles::IndexEntry> lines;
    for (int32_t id : {1000001, 1000002, 1000003})
        lines.push_back(mapfiles::lineEntry("FIN", 'B', Line{id, {{0, 0}, {0.1f, 0.1f}}}));
    maps.write("GEOIDX1.BIN", mapfiles::indexFile(lines));
    mapfiles::IndexEntry area = mapfiles::lineEntry("FIN", 'A', Line{7, {{0, 0}}});
    mapfiles::setData(area, 0, "AREA-ONE!");
    maps.write("LCLIDX1.BIN", mapfiles::indexFile({area}));
    for (const auto& [indexUnit, countryUnit] : {std::pair{77, 77}, {78, 78}, {79, 79}, {20, 20}, {77, 79}}) {
        const auto r = runWithMaps(maps, [indexUnit = indexUnit, countryUnit = countryUnit] {
            std::ostringstream out;
            int32_t unit = indexUnit, other = countryUnit, capacity = 5, id = 5, count = 0, found = 0;
            int16_t angle = 1;
            float points[10];
            WDBUNIT(&unit);
            GEOCCDI(&other);
            geo::openIndex();
            geo::IndexEntry e;
            out << geo::nextMapLine(e) << e.id << " ";
            GEOLIN2(&angle, points, &capacity, &id, &count, &found);
            out << found << ":" << points[0] << " " << pair("SF ", "AD ") << " ";
            geo::loadLocalIndex();
            out << geo::findLocalArea("FINAREA-ONE!").lineId << " ";
            out << geo::nextMapLine(e) << e.id << " ";
            id = 7;
            LCLLIN(&angle, points, &capacity, &id, &count, &found);
            out << found << ":" << points[1] << " " << pair("AD ", "SF ");
            return out.str();
        });
        EXPECT_EQ(r.output, "11000001 -1:0.5 52:102,-2,1,2 7 11000002 -1:0.75 52:1,2,102,-2")
            << indexUnit << " " << countryUnit;
    }
}

TEST(DataFiles, AbsentArgumentsAreNeitherReadNorWritten)
{
    MapFolder maps;
    maps.write("GEOPNT1.BIN", mapfiles::pointFile(PointLayout::Main, {{Line{1, {}}, Line{2, {{0.1f, 0.2f}}}}}));
    maps.write("GEOCCD3.BIN", mapfiles::countryFile({"AD ", "SF "}, samplePair));
    const auto r = runWithMaps(maps, [] {
        std::string out;
        TAVU(nullptr);
        GEOCCDI(nullptr);
        GEOCCD(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        int16_t count = 3;
        out += std::to_string(GEOC3C(nullptr, nullptr, &count)) + " ";
        int32_t id = 1, found = 0;
        GEOLIN(nullptr, nullptr, nullptr, &id, nullptr, &found);  // no points to hold
        out += std::to_string(found) + " ";
        std::fputs(out.c_str(), stdout);
        id = 2;
        GEOLIN(nullptr, nullptr, nullptr, &id, nullptr, &found);  // an absent array holds nothing
        return std::string();
    });
    EXPECT_EQ(r.output, "0 -1 " + fatalOutput("GEODAR", messageLine(" INCREASE DIMENSION FOR  CRDARR  IN CALLING ROUTINE")));
}
