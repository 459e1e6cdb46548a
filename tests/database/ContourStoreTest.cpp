#include "database/NoticeStore.h"
#include "support/NoticeDb.h"
#include "support/NoticeText.h"

#include <gtest/gtest.h>

using namespace database;
using testing_support::NoticeDb;
using testing_support::readNotice;

namespace {

// An allotment notice naming the given contour ids.
notice::NoticeRecord allotment(const std::string& subAreas, const std::vector<std::string>& ids,
                               const std::string& ctry = "F")
{
    std::string body = "t_notice_type = DT2\nt_action = ADD\nt_ctry = " + ctry +
                       "\nzel_allot_name = north\nzel_nb_sub_areas = " + subAreas + "\n";
    for (const std::string& id : ids)
        body += "zel_contour_id = " + id + "\n";
    return readNotice(body);
}

// A contour notice with the given id and test points (longitude, latitude).
notice::NoticeRecord contour(const std::string& id, const std::vector<std::pair<std::string, std::string>>& points,
                             const std::string& ctry = "F")
{
    std::string body = "t_notice_type = DA1\nt_ctry = " + ctry + "\nzel_contour_id = " + id +
                       "\nzel_nb_test_pts = " + std::to_string(points.size()) + "\nt_remarks = edge\n";
    for (const auto& [lon, lat] : points)
        body += "<POINT>\nzel_long = " + lon + "\nzel_lat = " + lat + "\n</POINT>\n";
    return readNotice(body);
}

const std::vector<std::pair<std::string, std::string>> kThree = {
    {"+0123456", "-1234"}, {"-01234", "+123456"}, {"+0010000", "+0100"}};

}  // namespace

