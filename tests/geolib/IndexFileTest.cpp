#include "tavu32d.h"

#include "geolib/tools/MapFileBuilder.h"
#include "state/LibraryState.h"
#include "files/IndexFile.h"
#include "support/MapFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

using mapfiles::IndexEntry;
using mapfiles::Line;
using testing_support::fatalOutput;
using testing_support::MapFolder;
using testing_support::messageLine;
using testing_support::runWithMaps;

namespace {

// Every field of an entry of the builder or of the reader, reals by their bits.
template <typename Entry>
std::string describe(const Entry& e)
{
    std::ostringstream out;
    out << "[" << e.owner << "|" << e.kind << "|" << e.id << "|" << e.firstNumber << "|" << e.secondNumber << "|"
        << e.flag << "|";
    for (const unsigned char b : e.data)
        out << int(b) << ",";
    for (const float edge : e.window) {
        uint32_t bits;
        std::memcpy(&bits, &edge, 4);
        out << "|" << bits;
    }
    out << "]\n";
    return out.str();
}

Line line(int32_t id, std::vector<mapfiles::Point> points)
{
    return Line{id, std::move(points)};
}

// A ring of three lines, a line that is a ring by itself, then area and coordination entries
// and a map line that stands after them.
std::vector<IndexEntry> sampleEntries()
{
    std::vector<IndexEntry> entries = mapfiles::ringEntries(
        "FIN", 'B',
        {line(1000010, {{0.1f, 0.2f}, {0.3f, -0.1f}, {0.2f, 0.4f}}), line(1000020, {{0.2f, 0.4f}, {0.5f, 0.5f}}),
         line(1000030, {{0.1f, 0.2f}, {0.5f, 0.5f}})},
        {false, true, false});
    entries.push_back(mapfiles::lineEntry("S", 'C', line(1000100, {{-0.2f, 0.9f}, {-0.1f, 0.95f}})));
    for (int32_t id : {120, 4100, 3999, 9999, 10000}) {
        IndexEntry e = mapfiles::lineEntry("AB", 'A', line(id, {{0.01f * float(id % 97), 0.1f}, {0.2f, 0.3f}}));
        e.firstNumber = int16_t(id / 3);
        mapfiles::setData(e, 8, "XYZ");
        mapfiles::setData(e, 12, "7");
        mapfiles::setDataReal(e, 3, 12.5f);
        mapfiles::setDataReal(e, 4, 65534.5f);
        entries.push_back(e);
    }
    entries.push_back(mapfiles::lineEntry("NOR", 'B', line(1000200, {{0, 0}, {0.1f, 0.1f}})));
    return entries;
}

}  // namespace

TEST(IndexFile, BuilderComputesWindowsEndsAndRings)
{
    const auto entries = sampleEntries();
    IndexEntry want;
    want.owner = "FIN";
    want.kind = 'B';
    want.id = 1000010;
    want.secondNumber = 1000020;
    want.flag = '1';
    want.window = {0.1f, -0.1f, 0.3f, 0.4f};
    for (int item = 1; item <= 4; ++item)
        mapfiles::setDataReal(want, item, std::array{0.1f, 0.2f, 0.2f, 0.4f}[std::size_t(item - 1)]);
    EXPECT_EQ(describe(entries[0]), describe(want));
    EXPECT_EQ(entries[1].flag, '0') << "reversed";
    EXPECT_EQ(entries[2].secondNumber, 1000010) << "the last line names the first";
    EXPECT_EQ(entries[3].secondNumber, 1000100) << "a ring by itself";
    EXPECT_EQ(mapfiles::indexFile(entries).size(), 47 * entries.size());
}

TEST(IndexFile, MapLinesEndAtTheFirstSmallerIdAndStartAgain)
{
    const auto entries = sampleEntries();
    MapFolder maps;
    maps.write("GEOIDX1.BIN", mapfiles::indexFile(entries));
    const auto r = runWithMaps(maps, [] {
        int32_t unit = 20;
        WDBUNIT(&unit);
        geo::openIndex();
        std::string out;
        for (int pass = 0; pass < 2; ++pass) {
            geo::IndexEntry e;
            for (int n = 0; n < 20 && geo::nextMapLine(e); ++n)
                out += describe(e);
            out += "end\n";
        }
        return out;
    });
    std::string want;
    for (int i = 0; i < 4; ++i)
        want += describe(entries[std::size_t(i)]);
    want += "end\n";
    EXPECT_EQ(r.output, want + want);
}

TEST(IndexFile, AreaAndCoordinationReadersTakeTheirFields)
{
    const auto entries = sampleEntries();
    MapFolder maps;
    maps.write("GEOIDX1.BIN", mapfiles::indexFile(entries));
    const auto show = [](char kind, int32_t id, const std::string& text, int32_t value1, int32_t value2,
                         int16_t first, const auto& bytes, const auto& window) {
        std::ostringstream out;
        out << kind << " " << id << " [" << text << "] " << value1 << " " << value2 << " " << first << " ";
        for (int i = 0; i < 8; ++i)
            out << int(bytes[std::size_t(i)]) << ",";
        for (const float edge : window)
            out << " " << edge;
        out << "\n";
        return out.str();
    };
    const auto r = runWithMaps(maps, [&show] {
        std::string out;
        for (int pass = 0; pass < 2; ++pass) {
            for (geo::AreaEntry a; out.size() < 5000 && geo::nextAreaEntry(a);)
                out += show('A', a.id, a.text + a.attribute, 0, 0, a.firstNumber, a.bytes, a.window);
            for (geo::CoordinationEntry c; out.size() < 5000 && geo::nextCoordinationEntry(c);)
                out += show('C', c.id, "", c.value1, c.value2, c.firstNumber, c.bytes, c.window);
        }
        return out;
    });
    // Area ids lie below 4000, coordination ids in 4000 to 9999; items 3 and 4 hold 12.5 and
    // 65534.5, rounded away from zero.
    std::string areas, coordination;
    for (const IndexEntry& e : entries) {
        if (e.id < 4000)
            areas += show('A', e.id, e.owner + std::string(e.data.begin() + 8, e.data.begin() + 11) + char(e.data[12]),
                          0, 0, e.firstNumber, e.data, e.window);
        else if (e.id <= 9999)
            coordination += show('C', e.id, "", 13, 65535, e.firstNumber, e.data, e.window);
    }
    EXPECT_EQ(r.output, areas + coordination + areas + coordination);
}

