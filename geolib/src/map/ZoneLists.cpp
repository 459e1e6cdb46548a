#include "ZoneLists.h"

#include "coords/CoordText.h"
#include "core/Fatal.h"
#include "core/FixedText.h"
#include "state/LibraryState.h"
#include "geometry/GreatCircle.h"
#include "geometry/Polylines.h"
#include "geometry/Clipping.h"
#include "map/CurrentMap.h"
#include "map/MapOptions.h"
#include "map/OutlineTrim.h"
#include "geometry/PointInPolygon.h"
#include "map/SymbolAtPoint.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace geo {
namespace {

ZoneState& zoneState()
{
    return libraryState().zones;
}

float* lineBuffer()
{
    return libraryState().map.lineBuffer.data();
}

// Zone numbers are stored x 1e-7: scaled in double, then kept as 4-byte reals or whole numbers.
float zoneNumber(float stored)
{
    return float(double(stored) * kZoneScale);
}

std::int32_t zoneWhole(float stored)
{
    constexpr double kLargest = 2147483647.0;
    const double v = double(stored) * kZoneScale;
    return std::isnan(v) ? 0 : std::int32_t(std::lround(std::clamp(v, -kLargest, kLargest)));
}

// A line of GEOPNT12.BIN in radians; a missing line is a fatal error of the routine.
std::int32_t readZoneLine(std::string_view routine, std::int32_t id, float* points, std::int32_t capacity)
{
    return readLineById(kGeoPoints2, routine, id, points, capacity);
}

// Entry j (from 0) of a zone index line of n points, when all four of its points are there.
struct ZoneEntry {
    std::int32_t lineId;
    std::array<float, 2> values;
    Window window;
};

bool hasEntry(std::int32_t n, std::int32_t firstPoint)
{
    return firstPoint + kZoneEntryPoints - 1 <= n;
}

ZoneEntry entryAt(const float* points, std::int32_t firstPoint)
{
    const float* e = points + 2 * (firstPoint - 1);
    return {zoneWhole(e[0]), {zoneNumber(e[2]), zoneNumber(e[3])}, {e[4], e[5], e[6], e[7]}};
}

class ZoneListBuilder {
public:
    explicit ZoneListBuilder(std::string_view routine) : m_routine(routine) {}

    void run(std::int32_t kind, const float* place, std::int32_t dist)
    {
        bool retried = false;
        for (;;) {
            GEOMAP(kind, place, dist);
            if (build())
                return;
            ZoneList& z = zoneState().list;
            libraryState().map.state.rebuildPending = 1;
            z.zoneCount = 0;
            if (!retried && requestInMap(kind, place, dist)) {
                retried = true;
            } else if (kind == std::int32_t(MapKind::Circle) && !m_nearOnly) {
                m_nearOnly = true;
            } else {
                if (!optionOn(Option::QuietOverflow))
                    fatalBlockLimit(m_routine, m_limit, m_limitValue, "GEOQ162");
                return;
            }
        }
    }

private:
    // False when the list overflowed.
    bool build()
    {
        ZoneList& z = zoneState().list;
        const MapState& s = libraryState().map.state;
        if (z.owner == kZoneListOwner && z.zoneListGeneration == s.mapGeneration)
            return true;
        z.owner = kZoneListOwner;
        z.zoneCount = 0;
        z.zoneListGeneration = s.mapGeneration;
        if (s.rebuildPending != 0)
            return true;
        z.zoneListStamp = -1;
        z.zoneDefaults = z.zoneHeaderValues;
        return candidates() && keep();
    }

    bool overflow(std::string_view limit, std::int32_t value)
    {
        m_limit = limit;
        m_limitValue = value;
        return false;
    }

