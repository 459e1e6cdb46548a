#include "database/NoticeRead.h"
#include "database/NoticeStore.h"
#include "database/NoticeUpdate.h"
#include "database/sqlite/Statement.h"
#include "notice/NoticeFileWriter.h"
#include "platform/NumberText.h"
#include "support/NoticeDb.h"
#include "support/NoticeText.h"

#include <gtest/gtest.h>

#include <string>

using notice::NoticeRecord;
using testing_support::NoticeDb;
using testing_support::readNotice;

namespace {

// Stores the record and returns its key.
std::int32_t store(NoticeDb& db, const NoticeRecord& rec)
{
    database::ContourOutcome outcome;
    EXPECT_TRUE(database::storeNtc(rec, db.conn, outcome, false, db.prompter.report()));
    return std::int32_t(platform::parseInteger(db.scalar("SELECT max(terrakey) FROM fmtv_terra")).value_or(0));
}

NoticeRecord readBack(NoticeDb& db, std::int32_t key)
{
    NoticeRecord rec;
    EXPECT_TRUE(database::readNtcFromDB(key, rec, db.conn, db.prompter.report()));
    return rec;
}

void update(NoticeDb& db, const NoticeRecord& rec, std::int32_t key)
{
    EXPECT_TRUE(database::updateNtc(rec, key, db.conn, db.prompter.report()));
}

NoticeRecord noticeOf(const std::string& type, const std::string& intent)
{
    NoticeRecord rec;
    rec.flag = true;
    rec.adm = "F";
    rec.notice_typ = type;
    rec.intent = intent;
    rec.adm_ref_id = "OWN";
    rec.freq_assgn = "100";
    return rec;
}

// A directive television notice with both powers and both patterns, whatever its polarisation.
NoticeRecord directive(const std::string& polar, const std::string& attn)
{
    NoticeRecord rec = noticeOf("T02", "ADD");
    rec.polar = polar;
    rec.ant_dir = "D";
    rec.erp_h_dbw = "40";
    rec.erp_v_dbw = "37";
    rec.attnH[0] = {true, "0", attn};
    rec.attnV[0] = {true, "0", attn};
    return rec;
}

std::string patternFile(const std::string& polar)
{
    return "t_notice_type = T02\nt_action = ADD\n" + (polar.empty() ? "" : "t_polar = " + polar + "\n") +
           "<ANT_DIAGR_H>\nt_attn@azm0 = 1\n</ANT_DIAGR_H>\n<ANT_DIAGR_V>\nt_attn@azm0 = 1\n</ANT_DIAGR_V>\n";
}

}  // namespace

TEST(PolarisationRule, EachPathKeepsThePowersAndPatternsOfThePolarisation)
{
    struct Row {
        const char* polar;
        const char* erpH;      // stored powers
        const char* erpV;
        const char* rowsH;     // attenuations stored as the H and as the V pattern
        const char* rowsV;
        bool readH;            // patterns read back
        bool readV;
        const char* updatedH;  // the patterns after an update that changes both
        const char* updatedV;
        const char* fileDir;   // the directivity the file reader works out from both patterns
    };
    const Row rows[] = {
        {"H", "40", "", "3", "", true, false, "9", "", "D"},
        {"V", "", "37", "", "3", false, true, "", "9", "D"},
        {"M", "40", "37", "3", "3", true, true, "9", "9", "D"},
        {"U", "40", "37", "3", "3", true, true, "9", "9", "ND"},
        {"", "", "", "", "", false, false, "", "", "ND"},
        {"h", "", "", "", "", false, false, "", "", "D"},  // stored as given, upper-cased by the reader
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string("polarisation \"") + r.polar + "\"");
        NoticeDb db;
        const std::int32_t key = store(db, directive(r.polar, "3"));
        EXPECT_EQ(db.scalar("SELECT erp_h_dbw FROM fmtv_terra"), r.erpH);
        EXPECT_EQ(db.scalar("SELECT erp_v_dbw FROM fmtv_terra"), r.erpV);
        EXPECT_EQ(db.scalar("SELECT group_concat(attn) FROM fmtv_ant_diag WHERE polar = 'H'"), r.rowsH);
        EXPECT_EQ(db.scalar("SELECT group_concat(attn) FROM fmtv_ant_diag WHERE polar = 'V'"), r.rowsV);

        const NoticeRecord back = readBack(db, key);
        EXPECT_EQ(back.attnH[0].flag, r.readH);
        EXPECT_EQ(back.attnV[0].flag, r.readV);

        update(db, directive(r.polar, "9"), key);
        EXPECT_EQ(db.scalar("SELECT group_concat(attn) FROM fmtv_ant_diag WHERE polar = 'H'"), r.updatedH);
        EXPECT_EQ(db.scalar("SELECT group_concat(attn) FROM fmtv_ant_diag WHERE polar = 'V'"), r.updatedV);

        EXPECT_EQ(readNotice(patternFile(r.polar)).ant_dir, r.fileDir);
    }
}

