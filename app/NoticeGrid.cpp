#include "NoticeGrid.h"

#include <algorithm>
#include <charconv>

namespace app {

void buildNtcIndex(AppState& state, const std::vector<GridRow>& rows)
{
    state.ntcCount = std::int32_t(rows.size());
    state.currentNtcIndex = 0;
    state.currentTerrakey = 0;
    state.ntcIndexList.clear();
    for (const GridRow& row : rows) {
        std::int32_t key = 0;
        std::from_chars(row[0].data(), row[0].data() + row[0].size(), key);
        state.ntcIndexList.push_back(key);
    }
}

std::int32_t findNtcKeyIndex(const AppState& state, std::int32_t terrakey)
{
    const auto it = std::find(state.ntcIndexList.begin(), state.ntcIndexList.end(), terrakey);
    return it == state.ntcIndexList.end() ? kNotFound : std::int32_t(it - state.ntcIndexList.begin());
}

}  // namespace app
