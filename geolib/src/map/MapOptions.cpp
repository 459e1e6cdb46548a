#include "MapOptions.h"

#include "state/LibraryState.h"
#include "map/CurrentMap.h"

#include <algorithm>
#include <cstdlib>

namespace geo {
namespace {

constexpr Option kStoredOptions[] = {Option::RestrictSymbol, Option::QuietOverflow, Option::FrozenMap,
                                     Option::PairValuesInMemory, Option::KindXLines};

char& character(int n)
{
    return libraryState().frame.optionString[std::size_t(n - 1)];
}

}  // namespace

bool optionOn(Option option)
{
    return character(int(option)) != '0';
}

void GEOSET(std::int32_t option, std::int32_t& value)
{
    const std::int64_t n = std::llabs(std::int64_t(option));
    if (n > kOptionCount)
        return;
    if (option < 0) {
        value = character(int(n)) != '0' ? 1 : 0;
    } else if (option == 0) {
        libraryState().frame.optionString.fill('0');
        GEOSETL(0);
    } else if (option == int(Option::KindLLines)) {
        GEOSETL(value);
    } else if (std::find(std::begin(kStoredOptions), std::end(kStoredOptions), Option(n)) != std::end(kStoredOptions)) {
        character(int(n)) = value == 0 ? '0' : '1';
        if (Option(n) == Option::RestrictSymbol)
            libraryState().map.state.rebuildPending = 1;
    }
}

void GEOSET3(std::int32_t value, std::string_view symbol)
{
    GEOSET(int(Option::RestrictSymbol), value);
    libraryState().map.state.restrictSymbol = toSymbol(symbol);
}

void GEOSETL(std::int32_t flag)
{
    MapState& s = libraryState().map.state;
    const std::int16_t on = flag != 0 ? 1 : 0;
    if (on == s.kindLLinesOn)
        return;
    s.kindLLinesOn = on;
    if (s.mapKind != MapKind::None && (s.holdsPairLine != 0 || s.holdsKindLLine != 0)) {
        s.rebuildPending = 0;
        GEOSL(s.mapCentre, s.mapRadius);
        GEOBRD();
    }
}

void GEOVA1(std::int16_t item, std::int32_t& value)
{
    const MapState& s = libraryState().map.state;
    if (item == 1)
        value = s.mapGeneration;
    else if (item == 4)
        value = s.rebuildPending;
}

}  // namespace geo
