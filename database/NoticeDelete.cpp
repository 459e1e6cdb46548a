#include "NoticeDelete.h"

#include "DbConnection.h"
#include "KeyRows.h"
#include "database/sqlite/Statement.h"
#include "database/sqlite/Transaction.h"
#include "platform/Report.h"

#include <optional>

namespace database {
namespace {

// Tables whose rows belong to a notice through its terrakey.
constexpr const char* kNoticeTables[] = {"fmtv_op_prd",  "fmtv_rmks",      "fmtv_coord",
                                         "fmtv_ant_hgt", "fmtv_ant_diag",  "zel_elements",
                                         "zel_sfnID_proc", "zel_coord_analog_KOLV", "zel_coord_other_service"};

bool corrupted(const char* text, platform::Report& report)
{
    report.message(text, "Database error", platform::Icon::Warning);
    return false;
}

}  // namespace

bool deleteNtc(std::int32_t terrakey, db::Connection& conn, platform::Report& report)
{
    db::Transaction tx(conn);
    bool ok = tx.active() || reportDbErr(conn, "deleteNtc", report);
    if (ok) {
        // The target key must be read before the notice's row goes.
        db::Statement target(conn, "SELECT Target FROM fmtv_terra WHERE terrakey = ?");
        target.bind(1, std::int64_t(terrakey));
        const db::Step step = target.step();
        const std::optional<std::int64_t> targetKey = step == db::Step::Row ? target.integer(0) : std::nullopt;
        ok = step != db::Step::Failed || reportDbErr(conn, "deleteNtc", report);
        ok = ok && deleteLinkSubArea(terrakey, conn, report) && deleteOneFromFMTVTerra(terrakey, conn, report);
        if (ok && targetKey)
            ok = runWithKey(conn, "DELETE FROM fmtv_target WHERE Target = ?", *targetKey, "deleteNtc", report);
        for (const char* table : kNoticeTables) {
            if (!ok)
                break;
            ok = runWithKey(conn, std::string("DELETE FROM ") + table + " WHERE terrakey = ?", terrakey,
                            "deleteNtc", report);
        }
    }
    return endNtcTrans(ok, tx, report);
}

bool deleteLinkSubArea(std::int32_t terrakey, db::Connection& conn, platform::Report& report)
{
    static constexpr const char* kProc = "deleteLinkSubArea";
    // Placeholders (no test points) used only by this notice's sub-areas go with it.
    return runWithKey(conn,
                      "DELETE FROM zel_contour WHERE nb_test_pts IS NULL AND contourkey IN ("
                      " SELECT s.contourkey FROM zel_sub_area s JOIN zel_allotment a ON a.allotkey = s.allotkey"
                      " WHERE a.terrakey = ?1)"
                      " AND contourkey NOT IN ("
                      " SELECT s.contourkey FROM zel_sub_area s WHERE s.allotkey NOT IN ("
                      " SELECT allotkey FROM zel_allotment WHERE terrakey = ?1))",
                      terrakey, kProc, report) &&
           runWithKey(conn,
                      "DELETE FROM zel_sub_area WHERE allotkey IN"
                      " (SELECT allotkey FROM zel_allotment WHERE terrakey = ?)",
                      terrakey, kProc, report) &&
           runWithKey(conn, "DELETE FROM zel_allotment WHERE terrakey = ?", terrakey, kProc, report);
}

bool deleteOneFromFMTVTerra(std::int32_t terrakey, db::Connection& conn, platform::Report& report)
{
    static constexpr const char* kProc = "deleteOneFromFMTVTerra";
    const auto rows = countKeyRows(conn, "SELECT count(*) FROM fmtv_terra WHERE terrakey = ?", terrakey);
    if (!rows)
        return reportDbErr(conn, kProc, report);
    if (*rows != 1)
        return corrupted(kNotUnique, report);
    return runWithKey(conn, "DELETE FROM fmtv_terra WHERE terrakey = ?", terrakey, kProc, report);
}

bool deleteOneFromFMTVTarget(std::int32_t targetKey, db::Connection& conn, platform::Report& report)
{
    static constexpr const char* kProc = "deleteOneFromFMTVTarget";
    const auto rows = countKeyRows(conn, "SELECT count(*) FROM fmtv_target WHERE Target = ?", targetKey);
    if (!rows)
        return reportDbErr(conn, kProc, report);
    if (*rows != 1) {
        corrupted(kNotUnique, report);
        return true;  // the update that asked goes on
    }
    return runWithKey(conn, "DELETE FROM fmtv_target WHERE Target = ?", targetKey, kProc, report);
}

bool deleteFromOpPrd(std::int32_t terrakey, db::Connection& conn, platform::Report& report)
{
    static constexpr const char* kProc = "deleteFromOpPrd";
    const auto rows = countKeyRows(conn, "SELECT count(*) FROM fmtv_op_prd WHERE terrakey = ?", terrakey);
    if (!rows)
        return reportDbErr(conn, kProc, report);
    return *rows != 1 || runWithKey(conn, "DELETE FROM fmtv_op_prd WHERE terrakey = ?", terrakey, kProc, report);
}

bool deleteFromAntHgt(std::int32_t terrakey, db::Connection& conn, platform::Report& report)
{
    return runWithKey(conn, "DELETE FROM fmtv_ant_hgt WHERE terrakey = ?", terrakey, "deleteFromAntHgt", report);
}

bool deleteFromCoord(std::int32_t terrakey, db::Connection& conn, platform::Report& report)
{
    return runWithKey(conn, "DELETE FROM fmtv_coord WHERE terrakey = ?", terrakey, "deleteFromCoord", report);
}

bool deleteFromAntDiagr(std::int32_t terrakey, const std::string& polar, db::Connection& conn,
                        platform::Report& report)
{
    db::Statement st(conn, "DELETE FROM fmtv_ant_diag WHERE terrakey = ? AND polar = ?");
    st.bind(1, std::int64_t(terrakey)).bind(2, polar);
    return st.run() || reportDbErr(conn, "deleteFromAntDiagr", report);
}

bool deleteSubAreaTable(std::int32_t allotkey, db::Connection& conn, platform::Report& report)
{
    static constexpr const char* kProc = "deleteSubAreaTable";
    const auto rows = countKeyRows(conn, "SELECT count(*) FROM zel_sub_area WHERE allotkey = ?", allotkey);
    if (!rows)
        return reportDbErr(conn, kProc, report);
    if (*rows < 1)
        return corrupted("deleteSubAreaTable: The allotment is corrupted. Please consult the administrator!",
                         report);
    return runWithKey(conn, "DELETE FROM zel_sub_area WHERE allotkey = ?", allotkey, kProc, report);
}

bool deleteContourPointTable(std::int32_t contourkey, db::Connection& conn, platform::Report& report)
{
    static constexpr const char* kProc = "deleteContourPointTable";
    const auto rows = countKeyRows(conn, "SELECT count(*) FROM zel_contour_pt WHERE contourkey = ?", contourkey);
    if (!rows)
        return reportDbErr(conn, kProc, report);
    if (*rows < 2)
        return corrupted(
            "deleteContourPointTable: The contour point is corrupted. Please consult the administrator!", report);
    return runWithKey(conn, "DELETE FROM zel_contour_pt WHERE contourkey = ?", contourkey, kProc, report);
}

}  // namespace database
