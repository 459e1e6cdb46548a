#pragma once

#include "app/core/AppState.h"
#include "database/NoticeGridQuery.h"

#include <vector>

namespace app {

using database::GridRows;
using database::gridColumnNames;
using database::kGridColumns;
using database::loadGridRows;

/// Rebuilds the notice list from the grid's rows and resets the current notice.
void buildNtcIndex(AppState& state, const GridRows& rows);

/// The place of a key in the notice list, or kNotFound.
std::int32_t findNtcKeyIndex(const AppState& state, std::int32_t terrakey);

}  // namespace app
