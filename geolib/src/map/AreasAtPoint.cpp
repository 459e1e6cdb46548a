#include "AreasAtPoint.h"

#include "core/FixedText.h"
#include "state/LibraryState.h"
#include "map/AreaLists.h"
#include "map/SymbolAtPoint.h"

#include <optional>

namespace geo {
namespace {

constexpr std::string_view kUnknownArea = "???";  // after the country code: no area of it
constexpr std::string_view kOutsideArea = "++++++";
constexpr char kAnyCountry = '*';

struct ListShape {
    AreaStore store;
    AreaListOwner owner;
    std::size_t width;
};

ListShape shapeOf(SymbolList list)
{
    return list == SymbolList::Allotments ? ListShape{AreaStore::Allotments, AreaListOwner::Allotments, 6}
                                          : ListShape{AreaStore::Local, AreaListOwner::Local, 12};
}

const AreaList& areaList(SymbolList list)
{
    AreaLists& a = libraryState().areaLists;
    return list == SymbolList::Allotments ? a.allotments : a.local;
}

std::string padded(std::string_view text, std::size_t width)
{
    std::string s(text.substr(0, width));
    s.resize(width, ' ');
    return s;
}

// The symbol's area index in the list; -1 when no entry has the symbol.
std::int32_t areaOfSymbol(SymbolList list, const std::string& symbol)
{
    const AreaLookup found = list == SymbolList::Allotments ? GEOALL1(symbol) : LCLUNP1(symbol);
    return found.index > 0 ? found.index : -1;
}

}  // namespace

AreaLookup GEOALL1(std::string_view symbol)
{
    const AreaList& l = libraryState().areaLists.allotments;
    return findArea("GEOALL1", padded(symbol, 6), l.tableSymbol, l.tableAreaId, l.areaId);
}

AreaLookup GEOALL2(std::string_view symbol)
{
    const AreaIndex& x = libraryState().areaLists.allotmentIndex;
    return findArea("GEOALL2", padded(symbol, 6), x.tableSymbol, x.tableAreaId, x.areaId);
}

std::string areaSymbolAt(SymbolList list, Point p, const std::function<bool(std::int32_t area)>& tried)
{
    const ListShape shape = shapeOf(list);
    const AreaList& l = areaList(list);
    const OutlineSet set = storeOutlines(shape.store);
    std::optional<std::string> country;  // asked once, when needed
    auto countryHere = [&]() -> const std::string& {
        if (!country)
            country = GEOPLC2(p);
        return *country;
    };
    const std::string blanks(shape.width, ' ');
    for (std::int32_t i = 1; i <= set.count; ++i) {
        if (!tried(i) || !outlineHolds(set.outline(i), p))
            continue;
        const std::int16_t id = l.areaId[std::size_t(i - 1)];
        for (std::size_t t = 0; t < l.tableAreaId.size(); ++t) {
            if (l.tableAreaId[t] != id)
                continue;
            const std::string& symbol = l.tableSymbol[t];
            if (l.tableMarker[t] == kAnyCountry)
                return padded(symbol, shape.width);
            if (isBlank(countryHere()))
                return blanks;
            if (symbol.compare(0, 3, countryHere()) == 0)
                return padded(symbol, shape.width);
        }
    }
    return isBlank(countryHere()) ? blanks : padded(countryHere() + std::string(kUnknownArea), shape.width);
}

std::string symbolAtPoint(SymbolList list, Point p)
{
    return areaSymbolAt(list, p, [](std::int32_t) { return true; });
}

std::string symbolAtPointWithMap(SymbolList list, Point p)
{
    const float place[2] = {p.lon, p.lat};
    (list == SymbolList::Allotments ? ALLMAP : LCLMAP)(std::int32_t(MapKind::Circle), place, 0);
    return symbolAtPoint(list, p);
}

void areasAlongRadial(SymbolList list, const std::string* only, Point start, float distKm, float azimuthDeg,
                      Stretches& s, std::vector<std::string>& symbols)
{
    const ListShape shape = shapeOf(list);
    const std::int32_t area = only ? areaOfSymbol(list, padded(*only, shape.width)) : 0;
    const RadialFrame frame = radialStretches(start, distKm, azimuthDeg, 0, false,
                                              [&](float* points, std::int32_t room) {
                                                  return GEORADA(shape.store, area, points, room);
                                              },
                                              s);
    symbols.assign(std::size_t(s.count), std::string(shape.width, ' '));
    if (!frame.ready)
        return;
    const std::string outside = padded(kOutsideArea, shape.width);
    auto tried = [&](std::int32_t i) { return (area == 0 || i == area) && !passedOver(shape.store, i); };
    for (std::int32_t k = 1; k <= s.count; ++k) {
        std::string symbol = areaSymbolAt(list, GEORADT(k, s.points, s.distancesKm, s.count), tried);
        if (only && symbol.compare(3, 3, kUnknownArea) == 0)
            symbol = outside;
        symbols[std::size_t(k - 1)] = symbol;
    }
    // Neighbours with equal symbols become the later one.
    std::int32_t kept = 0;
    for (std::int32_t i = 0; i < s.count; ++i) {
        if (i + 1 < s.count && symbols[std::size_t(i)] == symbols[std::size_t(i + 1)])
            continue;
        setPoint(s.points, kept, pointOf(s.points, i));
        s.distancesKm[kept] = s.distancesKm[i];
        symbols[std::size_t(kept++)] = symbols[std::size_t(i)];
    }
    s.count = kept;
}

void countriesAlongRadial(Point start, float distKm, float azimuthDeg, std::int32_t mode, Stretches& s,
                          std::vector<std::string>& codes)
{
    const bool ready = radialStretches(start, distKm, azimuthDeg, mode, false, nullptr, s).ready;
    codes.assign(std::size_t(s.count), "   ");
    if (!ready)
        return;
    for (std::int32_t k = 1; k <= s.count; ++k)
        codes[std::size_t(k - 1)] = GEOCTPT(GEORADT(k, s.points, s.distancesKm, s.count), mode);
}

}  // namespace geo
