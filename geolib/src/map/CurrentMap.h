#pragma once

#include "files/IndexFile.h"
#include "geometry/Windows.h"
#include "map/MapRecords.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// The library's one current map: the outlines of the administrations near a circle or in a
// window, kept while later requests lie within it.
namespace geo {

/// A limit of the map's records, as its overflow report names it.
struct MapLimit {
    std::string_view name;
    std::int32_t value;
    std::size_t width;  // columns of the value in the report
    std::string_view record;
};

inline constexpr MapLimit kAreaLinesLimit{"MAXLIN", kMaxAreaLines, 3, "GEOQQ6"};
inline constexpr MapLimit kMapCodesLimit{"MAXCTY", kMaxMapCodes, 2, "GEOQQ6"};
inline constexpr MapLimit kRingLinesLimit{"MAXBRD", kMaxRingLines, 3, "GEOQQ8"};
inline constexpr MapLimit kOutlinesLimit{"MAXCUN", kMaxOutlines, 3, "GEOQQ7"};
inline constexpr MapLimit kReadLinesLimit{"MAXPOS", kMaxReadLines, 3, "GEOQQ7"};
inline constexpr MapLimit kOutlinePointsLimit{"MAXMAP", kMaxOutlinePoints, 5, "GEOQQ7"};
inline constexpr MapLimit kPiecesLimit{"MAXLI2", kMaxPieces, 3, "GEOQQ9"};
inline constexpr MapLimit kPiecePointsLimit{"MAXCL2", kMaxPiecePoints, 5, "GEOQQ9"};

/// The first line of a limit's overflow report: " INCREASE  name/value/  IN record".
std::string increaseLine(const MapLimit& limit);

/// GEOMAP: kind 1 a circle (place: a point, dist: radius in km, its absolute value, at most
/// 20020), kind 2 a window (place: a window). Rebuilds the map unless it holds the request;
/// another kind is a fatal error, unless the frozen-map option keeps a built map.
void GEOMAP(std::int32_t kind, const float* place, std::int32_t dist);
/// GEOINM: GEOMAP with a circle.
void GEOINM(Point p, std::int32_t dist);

/// GEOSL: the area lines and administrations of the map around the centre, the radius growing
/// by 100 km until a line is in range or 20000 km is reached (an empty map).
void GEOSL(Point centre, std::int32_t radiusKm);
/// GEOBRD: the outlines of the administrations GEOSL chose, their pieces and windows.
void GEOBRD();

struct MapLine {
    bool found = false;
    std::int32_t count = 0;
    std::int32_t status = 0;  // 0 outside the window, 1 partly inside (clipped), 2 wholly inside
    Window window{};
};

/// GEOMLIN: reads a line into `points` (capacity in points) and fits it to the window; a line
/// outside it is kept as its two end points.
MapLine GEOMLIN(std::string_view symbol, const Window& w, float* points, std::int32_t capacity, std::int32_t lineId);

/// The window of an index entry.
Window entryWindow(const IndexEntry& e);
/// The entry's data: two points of its line, used as its ends.
std::array<Point, 2> entryEnds(const IndexEntry& e);

/// GEOPIM: true when the point lies in the current map's circle or window; false with no map.
bool GEOPIM(Point p);

/// True when a GEOMAP request (a window, or the square around a circle widened by 10 km) lies
/// wholly in the current map's window, so that a map of its own would not be smaller.
bool requestInMap(std::int32_t kind, const float* place, std::int32_t dist);

}  // namespace geo
