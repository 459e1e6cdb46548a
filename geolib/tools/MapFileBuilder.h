#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Writes the library's data files for tests and benchmarks, from lines and entries given in
// memory. It shares no code with the library's readers: a fault in one cannot hide in the other.
namespace mapfiles {

struct Point {
    float lon = 0, lat = 0;  // radians
};

struct Line {
    std::int32_t id = 0;
    std::vector<Point> points;
};

// GEOPNT1.BIN and LCLPNT1.BIN share a layout; GEOPNT12.BIN has its own.
enum class PointLayout { Main, Zones };

// Deliberate faults of a point file.
struct PointFileFaults {
    std::optional<std::int32_t> slots;       // GEOPNT12.BIN's first header value
    std::optional<std::int32_t> blockCount;
    std::optional<std::pair<int, std::int32_t>> entryCount;    // block from 1, count
    std::optional<std::pair<int, std::int32_t>> blockRecord;   // block from 1, record
    struct StoredRecord {
        int block, entry;    // from 1
        std::int32_t stored;  // the value written as the point record
    };
    std::optional<StoredRecord> pointRecord;
    std::optional<std::size_t> length;  // the file cut to this many bytes
};

/// A point file holding the lines of each block (ids ascending).
std::string pointFile(PointLayout layout, const std::vector<std::vector<Line>>& blocks,
                      const PointFileFaults& faults = {});

// Index entries, 47 bytes each.
struct IndexEntry {
    std::string owner = "   ";  // 3 characters
    char kind = 'L';
    std::int32_t id = 0;
    std::int16_t firstNumber = 0;
    std::int32_t secondNumber = 0;
    char flag = ' ';
    std::array<unsigned char, 16> data{};
    std::array<float, 4> window{};  // west, south, east, north
};

/// The entry of a line: its window and its end points (entry data) from its points.
IndexEntry lineEntry(std::string_view owner, char kind, const Line& line);
/// The entries of a ring of lines: consecutive, each naming the next line (the last the first)
/// and its direction ('1' in ring order, '0' reversed).
std::vector<IndexEntry> ringEntries(std::string_view owner, char kind, const std::vector<Line>& lines,
                                    const std::vector<bool>& reversed);
/// Entry-data bytes from `offset`, and entry-data item (1 to 4) as a real.
void setData(IndexEntry& entry, std::size_t offset, std::string_view bytes);
void setDataReal(IndexEntry& entry, int item, float value);
/// The index file of the entries; `length` cuts it.
std::string indexFile(const std::vector<IndexEntry>& entries, std::optional<std::size_t> length = {});

// GEOCCD3.BIN.
struct CountryPair {
    std::array<float, 4> values{};
    std::int16_t pairClass = 0;
};
/// The country file of the codes, the values of pair (a, b), a < b from 1, given by `pair`.
std::string countryFile(const std::vector<std::string>& codes,
                        const std::function<CountryPair(int a, int b)>& pair, std::int16_t version = 2);

// Values coded in point coordinates.
/// A 3-character code of the alphabet "ABC...Z *+-?0...9" as a coordinate.
float codeCoordinate(std::string_view code);
/// A whole number as a coordinate (value x 1e-7).
float wholeCoordinate(std::int32_t value);
/// A text as coordinates of 3 characters each, padded with blanks.
std::vector<float> textCoordinates(std::string_view text);

/// GEOPNT1.BIN line 1: the data version, eight digits.
Line versionLine(std::int32_t version);
struct CountryAttributes {
    std::string code;
    std::array<float, 3> values{};
};
/// GEOPNT1.BIN line 2: values per country, then two points a country.
Line attributeLine(std::int32_t valuesPerCountry, const std::vector<CountryAttributes>& countries);
/// GEOPNT1.BIN line 3: pairs of code A and code B, ended by "***".
Line codeLine(const std::vector<std::pair<std::string, std::string>>& pairs);

// GEOPNT12.BIN's coded lines.
struct ZoneKind {
    std::int32_t firstIndexLine = 0, indexLineCount = 0;
    std::array<float, 2> defaults{};  // stored x 1e-7
};
/// Line 2: for each kind a point of its first index line and count, then a point of its defaults.
Line zoneHeaderLine(const std::vector<ZoneKind>& kinds);
struct ZoneIndexEntry {
    std::int32_t lineId = 0;
    std::array<float, 2> values{};  // on land, at sea; stored x 1e-7
    std::array<float, 4> window{};  // west, south, east, north
};
/// A zone index line: four points an entry.
Line zoneIndexLine(std::int32_t id, const std::vector<ZoneIndexEntry>& entries);
/// Line 3, the directory: a point (first list line, list line count) for each list.
Line directoryLine(const std::vector<std::pair<std::int32_t, std::int32_t>>& lists);
struct ListEntry {
    std::int32_t lineId = 0, pointCount = 0;
    std::string name;  // 18 characters
};
/// A list line: four points (line id, point count, name in six groups) an entry.
Line listLine(std::int32_t id, const std::vector<ListEntry>& entries);

// Generated maps.
/// `count` points (at least 2) evenly from `from` to `to` in longitude and latitude.
Line evenLine(std::int32_t id, Point from, Point to, int count);
/// A closed square around the centre, `perSide` points a side, the first point repeated last.
Line squareLine(std::int32_t id, Point centre, float halfSize, int perSide);
/// The main point file of lines given in any order: ascending ids, 500 lines a block.
std::string mainPointFile(std::vector<Line> lines);

struct MapData {
    std::vector<Line> lines;
    std::vector<IndexEntry> entries;
};
/// `count` square islands in rows of `columns` eastward from `southWest`, `step` apart, each a
/// ring of one line of kind 'I'; their owners cycle through `owners` symbols "Gnn".
MapData islandGrid(int count, int columns, Point southWest, float step, float halfSize, int perSide, int owners,
                   std::int32_t firstId);

// The map of the area distance tests.
struct AreaDistanceMap {
    MapData global;                         // country rings and the island, then the areas' entries
    std::vector<Line> localLines;           // "LCLPNT1.BIN"
    std::vector<IndexEntry> localEntries;   // "LCLIDX1.BIN"
    std::vector<Line> countryOutlines;      // AAA's and BBB's closed outlines, in that order
    std::vector<std::pair<std::string, std::string>> symbols;  // each area's symbol and local id
};
/// Countries AAA (0-10 E, 0-10 N) and BBB (10-20 E, 0-10 N) sharing a border along 10 E, an
/// island of AAA around 5 E, 5 S, and four areas in the main and the local files: "AAA001"
/// (2-4 E, 4-6 N), "BBB001" (14-16 E, 4-6 N), "AAA002" (8.1-11.9 E, 1.9 S-3.1 N), which
/// reaches from AAA into BBB and into the sea, and "AAA003" (16.5-17.5 E, 7-8 N), wholly on
/// BBB's ground. Points lie 0.1 degree apart.
AreaDistanceMap areaDistanceMap();
// The lines of the fixed zone tables and the named lists of GEOPNT12.BIN.
/// A line for each id: the probe of that id where one is given, else a stand-in of one point.
std::vector<Line> tableLines(const std::vector<std::int32_t>& ids, const std::vector<Line>& probes, Point standIn);
/// The rain zones' version line: one point whose latitude is `seconds` seconds of arc.
Line rainVersionLine(std::int32_t id, std::int32_t seconds);
/// The directory (line 3) and the list lines of each list, 250 entries a line, the lists'
/// lines numbered on from `firstListLine` in list order.
std::vector<Line> namedLists(std::int32_t firstListLine, const std::vector<std::vector<ListEntry>>& lists);
/// GEOPNT12.BIN of lines given in any order: ascending ids, 500 lines a block.
std::string zonePointFile(std::vector<Line> lines);

/// "VINTAR_SOFT.INI" naming the data folders.
std::string settingsFile(std::string_view dataFolder, std::string_view localFolder);

}  // namespace mapfiles
