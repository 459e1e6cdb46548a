#include "NoticeStore.h"

#include "DbConnection.h"
#include "FieldColumns.h"
#include "KeyCounters.h"
#include "ZelStore.h"
#include "database/sqlite/RowWriter.h"
#include "database/sqlite/Transaction.h"
#include "notice/NoticeRules.h"
#include "platform/TextCodec.h"

namespace database {
namespace {

using notice::NoticeRecord;

constexpr std::size_t kRemarkRowChars = 80;
constexpr int kDigitalCoordSlots = 12;

bool writeAdmRows(const notice::AdmList& list, int slots, const char* table, const char* procedure,
                  std::int32_t terrakey, db::Connection& conn, platform::Report& report)
{
    for (int i = 0; i < slots; ++i) {
        if (list.adm[i].empty())
            continue;
        if (!db::RowWriter::insert(conn, table).set("terrakey", terrakey).set("adm", list.adm[i]).run())
            return reportDbErr(conn, procedure, report);
    }
    return true;
}

bool writeDiagRows(const notice::AzimuthSlots& slots, const std::string& polar, std::int32_t terrakey,
                   db::Connection& conn, platform::Report& report)
{
    for (const notice::FlaggedPair& s : slots) {
        if (!s.flag)
            continue;
        if (!db::RowWriter::insert(conn, "fmtv_ant_diag")
                 .set("terrakey", terrakey)
                 .set("azm", s.first)
                 .set("attn", s.second)
                 .set("polar", polar)
                 .run())
            return reportDbErr(conn, "writeToFMTVAntDiagTable", report);
    }
    return true;
}

// The directivity stored for a notice: its own, else worked out from the diagrams.
std::string storedAntDir(const NoticeRecord& rec)
{
    if (!rec.ant_dir.empty() || !notice::isAnalogue(rec.notice_typ))
        return rec.ant_dir;
    return (rec.attnH[0].flag || rec.attnV[0].flag) ? "D" : "ND";
}

}  // namespace

bool storeNtc(const NoticeRecord& rec, db::Connection& conn, ContourOutcome& contour, bool forceNew,
              platform::Report& report)
{
    db::Savepoint tx(conn);  // inside an import's batch, only this notice is undone on failure
    bool ok = tx.active() || reportDbErr(conn, "storeNtc", report);
    if (ok && notice::isContour(rec.notice_typ)) {
        ok = addZEL04Contour(rec, conn, contour, forceNew, report);
    } else if (ok) {
        std::int32_t terrakey = 0;
        ok = writeTerRaKeyTable(terrakey, conn, report) && writeToFMTVTerraTable(rec, terrakey, conn, report);
    }
    return endNtcTrans(ok, tx, report);
}

std::string withPolarPowers(const NoticeRecord& rec, const std::string& field)
{
    if ((&field == &rec.erp_h_dbw && !notice::carriesHorizontal(rec.polar)) ||
        (&field == &rec.erp_v_dbw && !notice::carriesVertical(rec.polar)))
        return std::string();
    return field;
}

bool writeToFMTVTerraTable(const NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                           platform::Report& report)
{
    auto row = db::RowWriter::insert(conn, "fmtv_terra");
    row.set("terrakey", terrakey);
    // The powers follow the polarisation; the directivity may be worked out.
    setColumns(row, notice::Table::Terra, rec, [&rec](const notice::NoticeField&, const std::string& field) {
        return &field == &rec.ant_dir ? storedAntDir(rec) : withPolarPowers(rec, field);
    });
    const bool targeted = notice::hasTarget(rec.intent);
    std::int32_t targetKey = 0;
    if (targeted) {
        if (!writeTargetTable(targetKey, conn, report))
            return false;
        row.set("Target", targetKey);
    }
    if (!row.run())
        return reportDbErr(conn, "writeToFMTVTerraTable", report);

    if (!rec.remarks.empty() && !writeToFMTVRmksTable(rec.remarks, terrakey, conn, report))
        return false;
    if (targeted && !writeToFMTVTargetTable(rec.target, targetKey, conn, report))
        return false;
    if (!notice::describesStation(rec.intent))
        return true;  // suppressions and withdrawals keep only the identification

    const notice::ZEL04Elements& zel = rec.zel;
    return (!rec.opPeriod.flag || writeToFMTVOpPrdTable(rec.opPeriod, terrakey, conn, report)) &&
           (!rec.coordAdm.flag || writeCoordList(rec.coordAdm, terrakey, conn, report)) &&
           writeAntHgtList(rec, terrakey, conn, report) &&
           (!notice::carriesPattern(rec.polar, rec.ant_dir, notice::Component::Horizontal) ||
            writeAntDiagHList(rec, terrakey, conn, report)) &&
           (!notice::carriesPattern(rec.polar, rec.ant_dir, notice::Component::Vertical) ||
            writeAntDiagVList(rec, terrakey, conn, report)) &&
           (!zel.flag || (writeToZEL04ElementTable(rec, terrakey, conn, report) &&
                          (!zel.coordA.flag || writeCoordAList(zel.coordA, terrakey, conn, report)) &&
                          (!zel.coordO.flag || writeCoordOList(zel.coordO, terrakey, conn, report))));
}

bool writeToFMTVTargetTable(const notice::TargetRef& t, std::int32_t targetKey, db::Connection& conn,
                            platform::Report& report)
{
    auto row = db::RowWriter::insert(conn, "fmtv_target");
    row.set("Target", targetKey);
    notice::NoticeRecord rec;  // the target's fields are addressed through a record
    rec.target = t;
    setColumns(row, notice::Table::Target, rec,
               [](const notice::NoticeField&, const std::string& field) { return field; });
    return row
               .run() ||
           reportDbErr(conn, "writeToFMTVTargetTable", report);
}

bool writeToFMTVOpPrdTable(const notice::FlaggedPair& opPeriod, std::int32_t terrakey, db::Connection& conn,
                           platform::Report& report)
{
    return db::RowWriter::insert(conn, "fmtv_op_prd")
               .set("terrakey", terrakey)
               .setIfNotEmpty("op_hh_fr", opPeriod.first)
               .setIfNotEmpty("op_hh_to", opPeriod.second)
               .run() ||
           reportDbErr(conn, "writeToFMTVOpPrdTable", report);
}

bool writeToFMTVRmksTable(const std::string& remarks, std::int32_t terrakey, db::Connection& conn,
                          platform::Report& report)
{
    std::int64_t sequence = 0;
    for (const std::string& piece : platform::chunkChars(remarks, kRemarkRowChars)) {
        if (!db::RowWriter::insert(conn, "fmtv_rmks")
                 .set("terrakey", terrakey)
                 .set("rmk_text", piece)
                 .set("rmk_seq_no", sequence++)
                 .run())
            return reportDbErr(conn, "writeToFMTVRmksTable", report);
    }
    return true;
}

bool writeCoordList(const notice::AdmList& list, std::int32_t terrakey, db::Connection& conn,
                    platform::Report& report)
{
    return writeAdmRows(list, notice::kAdmSlots, "fmtv_coord", "writeToFMTVCoordTable", terrakey, conn, report);
}

bool writeCoordAList(const notice::AdmList& list, std::int32_t terrakey, db::Connection& conn,
                     platform::Report& report)
{
    return writeAdmRows(list, kDigitalCoordSlots, "zel_coord_analog_KOLV", "writeToZELCoordATable", terrakey, conn,
                        report);
}

bool writeCoordOList(const notice::AdmList& list, std::int32_t terrakey, db::Connection& conn,
                     platform::Report& report)
{
    return writeAdmRows(list, kDigitalCoordSlots, "zel_coord_other_service", "writeToZELCoordOTable", terrakey,
                        conn, report);
}

bool writeAntHgtList(const NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                     platform::Report& report)
{
    for (const notice::FlaggedPair& s : rec.effHgt) {
        if (!s.flag)
            continue;
        if (!db::RowWriter::insert(conn, "fmtv_ant_hgt")
                 .set("terrakey", terrakey)
                 .set("azm", s.first)
                 .set("eff_hgt", s.second)
                 .run())
            return reportDbErr(conn, "writeToFMTVAntHgtTable", report);
    }
    return true;
}

bool writeAntDiagHList(const NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                       platform::Report& report)
{
    const std::string polar = notice::carriesBoth(rec.polar) ? "H" : rec.polar;
    return writeDiagRows(rec.attnH, polar, terrakey, conn, report);
}

bool writeAntDiagVList(const NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                       platform::Report& report)
{
    const std::string polar = notice::carriesBoth(rec.polar) ? "V" : rec.polar;
    return writeDiagRows(rec.attnV, polar, terrakey, conn, report);
}

}  // namespace database
