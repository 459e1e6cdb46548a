#pragma once

#include "core/Constants.h"
#include "files/PointFile.h"
#include "geometry/Windows.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The regulatory zones of GEOPNT12.BIN: the selected kind, its zones cut to the current map,
// the zone value and code at a point, and iterators over a kind's zone lines.
namespace geo {

// The selected kind (GEOZSEL) and the zone list GEOQ162 of the current map.
struct ZoneList {
    std::int32_t zoneListGeneration = 0;  // the map generation the list was built for
    std::int32_t zoneFirstLine = 0;       // the kind's first zone index line
    std::int32_t zoneLineCount = 0;
    std::array<float, 2> zoneHeaderValues{};
    std::int32_t zoneListStamp = 0;
    std::int16_t zoneKind = 0;  // 0 when the kind is absent
    bool zoneAbsent = false;    // the selected kind is absent: no lines, no defaults
    std::int32_t owner = 0;     // 2 while the list belongs to the zone list routines
    std::int16_t zoneCount = 0;
    std::array<std::int32_t, kMaxZones> zoneLineId{};
    std::array<Window, kMaxZones> zoneWindow{};
    std::array<std::int32_t, kMaxZones> zoneFirst{}, zonePointCount{};  // zoneFirst from 1
    std::array<std::array<float, 2>, kMaxZones> zoneValues{};           // on land, at sea
    std::array<float, 2> zoneDefaults{};
    std::array<float, 2 * kMaxZonePoints> zonePoints{};
};

// One iterator's walk over the index lines of a kind.
struct ZoneWalk {
    std::int32_t currentLine = 0;  // 0: not started
    std::int32_t lastLine = 0;
    std::int32_t startLine = 0;  // zoneFirstLine when it started
    std::int32_t count = 0;      // points of the current index line
    std::int32_t position = 0;   // first point (from 1) of the last entry returned
    std::array<float, 2 * kLineBufferPoints> buffer{};
};

enum class ZoneIterator { Coordination, Kind, NewKind, RegionKind, Propagation, Count };

struct ZoneState {
    ZoneList list;
    std::array<ZoneWalk, std::size_t(ZoneIterator::Count)> walks{};

    /// WDBUNIT's reset: no kind selected, no list, every iterator not started.
    void reset();
};

/// GEOZSEL: selects kind |k| (0 means 1); returns 1 when the kind is absent, else 0. An absent
/// kind stays selected with no lines and defaults of 0: its lists, values and walks are empty.
std::int32_t GEOZSEL(std::int64_t k);
/// GEOGCMS: kind |k|, 0 gives 1.
std::int32_t GEOGCMS(std::int32_t k);
/// GEONZMS: kind |k + 9|, 0 gives 10.
std::int32_t GEONZMS(std::int32_t k);
/// GEORZMS: kind |k + 8|, 0 gives 9.
std::int32_t GEORZMS(std::int32_t k);
/// GEOPRMS: kind |k + 4|, 0 gives 5.
std::int32_t GEOPRMS(std::int32_t k);

/// GEOGCM: the current map for the request (as GEOMAP), then the zone list of the selected kind
/// (kind 1 when none is selected), rebuilt only when the map or kind changed.
void GEOGCM(std::int32_t kind, const float* place, std::int32_t dist);
/// GEOCOM: selects kind 4, then as GEOGCM; returns 1 with an empty list when kind 4 is absent.
std::int32_t GEOCOM(std::int32_t kind, const float* place, std::int32_t dist);
/// The zone list of the selected kind for the request, as GEOGCM builds it, its overflow
/// reported under `routine`.
void buildZoneList(std::string_view routine, std::int32_t kind, const float* place, std::int32_t dist);
/// True while a kind is selected (its first line or line count is not 0).
bool zoneKindSelected();

/// True when zone k (from 0) of the list holds the point.
bool zoneHolds(const ZoneList& z, std::size_t k, Point p);
/// GEOGCP2: the zone value at the point from the current list: the first zone holding it, its
/// land value in a country and its sea value elsewhere; outside every zone the defaults.
float GEOGCP2(Point p);
/// GEOGCP: GEOGCM with a circle of radius 0 at the point, then GEOGCP2.
float GEOGCP(Point p);
/// The 2-character code of zone value v at the point: "C " or "B " for 1.0, "A1" for 3.0,
/// else "A2".
std::string zoneCode(float value, Point p);
/// GEOCOP2: zoneCode of GEOGCP2 at the point.
std::string GEOCOP2(Point p);
/// GEOCOP: GEOCOM with a circle of radius 0 at the point, then GEOCOP2.
std::string GEOCOP(Point p);

struct ZoneLine {
    std::int32_t count = 0;
    std::int32_t excess = 0;
    std::array<float, 2> values{};  // on land, at sea
    std::int32_t endFlag = 0;       // -1 at the end of the kind's lines
};

/// GEOCOML and its twins: the next zone line of the iterator's kind whose window overlaps w, in
/// `unit` (1 radians, 2 degrees, 3 seconds of arc). At most `capacity` points are written; a
/// longer line gives the rest as excess. After the last line the end flag is -1 and the next
/// call starts again.
ZoneLine nextZoneLine(ZoneIterator which, std::int16_t unit, const Window& w, std::int32_t capacity, float* points);

}  // namespace geo
