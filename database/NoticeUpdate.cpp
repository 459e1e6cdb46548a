#include "NoticeUpdate.h"

#include "DbConnection.h"
#include "FieldColumns.h"
#include "KeyCounters.h"
#include "NoticeDelete.h"
#include "NoticeStore.h"
#include "KeyRows.h"
#include "ZelStore.h"
#include "ZelUpdate.h"
#include "database/sqlite/RowWriter.h"
#include "database/sqlite/Statement.h"
#include "database/sqlite/Transaction.h"
#include "notice/ErrorNumbers.h"
#include "notice/FieldUtils.h"
#include "notice/NoticeRules.h"

#include <algorithm>
#include <limits>
#include <string_view>
#include <utility>

namespace database {
namespace {

using notice::NoticeRecord;

// The pattern lists by the polarisation they are stored under.
constexpr std::pair<notice::Component, const char*> kPatterns[] = {
    {notice::Component::Horizontal, "H"},
    {notice::Component::Vertical, "V"},
};

// The stored target key: nothing when the notice has none; false on an error (reported).
bool storedTarget(std::int32_t terrakey, std::optional<std::int32_t>& target, bool& found, db::Connection& conn,
                  platform::Report& report)
{
    static constexpr const char* kProc = "updateFMTVTerraTable";
    db::Statement st(conn, "SELECT Target FROM fmtv_terra WHERE terrakey = ?");  // the key is unique
    st.bind(1, std::int64_t(terrakey));
    const db::Step step = st.step();
    if (step == db::Step::Failed)
        return reportDbErr(conn, kProc, report);
    found = step == db::Step::Row;
    if (!found || st.isNull(0))
        return true;
    const std::optional<std::int64_t> key = st.integer(0);
    if (!key || *key < std::numeric_limits<std::int32_t>::min() || *key > std::numeric_limits<std::int32_t>::max()) {
        notice::reportErr(notice::kErrOverflow, kProc, "Overflow: Target " + st.text(0), report);
        return false;
    }
    target = std::int32_t(*key);
    return true;
}

// Operating period, coordination lists and antenna tables of an addition or modification.
bool updateLists(const NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn, platform::Report& report)
{
    const std::string& type = rec.notice_typ;
    if (!notice::isDigital(type) && !notice::isContour(type) &&
        !updateFMTVOpPrdTable(rec.opPeriod, terrakey, conn, report))
        return false;
    if (!updateCoordSection(rec.coordAdm, terrakey, conn, report) ||
        !updateCoordASection(rec.zel.coordA, terrakey, conn, report) ||
        !updateCoordOSection(rec.zel.coordO, terrakey, conn, report))
        return false;
    if (notice::isAllotment(type))
        return true;
    if (!updateAntHgtSection(rec, terrakey, conn, report))
        return false;
    for (const auto& [component, polar] : kPatterns)
        if (notice::rewritesPattern(rec.polar, rec.ant_dir, component) &&
            !updateAttnSection(rec, terrakey, polar, conn, report))
            return false;
    return true;
}

using ListWriter = bool (*)(const notice::AdmList&, std::int32_t, db::Connection&, platform::Report&);

bool updateAdmRows(const char* procedure, const char* deleteSql, ListWriter write, const notice::AdmList& list,
                   std::int32_t terrakey, db::Connection& conn, platform::Report& report)
{
    return runWithKey(conn, deleteSql, terrakey, procedure, report) &&
           (!list.flag || write(list, terrakey, conn, report));
}

}  // namespace

bool updateNtc(const NoticeRecord& rec, std::int32_t key, db::Connection& conn, platform::Report& report)
{
    db::Transaction tx(conn);
    bool ok = tx.active() || reportDbErr(conn, "updateNtc", report);
    if (ok)
        ok = notice::isContour(rec.notice_typ) ? updateZEL04Contour(rec, key, conn, report)
                                               : updateFMTVTerraTable(rec, key, conn, report);
    return endNtcTrans(ok, tx, report);
}

bool updateFMTVTerraTable(const NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                          platform::Report& report)
{
    std::optional<std::int32_t> target;
    bool found = false;
    if (!storedTarget(terrakey, target, found, conn, report))
        return false;
    if (!found)
        return notUniqueForUpdate(report);

    auto row = db::RowWriter::update(conn, "fmtv_terra", "terrakey", terrakey);
    forEachColumn(notice::Table::Terra, rec,
                  [&](const notice::NoticeField&, const char* column, const std::string& value) {
                      if (&value == &rec.tran_sys && value.empty())
                          return;  // an empty transmission system keeps the stored one
                      row.setOrNull(column, withPolarPowers(rec, value));
                  });
    const bool targeted = notice::hasTarget(rec.intent);
    bool ok = true;
    bool newTarget = false;
    std::int32_t targetKey = target.value_or(0);
    if (!targeted && target) {
        row.setOrNull("Target", "");
        ok = deleteOneFromFMTVTarget(targetKey, conn, report);
    } else if (targeted && !target) {
        ok = writeTargetTable(targetKey, conn, report);
        row.set("Target", std::int64_t(targetKey));
        newTarget = true;
    }
    if (ok && !notice::describesStation(rec.intent))  // a suppression or withdrawal
        ok = deleteFromOpPrd(terrakey, conn, report) && deleteFromAntHgt(terrakey, conn, report) &&
             deleteFromCoord(terrakey, conn, report) && deleteFromAntDiagr(terrakey, "H", conn, report) &&
             deleteFromAntDiagr(terrakey, "V", conn, report);
    ok = ok && (row.run() || reportDbErr(conn, "updateFMTVTerraTable", report));
    if (ok && targeted)
        ok = newTarget ? writeToFMTVTargetTable(rec.target, targetKey, conn, report)
                       : updateFMTVTargetTable(rec.target, targetKey, conn, report);
    ok = ok && updateFMTVRmksTable(rec.remarks, terrakey, conn, report);
    if (ok && notice::describesStation(rec.intent))
        ok = updateLists(rec, terrakey, conn, report);
    if (ok && !notice::isAnalogue(rec.notice_typ))
        ok = udpateZEL04ElementTable(rec, terrakey, conn, report);
    return ok;
}

bool updateFMTVTargetTable(const notice::TargetRef& target, std::int32_t targetKey, db::Connection& conn,
                           platform::Report& report)
{
    static constexpr const char* kProc = "updateFMTVTargetTable";
    const auto rows = countKeyRows(conn, "SELECT count(*) FROM fmtv_target WHERE Target = ?", targetKey);
    if (!rows)
        return reportDbErr(conn, kProc, report);
    if (*rows != 1)
        return notUniqueForUpdate(report);
    auto row = db::RowWriter::update(conn, "fmtv_target", "Target", targetKey);
    NoticeRecord holder;  // the target's fields are addressed through a record
    holder.target = target;
    forEachColumn(notice::Table::Target, holder,
                  [&row](const notice::NoticeField&, const char* column, const std::string& value) {
                      row.setOrNull(column, value);
                  });
    return row.run() || reportDbErr(conn, kProc, report);
}

bool updateFMTVRmksTable(const std::string& remarks, std::int32_t terrakey, db::Connection& conn,
                         platform::Report& report)
{
    return runWithKey(conn, "DELETE FROM fmtv_rmks WHERE terrakey = ?", terrakey, "updateFMTVRmksTable", report) &&
           writeToFMTVRmksTable(remarks, terrakey, conn, report);
}

bool updateFMTVOpPrdTable(const notice::FlaggedPair& opPeriod, std::int32_t terrakey, db::Connection& conn,
                          platform::Report& report)
{
    static constexpr const char* kProc = "updateFMTVOpPrdTable";
    std::optional<std::int64_t> first;  // the row the reader shows
    {
        db::Statement st(conn, "SELECT rowid FROM fmtv_op_prd WHERE terrakey = ? ORDER BY rowid LIMIT 1");
        st.bind(1, std::int64_t(terrakey));
        const db::Step step = st.step();
        if (step == db::Step::Failed)
            return reportDbErr(conn, kProc, report);
        if (step == db::Step::Row)
            first = st.integer(0);
    }
    if (!first)
        return writeToFMTVOpPrdTable(opPeriod, terrakey, conn, report);
    return db::RowWriter::update(conn, "fmtv_op_prd", "rowid", *first)
               .setOrNull("op_hh_fr", opPeriod.first)
               .setOrNull("op_hh_to", opPeriod.second)
               .run() ||
           reportDbErr(conn, kProc, report);
}

bool updateCoordSection(const notice::AdmList& list, std::int32_t terrakey, db::Connection& conn,
                        platform::Report& report)
{
    return updateAdmRows("updateCoordSection", "DELETE FROM fmtv_coord WHERE terrakey = ?", writeCoordList, list,
                         terrakey, conn, report);
}

bool updateCoordASection(const notice::AdmList& list, std::int32_t terrakey, db::Connection& conn,
                         platform::Report& report)
{
    return updateAdmRows("updateCoordASection", "DELETE FROM zel_coord_analog_KOLV WHERE terrakey = ?",
                         writeCoordAList, list, terrakey, conn, report);
}

bool updateCoordOSection(const notice::AdmList& list, std::int32_t terrakey, db::Connection& conn,
                         platform::Report& report)
{
    return updateAdmRows("updateCoordOSection", "DELETE FROM zel_coord_other_service WHERE terrakey = ?",
                         writeCoordOList, list, terrakey, conn, report);
}

bool updateAntHgtSection(const NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                         platform::Report& report)
{
    return runWithKey(conn, "DELETE FROM fmtv_ant_hgt WHERE terrakey = ?", terrakey, "updateAntHgtSection",
                      report) &&
           writeAntHgtList(rec, terrakey, conn, report);
}

bool updateAttnSection(const NoticeRecord& rec, std::int32_t terrakey, const std::string& polar,
                       db::Connection& conn, platform::Report& report)
{
    db::Statement del(conn, "DELETE FROM fmtv_ant_diag WHERE terrakey = ? AND polar = ?");
    del.bind(1, std::int64_t(terrakey)).bind(2, polar);
    if (!del.run())
        return reportDbErr(conn, "updateAttnSection", report);
    // The reader puts an azimuth a into slot a/10: a pattern need not hold slot 0.
    const auto anyFlagged = [](const notice::AzimuthSlots& slots) {
        return std::any_of(slots.begin(), slots.end(), [](const notice::FlaggedPair& s) { return s.flag; });
    };
    if (polar == "H")
        return !anyFlagged(rec.attnH) || writeAntDiagHList(rec, terrakey, conn, report);
    if (polar == "V")
        return !anyFlagged(rec.attnV) || writeAntDiagVList(rec, terrakey, conn, report);
    return true;
}

}  // namespace database
