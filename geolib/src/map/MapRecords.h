#pragma once

#include "core/Constants.h"
#include "files/PointFile.h"
#include "geometry/Windows.h"

#include <array>
#include <cstdint>
#include <string>

// The current map and the shared records its builders fill. Counts, first and last are from 1,
// as the readers of the records (area search, distances, zones) count them.
namespace geo {

using Symbol = std::array<char, 3>;

Symbol toSymbol(std::string_view text);
std::string fromSymbol(const Symbol& s);

enum class MapKind : std::int16_t { None = 0, Circle = 1, Window = 2 };

struct MapState {
    Window mapWindow{kNoWindow, kNoWindow, kNoWindow, kNoWindow};
    Point mapCentre{0, 0};  // kept by the reset
    std::int32_t mapGeneration = 0;
    std::int16_t mapRadius = kNoRadius;
    MapKind mapKind = MapKind::None;
    std::int16_t kindLLinesOn = 0;
    std::int16_t holdsPairLine = 0;
    std::int16_t holdsKindLLine = 0;
    std::int16_t rebuildPending = 0;
    Symbol restrictSymbol{' ', ' ', ' '};  // its own storage, not the code list's last slot
};

// GEOQQ6: the area lines and administrations of the map.
struct AreaLineRecord {
    std::array<std::int32_t, kMaxAreaLines> areaLines{};
    std::int16_t areaLineCount = 0;
    std::array<Symbol, kMaxMapCodes> mapCodes{};
    std::int16_t mapCodeCount = 0;
};

// GEOQQ7: outlines, the lines read for them and their points.
struct OutlineRecord {
    std::array<Symbol, kMaxOutlines> outlineSymbol{};
    std::array<std::int16_t, kMaxOutlines> outlineFirst{}, outlineLast{};  // into outlinePoints
    std::array<std::int16_t, kMaxOutlines> ringFirst{}, ringLast{};        // into the ring lines
    std::array<Window, kMaxOutlines> outlineWindow{};
    std::array<std::array<std::int16_t, 2>, kMaxOutlines> outlinePairMarks{};
    std::array<std::int16_t, kMaxOutlines> outlineSeq{};
    std::int16_t outlineCount = 0;
    std::array<std::int32_t, kMaxReadLines> readLineId{};
    std::array<std::int16_t, kMaxReadLines> readFirst{}, readLast{};
    std::array<char, kMaxReadLines> readDirection{};
    std::int16_t readLineCount = 0;
    std::array<float, 2 * kMaxOutlinePoints> outlinePoints{};
};

// GEOQQ8: the lines of the outlines' rings.
struct RingLineRecord {
    std::array<std::int32_t, kMaxRingLines> ringLineId{};
    std::array<char, kMaxRingLines> ringDirection{}, ringKind{};
    std::int16_t ringLineCount = 0;
};

// GEOQQ9: pieces of at most 126 points with their own windows.
struct PieceRecord {
    std::array<std::int32_t, kMaxPieces> pieceLineId{};
    std::array<std::int16_t, kMaxPieces> pieceFirst{}, pieceLast{};  // into piecePoints
    std::array<Window, kMaxPieces> pieceWindow{};
    std::array<char, kMaxPieces> pieceCoastFlag{};
    std::array<std::int16_t, kMaxPieces> pieceCode1{}, pieceCode2{};
    std::array<std::int16_t, kMaxPieces> pieceSeq{};
    std::int16_t pieceCount = 0;
    std::array<float, 2 * kMaxPiecePoints> piecePoints{};
};

struct CurrentMap {
    MapState state;
    AreaLineRecord areas;
    OutlineRecord outlines;
    RingLineRecord rings;
    PieceRecord pieces;
    std::array<float, 2 * kLineBufferPoints> lineBuffer{};  // GEOQ91; lost on any library call

    /// WDBUNIT's reset: no map, no counts; the centre keeps its value.
    void reset();
};

}  // namespace geo
