#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;

namespace db {

class Connection;

/// What one step of a statement gave: a row, the end of the rows, or a failure (the
/// connection's error tells which).
enum class Step { Row, Done, Failed };

// A prepared statement. Values are only ever bound, never pasted into the SQL text; only
// compile-time table and column names are concatenated by callers.
class Statement {
public:
    Statement(Connection& conn, const std::string& sql);
    ~Statement();
    Statement(Statement&&) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& operator=(Statement&&) = delete;

    /// Binds value `index` (from 1). An index the statement does not have is a fault of the
    /// caller: the statement fails with the engine's message (a debug build stops there).
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, const std::string& text);
    Statement& bind(int index, const char* text) { return bind(index, std::string(text)); }
    Statement& bindNull(int index);

    /// Moves to the next row. After Done or Failed the statement stays there.
    [[nodiscard]] Step step();
    /// Runs the statement to its end; false on an error.
    [[nodiscard]] bool run();

    /// The index of a result column, found without case; -1 when there is none.
    int column(std::string_view name) const;
    /// Values by column name. A name the result does not have is a fault of the caller: the
    /// statement fails with the layer's message (a debug build stops there) and the value reads
    /// as Null.
    bool isNull(std::string_view name) const;
    /// The value as text: "" for Null, numbers as plain digits ("98.5", "100").
    std::string text(std::string_view name) const;
    /// The value as a 64-bit integer; nothing for Null or a value that is not a whole number.
    std::optional<std::int64_t> integer(std::string_view name) const;

    bool isNull(int index) const;
    std::string text(int index) const;
    /// The value as `text` gives it, without a copy: a view of the row, valid until the next
    /// step, or of `room`, into which a number is written.
    std::string_view textView(int index, std::string& room) const;
    std::optional<std::int64_t> integer(int index) const;

private:
    friend class RowWriter;
    /// Runs a statement the connection keeps: reset after use, never handed back.
    Statement(Connection& conn, sqlite3_stmt* kept);
    void readColumns();
    /// Records a fault of the calling code as the statement's failure.
    void misuse(const std::string& message) const;
    Statement& bound(int index, int rc);
    int existingColumn(std::string_view name) const;

    Connection& m_conn;
    std::string m_sql;
    sqlite3_stmt* m_stmt = nullptr;
    std::vector<std::string> m_columns;
    mutable std::size_t m_nextColumn = 0;  // where the next search by name starts
    mutable Step m_state = Step::Row;
    bool m_kept = false;
};

}  // namespace db
