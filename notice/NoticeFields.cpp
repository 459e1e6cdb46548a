#include "NoticeFields.h"

#include "NoticeFileFormat.h"
#include "platform/AsciiCase.h"

#include <unordered_map>

namespace notice {
namespace {

#define FIELD(expr) (+[](NoticeRecord& r) -> std::string& { return r.expr; })
#define COORD(obj, d, m, s, h) \
    (+[](NoticeRecord& r) { return std::array<std::string*, 4>{&r.obj d, &r.obj m, &r.obj s, &r.obj h}; })

using K = ValueKind;
using T = Table;
using F = ReadForm;
using W = Written;
constexpr bool kUp = true;
constexpr bool kAsIs = false;
constexpr unsigned kNone = 0;
constexpr unsigned kZel = kFlagZel;

const NoticeField kFields[] = {
    {"t_remarks", K::Remarks, kAsIs, kNone, FIELD(remarks), nullptr, T::None, {}, F::AsStored, W::Lead},
    {"int_remarks", K::IntRemarks, kAsIs, kNone, FIELD(int_remarks), nullptr, T::None, {}, F::AsStored, W::Lead},
    {"t_notice_type", K::NoticeType, kUp, kNone, FIELD(notice_typ), nullptr, T::Terra, {"notice_typ"}, F::Upper, W::Always},
    {"t_d_adm_ntc", K::Date, kAsIs, kNone, FIELD(d_adm_ntc), nullptr, T::Terra, {"d_adm_ntc"}, F::Trim, W::Always},
    {"t_fragment", K::Text, kUp, kNone, FIELD(fragment), nullptr, T::Terra, {"fragment"}, F::Upper, W::Always},
    {"t_action", K::Text, kUp, kNone, FIELD(intent), nullptr, T::Terra, {"intent"}, F::Upper, W::Always},
    {"t_call_sign", K::Text, kAsIs, kNone, FIELD(call_sign), nullptr, T::Terra, {"call_sign"}, F::Trim, W::Always},
    {"t_station_id", K::Text, kAsIs, kNone, FIELD(stn_id), nullptr, T::Terra, {"stn_id"}, F::Trim, W::Always},
    {"t_trg_adm_ref_id", K::Text, kAsIs, kFlagTarget, FIELD(target.adm_ref_id), nullptr,
     T::Target, {"trg_adm_ref_id"}, F::Trim, W::Target},
    {"t_trg_freq_assgn", K::Text, kAsIs, kFlagTarget, FIELD(target.freq_assgn), nullptr,
     T::Target, {"trg_freq_assgn"}, F::Trim, W::Target},
    {"t_trg_long", K::Longitude, kAsIs, kFlagTarget, nullptr,
     COORD(target., long_deg, long_min, long_sec, long_ew),
     T::Target, {"trg_long_deg", "trg_long_min", "trg_long_sec", "trg_long_ew"}, F::Upper, W::Target},
    {"t_trg_lat", K::Latitude, kAsIs, kFlagTarget, nullptr,
     COORD(target., lat_deg, lat_min, lat_sec, lat_ns),
     T::Target, {"trg_lat_deg", "trg_lat_min", "trg_lat_sec", "trg_lat_ns"}, F::Upper, W::Target},
    {"t_site_name", K::Text, kUp, kNone, FIELD(site_name), nullptr, T::Terra, {"site_name"}, F::Upper, W::Always},
    {"t_ctry", K::Text, kUp, kNone, FIELD(ctry), nullptr, T::Terra, {"ctry"}, F::Upper, W::Always},
    {"t_adm_ref_id", K::Text, kUp, kNone, FIELD(adm_ref_id), nullptr, T::Terra, {"adm_ref_id"}, F::Upper, W::Always},
    {"t_freq_assgn", K::Text, kAsIs, kNone, FIELD(freq_assgn), nullptr, T::Terra, {"freq_assgn"}, F::Trim, W::Position},
    {"t_long", K::Longitude, kAsIs, kNone, nullptr, COORD(, long_deg, long_min, long_sec, long_ew),
     T::Terra, {"long_deg", "long_min", "long_sec", "long_ew"}, F::Upper, W::Position},
    {"t_lat", K::Latitude, kAsIs, kNone, nullptr, COORD(, lat_deg, lat_min, lat_sec, lat_ns),
     T::Terra, {"lat_deg", "lat_min", "lat_sec", "lat_ns"}, F::Upper, W::Position},
    {"t_site_alt", K::Text, kAsIs, kNone, FIELD(site_alt), nullptr, T::Terra, {"site_alt"}, F::Trim, W::Always},
    {"t_freq_stabl", K::Text, kAsIs, kNone, FIELD(freq_stabl), nullptr, T::Terra, {"freq_stabl"}, F::Upper, W::Always},
    {"t_polar", K::Text, kUp, kNone, FIELD(polar), nullptr, T::Terra, {"polar"}, F::Upper, W::Always},
    {"t_erp_h_dbw", K::Text, kAsIs, kNone, FIELD(erp_h_dbw), nullptr, T::Terra, {"erp_h_dbw"}, F::Trim, W::Always},
    {"t_erp_v_dbw", K::Text, kAsIs, kNone, FIELD(erp_v_dbw), nullptr, T::Terra, {"erp_v_dbw"}, F::Trim, W::Always},
    {"t_pwr_ratio", K::Text, kAsIs, kNone, FIELD(pwr_ratio), nullptr, T::Terra, {"pwr_ratio"}, F::Trim, W::Always},
    {"t_tran_sys", K::Text, kUp, kNone, FIELD(tran_sys), nullptr, T::Terra, {"tran_sys"}, F::Upper, W::Always},
    {"t_color", K::Text, kUp, kNone, FIELD(color), nullptr, T::Terra, {"color"}, F::Upper, W::Always},
    {"t_oset_v_12", K::Text, kAsIs, kNone, FIELD(oset_v_12), nullptr, T::Terra, {"oset_v_12"}, F::Trim, W::Always},
    {"t_oset_v_khz", K::Text, kAsIs, kNone, FIELD(oset_v_khz), nullptr, T::Terra, {"oset_v_khz"}, F::Trim, W::Always},
    {"t_bdwdth", K::Text, kAsIs, kNone, FIELD(bdwdth), nullptr, T::Terra, {"bdwdth"}, F::Trim, W::Always},
    {"t_hgt_agl", K::Text, kAsIs, kNone, FIELD(hgt_agl), nullptr, T::Terra, {"hgt_agl"}, F::Trim, W::Always},
    {"t_eff_hgtmax", K::Text, kAsIs, kNone, FIELD(eff_hgtmax), nullptr, T::Terra, {"eff_hgtmax"}, F::Trim, W::Always},
    {"t_op_agcy", K::Text, kAsIs, kNone, FIELD(op_agcy), nullptr, T::Terra, {"op_agcy"}, F::Upper, W::OpAgency},
    {"t_addr_code", K::Text, kUp, kNone, FIELD(addr_code), nullptr, T::Terra, {"addr_code"}, F::Trim, W::OpAgency},
    {"t_op_hh_fr", K::Time, kAsIs, kFlagOpPeriod, FIELD(opPeriod.first), nullptr, T::None, {}, F::AsStored, W::OpPeriod},
    {"t_op_hh_to", K::Time, kAsIs, kFlagOpPeriod, FIELD(opPeriod.second), nullptr, T::None, {}, F::AsStored, W::OpPeriod},
    {"t_d_inuse", K::Date, kAsIs, kNone, FIELD(d_inuse), nullptr, T::Terra, {"d_inuse"}, F::Trim, W::OpAgency},
    {"zel_ant_dir", K::Text, kUp, kZel, FIELD(ant_dir), nullptr, T::Terra, {"ant_dir"}, F::Trim, W::Digital},
    {"zel_sys_var", K::Text, kUp, kZel, FIELD(zel.sys_var), nullptr, T::Elements, {"sys_var"}, F::Trim, W::Digital},
    {"zel_nb_carr", K::Text, kUp, kZel, FIELD(zel.nb_carr), nullptr, T::Elements, {"nb_carr"}, F::Trim, W::Digital},
    {"zel_guard_interval", K::Text, kAsIs, kZel, FIELD(zel.guard_interval), nullptr,
     T::Elements, {"guard_interval"}, F::Trim, W::Digital},
    {"zel_rx_mode", K::Text, kUp, kZel, FIELD(zel.rx_mode), nullptr, T::Elements, {"rx_mode"}, F::Trim, W::Digital},
    {"zel_ref_plan_cfg", K::Text, kUp, kZel, FIELD(zel.ref_plan_cfg), nullptr,
     T::Elements, {"ref_plan_cfg"}, F::Trim, W::Digital},
    {"zel_typ_ref_netwk", K::Text, kUp, kZel, FIELD(zel.typ_ref_netwk), nullptr,
     T::Elements, {"typ_ref_netwk"}, F::Trim, W::Digital},
    {"zel_sfn_id", K::Text, kUp, kZel, FIELD(zel.sfn_id), nullptr, T::Elements, {"sfn_id"}, F::Trim, W::Digital},
    {"zel_sfn_tx_tim", K::Text, kAsIs, kZel, FIELD(zel.sfn_tx_tim), nullptr, T::Elements, {"sfn_tx_tim"}, F::Trim, W::Digital},
    {"zel_adm_allot_id", K::Text, kUp, kZel, FIELD(zel.adm_allot_id), nullptr,
     T::Elements, {"adm_allot_id"}, F::Trim, W::Digital},
    {"zel_spect_mask", K::Text, kUp, kZel, FIELD(zel.spect_mask), nullptr, T::Elements, {"spect_mask"}, F::Trim, W::Digital},
    {"zel_freq_block", K::Text, kUp, kZel, FIELD(zel.freq_block), nullptr, T::Elements, {"freq_block"}, F::Trim, W::Digital},
    {"zel_channel", K::Text, kUp, kZel, FIELD(zel.channel), nullptr, T::Elements, {"channel"}, F::Trim, W::Digital},
    {"zel_conv_freq_assgn", K::Text, kAsIs, kZel | kFlagConv, FIELD(zel.conv.conv_freq_assgn),
     nullptr, T::Elements, {"conv_freq_assgn"}, F::Trim, W::Digital},
    {"zel_conv_long", K::Longitude, kAsIs, kZel | kFlagConv | kFlagConvCoord, nullptr,
     COORD(zel.conv.coord., long_deg, long_min, long_sec, long_ew),
     T::Elements, {"conv_long_deg", "conv_long_min", "conv_long_sec", "conv_long_ew"}, F::Trim, W::Digital},
    {"zel_conv_lat", K::Latitude, kAsIs, kZel | kFlagConv | kFlagConvCoord, nullptr,
     COORD(zel.conv.coord., lat_deg, lat_min, lat_sec, lat_ns),
     T::Elements, {"conv_lat_deg", "conv_lat_min", "conv_lat_sec", "conv_lat_ns"}, F::Trim, W::Digital},
    {"zel_allot_name", K::Text, kUp, kZel | kFlagAllotment, FIELD(zel.allotment.allot_name), nullptr,
     T::None, {}, F::AsStored, W::Digital},
    {"zel_geo_area", K::Text, kUp, kZel | kFlagAllotment, FIELD(zel.allotment.geo_area), nullptr,
     T::None, {}, F::AsStored, W::Digital},
    {"zel_nb_sub_areas", K::Count, kAsIs, kZel | kFlagAllotment, FIELD(zel.allotment.nb_sub_areas),
     nullptr, T::None, {}, F::AsStored, W::Digital},
    {"zel_contour_id", K::ContourId, kAsIs, kNone, FIELD(zel.contour.contour_id), nullptr, T::None, {}, F::AsStored, W::AllotmentIds},
    {"zel_coord_self", K::CoordSelf, kUp, kZel, FIELD(zel.coord_self), nullptr, T::Elements, {"coord_self"}, F::Trim, W::Digital},
    {"zel_nb_test_pts", K::NbTestPts, kAsIs, kFlagContour, FIELD(zel.contour.nb_test_pts), nullptr,
     T::None, {}, F::AsStored, W::Never},
    {"t_hgt_alt", K::Text, kAsIs, kNone, FIELD(hgt_agl), nullptr, T::None, {}, F::AsStored, W::Never},
    // Fields that no key of the NOTICE section fills.
    {"", K::Text, kAsIs, kNone, FIELD(adm), nullptr, T::Terra, {"adm"}, F::AsStored, W::Never},
    {"", K::Text, kAsIs, kNone, FIELD(stn_cls), nullptr, T::Terra, {"stn_cls"}, F::Upper, W::Never},
    {"", K::Text, kAsIs, kNone, FIELD(d_updated), nullptr, T::Terra, {"d_updated"}, F::Trim, W::Never},
    {"", K::Text, kAsIs, kNone, FIELD(src_update), nullptr, T::Terra, {"src_update"}, F::Trim, W::Never},
    {"", K::Text, kAsIs, kNone, FIELD(zel.email_addr), nullptr, T::Elements, {"email_addr"}, F::Trim, W::Never},  // HEAD
};

#undef FIELD
#undef COORD

}  // namespace

std::string& fieldOf(const NoticeField& f, NoticeRecord& rec, int part)
{
    return f.coord ? *f.coord(rec)[std::size_t(part)] : f.field(rec);
}

const std::string& valueOf(const NoticeField& f, const NoticeRecord& rec, int part)
{
    return fieldOf(f, const_cast<NoticeRecord&>(rec), part);  // the accessors only address the field
}

std::span<const NoticeField> noticeFields()
{
    return kFields;
}

const NoticeField* findNoticeKey(std::string_view key)
{
    // The table's keys are in lower case.
    static const auto byName = [] {
        std::unordered_map<std::string_view, const NoticeField*> map;
        for (const NoticeField& k : kFields)
            if (!k.key.empty())
                map.emplace(k.key, &k);
        return map;
    }();
    char lowered[64];
    if (key.size() > sizeof lowered)
        return nullptr;
    for (std::size_t i = 0; i < key.size(); ++i)
        lowered[i] = platform::lowerAscii(key[i]);
    const auto it = byName.find(std::string_view(lowered, key.size()));
    return it == byName.end() ? nullptr : it->second;
}

int partCount(const NoticeField& f)
{
    return f.coord ? 4 : 1;
}

int padWidth(const NoticeField& f, int part)
{
    if ((f.kind != K::Longitude && f.kind != K::Latitude) || part == 3)
        return 0;
    return f.kind == K::Longitude && part == 0 ? 3 : 2;
}

std::span<const TargetField> targetFields()
{
    static const TargetField fields[] = {
        {*findNoticeKey("t_trg_adm_ref_id"), *findNoticeKey("t_adm_ref_id")},
        {*findNoticeKey("t_trg_freq_assgn"), *findNoticeKey("t_freq_assgn")},
        {*findNoticeKey("t_trg_long"), *findNoticeKey("t_long")},
        {*findNoticeKey("t_trg_lat"), *findNoticeKey("t_lat")},
    };
    return fields;
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
