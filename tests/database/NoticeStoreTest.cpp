#include "database/NoticeStore.h"
#include "support/NoticeDb.h"
#include "support/NoticeText.h"

#include <gtest/gtest.h>

using namespace database;
using testing_support::NoticeDb;
using testing_support::readNotice;

namespace {

bool store(NoticeDb& db, const notice::NoticeRecord& rec)
{
    ContourOutcome outcome;
    return storeNtc(rec, db.conn, outcome, false, db.prompter.report());
}

}  // namespace

TEST(StoreNtc, StoresAFullTelevisionNoticeInEveryTable)
{
    NoticeDb db;
    const notice::NoticeRecord rec = readNotice(testing_support::fullTelevisionNotice());
    const notice::NoticeRecord before = rec;
    ASSERT_TRUE(store(db, rec));
    EXPECT_EQ(rec, before) << "storing leaves the caller's record as it was";
    EXPECT_TRUE(db.prompter.messages.empty());

    EXPECT_EQ(db.tableCounts(),
              "Fmtv_keys=1;fmtv_ant_diag=72;fmtv_ant_hgt=36;fmtv_coord=13;fmtv_op_prd=1;fmtv_rmks=3;fmtv_target=1;"
              "fmtv_terra=1;zel_allotment=0;zel_contour=0;zel_contour_pt=0;zel_coord_analog_KOLV=0;"
              "zel_coord_other_service=0;zel_elements=0;zel_sfnID_proc=0;zel_sub_area=0;keys=2,1,1,2");
    EXPECT_EQ(db.scalar("SELECT terrakey || '/' || Target || '/' || freq_assgn || '/' || long_deg || '/' || "
                        "lat_sec || '/' || ant_dir || '/' || stn_cls FROM fmtv_terra"),
              "1/1/479.25/4/30/D/BT");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_ant_diag WHERE polar = 'H'"), "36");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_ant_diag WHERE polar = 'V'"), "36");
    EXPECT_EQ(db.scalar("SELECT trg_adm_ref_id || trg_long_deg FROM fmtv_target WHERE Target = 1"), "TV-0004");
    EXPECT_EQ(db.scalar("SELECT op_hh_fr || '-' || op_hh_to FROM fmtv_op_prd"), "0600-2330");
    EXPECT_EQ(db.scalar("SELECT group_concat(rmk_seq_no) FROM (SELECT rmk_seq_no FROM fmtv_rmks ORDER BY 1)"),
              "0,1,2");
    EXPECT_EQ(db.scalar("SELECT group_concat(rmk_text, '') FROM (SELECT rmk_text FROM fmtv_rmks ORDER BY "
                        "rmk_seq_no)"),
              rec.remarks);
    EXPECT_EQ(db.scalar("SELECT length(rmk_text) FROM fmtv_rmks WHERE rmk_seq_no = 0"), "80")
        << "cut by characters";
}

TEST(StoreNtc, AFailingTableRollsBackTheWholeNoticeAndItsKeys)
{
    NoticeDb db;
    ASSERT_TRUE(db.conn.exec("CREATE TRIGGER fail_diag BEFORE INSERT ON fmtv_ant_diag "
                             "BEGIN SELECT RAISE(ABORT, 'disk full'); END"));
    const std::string before = db.tableCounts();
    EXPECT_FALSE(store(db, readNotice(testing_support::fullTelevisionNotice())));
    EXPECT_EQ(db.tableCounts(), before);
    ASSERT_EQ(db.prompter.messages.size(), 2u);
    EXPECT_EQ(db.prompter.messages[0].title, "writeToFMTVAntDiagTable");
    EXPECT_NE(db.prompter.messages[0].text.find("disk full"), std::string::npos);
    EXPECT_EQ(db.prompter.messages[1].text, "The data was not saved to the database");

    ASSERT_TRUE(db.conn.exec("DROP TRIGGER fail_diag"));
    ASSERT_TRUE(store(db, readNotice("t_notice_type = T01\nt_action = ADD\n")));
    EXPECT_EQ(db.scalar("SELECT terrakey FROM fmtv_terra"), "1") << "the failed notice used up no key";
}

TEST(StoreNtc, TheIntentDecidesWhichTablesAreReached)
{
    const std::string parts = "t_notice_type = T02\nt_polar = H\nt_op_hh_fr = 06:00\nzel_sys_var = A\n"
                              "<ANT_HGT>\nt_eff_hgt@azm0 = 1\n</ANT_HGT>\n"
                              "<ANT_DIAGR_H>\nt_attn@azm0 = 1\n</ANT_DIAGR_H>\nt_remarks = r\n";
    struct Row { const char* intent; const char* target; const char* counts; };
    const Row rows[] = {
        {"ADD", "t_trg_freq_assgn = 1\n",
         "fmtv_ant_diag=1;fmtv_ant_hgt=1;fmtv_op_prd=1;fmtv_rmks=1;fmtv_target=0;zel_elements=1;"},
        {"MODIFY", "", "fmtv_ant_diag=1;fmtv_ant_hgt=1;fmtv_op_prd=1;fmtv_rmks=1;fmtv_target=1;zel_elements=1;"},
        {"SUPPRESS", "", "fmtv_ant_diag=0;fmtv_ant_hgt=0;fmtv_op_prd=0;fmtv_rmks=1;fmtv_target=1;zel_elements=0;"},
        {"WITHDRAW", "", "fmtv_ant_diag=0;fmtv_ant_hgt=0;fmtv_op_prd=0;fmtv_rmks=1;fmtv_target=1;zel_elements=0;"},
    };
    for (const Row& r : rows) {
        NoticeDb db;
        ASSERT_TRUE(store(db, readNotice(parts + "t_action = " + r.intent + "\n" + r.target)));
        std::string counts;
        for (const char* t : {"fmtv_ant_diag", "fmtv_ant_hgt", "fmtv_op_prd", "fmtv_rmks", "fmtv_target",
                              "zel_elements"})
            counts += std::string(t) + "=" + db.scalar(std::string("SELECT count(*) FROM ") + t) + ";";
        EXPECT_EQ(counts, r.counts) << r.intent;
        EXPECT_EQ(db.scalar("SELECT Target IS NULL FROM fmtv_terra"), std::string(r.intent) == "ADD" ? "1" : "0");
    }
    NoticeDb db;
    ASSERT_TRUE(store(db, readNotice("t_action = MODIFY\n")));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_target WHERE Target = 1 AND trg_freq_assgn IS NULL"), "1")
        << "a modification without target gets a row holding only its key";
}

