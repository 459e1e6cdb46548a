#include "database/Lookups.h"
#include "database/sqlite/RowWriter.h"
#include "support/NoticeDb.h"

#include <gtest/gtest.h>

using namespace database;
using testing_support::NoticeDb;

namespace {

struct Site {
    std::int64_t key;
    const char *freq, *longDeg, *longMin, *longSec, *ew, *latDeg, *latMin, *latSec, *ns, *adm, *ref;
};

void store(NoticeDb& db, const Site& s)
{
    ASSERT_TRUE(db::RowWriter::insert(db.conn, "fmtv_terra")
                    .set("terrakey", s.key)
                    .setIfNotEmpty("freq_assgn", s.freq)
                    .setIfNotEmpty("long_deg", s.longDeg)
                    .setIfNotEmpty("long_min", s.longMin)
                    .setIfNotEmpty("long_sec", s.longSec)
                    .setIfNotEmpty("long_ew", s.ew)
                    .setIfNotEmpty("lat_deg", s.latDeg)
                    .setIfNotEmpty("lat_min", s.latMin)
                    .setIfNotEmpty("lat_sec", s.latSec)
                    .setIfNotEmpty("lat_ns", s.ns)
                    .setIfNotEmpty("adm", s.adm)
                    .setIfNotEmpty("adm_ref_id", s.ref)
                    .set("notice_typ", " t01")
                    .run())
        << db.conn.lastError().message;
}

Lookup find(NoticeDb& db, const Site& s, std::int32_t& key)
{
    return findSameFreqCoordAdm(s.freq, s.longDeg, s.longMin, s.longSec, s.ew, s.latDeg, s.latMin, s.latSec, s.ns,
                                s.adm, key, db.conn);
}

}  // namespace

TEST(Lookups, FindTheSameSiteByNumberNotByText)
{
    NoticeDb db;
    store(db, {17, "098.50", "007", "05", "", "E", "45", "07", "30", "N", "O'NEIL", "R1"});
    store(db, {12, "98.5", "7", "5", "0", "E", "45", "7", "30", "N", "O'NEIL", "R1"});
    std::int32_t key = -1;
    EXPECT_EQ(find(db, {0, "98.5", "7", "5", "", "e", "45", "7", "30", "n", "O'NEIL", ""}, key), Lookup::Found);
    EXPECT_EQ(key, 12) << "the lower key of two matches";
    EXPECT_EQ(find(db, {0, " 98.50 ", "07", "05", "00", "E", "45", "07", "30.4", "N", "o'neil", ""}, key),
              Lookup::Found);

    // Values that are not numbers cannot be compared: the check is not made.
    struct Miss { Site site; Lookup expected; const char* why; };
    const Miss misses[] = {
        {{0, "98.6", "7", "5", "", "E", "45", "7", "30", "N", "O'NEIL", ""}, Lookup::NotFound, "other frequency"},
        {{0, "98.5", "7", "5", "", "W", "45", "7", "30", "N", "O'NEIL", ""}, Lookup::NotFound, "other hemisphere"},
        {{0, "98.5", "7", "5", "", "E", "45", "7", "30", "N", "ONEIL", ""}, Lookup::NotFound, "other administration"},
        {{0, "", "7", "5", "", "E", "45", "7", "30", "N", "O'NEIL", ""}, Lookup::NotChecked, "no frequency"},
        {{0, "98,5", "7", "5", "", "E", "45", "7", "30", "N", "O'NEIL", ""}, Lookup::NotChecked, "not a number"},
        {{0, "98.5", "", "5", "", "E", "45", "7", "30", "N", "O'NEIL", ""}, Lookup::NotChecked, "no degrees"},
        {{0, "98.5", "7", "x", "", "E", "45", "7", "30", "N", "O'NEIL", ""}, Lookup::NotChecked,
         "minutes not a number"},
        {{0, "98.5", "7", "5", "", "E", "45", "", "30", "N", "O'NEIL", ""}, Lookup::NotChecked,
         "no latitude minutes"},
        {{0, "98.5", "7", "5", "", "E", "45", "7", "3x", "N", "O'NEIL", ""}, Lookup::NotChecked,
         "seconds not a number"},
        {{0, "98.5", "99999", "5", "", "E", "45", "7", "30", "N", "O'NEIL", ""}, Lookup::NotChecked,
         "degrees out of range"},
    };
    for (const Miss& m : misses) {
        key = -1;
        EXPECT_EQ(find(db, m.site, key), m.expected) << m.why;
        EXPECT_EQ(key, -1) << "the key stays as the caller had it";
    }
}

