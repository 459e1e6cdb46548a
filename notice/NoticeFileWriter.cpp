#include "NoticeFileWriter.h"

#include "FieldUtils.h"
#include "platform/TextCodec.h"

#include <algorithm>

namespace notice {
namespace {

constexpr const char* kCrLf = "\r\n";

// A value never starts a new line of the file.
std::string oneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

bool isAnyOf(const std::string& value, std::initializer_list<const char*> options)
{
    return std::any_of(options.begin(), options.end(), [&](const char* o) { return value == o; });
}

std::string admLines(const AdmList& list)
{
    std::string body;
    for (const std::string& adm : list.adm)
        body += keyValueLine("t_adm", adm);
    return body;
}

std::string azimuthLines(const AzimuthSlots& slots, const std::string& key)
{
    std::string body;
    for (const FlaggedPair& s : slots)
        body += keyValueLine(key + s.first, s.second);
    return body;
}

}  // namespace

std::string keyValueLine(const std::string& key, const std::string& value)
{
    if (key.empty() || value.empty())
        return {};
    return kCrLf + oneLine(key) + " = " + oneLine(value);
}

std::string wrapSection(const std::string& name, const std::string& body)
{
    if (name.empty() || body.empty())
        return {};
    return "<" + name + ">" + body + kCrLf + "</" + name + ">";
}

std::string writeHeadSection(const std::string& adm, const std::string& email)
{
    return wrapSection("HEAD", keyValueLine("t_adm", adm) + keyValueLine("t_email_addr", email));
}

std::string writeNoticeSection(const NoticeRecord& rec, std::int32_t number)
{
    std::string b;
    b += keyValueLine("t_remarks", rec.remarks);
    b += keyValueLine("int_remarks", rec.int_remarks);
    b += keyValueLine("Notice No", std::to_string(number));
    b += keyValueLine("t_notice_type", rec.notice_typ);
    b += keyValueLine("t_d_adm_ntc", formatFileDate(rec.d_adm_ntc));
    b += keyValueLine("t_fragment", rec.fragment);
    b += keyValueLine("t_action", rec.intent);
    b += keyValueLine("t_call_sign", rec.call_sign);
    b += keyValueLine("t_station_id", rec.stn_id);
    if (rec.target.flag)
        b += writeTargetPart(rec.target);
    b += keyValueLine("t_site_name", rec.site_name);
    b += keyValueLine("t_ctry", rec.ctry);
    b += keyValueLine("t_adm_ref_id", rec.adm_ref_id);
    const std::string& type = rec.notice_typ;
    if (isAnyOf(type, {"T01", "T02"}) || (isAnyOf(type, {"DT1", "DS1"}) && rec.intent != "SUPPRESS")) {
        b += keyValueLine("t_freq_assgn", rec.freq_assgn);
        b += keyValueLine("t_long", formatCoord(rec.long_deg, rec.long_min, rec.long_sec, rec.long_ew));
        b += keyValueLine("t_lat", formatCoord(rec.lat_deg, rec.lat_min, rec.lat_sec, rec.lat_ns));
    }
    b += keyValueLine("t_site_alt", rec.site_alt);
    b += keyValueLine("t_freq_stabl", rec.freq_stabl);
    b += keyValueLine("t_polar", rec.polar);
    b += keyValueLine("t_erp_h_dbw", rec.erp_h_dbw);
    b += keyValueLine("t_erp_v_dbw", rec.erp_v_dbw);
    b += keyValueLine("t_pwr_ratio", rec.pwr_ratio);
    b += keyValueLine("t_tran_sys", rec.tran_sys);
    b += keyValueLine("t_color", rec.color);
    b += keyValueLine("t_oset_v_12", rec.oset_v_12);
    b += keyValueLine("t_oset_v_khz", rec.oset_v_khz);
    b += keyValueLine("t_bdwdth", rec.bdwdth);
    b += keyValueLine("t_hgt_agl", rec.hgt_agl);
    b += keyValueLine("t_eff_hgtmax", rec.eff_hgtmax);
    if (rec.fragment == "NTFD_RR")
        b += writeOpAgencyPart(rec);
    if (rec.zel.flag) {
        b += keyValueLine("zel_ant_dir", rec.ant_dir);
        b += writeDigitalPart(rec.zel);
    }
    if (rec.coordAdm.flag)
        b += kCrLf + writeCoordSection(rec.coordAdm);
    if (!isAnyOf(type, {"DS2", "TB5", "DT2", "DA1"}))
        b += kCrLf + writeAntHgtSection(rec) + writeAntDiagrSections(rec);
    return wrapSection("NOTICE", b);
}

std::string writeTailSection(std::int32_t notices)
{
    if (notices < 1)
        return {};
    return "<TAIL>" + keyValueLine("t_num_notices", " " + std::to_string(notices)) + kCrLf + "</TAIL>" + kCrLf;
}

std::string writeTargetPart(const TargetRef& t)
{
    return keyValueLine("t_trg_adm_ref_id", t.adm_ref_id) + keyValueLine("t_trg_freq_assgn", t.freq_assgn) +
           keyValueLine("t_trg_long", formatCoord(t.long_deg, t.long_min, t.long_sec, t.long_ew)) +
           keyValueLine("t_trg_lat", formatCoord(t.lat_deg, t.lat_min, t.lat_sec, t.lat_ns));
}

std::string writeOpAgencyPart(const NoticeRecord& rec)
{
    std::string b = keyValueLine("t_op_agcy", rec.op_agcy) + keyValueLine("t_addr_code", rec.addr_code);
    if (rec.opPeriod.flag)
        b += keyValueLine("t_op_hh_fr", formatHHMM(rec.opPeriod.first)) +
             keyValueLine("t_op_hh_to", formatHHMM(rec.opPeriod.second));
    return b + keyValueLine("t_d_inuse", formatFileDate(rec.d_inuse));
}

std::string writeDigitalPart(const ZEL04Elements& z)
{
    std::string b;
    b += keyValueLine("zel_sys_var", z.sys_var);
    b += keyValueLine("zel_nb_carr", z.nb_carr);
    b += keyValueLine("zel_guard_interval", z.guard_interval);
    b += keyValueLine("zel_rx_mode", z.rx_mode);
    b += keyValueLine("zel_ref_plan_cfg", z.ref_plan_cfg);
    b += keyValueLine("zel_typ_ref_netwk", z.typ_ref_netwk);
    b += keyValueLine("zel_sfn_id", z.sfn_id);
    b += keyValueLine("zel_sfn_tx_tim", z.sfn_tx_tim);
    b += keyValueLine("zel_adm_allot_id", z.adm_allot_id);
    b += keyValueLine("zel_spect_mask", z.spect_mask);
    b += keyValueLine("zel_freq_block", z.freq_block);
    b += keyValueLine("zel_channel", z.channel);
    b += writeConvPart(z.conv);
    b += writeAllotPart(z.allotment);
    b += keyValueLine("zel_coord_self", z.coord_self);
    if (z.coordA.flag)
        b += kCrLf + writeCoordASection(z.coordA);
    if (z.coordO.flag)
        b += kCrLf + writeCoordOSection(z.coordO);
    return b;
}

std::string writeConvPart(const ConvPoint& conv)
{
    std::string freq = conv.conv_freq_assgn;
    std::replace(freq.begin(), freq.end(), ',', '.');
    const CoordParts& c = conv.coord;
    return keyValueLine("zel_conv_freq_assgn", freq) +
           keyValueLine("zel_conv_long", formatCoord(c.long_deg, c.long_min, c.long_sec, c.long_ew)) +
           keyValueLine("zel_conv_lat", formatCoord(c.lat_deg, c.lat_min, c.lat_sec, c.lat_ns));
}

std::string writeAllotPart(const Allotment& a)
{
    std::string b = keyValueLine("zel_allot_name", a.allot_name) + keyValueLine("zel_geo_area", a.geo_area) +
                    keyValueLine("zel_nb_sub_areas", a.nb_sub_areas);
    for (const std::string& id : a.contour_id)
        b += keyValueLine("zel_contour_id", id);
    return b;
}

std::string writeCoordSection(const AdmList& list) { return wrapSection("COORDINATION", admLines(list)); }
std::string writeCoordASection(const AdmList& list) { return wrapSection("COORD_A", admLines(list)); }
std::string writeCoordOSection(const AdmList& list) { return wrapSection("COORD_O", admLines(list)); }

std::string writeAntHgtSection(const NoticeRecord& rec)
{
    return wrapSection("ANT_HGT", azimuthLines(rec.effHgt, "t_eff_hgt@azm"));
}

std::string writeAntDiagrSections(const NoticeRecord& rec)
{
    const std::string h = azimuthLines(rec.attnH, "t_attn@azm");
    const std::string v = azimuthLines(rec.attnV, "t_attn@azm");
    std::string out;
    if (!h.empty())
        out += kCrLf + wrapSection("ANT_DIAGR_H", h);
    if (!v.empty())
        out += kCrLf + wrapSection("ANT_DIAGR_V", v);
    return out;
}

std::string formatCoord(const std::string& deg, const std::string& min, const std::string& sec,
                        const std::string& hemisphere)
{
    if (deg.empty() || min.empty())
        return {};
    const std::string h = upperValue(hemisphere);
    int degWidth = 0;
    std::string sign;
    if (h == "E" || h == "W")
        degWidth = 3;
    else if (h == "N" || h == "S")
        degWidth = 2;
    else
        return {};
    sign = (h == "E" || h == "N") ? "+" : "-";
    return sign + padZeros(deg, degWidth) + padZeros(min, 2) + padZeros(sec, 2);
}

std::string formatHHMM(const std::string& hhmm)
{
    if (hhmm.empty())
        return {};
    return platform::midChars(hhmm, 0, 2) + ":" + platform::midChars(hhmm, 2, 2);
}

std::string formatFileDate(const std::string& date)
{
    if (date.empty())
        return {};
    return isoDate(date).value_or(date);
}

}  // namespace notice
