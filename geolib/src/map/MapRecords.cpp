#include "MapRecords.h"

#include <algorithm>

namespace geo {

Symbol toSymbol(std::string_view text)
{
    Symbol s{' ', ' ', ' '};
    std::copy_n(text.begin(), std::min(text.size(), s.size()), s.begin());
    return s;
}

std::string fromSymbol(const Symbol& s)
{
    return std::string(s.begin(), s.end());
}

void CurrentMap::reset()
{
    const Point centre = state.mapCentre;
    state = MapState{};
    state.mapCentre = centre;
    areas.areaLineCount = 0;
    areas.mapCodeCount = 0;
    outlines.outlineCount = 0;
    outlines.readLineCount = 0;
    rings.ringLineCount = 0;
    pieces.pieceCount = 0;
}

}  // namespace geo
