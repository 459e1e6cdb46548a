#include "KeyCounters.h"

#include "DbConnection.h"
#include "database/sqlite/Statement.h"
#include "notice/ErrorNumbers.h"
#include "notice/FieldUtils.h"
#include "platform/Report.h"

#include <limits>
#include <string>

namespace database {
namespace {

struct Counter {
    const char* column;     // compile-time name
    const char* warning;    // Fmtv_keys does not hold exactly one row
    const char* procedure;  // title of reported errors
};

bool drawKey(const Counter& c, std::int32_t& key, db::Connection& conn, platform::Report& report)
{
    db::Statement read(conn, std::string("SELECT ") + c.column + " FROM Fmtv_keys");
    int rows = 0;
    std::optional<std::int64_t> value;
    bool isNull = false;
    db::Step step;
    while ((step = read.step()) == db::Step::Row) {
        if (++rows == 1) {
            isNull = read.isNull(0);
            value = read.integer(0);
        }
    }
    if (step == db::Step::Failed)
        return reportDbErr(conn, c.procedure, report);
    if (rows != 1) {
        report.message(c.warning, "Error Reading the database", platform::Icon::Warning);
        return false;
    }
    if (isNull || !value) {
        notice::reportErr(isNull ? notice::kErrInvalidNull : notice::kErrTypeMismatch, c.procedure,
                          isNull ? "Invalid use of Null" : "Type mismatch", report);
        return false;
    }
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    if (*value >= kMax || *value < std::numeric_limits<std::int32_t>::min()) {
        notice::reportErr(notice::kErrOverflow, c.procedure, "Overflow", report);
        return false;
    }
    db::Statement write(conn, std::string("UPDATE Fmtv_keys SET ") + c.column + " = ?");
    if (!write.bind(1, *value + 1).run())
        return reportDbErr(conn, c.procedure, report);
    key = std::int32_t(*value);
    return true;
}

}  // namespace

bool writeTerRaKeyTable(std::int32_t& key, db::Connection& conn, platform::Report& report)
{
    static constexpr Counter c{"terrakey", "There is more than one TerRakey. Please consult your administrator!",
                               "writeTerRaKeyTable"};
    return drawKey(c, key, conn, report);
}

bool writeTargetTable(std::int32_t& key, db::Connection& conn, platform::Report& report)
{
    static constexpr Counter c{"Target", "There is more than one Targetkey. Please consult your administrator!",
                               "writeTargetTable"};
    return drawKey(c, key, conn, report);
}

bool writeAllotKeyTable(std::int32_t& key, db::Connection& conn, platform::Report& report)
{
    static constexpr Counter c{"allotkey", "There is more than one Allokey. Please consult your administrator!",
                               "writeAllotKeyTable"};
    return drawKey(c, key, conn, report);
}

bool writeContourKeyTable(std::int32_t& key, db::Connection& conn, platform::Report& report)
{
    static constexpr Counter c{"contourkey", "There is more than one Contourkey. Please consult your administrator!",
                               "writeContourKeyTable"};
    return drawKey(c, key, conn, report);
}

}  // namespace database
