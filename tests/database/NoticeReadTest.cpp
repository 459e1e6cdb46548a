#include "database/NoticeGridQuery.h"
#include "database/NoticeRead.h"
#include "database/NoticeStore.h"
#include "support/NoticeDb.h"
#include "support/NoticeText.h"

#include <gtest/gtest.h>

using namespace database;
using testing_support::NoticeDb;
using testing_support::readNotice;

namespace {

void store(NoticeDb& db, const notice::NoticeRecord& rec)
{
    ContourOutcome outcome;
    ASSERT_TRUE(storeNtc(rec, db.conn, outcome, false, db.prompter.report()));
}

notice::NoticeRecord read(NoticeDb& db, std::int32_t key, bool expectOk = true)
{
    notice::NoticeRecord rec;
    EXPECT_EQ(readNtcFromDB(key, rec, db.conn, db.prompter.report()), expectOk);
    return rec;
}

}  // namespace

TEST(ReadNtcFromDB, ReadsBackTheStoredTelevisionNotice)
{
    NoticeDb db;
    notice::NoticeRecord stored = readNotice(testing_support::fullTelevisionNotice());
    store(db, stored);
    const notice::NoticeRecord back = read(db, 1);
    stored.flag = true;  // set by every read
    EXPECT_EQ(back, stored);
    EXPECT_TRUE(db.prompter.messages.empty());
}

TEST(ReadNtcFromDB, ASuppressionKeepsItsIdentificationInTheTarget)
{
    NoticeDb db;
    const std::string body = "t_notice_type = TB5\nt_action = WITHDRAW\nt_trg_adm_ref_id = abc\n"
                             "t_trg_freq_assgn = 98.5\nt_trg_long = +0050300\nt_op_hh_fr = 06:00\n"
                             "<COORD>\nt_adm = D\n</COORD>\n<ANT_HGT>\nt_eff_hgt@azm0 = 5\n</ANT_HGT>\n";
    store(db, readNotice(body));
    const notice::NoticeRecord rec = read(db, 1);
    EXPECT_EQ(rec.intent, "WITHDRAW");
    EXPECT_TRUE(rec.target.flag);
    EXPECT_EQ(rec.target.adm_ref_id, "abc") << "not upper-cased";
    EXPECT_EQ(rec.target.freq_assgn, "98.5");
    EXPECT_EQ(rec.target.long_deg, "005");
    EXPECT_EQ(rec.target.long_ew, "E");
    EXPECT_EQ(rec.adm_ref_id, "");
    EXPECT_EQ(rec.freq_assgn, "");
    EXPECT_EQ(rec.long_deg, "");
    EXPECT_FALSE(rec.opPeriod.flag);
    EXPECT_FALSE(rec.coordAdm.flag);
    EXPECT_FALSE(rec.effHgt[0].flag);

    // Stored in lower case, the intent does not divert, but still limits what is read.
    ASSERT_TRUE(db.conn.exec("UPDATE fmtv_terra SET intent = 'withdraw'"));
    const notice::NoticeRecord lower = read(db, 1);
    EXPECT_EQ(lower.intent, "WITHDRAW");
    EXPECT_EQ(lower.adm_ref_id, "ABC");
    EXPECT_EQ(lower.long_deg, "005");
    EXPECT_FALSE(lower.coordAdm.flag);
}

TEST(ReadNtcFromDB, AMissingNoticeFailsAndLeavesTheRecord)
{
    NoticeDb db;
    notice::NoticeRecord rec;
    rec.site_name = "KEPT";
    EXPECT_FALSE(readNtcFromDB(5, rec, db.conn, db.prompter.report()));
    EXPECT_EQ(rec.site_name, "KEPT");
    EXPECT_FALSE(rec.flag);
    ASSERT_EQ(db.prompter.messages.size(), 1u);
    EXPECT_EQ(db.prompter.messages[0].text, "The data was not saved to the database");
}

