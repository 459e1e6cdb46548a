#include "app/core/NoticeGrid.h"

#include <algorithm>
#include <charconv>

namespace app {

void buildNtcIndex(AppState& state, const GridRows& rows)
{
    state.ntcCount = std::int32_t(rows.size());
    state.currentNtcIndex = 0;
    state.currentTerrakey = 0;
    state.ntcIndexList.clear();
    state.ntcIndexList.reserve(rows.size());
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const std::string_view text = rows.cell(row, 0);
        std::int32_t key = 0;
        std::from_chars(text.data(), text.data() + text.size(), key);
        state.ntcIndexList.push_back(key);
    }
}

std::int32_t findNtcKeyIndex(const AppState& state, std::int32_t terrakey)
{
    const auto it = std::find(state.ntcIndexList.begin(), state.ntcIndexList.end(), terrakey);
    return it == state.ntcIndexList.end() ? kNotFound : std::int32_t(it - state.ntcIndexList.begin());
}

}  // namespace app
