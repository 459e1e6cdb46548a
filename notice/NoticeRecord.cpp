#include "NoticeRecord.h"

#include "FieldUtils.h"

namespace notice {

void initFlaggedPair(FlaggedPair& pair)
{
    pair = FlaggedPair{};
}

void initCoordParts(CoordParts& coord)
{
    coord = CoordParts{};
}

void initTargetRef(TargetRef& target)
{
    target = TargetRef{};
}

void initAdmList(AdmList& list)
{
    list = AdmList{};
}

void initConv(ConvPoint& conv)
{
    conv.flag = false;
    conv.conv_freq_assgn.clear();
    initCoordParts(conv.coord);
}

void initAllotment(Allotment& allotment)
{
    allotment = Allotment{};
}

void initContour(Contour& contour)
{
    contour.flag = false;
    contour.contour_id.clear();
    contour.nb_test_pts.clear();
    contour.points.assign(2, FlaggedPair{});
}

void initZelElements(ZEL04Elements& zel)
{
    zel.flag = false;
    zel.coord_self = "FALSE";
    for (std::string* text : {&zel.email_addr, &zel.sys_var, &zel.nb_carr, &zel.guard_interval, &zel.rx_mode,
                              &zel.ref_plan_cfg, &zel.typ_ref_netwk, &zel.sfn_id, &zel.sfn_tx_tim,
                              &zel.adm_allot_id, &zel.spect_mask, &zel.freq_block, &zel.channel})
        text->clear();
    initAdmList(zel.coordA);
    initAdmList(zel.coordO);
    initConv(zel.conv);
    initAllotment(zel.allotment);
    initContour(zel.contour);
}

void clearNtcAdm(NoticeRecord& rec)
{
    rec.adm.clear();
}

void initNtcMain(NoticeRecord& rec)
{
    const std::string adm = std::move(rec.adm);
    for (std::string* text :
         {&rec.intent, &rec.fragment, &rec.adm_ref_id, &rec.notice_typ, &rec.stn_cls, &rec.ctry, &rec.call_sign,
          &rec.stn_id, &rec.addr_code, &rec.op_agcy, &rec.d_adm_ntc, &rec.d_inuse, &rec.freq_assgn,
          &rec.freq_stabl, &rec.oset_v_12, &rec.oset_v_khz, &rec.tran_sys, &rec.color, &rec.bdwdth, &rec.hgt_agl,
          &rec.eff_hgtmax, &rec.erp_h_dbw, &rec.erp_v_dbw, &rec.polar, &rec.ant_dir, &rec.pwr_ratio,
          &rec.site_name, &rec.long_deg, &rec.long_ew, &rec.long_min, &rec.long_sec, &rec.lat_deg, &rec.lat_ns,
          &rec.lat_min, &rec.lat_sec, &rec.site_alt, &rec.src_update, &rec.d_updated, &rec.remarks,
          &rec.int_remarks})
        text->clear();
    rec.adm = adm;
    rec.flag = false;
}

void initNotice(NoticeRecord& rec)
{
    initNtcMain(rec);
    initTargetRef(rec.target);
    initFlaggedPair(rec.opPeriod);
    initAdmList(rec.coordAdm);
    for (int k = 0; k < kAzimuthSlots; ++k) {
        initFlaggedPair(rec.attnV[k]);
        initFlaggedPair(rec.attnH[k]);
        initFlaggedPair(rec.effHgt[k]);
    }
    initZelElements(rec.zel);
}

void copyTargetToNtc(NoticeRecord& rec)
{
    const TargetRef& t = rec.target;
    if (!t.flag)
        return;
    struct Copy { const std::string& from; std::string& to; int width; };
    const Copy copies[] = {
        {t.adm_ref_id, rec.adm_ref_id, 0}, {t.freq_assgn, rec.freq_assgn, 0},
        {t.long_deg, rec.long_deg, 3},     {t.long_min, rec.long_min, 2},
        {t.long_sec, rec.long_sec, 2},     {t.long_ew, rec.long_ew, 0},
        {t.lat_deg, rec.lat_deg, 2},       {t.lat_min, rec.lat_min, 2},
        {t.lat_sec, rec.lat_sec, 2},       {t.lat_ns, rec.lat_ns, 0},
    };
    for (const Copy& c : copies)
        if (!c.from.empty())
            c.to = c.width ? padZeros(c.from, c.width) : c.from;
}

}  // namespace notice