TEST(IndexFile, APartialEntryAtTheEndIsTheEnd)
{
    const auto entries = sampleEntries();
    MapFolder maps;
    maps.write("GEOIDX1.BIN", mapfiles::indexFile(entries, 2 * 47 + 46));
    const auto r = runWithMaps(maps, [] {
        std::string out;
        for (geo::IndexEntry e; out.size() < 5000 && geo::nextMapLine(e);)
            out += describe(e);
        return out;
    });
    EXPECT_EQ(r.output, describe(entries[0]) + describe(entries[1]));
}

namespace {

IndexEntry areaEntry(int32_t lineId, const std::string& areaId, char attribute, char kind = 'A')
{
    IndexEntry e = mapfiles::lineEntry(areaId.substr(0, 3), kind, line(lineId, {{0.1f, 0.2f}, {0.3f, 0.4f}}));
    mapfiles::setData(e, 0, areaId.substr(3, 9));
    mapfiles::setData(e, 12, std::string(1, attribute));
    return e;
}

std::string lookUp(const std::string& areaId)
{
    geo::loadLocalIndex();
    const geo::AreaLookup a = geo::findLocalArea(areaId);
    return "[" + a.owner + "] " + std::to_string(a.lineId) + " " + std::to_string(a.index) + "\n";
}

}  // namespace

TEST(LocalIndex, LooksUpAreasByTheirTwelveCharacterId)
{
    MapFolder maps;
    maps.write("LCLIDX1.BIN", mapfiles::indexFile({areaEntry(5, "FINALLOT-ONE", '1'), areaEntry(7, "SWEALLOT-TWO", '2'),
                                                   areaEntry(9, "NORNOT-AREA!", '3', 'L'),
                                                   areaEntry(5, "FINALLOT-TRE", '3')}));
    const auto r = runWithMaps(maps, [] {
        const std::string out = lookUp("FINALLOT-ONE") + lookUp("SWEALLOT-TWO") + lookUp("FINALLOT-TRE") +
                                lookUp("NORNOT-AREA!") + lookUp("FINALLOT-ON ");
        const geo::LocalAreaIndex& t = geo::libraryState().localIndex;
        return out + std::to_string(t.areaIds.size()) + " areas, " + std::to_string(t.lineIds.size()) + " lines";
    });
    EXPECT_EQ(r.output, "[FIN] 5 1\n[SWE] 7 2\n[FIN] 5 1\n[] 0 0\n[] 0 0\n3 areas, 2 lines");
}

TEST(LocalIndex, LimitsEndTheProcess)
{
    struct Row {
        const char* what;
        int areas, lines;
        int32_t firstLine;
        std::string expected;
    };
    const Row rows[] = {
        {"372 areas", 372, 1, 1, ""},
        {"373 areas", 373, 1, 1, fatalOutput("LCLRGIN", " Increase the parameter MXALTBQ=   372 in GEOQ28\n")},
        {"368 lines", 368, 368, 1, ""},
        {"369 lines", 369, 369, 1, fatalOutput("LCLRGIN", " Increase the parameter MXALIDQ=   368 in GEOQ28\n")},
        {"line 32701", 2, 2, 32700,
         fatalOutput("LCLRGIN", messageLine(" Line id   32701 out of range (1-32700 ). Re-link!"))},
    };
    for (const Row& row : rows) {
        std::vector<IndexEntry> entries;
        for (int i = 0; i < row.areas; ++i)
            entries.push_back(areaEntry(row.firstLine + i % row.lines, "FINAREA" + std::to_string(10000 + i), 'A'));
        MapFolder maps;
        maps.write("LCLIDX1.BIN", mapfiles::indexFile(entries));
        const auto r = runWithMaps(maps, [] {
            geo::loadLocalIndex();
            return std::string();
        });
        EXPECT_EQ(r.output, row.expected) << row.what;
    }
}

TEST(IndexFile, TheFirstWdbunitReopensItFromTheStart)
{
    const auto entries = sampleEntries();
    MapFolder maps;
    maps.write("GEOIDX1.BIN", mapfiles::indexFile(entries));
    const auto r = runWithMaps(maps, [] {
        std::string out;
        const auto next = [&out] {
            geo::IndexEntry e;
            const bool found = geo::nextMapLine(e);
            out += std::to_string(found) + " " + std::to_string(e.id) + "\n";
        };
        next();
        next();
        int32_t unit = 21;
        WDBUNIT(&unit);
        out += std::to_string(geo::libraryState().indexFile.open) + "\n";
        next();
        return out;
    });
    EXPECT_EQ(r.output, "1 1000010\n1 1000020\n0\n1 1000010\n");
}
