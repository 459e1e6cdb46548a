#pragma once

#include "database/sqlite/Connection.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The rows of the notice grid, as the database gives them.
namespace database {

inline constexpr int kGridColumns = 11;

// The grid's rows as the grid shows them: every cell's text, row after row, in one block, so
// that a large list costs no allocation per row or cell and moves whole into the grid's model.
class GridRows {
public:
    std::size_t size() const { return m_ends.size() / kGridColumns; }
    bool empty() const { return m_ends.empty(); }
    /// The text of a cell; `row` below size(), `column` below kGridColumns.
    std::string_view cell(std::size_t row, int column) const;

    void clear();
    /// Adds the next cell: a row is complete after kGridColumns of them.
    void add(std::string_view text);

private:
    std::string m_text;
    std::vector<std::size_t> m_ends;  // where each cell's text ends in m_text
};

/// The column titles of the notice grid.
const std::array<const char*, kGridColumns>& gridColumnNames();

/// The grid query: every notice row, in key order, with its coordinates as one text each.
std::string ntcGridQuery();

/// Runs the grid query; false with the connection's error on failure.
[[nodiscard]] bool loadGridRows(db::Connection& conn, GridRows& rows);

/// The stored contour notices, which the grid does not list (placeholder contours made for
/// sub-areas do not count); false with the connection's error on failure.
[[nodiscard]] bool countContourNotices(db::Connection& conn, std::int64_t& count);

}  // namespace database
