#include "notice/NoticeRecord.h"

#include <gtest/gtest.h>

#include <string>

using namespace notice;

namespace {

FlaggedPair pair(const std::string& tag) { return {true, tag + "a", tag + "b"}; }

AdmList admList(const std::string& tag)
{
    AdmList list{true, {}};
    for (int i = 0; i < kAdmSlots; ++i)
        list.adm[std::size_t(i)] = tag + std::to_string(i);
    return list;
}

// A record with every flag set and every text non-empty and distinct.
NoticeRecord filledRecord()
{
    NoticeRecord r;
    r.flag = true;
    int n = 0;
    for (std::string* t : {&r.intent, &r.fragment, &r.adm_ref_id, &r.notice_typ, &r.stn_cls, &r.adm, &r.ctry,
                           &r.call_sign, &r.stn_id, &r.addr_code, &r.op_agcy, &r.d_adm_ntc, &r.d_inuse,
                           &r.freq_assgn, &r.freq_stabl, &r.oset_v_12, &r.oset_v_khz, &r.tran_sys, &r.color,
                           &r.bdwdth, &r.hgt_agl, &r.eff_hgtmax, &r.erp_h_dbw, &r.erp_v_dbw, &r.polar,
                           &r.ant_dir, &r.pwr_ratio, &r.site_name, &r.long_deg, &r.long_ew, &r.long_min,
                           &r.long_sec, &r.lat_deg, &r.lat_ns, &r.lat_min, &r.lat_sec, &r.site_alt,
                           &r.src_update, &r.d_updated, &r.remarks, &r.int_remarks})
        *t = "v" + std::to_string(n++);
    r.opPeriod = pair("op");
    r.target = {true, "98.5", "7", "5", "1", "W", "5", "30", "", "N", "REF"};
    for (std::size_t k = 0; k < r.attnV.size(); ++k) {
        r.attnV[k] = pair("v" + std::to_string(k));
        r.attnH[k] = pair("h" + std::to_string(k));
        r.effHgt[k] = pair("e" + std::to_string(k));
    }
    ZEL04Elements& z = r.zel;
    z.flag = true;
    for (std::string* t : {&z.email_addr, &z.sys_var, &z.nb_carr, &z.guard_interval, &z.rx_mode, &z.ref_plan_cfg,
                           &z.typ_ref_netwk, &z.sfn_id, &z.sfn_tx_tim, &z.adm_allot_id, &z.spect_mask,
                           &z.freq_block, &z.channel})
        *t = "z" + std::to_string(n++);
    z.conv = {true, "650", {true, "006", "E", "10", "20", "45", "N", "30", "40"}};
    z.allotment.flag = true;
    z.allotment.allot_name = "ALLOT";
    z.allotment.geo_area = "AREA";
    z.allotment.nb_sub_areas = "10";
    for (std::size_t i = 0; i < z.allotment.contour_id.size(); ++i)
        z.allotment.contour_id[i] = "c" + std::to_string(i);
    z.contour = {true, "C1", "4", {pair("p0"), pair("p1"), pair("p2"), pair("p3"), pair("p4")}};
    z.coord_self = "TRUE";
    z.coordA = admList("A");
    z.coordO = admList("O");
    r.coordAdm = admList("K");
    return r;
}

}  // namespace

TEST(NoticeRecord, InitNoticeResetsEverythingButTheAdministration)
{
    NoticeRecord rec = filledRecord();
    initNotice(rec);

    NoticeRecord expected;
    expected.adm = filledRecord().adm;
    EXPECT_EQ(rec, expected);
    // What "reset" means beyond empty texts and false flags:
    EXPECT_EQ(rec.zel.coord_self, "FALSE");
    EXPECT_EQ(rec.zel.email_addr, "");
    ASSERT_EQ(rec.zel.contour.points.size(), 2u);
    EXPECT_EQ(rec.zel.contour.points[0], FlaggedPair{});
    EXPECT_EQ(rec.zel.contour.points[1], FlaggedPair{});
    EXPECT_EQ(rec.coordAdm.adm[12], "");
}

