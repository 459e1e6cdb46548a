#pragma once

#include "geometry/Windows.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The named lists of GEOPNT12.BIN: the appendix 27 areas of three kinds and the CIRAF zones.
// Line 3 is their directory; each list's lines hold entries of four points: the outline's line
// id, its point count and an 18-character name.
namespace geo {

struct ListRange {
    std::int32_t firstLine = 0;
    std::int32_t lineCount = 0;
};

// CIRAFZP's zones: every outline in memory with its window.
struct CirafZones {
    bool ready = false;
    std::vector<Window> windows;
    std::vector<std::int64_t> first;  // index of the first point, from 0
    std::vector<std::int32_t> counts;
    std::vector<std::int32_t> numbers;
    std::vector<float> points;
};

struct NamedListState {
    bool areaDirectoryRead = false;  // AP27AER
    std::array<ListRange, 3> areaLists{};
    bool cirafListRead = false;      // CIRAFZL
    ListRange cirafList;
    CirafZones zones;                // CIRAFZP
    std::int32_t failingAllocation = 0;  // the allocation from now that fails, for tests
    std::vector<float> lineBuffer;
};

/// The hook through which tests make the n-th allocation of the lists from now fail (once).
void failListAllocation(std::int32_t n);

struct OutlineFetch {
    std::int32_t count = 0;
    std::int32_t leftOut = 0;  // points with no room; the full count when no room could be found
};

/// The outline (line id and its listed point count) in `unit` into at most `capacity` points;
/// a missing line is a fatal error of the routine.
OutlineFetch fetchOutline(std::string_view routine, std::int32_t lineId, std::int32_t pointCount, std::int16_t unit,
                          std::int32_t capacity, float* points);

struct AreaListResult {
    std::int32_t count = 0;
    std::int32_t overflow = 0;
};

/// AP27AER: request 1 lists the kind's areas (18 characters each into `codes`, point counts
/// into `values`), request 2 gives the outline of the area named by the first 18 characters of
/// `codes`. A kind, request or capacity out of range gives 0 and 0.
AreaListResult AP27AER(std::int32_t kind, std::int32_t request, std::int16_t unit, std::int32_t capacity, char* codes,
                       std::int32_t* values, float* points);

struct CirafOutline {
    std::int32_t count = 0;
    float refLon = 0;
    float refLat = 0;
    std::int32_t leftOut = 0;
    std::int32_t status = 0;  // 1 an unreadable directory, name or point; 3 the zone is not listed
};

/// CIRAFZL: the outline of CIRAF zone `zone` in `unit` and its reference point.
CirafOutline CIRAFZL(std::int32_t zone, std::int16_t unit, std::int32_t capacity, float* points);

struct CirafZone {
    std::int32_t zone = 0;
    std::int32_t status = 0;  // 1 an unreadable directory or name, 2 no memory for the zones
};

/// CIRAFZP: the CIRAF zone holding the point; 74 or 75 beyond 80 degrees, else 0.
CirafZone CIRAFZP(Point p);

}  // namespace geo
