#include "database/NoticeRead.h"
#include "database/NoticeStore.h"
#include "database/NoticeUpdate.h"
#include "database/sqlite/Statement.h"
#include "notice/NoticeFileWriter.h"
#include "support/NoticeDb.h"
#include "support/NoticeText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

using namespace database;
using testing_support::NoticeDb;
using testing_support::readNotice;

namespace {

using Change = std::function<void(notice::NoticeRecord&)>;
using Expected = std::vector<std::pair<std::string, std::string>>;  // query, value

constexpr const char* kNotSaved = "The data was not saved to the database";

void store(NoticeDb& db, const notice::NoticeRecord& rec)
{
    ContourOutcome outcome;
    ASSERT_TRUE(storeNtc(rec, db.conn, outcome, false, db.prompter.report()));
}

notice::NoticeRecord readBack(NoticeDb& db, std::int32_t terrakey)
{
    notice::NoticeRecord rec;
    EXPECT_TRUE(readNtcFromDB(terrakey, rec, db.conn, db.prompter.report()));
    return rec;
}

// Every row of every table, keys and counters included, in a fixed order.
std::string dump(NoticeDb& db)
{
    std::string out;
    db::Statement tables(db.conn, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
    while (tables.step() == db::Step::Row) {
        const std::string table = tables.text(0);
        db::Statement cols(db.conn, "SELECT group_concat('quote(' || name || ')', \" || '|' || \") "
                                    "FROM pragma_table_info(?)");
        cols.bind(1, table);
        std::vector<std::string> rows;
        if (cols.step() == db::Step::Row) {
            db::Statement all(db.conn, "SELECT " + cols.text(0) + " FROM " + table);
            while (all.step() == db::Step::Row)
                rows.push_back(all.text(0));
        }
        std::sort(rows.begin(), rows.end());
        out += table + ":\n";
        for (const std::string& r : rows)
            out += "  " + r + "\n";
    }
    return out;
}

void expectRows(NoticeDb& db, const Expected& expected)
{
    for (const auto& [query, value] : expected)
        EXPECT_EQ(db.scalar(query), value) << query;
}

// The full television notice, with a directive pattern in each polarisation that lacks azimuth 0.
notice::NoticeRecord television()
{
    notice::NoticeRecord rec = readNotice(testing_support::fullTelevisionNotice());
    rec.ant_dir = "D";
    rec.attnH[0] = rec.attnV[0] = notice::FlaggedPair();
    return rec;
}

}  // namespace

TEST(UpdateNtc, TheMainRowTargetAndAnalogueTablesFollowTheRecord)
{
    struct Case {
        const char* name;
        notice::NoticeRecord stored;
        const char* setup;  // SQL run before the update
        Change change;
        Expected expected;
    };
    const notice::NoticeRecord kTelevision = television();
    const notice::NoticeRecord t01Add = readNotice("t_notice_type = T01\nt_action = ADD\n");
    const notice::NoticeRecord powers = readNotice("t_notice_type = T02\nt_action = MODIFY\nt_polar = M\n"
                                                   "t_erp_h_dbw = 40\nt_erp_v_dbw = 37\nt_tran_sys = B\n"
                                                   "t_color = PAL\n");
    const auto remarks = [](std::size_t n) { return [n](notice::NoticeRecord& r) { r.remarks.assign(n, 'x'); }; };
    const Case cases[] = {
        {"MODIFY changed to ADD", kTelevision, "", [](auto& r) { r.intent = "ADD"; },
         {{"SELECT Target IS NULL FROM fmtv_terra", "1"}, {"SELECT count(*) FROM fmtv_target", "0"}}},
        {"no Target, MODIFY", t01Add, "", [](auto& r) { r.intent = "MODIFY"; },
         {{"SELECT Target FROM fmtv_terra", "1"},
          {"SELECT count(*) FROM fmtv_target WHERE Target = 1 AND trg_freq_assgn IS NULL", "1"},
          {"SELECT Target FROM Fmtv_keys", "2"}}},
        {"empty target part", kTelevision, "", [](auto& r) { r.target = notice::TargetRef(); },
         {{"SELECT Target FROM fmtv_terra", "1"},
          {"SELECT count(*) FROM fmtv_target WHERE coalesce(trg_long_deg, trg_long_min, trg_long_sec, trg_long_ew, "
           "trg_lat_deg, trg_lat_min, trg_lat_sec, trg_lat_ns, trg_adm_ref_id, trg_freq_assgn) IS NULL", "1"}}},
        {"empty tran_sys and color", powers, "", [](auto& r) { r.tran_sys.clear(), r.color.clear(); },
         {{"SELECT tran_sys || '/' || (color IS NULL) FROM fmtv_terra", "B/1"}}},
        {"polar V", powers, "", [](auto& r) { r.polar = "V"; },
         {{"SELECT (erp_h_dbw IS NULL) || '/' || erp_v_dbw FROM fmtv_terra", "1/37"}}},
        {"polar M", powers, "", [](auto&) {}, {{"SELECT erp_h_dbw || '/' || erp_v_dbw FROM fmtv_terra", "40/37"}}},
        {"TB5 suppression", kTelevision,
         "INSERT INTO zel_coord_analog_KOLV VALUES (1, 'KA'); INSERT INTO zel_coord_other_service VALUES (1, 'KO')",
         [](auto& r) { r.notice_typ = "TB5", r.intent = "SUPPRESS", r.remarks = "gone"; },
         {{"SELECT (SELECT count(*) FROM fmtv_op_prd) || (SELECT count(*) FROM fmtv_ant_hgt) || "
           "(SELECT count(*) FROM fmtv_coord) || (SELECT count(*) FROM fmtv_ant_diag)", "0000"},
          {"SELECT group_concat(rmk_text) FROM fmtv_rmks", "gone"},
          {"SELECT (SELECT adm FROM zel_coord_analog_KOLV) || (SELECT adm FROM zel_coord_other_service)", "KAKO"},
          {"SELECT count(*) || '/' || terrakey FROM zel_elements", "1/1"}}},
        {"T01 ADD without operating period", t01Add, "", [](auto&) {},
         {{"SELECT count(*) || '/' || (op_hh_fr IS NULL) || (op_hh_to IS NULL) FROM fmtv_op_prd", "1/11"}}},
        {"two operating periods", kTelevision, "INSERT INTO fmtv_op_prd VALUES (1, '0500', '0900')",
         [](auto& r) { r.opPeriod.first = "0700"; },
         {{"SELECT group_concat(op_hh_fr || '-' || op_hh_to) FROM (SELECT * FROM fmtv_op_prd ORDER BY rowid)",
           "0700-2330,0500-0900"}}},
        {"D with H", kTelevision, "",
         [](auto& r) { r.polar = "H", r.attnH[5].second = "9", r.attnV = notice::AzimuthSlots(); },
         {{"SELECT count(*) FROM fmtv_ant_diag WHERE polar = 'V'", "35"},
          {"SELECT count(*) || '/' || sum(attn = '9') FROM fmtv_ant_diag WHERE polar = 'H'", "35/1"}}},
        {"ND", kTelevision, "", [](auto& r) { r.ant_dir = "ND", r.attnH = notice::AzimuthSlots(); },
         {{"SELECT count(*) FROM fmtv_ant_diag WHERE polar = 'H'", "0"},
          {"SELECT count(*) FROM fmtv_ant_diag WHERE polar = 'V'", "35"}}},
        {"empty ant_dir", kTelevision, "", [](auto& r) { r.ant_dir.clear(); },
         {{"SELECT (ant_dir IS NULL) || '/' || count(*) FROM fmtv_terra JOIN fmtv_ant_diag USING (terrakey)",
           "1/70"}}},
        {"remarks of 0", kTelevision, "", remarks(0), {{"SELECT count(*) FROM fmtv_rmks", "0"}}},
        {"remarks of 80", kTelevision, "", remarks(80), {{"SELECT group_concat(rmk_seq_no) FROM fmtv_rmks", "0"}}},
        {"remarks of 81", kTelevision, "", remarks(81),
         {{"SELECT group_concat(rmk_seq_no || ':' || length(rmk_text)) FROM (SELECT * FROM fmtv_rmks ORDER BY 3)",
           "0:80,1:1"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NoticeDb db;
        store(db, c.stored);
        notice::NoticeRecord rec = readBack(db, 1);
        ASSERT_TRUE(db.conn.exec(c.setup));
        c.change(rec);
        EXPECT_TRUE(updateNtc(rec, 1, db.conn, db.prompter.report()));
        EXPECT_TRUE(db.prompter.messages.empty()) << db.prompter.messages.front().text;
        expectRows(db, c.expected);
    }
}

TEST(UpdateNtc, DigitalPlanRowsFollowTheRecord)
{
    // A TB5 gets its elements at its first update and an empty allotment at its second.
    NoticeDb db;
    store(db, readNotice("t_notice_type = T02\nt_action = MODIFY\n"));
    notice::NoticeRecord rec = readBack(db, 1);
    rec.notice_typ = "TB5", rec.intent = "SUPPRESS", rec.zel.sys_var = "X";
    const char* progress = "SELECT (SELECT count(*) || sys_var FROM zel_elements) || '/' || "
                           "(SELECT count(*) || ifnull(max(allotkey), '') FROM zel_allotment) || '/' || "
                           "(SELECT allotkey FROM Fmtv_keys)";
    for (const char* expected : {"1X/0/1", "1X/11/2", "1X/11/2"}) {
        ASSERT_TRUE(updateNtc(rec, 1, db.conn, db.prompter.report()));
        EXPECT_EQ(db.scalar(progress), expected);
    }
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_allotment WHERE coalesce(allot_name, geo_area, nb_sub_areas) "
                        "IS NULL"),
              "1");

    struct Case {
        const char* name;
        Change change;
        Expected expected;
    };
    const Case cases[] = {
        {"both ids emptied", [](auto& r) { r.zel.sfn_id.clear(), r.zel.adm_allot_id.clear(); },
         {{"SELECT count(*) FROM zel_sfnID_proc", "0"}}},
        {"sfn_id emptied", [](auto& r) { r.zel.sfn_id.clear(), r.zel.adm_allot_id = "NEW"; },
         {{"SELECT (sfn_id IS NULL) || adm_allot_id || adm || notice_typ FROM zel_sfnID_proc", "1NEWFDS2"}}},
        {"sub-areas emptied", [](auto& r) { r.zel.allotment.nb_sub_areas.clear(); },
         {{"SELECT count(*) FROM zel_sub_area", "0"},
          {"SELECT (nb_sub_areas IS NULL) || allot_name FROM zel_allotment", "1NORTH"},
          {"SELECT count(*) FROM zel_contour", "2"}}},
        {"sub-areas changed", [](auto& r) { r.zel.allotment.contour_id[1] = "8"; },
         {{"SELECT group_concat(contour_id) FROM (SELECT contour_id FROM zel_sub_area JOIN zel_contour "
           "USING (contourkey) ORDER BY zel_sub_area.rowid)", "7,8"},
          {"SELECT count(*) FROM zel_contour", "3"}}},
        {"conversion frequency with a comma", [](auto& r) { r.zel.conv.conv_freq_assgn = "101,5"; },
         {{"SELECT conv_freq_assgn FROM zel_elements", "101,5"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NoticeDb ds2;
        store(ds2, readNotice("t_notice_type = DS2\nt_action = ADD\nzel_sfn_id = S1\nzel_adm_allot_id = A1\n"
                              "zel_conv_freq_assgn = 101,5\nzel_allot_name = north\nzel_nb_sub_areas = 2\n"
                              "zel_contour_id = 7\nzel_contour_id = 9\n"));
        ASSERT_EQ(ds2.scalar("SELECT conv_freq_assgn FROM zel_elements"), "101.5");
        notice::NoticeRecord r = readBack(ds2, 1);
        c.change(r);
        EXPECT_TRUE(updateNtc(r, 1, ds2.conn, ds2.prompter.report()));
        EXPECT_TRUE(ds2.prompter.messages.empty()) << ds2.prompter.messages.front().text;
        expectRows(ds2, c.expected);
    }
}

TEST(UpdateNtc, TheRecordAsReadIsReadBackUnchanged)
{
    const notice::NoticeRecord cases[] = {
        television(),
        readNotice("t_notice_type = T01\nt_action = ADD\nt_fragment = NTFD_RR\nt_freq_assgn = 98.5\n"
                   "t_site_name = Nice\nt_op_hh_fr = 06:00\nt_op_hh_to = 22:00\n"),
        readNotice("t_notice_type = DS1\nt_action = ADD\nt_freq_assgn = 223.936\nzel_sys_var = A\n"
                   "zel_allot_name = south\nzel_geo_area = G\nzel_nb_sub_areas = 2\nzel_contour_id = 7\n"
                   "zel_contour_id = 9\n<COORD_A>\nt_adm = KA\n</COORD_A>\n")};
    for (const notice::NoticeRecord& stored : cases) {
        SCOPED_TRACE(stored.notice_typ);
        NoticeDb db;
        store(db, stored);
        const notice::NoticeRecord first = readBack(db, 1);
        ASSERT_TRUE(updateNtc(first, 1, db.conn, db.prompter.report()));
        const notice::NoticeRecord again = readBack(db, 1);
        EXPECT_TRUE(again == first);
        EXPECT_EQ(notice::writeNoticeSection(again, 1), notice::writeNoticeSection(first, 1));
        EXPECT_TRUE(db.prompter.messages.empty());
    }
}

TEST(UpdateNtc, AnyFailureRollsBackEverythingAfterItsOwnReport)
{
    struct Case {
        std::string setup;  // SQL run once the notice was read
        std::int32_t terrakey;
        Change change;
        const char* title;  // of the first message
        const char* text;   // found in the first message
    };
    const auto fault = [](const char* on) {
        return std::string("CREATE TRIGGER fault ") + on + " BEGIN SELECT RAISE(ABORT, 'disk full'); END";
    };
    const auto none = [](notice::NoticeRecord&) {};
    // The television notice loses its target first, so that the update draws a new one.
    const std::string noTarget = "UPDATE fmtv_terra SET Target = NULL WHERE terrakey = 1; DELETE FROM fmtv_target;";
    const std::string notUnique = "The selected notice is not unique. Please consult the administrator!";
    const Case cases[] = {
        {noTarget + fault("BEFORE UPDATE ON fmtv_terra"), 1, none, "updateFMTVTerraTable", "disk full"},
        {noTarget + fault("BEFORE INSERT ON fmtv_target"), 1, none, "writeToFMTVTargetTable", "disk full"},
        {fault("BEFORE DELETE ON fmtv_rmks"), 1, none, "updateFMTVRmksTable", "disk full"},
        {fault("BEFORE UPDATE ON fmtv_op_prd"), 1, none, "updateFMTVOpPrdTable", "disk full"},
        {fault("BEFORE INSERT ON fmtv_ant_diag"), 1, none, "writeToFMTVAntDiagTable", "disk full"},
        {fault("BEFORE UPDATE ON zel_elements"), 2, none, "udpateZEL04ElementTable", "disk full"},
        {fault("BEFORE UPDATE ON zel_sfnID_proc"), 2, none, "updateSfnIDProcTable", "disk full"},
        {fault("BEFORE INSERT ON zel_sub_area"), 2, none, "addZEL04SubArea", "disk full"},
        {"", 99, none, "Update Error", notUnique.c_str()},
        {"DELETE FROM fmtv_target", 1, none, "Update Error", notUnique.c_str()},
        {noTarget + "DELETE FROM Fmtv_keys", 1, none, "Error Reading the database",
         "There is more than one Targetkey. Please consult your administrator!"},
        {"", 1, [](auto& r) { r.long_deg = "4x"; }, "updateFMTVTerraTable", "long_deg"},
        {"", 1, [](auto& r) { r.lat_deg = "45.5"; }, "updateFMTVTerraTable", "lat_deg"},
        {"", 1, [](auto& r) { r.freq_assgn = "98,5"; }, "updateFMTVTerraTable", "freq_assgn"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setup + " " + c.text);
        NoticeDb db;
        store(db, television());
        store(db, readNotice("t_notice_type = DS2\nt_action = ADD\nzel_sfn_id = S1\nzel_nb_sub_areas = 1\n"
                             "zel_contour_id = 7\n"));
        notice::NoticeRecord rec = readBack(db, c.terrakey == 2 ? 2 : 1);
        c.change(rec);
        ASSERT_TRUE(db.conn.exec(c.setup));
        const std::string before = dump(db);
        EXPECT_FALSE(updateNtc(rec, c.terrakey, db.conn, db.prompter.report()));
        EXPECT_EQ(dump(db), before);
        const auto& shown = db.prompter.messages;
        ASSERT_EQ(shown.size(), 2u) << "the update stops at its first failure";
        EXPECT_EQ(shown[0].title, c.title);
        EXPECT_NE(shown[0].text.find(c.text), std::string::npos) << shown[0].text;
        EXPECT_EQ(shown[1].text, kNotSaved);
    }
}

TEST(UpdateNtc, QuotesAccentsAndLongRemarksAreStoredExactly)
{
    NoticeDb db;
    store(db, television());
    notice::NoticeRecord rec = readBack(db, 1);
    rec.site_name = "L'HAŸ \"LES\" ROSES";
    rec.target.adm_ref_id = "O'Brien; DROP TABLE fmtv_terra";
    rec.remarks.clear();
    for (int i = 0; i < 1000; ++i)
        rec.remarks += i % 3 ? "é" : "'";
    ASSERT_TRUE(updateNtc(rec, 1, db.conn, db.prompter.report()));
    const notice::NoticeRecord back = readBack(db, 1);
    EXPECT_EQ(back.site_name, rec.site_name);
    EXPECT_EQ(back.target.adm_ref_id, rec.target.adm_ref_id);
    EXPECT_EQ(back.remarks, rec.remarks);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_rmks"), "13") << "cut by characters";
}

TEST(UpdateNtc, AContourNoticeGoesToItsContour)
{
    NoticeDb db;
    const std::string points = "<POINT>\nzel_long = +0010000\nzel_lat = +450000\n</POINT>\n"
                               "<POINT>\nzel_long = +0020000\nzel_lat = +460000\n</POINT>\n";
    store(db, readNotice("t_notice_type = DA1\nt_ctry = F\nzel_contour_id = 7\nzel_nb_test_pts = 2\n"
                         "t_remarks = old\n" + points));
    notice::NoticeRecord rec = readNotice("t_notice_type = DA1\nt_ctry = F\nzel_contour_id = 7\nzel_nb_test_pts = 2\n"
                                          "t_remarks = new\n" + points);
    rec.zel.contour.points[1].first = "+0030000";
    ASSERT_TRUE(updateNtc(rec, 1, db.conn, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT remarks FROM zel_contour WHERE contourkey = 1"), "new");
    EXPECT_EQ(db.scalar("SELECT group_concat(long_deg) FROM (SELECT long_deg FROM zel_contour_pt ORDER BY test_pt)"),
              "001,003");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_terra"), "0");
}
