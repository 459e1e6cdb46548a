#include "NoticeFileReader.h"

#include "FieldUtils.h"
#include "NoticeFileFormat.h"
#include "NoticeFields.h"
#include "NoticeRules.h"
#include "platform/AsciiCase.h"
#include "platform/NumberText.h"
#include "platform/TextCodec.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <vector>

namespace notice {
namespace {

constexpr const char* kCrLf = "\r\n";

std::string errorEntry(const std::string& prefix, const std::string& text)
{
    return prefix + " : Error : " + text + kCrLf;
}

// `key` as the line has it; named as splitKeyValue gives it.
std::string duplicateEntry(const std::string& prefix, std::string_view key)
{
    return errorEntry(prefix, keyText(key) + " : Duplicate key");
}

std::string invalidEntry(const std::string& prefix, std::string_view key, std::string_view value)
{
    return errorEntry(prefix, keyText(key) + " : Invalid value " + std::string(value));
}

std::string limitEntry(const std::string& prefix, int limit, const char* what)
{
    return prefix + " : Error : Cannot notify more than " + std::to_string(limit) + " " + what;
}

bool isAnyOf(std::string_view line, std::initializer_list<std::string_view> tags)
{
    return std::any_of(tags.begin(), tags.end(),
                       [&](std::string_view t) { return platform::equalsNoCase(line, t); });
}

// A tag that opens or closes a whole section: no sub-section reads past it.
bool isSectionBreak(const std::string& line)
{
    return isAnyOf(line, {"</NOTICE>", "<NOTICE>", "<HEAD>"});
}

// Walks a sub-section's lines up to one of its closing tags, handing each other line to
// `onLine`. A section that breaks off adds an entry to the report.
template <class OnLine>
std::string walkSubSection(ReadCursor& cur, const std::string& prefix, const char* name,
                           std::initializer_list<std::string_view> closing, OnLine onLine)
{
    std::string report;
    for (;;) {
        if (isAnyOf(cur.line, closing))
            return report;
        if (cur.atEndOfInput())
            return report + errorEntry(prefix, std::string(name) + " sub-section not closed at the end of the file");
        if (isSectionBreak(cur.line))
            return report + errorEntry(prefix, std::string(name) + " sub-section not closed before " + cur.line);
        onLine(report);
        cur.advance();
    }
}

// Stores `value` into `field` unless the field already holds text.
void storeOnce(NoticeRecord& rec, std::string& field, std::string_view key, std::string_view value, bool upper,
               unsigned flags, std::string& report, const std::string& prefix)
{
    if (!field.empty()) {
        report += duplicateEntry(prefix, key);
        return;
    }
    if (upper)
        field = platform::upperCp1252(value);
    else
        field.assign(value);
    setFlags(rec, flags);
}

std::string readAdmSection(ReadCursor& cur, AdmList& list, const std::string& prefix, const char* name,
                           std::initializer_list<std::string_view> closing, int limit)
{
    int count = 0;
    return walkSubSection(cur, prefix, name, closing, [&](std::string& report) {
        std::string_view key, value;
        if (!splitKeyLine(cur.line, key, value) || !platform::equalsNoCase(key, "t_adm"))
            return;
        if (count == limit) {
            report += limitEntry(prefix, limit, "administrations");
        } else if (!value.empty()) {
            list.flag = true;
            list.adm[count++].assign(value);
        }
    });
}

std::string readAntennaSection(ReadCursor& cur, AzimuthSlots& slots, const std::string& prefix, const char* name,
                               std::string_view closing, std::string_view fixedKey)
{
    // The stored list comes back by 10-degree slot: two azimuths of one slot cannot both be
    // kept. The entry holding each slot, -1 for none, from the azimuths kept so far (an
    // azimuth below 355 has a slot below 36).
    const auto slotOf = [](int degrees) { return std::size_t(azimuthSlot(degrees)); };
    std::array<int, kAzimuthSlots> holder;
    holder.fill(-1);
    for (int i = kAzimuthSlots - 1; i >= 0; --i)
        if (const auto degrees = slots[i].flag ? parseAzimuth(slots[i].first) : std::nullopt)
            holder[slotOf(*degrees)] = i;
    int count = 0;
    return walkSubSection(cur, prefix, name, {closing}, [&](std::string& report) {
        std::string_view key, value;
        if (!splitKeyLine(cur.line, key, value) || !platform::startsWithNoCase(key, fixedKey))
            return;
        const std::string_view azimuth = key.substr(fixedKey.size());
        const std::optional<int> degrees = parseAzimuth(azimuth);
        if (!degrees) {
            report += invalidEntry(prefix, key, value);
            return;
        }
        if (count == kAzimuthSlots) {
            report += limitEntry(prefix, kAzimuthSlots, "values");
            return;
        }
        if (value.empty())
            return;
        const auto shownKey = [&] { return std::string(fixedKey).append(azimuth); };
        // A filled slot means an earlier sub-section of the same kind: its values stay.
        if (slots[count].flag) {
            report += duplicateEntry(prefix, shownKey());
            return;
        }
        int& holding = holder[slotOf(*degrees)];
        if (holding >= 0) {
            const std::string& taken = slots[std::size_t(holding)].first;
            report += parseAzimuth(taken) == degrees
                          ? duplicateEntry(prefix, shownKey())
                          : errorEntry(prefix, shownKey() + " : Same 10-degree slot as azimuth " + taken);
            return;
        }
        holding = count;
        FlaggedPair& kept = slots[std::size_t(count++)];
        kept.flag = true;
        kept.first.assign(azimuth);
        kept.second.assign(value);
    });
}

// The largest count of test points: the point list holds one more than the count.
constexpr int kMaxTestPoints = 32766;
// The largest count of sub-areas that a stored 16-bit number holds.
constexpr int kMaxSubAreas = 32767;

bool isWholeNumber(std::string_view s, int max)
{
    if (!isDigits(s))
        return false;
    const std::string_view significant = s.substr(std::min(s.find_first_not_of('0'), s.size() - 1));
    return significant.size() <= 5 && int(platform::parseInteger(significant).value_or(0)) <= max;
}

// State of one call of readNoticeSection.
struct NoticeReading {
    NoticeRecord& rec;
    const std::string& prefix;
    std::string report = " ";
    std::vector<FlaggedPair> points;  // accepted, sized to the count at the end of the notice
    bool coordSelfRead = false;
    std::vector<std::pair<std::string, std::string>> contourIds;  // key as read, value
};

void readCoordinate(NoticeReading& r, const NoticeField& k, std::string_view key, const std::string& value)
{
    if (value.empty())
        return;
    const bool isLong = k.kind == ValueKind::Longitude;
    if (isLong ? !isFileLongitude(value) : !isFileLatitude(value)) {
        r.report += invalidEntry(r.prefix, key, value);
        return;
    }
    const std::string parts[4] = {
        isLong ? getLongDeg(value) : getLatDeg(value), isLong ? getLongMin(value) : getLatMin(value),
        isLong ? getLongSec(value) : getLatSec(value), isLong ? getLongEW(value) : getLatNS(value)};
    const auto fields = k.coord(r.rec);
    for (int i = 0; i < 4; ++i)
        storeOnce(r.rec, *fields[i], key, parts[i], false, k.flags, r.report, r.prefix);
}

void readNbTestPts(NoticeReading& r, const NoticeField& k, std::string_view key, std::string_view value)
{
    Contour& contour = r.rec.zel.contour;
    if (!contour.nb_test_pts.empty()) {
        r.report += duplicateEntry(r.prefix, key);
        return;
    }
    if (!isWholeNumber(value, kMaxTestPoints)) {
        r.report += invalidEntry(r.prefix, key, value);
        return;
    }
    if (std::size_t(int(platform::parseInteger(value).value_or(0))) < r.points.size()) {
        r.report += errorEntry(r.prefix, keyText(key) + " : fewer test points than the points already read");
        return;
    }
    contour.nb_test_pts.assign(value);
    setFlags(r.rec, k.flags);
}

void readNoticeKey(NoticeReading& r, std::string_view key, std::string_view value)
{
    const NoticeField* k = findNoticeKey(key);
    if (!k)
        return;
    NoticeRecord& rec = r.rec;
    switch (k->kind) {
    case ValueKind::Text:
    case ValueKind::Date:
        storeOnce(rec, k->field(rec), key, value, k->upper, k->flags, r.report, r.prefix);
        return;
    case ValueKind::Count:
        if (!value.empty() && k->field(rec).empty() && !isWholeNumber(value, kMaxSubAreas)) {
            r.report += invalidEntry(r.prefix, key, value);
            return;
        }
        storeOnce(rec, k->field(rec), key, value, k->upper, k->flags, r.report, r.prefix);
        return;
    case ValueKind::NoticeType: {
        const bool wasEmpty = rec.notice_typ.empty();
        storeOnce(rec, rec.notice_typ, key, value, true, k->flags, r.report, r.prefix);
        if (!wasEmpty)
            return;
        if (const std::string_view cls = stationClass(rec.notice_typ); !cls.empty())
            rec.stn_cls = cls;
        return;
    }
    case ValueKind::Longitude:
    case ValueKind::Latitude:
        readCoordinate(r, *k, key, std::string(value));
        return;
    case ValueKind::Time: {
        std::string& field = k->field(rec);
        if (!field.empty()) {
            r.report += duplicateEntry(r.prefix, key);
            return;
        }
        const auto hhmm = value.empty() ? std::optional<std::string>("") : parseFileTime(std::string(value));
        if (!hhmm) {
            r.report += invalidEntry(r.prefix, key, value);
            return;
        }
        field = *hhmm;
        setFlags(rec, k->flags);
        return;
    }
    case ValueKind::Remarks:
        if (!rec.remarks.empty())
            rec.remarks += ';';
        rec.remarks += value;
        return;
    case ValueKind::IntRemarks:
        rec.int_remarks.assign(value);
        return;
    case ValueKind::CoordSelf:
        if (r.coordSelfRead) {
            r.report += duplicateEntry(r.prefix, key);
            return;
        }
        r.coordSelfRead = true;
        rec.zel.coord_self = platform::upperCp1252(value);
        setFlags(rec, k->flags);
        return;
    case ValueKind::ContourId:
        // Where an id goes depends on the notice type, which may come later.
        r.contourIds.emplace_back(keyText(key), value);
        return;
    case ValueKind::NbTestPts:
        readNbTestPts(r, *k, key, value);
        return;
    }
}

void placeContourIds(NoticeReading& r)
{
    ZEL04Elements& zel = r.rec.zel;
    if (isContour(r.rec.notice_typ)) {
        for (const auto& [key, value] : r.contourIds)
            storeOnce(r.rec, zel.contour.contour_id, key, value, false, kFlagContour, r.report, r.prefix);
        return;
    }
    std::size_t slot = 0;
    for (const auto& [key, value] : r.contourIds) {
        if (slot == zel.allotment.contour_id.size()) {
            r.report += errorEntry(r.prefix, key + " : Cannot notify more than " +
                                                 std::to_string(kContourIdSlots) + " sub-areas");
            continue;
        }
        zel.allotment.contour_id[slot++] = value;
    }
}

void readPoint(ReadCursor& cur, NoticeReading& r)
{
    cur.advance();
    FlaggedPair point;
    const std::string sub = readPointSection(cur, point, r.prefix);
    if (sub.empty())
        r.points.push_back(point);
    else
        r.report += r.prefix + " <POINT> #" + std::to_string(r.points.size()) + " : " + r.prefix + sub + kCrLf;
}

// The points list holds the count of test points plus one, or two without a count. Only the
// counted points are stored, so points read before the count are kept up to the count and
// those beyond it are refused.
void placePoints(NoticeReading& r)
{
    Contour& contour = r.rec.zel.contour;
    const bool counted = !contour.nb_test_pts.empty();
    const std::size_t count = std::size_t(platform::parseInteger(contour.nb_test_pts).value_or(0));
    const std::size_t slots = counted ? count + 1 : 2;
    const std::size_t room = counted ? count : slots;
    for (std::size_t k = room; k < r.points.size(); ++k)
        r.report += errorEntry(r.prefix, "<POINT> #" + std::to_string(k) + " : Cannot notify more than " +
                                             std::to_string(room) + " points");
    r.points.resize(std::min(r.points.size(), room));
    r.points.resize(slots);
    contour.points = std::move(r.points);
}

void readCoordList(ReadCursor& cur, NoticeReading& r, AdmList& target, const char* name,
                   std::string (*reader)(ReadCursor&, AdmList&, const std::string&))
{
    cur.advance();
    AdmList working;  // emptied for every sub-section, so refused entries never come back
    const std::string sub = reader(cur, working, r.prefix);
    if (!sub.empty())
        r.report += std::string(" ") + name + " " + sub + kCrLf;
    else if (working.flag)  // one without any administration leaves the list as it was
        target = working;
}

void readAntenna(ReadCursor& cur, NoticeReading& r, const char* name,
                 std::string (*reader)(ReadCursor&, NoticeRecord&, const std::string&))
{
    cur.advance();
    const std::string sub = reader(cur, r.rec, r.prefix);
    if (!sub.empty())
        r.report += std::string(" ") + name + " " + sub + kCrLf;
}

// Handles a sub-section tag; false when the line is none.
bool readSubSection(ReadCursor& cur, NoticeReading& r)
{
    const std::string& line = cur.line;
    if (!line.starts_with('<'))
        return false;
    ZEL04Elements& zel = r.rec.zel;
    if (platform::equalsNoCase(line, "<POINT>")) {
        readPoint(cur, r);
    } else if (isAnyOf(line, {"<COORDINATION>", "<COORD>"})) {
        readCoordList(cur, r, r.rec.coordAdm, "<COORDINATION>", readCoordSection);
    } else if (platform::equalsNoCase(line, "<COORD_A>")) {
        if (zel.coordA.flag)
            r.report += errorEntry(r.prefix, "<COORD_A> sub-section already defined");
        else
            readCoordList(cur, r, zel.coordA, "<COORD_A>", readCoordASection);
    } else if (platform::equalsNoCase(line, "<COORD_O>")) {
        if (zel.coordO.flag)
            r.report += errorEntry(r.prefix, "<COORD_O> sub-section already defined");
        else
            readCoordList(cur, r, zel.coordO, "<COORD_O>", readCoordOSection);
    } else if (platform::equalsNoCase(line, "<ANT_HGT>")) {
        readAntenna(cur, r, "<ANT_HGT>", readAntHgtSection);
    } else if (platform::equalsNoCase(line, "<ANT_DIAGR_H>")) {
        readAntenna(cur, r, "<ANT_DIAGR_H>", readAntDiagrHSection);
    } else if (platform::equalsNoCase(line, "<ANT_DIAGR_V>")) {
        readAntenna(cur, r, "<ANT_DIAGR_V>", readAntDiagrVSection);
    } else {
        return false;
    }
    return true;
}

void completeNotice(NoticeReading& r)
{
    NoticeRecord& rec = r.rec;
    placeContourIds(r);
    placePoints(r);
    if (!describesStation(rec.intent))
        copyTargetToNtc(rec);
    if (isAnalogue(rec.notice_typ)) {
        // An unknown polarisation makes no pattern directive.
        const bool known = isKnownPolarisation(rec.polar);
        const bool h = known && carriesHorizontal(rec.polar) && rec.attnH[0].flag;
        const bool v = known && carriesVertical(rec.polar) && rec.attnV[0].flag;
        rec.ant_dir = (h || v) ? "D" : "ND";
    }
}

}  // namespace

void ReadCursor::advance()
{
    file.readTxtLine(line);
    if (line.find('\t') != std::string::npos)
        line = replaceTabs(line);
    ++lineNo;
}

std::string readHeadSection(ReadCursor& cur, NoticeRecord& rec, const std::string& prefix)
{
    std::string report;
    for (;;) {
        if (cur.line == "</HEAD>")
            return report;
        if (cur.atEndOfInput())
            return report + errorEntry(prefix, "<HEAD> section not closed at the end of the file");
        if (cur.line == "<NOTICE>")
            return report + errorEntry(prefix, "<HEAD> section not closed before <NOTICE>");
        std::string_view key, value;
        if (splitKeyLine(cur.line, key, value)) {
            if (platform::equalsNoCase(key, "t_adm"))
                storeOnce(rec, rec.adm, key, value, false, 0, report, prefix);
            else if (platform::equalsNoCase(key, "t_email_addr"))
                storeOnce(rec, rec.zel.email_addr, key, value, false, 0, report, prefix);
        }
        cur.advance();
    }
}

std::string readNoticeSection(ReadCursor& cur, NoticeRecord& rec, const std::string& prefix, bool& complete)
{
    NoticeReading r{rec, prefix, " ", {}, false, {}};
    complete = false;
    for (;;) {
        if (platform::equalsNoCase(cur.line, "</NOTICE>")) {
            complete = true;
            break;
        }
        if (cur.atEndOfInput()) {
            r.report += errorEntry(prefix, "<NOTICE> section not closed at the end of the file");
            break;
        }
        if (cur.line == "<NOTICE>" || cur.line == "<HEAD>") {
            // A section that opens inside a notice means its close was lost: the notice ends here.
            r.report += errorEntry(prefix, "<NOTICE> section not closed before " + cur.line);
            break;
        }
        std::string_view key, value;
        if (splitKeyLine(cur.line, key, value)) {
            readNoticeKey(r, key, value);
        } else if (readSubSection(cur, r)) {
            // A sub-section that broke off leaves the line that stopped it.
            if (platform::equalsNoCase(cur.line, "</NOTICE>") || cur.atEndOfInput())
                continue;
            if (isSectionBreak(cur.line))
                break;  // the sub-section said why
        }
        cur.advance();
    }
    completeNotice(r);
    return r.report;
}

std::string readPointSection(ReadCursor& cur, FlaggedPair& point, const std::string& prefix)
{
    return walkSubSection(cur, prefix, "<POINT>", {"</POINT>"}, [&](std::string& report) {
        std::string_view key, value;
        if (!splitKeyLine(cur.line, key, value) || value.empty())
            return;
        const bool isLong = platform::equalsNoCase(key, "zel_long");
        if (!isLong && !platform::equalsNoCase(key, "zel_lat"))
            return;
        if (isLong ? !isFileLongitude(value) : !isFileLatitude(value)) {
            report += invalidEntry(prefix, key, value);
            return;
        }
        std::string& field = isLong ? point.first : point.second;
        if (!field.empty()) {
            report += duplicateEntry(prefix, key);
            return;
        }
        point.flag = true;
        field.assign(value);
    });
}

std::string readCoordSection(ReadCursor& cur, AdmList& list, const std::string& prefix)
{
    return readAdmSection(cur, list, prefix, "<COORDINATION>", {"</COORDINATION>", "</COORD>"}, kAdmSlots);
}

std::string readCoordASection(ReadCursor& cur, AdmList& list, const std::string& prefix)
{
    return readAdmSection(cur, list, prefix, "<COORD_A>", {"</COORD_A>"}, kCoordAOLimit);
}

std::string readCoordOSection(ReadCursor& cur, AdmList& list, const std::string& prefix)
{
    return readAdmSection(cur, list, prefix, "<COORD_O>", {"</COORD_O>"}, kCoordAOLimit);
}

std::string readAntHgtSection(ReadCursor& cur, NoticeRecord& rec, const std::string& prefix)
{
    return readAntennaSection(cur, rec.effHgt, prefix, "<ANT_HGT>", "</ANT_HGT>", "t_eff_hgt@azm");
}

std::string readAntDiagrHSection(ReadCursor& cur, NoticeRecord& rec, const std::string& prefix)
{
    return readAntennaSection(cur, rec.attnH, prefix, "<ANT_DIAGR_H>", "</ANT_DIAGR_H>", "t_attn@azm");
}

std::string readAntDiagrVSection(ReadCursor& cur, NoticeRecord& rec, const std::string& prefix)
{
    return readAntennaSection(cur, rec.attnV, prefix, "<ANT_DIAGR_V>", "</ANT_DIAGR_V>", "t_attn@azm");
}

bool NoticeFileReader::openNtcTxtFile(const std::string& path, NoticeRecord& rec, std::string& error)
{
    clearNtcAdm(rec);
    if (!m_file.open(path, error))
        return false;
    restart(rec);
    return true;
}

void NoticeFileReader::openNtcBytes(std::string_view bytes, NoticeRecord& rec)
{
    clearNtcAdm(rec);
    m_file.openBytes(bytes);
    restart(rec);
}

void NoticeFileReader::restart(NoticeRecord& rec)
{
    rec.zel.email_addr.clear();
    m_cur.line.clear();
    m_cur.lineNo = 0;
    m_keptEmail.clear();
    m_headReport.clear();
    m_count = 0;
    m_pending = false;
}

void NoticeFileReader::close()
{
    m_file.close();
    m_pending = false;
}

bool NoticeFileReader::readNextNotice(NoticeRecord& rec, NoticeRead& read)
{
    for (;;) {
        if (!m_pending) {
            if (!m_file.isOpen() || m_file.atEnd())
                return false;
            m_cur.advance();
        }
        m_pending = false;
        if (m_cur.line == "<HEAD>") {
            m_cur.advance();
            m_headReport += readHeadSection(m_cur, rec, "");
            m_keptEmail = rec.zel.email_addr;
        }
        if (m_cur.line != "<NOTICE>")
            continue;
        ++m_count;
        m_cur.advance();
        initNotice(rec);
        rec.zel.email_addr = m_keptEmail;
        read.number = m_count;
        read.report = readNoticeSection(m_cur, rec, "Notice No : " + std::to_string(m_count), read.complete);
        // A notice cut short by a new section leaves that section's tag to be read next.
        m_pending = !read.complete && !m_cur.atEndOfInput();
        return true;
    }
}

}  // namespace notice
