#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

// The fuzz targets' data folder and the small valid map in it. A target replaces one file with
// the fuzzed bytes and calls the library as a caller would.
namespace geofuzz {

inline constexpr std::int32_t kIslandLine = 1000101;  // a line of the islands that the seeds damage
inline constexpr float kIslandsWindow[4] = {0.0f, 0.0f, 0.3f, 0.3f};  // west, south, east, north

/// The valid map's files by name: "GEOIDX1.BIN", "GEOPNT1.BIN", "GEOPNT12.BIN", "LCLIDX1.BIN",
/// "LCLPNT1.BIN", "GEOCCD3.BIN".
const std::map<std::string, std::string>& mapFiles();

/// "GEOPNT1.BIN" with the latitude (or the longitude) of point 2 of kIslandLine replaced.
std::string damagedPointFile(float value, bool onLongitude);

/// Makes the folder the library reads, holding the valid map, and points the library at it.
void useValidMap();
/// Writes data file `name` into the folder the library reads; the folder is made, holding the
/// valid map, on first use.
void writeDataFile(const std::string& name, const std::string& bytes);

/// GEOMAP of the islands' window.
void mapIslands();
/// GEODWD of the islands' window, thinned at 5 km, then GEOLIW to the end (600 calls at most).
void walkIslandLines();

/// Runs `calls` on a library as fresh as in a new process: its state reset, WDBUNIT called. A
/// fatal report ends `calls` early and returns here.
void runFresh(const std::function<void()>& calls);

}  // namespace geofuzz
