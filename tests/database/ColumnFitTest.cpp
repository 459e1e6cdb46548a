#include "database/ColumnFit.h"

#include "database/sqlite/Statement.h"
#include "support/NoticeDb.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using database::ColumnType;

// The rule says what the engine itself does: a text fits exactly when the template's own
// number columns take it, bound as the store binds it.
TEST(ColumnFit, TheRuleAgreesWithTheEngineOnTheTemplatesNumberColumns)
{
    testing_support::NoticeDb db;
    const char* texts[] = {"5",    "+5",   "-5",  " 5 ",  "005", "4.5", "4.0", "1e3", "1e-3", "1e99", "1e999",
                           "abc",  "4,5",  "0x10", "inf", "nan", ".5",  "5.",  "--5", "5 5",  "9223372036854775807",
                           "9223372036854775808", "1 ", "\t7"};
    for (const auto& [column, type] : {std::pair{"long_deg", ColumnType::Integer}, std::pair{"freq_assgn", ColumnType::Real}}) {
        for (const char* text : texts) {
            ASSERT_TRUE(db.conn.exec("SAVEPOINT probe"));
            db::Statement st(db.conn, std::string("INSERT INTO fmtv_terra (") + column + ") VALUES (?)");
            const bool engine = st.bind(1, text).run();
            ASSERT_TRUE(db.conn.exec("ROLLBACK TO probe"));
            ASSERT_TRUE(db.conn.exec("RELEASE probe"));
            EXPECT_EQ(database::columnHolds(type, text), engine) << column << " '" << text << "'";
        }
    }
    EXPECT_TRUE(database::columnHolds(ColumnType::Integer, ""));
    EXPECT_TRUE(database::columnHolds(ColumnType::Text, "abc"));
}

TEST(ColumnFit, EachFieldPartFindsItsColumnsType)
{
    testing_support::NoticeDb db;
    struct Row {
        const char* key;
        int part;
        ColumnType type;
    };
    const Row rows[] = {
        {"t_freq_assgn", 0, ColumnType::Real},     {"t_long", 0, ColumnType::Integer},
        {"t_lat", 2, ColumnType::Integer},         {"t_long", 3, ColumnType::Text},
        {"t_site_name", 0, ColumnType::Text},      {"t_trg_long", 0, ColumnType::Text},
        {"t_trg_freq_assgn", 0, ColumnType::Text}, {"t_remarks", 0, ColumnType::Text},
    };
    for (const Row& r : rows) {
        const notice::NoticeField* f = notice::findNoticeKey(r.key);
        ASSERT_NE(f, nullptr) << r.key;
        EXPECT_EQ(database::columnTypeOf(db.conn, *f, r.part), r.type) << r.key << " " << r.part;
    }
}

}  // namespace