TEST(PatternRule, OnlyADirectionalAntennaHasThePatternsOfItsPolarisation)
{
    struct Row {
        const char* polar;
        const char* antDir;
        const char* stored;  // the polarisations the notice's patterns are stored under
        bool readH;          // patterns of both components in the database, read back
        bool readV;
        const char* left;    // the stored patterns an update that gives none leaves
    };
    const Row rows[] = {
        {"H", "D", "H", true, false, "V"},
        {"V", "D", "V", false, true, "H"},
        {"M", "D", "H,V", true, true, ""},
        {"U", "D", "H,V", true, true, ""},
        {"", "D", "", false, false, "H,V"},
        {"H", "ND", "", false, false, ""},
        {"V", "ND", "", false, false, ""},
        {"M", "ND", "", false, false, ""},
        {"U", "ND", "", false, false, ""},
        {"M", "d", "", false, false, ""},  // an unknown directivity has no patterns
    };
    const std::string patterns = "SELECT group_concat(polar) FROM (SELECT polar FROM fmtv_ant_diag ORDER BY rowid)";
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string("polarisation \"") + r.polar + "\", directivity \"" + r.antDir + "\"");
        NoticeDb db;
        NoticeRecord rec = directive(r.polar, "3");
        rec.ant_dir = r.antDir;
        const std::int32_t key = store(db, rec);
        EXPECT_EQ(db.scalar(patterns), r.stored);

        db::Statement orphans(db.conn, "INSERT INTO fmtv_ant_diag (terrakey, azm, attn, polar) VALUES "
                                       "(?1, '0', '5', 'H'), (?1, '0', '5', 'V')");
        ASSERT_TRUE(db.conn.exec("DELETE FROM fmtv_ant_diag") && orphans.bind(1, std::int64_t(key)).run());
        const NoticeRecord back = readBack(db, key);
        EXPECT_EQ(back.attnH[0].flag, r.readH);
        EXPECT_EQ(back.attnV[0].flag, r.readV);

        rec.attnH = rec.attnV = {};
        update(db, rec, key);
        EXPECT_EQ(db.scalar(patterns), r.left);
    }
}

TEST(NoticeTypeRule, EachPathTreatsTheTypeByItsGroup)
{
    struct Row {
        const char* type;
        const char* stnCls;    // set by the file reader
        bool fileAntenna;      // the writer writes the antenna heights
        bool filePosition;     // the writer writes the frequency and site of an addition
        bool stored;           // kept in the notice tables (a contour is not)
        bool readDigital;      // the digital part is read back
        bool readHeights;      // the antenna heights are read back
        bool updatesOpPeriod;  // an update rewrites these lists
        bool updatesHeights;
        bool updatesDigital;
    };
    const Row rows[] = {
        {"T01", "BC", true, true, true, false, true, true, true, false},
        {"T02", "BT", true, true, true, false, true, true, true, false},
        {"DS1", "BC", true, true, true, true, true, false, true, true},
        {"DT1", "BT", true, true, true, true, true, false, true, true},
        {"DS2", "BC", false, false, true, true, false, false, false, true},
        {"DT2", "BT", false, false, true, true, false, false, false, true},
        {"TB5", "", false, false, true, false, true, true, true, true},
        {"DA1", "", false, false, false, false, false, false, false, false},
        {"X01", "", true, false, true, false, true, true, true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string("type ") + r.type);
        EXPECT_EQ(readNotice(std::string("t_notice_type = ") + r.type + "\n").stn_cls, r.stnCls);

        auto version = [&r](const std::string& v) {
            NoticeRecord rec = noticeOf(r.type, "ADD");
            rec.opPeriod = {true, "0" + v + "00", "2300"};
            rec.effHgt[0] = {true, "0", v + "00"};
            rec.zel.flag = true;
            rec.zel.sys_var = "S" + v;
            return rec;
        };
        const std::string written = notice::writeNoticeSection(version("1"), 1);
        EXPECT_EQ(written.find("<ANT_HGT>") != std::string::npos, r.fileAntenna);
        EXPECT_EQ(written.find("t_freq_assgn = 100") != std::string::npos, r.filePosition);
        if (!r.stored)
            continue;

        NoticeDb db;
        const std::int32_t key = store(db, version("1"));
        const NoticeRecord back = readBack(db, key);
        EXPECT_EQ(back.zel.flag, r.readDigital);
        EXPECT_EQ(back.effHgt[0].flag, r.readHeights);

        update(db, version("2"), key);
        EXPECT_EQ(db.scalar("SELECT op_hh_fr FROM fmtv_op_prd"), r.updatesOpPeriod ? "0200" : "0100");
        EXPECT_EQ(db.scalar("SELECT eff_hgt FROM fmtv_ant_hgt"), r.updatesHeights ? "200" : "100");
        EXPECT_EQ(db.scalar("SELECT sys_var FROM zel_elements"), r.updatesDigital ? "S2" : "S1");
    }
}

