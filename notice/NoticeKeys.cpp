#include "NoticeKeys.h"

#include "NoticeFileFormat.h"

#include <unordered_map>

namespace notice {
namespace {

#define FIELD(expr) (+[](NoticeRecord& r) -> std::string& { return r.expr; })
#define COORD(obj, d, m, s, h) \
    (+[](NoticeRecord& r) { return std::array<std::string*, 4>{&r.obj d, &r.obj m, &r.obj s, &r.obj h}; })

using K = ValueKind;
constexpr bool kUp = true;
constexpr bool kAsIs = false;
constexpr unsigned kNone = 0;
constexpr unsigned kZel = kFlagZel;

const NoticeKey kKeys[] = {
    {"t_remarks", K::Remarks, kAsIs, kNone, FIELD(remarks), nullptr},
    {"int_remarks", K::IntRemarks, kAsIs, kNone, FIELD(int_remarks), nullptr},
    {"t_notice_type", K::NoticeType, kUp, kNone, FIELD(notice_typ), nullptr},
    {"t_d_adm_ntc", K::Text, kAsIs, kNone, FIELD(d_adm_ntc), nullptr},
    {"t_fragment", K::Text, kUp, kNone, FIELD(fragment), nullptr},
    {"t_action", K::Text, kUp, kNone, FIELD(intent), nullptr},
    {"t_call_sign", K::Text, kAsIs, kNone, FIELD(call_sign), nullptr},
    {"t_station_id", K::Text, kAsIs, kNone, FIELD(stn_id), nullptr},
    {"t_trg_adm_ref_id", K::Text, kAsIs, kFlagTarget, FIELD(target.adm_ref_id), nullptr},
    {"t_trg_freq_assgn", K::Text, kAsIs, kFlagTarget, FIELD(target.freq_assgn), nullptr},
    {"t_trg_long", K::Longitude, kAsIs, kFlagTarget, nullptr,
     COORD(target., long_deg, long_min, long_sec, long_ew)},
    {"t_trg_lat", K::Latitude, kAsIs, kFlagTarget, nullptr,
     COORD(target., lat_deg, lat_min, lat_sec, lat_ns)},
    {"t_site_name", K::Text, kUp, kNone, FIELD(site_name), nullptr},
    {"t_ctry", K::Text, kUp, kNone, FIELD(ctry), nullptr},
    {"t_adm_ref_id", K::Text, kUp, kNone, FIELD(adm_ref_id), nullptr},
    {"t_freq_assgn", K::Text, kAsIs, kNone, FIELD(freq_assgn), nullptr},
    {"t_long", K::Longitude, kAsIs, kNone, nullptr, COORD(, long_deg, long_min, long_sec, long_ew)},
    {"t_lat", K::Latitude, kAsIs, kNone, nullptr, COORD(, lat_deg, lat_min, lat_sec, lat_ns)},
    {"t_site_alt", K::Text, kAsIs, kNone, FIELD(site_alt), nullptr},
    {"t_freq_stabl", K::Text, kAsIs, kNone, FIELD(freq_stabl), nullptr},
    {"t_polar", K::Text, kUp, kNone, FIELD(polar), nullptr},
    {"t_erp_h_dbw", K::Text, kAsIs, kNone, FIELD(erp_h_dbw), nullptr},
    {"t_erp_v_dbw", K::Text, kAsIs, kNone, FIELD(erp_v_dbw), nullptr},
    {"t_pwr_ratio", K::Text, kAsIs, kNone, FIELD(pwr_ratio), nullptr},
    {"t_tran_sys", K::Text, kUp, kNone, FIELD(tran_sys), nullptr},
    {"t_color", K::Text, kUp, kNone, FIELD(color), nullptr},
    {"t_oset_v_12", K::Text, kAsIs, kNone, FIELD(oset_v_12), nullptr},
    {"t_oset_v_khz", K::Text, kAsIs, kNone, FIELD(oset_v_khz), nullptr},
    {"t_bdwdth", K::Text, kAsIs, kNone, FIELD(bdwdth), nullptr},
    {"t_hgt_agl", K::Text, kAsIs, kNone, FIELD(hgt_agl), nullptr},
    {"t_eff_hgtmax", K::Text, kAsIs, kNone, FIELD(eff_hgtmax), nullptr},
    {"t_op_agcy", K::Text, kAsIs, kNone, FIELD(op_agcy), nullptr},
    {"t_addr_code", K::Text, kUp, kNone, FIELD(addr_code), nullptr},
    {"t_op_hh_fr", K::Time, kAsIs, kFlagOpPeriod, FIELD(opPeriod.first), nullptr},
    {"t_op_hh_to", K::Time, kAsIs, kFlagOpPeriod, FIELD(opPeriod.second), nullptr},
    {"t_d_inuse", K::Text, kAsIs, kNone, FIELD(d_inuse), nullptr},
    {"zel_ant_dir", K::Text, kUp, kZel, FIELD(ant_dir), nullptr},
    {"zel_sys_var", K::Text, kUp, kZel, FIELD(zel.sys_var), nullptr},
    {"zel_nb_carr", K::Text, kUp, kZel, FIELD(zel.nb_carr), nullptr},
    {"zel_guard_interval", K::Text, kAsIs, kZel, FIELD(zel.guard_interval), nullptr},
    {"zel_rx_mode", K::Text, kUp, kZel, FIELD(zel.rx_mode), nullptr},
    {"zel_ref_plan_cfg", K::Text, kUp, kZel, FIELD(zel.ref_plan_cfg), nullptr},
    {"zel_typ_ref_netwk", K::Text, kUp, kZel, FIELD(zel.typ_ref_netwk), nullptr},
    {"zel_sfn_id", K::Text, kUp, kZel, FIELD(zel.sfn_id), nullptr},
    {"zel_sfn_tx_tim", K::Text, kAsIs, kZel, FIELD(zel.sfn_tx_tim), nullptr},
    {"zel_adm_allot_id", K::Text, kUp, kZel, FIELD(zel.adm_allot_id), nullptr},
    {"zel_spect_mask", K::Text, kUp, kZel, FIELD(zel.spect_mask), nullptr},
    {"zel_freq_block", K::Text, kUp, kZel, FIELD(zel.freq_block), nullptr},
    {"zel_channel", K::Text, kUp, kZel, FIELD(zel.channel), nullptr},
    {"zel_conv_freq_assgn", K::Text, kAsIs, kZel | kFlagConv, FIELD(zel.conv.conv_freq_assgn),
     nullptr},
    {"zel_conv_long", K::Longitude, kAsIs, kZel | kFlagConv | kFlagConvCoord, nullptr,
     COORD(zel.conv.coord., long_deg, long_min, long_sec, long_ew)},
    {"zel_conv_lat", K::Latitude, kAsIs, kZel | kFlagConv | kFlagConvCoord, nullptr,
     COORD(zel.conv.coord., lat_deg, lat_min, lat_sec, lat_ns)},
    {"zel_allot_name", K::Text, kUp, kZel | kFlagAllotment, FIELD(zel.allotment.allot_name), nullptr},
    {"zel_geo_area", K::Text, kUp, kZel | kFlagAllotment, FIELD(zel.allotment.geo_area), nullptr},
    {"zel_nb_sub_areas", K::Text, kAsIs, kZel | kFlagAllotment, FIELD(zel.allotment.nb_sub_areas),
     nullptr},
    {"zel_contour_id", K::ContourId, kAsIs, kNone, FIELD(zel.contour.contour_id), nullptr},
    {"zel_coord_self", K::CoordSelf, kUp, kZel, FIELD(zel.coord_self), nullptr},
    {"zel_nb_test_pts", K::NbTestPts, kAsIs, kFlagContour, FIELD(zel.contour.nb_test_pts), nullptr},
    {"t_hgt_alt", K::Text, kAsIs, kNone, FIELD(hgt_agl), nullptr},
};

#undef FIELD
#undef COORD

}  // namespace

std::span<const NoticeKey> noticeKeys()
{
    return kKeys;
}

const NoticeKey* findNoticeKey(const std::string& key)
{
    static const auto byName = [] {
        std::unordered_map<std::string, const NoticeKey*> map;
        for (const NoticeKey& k : kKeys)
            map.emplace(lowerAscii(std::string(k.key)), &k);
        return map;
    }();
    const auto it = byName.find(lowerAscii(key));
    return it == byName.end() ? nullptr : it->second;
}

void setFlags(NoticeRecord& rec, unsigned bits)
{
    if (bits & kFlagTarget) rec.target.flag = true;
    if (bits & kFlagOpPeriod) rec.opPeriod.flag = true;
    if (bits & kFlagZel) rec.zel.flag = true;
    if (bits & kFlagConv) rec.zel.conv.flag = true;
    if (bits & kFlagConvCoord) rec.zel.conv.coord.flag = true;
    if (bits & kFlagAllotment) rec.zel.allotment.flag = true;
    if (bits & kFlagContour) rec.zel.contour.flag = true;
}

}  // namespace notice
