#include "database/DbConnection.h"
#include "database/NoticeRead.h"
#include "database/NoticeStore.h"
#include "database/NoticeUpdate.h"
#include "platform/NumberText.h"
#include "platform/Report.h"
#include "support/NoticeDb.h"
#include "support/NoticeText.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using notice::NoticeRecord;
using testing_support::NoticeDb;
using testing_support::readNotice;

namespace {

std::int32_t lastKey(NoticeDb& db)
{
    return std::int32_t(platform::parseInteger(db.scalar("SELECT max(terrakey) FROM fmtv_terra")).value_or(0));
}

bool store(NoticeDb& db, const NoticeRecord& rec, platform::Report& report)
{
    database::ContourOutcome outcome;
    return database::storeNtc(rec, db.conn, outcome, false, report);
}

// A television modification with a target, a remark, a horizontal pattern and one
// coordinating administration.
NoticeRecord television()
{
    return readNotice("t_notice_type = T02\nt_action = MODIFY\nt_polar = H\nt_remarks = R\n"
                      "t_trg_adm_ref_id = TRG\n<COORDINATION>\nt_adm = D\n</COORDINATION>\n"
                      "<ANT_DIAGR_H>\nt_attn@azm0 = 1\n</ANT_DIAGR_H>\n");
}

// Stores the television notice apart from `report`, changes the database and reads the notice back.
void readAfter(NoticeDb& db, const std::string& sql, platform::Report& report)
{
    platform::Report stored;
    ASSERT_TRUE(store(db, television(), stored));
    ASSERT_TRUE(db.conn.exec(sql));
    NoticeRecord rec;
    EXPECT_FALSE(database::readNtcFromDB(lastKey(db), rec, db.conn, report));
}

// Changes the key counters, then stores the television notice.
void storeAfter(NoticeDb& db, const std::string& sql, platform::Report& report)
{
    ASSERT_TRUE(db.conn.exec(sql));
    EXPECT_FALSE(store(db, television(), report));
}

}  // namespace

TEST(ErrorNumbers, EachFailureShowsItsOwnNumber)
{
    struct Row {
        const char* failure;
        int number;
        std::function<void(NoticeDb&, platform::Report&)> provoke;
    };
    const Row rows[] = {
        {"a key counter at the end of its range", 6,
         [](NoticeDb& db, platform::Report& report) {
             storeAfter(db, "UPDATE Fmtv_keys SET terrakey = 2147483647", report);
         }},
        {"a stored target key beyond 32 bits", 6,
         [](NoticeDb& db, platform::Report& report) {
             platform::Report stored;
             ASSERT_TRUE(store(db, television(), stored));
             ASSERT_TRUE(db.conn.exec("UPDATE fmtv_terra SET Target = 1099511627776"));
             EXPECT_FALSE(database::updateNtc(television(), lastKey(db), db.conn, report));
         }},
        {"a test point count beyond 16 bits", 6,
         [](NoticeDb& db, platform::Report& report) {
             NoticeRecord rec = readNotice("t_notice_type = DA1\nt_ctry = F\nzel_contour_id = 7\nzel_nb_test_pts = 1\n");
             rec.zel.contour.nb_test_pts = "40000";  // beyond what the file reader accepts
             EXPECT_FALSE(store(db, rec, report));
         }},
        {"more sub-areas than contour ids", 9,
         [](NoticeDb& db, platform::Report& report) {
             std::string body = "t_notice_type = DT2\nt_action = ADD\nt_ctry = F\nzel_nb_sub_areas = 11\n";
             for (int id = 1; id <= 10; ++id)
                 body += "zel_contour_id = " + std::to_string(id) + "\n";
             EXPECT_TRUE(store(db, readNotice(body), report)) << "with its first ten sub-areas";
         }},
        {"an azimuth beyond the pattern's slots", 9,
         [](NoticeDb& db, platform::Report& report) {
             readAfter(db, "UPDATE fmtv_ant_diag SET azm = '355'", report);
         }},
        {"more coordinating administrations than slots", 9,
         [](NoticeDb& db, platform::Report& report) {
             readAfter(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 13) "
                           "INSERT INTO fmtv_coord (terrakey, adm) SELECT terrakey, 'A' || i FROM fmtv_terra, n",
                       report);
         }},
        {"text in a key counter of an earlier database", 13,
         [](NoticeDb& db, platform::Report& report) {
             storeAfter(db,
                        "DROP TABLE Fmtv_keys; CREATE TABLE Fmtv_keys (terrakey, allotkey, contourkey, Target);"
                        "INSERT INTO Fmtv_keys VALUES ('one', 1, 1, 1)",
                        report);
         }},
        {"a Null key counter", 94,
         [](NoticeDb& db, platform::Report& report) {
             storeAfter(db, "UPDATE Fmtv_keys SET Target = NULL", report);
         }},
        {"a statement on a missing table", 1,
         [](NoticeDb& db, platform::Report& report) { storeAfter(db, "DROP TABLE fmtv_rmks", report); }},
        {"a database another instance holds", 5,
         [](NoticeDb& db, platform::Report& report) {
             db::Connection second;
             EXPECT_FALSE(database::OpenDB(db.path(), second, report));
         }},
        {"a database that is not there", 14,
         [](NoticeDb& db, platform::Report& report) {
             db::Connection conn;
             EXPECT_FALSE(database::OpenDB((db.dir.path() / "missing.mdb").string(), conn, report));
         }},
        {"a text file opened as a database", 26,
         [](NoticeDb& db, platform::Report& report) {
             db::Connection conn;
             EXPECT_FALSE(database::OpenDB(db.dir.write("notes.mdb", "<HEAD>\r\n</HEAD>\r\n").string(), conn, report));
         }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.failure);
        NoticeDb db;
        platform::Report report;
        r.provoke(db, report);
        ASSERT_FALSE(report.messages().empty());
        const platform::Message& shown = report.messages().front();
        EXPECT_EQ(shown.number, r.number);
        EXPECT_TRUE(shown.text.starts_with("Erreur  " + std::to_string(r.number) + ":")) << shown.text;
    }
}