TEST(IntentRule, OnlyAnAdditionOrModificationKeepsItsStation)
{
    struct Row {
        const char* intent;
        const char* fileRefId;  // what the file reader leaves in the own reference
        const char* readRefId;  // the own reference read back
        const char* opPeriods;  // operating periods left by an update of a stored modification
        bool target;            // the notice has a target: stored, and updated from an addition or modification
        bool filePosition;      // the writer writes the frequency and site of a digital assignment
    };
    const Row rows[] = {
        {"ADD", "OWN", "OWN", "1", false, true},
        {"MODIFY", "OWN", "OWN", "1", true, true},
        {"SUPPRESS", "TRG", "", "0", true, false},
        {"WITHDRAW", "TRG", "", "0", true, true},
        {"RECORDED", "TRG", "OWN", "0", true, true},
    };
    // The stored targets and the notices that refer to one.
    const std::string targets =
        "SELECT (SELECT count(*) FROM fmtv_target) || '/' || (SELECT count(Target) FROM fmtv_terra)";
    for (const Row& r : rows) {
        SCOPED_TRACE(r.intent);
        const std::string targetKept = r.target ? "1/1" : "0/0";
        EXPECT_EQ(readNotice(std::string("t_notice_type = T02\nt_action = ") + r.intent +
                             "\nt_adm_ref_id = OWN\nt_trg_adm_ref_id = TRG\n")
                      .adm_ref_id,
                  r.fileRefId);
        EXPECT_EQ(notice::writeNoticeSection(noticeOf("DT1", r.intent), 1).find("t_freq_assgn = 100") !=
                      std::string::npos,
                  r.filePosition);

        NoticeRecord rec = noticeOf("T02", r.intent);
        rec.target.flag = true;
        rec.target.adm_ref_id = "TRG";
        NoticeDb db;
        EXPECT_EQ(readBack(db, store(db, rec)).adm_ref_id, r.readRefId);
        EXPECT_EQ(db.scalar(targets), targetKept);

        for (const char* before : {"ADD", "MODIFY"}) {
            SCOPED_TRACE(std::string("updated from ") + before);
            NoticeDb stored;
            rec.intent = before;
            rec.opPeriod = {true, "0100", "2300"};
            const std::int32_t key = store(stored, rec);
            rec.intent = r.intent;
            update(stored, rec, key);
            EXPECT_EQ(stored.scalar("SELECT count(*) FROM fmtv_op_prd"), r.opPeriods);
            EXPECT_EQ(stored.scalar(targets), targetKept);
        }
    }
}

TEST(ConversionFrequencyRule, EveryPathGivesTheFrequencyWithAPoint)
{
    struct Row {
        const char* typed;
        const char* kept;
    };
    const Row rows[] = {{"98,5", "98.5"}, {"98.5", "98.5"}, {"1,2,3", "1.2.3"}, {",", "."}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.typed);
        NoticeRecord rec = noticeOf("DT1", "ADD");
        rec.zel.flag = true;
        rec.zel.conv.flag = true;
        rec.zel.conv.conv_freq_assgn = r.typed;
        EXPECT_NE(notice::writeNoticeSection(rec, 1).find(std::string("zel_conv_freq_assgn = ") + r.kept),
                  std::string::npos);

        NoticeDb db;
        const std::int32_t key = store(db, rec);
        EXPECT_EQ(db.scalar("SELECT conv_freq_assgn FROM zel_elements"), r.kept);

        db::Statement typed(db.conn, "UPDATE zel_elements SET conv_freq_assgn = ?");
        ASSERT_TRUE(typed.bind(1, r.typed).run());
        EXPECT_EQ(readBack(db, key).zel.conv.conv_freq_assgn, r.kept);
    }
}
