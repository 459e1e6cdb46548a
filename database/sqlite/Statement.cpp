#include "Statement.h"

#include "Connection.h"

#include "platform/AsciiCase.h"
#include "platform/NumberText.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace db {

Statement::Statement(Connection& conn, const std::string& sql) : m_conn(conn), m_sql(sql)
{
    m_stmt = conn.acquire(sql);
    readColumns();
}

Statement::Statement(Connection& conn, sqlite3_stmt* kept) : m_conn(conn), m_stmt(kept), m_kept(true)
{
    readColumns();
}

void Statement::readColumns()
{
    if (!m_stmt) {
        m_state = Step::Failed;
        return;
    }
    const int n = sqlite3_column_count(m_stmt);
    for (int i = 0; i < n; ++i)
        m_columns.emplace_back(sqlite3_column_name(m_stmt, i));
}

Statement::~Statement()
{
    if (!m_kept) {
        m_conn.release(m_sql, m_stmt);
    } else if (m_stmt) {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
}

Statement::Statement(Statement&& other) noexcept
    : m_conn(other.m_conn), m_sql(std::move(other.m_sql)), m_stmt(other.m_stmt),
      m_columns(std::move(other.m_columns)), m_state(other.m_state), m_kept(other.m_kept)
{
    other.m_stmt = nullptr;
}

void Statement::misuse(const std::string& message) const
{
    m_conn.fail(SQLITE_MISUSE, message);
    m_state = Step::Failed;
#ifndef NDEBUG
    // A fault of the calling code, not of the data: stop where it happens.
    std::fprintf(stderr, "database: %s\n", message.c_str());
    std::abort();
#endif
}

Statement& Statement::bound(int index, int rc)
{
    if (rc != SQLITE_OK && m_stmt)
        misuse("cannot bind value " + std::to_string(index) + " of \"" + sqlite3_sql(m_stmt) + "\": " + sqlite3_errstr(rc) + " (" +
               std::to_string(sqlite3_bind_parameter_count(m_stmt)) + " values)");
    return *this;
}

Statement& Statement::bind(int index, std::int64_t value)
{
    return m_stmt ? bound(index, sqlite3_bind_int64(m_stmt, index, value)) : *this;
}

Statement& Statement::bind(int index, const std::string& text)
{
    return m_stmt ? bound(index, sqlite3_bind_text(m_stmt, index, text.data(), int(text.size()), SQLITE_TRANSIENT))
                  : *this;
}

Statement& Statement::bindNull(int index)
{
    return m_stmt ? bound(index, sqlite3_bind_null(m_stmt, index)) : *this;
}

Step Statement::step()
{
    if (m_state != Step::Row)
        return m_state;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return Step::Row;
    if (rc == SQLITE_DONE)
        return m_state = Step::Done;
    m_conn.fail();
    return m_state = Step::Failed;
}

bool Statement::run()
{
    Step s = step();
    while (s == Step::Row)
        s = step();
    return s == Step::Done;
}

int Statement::column(std::string_view name) const
{
    // Columns are mostly asked for in their order: the search starts after the last one found.
    const std::size_t n = m_columns.size();
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = (m_nextColumn + k) % n;
        if (platform::equalsNoCase(m_columns[i], name)) {
            m_nextColumn = i + 1;
            return int(i);
        }
    }
    return -1;
}

bool Statement::isNull(int index) const
{
    return !m_stmt || index < 0 || sqlite3_column_type(m_stmt, index) == SQLITE_NULL;
}

std::string Statement::text(int index) const
{
    std::string room;
    return std::string(textView(index, room));
}

std::string_view Statement::textView(int index, std::string& room) const
{
    if (isNull(index))
        return {};
    switch (sqlite3_column_type(m_stmt, index)) {
    case SQLITE_INTEGER:
        room = std::to_string(sqlite3_column_int64(m_stmt, index));
        return room;
    case SQLITE_FLOAT:
        room = platform::formatReal(sqlite3_column_double(m_stmt, index));
        return room;
    default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, index));
        return p ? std::string_view(p, std::size_t(sqlite3_column_bytes(m_stmt, index))) : std::string_view();
    }
    }
}

std::optional<std::int64_t> Statement::integer(int index) const
{
    if (isNull(index))
        return std::nullopt;
    if (sqlite3_column_type(m_stmt, index) == SQLITE_INTEGER)
        return sqlite3_column_int64(m_stmt, index);
    const double d = sqlite3_column_double(m_stmt, index);
    if (sqlite3_column_type(m_stmt, index) == SQLITE_FLOAT && d == std::floor(d) && std::fabs(d) < 9.2e18)
        return std::int64_t(d);
    return std::nullopt;
}

int Statement::existingColumn(std::string_view name) const
{
    const int index = column(name);
    if (index < 0 && m_stmt)
        misuse("no column " + std::string(name) + " in \"" + sqlite3_sql(m_stmt) + "\"");
    return index;
}

bool Statement::isNull(std::string_view name) const { return isNull(existingColumn(name)); }
std::string Statement::text(std::string_view name) const { return text(existingColumn(name)); }
std::optional<std::int64_t> Statement::integer(std::string_view name) const { return integer(existingColumn(name)); }
}  // namespace db
