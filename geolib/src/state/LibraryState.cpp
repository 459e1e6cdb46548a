#include "state/LibraryState.h"

#include "core/Fatal.h"
#include "core/FixedText.h"

namespace geo {

LibraryState& libraryState()
{
    static LibraryState state;
    return state;
}

void WDBUNIT(std::int32_t unit)
{
    LibraryState& s = libraryState();
    if (s.frame.initialised)
        return;
    s.frame.initialised = true;
    ErrorRecord& e = errorRecord();
    toFixed(e.routineName, 12, "");
    for (auto& line : e.messageLines)
        toFixed(line, 60, "");
    e.errorKind = std::int32_t(FatalKind::FreeLines);
    if (unit == kPointUnit || unit == kReservedUnit)
        fatalMessage("WDBUNIT", " 75/76 ARE RESTRICTED UNIT-NUMBERS");
    s.frame.indexUnit = unit;
    // The parts WDBUNIT resets, in this order.
    s.indexFile.reset();
    s.map.reset();
    s.areaLists.reset();
    s.zones.reset();
    s.regions.reset();
    s.frame.optionString.fill('0');
}

}  // namespace geo
