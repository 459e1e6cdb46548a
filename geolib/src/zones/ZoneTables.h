#pragma once

#include "geometry/Windows.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The fixed zone tables: windows written as latitude-first coordinate texts and polygons whose
// edges are lines of GEOPNT1.BIN, each unpacked on the first call of the routine that uses it.
namespace geo {

struct TableWindow {
    std::string_view southWest;
    std::string_view northEast;
    std::int32_t zone;
};

struct TablePolygon {
    std::int32_t lineCount;
    std::int32_t zone;
};

struct TableLine {
    std::int32_t id;
    std::int32_t direction;  // 1 as stored, anything else reversed
};

struct FixedTable {
    std::span<const TableWindow> windows;
    std::span<const TablePolygon> polygons;
    std::span<const TableLine> lines;  // the polygons' lines in polygon order
    std::int32_t capacity;             // CRDKNT: points of all polygons
};

enum class FixedTableId { AP28RZ, AP30ARZ, GE75NZ, GEOSPZN, GEORGN, RJ81NZ, RJ88NZ, Count };

/// The constant data of a table.
const FixedTable& fixedTable(FixedTableId id);
/// The two windows of GEOEMA.
std::span<const TableWindow> emaWindows();
/// The 70 rain zone letters of lines 28001 to 28070.
std::string_view rainZoneLetters();

struct UnpackedPolygon {
    Window window;
    std::int32_t first;  // index of its first point, from 0
    std::int32_t count;
    std::int32_t zone;
};

struct UnpackedTable {
    bool ready = false;  // unpacked by GEOWZI
    std::vector<Window> windows;
    std::vector<std::int32_t> windowZones;
    std::vector<UnpackedPolygon> polygons;
    std::vector<float> points;
};

/// The windows of a table in radians (west, south, east, north), with their zones.
void unpackWindows(std::span<const TableWindow> windows, UnpackedTable& out);

/// GEOWZI: unpacks the table: its windows, and its polygons from their lines in GEOPNT1.BIN. A
/// line missing twice is a fatal error; more points than the table's capacity another.
void GEOWZI(const FixedTable& table, UnpackedTable& out);

/// The zone of the first window holding the point, which may be 0; none when no window does.
std::optional<std::int32_t> windowZone(Point p, const UnpackedTable& table);

/// Appends the n points of a polygon's line, reversed unless `direction` is 1.
void appendLine(const float* points, std::int32_t n, std::int32_t direction, std::vector<float>& out);

/// GEOWZL: the zone of the first window, else of the first polygon, holding the point; else 0.
std::int32_t GEOWZL(Point p, const UnpackedTable& table);

/// The table unpacked on its first use.
const UnpackedTable& unpackedTable(FixedTableId id);

/// Every line id that the fixed tables and the rain zones name, ascending, each once.
std::vector<std::int32_t> fixedTableLineIds();

/// A line of GEOPNT1.BIN in radians into the library's own line buffer; a missing line is a
/// fatal error of the routine. Returns the points and their count.
std::span<float> fetchTableLine(std::string_view routine, std::int32_t id);

struct FixedZoneState {
    std::array<UnpackedTable, std::size_t(FixedTableId::Count)> tables;
    UnpackedTable regionWindows;  // GEORGNS's windows
    UnpackedTable emaWindows;
    bool rainChecked = false;     // GEOR837 checked the data version
    std::vector<float> lineBuffer;
    std::vector<float> cutPolygon;  // GEORGNS's work polygon
};

}  // namespace geo
