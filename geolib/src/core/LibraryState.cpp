#include "LibraryState.h"

#include "Fatal.h"
#include "FixedText.h"

#include <vector>

namespace geo {
namespace {

std::vector<ResetFunction>& resets()
{
    static std::vector<ResetFunction> registered;
    return registered;
}

}  // namespace

LibraryState& libraryState()
{
    static LibraryState state;
    return state;
}

ResetRegistration::ResetRegistration(ResetFunction reset)
{
    resets().push_back(reset);
}

void WDBUNIT(std::int32_t unit)
{
    LibraryState& s = libraryState();
    if (s.initialised)
        return;
    s.initialised = true;
    ErrorRecord& e = errorRecord();
    toFixed(e.routineName, 12, "");
    for (auto& line : e.messageLines)
        toFixed(line, 60, "");
    e.errorKind = 0;
    if (unit == kPointUnit || unit == kReservedUnit)
        fatalMessage("WDBUNIT", " 75/76 ARE RESTRICTED UNIT-NUMBERS");
    s.indexUnit = unit;
    for (const ResetFunction reset : resets())
        reset();
    s.optionString.fill('0');
}

}  // namespace geo
