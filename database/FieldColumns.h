#pragma once

#include "database/sqlite/RowWriter.h"
#include "notice/NoticeFields.h"

#include <string>

// Storing the notice's fields that are a plain copy of a column, as the table of fields lists
// them. The rules that are not a plain copy stay with the code that stores each table.
namespace database {

/// The table that stores the fields of `table`; nullptr for fields stored in no table of their own.
inline const char* tableName(notice::Table table)
{
    switch (table) {
    case notice::Table::Terra: return "fmtv_terra";
    case notice::Table::Target: return "fmtv_target";
    case notice::Table::Elements: return "zel_elements";
    case notice::Table::None: break;
    }
    return nullptr;
}

/// Calls `visit(field, column, value)` for every column of `table`, in the table's order.
template <class Visit>
void forEachColumn(notice::Table table, const notice::NoticeRecord& rec, Visit visit)
{
    for (const notice::NoticeField& f : notice::noticeFields()) {
        if (f.table != table)
            continue;
        for (std::size_t part = 0; part < f.columns.size() && f.columns[part]; ++part)
            visit(f, f.columns[part], notice::valueOf(f, rec, int(part)));
    }
}

/// Adds every non-empty field of `table` to the row; `rule(field, value)` gives the text stored,
/// "" for none.
template <class Rule>
void setColumns(db::RowWriter& row, notice::Table table, const notice::NoticeRecord& rec, Rule rule)
{
    forEachColumn(table, rec, [&](const notice::NoticeField& f, const char* column, const std::string& value) {
        row.setIfNotEmpty(column, rule(f, value));
    });
}

}  // namespace database
