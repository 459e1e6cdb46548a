#pragma once

#include "core/Constants.h"
#include "geometry/Windows.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The selections that GEODCW and GEODWD set up, the walks of GEOCIW and GEOLIW over them, and
// the fixed lines that bound the three regions.
namespace geo {

struct RegionLine {
    std::int32_t id;
    bool reversed;  // the group runs the line backwards
};

struct RegionGroup {
    std::int16_t region;
    std::span<const RegionLine> lines;
};

/// The six groups of lines that bound the three regions, in order.
std::span<const RegionGroup> regionGroups();
/// The region (1 to 3) that a code names ("R1 ", "RG1", "XR1", ...); 0 for any other code.
std::int16_t regionOf(std::string_view code);
/// The fixed line list that the code "R13" puts in force.
std::span<const std::int32_t> fixedLineList();

// countryWindow: the country or region whose outlines GEOCIW hands out, and its window.
struct CountryWindow {
    Window window{};
    std::array<float, 10> outline{};  // (west, south), (west, north), (east, north), (east, south), closed
    std::int16_t region = 0;
    std::string code = "   ";
    bool empty = true;  // no outline was made
    // The outlines: per outline its ring lines, their direction ('1' as stored) and kind.
    struct Ring {
        std::vector<std::int32_t> lineId;
        std::vector<char> direction, kind;
    };
    std::vector<Ring> rings;
};

// GEOQ31: the request whose lines GEOLIW hands out.
struct LineRequest {
    Window window{-kPi, -kHalfPi, kPi, kHalfPi};
    float distanceKm = 0;  // thinning tolerance
    std::vector<std::string> countries;  // empty: all
    std::vector<std::int32_t> fixedLines;
    std::int16_t fixedFlag = 0;  // 1: walk fixedLines instead of the index file
    std::int16_t workCount = 0;  // fixed lines walked
};

// GEOLIW's walk of the index file.
struct LineWalk {
    bool started = false;
    std::vector<std::int32_t> handedOut;  // lines that may come twice, handed out once
};

// GEOCIW's walk: the next outline, and the pieces of the current one still to hand out.
struct OutlinePiece {
    std::vector<float> points;
    char kind = ' ';
};

struct OutlineWalk {
    std::size_t nextRing = 0;
    std::vector<OutlinePiece> pending;
    std::size_t nextPiece = 0;
};

struct RegionState {
    bool countryWindowArmed = false;
    bool lineRequestArmed = false;
    CountryWindow countryWindow;
    LineRequest lineRequest;
    LineWalk lineWalk;
    OutlineWalk outlineWalk;
    std::vector<Window> regionLineWindows;  // GEOCWI's, made once and kept

    /// WDBUNIT's reset: neither selection armed, the request and walks as at load.
    void reset();
};

}  // namespace geo
