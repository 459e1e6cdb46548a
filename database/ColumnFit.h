#pragma once

#include "database/sqlite/Connection.h"
#include "notice/NoticeFields.h"

#include <string_view>

// Whether a value can be stored in the column that holds its field. The text columns hold any
// text; a number column refuses a text that the engine cannot turn into its type, and the
// whole notice operation then fails.
namespace database {

enum class ColumnType { Text, Integer, Real };

/// The type of the column that stores part `part` of `field` in the open database, by the
/// database's own schema; Text for a field no table stores or a column the schema lacks.
ColumnType columnTypeOf(db::Connection& conn, const notice::NoticeField& field, int part = 0);

/// Whether a column of the type holds `text` once the engine converts it: any text for Text, a
/// numeric text for Real, a numeric text whose value is a whole 64-bit number for Integer. An
/// empty text stores Null and always fits.
bool columnHolds(ColumnType type, std::string_view text);

}  // namespace database
