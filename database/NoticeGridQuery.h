#pragma once

#include "database/sqlite/Connection.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The rows of the notice grid, as the database gives them.
namespace database {

inline constexpr int kGridColumns = 11;
using GridRow = std::array<std::string, kGridColumns>;

/// The column titles of the notice grid.
const std::array<const char*, kGridColumns>& gridColumnNames();

/// The grid query: every notice row, in key order, with its coordinates as one text each.
std::string ntcGridQuery();

/// Runs the grid query; false with the connection's error on failure.
[[nodiscard]] bool loadGridRows(db::Connection& conn, std::vector<GridRow>& rows);

/// The stored contour notices, which the grid does not list (placeholder contours made for
/// sub-areas do not count); false with the connection's error on failure.
[[nodiscard]] bool countContourNotices(db::Connection& conn, std::int64_t& count);

}  // namespace database