TEST(Lookups, ASiteStoredWithoutSecondsIsFoundAsSecondsZero)
{
    NoticeDb db;
    // Each stored site is the only one of its frequency; its missing seconds are Null.
    store(db, {5, "101.1", "7", "5", "", "E", "45", "7", "30", "N", "F", ""});
    store(db, {6, "101.2", "7", "5", "10", "E", "45", "7", "", "N", "F", ""});
    struct Row { Site site; Lookup expected; };
    const Row rows[] = {
        {{0, "101.1", "7", "5", "", "E", "45", "7", "30", "N", "F", ""}, Lookup::Found},
        {{0, "101.1", "7", "5", "0", "E", "45", "7", "30", "N", "F", ""}, Lookup::Found},
        {{0, "101.1", "7", "5", "1", "E", "45", "7", "30", "N", "F", ""}, Lookup::NotFound},
        {{0, "101.2", "7", "5", "10", "E", "45", "7", "", "N", "F", ""}, Lookup::Found},
        {{0, "101.2", "7", "5", "10", "E", "45", "7", "00", "N", "F", ""}, Lookup::Found},
        {{0, "101.2", "7", "5", "10", "E", "45", "7", "30", "N", "F", ""}, Lookup::NotFound},
    };
    for (const Row& r : rows) {
        std::int32_t key = 0;
        EXPECT_EQ(find(db, r.site, key), r.expected) << r.site.freq << " " << r.site.longSec << "/" << r.site.latSec;
    }
}

TEST(Lookups, FrequenciesWithManyDecimalsFindThemselves)
{
    // Texts whose decimal conversion differs in the last bit between libraries.
    NoticeDb db;
    const char* freqs[] = {"984.452337", "123.456789", "0.1", "4.35", "107.999999"};
    std::int64_t key = 1;
    for (const char* freq : freqs)
        store(db, {key++, freq, "1", "2", "3", "E", "4", "5", "6", "N", "F", ""});
    for (const char* freq : freqs) {
        std::int32_t found = 0;
        EXPECT_EQ(find(db, {0, freq, "1", "2", "3", "E", "4", "5", "6", "N", "F", ""}, found), Lookup::Found) << freq;
    }
}

TEST(Lookups, FindTheSameReferenceAndAdministration)
{
    NoticeDb db;
    store(db, {30, "", "", "", "", "", "", "", "", "", "O'NEIL", "REF'1"});
    store(db, {20, "", "", "", "", "", "", "", "", "", "O'NEIL", "REF'1"});
    std::int32_t key = 0;
    EXPECT_EQ(findSameAdmRefId("ref'1", "O'NEIL", key, db.conn), Lookup::Found);
    EXPECT_EQ(key, 20);
    EXPECT_EQ(findSameAdmRefId("REF'1", "F", key, db.conn), Lookup::NotFound);
}

