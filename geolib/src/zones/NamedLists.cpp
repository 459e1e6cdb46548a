#include "NamedLists.h"

#include "coords/CoordText.h"
#include "core/Fatal.h"
#include "state/LibraryState.h"
#include "files/PointFile.h"
#include "geometry/PointInPolygon.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <exception>
#include <limits>

namespace geo {
namespace {

constexpr std::int32_t kLinePointLimit = 32767;  // a line's point count is a 2-byte number

NamedListState& lists()
{
    return libraryState().namedLists;
}

// Sizes `v` to n elements; false when the memory cannot be had.
template <typename T>
bool allocate(std::vector<T>& v, std::size_t n)
{
    std::int32_t& failing = lists().failingAllocation;
    if (failing > 0 && --failing == 0)
        return false;
    try {
        v.assign(n, T{});
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

// Whole numbers are stored x 1e-7 and read back without their sign.
std::int32_t whole(float stored)
{
    const double v = std::fabs(double(stored)) * kZoneScale;
    return std::isnan(v) ? 0 : std::int32_t(std::lround(std::min(v, double(std::numeric_limits<std::int32_t>::max()))));
}

// A line of GEOPNT12.BIN in radians; the buffer holds zeros past its points, so that an entry
// cut short reads blanks and zeros. A missing line is a fatal error of the routine.
std::span<const float> readListLine(std::string_view routine, std::int32_t id)
{
    std::vector<float>& buffer = lists().lineBuffer;
    buffer.assign(2 * std::size_t(kLineBufferPoints), 0.0f);
    const std::int32_t n = readLineById(kGeoPoints2, routine, id, buffer.data(), kLineBufferPoints);
    return {buffer.data(), 2 * std::size_t(n)};
}

struct NamedEntry {
    std::int32_t lineId;
    std::int32_t pointCount;
    std::string name;  // 18 characters
};

std::int32_t entryCount(std::span<const float> line)
{
    return std::int32_t((line.size() / 2 + 2) / kListEntryPoints);
}

NamedEntry entryAt(std::span<const float> line, std::int32_t k)
{
    const float* e = line.data() + 2 * kListEntryPoints * std::size_t(k);
    float text[kListNameLength / 3];
    std::copy_n(e + 2, std::size(text), text);
    std::string name(kListNameLength, ' ');
    packReals(1, std::int32_t(std::size(text)), text, name.data());
    return {whole(e[0]), whole(e[1]), name};
}

// Calls `visit` for each entry of the list's lines in order until it returns false.
template <typename Visit>
void forEachEntry(std::string_view routine, const ListRange& list, Visit visit)
{
    for (std::int64_t id = list.firstLine; id < std::int64_t(list.firstLine) + list.lineCount; ++id) {
        const std::span<const float> line = readListLine(routine, std::int32_t(id));
        for (std::int32_t k = 0; k < entryCount(line); ++k) {
            if (!visit(entryAt(line, k)))
                return;
        }
    }
}

// Point `which` (from 1) of the directory, line 3; false when the line has fewer points.
bool directoryPoint(std::string_view routine, int which, ListRange& out)
{
    const std::span<const float> line = readListLine(routine, kListDirectoryLine);
    if (line.size() < 2 * std::size_t(which))
        return false;
    out = {whole(line[2 * std::size_t(which) - 2]), whole(line[2 * std::size_t(which) - 1])};
    return true;
}

// The CIRAF zone number of a name: its first characters read as a whole number.
bool zoneNumber(std::string_view name, std::int32_t& number)
{
    std::string_view text = name.substr(0, kCirafNumberLength);
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    text = text.substr(0, text.find_last_not_of(' ') + 1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

bool readCirafList(std::string_view routine)
{
    NamedListState& s = lists();
    if (!s.cirafListRead)
        s.cirafListRead = directoryPoint(routine, kCirafDirectoryPoint, s.cirafList);
    return s.cirafListRead;
}

// CIRAFZP's zones from the list and their outlines; the status of a failure.
std::int32_t prepareZones()
{
    constexpr std::string_view kRoutine = "CIRAFZP";
    CirafZones& z = lists().zones;
    z = CirafZones{};
    ListRange list;
    if (!directoryPoint(kRoutine, kCirafDirectoryPoint, list))
        return 1;
    std::size_t zoneCount = 0;
    if (list.lineCount > 0) {
        const std::span<const float> last = readListLine(kRoutine, list.firstLine + list.lineCount - 1);
        zoneCount = std::size_t(kMostListEntries) * std::size_t(list.lineCount - 1) + std::size_t(entryCount(last));
    }
    if (!allocate(z.windows, zoneCount) || !allocate(z.first, zoneCount) || !allocate(z.counts, zoneCount) ||
        !allocate(z.numbers, zoneCount))
        return 2;
    bool readable = true;
    std::size_t k = 0;
    std::int64_t total = 0;
    forEachEntry(kRoutine, list, [&](const NamedEntry& e) {
        if (k >= zoneCount || !(readable = zoneNumber(e.name, z.numbers[k])))
            return false;
        z.first[k] = total;
        z.counts[k] = std::min(e.pointCount, kLinePointLimit);
        total += z.counts[k++];
        return true;
    });
    if (!readable)
        return 1;
    if (!allocate(z.points, 2 * std::size_t(total)))
        return 2;
    k = 0;
    forEachEntry(kRoutine, list, [&](const NamedEntry& e) {
        if (k >= zoneCount)
            return false;
        float* points = z.points.data() + 2 * z.first[k];
        z.counts[k] = readLineById(kGeoPoints2, kRoutine, e.lineId, points, z.counts[k]);
        Window w = boundingWindow(points, z.counts[k]);
        if (w.south <= -kHalfPi || w.north >= kHalfPi) {
            w.west = -kPi;
            w.east = kPi;
        }
        z.windows[k++] = w;
        return true;
    });
    z.ready = true;
    return 0;
}

}  // namespace

void failListAllocation(std::int32_t n)
{
    lists().failingAllocation = n;
}

OutlineFetch fetchOutline(std::string_view routine, std::int32_t lineId, std::int32_t pointCount, std::int16_t unit,
                          std::int32_t capacity, float* points)
{
    OutlineFetch r;
    const std::int32_t listed = std::min(pointCount, kLinePointLimit);
    const std::int32_t shortBy = pointCount - std::max(capacity, 0);
    if (shortBy <= 0) {
        r.count = readLineById(kGeoPoints2, routine, lineId, points, capacity);
    } else {
        std::vector<float> whole;
        if (!allocate(whole, 2 * std::size_t(listed))) {
            r.leftOut = pointCount;
            return r;
        }
        const std::int32_t n = readLineById(kGeoPoints2, routine, lineId, whole.data(), listed);
        r.count = std::clamp(n, 0, std::max(capacity, 0));
        r.leftOut = shortBy;
        std::copy_n(whole.data(), 2 * std::size_t(r.count), points);
    }
    convertUnits(unit, points, std::int16_t(r.count));
    return r;
}

AreaListResult AP27AER(std::int32_t kind, std::int32_t request, std::int16_t unit, std::int32_t capacity, char* codes,
                       std::int32_t* values, float* points)
{
    constexpr std::string_view kRoutine = "AP27AER";
    NamedListState& s = lists();
    if (!s.areaDirectoryRead) {
        for (int k = 1; k <= int(s.areaLists.size()); ++k)
            directoryPoint(kRoutine, k, s.areaLists[std::size_t(k - 1)]);
        s.areaDirectoryRead = true;
    }
    AreaListResult r;
    if (kind < 1 || kind > std::int32_t(s.areaLists.size()) || request < 1 || request > 2 || capacity < 1)
        return r;
    const ListRange& list = s.areaLists[std::size_t(kind - 1)];
    if (request == 1) {
        forEachEntry(kRoutine, list, [&](const NamedEntry& e) {
            if (r.count < capacity) {
                values[r.count] = e.pointCount;
                std::copy_n(e.name.data(), kListNameLength, codes + std::size_t(kListNameLength) * std::size_t(r.count));
                ++r.count;
            } else {
                ++r.overflow;
            }
            return true;
        });
        return r;
    }
    const std::string_view wanted(codes, kListNameLength);
    forEachEntry(kRoutine, list, [&](const NamedEntry& e) {
        if (e.name != wanted)
            return true;
        const OutlineFetch f = fetchOutline(kRoutine, e.lineId, e.pointCount, unit, capacity, points);
        r = {f.count, f.leftOut};
        return false;
    });
    return r;
}

CirafOutline CIRAFZL(std::int32_t zone, std::int16_t unit, std::int32_t capacity, float* points)
{
    constexpr std::string_view kRoutine = "CIRAFZL";
    CirafOutline r;
    if (!readCirafList(kRoutine)) {
        r.status = 1;
        return r;
    }
    r.status = 3;
    forEachEntry(kRoutine, lists().cirafList, [&](const NamedEntry& e) {
        std::int32_t number = 0;
        if (!zoneNumber(e.name, number)) {
            r.status = 1;
            return false;
        }
        if (number != zone)
            return true;
        LonLat reference{};
        if (!readFreeCoord(std::string_view(e.name).substr(kCirafNumberLength), reference)) {
            r.status = 1;
            return false;
        }
        const OutlineFetch f = fetchOutline(kRoutine, e.lineId, e.pointCount, unit, capacity, points);
        r = {f.count, reference.lon, reference.lat, f.leftOut, 0};
        return false;
    });
    return r;
}

CirafZone CIRAFZP(Point p)
{
    CirafZones& z = lists().zones;
    CirafZone r;
    if (!z.ready && (r.status = prepareZones()) != 0) {
        z = CirafZones{};
        return r;
    }
    for (std::size_t k = 0; k < z.numbers.size(); ++k) {
        if (z.counts[k] > 0 && GEOPIA(p, z.windows[k], z.points.data() + 2 * z.first[k], z.counts[k])) {
            r.zone = z.numbers[k];
            return r;
        }
    }
    if (p.lat <= -kCirafPoleLat)
        r.zone = kCirafSouthZone;
    else if (p.lat >= kCirafPoleLat)
        r.zone = kCirafNorthZone;
    return r;
}

}  // namespace geo
