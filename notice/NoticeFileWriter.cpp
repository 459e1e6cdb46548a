#include "NoticeFileWriter.h"

#include "FieldUtils.h"
#include "NoticeFields.h"
#include "NoticeRules.h"
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

// Whether the writer writes the fields of a group for this notice.
bool writes(Written group, const NoticeRecord& rec)
{
    const std::string& type = rec.notice_typ;
    switch (group) {
    case Written::Never: return false;
    case Written::Lead:
    case Written::Always: return true;
    case Written::Target: return rec.target.flag;
    case Written::Position:
        return isAnalogue(type) || (isDigitalAssignment(type) && !dropsPosition(rec.intent));
    case Written::OpAgency: return rec.fragment == "NTFD_RR";
    case Written::OpPeriod: return rec.fragment == "NTFD_RR" && rec.opPeriod.flag;
    case Written::Digital:
    case Written::AllotmentIds: return rec.zel.flag;
    }
    return false;
}

// A field's value as the file gives it.
std::string fileValue(const NoticeField& f, const NoticeRecord& rec)
{
    switch (f.kind) {
    case ValueKind::Longitude:
    case ValueKind::Latitude:
        return formatCoord(valueOf(f, rec, 0), valueOf(f, rec, 1), valueOf(f, rec, 2), valueOf(f, rec, 3));
    case ValueKind::Time: return formatHHMM(valueOf(f, rec));
    case ValueKind::Date: return formatFileDate(valueOf(f, rec));
    default: break;
    }
    const std::string& value = valueOf(f, rec);
    return &value == &rec.zel.conv.conv_freq_assgn ? convFrequency(value) : value;
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
    std::string lead, b;
    for (const NoticeField& f : noticeFields()) {
        if (!writes(f.written, rec))
            continue;
        std::string& to = f.written == Written::Lead ? lead : b;
        if (f.written == Written::AllotmentIds) {
            for (const std::string& id : rec.zel.allotment.contour_id)
                to += keyValueLine(std::string(f.key), id);
        } else {
            to += keyValueLine(std::string(f.key), fileValue(f, rec));
        }
    }
    const ZEL04Elements& z = rec.zel;
    if (z.flag && z.coordA.flag)
        b += kCrLf + writeCoordASection(z.coordA);
    if (z.flag && z.coordO.flag)
        b += kCrLf + writeCoordOSection(z.coordO);
    if (rec.coordAdm.flag)
        b += kCrLf + writeCoordSection(rec.coordAdm);
    if (carriesAntenna(rec.notice_typ))
        b += kCrLf + writeAntHgtSection(rec) + writeAntDiagrSections(rec);
    return wrapSection("NOTICE", lead + keyValueLine("Notice No", std::to_string(number)) + b);
}

std::string writeTailSection(std::int32_t notices)
{
    if (notices < 1)
        return {};
    return "<TAIL>" + keyValueLine("t_num_notices", " " + std::to_string(notices)) + kCrLf + "</TAIL>" + kCrLf;
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
