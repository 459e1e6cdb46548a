#pragma once

#include "files/IndexFile.h"
#include "geometry/Windows.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The lists of allotment, local and coordination areas cut to the current map. They share one
// storage of windows and points; its owner tells which list it holds.
namespace geo {

enum class AreaListOwner : std::int32_t { None = 0, Allotments = 1, Coordination = 2, Local = 3 };

// An index of areas (their outline's line id and window) and the table of their entries, in
// index-file order: GEOQ25 of GEOAAIN, GEOQ26 of GEOCNDR, and the local index as LCLMAP reads it.
struct AreaIndex {
    bool loaded = false;
    std::vector<std::int16_t> areaId;
    std::vector<Window> areaWindow;
    std::vector<std::array<std::int16_t, 2>> areaValues;  // coordination areas only
    std::vector<std::int16_t> tableAreaId;
    std::vector<std::string> tableSymbol;
    std::vector<char> tableMarker;
};

// GEOQ15, GEOQ18, GEOQ16: one list; areaFirst counts points of the shared storage from 1.
struct AreaList {
    std::int32_t generation = 0;  // the map generation it was built for
    std::vector<std::int16_t> areaId, areaFirst, areaPointCount;
    std::vector<std::array<std::int16_t, 2>> areaValues;  // coordination areas only
    std::vector<std::int16_t> tableAreaId;
    std::vector<std::string> tableSymbol;
    std::vector<char> tableMarker;
    std::array<std::int32_t, 2> coordBounds{};

    void clear();
};

struct AreaLists {
    AreaIndex allotmentIndex;     // loaded once
    AreaIndex coordinationIndex;  // loaded once
    AreaIndex localIndex;         // the local region index, copied once
    AreaListOwner areaListOwner = AreaListOwner::None;
    std::vector<Window> areaWindow;  // per listed area of the owner's list
    std::vector<float> areaPoints;   // at most kAreaListPoints
    AreaList allotments, local, coordination;

    /// WDBUNIT's reset: no owner, empty lists; the indexes stay.
    void reset();
};

/// GEOAAIN: the allotment areas and their table from the index file, once per process.
void GEOAAIN();
/// GEOCNDR: the coordination areas from the index file, once per process.
void GEOCNDR();

/// ALLMAP, LCLMAP, CNDMAP: GEOMAP with the request, then the list cut to the map unless it is
/// current. An overflow ends the process with its report, or, while overflows are quiet,
/// leaves the list empty and the map to be rebuilt.
void ALLMAP(std::int32_t kind, const float* place, std::int32_t dist);
void LCLMAP(std::int32_t kind, const float* place, std::int32_t dist);
void CNDMAP(std::int32_t kind, const float* place, std::int32_t dist);

/// LCLUNP1: a 12-character area id in the local list's table.
AreaLookup LCLUNP1(std::string_view areaId);

/// GEO2AM: a window map around two point sets (counts in points) and two points; more than
/// 7001 points in all is a fatal error.
void GEO2AM(Point p1, std::int32_t count1, const float* points1, Point p2, std::int32_t count2,
            const float* points2);

}  // namespace geo
