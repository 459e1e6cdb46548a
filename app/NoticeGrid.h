#pragma once

#include "AppState.h"

#include <array>
#include <string>
#include <vector>

namespace app {

inline constexpr int kGridColumns = 11;
using GridRow = std::array<std::string, kGridColumns>;

/// The column titles of the notice grid.
const std::array<const char*, kGridColumns>& gridColumnNames();

/// The grid query: every notice row, in key order, with its coordinates as one text each.
std::string ntcGridQuery();

/// Runs the grid query; false with the connection's error on failure.
[[nodiscard]] bool loadGridRows(db::Connection& conn, std::vector<GridRow>& rows);

/// Rebuilds the notice list from the grid's rows and resets the current notice.
void buildNtcIndex(AppState& state, const std::vector<GridRow>& rows);

/// The place of a key in the notice list, or kNotFound.
std::int32_t findNtcKeyIndex(const AppState& state, std::int32_t terrakey);

}  // namespace app