    // The entries of the kind's index lines whose windows meet the map.
    bool candidates()
    {
        ZoneList& z = zoneState().list;
        const MapState& s = libraryState().map.state;
        float* buffer = lineBuffer();
        const std::int64_t end = std::int64_t(z.zoneFirstLine) + z.zoneLineCount;
        for (std::int64_t id = z.zoneFirstLine; id < end; ++id) {
            const std::int32_t n = readZoneLine(m_routine, std::int32_t(id), buffer, kLineBufferPoints);
            for (std::int32_t p = 1; hasEntry(n, p); p += kZoneEntryPoints) {
                const ZoneEntry e = entryAt(buffer, p);
                if (!windowsOverlap(e.window, s.mapWindow) ||
                    (m_nearOnly && !nearWindow(e.window, s.mapCentre, float(s.mapRadius))))
                    continue;
                if (z.zoneCount >= kMaxZones)
                    return overflow("MXCDID", kMaxZones);
                const auto k = std::size_t(z.zoneCount++);
                z.zoneLineId[k] = e.lineId;
                z.zoneValues[k] = e.values;
                z.zoneWindow[k] = e.window;
            }
        }
        return true;
    }

    // The candidates' lines, cut to the map; a line that leaves nothing in the map is dropped.
    bool keep()
    {
        ZoneList& z = zoneState().list;
        const Window& mapWindow = libraryState().map.state.mapWindow;
        float* buffer = lineBuffer();
        const std::int16_t candidateCount = z.zoneCount;
        std::int32_t used = 0;
        z.zoneCount = 0;
        for (std::size_t c = 0; c < std::size_t(candidateCount); ++c) {
            std::int32_t n = readZoneLine(m_routine, z.zoneLineId[c], buffer, kLineBufferPoints);
            std::int32_t first = 1, last = n;
            Window window = z.zoneWindow[c];
            if (!windowInWindow(window, mapWindow)) {
                n = cutOutlineToWindow(isNormal(window) ? 1 : 0, mapWindow, buffer, kLineBufferPoints, n);
                last = n;
                GEOTRIM(mapWindow, buffer, first, last);
                if (first == last)
                    continue;
                window = boundingWindow(buffer + 2 * (first - 1), last - first + 1);
                if (!windowsOverlap(window, mapWindow))
                    continue;
            }
            const std::int32_t count = last - first + 1;
            if (used + count > kMaxZonePoints)
                return overflow("MXCDCR", kMaxZonePoints);
            const auto k = std::size_t(z.zoneCount++);
            z.zoneLineId[k] = z.zoneLineId[c];
            z.zoneValues[k] = z.zoneValues[c];
            z.zoneWindow[k] = window;
            z.zoneFirst[k] = used + 1;
            z.zonePointCount[k] = count;
            std::copy_n(buffer + 2 * (first - 1), 2 * count, z.zonePoints.data() + 2 * used);
            used += count;
        }
        return true;
    }

    std::string_view m_routine;
    bool m_nearOnly = false;  // on a circle map, only zones within its radius
    std::string_view m_limit;
    std::int32_t m_limitValue = 0;
};

struct WalkMember {
    std::string_view routine;
    std::int32_t (*select)(std::int32_t);  // selects the default kind
    bool alwaysSelect;                     // selects its kind at every call
};

std::int32_t selectCoordination(std::int32_t)
{
    return GEOZSEL(4);
}

constexpr WalkMember kWalkMembers[] = {
    {"GEOCOML", selectCoordination, false},
    {"GEOGCML", GEOGCMS, false},
    {"GEONZML", GEONZMS, false},
    {"GEORZML", GEORZMS, true},
    {"GEOPRML", GEOPRMS, false},
};

bool kindSelected(const ZoneList& z)
{
    return z.zoneFirstLine != 0 || z.zoneLineCount != 0 || z.zoneAbsent;
}

}  // namespace

