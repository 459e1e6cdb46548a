#include "NoticeRead.h"

#include "DbConnection.h"
#include "Lookups.h"
#include "database/sqlite/Statement.h"
#include "database/sqlite/Transaction.h"
#include "notice/ErrorNumbers.h"
#include "notice/FieldUtils.h"
#include "notice/NoticeFields.h"
#include "notice/NoticeFileFormat.h"
#include "notice/NoticeRules.h"
#include "platform/Report.h"

#include <algorithm>
#include <cmath>

namespace database {
namespace {

using notice::NoticeRecord;

enum class Form { AsStored, Trim, Upper, Pad2, Pad3, Pad4 };

void normalise(std::string_view value, Form form, std::string& field)
{
    switch (form) {
    case Form::AsStored: field.assign(value); return;
    case Form::Trim: field.assign(notice::trimmedView(value)); return;
    case Form::Upper: field = notice::upperValue(std::string(notice::trimmedView(value))); return;
    case Form::Pad2: field = notice::padZeros2(std::string(value)); return;
    case Form::Pad3: field = notice::padZeros3(std::string(value)); return;
    case Form::Pad4: field = notice::padZeros4(std::string(value)); return;
    }
}

// Copies a non-empty column into the field; true when it did.
bool copyColumn(const db::Statement& st, int column, std::string& field, Form form)
{
    std::string room;
    const std::string_view value = st.textView(column, room);
    if (value.empty())
        return false;
    normalise(value, form, field);
    return true;
}

bool copyColumn(const db::Statement& st, const char* column, std::string& field, Form form)
{
    return copyColumn(st, st.column(column), field, form);
}

// The form a stored part of a field comes back in: coordinates' numbers padded to their width.
Form formOf(const notice::NoticeField& f, std::size_t part)
{
    if (f.coord && part < 3)
        return part == 0 && f.kind == notice::ValueKind::Longitude ? Form::Pad3 : Form::Pad2;
    switch (f.form) {
    case notice::ReadForm::AsStored: return Form::AsStored;
    case notice::ReadForm::Trim: return Form::Trim;
    case notice::ReadForm::Upper: return Form::Upper;
    }
    return Form::AsStored;
}

using Into = std::pair<std::string*, Form>;

// Copies every non-empty column of `table` into its field, or into the field and form that
// `redirect(field, part)` names; `copied(field, into)` hears of each copy.
template <class Redirect, class Copied>
void copyColumns(const db::Statement& st, notice::Table table, NoticeRecord& rec, Redirect redirect, Copied copied)
{
    for (const notice::NoticeField& f : notice::noticeFields()) {
        if (f.table != table)
            continue;
        for (std::size_t part = 0; part < f.columns.size() && f.columns[part]; ++part) {
            Into into = redirect(f, part);
            if (!into.first)
                into = {&notice::fieldOf(f, rec, int(part)), formOf(f, part)};
            if (copyColumn(st, f.columns[part], *into.first, into.second))
                copied(f, into.first);
        }
    }
}

// The target's field stored as "trg_" and the column of a notice's own field, if any.
const notice::NoticeField* targetTwin(const notice::NoticeField& f)
{
    for (const notice::NoticeField& t : notice::noticeFields())
        if (t.table == notice::Table::Target && std::string(t.columns[0]) == std::string("trg_") + f.columns[0])
            return &t;
    return nullptr;
}

bool readMessage(const std::string& text, platform::Report& report)
{
    report.message(text, "Read Error", platform::Icon::Warning);
    return false;
}

// One coordination list: every non-empty row in stored order, at most 13.
bool readAdmRows(const char* table, std::int32_t terrakey, notice::AdmList& list, db::Connection& conn)
{
    db::Statement st(conn, std::string("SELECT adm FROM ") + table + " WHERE terrakey = ? ORDER BY rowid");
    st.bind(1, std::int64_t(terrakey));
    std::size_t slot = 0;
    db::Step step;
    while ((step = st.step()) == db::Step::Row) {
        list.flag = true;
        const std::string adm = notice::trimValue(st.text(0));
        if (adm.empty())
            continue;
        if (slot == list.adm.size())
            return conn.fail(notice::kErrSubscript,
                             std::string("Subscript out of range: more than 13 rows in ") + table);
        list.adm[slot++] = adm;
    }
    return step == db::Step::Done;
}

// How an azimuth table reader meets a row the slots cannot hold.
struct AzimuthTable {
    const char* procedure;
    const char* valueColumn;
    const char* polar;  // nullptr for the height table
    bool strict;        // a 37th row or an empty azimuth is an error, not the end of the list
};

bool readAzimuthRows(const AzimuthTable& t, std::int32_t terrakey, notice::AzimuthSlots& slots,
                     db::Connection& conn, platform::Report& report)
{
    std::string sql = std::string("SELECT azm, ") + t.valueColumn +
                      (t.polar ? " FROM fmtv_ant_diag WHERE terrakey = ? AND polar = ?"
                               : " FROM fmtv_ant_hgt WHERE terrakey = ?") +
                      " ORDER BY rowid";
    db::Statement st(conn, sql);
    st.bind(1, std::int64_t(terrakey));
    if (t.polar)
        st.bind(2, t.polar);
    bool result = true;
    int rows = 0;
    std::string azm, room;
    db::Step step;
    while ((step = st.step()) == db::Step::Row) {
        if (rows == notice::kAzimuthSlots)
            return t.strict ? readMessage("To many data in the table. Please consult the administrator!", report)
                            : result;
        azm.assign(notice::trimmedView(st.textView(0, room)));
        if (azm.empty())
            return t.strict ? readMessage("Corrupted data in the table. Please consult the administrator!", report)
                            : result;
        ++rows;
        const double slot = notice::azimuthSlot(leadingNumber(azm));
        if (!(slot >= 0 && slot < notice::kAzimuthSlots)) {
            // Reported, and the rest of the list is still read.
            notice::reportErr(notice::kErrSubscript, t.procedure, "Subscript out of range: azimuth " + azm, report);
            result = false;
            continue;
        }
        notice::FlaggedPair& s = slots[std::size_t(slot)];
        s.first = azm;
        copyColumn(st, 1, s.second, Form::Trim);
        s.flag = true;
    }
    return step == db::Step::Failed ? reportDbErr(conn, t.procedure, report) : result;
}

}  // namespace

bool readNtcFromDB(std::int32_t terrakey, NoticeRecord& rec, db::Connection& conn, platform::Report& report)
{
    db::Transaction tx(conn, db::Transaction::Kind::Read);
    const bool ok = (tx.active() || reportDbErr(conn, "readNtcFromDB", report)) &&
                    readFromFMTVTerra(terrakey, rec, conn, report);
    return endNtcTrans(ok, tx, report);
}

bool readFromFMTVTerra(std::int32_t terrakey, NoticeRecord& rec, db::Connection& conn,
                       platform::Report& report)
{
    static constexpr const char* kProc = "readFromFMTVTerra";
    db::Statement st(conn, "SELECT * FROM fmtv_terra WHERE terrakey = ?");
    st.bind(1, std::int64_t(terrakey));
    if (const db::Step step = st.step(); step != db::Step::Row)  // the key is unique
        return step == db::Step::Failed ? reportDbErr(conn, kProc, report) : conn.fail(db::kErrGeneric, "no notice");

    rec.flag = true;
    // A suppression or withdrawal keeps its identification in the target part.
    const bool divert = notice::endsStation(st.text("intent"));
    copyColumns(
        st, notice::Table::Terra, rec,
        [&](const notice::NoticeField& f, std::size_t part) {
            const notice::NoticeField* twin = divert ? targetTwin(f) : nullptr;
            return twin ? Into{&notice::fieldOf(*twin, rec, int(part)), formOf(*twin, part)}
                        : Into{nullptr, Form::AsStored};
        },
        [&](const notice::NoticeField& f, const std::string*) {
            if (divert && targetTwin(f))
                rec.target.flag = true;
        });
    const std::int64_t targetKey = st.integer("Target").value_or(0);

    bool ok = true;
    if (targetKey > 0)
        ok = readFromFMTVTarget(std::int32_t(targetKey), rec.target, conn, report) && ok;
    // The remarks and coordination readers leave their failures to be reported here, and
    // such a failure ends the read.
    if (!readFromFMTVRmks(terrakey, rec.remarks, conn))
        return reportDbErr(conn, kProc, report);
    if (!notice::describesStation(rec.intent) && rec.intent != "RECORDED")
        return ok;
    ok = readFromFMTVOpPrds(terrakey, rec.opPeriod, conn, report) && ok;
    // Every notice has its own coordination list; a digital one has the lists of its digital
    // part besides.
    if (!readFromFMTVCoord(terrakey, rec.coordAdm, conn))
        return reportDbErr(conn, kProc, report);
    if (notice::isDigital(rec.notice_typ)) {
        ok = readFromZEL04Elements(terrakey, rec.zel, rec.notice_typ, conn, report) && ok;
        if (!readFromZELCoordA(terrakey, rec.zel.coordA, conn) || !readFromZELCoordO(terrakey, rec.zel.coordO, conn))
            return reportDbErr(conn, kProc, report);
    }
    if (notice::isAllotment(rec.notice_typ))
        return ok;
    ok = readFromFMTVAntHgt(terrakey, rec, conn, report) && ok;
    if (notice::carriesPattern(rec.polar, rec.ant_dir, notice::Component::Horizontal))
        ok = readFromFMTVAntDiagr_H(terrakey, rec, conn, report) && ok;
    if (notice::carriesPattern(rec.polar, rec.ant_dir, notice::Component::Vertical))
        ok = readFromFMTVAntDiagr_V(terrakey, rec, conn, report) && ok;
    return ok;
}

bool readFromFMTVTarget(std::int32_t targetKey, notice::TargetRef& target, db::Connection& conn,
                        platform::Report& report)
{
    db::Statement row(conn, "SELECT * FROM fmtv_target WHERE Target = ?");  // the key is unique
    row.bind(1, std::int64_t(targetKey));
    if (const db::Step step = row.step(); step != db::Step::Row)
        return step == db::Step::Failed ? reportDbErr(conn, "readFromFMTVTarget", report)
                            : readMessage("The target " + std::to_string(targetKey) +
                                              " is not UNIQUE . Please consult the administrator!",
                                          report);
    NoticeRecord holder;  // the target's fields are addressed through a record
    holder.target = target;
    holder.target.flag = true;
    copyColumns(
        row, notice::Table::Target, holder,
        [](const notice::NoticeField&, std::size_t) { return Into{nullptr, Form::AsStored}; },
        [](const notice::NoticeField&, const std::string*) {});
    target = holder.target;
    return true;
}

bool readFromZEL04Elements(std::int32_t terrakey, notice::ZEL04Elements& zel, const std::string& noticeType,
                           db::Connection& conn, platform::Report& report)
{
    static constexpr const char* kProc = "readFromZEL04Elements";
    db::Statement row(conn, "SELECT * FROM zel_elements WHERE terrakey = ? ORDER BY rowid");
    row.bind(1, std::int64_t(terrakey));
    if (const db::Step step = row.step(); step != db::Step::Row)
        return step == db::Step::Done || reportDbErr(conn, kProc, report);
    NoticeRecord holder;  // kept only when the row is the notice's only one
    holder.zel = zel;
    notice::ZEL04Elements& read = holder.zel;
    read.flag = true;
    // The conversion point counts as given when any of its columns holds a value.
    copyColumns(
        row, notice::Table::Elements, holder,
        [](const notice::NoticeField&, std::size_t) { return Into{nullptr, Form::AsStored}; },
        [&read](const notice::NoticeField& f, std::string* into) {
            if (into == &read.conv.conv_freq_assgn)
                *into = notice::convFrequency(std::move(*into));
            if (f.flags & notice::kFlagConv)
                read.conv.flag = true;
            if (f.flags & notice::kFlagConvCoord)
                read.conv.coord.flag = true;
        });
    if (const db::Step step = row.step(); step != db::Step::Done)
        return step == db::Step::Row || reportDbErr(conn, kProc, report);  // several rows: none is read
    zel = read;
    if (notice::isAllotment(noticeType))
        return readFromZEL04Allotment(terrakey, zel, conn, report);
    return true;
}

bool readFromZEL04Allotment(std::int32_t terrakey, notice::ZEL04Elements& zel, db::Connection& conn,
                            platform::Report& report)
{
    static constexpr const char* kProc = "readFromZEL04Allotment";
    db::Statement st(conn, "SELECT * FROM zel_allotment WHERE terrakey = ? ORDER BY allotkey");
    st.bind(1, std::int64_t(terrakey));
    const db::Step first = st.step();
    if (first == db::Step::Failed)
        return reportDbErr(conn, kProc, report);
    if (first == db::Step::Done)
        return true;  // a digital part without an allotment
    notice::Allotment& a = zel.allotment;
    std::string name, area, subAreas;
    const std::optional<std::int64_t> allotkey = st.integer("allotkey");
    const bool hasSubAreas = copyColumn(st, "nb_sub_areas", subAreas, Form::Trim);
    copyColumn(st, "allot_name", name, Form::Trim);
    copyColumn(st, "geo_area", area, Form::Trim);
    if (const db::Step next = st.step(); next != db::Step::Done)
        return next == db::Step::Failed ? reportDbErr(conn, kProc, report)
                           : readMessage("readFromZEL04Allotment: The assignment " + std::to_string(terrakey) +
                                             " is not UNIQUE. Please consult the administrator!",
                                         report);
    a.flag = true;
    if (!name.empty())
        a.allot_name = name;
    if (!area.empty())
        a.geo_area = area;
    if (!hasSubAreas)
        return true;
    a.nb_sub_areas = subAreas;
    if (!allotkey) {
        notice::reportErr(notice::kErrInvalidNull, kProc, "Invalid use of Null", report);
        return false;
    }
    return readZEL04SubArea(terrakey, std::int32_t(*allotkey), zel, conn, report);
}

bool readZEL04SubArea(std::int32_t terrakey, std::int32_t allotkey, notice::ZEL04Elements& zel,
                      db::Connection& conn, platform::Report& report)
{
    static constexpr const char* kProc = "readZEL04SubArea";
    db::Statement st(conn,
                     "SELECT zel_contour.contour_id FROM zel_sub_area INNER JOIN zel_contour"
                     " ON zel_sub_area.contourkey = zel_contour.contourkey WHERE allotkey = ?"
                     " ORDER BY zel_sub_area.rowid");
    st.bind(1, std::int64_t(allotkey));
    std::size_t slot = 0;
    bool any = false;
    auto& ids = zel.allotment.contour_id;
    db::Step step;
    while ((step = st.step()) == db::Step::Row) {
        any = true;
        const std::string id = notice::trimValue(st.text(0));
        if (id.empty())
            continue;
        if (slot == ids.size()) {
            reportTooManySubAreas(kProc, report);
            return false;
        }
        ids[slot++] = id;
    }
    if (step == db::Step::Failed)
        return reportDbErr(conn, kProc, report);
    if (!any)
        return readMessage("readZEL04SubArea: The Assignment " + std::to_string(terrakey) +
                               " may be corrupted. Please consult the administrator!",
                           report);
    return true;
}

bool readFromFMTVOpPrds(std::int32_t terrakey, notice::FlaggedPair& opPeriod, db::Connection& conn,
                        platform::Report& report)
{
    db::Statement st(conn, "SELECT op_hh_fr, op_hh_to FROM fmtv_op_prd WHERE terrakey = ? ORDER BY rowid LIMIT 1");
    st.bind(1, std::int64_t(terrakey));
    if (const db::Step step = st.step(); step != db::Step::Row)
        return step == db::Step::Done || reportDbErr(conn, "readFromFMTVOpPrds", report);
    opPeriod.flag = true;
    copyColumn(st, "op_hh_fr", opPeriod.first, Form::Pad4);
    copyColumn(st, "op_hh_to", opPeriod.second, Form::Pad4);
    return true;
}

bool readFromFMTVCoord(std::int32_t terrakey, notice::AdmList& list, db::Connection& conn)
{
    return readAdmRows("fmtv_coord", terrakey, list, conn);
}

bool readFromZELCoordA(std::int32_t terrakey, notice::AdmList& list, db::Connection& conn)
{
    return readAdmRows("zel_coord_analog_KOLV", terrakey, list, conn);
}

bool readFromZELCoordO(std::int32_t terrakey, notice::AdmList& list, db::Connection& conn)
{
    return readAdmRows("zel_coord_other_service", terrakey, list, conn);
}

bool readFromFMTVAntHgt(std::int32_t terrakey, NoticeRecord& rec, db::Connection& conn,
                        platform::Report& report)
{
    static constexpr AzimuthTable kTable{"readFromFMTVAntHgt", "eff_hgt", nullptr, true};
    return readAzimuthRows(kTable, terrakey, rec.effHgt, conn, report);
}

bool readFromFMTVAntDiagr_H(std::int32_t terrakey, NoticeRecord& rec, db::Connection& conn,
                            platform::Report& report)
{
    static constexpr AzimuthTable kTable{"readFromFMTVAntDiagr_H", "attn", "H", false};
    return readAzimuthRows(kTable, terrakey, rec.attnH, conn, report);
}

bool readFromFMTVAntDiagr_V(std::int32_t terrakey, NoticeRecord& rec, db::Connection& conn,
                            platform::Report& report)
{
    static constexpr AzimuthTable kTable{"readFromFMTVAntDiagr_V", "attn", "V", false};
    return readAzimuthRows(kTable, terrakey, rec.attnV, conn, report);
}

bool readFromFMTVRmks(std::int32_t terrakey, std::string& remarks, db::Connection& conn)
{
    db::Statement st(conn, "SELECT rmk_text FROM fmtv_rmks WHERE terrakey = ? ORDER BY rmk_seq_no, rowid");
    st.bind(1, std::int64_t(terrakey));
    std::string text;
    db::Step step;
    while ((step = st.step()) == db::Step::Row)
        text += st.text(0);
    if (step == db::Step::Failed)
        return false;
    remarks = text;  // the stored remarks, even when there are none
    return true;
}

}  // namespace database
