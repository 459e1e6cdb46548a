#include "ZelUpdate.h"

#include "DbConnection.h"
#include "FieldColumns.h"
#include "NoticeDelete.h"
#include "KeyRows.h"
#include "ZelStore.h"
#include "database/sqlite/RowWriter.h"
#include "database/sqlite/Statement.h"

namespace database {

using notice::NoticeRecord;

bool udpateZEL04ElementTable(const NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                             platform::Report& report)
{
    static constexpr const char* kProc = "udpateZEL04ElementTable";
    const auto rows = countKeyRows(conn, "SELECT count(*) FROM zel_elements WHERE terrakey = ?", terrakey);
    if (!rows)
        return reportDbErr(conn, kProc, report);
    if (*rows != 1)
        return writeToZEL04ElementTable(rec, terrakey, conn, report);
    // In place the conversion point is written whatever its flags say, its frequency as typed.
    auto row = db::RowWriter::update(conn, "zel_elements", "terrakey", terrakey);
    forEachColumn(notice::Table::Elements, rec,
                  [&row](const notice::NoticeField&, const char* column, const std::string& value) {
                      row.setOrNull(column, value);
                  });
    return (row.run() || reportDbErr(conn, kProc, report)) && updateSfnIDProcTable(rec, terrakey, conn, report) &&
           updateZEL04AllotTable(rec, terrakey, conn, report);
}

bool updateSfnIDProcTable(const NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                          platform::Report& report)
{
    static constexpr const char* kProc = "updateSfnIDProcTable";
    const notice::ZEL04Elements& z = rec.zel;
    const bool named = !z.sfn_id.empty() || !z.adm_allot_id.empty();
    const auto rows = countKeyRows(conn, "SELECT count(*) FROM zel_sfnID_proc WHERE terrakey = ?", terrakey);
    if (!rows)
        return reportDbErr(conn, kProc, report);
    if (*rows != 1)
        return !named || writeToSfnIDProcTable(rec, terrakey, conn, report, kProc);
    if (!named)
        return runWithKey(conn, "DELETE FROM zel_sfnID_proc WHERE terrakey = ?", terrakey, kProc, report);
    return db::RowWriter::update(conn, "zel_sfnID_proc", "terrakey", terrakey)
               .set("adm", rec.adm)  // the notice's own texts are never Null here
               .setOrNull("sfn_id", z.sfn_id)
               .set("notice_typ", rec.notice_typ)
               .setOrNull("adm_allot_id", z.adm_allot_id)
               .run() ||
           reportDbErr(conn, kProc, report);
}

bool updateZEL04AllotTable(const NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                           platform::Report& report)
{
    static constexpr const char* kProc = "updateZEL04AllotTable";
    const notice::Allotment& a = rec.zel.allotment;
    int rows = 0;
    std::int64_t allotkey = 0;
    bool hadSubAreas = false;
    {
        db::Statement st(conn, "SELECT allotkey, nb_sub_areas FROM zel_allotment WHERE terrakey = ?");
        st.bind(1, std::int64_t(terrakey));
        db::Step step;
        while ((step = st.step()) == db::Step::Row) {
            if (++rows == 1) {
                allotkey = st.integer(0).value_or(0);  // the table's key, never Null
                hadSubAreas = !st.text(1).empty();
            }
        }
        if (step == db::Step::Failed)
            return reportDbErr(conn, kProc, report);
    }
    if (rows != 1)
        return addZEL04Allot(rec, terrakey, conn, report);
    const auto key = std::int32_t(allotkey);
    if (hadSubAreas && !deleteSubAreaTable(key, conn, report))
        return false;
    if (!db::RowWriter::update(conn, "zel_allotment", "allotkey", key)
             .setOrNull("allot_name", a.allot_name)
             .setOrNull("geo_area", a.geo_area)
             .setOrNull("nb_sub_areas", a.nb_sub_areas)
             .run())
        return reportDbErr(conn, kProc, report);
    return a.nb_sub_areas.empty() || addZEL04SubArea(rec, key, conn, report);
}

}  // namespace database
