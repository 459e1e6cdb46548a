#include "database/NoticeDelete.h"
#include "database/NoticeStore.h"
#include "support/NoticeDb.h"
#include "support/NoticeText.h"

#include <gtest/gtest.h>

using namespace database;
using testing_support::NoticeDb;
using testing_support::readNotice;

namespace {

void store(NoticeDb& db, const std::string& body)
{
    ContourOutcome outcome;
    ASSERT_TRUE(storeNtc(readNotice(body), db.conn, outcome, false, db.prompter.report())) << body;
}

const std::string kDigital = "t_notice_type = DT2\nt_action = MODIFY\nt_ctry = F\nzel_sfn_id = S\n"
                             "<COORD_A>\nt_adm = D\n</COORD_A>\n<COORD_O>\nt_adm = E\n</COORD_O>\n"
                             "zel_allot_name = a\nzel_nb_sub_areas = 2\nzel_contour_id = 7\nzel_contour_id = 9\n";

// Rows of every table that refer to a notice key, a target key or an allotment key.
std::string rowsOf(NoticeDb& db, int terrakey, int target)
{
    std::string out;
    for (const char* t : {"fmtv_terra", "fmtv_op_prd", "fmtv_rmks", "fmtv_coord", "fmtv_ant_hgt", "fmtv_ant_diag",
                          "zel_elements", "zel_sfnID_proc", "zel_allotment", "zel_coord_analog_KOLV",
                          "zel_coord_other_service"})
        out += db.scalar(std::string("SELECT count(*) FROM ") + t + " WHERE terrakey = " + std::to_string(terrakey));
    return out + db.scalar("SELECT count(*) FROM fmtv_target WHERE Target = " + std::to_string(target));
}

}  // namespace

TEST(DeleteNtc, RemovesEveryRowOfTheNoticeAndNothingElse)
{
    NoticeDb db;
    store(db, testing_support::fullTelevisionNotice());  // key 1, target 1
    store(db, kDigital);                                  // key 2, target 2
    store(db, kDigital);                                  // key 3, target 3: shares contours 7 and 9
    store(db, testing_support::fullTelevisionNotice());  // key 4, target 4
    EXPECT_EQ(rowsOf(db, 1, 1), "113133672000001");

    const std::string otherBefore = rowsOf(db, 4, 4);
    ASSERT_TRUE(deleteNtc(1, db.conn, db.prompter.report()));
    EXPECT_EQ(rowsOf(db, 1, 1), "000000000000");
    EXPECT_EQ(rowsOf(db, 4, 4), otherBefore);

    ASSERT_TRUE(deleteNtc(2, db.conn, db.prompter.report()));
    EXPECT_EQ(rowsOf(db, 2, 2), "000000000000");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_contour"), "2") << "placeholders still used by notice 3 stay";
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_sub_area"), "2");

    ASSERT_TRUE(deleteNtc(3, db.conn, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_contour"), "0") << "unused placeholders go";
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_sub_area"), "0");
    EXPECT_TRUE(db.prompter.messages.empty());
}

TEST(DeleteNtc, KeepsContoursThatAContourNoticeDefined)
{
    NoticeDb db;
    store(db, kDigital);
    store(db, "t_notice_type = DA1\nt_ctry = F\nzel_contour_id = 7\nzel_nb_test_pts = 1\n"
              "<POINT>\nzel_long = +0010000\nzel_lat = +0100\n</POINT>\n");
    ASSERT_TRUE(deleteNtc(1, db.conn, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT group_concat(contour_id) FROM zel_contour"), "7");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_contour_pt"), "1");
}

TEST(DeleteNtc, AMissingNoticeIsReportedAndNothingChanges)
{
    NoticeDb db;
    store(db, kDigital);
    const std::string before = db.tableCounts();
    EXPECT_FALSE(deleteNtc(42, db.conn, db.prompter.report()));
    EXPECT_EQ(db.tableCounts(), before);
    ASSERT_EQ(db.prompter.messages.size(), 2u);
    EXPECT_EQ(db.prompter.messages[0].text,
              "The selected notice is not unique. Please consult the administrator!");
    EXPECT_EQ(db.prompter.messages[0].title, "Database error");
    EXPECT_EQ(db.prompter.messages[1].title, "Erreur base de données");
}

TEST(RowDeleters, FollowTheirCountRules)
{
    NoticeDb db;
    ASSERT_TRUE(db.conn.exec("INSERT INTO fmtv_op_prd (terrakey) VALUES (1), (1), (2);"
                             "INSERT INTO zel_contour_pt (contourkey, test_pt) VALUES (5, 0), (6, 0), (6, 1);"
                             "INSERT INTO fmtv_ant_diag (terrakey, polar) VALUES (1, 'H'), (1, 'V'), (1, 'H');"));
    EXPECT_TRUE(deleteFromOpPrd(1, db.conn, db.prompter.report()));
    EXPECT_TRUE(deleteFromOpPrd(2, db.conn, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_op_prd"), "2") << "two periods of one notice both stay";

    EXPECT_TRUE(deleteFromAntDiagr(1, "H", db.conn, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT group_concat(polar) FROM fmtv_ant_diag"), "V");

    EXPECT_FALSE(deleteContourPointTable(5, db.conn, db.prompter.report()));
    EXPECT_TRUE(deleteContourPointTable(6, db.conn, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_contour_pt"), "1");

    EXPECT_TRUE(deleteOneFromFMTVTarget(9, db.conn, db.prompter.report())) << "a missing target does not stop an update";
    EXPECT_FALSE(deleteSubAreaTable(9, db.conn, db.prompter.report()));
    ASSERT_EQ(db.prompter.messages.size(), 3u);
    EXPECT_EQ(db.prompter.messages[2].text,
              "deleteSubAreaTable: The allotment is corrupted. Please consult the administrator!");
}
