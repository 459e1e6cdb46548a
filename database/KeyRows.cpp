#include "KeyRows.h"

#include "DbConnection.h"
#include "database/sqlite/Statement.h"
#include "platform/Report.h"

namespace database {

std::optional<std::int64_t> countKeyRows(db::Connection& conn, const std::string& sql, std::int64_t key)
{
    db::Statement st(conn, sql);
    st.bind(1, key);
    if (st.step() != db::Step::Row)
        return std::nullopt;
    return st.integer(0);
}

bool runWithKey(db::Connection& conn, const std::string& sql, std::int64_t key, const char* procedure,
                platform::Report& report)
{
    db::Statement st(conn, sql);
    st.bind(1, key);
    return st.run() || reportDbErr(conn, procedure, report);
}

bool notUniqueForUpdate(platform::Report& report)
{
    report.message(kNotUnique, "Update Error", platform::Icon::Warning);
    return false;
}

}  // namespace database