TEST(Lookups, LastKeyAndNoticeType)
{
    NoticeDb db;
    ASSERT_TRUE(db.conn.exec("UPDATE Fmtv_keys SET terrakey = 125"));
    std::int32_t key = 0;
    EXPECT_EQ(getLastTerraKey(db.conn, key), Lookup::Found);
    EXPECT_EQ(key, 124);
    ASSERT_TRUE(db.conn.exec("DELETE FROM Fmtv_keys"));
    key = 7;
    EXPECT_EQ(getLastTerraKey(db.conn, key), Lookup::NotFound);
    EXPECT_EQ(key, 7);

    store(db, {3, "", "", "", "", "", "", "", "", "", "F", ""});
    std::string type;
    EXPECT_TRUE(getNoticeType(3, db.conn, type));
    EXPECT_EQ(type, " t01") << "as stored";
    EXPECT_FALSE(getNoticeType(4, db.conn, type));
}

TEST(Lookups, FindContourByIdCountryAndAdministration)
{
    NoticeDb db;
    auto contour = [&](std::int64_t key, const char* id, const char* ctry, const char* adm, const char* points) {
        ASSERT_TRUE(db::RowWriter::insert(db.conn, "zel_contour")
                        .set("contourkey", key)
                        .set("contour_id", id)
                        .setIfNotEmpty("ctry", ctry)
                        .setIfNotEmpty("adm", adm)
                        .setIfNotEmpty("nb_test_pts", points)
                        .run());
    };
    contour(1, "007", "F", "F", "12");
    contour(2, "8", "", "F", "");
    contour(3, "9", "D", "D", "");
    contour(4, "9", "d", "D", "");

    std::int32_t key = -1;
    bool abort = true, hasPoints = false;
    std::string question = "old";
    EXPECT_EQ(findContour(7, "F", "F", key, abort, question, db.conn, hasPoints, 20, db.prompter.report()), Lookup::Found);
    EXPECT_EQ(key, 1);
    EXPECT_FALSE(abort);
    EXPECT_TRUE(hasPoints);
    EXPECT_EQ(question, "Do you want to overwrite : \r\nContour ID : 7 defined with 12 test points  WITH\r\n"
                        "Contour ID : 7 defined with 20 test points ?");

    EXPECT_EQ(findContour(8, "", "F", key, abort, question, db.conn, hasPoints, 3, db.prompter.report()), Lookup::Found)
        << "a Null country is found by an empty one";
    EXPECT_EQ(key, 2);
    EXPECT_FALSE(hasPoints);
    EXPECT_EQ(question, "");

    key = -1;
    EXPECT_EQ(findContour(5, "F", "F", key, abort, question, db.conn, hasPoints, 3, db.prompter.report()), Lookup::NotFound);
    EXPECT_FALSE(abort);
    EXPECT_EQ(key, -1);
    EXPECT_TRUE(db.prompter.messages.empty());

    EXPECT_EQ(findContour(9, "D", "D", key, abort, question, db.conn, hasPoints, 3, db.prompter.report()), Lookup::NotFound);
    EXPECT_TRUE(abort);
    EXPECT_EQ(key, -1);
    ASSERT_EQ(db.prompter.messages.size(), 1u);
    EXPECT_EQ(db.prompter.messages[0].text, "Problem : Contour ID is not unique !! Please consult the adminstrator");
    EXPECT_EQ(db.prompter.messages[0].title, platform::kAppTitle);

    EXPECT_EQ(contourHasPoints(1, db.conn), Lookup::NotFound);
    ASSERT_TRUE(db::RowWriter::insert(db.conn, "zel_contour_pt").set("contourkey", 1).set("test_pt", 0).run());
    EXPECT_EQ(contourHasPoints(1, db.conn), Lookup::Found);
}

TEST(Lookups, NumbersAreReadWithoutLocale)
{
    struct Row { const char* text; std::optional<std::int16_t> expected; };
    const Row rows[] = {{"05", 5}, {" 7 ", 7}, {"2.5", 2}, {"3.5", 4}, {"-0.5", 0}, {"32767", 32767},
                        {"32768", std::nullopt}, {"", std::nullopt}, {"1e3", std::nullopt}, {"5,0", std::nullopt}};
    for (const Row& r : rows)
        EXPECT_EQ(parseInt16(r.text), r.expected) << r.text;
}
