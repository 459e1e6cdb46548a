#include "ZoneTables.h"

#include "coords/CoordText.h"
#include "core/Fatal.h"
#include "state/LibraryState.h"
#include "files/PointFile.h"
#include "geometry/PointInPolygon.h"

#include <algorithm>

namespace geo {
namespace {

// Polygons of one line each, line first + step * k, as stored.
template <std::size_t N>
constexpr std::array<TableLine, N> singleLines(std::int32_t first, std::int32_t step)
{
    std::array<TableLine, N> lines{};
    for (std::size_t k = 0; k < N; ++k)
        lines[k] = {first + step * std::int32_t(k), 1};
    return lines;
}

template <std::size_t N>
constexpr std::array<TablePolygon, N> singleLinePolygons(const std::array<std::int32_t, N>& zones)
{
    std::array<TablePolygon, N> polygons{};
    for (std::size_t k = 0; k < N; ++k)
        polygons[k] = {1, zones[k]};
    return polygons;
}

// AP28RZ
constexpr TableWindow kAp28Windows[] = {{"900000S1800000W", "700000S1800000E", 0}};
constexpr auto kAp28Polygons = singleLinePolygons<20>({5, 5, 5, 3, 2, 3, 4, 5, 5, 3, 2, 2, 4, 1, 5, 5, 1, 5, 4, 1});
constexpr auto kAp28Lines = singleLines<20>(31010, 10);

// AP30ARZ
constexpr TableWindow kAp30Windows[] = {{"900000S1800000W", "600000S1800000E", 1}};
constexpr auto kAp30Polygons = singleLinePolygons<54>({16, 16, 3,  7,  5,  16, 3, 16, 1,  12, 12, 2, 2,  4,
                                                       5,  6,  11, 13, 11, 11, 16, 4, 5,  7,  5,  7, 3,  5,
                                                       3,  3,  6,  3,  4,  11, 13, 13, 6, 4,  11, 10, 11, 8,
                                                       16, 8,  6,  3,  3,  5,  5,  5, 14, 11, 11, 14});
constexpr auto kAp30Lines = singleLines<54>(27010, 10);

// GE75NZ
constexpr TableWindow kGe75Windows[] = {
    {"200000N0100000W", "900000N1650000E", 1}, {"653000N1650000E", "900000N1685830W", 1},
    {"200000N1650000E", "300000N1800000E", 1}, {"000000N0440000E", "200000N0800000E", 1},
    {"200000N0300000W", "600000N0100000W", 1}, {"300000N0400000W", "500000N0300000W", 1},
    {"200000S1000000E", "200000N1800000E", 2}, {"200000S1800000W", "100000N1200000W", 2},
    {"060000S0200000W", "100000N0300000E", 2}, {"200000S0400000E", "000000N1000000E", 2},
    {"000000N0900000E", "100000N1000000E", 2}, {"100000S0300000E", "000000N0400000E", 2},
    {"100000N0050000W", "200000N0200000E", 2}, {"100000N0300000W", "200000N0170000W", 2},
    {"100000N0170000W", "143000N0050000W", 2}, {"900000S0800000E", "200000S1200000W", 3},
    {"900000S0200000W", "060000S0200000E", 3}, {"900000S0200000E", "260000S0800000E", 3},
    {"260000S0200000E", "200000S0300000E", 3},
};
constexpr TablePolygon kGe75Polygons[] = {{6, 1}, {2, 1}, {3, 1}, {6, 1}, {7, 2},
                                          {4, 2}, {4, 2}, {3, 3}, {3, 3}, {3, 3}};
constexpr TableLine kGe75Lines[] = {
    {7350083, 1}, {4001500, 1}, {4001491, 2}, {7350084, 1}, {7350070, 2}, {7350040, 1},                // 1
    {7350050, 1}, {7350063, 1},                                                                        // 2
    {7350081, 2}, {7350077, 2}, {7350053, 1},                                                          // 3
    {7350052, 1}, {7350074, 1}, {7350085, 2}, {7350070, 2}, {7350064, 2}, {7350051, 1},                // 4
    {7350083, 1}, {4001500, 1}, {4001491, 2}, {7350084, 1}, {7350071, 1}, {7350086, 2}, {7350041, 2},  // 5
    {7350054, 1}, {7350082, 2}, {7350078, 2}, {7350081, 1},                                            // 6
    {7350085, 1}, {7350075, 1}, {7350087, 2}, {7350071, 2},                                            // 7
    {7350086, 1}, {7350072, 1}, {7350042, 2},                                                          // 8
    {7350087, 1}, {7350076, 1}, {7350072, 2},                                                          // 9
    {7350055, 1}, {7350079, 2}, {7350082, 1},                                                          // 10
};

// GEOSPZN
constexpr TableWindow kSpecialWindows[] = {
    {"900000S1800000W", "800000S1800000E", 1},
    {"800000S0400000E", "700000S1600000E", 1},
    {"400000N1200000W", "500000N0750000W", 1},
    {"500000N1200000W", "650000N1000000W", 1},
};
constexpr TablePolygon kSpecialPolygons[] = {{1, 1}, {1, 1}};
constexpr TableLine kSpecialLines[] = {{7350301, 1}, {7350302, 1}};

// GEORGN and GEORGNS
constexpr TableWindow kRegionWindows[] = {
    {"900000S0100000W", "900000N0400000E", 1}, {"900000S0200000W", "233000N0600000E", 1},
    {"653000N0100000W", "900000N1685830W", 1}, {"400000N0000000E", "900000N0700000E", 1},
    {"500000N0000000E", "900000N1150000E", 1}, {"500000N1300000E", "900000N1650000E", 1},
    {"550000N0000000E", "900000N1650000E", 1}, {"200000N0300000W", "600000N0000000E", 1},
    {"300000N0400000W", "500000N0000000E", 1}, {"900000S1200000W", "900000N0500000W", 2},
    {"900000S1200000W", "100000S0200000W", 2}, {"100000N1685830W", "900000N0500000W", 2},
    {"720000N1685830W", "900000N0100000W", 2}, {"350000N1800000W", "600000N1600000W", 2},
    {"600000N0500000W", "700000N0400000W", 2}, {"100000S0500000W", "200000N0400000W", 2},
    {"100000S0400000W", "000000N0300000W", 2}, {"900000S0600000E", "100000N1200000W", 3},
    {"100000N0600000E", "300000N1800000E", 3}, {"300000N0800000E", "400000N1700000E", 3},
    {"400000N1200000E", "450000N1300000E", 3},
};
constexpr TablePolygon kRegionPolygons[] = {{3, 2}, {10, 2}, {24, 3}, {4, 3}};
constexpr TableLine kRegionLines[] = {
    {7350052, 1}, {7350065, 1}, {7350051, 1},  // 1
    {7350041, 1}, {7350042, 1}, {7350033, 1}, {7350055, 2}, {7350054, 2}, {7350053, 2}, {7350062, 2},
    {7350050, 2}, {7350036, 1}, {7350040, 1},  // 2
    {7350052, 1}, {7350066, 1}, {7350031, 1}, {7350030, 2}, {5006490, 2}, {5005890, 2}, {5005880, 1},
    {5005810, 1}, {5005812, 1}, {5005811, 1}, {7350020, 1}, {5005830, 1}, {5030060, 1}, {5030061, 1},
    {5030062, 1}, {5002360, 1}, {5002361, 1}, {5002362, 1}, {5002363, 1}, {5002370, 1}, {5002610, 1},
    {5002620, 1}, {5002630, 1}, {7350010, 2},  // 3
    {7350054, 1}, {7350055, 1}, {7350061, 1}, {7350053, 1},  // 4
};

// RJ81NZ
constexpr TableWindow kRj81Windows[] = {
    {"115400N0615400W", "121800N0613000W", 3}, {"020000S0930000W", "020000N0890000W", 2},
    {"190000N0740000W", "200000N0680000W", 2}, {"160000N0750000W", "190000N0680000W", 2},
    {"100000N0800000W", "155400N0450000W", 2}, {"070000N0770000W", "100000N0450000W", 2},
    {"173000S0820000W", "070000N0450000W", 2}, {"200000S0820000W", "173000S0710000W", 2},
    {"200000S0680000W", "173000S0620000W", 2}, {"190000S0620000W", "173000S0580000W", 2},
    {"200000S0580000W", "173000S0450000W", 2}, {"213000S0680000W", "200000S0623000W", 2},
};
constexpr TablePolygon kRj81Polygons[] = {{7, 2}};
constexpr TableLine kRj81Lines[] = {{7350093, 1}, {2000100, 1}, {2000110, 1}, {2000050, 2},
                                    {2000060, 1}, {7350094, 1}, {1007590, 2}};

// RJ88NZ
constexpr TableWindow kRj88Windows[] = {
    {"190000N0740000W", "200000N0680000W", 2}, {"180000N0750000W", "190000N0680000W", 2},
    {"173000N0883000W", "180000N0781000W", 2}, {"173000N0760000W", "180000N0680000W", 2},
    {"160000N0900000W", "173000N0680000W", 2}, {"140000N0913000W", "155400N0450000W", 2},
    {"050000N0900000W", "140000N0450000W", 2}, {"173000S0950000W", "050000N0450000W", 2},
    {"200000S0950000W", "173000S0710000W", 2}, {"200000S0680000W", "173000S0620000W", 2},
    {"190000S0620000W", "173000S0580000W", 2}, {"200000S0580000W", "173000S0450000W", 2},
    {"213000S0680000W", "200000S0623000W", 2},
};
constexpr TablePolygon kRj88Polygons[] = {{8, 2}};
constexpr TableLine kRj88Lines[] = {{7350091, 1}, {2000100, 1}, {2000110, 1}, {2000050, 2},
                                    {2000060, 1}, {7350092, 1}, {1007510, 2}, {1007530, 2}};

constexpr TableWindow kEmaWindows[] = {
    {"300000N0320000W", "670000N0430000E", 1},
    {"600000N0050000W", "720000N0550000E", 1},
};

constexpr std::string_view kRainLetters =
    "ACEKDPPQPNPPNFJECECEFKBCCELLKFKDKKHDMKCMBMFDJGAKCKJCKBHFHEGEDGEEGJMCCK";

// In the order of FixedTableId.
constexpr FixedTable kTables[] = {
    {kAp28Windows, kAp28Polygons, kAp28Lines, 1988},
    {kAp30Windows, kAp30Polygons, kAp30Lines, 5920},
    {kGe75Windows, kGe75Polygons, kGe75Lines, 1450},
    {kSpecialWindows, kSpecialPolygons, kSpecialLines, 114},
    {kRegionWindows, kRegionPolygons, kRegionLines, 3555},
    {kRj81Windows, kRj81Polygons, kRj81Lines, 540},
    {kRj88Windows, kRj88Polygons, kRj88Lines, 685},
};
static_assert(std::size(kTables) == std::size_t(FixedTableId::Count));

constexpr bool polygonsNameEveryLine()
{
    for (const FixedTable& table : kTables) {
        std::size_t lines = 0;
        for (const TablePolygon& polygon : table.polygons)
            lines += std::size_t(polygon.lineCount);
        if (lines != table.lines.size())
            return false;
    }
    return true;
}
static_assert(polygonsNameEveryLine());

constexpr std::string_view kUnpacker = "GEOWZI";

FixedZoneState& fixedZones()
{
    return libraryState().fixedZones;
}

}  // namespace

const FixedTable& fixedTable(FixedTableId id)
{
    return kTables[std::size_t(id)];
}

std::span<const TableWindow> emaWindows()
{
    return kEmaWindows;
}

std::string_view rainZoneLetters()
{
    return kRainLetters;
}

void unpackWindows(std::span<const TableWindow> windows, UnpackedTable& out)
{
    out.windows.clear();
    out.windowZones.clear();
    for (const TableWindow& w : windows) {
        const LonLat sw = readCoordText(w.southWest, Layout::LatitudeFirst, kUnpacker);
        const LonLat ne = readCoordText(w.northEast, Layout::LatitudeFirst, kUnpacker);
        out.windows.push_back({sw.lon, sw.lat, ne.lon, ne.lat});
        out.windowZones.push_back(w.zone);
    }
}

std::span<float> fetchTableLine(std::string_view routine, std::int32_t id)
{
    std::vector<float>& buffer = fixedZones().lineBuffer;
    buffer.resize(2 * std::size_t(kLineBufferPoints));
    const std::int32_t n = readLineById(kGeoPoints, routine, id, buffer.data(), kLineBufferPoints);
    return {buffer.data(), 2 * std::size_t(n)};
}

void GEOWZI(const FixedTable& table, UnpackedTable& out)
{
    unpackWindows(table.windows, out);
    out.polygons.clear();
    out.points.clear();
    out.points.reserve(2 * std::size_t(table.capacity));
    std::vector<float>& buffer = fixedZones().lineBuffer;
    buffer.resize(2 * std::size_t(kLineBufferPoints));
    std::size_t next = 0;
    for (const TablePolygon& polygon : table.polygons) {
        const auto first = std::int32_t(out.points.size() / 2);
        for (std::int32_t k = 0; k < polygon.lineCount; ++k) {
            const TableLine& line = table.lines[next++];
            // a line not found is read once more before it counts as missing
            const LineFetch f =
                readLine(kGeoPoints, std::int32_t(FetchMode::ById), buffer.data(), kLineBufferPoints, line.id);
            const std::int32_t n =
                f.flag ? f.count : readLineById(kGeoPoints, kUnpacker, line.id, buffer.data(), kLineBufferPoints);
            if (std::int64_t(out.points.size() / 2) + n > table.capacity)
                fatalCallerDimension(kUnpacker, "CRDKNT");
            appendLine(buffer.data(), n, line.direction, out.points);
        }
        const std::int32_t count = std::int32_t(out.points.size() / 2) - first;
        out.polygons.push_back({boundingWindow(out.points.data() + 2 * first, count), first, count, polygon.zone});
    }
    out.ready = true;
}

std::optional<std::int32_t> windowZone(Point p, const UnpackedTable& table)
{
    for (std::size_t i = 0; i < table.windows.size(); ++i) {
        if (pointInWindow(p, table.windows[i]))
            return table.windowZones[i];
    }
    return std::nullopt;
}

void appendLine(const float* points, std::int32_t n, std::int32_t direction, std::vector<float>& out)
{
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t j = direction == 1 ? i : n - 1 - i;
        out.push_back(points[2 * std::size_t(j)]);
        out.push_back(points[2 * std::size_t(j) + 1]);
    }
}

std::int32_t GEOWZL(Point p, const UnpackedTable& table)
{
    if (const std::optional<std::int32_t> zone = windowZone(p, table))
        return *zone;
    for (const UnpackedPolygon& polygon : table.polygons) {
        if (GEOPIA(p, polygon.window, table.points.data() + 2 * polygon.first, polygon.count))
            return polygon.zone;
    }
    return 0;
}

const UnpackedTable& unpackedTable(FixedTableId id)
{
    UnpackedTable& table = fixedZones().tables[std::size_t(id)];
    if (!table.ready)
        GEOWZI(fixedTable(id), table);
    return table;
}

std::vector<std::int32_t> fixedTableLineIds()
{
    std::vector<std::int32_t> ids;
    for (const FixedTable& table : kTables) {
        for (const TableLine& line : table.lines)
            ids.push_back(line.id);
    }
    for (std::int32_t id = kRainVersionLine; id < kRainFirstLine + std::int32_t(kRainLetters.size()); ++id)
        ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

}  // namespace geo