TEST(ContourStore, AnAllotmentMakesPlaceholdersThatAContourNoticeFills)
{
    NoticeDb db;
    ContourOutcome outcome;
    ASSERT_TRUE(storeNtc(allotment("2", {"7", "9"}), db.conn, outcome, false, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_sub_area"), "2");
    EXPECT_EQ(db.scalar("SELECT group_concat(contour_id) FROM zel_contour WHERE nb_test_pts IS NULL"), "7,9");

    outcome.status = -1;
    ASSERT_TRUE(storeNtc(contour("07", kThree), db.conn, outcome, false, db.prompter.report()));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_TRUE(db.prompter.questions.empty()) << "a placeholder is filled without asking";
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_contour"), "2");
    EXPECT_EQ(db.scalar("SELECT nb_test_pts || '/' || remarks FROM zel_contour WHERE contour_id = 7"), "3/edge");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_terra"), "1") << "a contour notice has no notice row";

    // The points are split into their parts; missing seconds stay Null.
    EXPECT_EQ(db.scalar("SELECT group_concat(p, ' ') FROM (SELECT test_pt || ':' || long_deg || long_min || "
                        "IFNULL(long_sec, '--') || long_ew || lat_deg || lat_min || IFNULL(lat_sec, '--') || lat_ns "
                        "AS p FROM zel_contour_pt ORDER BY test_pt)"),
              "0:0123456E1234--S 1:01234--W123456N 2:0010000E0100--N");
}

TEST(ContourStore, ADefinedContourIsOverwrittenOnlyAfterYes)
{
    NoticeDb db;
    ContourOutcome outcome;
    ASSERT_TRUE(storeNtc(allotment("2", {"7", "9"}), db.conn, outcome, false, db.prompter.report()));
    ASSERT_TRUE(storeNtc(contour("7", kThree), db.conn, outcome, false, db.prompter.report()));
    const std::string key = db.scalar("SELECT contourkey FROM zel_contour WHERE contour_id = 7");
    const std::string before = db.tableCounts();

    const auto two = std::vector<std::pair<std::string, std::string>>{{"+0200000", "+2000"}, {"+0210000", "+2100"}};
    db.prompter.answers = {false};
    ASSERT_TRUE(storeNtc(contour("7", two), db.conn, outcome, false, db.prompter.report()));
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(db.tableCounts(), before);
    ASSERT_EQ(db.prompter.questions.size(), 1u);
    EXPECT_EQ(db.prompter.questions[0].title, "Duplicate ContourID");
    EXPECT_EQ(db.prompter.questions[0].text, "Do you want to overwrite : \r\nContour ID : 7 defined with 3 test "
                                             "points  WITH\r\nContour ID : 7 defined with 2 test points ?");

    db.prompter.answers = {true};
    ASSERT_TRUE(storeNtc(contour("7", two), db.conn, outcome, false, db.prompter.report()));
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(std::to_string(outcome.overwrittenContourKey), key);
    EXPECT_EQ(db.scalar("SELECT group_concat(long_deg) FROM zel_contour_pt WHERE contourkey = " + key), "020,021");
    EXPECT_EQ(db.scalar("SELECT nb_test_pts FROM zel_contour WHERE contourkey = " + key), "2");
}

TEST(ContourStore, ADefinedContourWithASingleStoredPointIsNotOverwritten)
{
    NoticeDb db;
    ContourOutcome outcome;
    ASSERT_TRUE(storeNtc(contour("5", {{"+0010000", "+0100"}}), db.conn, outcome, false, db.prompter.report()));
    const std::string before = db.tableCounts();
    db.prompter.answers = {true};
    EXPECT_FALSE(storeNtc(contour("5", kThree), db.conn, outcome, false, db.prompter.report()));
    EXPECT_EQ(db.tableCounts(), before);
    ASSERT_EQ(db.prompter.messages.size(), 2u);
    EXPECT_EQ(db.prompter.messages[0].text,
              "deleteContourPointTable: The contour point is corrupted. Please consult the administrator!");
}

TEST(ContourStore, AContourNoticeWithoutPointsIsNotStored)
{
    NoticeDb db;
    ContourOutcome outcome;
    EXPECT_FALSE(storeNtc(contour("5", {}), db.conn, outcome, false, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_contour"), "0");
    EXPECT_EQ(db.scalar("SELECT contourkey FROM Fmtv_keys"), "1");
}

TEST(ContourStore, SubAreasShareContoursAndSkipEmptyIds)
{
    NoticeDb db;
    ContourOutcome outcome;
    notice::NoticeRecord gap = allotment("3", {"4", "", "6"});
    ASSERT_TRUE(storeNtc(gap, db.conn, outcome, false, db.prompter.report()));
    ASSERT_TRUE(storeNtc(allotment("1", {"4"}), db.conn, outcome, false, db.prompter.report()));
    ASSERT_TRUE(storeNtc(allotment("1", {"4"}, "D"), db.conn, outcome, false, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_sub_area"), "4");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_contour"), "3") << "4 of F shared, 6 of F, 4 of D";
    EXPECT_EQ(db.scalar("SELECT count(DISTINCT contourkey) FROM zel_sub_area"), "3");
}

TEST(ContourStore, AnAllotmentFailsWhenAnyIdFails)
{
    NoticeDb db;
    ContourOutcome outcome;
    // Two stored contours of id 8 make it ambiguous.
    ASSERT_TRUE(db.conn.exec("INSERT INTO zel_contour (contourkey, contour_id, ctry, adm) VALUES "
                             "(50, 8, 'F', 'F'), (51, 8, 'F', 'F')"));
    const std::string before = db.tableCounts();
    EXPECT_FALSE(storeNtc(allotment("2", {"8", "9"}), db.conn, outcome, false, db.prompter.report()));
    EXPECT_EQ(db.tableCounts(), before);
    EXPECT_EQ(db.prompter.messages.front().text,
              "Problem : Contour ID is not unique !! Please consult the adminstrator");

    // None named fails.
    EXPECT_FALSE(storeNtc(allotment("0", {"3"}), db.conn, outcome, false, db.prompter.report()));
}

TEST(ContourStore, ASubAreaCountBeyondTheTenIdsStoresTheTenAndReportsTheRest)
{
    struct Row {
        const char* count;
        std::vector<std::string> ids;  // at most ten: the reader refuses the others
        bool stored;
        const char* subAreas;  // contour ids of the stored sub-areas
    };
    const std::vector<std::string> ten = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    const Row rows[] = {
        {"11", ten, true, "1,2,3,4,5,6,7,8,9,10"},
        {"12", ten, true, "1,2,3,4,5,6,7,8,9,10"},
        {"12", {"1", "2"}, true, "1,2"},
        {"11", {}, false, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.count) + " sub-areas, " + std::to_string(r.ids.size()) + " ids");
        NoticeDb db;
        ContourOutcome outcome;
        EXPECT_EQ(storeNtc(allotment(r.count, r.ids), db.conn, outcome, false, db.prompter.report()), r.stored);
        EXPECT_EQ(db.scalar("SELECT group_concat(contour_id) FROM (SELECT contour_id FROM zel_sub_area JOIN "
                            "zel_contour USING (contourkey) ORDER BY zel_sub_area.rowid)"),
                  r.subAreas);
        EXPECT_EQ(db.scalar("SELECT nb_sub_areas FROM zel_allotment"), r.stored ? r.count : "");
        ASSERT_FALSE(db.prompter.messages.empty());
        EXPECT_EQ(db.prompter.messages[0].title, "addZEL04SubArea");
        EXPECT_EQ(db.prompter.messages[0].text, "Erreur  9:Subscript out of range: more than 10 sub-areas");
        if (r.stored)
            EXPECT_EQ(db.prompter.messages.size(), 1u) << "the notice is stored after the one error";
        else
            EXPECT_EQ(db.prompter.messages.back().text, "The data was not saved to the database");
    }
}

TEST(ContourStore, DigitalElementsAndSingleFrequencyNetwork)
{
    NoticeDb db;
    ContourOutcome outcome;
    ASSERT_TRUE(storeNtc(readNotice("t_notice_type = T02\nt_action = ADD\nzel_sfn_id = S1\n"
                                    "zel_conv_freq_assgn = 101,5\nzel_conv_long = -0013000\n"),
                         db.conn, outcome, false, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT conv_freq_assgn || conv_long_deg || conv_long_ew || coord_self FROM zel_elements"),
              "101.5001WFALSE");
    EXPECT_EQ(db.scalar("SELECT adm || sfn_id || notice_typ FROM zel_sfnID_proc"), "FS1T02");

    notice::NoticeRecord rec = readNotice("t_action = ADD\nzel_rx_mode = fx\n");
    rec.zel.conv.conv_freq_assgn = "99,1";  // conversion flag clear
    ASSERT_TRUE(storeNtc(rec, db.conn, outcome, false, db.prompter.report()));
    EXPECT_EQ(db.scalar("SELECT conv_freq_assgn IS NULL FROM zel_elements WHERE terrakey = 2"), "1");
    EXPECT_EQ(db.scalar("SELECT count(*) FROM zel_sfnID_proc"), "1");
}
