#include "ColumnFit.h"

#include "FieldColumns.h"
#include "database/sqlite/Statement.h"
#include "notice/FieldUtils.h"
#include "platform/AsciiCase.h"
#include "platform/NumberText.h"

#include <cmath>

namespace database {

ColumnType columnTypeOf(db::Connection& conn, const notice::NoticeField& field, int part)
{
    const char* table = tableName(field.table);
    if (!table || part < 0 || std::size_t(part) >= field.columns.size() || !field.columns[std::size_t(part)])
        return ColumnType::Text;
    db::Statement st(conn, "SELECT type FROM pragma_table_info(?) WHERE name = ? COLLATE NOCASE");
    st.bind(1, table).bind(2, field.columns[std::size_t(part)]);
    if (st.step() != db::Step::Row)
        return ColumnType::Text;
    const std::string type = st.text(0);
    if (platform::equalsNoCase(type, "INTEGER"))
        return ColumnType::Integer;
    if (platform::equalsNoCase(type, "REAL"))
        return ColumnType::Real;
    return ColumnType::Text;
}

bool columnHolds(ColumnType type, std::string_view text)
{
    if (type == ColumnType::Text || text.empty())
        return true;
    const std::optional<double> value = platform::numericValue(text);
    if (!value)
        return false;
    if (type == ColumnType::Real)
        return true;
    // A whole number within 64 bits: 2^63 itself is out of range, while the digits of 2^63 - 1,
    // which a double rounds up to 2^63, are in.
    if (std::isfinite(*value) && *value == std::trunc(*value) && std::fabs(*value) < 0x1p63)
        return true;
    return platform::parseInteger(notice::trimmedView(text)).has_value();
}

}  // namespace database
