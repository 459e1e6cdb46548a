#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace db {

class Connection;

// Adds or updates one row. Column and table names are compile-time texts; values are bound into
// a statement prepared once per table, operation and columns, and kept by the connection.
class RowWriter {
public:
    /// An INSERT into `table`, or, with `whereColumn`, an UPDATE of the rows whose
    /// `whereColumn` equals `whereValue`.
    static RowWriter insert(Connection& conn, const char* table);
    static RowWriter update(Connection& conn, const char* table, const char* whereColumn, std::int64_t whereValue);

    RowWriter& set(const char* column, std::int64_t value);
    RowWriter& set(const char* column, const std::string& value);
    /// Written only when the text is not empty (an unwritten column stays Null on insert).
    RowWriter& setIfNotEmpty(const char* column, const std::string& value);
    /// The text, or Null when it is empty.
    RowWriter& setOrNull(const char* column, const std::string& value);

    /// Runs the statement; false with the connection's error set on failure.
    [[nodiscard]] bool run();

private:
    using Value = std::variant<std::monostate, std::int64_t, std::string>;
    RowWriter(Connection& conn, const char* table, const char* whereColumn, std::int64_t whereValue);
    std::string sqlText() const;

    Connection& m_conn;
    const char* m_table;
    const char* m_whereColumn;
    std::int64_t m_whereValue;
    std::vector<std::pair<const char*, Value>> m_values;
};

}  // namespace db
