#include "database/KeyCounters.h"
#include "database/sqlite/Transaction.h"
#include "support/NoticeDb.h"

#include <gtest/gtest.h>

using namespace database;
using testing_support::NoticeDb;

namespace {

using Draw = bool (*)(std::int32_t&, db::Connection&, platform::Report&);

struct Kind {
    Draw draw;
    const char* column;
    const char* procedure;
    const char* warning;
};

const Kind kKinds[] = {
    {writeTerRaKeyTable, "terrakey", "writeTerRaKeyTable",
     "There is more than one TerRakey. Please consult your administrator!"},
    {writeTargetTable, "Target", "writeTargetTable",
     "There is more than one Targetkey. Please consult your administrator!"},
    {writeAllotKeyTable, "allotkey", "writeAllotKeyTable",
     "There is more than one Allokey. Please consult your administrator!"},
    {writeContourKeyTable, "contourkey", "writeContourKeyTable",
     "There is more than one Contourkey. Please consult your administrator!"},
};

}  // namespace

TEST(KeyCounters, HandOutTheStoredKeyAndAdvanceIt)
{
    for (const Kind& k : kKinds) {
        NoticeDb db;
        ASSERT_TRUE(db.conn.exec(std::string("UPDATE Fmtv_keys SET ") + k.column + " = 41"));
        std::int32_t key = 0;
        ASSERT_TRUE(k.draw(key, db.conn, db.prompter.report())) << k.procedure;
        EXPECT_EQ(key, 41);
        EXPECT_EQ(db.scalar(std::string("SELECT ") + k.column + " FROM Fmtv_keys"), "42");
        EXPECT_EQ(db.scalar("SELECT count(*) FROM Fmtv_keys"), "1");
    }
}

TEST(KeyCounters, WarnWhenTheKeyTableDoesNotHoldExactlyOneRow)
{
    for (const Kind& k : kKinds) {
        for (const char* change : {"INSERT INTO Fmtv_keys VALUES (9, 9, 9, 9)", "DELETE FROM Fmtv_keys"}) {
            NoticeDb db;
            ASSERT_TRUE(db.conn.exec(change));
            std::int32_t key = -5;
            EXPECT_FALSE(k.draw(key, db.conn, db.prompter.report()));
            ASSERT_EQ(db.prompter.messages.size(), 1u);
            EXPECT_EQ(db.prompter.messages[0].text, k.warning);
            EXPECT_EQ(db.prompter.messages[0].title, "Error Reading the database");
        }
    }
}

TEST(KeyCounters, ReportNullAndOverflowAndKeepTheCounter)
{
    NoticeDb db;
    ASSERT_TRUE(db.conn.exec("UPDATE Fmtv_keys SET terrakey = NULL, Target = 2147483647"));
    std::int32_t key = 0;
    EXPECT_FALSE(writeTerRaKeyTable(key, db.conn, db.prompter.report()));
    EXPECT_FALSE(writeTargetTable(key, db.conn, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT Target FROM Fmtv_keys"), "2147483647");
    ASSERT_EQ(db.prompter.messages.size(), 2u);
    EXPECT_EQ(db.prompter.messages[0].text, "Erreur  94:Invalid use of Null");
    EXPECT_EQ(db.prompter.messages[0].title, "writeTerRaKeyTable");
    EXPECT_EQ(db.prompter.messages[1].text, "Erreur  6:Overflow");
    EXPECT_EQ(db.prompter.messages[1].title, "writeTargetTable");
}

TEST(KeyCounters, ARolledBackOperationGivesTheSameKeyAgain)
{
    NoticeDb db;
    std::int32_t first = 0, again = 0;
    {
        db::Transaction tx(db.conn);
        ASSERT_TRUE(writeTerRaKeyTable(first, db.conn, db.prompter.report()));
    }
    {
        db::Transaction tx(db.conn);
        ASSERT_TRUE(writeTerRaKeyTable(again, db.conn, db.prompter.report()));
        ASSERT_TRUE(tx.commit());
    }
    EXPECT_EQ(first, again);
}