TEST(StoreNtc, PowersAndDirectivityFollowThePolarisation)
{
    struct Row { const char* lines; const char* h; const char* v; const char* dir; const char* diagRows; };
    const Row rows[] = {
        {"t_polar = H\n", "40", "", "ND", "0"},
        {"t_polar = M\n", "40", "37", "ND", "0"},
        {"t_polar = V\n", "", "37", "ND", "0"},
        {"t_polar = H\n<ANT_DIAGR_V>\nt_attn@azm0 = 1\n</ANT_DIAGR_V>\n", "40", "", "ND", "0"},
        {"t_polar = V\n<ANT_DIAGR_V>\nt_attn@azm0 = 1\n</ANT_DIAGR_V>\n", "", "37", "D", "1"},
    };
    for (const Row& r : rows) {
        NoticeDb db;
        ASSERT_TRUE(store(db, readNotice(std::string("t_notice_type = T02\nt_action = ADD\nt_erp_h_dbw = 40\n"
                                                     "t_erp_v_dbw = 37\n") + r.lines)));
        EXPECT_EQ(db.scalar("SELECT erp_h_dbw FROM fmtv_terra"), r.h) << r.lines;
        EXPECT_EQ(db.scalar("SELECT erp_v_dbw FROM fmtv_terra"), r.v) << r.lines;
        EXPECT_EQ(db.scalar("SELECT ant_dir FROM fmtv_terra"), r.dir) << r.lines;
        EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_ant_diag"), r.diagRows) << r.lines;
    }

    // A record that never went through the reader: the column is worked out, the record's own
    // empty directivity writes no diagram.
    NoticeDb db;
    notice::NoticeRecord rec = readNotice("t_notice_type = T02\nt_action = ADD\nt_polar = V\n");
    rec.ant_dir.clear();
    rec.attnV[0] = {true, "0", "3"};
    ASSERT_TRUE(store(db, rec));
    EXPECT_EQ(db.scalar("SELECT ant_dir FROM fmtv_terra"), "D");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_ant_diag"), "0");
}

TEST(StoreNtc, RemarksAreCutInRowsOfEightyCharacters)
{
    for (const auto& [length, rowsExpected] : {std::pair{0, "0"}, {80, "1"}, {81, "2"}, {160, "2"}, {161, "3"}}) {
        NoticeDb db;
        notice::NoticeRecord rec = readNotice("t_action = ADD\n");
        rec.remarks = std::string(std::size_t(length), 'x');
        ASSERT_TRUE(store(db, rec));
        EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_rmks"), rowsExpected) << length;
        if (length == 81) {
            EXPECT_EQ(db.scalar("SELECT length(rmk_text) FROM fmtv_rmks WHERE rmk_seq_no = 1"), "1");
        }
    }
}

TEST(StoreNtc, CoordinationListsStoreTheirSlots)
{
    NoticeDb db;
    notice::NoticeRecord rec = readNotice("t_action = ADD\nzel_sys_var = A\n");
    for (int i = 0; i < notice::kAdmSlots; ++i) {
        rec.coordAdm.adm[i] = "C" + std::to_string(i);
        rec.zel.coordA.adm[i] = "A" + std::to_string(i);
    }
    rec.coordAdm.flag = rec.zel.coordA.flag = true;
    rec.zel.coordO.flag = true;  // flagged, but no administration
    ASSERT_TRUE(store(db, rec));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_coord"), "13");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_coord_analog_KOLV"), "12");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_coord_other_service"), "0");
}

TEST(StoreNtc, FlaggedAntennaSlotsAreStoredAsTheyStand)
{
    NoticeDb db;
    notice::NoticeRecord rec = readNotice("t_action = ADD\n");
    rec.effHgt[3] = {true, "030", ""};
    rec.effHgt[4] = {false, "040", "9"};
    ASSERT_TRUE(store(db, rec));
    EXPECT_EQ(db.scalar("SELECT azm || '/' || (eff_hgt IS NULL) || '/' || eff_hgt FROM fmtv_ant_hgt"), "030/0/");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_ant_hgt"), "1");
}

TEST(StoreNtc, AValueTheColumnCannotHoldFailsTheNotice)
{
    NoticeDb db;
    EXPECT_FALSE(store(db, readNotice("t_action = ADD\nt_freq_assgn = abc\n")));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_terra"), "0");
    ASSERT_FALSE(db.prompter.messages.empty());
    EXPECT_EQ(db.prompter.messages[0].title, "writeToFMTVTerraTable");
}