TEST(ReadNtcFromDB, EmptyColumnsNeverClearAField)
{
    NoticeDb db;
    store(db, readNotice("t_notice_type = T01\nt_action = ADD\nt_long = +0050700\n"));
    ASSERT_TRUE(db.conn.exec("UPDATE fmtv_terra SET ctry = '', site_name = NULL, adm = ' f ', lat_deg = 45,"
                             " long_deg = 120"));
    notice::NoticeRecord rec;
    rec.ctry = "KEEP";
    rec.site_name = "KEEP";
    ASSERT_TRUE(readNtcFromDB(1, rec, db.conn, db.prompter.report()));
    EXPECT_EQ(rec.ctry, "KEEP");
    EXPECT_EQ(rec.site_name, "KEEP");
    EXPECT_EQ(rec.adm, " f ") << "the administration is read as stored";
    EXPECT_EQ(rec.long_deg, "120");
    EXPECT_EQ(rec.long_min, "07");
    EXPECT_EQ(rec.lat_deg, "45");
}

TEST(ReadNtcFromDB, AzimuthRowsGoToTheSlotOfTheirAzimuth)
{
    NoticeDb db;
    store(db, readNotice("t_notice_type = T02\nt_action = ADD\nt_polar = H\n"
                         "<ANT_DIAGR_H>\nt_attn@azm0 = 1\n</ANT_DIAGR_H>\n"));
    ASSERT_TRUE(db.conn.exec("DELETE FROM fmtv_ant_diag;"
                             "INSERT INTO fmtv_ant_hgt (terrakey, azm, eff_hgt) VALUES "
                             "(1, '0', '100'), (1, '15', '115'), (1, '25', '125'), (1, '340', ' 7 ');"
                             "INSERT INTO fmtv_ant_diag (terrakey, azm, attn, polar) VALUES "
                             "(1, '0', '1', 'H'), (1, '355', '2', 'H'), (1, '20', '3', 'H'), (1, '', '4', 'H'),"
                             " (1, '30', '5', 'H')"));
    notice::NoticeRecord rec;
    EXPECT_FALSE(readNtcFromDB(1, rec, db.conn, db.prompter.report())) << "the unplaceable azimuth is an error";
    EXPECT_EQ(rec.effHgt[0], (notice::FlaggedPair{true, "0", "100"}));
    EXPECT_FALSE(rec.effHgt[1].flag);
    EXPECT_EQ(rec.effHgt[2], (notice::FlaggedPair{true, "25", "125"})) << "the later row wins";
    EXPECT_EQ(rec.effHgt[34].second, "7");
    EXPECT_TRUE(rec.attnH[0].flag);
    EXPECT_EQ(rec.attnH[2].second, "3") << "rows after the reported one are still read";
    EXPECT_FALSE(rec.attnH[3].flag) << "an empty azimuth ends a diagram";
    ASSERT_EQ(db.prompter.messages.size(), 2u);
    EXPECT_EQ(db.prompter.messages[0].title, "readFromFMTVAntDiagr_H");
    EXPECT_EQ(db.prompter.messages[0].text, "Erreur  9:Subscript out of range: azimuth 355");
}

TEST(ReadNtcFromDB, TooManyRowsAreReportedNotFatal)
{
    NoticeDb db;
    store(db, readNotice("t_notice_type = T01\nt_action = ADD\n"));
    std::string rows;
    for (int i = 0; i < 37; ++i)
        rows += std::string(i ? "," : "") + "(1, '" + std::to_string(i % 36 * 10) + "', '1')";
    ASSERT_TRUE(db.conn.exec("INSERT INTO fmtv_ant_hgt (terrakey, azm, eff_hgt) VALUES " + rows));
    read(db, 1, false);
    ASSERT_EQ(db.prompter.messages.size(), 2u);
    EXPECT_EQ(db.prompter.messages[0].text, "To many data in the table. Please consult the administrator!");
    EXPECT_EQ(db.prompter.messages[0].title, "Read Error");

    db.prompter.messages.clear();
    ASSERT_TRUE(db.conn.exec("DELETE FROM fmtv_ant_hgt"));
    for (int i = 0; i < 14; ++i)
        ASSERT_TRUE(db.conn.exec("INSERT INTO fmtv_coord (terrakey, adm) VALUES (1, 'A" + std::to_string(i) + "')"));
    const notice::NoticeRecord rec = read(db, 1, false);
    EXPECT_EQ(rec.coordAdm.adm[12], "A12");
    ASSERT_EQ(db.prompter.messages.size(), 2u);
    EXPECT_EQ(db.prompter.messages[0].title, "readFromFMTVTerra");
}