void ZoneState::reset()
{
    // Field by field: a whole new state would need its point arrays on the stack.
    ZoneList& z = list;
    z.zoneListGeneration = 0;
    z.zoneFirstLine = 0;
    z.zoneLineCount = 0;
    z.zoneHeaderValues = {};
    z.zoneListStamp = 0;
    z.zoneKind = 0;
    z.zoneAbsent = false;
    z.owner = 0;
    z.zoneCount = 0;
    z.zoneDefaults = {};
    for (ZoneWalk& walk : walks) {
        walk.currentLine = 0;
        walk.lastLine = 0;
        walk.startLine = 0;
        walk.count = 0;
        walk.position = 0;
    }
}

std::int32_t GEOZSEL(std::int64_t k)
{
    ZoneList& z = zoneState().list;
    const std::int64_t kind = std::min<std::int64_t>(k == 0 ? 1 : std::llabs(k), kZoneKinds + 1);
    if (kind == z.zoneKind)
        return 0;
    float* header = lineBuffer();
    const std::int32_t n = readZoneLine("GEOGCMS", kZoneHeaderLine, header, kLineBufferPoints);
    const std::int32_t a = 2 * std::int32_t(kind) - 1;
    // The kind needs both its points: its lines and its defaults.
    const bool present = kind <= kZoneKinds && n >= a + 1;
    z.zoneFirstLine = present ? zoneWhole(header[2 * (a - 1)]) : 0;
    z.zoneLineCount = present ? zoneWhole(header[2 * (a - 1) + 1]) : 0;
    z.zoneHeaderValues = present ? std::array<float, 2>{zoneNumber(header[2 * a]), zoneNumber(header[2 * a + 1])}
                                 : std::array<float, 2>{};
    z.zoneKind = std::int16_t(present ? kind : 0);
    z.zoneAbsent = !present;
    z.zoneListGeneration = libraryState().map.state.mapGeneration - 1;
    z.zoneListStamp = 0;
    return present ? 0 : 1;
}

std::int32_t GEOGCMS(std::int32_t k)
{
    return GEOZSEL(k);
}

// The selectors shift the kind asked for; 0 asks for the first kind of their range, as 1 does.
static std::int32_t selectShifted(std::int32_t k, std::int64_t shift)
{
    return GEOZSEL((k == 0 ? 1 : std::int64_t(k)) + shift);
}

std::int32_t GEONZMS(std::int32_t k)
{
    return selectShifted(k, 9);
}

std::int32_t GEORZMS(std::int32_t k)
{
    return selectShifted(k, 8);
}

std::int32_t GEOPRMS(std::int32_t k)
{
    return selectShifted(k, 4);
}

bool zoneKindSelected()
{
    return kindSelected(zoneState().list);
}

void buildZoneList(std::string_view routine, std::int32_t kind, const float* place, std::int32_t dist)
{
    ZoneListBuilder(routine).run(kind, place, dist);
}

void GEOGCM(std::int32_t kind, const float* place, std::int32_t dist)
{
    if (!kindSelected(zoneState().list))
        (void)GEOGCMS(0);
    ZoneListBuilder("GEOGCM").run(kind, place, dist);
}

std::int32_t GEOCOM(std::int32_t kind, const float* place, std::int32_t dist)
{
    const std::int32_t status = GEOZSEL(4);
    if (status != 0) {
        ZoneList& z = zoneState().list;
        z.zoneCount = 0;  // the last kind's list is not kind 4's
        z.zoneDefaults = z.zoneHeaderValues;
        return status;
    }
    ZoneListBuilder("GEOCOM").run(kind, place, dist);
    return status;
}

bool zoneHolds(const ZoneList& z, std::size_t k, Point p)
{
    return GEOPIA(p, z.zoneWindow[k], z.zonePoints.data() + 2 * (z.zoneFirst[k] - 1), z.zonePointCount[k]);
}

float GEOGCP2(Point p)
{
    const ZoneList& z = zoneState().list;
    const auto onLand = [&] { return !isBlank(GEOPLC2(p)); };
    for (std::size_t k = 0; k < std::size_t(z.zoneCount); ++k) {
        if (!zoneHolds(z, k, p))
            continue;
        const auto& v = z.zoneValues[k];
        return v[0] == v[1] ? v[0] : (onLand() ? v[0] : v[1]);
    }
    return onLand() ? z.zoneDefaults[0] : z.zoneDefaults[1];
}

