#pragma once

#include "distance/NearestPoints.h"
#include "files/CountryFile.h"
#include "files/IndexFile.h"
#include "files/PointFile.h"
#include "map/AreaLists.h"
#include "map/BorderLines.h"
#include "map/MapRecords.h"
#include "map/Radial.h"
#include "map/RegionRecords.h"
#include "map/ZoneLists.h"
#include "zones/NamedLists.h"
#include "zones/ZoneTables.h"

#include <array>
#include <cstdint>

// The state the library's routines share for the life of the process: one aggregate with a
// part for each group of routines. WDBUNIT resets the parts it names, in the order it names them.
namespace geo {

inline constexpr std::int32_t kPointUnit = 75;       // "GEOPNT1.BIN"
inline constexpr std::int32_t kReservedUnit = 76;    // opened by no routine
inline constexpr std::int32_t kPoint2Unit = 77;      // "GEOPNT12.BIN"
inline constexpr std::int32_t kLocalIndexUnit = 78;  // "LCLIDX1.BIN"
inline constexpr std::int32_t kLocalPointUnit = 79;  // "LCLPNT1.BIN"

struct FrameState {
    bool initialised = false;             // WDBUNIT has run
    std::int32_t indexUnit = 0;           // unit of the index file; 0 until WDBUNIT
    std::array<char, 20> optionString{};  // holds no "0" until WDBUNIT or GEOSET writes it
};

struct LibraryState {
    FrameState frame;
    IndexFileState indexFile;  // reset by WDBUNIT
    PointFileState geoPoints;
    PointFileState geoPoints2;
    PointFileState localPoints;
    LocalAreaIndex localIndex;
    CountryFileState countryFile;
    CountryTables countryTables;
    CurrentMap map;  // reset by WDBUNIT
    AreaLists areaLists;  // reset by WDBUNIT
    ZoneState zones;  // reset by WDBUNIT
    FixedZoneState fixedZones;  // kept for the process
    RadialState radial;  // the radial search and its marks beside the maps
    BorderLineList borderLines;
    NearestPointStore nearest;  // GEOQ49
    NamedListState namedLists;  // kept for the process
    RegionState regions;  // reset by WDBUNIT
};

LibraryState& libraryState();

/// The first call initialises the library; later calls change nothing. Units 75 and 76 are
/// refused with a fatal error.
void WDBUNIT(std::int32_t unit);

}  // namespace geo
