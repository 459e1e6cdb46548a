#include "FixedZones.h"

#include "core/Fatal.h"
#include "state/LibraryState.h"
#include "geometry/Clipping.h"
#include "geometry/PointInPolygon.h"
#include "zones/ZoneTables.h"

#include <cmath>

namespace geo {
namespace {

constexpr std::string_view kAp28Zones = "012345";
constexpr std::string_view kAp30Zones = "ABCDEFGHIJKLMNOP";
constexpr std::string_view kFirstZoneCodes =
    "AIA ALS ARG ATG BAH BER CAN CHL CUB CYM FLK HWA JMC JON MDW MEX MSR PAQ PCO PRG PTR SCN SPM TCA URG USA VIR "
    "VRG GRL";
constexpr std::string_view kSecondZoneCodes =
    "ABW BLZ BOL BRB CLM CTR DMA DOM EQA GRD GTM GUF GUY HND HTI LCA MRT NCG PNR PRU SLV SUR SWN TRD VCT VEN";
constexpr std::string_view kFirstZoneSymbol = "B  17 ";
constexpr std::string_view kSecondZoneSymbol = "B  23 ";

// Rain rates, mm/h, rows in the order of the letters.
constexpr std::string_view kRainRateZones = "ABCDEFGHJKLMNQP";
constexpr float kRainRates[][7] = {
    {0.1f, 0.8f, 2, 5, 8, 14, 22},      {0.5f, 2, 3, 6, 12, 21, 32},       {0.7f, 2.8f, 5, 9, 15, 26, 42},
    {2.1f, 4.5f, 8, 13, 19, 29, 42},    {0.6f, 2.4f, 6, 12, 22, 41, 70},   {1.7f, 4.5f, 8, 15, 28, 54, 78},
    {3, 7, 12, 20, 30, 45, 65},         {2, 4, 10, 18, 32, 55, 83},        {8, 13, 20, 28, 35, 45, 55},
    {1.5f, 4.2f, 12, 23, 42, 70, 100},  {2, 7, 15, 33, 60, 105, 150},      {4, 11, 22, 40, 63, 95, 120},
    {5, 15, 35, 65, 95, 140, 180},      {24, 49, 72, 96, 115, 142, 170},   {12, 34, 65, 105, 145, 200, 250},
};
static_assert(std::size(kRainRates) == kRainRateZones.size());

constexpr std::string_view kRainMismatch = " ROUTINE/DATABASE MISSMATCH.  RECOMPILE PROGRAM.";

FixedZoneState& fixedZones()
{
    return libraryState().fixedZones;
}

std::int32_t lookUp(FixedTableId id, Point p)
{
    return GEOWZL(p, unpackedTable(id));
}

bool awayFromPoles(Point p)
{
    return std::fabs(p.lat) < kZoneLatBound;
}

// The table's windows alone, unpacked on first use.
const UnpackedTable& windowsOnly(std::span<const TableWindow> windows, UnpackedTable& table)
{
    if (!table.ready) {
        unpackWindows(windows, table);
        table.ready = true;
    }
    return table;
}

bool holds(Point p, std::span<const float> points)
{
    return !points.empty() && GEOPIA2(p, points.data(), std::int32_t(points.size() / 2));
}

// The zone of the first single-line polygon of the table whose line, fetched now, holds the point.
std::int32_t singleLineZone(std::string_view routine, const FixedTable& table, Point p)
{
    for (std::size_t k = 0; k < table.polygons.size(); ++k) {
        if (holds(p, fetchTableLine(routine, table.lines[k].id)))
            return table.polygons[k].zone;
    }
    return 0;
}

bool listed(std::string_view code, std::string_view list)
{
    for (std::size_t at = 0; at + 3 <= list.size(); at += 4) {
        if (list.substr(at, 3) == code)
            return true;
    }
    return false;
}

std::int32_t noiseZone(FixedTableId id, Point p)
{
    if (!awayFromPoles(p))
        return 0;
    const std::int32_t zone = lookUp(id, p);
    return zone == 0 && GEORGN(p) == 2 ? 1 : zone;
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

void checkRainVersion()
{
    std::span<float> line = fetchTableLine("GEOR837", kRainVersionLine);
    float first[2] = {0, 0};
    if (line.size() >= 2)
        std::copy_n(line.data(), 2, first);
    convertUnits(3, first, 1);
    if (first[1] != 1.0f)
        fatalMessage("GEOR837", kRainMismatch);
}

}  // namespace

std::int32_t GEORGN(Point p)
{
    const UnpackedTable& table = unpackedTable(FixedTableId::GEORGN);
    const std::int32_t zone = awayFromPoles(p) ? GEOWZL(p, table) : 0;
    return zone == 0 ? 1 : zone;
}

std::int32_t GEORGNS(Point p)
{
    constexpr std::string_view kRoutine = "GEORGNS";
    FixedZoneState& s = fixedZones();
    const FixedTable& table = fixedTable(FixedTableId::GEORGN);
    if (!awayFromPoles(p))
        return 1;
    if (const std::int32_t zone = windowZone(p, windowsOnly(table.windows, s.regionWindows)).value_or(0); zone != 0)
        return zone;
    Window around{p.lon, p.lat, p.lon, p.lat};
    widenWindow(0, kCutZoneMarginSeconds, around);
    std::vector<float>& work = s.cutPolygon;
    std::size_t next = 0;
    for (const TablePolygon& polygon : table.polygons) {
        work.clear();
        for (std::int32_t k = 0; k < polygon.lineCount; ++k) {
            const TableLine& line = table.lines[next++];
            std::span<float> points = fetchTableLine(kRoutine, line.id);
            const std::int32_t n = GEOCUT(0, around, points.data(), std::int32_t(points.size() / 2), points.data());
            if (std::int64_t(work.size() / 2) + n > kMostCutZonePoints)
                fatalLimit(kRoutine, "MAXVEK", kMostCutZonePoints);
            appendLine(points.data(), n, line.direction, work);
        }
        if (holds(p, work))
            return polygon.zone;
    }
    return 1;
}

char AP28RZ(Point p)
{
    return kAp28Zones[std::size_t(lookUp(FixedTableId::AP28RZ, p))];
}

char AP28RZS(Point p)
{
    return kAp28Zones[std::size_t(singleLineZone("AP28RZS", fixedTable(FixedTableId::AP28RZ), p))];
}

char AP30ARZ(Point p)
{
    return kAp30Zones[std::size_t(std::max(lookUp(FixedTableId::AP30ARZ, p), 1) - 1)];
}

char AP30RZ(Point p)
{
    return GEORGN(p) == 2 ? AP30ARZ(p) : AP28RZ(p);
}

std::int32_t GE75NZ(Point p)
{
    return lookUp(FixedTableId::GE75NZ, p);
}

std::int32_t RJ81NZ(Point p)
{
    return noiseZone(FixedTableId::RJ81NZ, p);
}

std::int32_t RJ88NZ(Point p, std::string_view symbol)
{
    unpackedTable(FixedTableId::RJ88NZ);
    if (symbol.find_first_not_of(' ') != std::string_view::npos) {
        const std::string_view code = symbol.substr(0, 3);
        if (symbol == kFirstZoneSymbol || listed(code, kFirstZoneCodes))
            return 1;
        if (symbol == kSecondZoneSymbol || listed(code, kSecondZoneCodes))
            return 2;
    }
    return noiseZone(FixedTableId::RJ88NZ, p);
}

std::int32_t GEOSPZN(Point p)
{
    return lookUp(FixedTableId::GEOSPZN, p);
}

std::int32_t GEOEMA(Point p)
{
    return windowZone(p, windowsOnly(emaWindows(), fixedZones().emaWindows)).value_or(0);
}

RainZone GEOR837(Point p, char named)
{
    FixedZoneState& s = fixedZones();
    if (!s.rainChecked) {
        checkRainVersion();
        s.rainChecked = true;
    }
    RainZone r{};
    const std::string_view letters = rainZoneLetters();
    if (p.lat >= kRainSouth && p.lat <= kRainNorth) {
        for (std::size_t k = 0; k < letters.size() && r.zone == 0; ++k) {
            if (holds(p, fetchTableLine("GEOR837", kRainFirstLine + std::int32_t(k))))
                r.zone = letters[k];
        }
    }
    if (r.zone == 0)
        r.zone = p.lat < kNamedRainZoneLat ? 'A' : upper(named);
    const std::size_t row = kRainRateZones.find(r.zone);
    if (row != std::string_view::npos)
        std::copy_n(kRainRates[row], 7, r.rates.begin());
    return r;
}

}  // namespace geo