float GEOGCP(Point p)
{
    const float place[2] = {p.lon, p.lat};
    GEOGCM(std::int32_t(MapKind::Circle), place, 0);
    return GEOGCP2(p);
}

std::string zoneCode(float value, Point p)
{
    constexpr float d = kPi / 180;
    constexpr float minute = d / 60;
    static const Window kCodeWindows[] = {
        {-999 * d, -30 * d, 999 * d, 30 * d},
        {27 * d, 41 * d, 42 * d, 47 * d},
        {-(5 * d + 20 * minute), 30 * d, 0, 41 * d},
        {0, 30 * d, 37 * d, 46 * d},
    };
    if (value == 1.0f) {
        const bool inWindow = std::any_of(std::begin(kCodeWindows), std::end(kCodeWindows),
                                          [&](const Window& w) { return pointInWindow(p, w); });
        return inWindow ? "C " : "B ";
    }
    return value == 3.0f ? "A1" : "A2";
}

std::string GEOCOP2(Point p)
{
    return zoneCode(GEOGCP2(p), p);
}

std::string GEOCOP(Point p)
{
    const float place[2] = {p.lon, p.lat};
    (void)GEOCOM(std::int32_t(MapKind::Circle), place, 0);
    return GEOCOP2(p);
}

ZoneLine nextZoneLine(ZoneIterator which, std::int16_t unit, const Window& w, std::int32_t capacity, float* points)
{
    const WalkMember& member = kWalkMembers[std::size_t(which)];
    ZoneWalk& walk = zoneState().walks[std::size_t(which)];
    const ZoneList& z = zoneState().list;
    if (member.alwaysSelect || !kindSelected(z))
        (void)member.select(member.alwaysSelect ? 1 : 0);
    ZoneLine result;
    if (z.zoneAbsent) {
        walk.currentLine = 0;
        result.endFlag = -1;
        return result;
    }
    if (walk.currentLine == 0 || walk.startLine != z.zoneFirstLine) {
        walk.currentLine = z.zoneFirstLine;
        walk.startLine = z.zoneFirstLine;
        walk.lastLine = std::int32_t(std::clamp<std::int64_t>(std::int64_t(z.zoneFirstLine) + z.zoneLineCount - 1,
                                                               INT32_MIN, INT32_MAX));
        walk.count = readZoneLine(member.routine, walk.currentLine, walk.buffer.data(), kLineBufferPoints);
        walk.position = 1 - kZoneEntryPoints;
    }
    ZoneEntry e{};
    walk.position += kZoneEntryPoints;
    for (;;) {
        while (!hasEntry(walk.count, walk.position)) {
            if (walk.currentLine >= walk.lastLine) {
                walk.currentLine = 0;
                result.endFlag = -1;
                return result;
            }
            ++walk.currentLine;
            walk.count = readZoneLine(member.routine, walk.currentLine, walk.buffer.data(), kLineBufferPoints);
            walk.position = 1;
        }
        e = entryAt(walk.buffer.data(), walk.position);
        if (windowsOverlap(e.window, w))
            break;
        walk.position += kZoneEntryPoints;
    }
    result.values = e.values;
    if (capacity < kLineBufferPoints) {
        float* buffer = lineBuffer();
        const std::int32_t n = readZoneLine(member.routine, e.lineId, buffer, kLineBufferPoints);
        result.excess = std::max(n - capacity, 0);
        result.count = std::max(std::min(n, capacity), 0);
        std::copy_n(buffer, 2 * result.count, points);
    } else {
        result.count = readZoneLine(member.routine, e.lineId, points, capacity);
    }
    convertUnits(unit, points, std::int16_t(std::min(result.count, 32767)));
    return result;
}

}  // namespace geo
