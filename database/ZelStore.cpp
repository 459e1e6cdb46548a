#include "ZelStore.h"

#include "DbConnection.h"
#include "FieldColumns.h"
#include "KeyCounters.h"
#include "Lookups.h"
#include "NoticeDelete.h"
#include "database/sqlite/RowWriter.h"
#include "database/sqlite/Statement.h"
#include "notice/ErrorNumbers.h"
#include "notice/FieldUtils.h"
#include "notice/NoticeFileFormat.h"
#include "notice/NoticeRules.h"
#include "platform/Report.h"

#include <algorithm>

namespace database {
namespace {

using notice::NoticeRecord;

// A count or id as the 16-bit number it is stored by; an overflow is reported.
bool toInt16(const std::string& text, std::int16_t& out, const char* procedure, platform::Report& report)
{
    const auto value = leadingInt16(text);
    if (!value) {
        notice::reportErr(notice::kErrOverflow, procedure, "Overflow", report);
        return false;
    }
    out = *value;
    return true;
}

// Writes points 0 to count - 1 of the contour; true when the last written one was.
bool writePoints(const NoticeRecord& rec, std::int32_t contourkey, std::int16_t count, const char* procedure,
                 db::Connection& conn, platform::Report& report)
{
    const std::vector<notice::FlaggedPair>& points = rec.zel.contour.points;
    if (count > std::int16_t(points.size())) {
        notice::reportErr(notice::kErrSubscript, procedure, "Subscript out of range", report);
        return false;
    }
    bool result = false;
    for (std::int16_t i = 0; i < count; ++i) {
        if (!points[std::size_t(i)].flag)
            continue;
        result = writeContourPoint(contourkey, points[std::size_t(i)], i, conn, report);
        if (!result)
            break;
    }
    return result;
}

// The stored contour of an id for the notice's country and administration. False when the
// look-up failed (reported under `procedure`) or met the id more than once (it said so).
struct StoredContour {
    Lookup found = Lookup::NotFound;
    std::int32_t key = 0;
    bool hasPoints = false;
    std::string question;  // whether to overwrite a contour with points
};

bool lookUpContour(const NoticeRecord& rec, std::int16_t contourId, std::int16_t newPoints, const char* procedure,
                   db::Connection& conn, platform::Report& report, StoredContour& out)
{
    bool abort = false;
    out.found = findContour(contourId, rec.ctry, rec.adm, out.key, abort, out.question, conn, out.hasPoints,
                            newPoints, report);
    if (out.found == Lookup::Failed)
        return reportDbErr(conn, procedure, report);
    return !abort;
}

}  // namespace

bool writeToZEL04ElementTable(const NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                              platform::Report& report)
{
    const notice::ZEL04Elements& z = rec.zel;
    auto row = db::RowWriter::insert(conn, "zel_elements");
    row.set("terrakey", terrakey);
    // The conversion point is stored only as far as it was given, its frequency with a point.
    setColumns(row, notice::Table::Elements, rec, [&z](const notice::NoticeField& f, const std::string& value) {
        if (((f.flags & notice::kFlagConv) && !z.conv.flag) ||
            ((f.flags & notice::kFlagConvCoord) && !z.conv.coord.flag))
            return std::string();
        return &value == &z.conv.conv_freq_assgn ? notice::convFrequency(value) : value;
    });
    if (!row.run())
        return reportDbErr(conn, "writeToZEL04ElementTable", report);
    if ((!z.sfn_id.empty() || !z.adm_allot_id.empty()) && !writeToSfnIDProcTable(rec, terrakey, conn, report))
        return false;
    return !z.allotment.flag || addZEL04Allot(rec, terrakey, conn, report);
}

bool writeToSfnIDProcTable(const NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                           platform::Report& report, const char* procedure)
{
    return db::RowWriter::insert(conn, "zel_sfnID_proc")
               .set("terrakey", terrakey)
               .setIfNotEmpty("adm", rec.adm)
               .setIfNotEmpty("sfn_id", rec.zel.sfn_id)
               .setIfNotEmpty("notice_typ", rec.notice_typ)
               .setIfNotEmpty("adm_allot_id", rec.zel.adm_allot_id)
               .run() ||
           reportDbErr(conn, procedure, report);
}

bool addZEL04Allot(const NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                   platform::Report& report)
{
    const notice::Allotment& a = rec.zel.allotment;
    std::int32_t allotkey = 0;
    if (!writeAllotKeyTable(allotkey, conn, report))
        return false;
    if (!db::RowWriter::insert(conn, "zel_allotment")
             .set("terrakey", terrakey)
             .set("allotkey", allotkey)
             .setIfNotEmpty("allot_name", a.allot_name)
             .setIfNotEmpty("geo_area", a.geo_area)
             .setIfNotEmpty("nb_sub_areas", a.nb_sub_areas)
             .run())
        return reportDbErr(conn, "addZEL04Allot", report);
    return a.nb_sub_areas.empty() || addZEL04SubArea(rec, allotkey, conn, report);
}

bool addZEL04SubArea(const NoticeRecord& rec, std::int32_t allotkey, db::Connection& conn,
                     platform::Report& report)
{
    static constexpr const char* kProc = "addZEL04SubArea";
    const auto& ids = rec.zel.allotment.contour_id;
    std::int16_t count = 0;
    if (!toInt16(rec.zel.allotment.nb_sub_areas, count, kProc, report))
        return false;
    const std::int16_t slots = std::min(count, std::int16_t(ids.size()));
    bool any = false;
    for (std::int16_t i = 0; i < slots; ++i) {
        const std::string& id = ids[std::size_t(i)];
        if (id.empty())
            continue;
        any = true;
        std::int16_t contourId = 0;
        if (!toInt16(id, contourId, kProc, report))
            return false;
        StoredContour stored;
        if (!lookUpContour(rec, contourId, 0, kProc, conn, report, stored))
            return false;
        std::int32_t contourkey = stored.key;
        if (stored.found == Lookup::NotFound) {
            if (!writeContourKeyTable(contourkey, conn, report))
                return false;
            if (!db::RowWriter::insert(conn, "zel_contour")
                     .set("contourkey", contourkey)
                     .set("contour_id", id)
                     .set("ctry", rec.ctry)
                     .set("adm", rec.adm)
                     .run())
                return reportDbErr(conn, kProc, report);
        }
        if (!db::RowWriter::insert(conn, "zel_sub_area").set("allotkey", allotkey).set("contourkey", contourkey).run())
            return reportDbErr(conn, kProc, report);
    }
    // A count beyond the ten ids ends the sub-areas there; the ten stand.
    if (count > slots)
        reportTooManySubAreas(kProc, report);
    return any;
}

bool addZEL04Contour(const NoticeRecord& rec, db::Connection& conn, ContourOutcome& outcome, bool forceNew,
                     platform::Report& report)
{
    static constexpr const char* kProc = "addZEL04Contour";
    if (forceNew)
        return addNewContour(rec, conn, report);
    const notice::Contour& c = rec.zel.contour;
    std::int16_t contourId = 0, newPoints = 0;
    if (!toInt16(c.contour_id, contourId, kProc, report) || !toInt16(c.nb_test_pts, newPoints, kProc, report))
        return false;
    StoredContour stored;
    if (!lookUpContour(rec, contourId, newPoints, kProc, conn, report, stored))
        return false;
    const std::int32_t contourkey = stored.key;
    if (stored.found == Lookup::NotFound) {
        if (!addNewContour(rec, conn, report))
            return false;
        outcome.status = 1;
        return true;
    }
    if (!stored.hasPoints) {
        outcome.status = 1;  // a placeholder is filled without asking
        return updateZEL04Contour(rec, contourkey, conn, report);
    }
    if (!report.askYesNo(stored.question, "Duplicate ContourID")) {
        outcome.status = 0;
        return true;
    }
    outcome.status = 2;
    outcome.overwrittenContourKey = contourkey;
    return updateZEL04Contour(rec, contourkey, conn, report);
}

bool addNewContour(const NoticeRecord& rec, db::Connection& conn, platform::Report& report)
{
    static constexpr const char* kProc = "addNewContour";
    const notice::Contour& c = rec.zel.contour;
    std::int16_t count = 0;
    if (!toInt16(c.nb_test_pts, count, kProc, report))
        return false;
    std::int32_t contourkey = 0;
    if (!writeContourKeyTable(contourkey, conn, report))
        return false;
    if (!db::RowWriter::insert(conn, "zel_contour")
             .set("contourkey", contourkey)
             .setIfNotEmpty("contour_id", c.contour_id)
             .setIfNotEmpty("ctry", rec.ctry)
             .setIfNotEmpty("adm", rec.adm)
             .setIfNotEmpty("nb_test_pts", c.nb_test_pts)
             .setIfNotEmpty("remarks", rec.remarks)
             .run())
        return reportDbErr(conn, kProc, report);
    return writePoints(rec, contourkey, count, kProc, conn, report);
}

bool writeContourPoint(std::int32_t contourkey, const notice::FlaggedPair& point, std::int16_t testPt,
                       db::Connection& conn, platform::Report& report)
{
    return db::RowWriter::insert(conn, "zel_contour_pt")
               .set("contourkey", contourkey)
               .set("test_pt", std::int64_t(testPt))
               .setIfNotEmpty("long_deg", notice::getLongDeg(point.first))
               .setIfNotEmpty("long_min", notice::getLongMin(point.first))
               .setIfNotEmpty("long_sec", notice::getLongSec(point.first))
               .setIfNotEmpty("long_ew", notice::getLongEW(point.first))
               .setIfNotEmpty("lat_deg", notice::getLatDeg(point.second))
               .setIfNotEmpty("lat_min", notice::getLatMin(point.second))
               .setIfNotEmpty("lat_sec", notice::getLatSec(point.second))
               .setIfNotEmpty("lat_ns", notice::getLatNS(point.second))
               .run() ||
           reportDbErr(conn, "writeContourPoint", report);
}

bool updateZEL04Contour(const NoticeRecord& rec, std::int32_t contourkey, db::Connection& conn,
                        platform::Report& report)
{
    static constexpr const char* kProc = "updateZEL04Contour";
    const notice::Contour& c = rec.zel.contour;
    std::int16_t count = 0;
    if (!toInt16(c.nb_test_pts, count, kProc, report))
        return false;
    // Refuse a record whose point list is shorter than its count before anything is written.
    if (count > std::int16_t(c.points.size())) {
        notice::reportErr(notice::kErrSubscript, kProc, "Subscript out of range", report);
        return false;
    }
    db::Statement rows(conn, "SELECT count(*) FROM zel_contour WHERE contourkey = ?");
    rows.bind(1, std::int64_t(contourkey));
    if (rows.step() != db::Step::Row)
        return reportDbErr(conn, kProc, report);
    if (rows.integer(0) != 1) {
        report.message("updateZEL04Contour: The sub area unique. Please consult the administrator!",
                         "Update Error", platform::Icon::Warning);
        return false;
    }
    if (!db::RowWriter::update(conn, "zel_contour", "contourkey", contourkey)
             .setIfNotEmpty("contour_id", c.contour_id)
             .setIfNotEmpty("ctry", rec.ctry)
             .setIfNotEmpty("adm", rec.adm)
             .setIfNotEmpty("nb_test_pts", c.nb_test_pts)
             .setIfNotEmpty("remarks", rec.remarks)
             .run())
        return reportDbErr(conn, kProc, report);
    const Lookup stored = contourHasPoints(contourkey, conn);
    if (stored == Lookup::Failed)
        return reportDbErr(conn, kProc, report);
    if (stored == Lookup::Found && !deleteContourPointTable(contourkey, conn, report))
        return false;
    return writePoints(rec, contourkey, count, kProc, conn, report);
}

}  // namespace database
