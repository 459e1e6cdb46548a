#include "NoticeDb.h"

#include "database/DbConnection.h"
#include "database/sqlite/Statement.h"

#include <gtest/gtest.h>

namespace testing_support {

std::string templateDb()
{
    return OSTREL_TEMPLATE_DB;
}

NoticeDb::NoticeDb() : m_path((dir.path() / "notices.mdb").string())
{
    EXPECT_TRUE(database::copyTemplateDB(m_path, prompter.report(), templateDb()));
    EXPECT_TRUE(database::OpenDB(m_path, conn, prompter.report()));
}

std::string NoticeDb::scalar(const std::string& sql)
{
    db::Statement st(conn, sql);
    return st.step() == db::Step::Row ? st.text(0) : std::string();
}

std::string NoticeDb::tableCounts()
{
    std::string out;
    db::Statement tables(conn, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    while (tables.step() == db::Step::Row) {
        const std::string name = tables.text(0);
        out += name + "=" + scalar("SELECT count(*) FROM " + name) + ";";
    }
    return out + "keys=" + scalar("SELECT group_concat(terrakey || ',' || allotkey || ',' || contourkey || ',' || "
                                  "Target) FROM Fmtv_keys");
}

}  // namespace testing_support
