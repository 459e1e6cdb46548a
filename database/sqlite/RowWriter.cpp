#include "RowWriter.h"

#include "Connection.h"
#include "Statement.h"

namespace db {

RowWriter::RowWriter(Connection& conn, const char* table, const char* whereColumn, std::int64_t whereValue)
    : m_conn(conn), m_table(table), m_whereColumn(whereColumn), m_whereValue(whereValue)
{
}

RowWriter RowWriter::insert(Connection& conn, const char* table)
{
    return RowWriter(conn, table, nullptr, 0);
}

RowWriter RowWriter::update(Connection& conn, const char* table, const char* whereColumn, std::int64_t whereValue)
{
    return RowWriter(conn, table, whereColumn, whereValue);
}

RowWriter& RowWriter::set(const char* column, std::int64_t value)
{
    m_values.emplace_back(column, value);
    return *this;
}

RowWriter& RowWriter::set(const char* column, const std::string& value)
{
    m_values.emplace_back(column, value);
    return *this;
}

RowWriter& RowWriter::setIfNotEmpty(const char* column, const std::string& value)
{
    if (!value.empty())
        m_values.emplace_back(column, value);
    return *this;
}

RowWriter& RowWriter::setOrNull(const char* column, const std::string& value)
{
    if (value.empty())
        m_values.emplace_back(column, std::monostate{});
    else
        m_values.emplace_back(column, value);
    return *this;
}

bool RowWriter::run()
{
    if (m_whereColumn && m_values.empty())
        return true;
    // The statement is known by the texts naming its parts: the SQL text is built only once.
    Connection::RowShape& shape = m_conn.m_shapeScratch;
    shape.assign({m_table, m_whereColumn});
    for (const auto& value : m_values)
        shape.push_back(value.first);
    Statement st(m_conn, m_conn.rowStatement(shape, [this] { return sqlText(); }));
    int index = 1;
    for (const auto& [column, value] : m_values) {
        if (const auto* i = std::get_if<std::int64_t>(&value))
            st.bind(index, *i);
        else if (const auto* s = std::get_if<std::string>(&value))
            st.bind(index, *s);
        else
            st.bindNull(index);
        ++index;
    }
    if (m_whereColumn)
        st.bind(index, m_whereValue);
    return st.run();
}

std::string RowWriter::sqlText() const
{
    std::string sql;
    if (m_whereColumn) {
        sql = std::string("UPDATE ") + m_table + " SET ";
        for (std::size_t i = 0; i < m_values.size(); ++i)
            sql += std::string(i ? ", " : "") + m_values[i].first + " = ?";
        sql += std::string(" WHERE ") + m_whereColumn + " = ?";
    } else if (m_values.empty()) {
        sql = std::string("INSERT INTO ") + m_table + " DEFAULT VALUES";
    } else {
        std::string columns, marks;
        for (std::size_t i = 0; i < m_values.size(); ++i) {
            columns += std::string(i ? ", " : "") + m_values[i].first;
            marks += i ? ", ?" : "?";
        }
        sql = std::string("INSERT INTO ") + m_table + " (" + columns + ") VALUES (" + marks + ")";
    }
    return sql;
}

}  // namespace db