TEST(ReadNtcFromDB, ReadsTheDigitalPartOfAllotmentNotices)
{
    NoticeDb db;
    store(db, readNotice("t_notice_type = DT2\nt_action = ADD\nt_ctry = F\nzel_sfn_id = s\n"
                         "<COORD_A>\nt_adm = D\n</COORD_A>\nzel_allot_name = a\nzel_nb_sub_areas = 2\n"
                         "zel_contour_id = 7\nzel_contour_id = 9\nt_op_hh_fr = 08:00\n"));
    ASSERT_TRUE(db.conn.exec("UPDATE zel_elements SET conv_freq_assgn = ' 12,5 ', conv_long_ew = 'e', sfn_id = 's';"
                             "UPDATE fmtv_op_prd SET op_hh_fr = '800'"));
    const notice::NoticeRecord rec = read(db, 1);
    EXPECT_TRUE(rec.zel.flag);
    EXPECT_EQ(rec.zel.sfn_id, "s") << "not upper-cased";
    EXPECT_EQ(rec.zel.conv.conv_freq_assgn, "12.5");
    EXPECT_TRUE(rec.zel.conv.flag);
    EXPECT_EQ(rec.zel.conv.coord.long_ew, "e");
    EXPECT_EQ(rec.zel.allotment.contour_id[0], "7");
    EXPECT_EQ(rec.zel.allotment.contour_id[1], "9");
    EXPECT_EQ(rec.zel.coordA.adm[0], "D");
    EXPECT_EQ(rec.opPeriod.first, "0800");
    EXPECT_FALSE(rec.coordAdm.flag);

    ASSERT_TRUE(db.conn.exec("DELETE FROM zel_sub_area"));
    read(db, 1, false);
    EXPECT_EQ(db.prompter.messages[0].text,
              "readZEL04SubArea: The Assignment 1 may be corrupted. Please consult the administrator!");
}

TEST(ReadNtcFromDB, AMissingTargetIsReported)
{
    NoticeDb db;
    store(db, readNotice("t_notice_type = T01\nt_action = MODIFY\n"));
    ASSERT_TRUE(db.conn.exec("DELETE FROM fmtv_target"));
    const notice::NoticeRecord rec = read(db, 1, false);
    EXPECT_FALSE(rec.target.flag);
    EXPECT_EQ(db.prompter.messages[0].text, "The target 1 is not UNIQUE . Please consult the administrator!");
}

TEST(GridRows, HoldEachCellAsTheGridShowsIt)
{
    NoticeDb db;
    store(db, readNotice("t_notice_type = T01\nt_action = ADD\nt_adm_ref_id = r1\nt_freq_assgn = 98.50\n"
                         "t_site_name = Lyon\nt_long = +0044930\nt_lat = -4545\n"));
    store(db, readNotice("t_notice_type = T02\nt_fragment = GE89\nt_freq_assgn = 100\n"));
    GridRows rows;
    rows.add("stale");  // loading starts afresh
    ASSERT_TRUE(loadGridRows(db.conn, rows));
    const std::array<std::array<const char*, kGridColumns>, 2> expected = {{
        {"1", "", "R1", "ADD", "T01", "F", "98.5", "BC", "LYON", "4° 49´ 30´´ E", "45° 45´ ´´ S"},
        {"2", "GE89", "", "", "T02", "F", "100", "BT", "", "° ´ ´´ ", "° ´ ´´ "},
    }};
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t r = 0; r < expected.size(); ++r)
        for (int c = 0; c < kGridColumns; ++c)
            EXPECT_EQ(rows.cell(r, c), expected[r][std::size_t(c)]) << r << " " << gridColumnNames()[std::size_t(c)];
}
