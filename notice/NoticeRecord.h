#pragma once

#include <array>
#include <string>
#include <vector>

namespace notice {

// All values are texts, exactly as read or typed; an absent value is "".

struct FlaggedPair {
    bool flag = false;
    std::string first;   // operating period start, azimuth, or point longitude
    std::string second;  // operating period end, value, or point latitude
    bool operator==(const FlaggedPair&) const = default;
};

struct CoordParts {
    bool flag = false;
    std::string long_deg, long_ew, long_min, long_sec;
    std::string lat_deg, lat_ns, lat_min, lat_sec;
    bool operator==(const CoordParts&) const = default;
};

// The hemisphere follows the seconds here, unlike in CoordParts.
struct TargetRef {
    bool flag = false;
    std::string freq_assgn;
    std::string long_deg, long_min, long_sec, long_ew;
    std::string lat_deg, lat_min, lat_sec, lat_ns;
    std::string adm_ref_id;
    bool operator==(const TargetRef&) const = default;
};

inline constexpr int kAdmSlots = 13;
inline constexpr int kAzimuthSlots = 36;
inline constexpr int kContourIdSlots = 10;

struct AdmList {
    bool flag = false;
    std::array<std::string, kAdmSlots> adm;
    bool operator==(const AdmList&) const = default;
};

struct ConvPoint {
    bool flag = false;
    std::string conv_freq_assgn;
    CoordParts coord;
    bool operator==(const ConvPoint&) const = default;
};

struct Allotment {
    bool flag = false;
    std::string allot_name, geo_area, nb_sub_areas;
    std::array<std::string, kContourIdSlots> contour_id;
    bool operator==(const Allotment&) const = default;
};

struct Contour {
    bool flag = false;
    std::string contour_id;
    std::string nb_test_pts;
    std::vector<FlaggedPair> points = std::vector<FlaggedPair>(2);
    bool operator==(const Contour&) const = default;
};

struct ZEL04Elements {
    bool flag = false;
    std::string email_addr;
    std::string sys_var, nb_carr, guard_interval, rx_mode, ref_plan_cfg, typ_ref_netwk;
    std::string sfn_id, sfn_tx_tim, adm_allot_id, spect_mask, freq_block, channel;
    ConvPoint conv;
    Allotment allotment;
    Contour contour;
    std::string coord_self = "FALSE";
    AdmList coordA;
    AdmList coordO;
    bool operator==(const ZEL04Elements&) const = default;
};

using AzimuthSlots = std::array<FlaggedPair, kAzimuthSlots>;

struct NoticeRecord {
    bool flag = false;
    std::string intent, fragment, adm_ref_id, notice_typ, stn_cls, adm, ctry;
    std::string call_sign, stn_id, addr_code, op_agcy, d_adm_ntc, d_inuse;
    std::string freq_assgn, freq_stabl, oset_v_12, oset_v_khz, tran_sys, color, bdwdth;
    std::string hgt_agl, eff_hgtmax, erp_h_dbw, erp_v_dbw, polar, ant_dir, pwr_ratio;
    std::string site_name;
    std::string long_deg, long_ew, long_min, long_sec;
    std::string lat_deg, lat_ns, lat_min, lat_sec;
    std::string site_alt, src_update, d_updated;
    FlaggedPair opPeriod;
    TargetRef target;
    AzimuthSlots attnV;
    AzimuthSlots attnH;
    AzimuthSlots effHgt;
    ZEL04Elements zel;
    AdmList coordAdm;
    std::string remarks;
    std::string int_remarks;

    bool operator==(const NoticeRecord&) const = default;
};

void initFlaggedPair(FlaggedPair& pair);
void initCoordParts(CoordParts& coord);
void initTargetRef(TargetRef& target);
/// Empties all 13 slots, not only the 12 the forms show.
void initAdmList(AdmList& list);
void initConv(ConvPoint& conv);
void initAllotment(Allotment& allotment);
/// Leaves exactly two empty points.
void initContour(Contour& contour);
void initZelElements(ZEL04Elements& zel);
/// Empties `adm` and nothing else.
void clearNtcAdm(NoticeRecord& rec);
/// Empties the flag, every simple text except `adm`, and both remarks.
void initNtcMain(NoticeRecord& rec);
/// Resets everything except `adm` (the e-mail address of the digital part is emptied too).
void initNotice(NoticeRecord& rec);

/// For a set target flag, every non-empty target part replaces the notice's own field;
/// coordinate parts are zero-padded to their width.
void copyTargetToNtc(NoticeRecord& rec);

}  // namespace notice
