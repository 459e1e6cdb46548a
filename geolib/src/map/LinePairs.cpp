#include "LinePairs.h"

#include "state/LibraryState.h"
#include "core/Utilities.h"

#include <algorithm>
#include <span>
#include <string_view>

namespace geo {
namespace {

struct LinePair {
    std::string_view symbol1, symbol2;
    std::int32_t line1, line2;
};

constexpr LinePair kLinePairs[kLinePairCount] = {
    {"LSO", "AFS", 4000250, 4000160}, {"SMR", "I  ", 3005095, 3005110}, {"CVA", "I  ", 3005096, 3005110},
    {"CVA", "I  ", 3005097, 3005110}, {"CVA", "I  ", 3005098, 3005110}, {"MWI", "MOZ", 4115554, 4000170},
    {"MWI", "MOZ", 4115555, 4000170}, {"D  ", "SUI", 3098368, 3004180}, {"E  ", "F  ", 3098377, 3002840},
    {"UZB", "KGZ", 7350450, 5003497}, {"UZB", "KGZ", 7350451, 5003497}, {"UZB", "KGZ", 7350452, 5003497},
    {"RUS", "RUS", 5005570, 5000300}, {"RUS", "RUS", 5002390, 5000300}, {"KAZ", "KAZ", 5002400, 5005851},
    {"S  ", "S  ", 3054052, 3001340}, {"S  ", "S  ", 7350477, 3001340}, {"GHA", "GHA", 4001650, 4001220},
    {"NCG", "NCG", 1007620, 1007460}, {"USA", "USA", 1003050, 1005600},
};

bool holdsLine(const CurrentMap& map, int outline, std::int32_t lineId)
{
    const auto& o = map.outlines;
    const auto* first = map.rings.ringLineId.data() + o.ringFirst[outline] - 1;
    const auto* last = map.rings.ringLineId.data() + o.ringLast[outline];
    return contains(std::span(first, last), lineId);
}

bool hasSymbol(const CurrentMap& map, int outline, std::string_view symbol)
{
    return fromSymbol(map.outlines.outlineSymbol[outline]) == symbol;
}

void mark(CurrentMap& map, int outline, int by)
{
    auto& marks = map.outlines.outlinePairMarks[outline];
    (marks[0] == 0 ? marks[0] : marks[1]) = std::int16_t(by + 1);
}

}  // namespace

bool isPairLine(std::int32_t lineId)
{
    return std::any_of(std::begin(kLinePairs), std::end(kLinePairs),
                       [&](const LinePair& p) { return p.line1 == lineId; });
}

void GEOLNPR(std::int32_t mode, std::int32_t lineId, std::int16_t& result)
{
    if (mode < 2) {
        result = isPairLine(lineId) ? 1 : 0;
        return;
    }
    CurrentMap& map = libraryState().map;
    const int count = map.outlines.outlineCount;
    const bool enclaves = mode == 2;
    const int from = enclaves ? 0 : kEnclavePairs;
    const int to = enclaves ? kEnclavePairs : kLinePairCount;
    for (int e = from; e < to; ++e) {
        const LinePair& p = kLinePairs[e];
        for (int f = 0; f < count; ++f) {
            if (!hasSymbol(map, f, p.symbol1) || !holdsLine(map, f, p.line1))
                continue;
            for (int m = 0; m < count; ++m) {
                if (m == f || !hasSymbol(map, m, p.symbol2))
                    continue;
                if (enclaves && (holdsLine(map, m, p.line1) || holdsLine(map, m, p.line2))) {
                    mark(map, m, f);
                } else if (!enclaves && holdsLine(map, m, p.line2)) {
                    mark(map, m, f);
                    break;
                }
            }
            if (!enclaves)
                map.outlines.outlineSymbol[f] = toSymbol("");
        }
    }
}

}  // namespace geo