TEST(NoticeRecord, InitNtcMainLeavesThePartsAlone)
{
    const NoticeRecord before = filledRecord();
    NoticeRecord rec = before;
    initNtcMain(rec);

    NoticeRecord expected;  // every simple text empty, flag false
    expected.adm = before.adm;
    expected.opPeriod = before.opPeriod;
    expected.target = before.target;
    expected.attnV = before.attnV;
    expected.attnH = before.attnH;
    expected.effHgt = before.effHgt;
    expected.zel = before.zel;
    expected.coordAdm = before.coordAdm;
    EXPECT_EQ(rec, expected);
}

TEST(NoticeRecord, ClearNtcAdmEmptiesOnlyTheAdministration)
{
    NoticeRecord rec = filledRecord();
    clearNtcAdm(rec);
    NoticeRecord expected = filledRecord();
    expected.adm.clear();
    EXPECT_EQ(rec, expected);
}

TEST(NoticeRecord, PartResetsEmptyEverySlot)
{
    const NoticeRecord full = filledRecord();

    AdmList list = full.coordAdm;
    initAdmList(list);
    EXPECT_EQ(list, AdmList{});  // slot 12 included

    Contour contour = full.zel.contour;
    initContour(contour);
    EXPECT_EQ(contour, (Contour{false, "", "", {FlaggedPair{}, FlaggedPair{}}}));

    Allotment allotment = full.zel.allotment;
    initAllotment(allotment);
    EXPECT_EQ(allotment, Allotment{});

    ConvPoint conv = full.zel.conv;
    initConv(conv);
    EXPECT_EQ(conv, ConvPoint{});

    ZEL04Elements zel = full.zel;
    initZelElements(zel);
    EXPECT_EQ(zel, ZEL04Elements{});
    EXPECT_EQ(zel.coord_self, "FALSE");

    TargetRef target = full.target;
    initTargetRef(target);
    EXPECT_EQ(target, TargetRef{});
}

TEST(NoticeRecord, CopyTargetIgnoresAnUnflaggedTarget)
{
    NoticeRecord rec = filledRecord();
    rec.target.flag = false;
    const NoticeRecord before = rec;
    copyTargetToNtc(rec);
    EXPECT_EQ(rec, before);
}

TEST(NoticeRecord, CopyTargetReplacesOwnFieldsWithPaddedNonEmptyParts)
{
    NoticeRecord rec = filledRecord();
    // freq, long deg/min/sec/ew, lat deg/min/sec/ns, ref
    rec.target = {true, "5", "7", "5", "", "W", "5", "30", "1", "", "7"};
    const NoticeRecord before = rec;
    copyTargetToNtc(rec);

    NoticeRecord expected = before;
    expected.freq_assgn = "5";  // not padded
    expected.adm_ref_id = "7";  // not padded
    expected.long_deg = "007";
    expected.long_min = "05";
    expected.long_ew = "W";
    expected.lat_deg = "05";
    expected.lat_min = "30";
    expected.lat_sec = "01";
    // empty long_sec and lat_ns keep the own values
    EXPECT_EQ(rec, expected);
}

TEST(NoticeRecord, CopyTargetPadsLikePadZeros)
{
    const struct { const char* deg; const char* minute; const char* ownDeg; const char* ownMin; } rows[] = {
        {"7", "5", "007", "05"},
        {"12", "59", "012", "59"},
        {"123", "123", "123", "123"},
        {"1234", "0", "1234", "00"},
    };
    for (const auto& r : rows) {
        NoticeRecord rec;
        rec.target.flag = true;
        rec.target.long_deg = r.deg;
        rec.target.lat_min = r.minute;
        copyTargetToNtc(rec);
        EXPECT_EQ(rec.long_deg, r.ownDeg) << r.deg;
        EXPECT_EQ(rec.lat_min, r.ownMin) << r.minute;
        EXPECT_TRUE(rec.target.flag);
    }
}
