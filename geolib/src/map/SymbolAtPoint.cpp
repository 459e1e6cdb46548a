#include "SymbolAtPoint.h"

#include "state/LibraryState.h"
#include "map/CurrentMap.h"
#include "geometry/PointInPolygon.h"

#include <cmath>

namespace geo {

bool outlineHoldsPoint(const OutlineRecord& o, std::size_t k, Point p)
{
    const float* first = o.outlinePoints.data() + 2 * (o.outlineFirst[k] - 1);
    return GEOPIA(p, o.outlineWindow[k], first, o.outlineLast[k] - o.outlineFirst[k] + 1);
}

std::string GEOPLC2(Point p)
{
    if (!std::isfinite(p.lon) || !std::isfinite(p.lat))
        return "   ";  // no place, so in no country
    if (p.lat > kNoSymbolLat)
        return "   ";
    if (p.lat < kAntarcticLat)
        return "ATA";
    OutlineRecord& o = libraryState().map.outlines;
    std::string symbol = "   ";
    for (std::int32_t position = 1; position <= o.outlineCount; ++position) {
        const auto k = std::size_t(o.outlineSeq[std::size_t(position - 1)] - 1);
        if (!outlineHoldsPoint(o, k, p))
            continue;
        symbol = fromSymbol(o.outlineSymbol[k]);
        const std::int16_t enclave = o.outlinePairMarks[k][0];
        const bool ends = enclave == 0 || outlineHoldsPoint(o, std::size_t(enclave - 1), p);
        if (enclave != 0 && ends)
            symbol = fromSymbol(o.outlineSymbol[std::size_t(enclave - 1)]);
        if (ends) {
            GEOFRNT(o.outlineSeq.data(), position);
            return symbol;
        }
    }
    return symbol;
}

std::string GEOPLC(Point p)
{
    GEOINM(p, 0);
    return GEOPLC2(p);
}

}  // namespace geo
