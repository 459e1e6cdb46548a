#pragma once

#include <cstdint>

// The input of entry_point_fuzz: calls one after another, each a call byte (modulo kCallCount)
// followed by its arguments, raw little-endian: reals 4 bytes, counts 2, texts as they stand.
namespace geofuzz {

enum class Call : std::uint8_t {
    Map,           // GEOMAP: kind i2 (1 circle, else window), 4 reals, radius i2; then GEOPLC at reals 1, 2
    FlatDistance,  // GEODST3: 4 reals
    Distances,     // GEODSTR, GEOPPDA, LMF90R4, GEOPDAP: 4 reals
    Thin,          // GEOSM1: tolerance real, least i2, count i2 (to 64), the points
    Move,          // GEOMV8: shift i2, first i2, last i2 on an array of 64 points
    Arrays,        // GEOCP8B, GEOSWP8, GEORDXX, GEODBLD, GEOCDCP: unit i2, count i2 (to 64), the points
    Lines,         // GEOADP, GEOGCL, GEOAXP, GEOLOP: mode i2, step real, count i2 (to 64), 4 reals
    Figures,       // GEOFIGC, GEOSQR: 4 reals, sides i2
    Outlines,      // GEOWND, GEOPIA2, GEOC1L, GEOCTW2, GEOCTW, GEODTL: 4 reals (window), count i2 (to 64), the points
    CoordText,     // CDGRAD4, GEODGRD, CRDCHK1, CRDCHK2 of 15 characters, CRDUNPN of 80
    PackedReals,   // GEOR3CH: mode i2, count i2 (to 16), the reals or the characters
    Count
};

inline constexpr int kCallCount = int(Call::Count);
inline constexpr int kMostPoints = 64;

}  // namespace geofuzz
