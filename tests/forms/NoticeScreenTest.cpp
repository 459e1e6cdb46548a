#include "forms/common/NoticeScreen.h"

#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"

#include "database/NoticeRead.h"
#include "database/NoticeStore.h"
#include "database/NoticeUpdate.h"
#include "notice/FieldUtils.h"
#include "notice/NoticeFields.h"
#include "platform/NumberText.h"
#include "platform/SystemInfo.h"
#include "support/NoticeDb.h"
#include "support/NoticeText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using notice::NoticeRecord;

namespace {

constexpr int kKinds[] = {forms::kSoundForm, forms::kTvForm};

using Form = std::unique_ptr<forms::NoticeForm>;

Form makeForm(int kind)
{
    return forms::loadNtcForm(kind, app::Language::English);
}

// The rows of controls that show one value of the record.
std::vector<const forms::ControlRow*> valueRows(const forms::NoticeForm& form)
{
    std::vector<const forms::ControlRow*> rows;
    for (const forms::ControlRow& r : form.controls())
        if (r.field && (r.kind == forms::Kind::TextBox || r.kind == forms::Kind::ComboBox))
            rows.push_back(&r);
    return rows;
}

std::string& fieldOf(const forms::ControlRow& r, NoticeRecord& rec)
{
    return notice::fieldOf(*r.field, rec, r.part);
}

std::string text(const QWidget& form, const QString& name)
{
    const QWidget* w = form.findChild<QWidget*>(name);
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text().toStdString();
    if (auto* c = qobject_cast<const QComboBox*>(w))
        return c->currentText().toStdString();
    if (auto* b = qobject_cast<const QRadioButton*>(w))
        return b->isChecked() ? "checked" : "";
    ADD_FAILURE() << "no control " << name.toStdString();
    return {};
}

void type(QWidget& form, const QString& name, const std::string& value)
{
    QWidget* w = form.findChild<QWidget*>(name);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setText(QString::fromStdString(value));
    else if (auto* c = qobject_cast<QComboBox*>(w))
        c->setCurrentIndex(c->findText(QString::fromStdString(value)));
    else if (auto* b = qobject_cast<QRadioButton*>(w))
        b->setChecked(!value.empty());
    else
        ADD_FAILURE() << "no control " << name.toStdString();
}

// The fields and list slots where two records differ, as "name:a|b;" pieces.
std::string differences(const NoticeRecord& a, const NoticeRecord& b)
{
    std::string out;
    const auto note = [&](const std::string& name, const std::string& x, const std::string& y) {
        if (x != y)
            out += name + ":" + x + "|" + y + ";";
    };
    for (const notice::NoticeField& f : notice::noticeFields())
        for (int part = 0; part < (f.coord ? 4 : 1); ++part)
            note(std::string(f.key) + (f.columns[std::size_t(part)] ? f.columns[std::size_t(part)] : "") ,
                 notice::valueOf(f, a, part), notice::valueOf(f, b, part));
    const auto flag = [](bool v) { return std::string(v ? "1" : "0"); };
    note("flag", flag(a.flag), flag(b.flag));
    note("target", flag(a.target.flag), flag(b.target.flag));
    note("opPeriod", flag(a.opPeriod.flag), flag(b.opPeriod.flag));
    note("coordAdm", flag(a.coordAdm.flag), flag(b.coordAdm.flag));
    for (int i = 0; i < notice::kAdmSlots; ++i)
        note("adm" + std::to_string(i), a.coordAdm.adm[std::size_t(i)], b.coordAdm.adm[std::size_t(i)]);
    const std::pair<const char*, notice::AzimuthSlots NoticeRecord::*> lists[] = {
        {"effHgt", &NoticeRecord::effHgt}, {"attnH", &NoticeRecord::attnH}, {"attnV", &NoticeRecord::attnV}};
    for (const auto& [name, member] : lists)
        for (int k = 0; k < notice::kAzimuthSlots; ++k) {
            const notice::FlaggedPair& x = (a.*member)[std::size_t(k)];
            const notice::FlaggedPair& y = (b.*member)[std::size_t(k)];
            note(name + std::to_string(k), flag(x.flag) + x.first + "=" + x.second,
                 flag(y.flag) + y.first + "=" + y.second);
        }
    if (out.empty() && !(a == b))
        out = "parts no form shows";
    return out;
}

NoticeRecord readBack(const forms::NoticeForm& form, int kind)
{
    NoticeRecord rec;
    forms::readNtcFromScreen(rec, form, kind);
    return rec;
}

// The reading stamps these; a comparison of records leaves them out.
void clearStamps(NoticeRecord& rec)
{
    rec.d_updated.clear();
    rec.src_update.clear();
}

NoticeRecord baseRecord(int kind)
{
    NoticeRecord rec;
    rec.flag = true;
    rec.notice_typ = kind == forms::kTvForm ? "T02" : "T01";
    rec.intent = "MODIFY";
    return rec;
}

void fillAzimuths(notice::AzimuthSlots& list, int from, const std::string& value)
{
    for (int k = from; k < notice::kAzimuthSlots; k += 3)
        list[std::size_t(k)] = {true, platform::padded(10 * k, 1), value + std::to_string(k)};
}

// A notice of the form's kind with every value the form shows, each as the form gives it back.
NoticeRecord fullRecord(int kind)
{
    NoticeRecord rec = baseRecord(kind);
    rec.stn_cls = kind == forms::kTvForm ? "BT" : "BC";
    rec.fragment = "ST61";
    for (const forms::ControlRow* r : valueRows(*makeForm(kind)))
        fieldOf(*r, rec) = "v" + r->name;
    rec.d_adm_ntc = "2005-3-25";
    rec.d_inuse = "2004-12-1";
    rec.freq_stabl = "NORMAL";
    rec.color = "PAL";
    rec.polar = "M";
    rec.ant_dir = "D";
    rec.long_deg = "005";
    rec.lat_deg = rec.target.long_min = "07";
    rec.opPeriod = {true, "0800", "2000"};
    rec.target.flag = true;
    rec.coordAdm.flag = true;
    for (int i = 0; i < notice::kAdmSlots - 1; ++i)
        rec.coordAdm.adm[std::size_t(i)] = "A" + std::to_string(i);
    fillAzimuths(rec.effHgt, 0, "e");
    fillAzimuths(rec.attnH, 1, "h");
    fillAzimuths(rec.attnV, 2, "v");
    return rec;
}

TEST(NoticeScreen, AFullNoticeComesBackWholeFromEachForm)
{
    for (int kind : kKinds) {
        SCOPED_TRACE(kind);
        const NoticeRecord rec = fullRecord(kind);
        auto form = makeForm(kind);
        forms::writeNtcToScreen(rec, *form);
        NoticeRecord back = readBack(*form, kind);
        EXPECT_EQ(back.d_updated, platform::shortDate(platform::now()));
        EXPECT_EQ(back.src_update, notice::getWinUserName());
        clearStamps(back);
        EXPECT_EQ(differences(back, rec), "");
    }
}

// Each row alone, record to form to record, with the normalisation the transfer makes.
TEST(NoticeScreen, EachRowComesBackUpToItsNormalisation)
{
    struct Case { const char* stored; const char* shown; const char* readBack; };
    const std::map<std::string, Case> special = {
        {"Txt_Ntc_YY", {"2005-03-25", "2005", "2005-3-25"}},
        {"Txt_Ntc_MM", {"2005-03-25", "3", "2005-3-25"}},
        {"Txt_Ntc_DD", {"05.03.2005", "5", "2005-3-5"}},
        {"Txt_2C_YY", {"25.03.2005", "2005", "2005-3-25"}},
        {"Txt_2C_MM", {"25.03.2005", "3", "2005-3-25"}},
        {"Txt_2C_DD", {"2005-3-1", "1", "2005-3-1"}},
        {"Txt_4C_Deg_Long", {"5", "005", "005"}},
        {"Txt_04C_Deg_Long", {"45", "045", "045"}},
        {"Txt_4C_Deg_Lat", {"5", "05", "05"}},
        {"Txt_04C_Sec_Lat", {"7", "07", "07"}},
        {"Txt_4C_Min_Long", {"123", "123", "123"}},
        {"Txt_10B_Ophhfr", {"800", "0800", "0800"}},
        {"Txt_10B_Ophhto", {"5", "0005", "0005"}},
        {"Combo_7A1_FreqStabl", {"PRECISION", "PRECISION", "PRECISION"}},
        {"Combo_7C2_Color_Sys", {"SECAM", "SECAM", "SECAM"}},
        {"Combo_9D_Polariz", {"V", "V", "V"}},
        {"Combo_9_AntDir", {"ND", "ND", "ND"}},
    };
    for (int kind : kKinds) {
        std::size_t rows = 0;
        for (const forms::ControlRow* r : valueRows(*makeForm(kind))) {
            SCOPED_TRACE(r->name + " on kind " + std::to_string(kind));
            const auto it = special.find(r->name);
            const Case c = it != special.end() ? it->second : Case{"x y", "x y", "x y"};
            NoticeRecord rec = baseRecord(kind);
            rec.polar = r->name == "Txt_8BV_Erp_V" ? "V" : "H";
            rec.target.flag = rec.opPeriod.flag = true;
            fieldOf(*r, rec) = c.stored;
            auto form = makeForm(kind);
            forms::writeNtcToScreen(rec, *form);
            EXPECT_EQ(text(*form, QString::fromStdString(r->name)), c.shown);
            NoticeRecord back = readBack(*form, kind);
            EXPECT_EQ(fieldOf(*r, back), c.readBack);
            ++rows;
        }
        // The controls both forms share, and the form's own.
        EXPECT_EQ(rows, kind == forms::kTvForm ? 44u + 6u : 44u + 2u);
    }
}

struct WriteCase {
    const char* what;
    int kind;
    std::function<void(NoticeRecord&)> change;
    std::vector<std::pair<QString, std::string>> shows;  // control and its text; "" for untouched
};

TEST(NoticeScreen, RecordToFormEdgeCases)
{
    const std::vector<WriteCase> cases = {
        {"a record whose flag is false touches nothing", forms::kTvForm,
         [](NoticeRecord& r) { r = NoticeRecord{}; r.adm = "F"; r.intent = "ADD"; },
         {{"Txt_B_Adm", ""}, {"OptInt_Add", ""}}},
        {"a sound notice shows its own values only", forms::kSoundForm,
         [](NoticeRecord& r) { r.color = "PAL"; r.pwr_ratio = "10"; r.bdwdth = "200"; r.tran_sys = "T"; },
         {{"Txt_70_BDWdth", "200"}, {"Txt_7D_TranSys", "T"}}},
        {"TB5 shows adm and country but no system on the sound form", forms::kSoundForm,
         [](NoticeRecord& r) { r.notice_typ = "TB5"; r.adm = "F"; r.ctry = "FRA"; r.tran_sys = "T"; r.bdwdth = "9"; },
         {{"Txt_B_Adm", "F"}, {"Txt_4B_GeoArea", "FRA"}, {"Txt_7D_TranSys", ""}, {"Txt_70_BDWdth", "9"}}},
        {"TB5 shows adm and country but no system on the television form", forms::kTvForm,
         [](NoticeRecord& r) { r.notice_typ = "TB5"; r.adm = "F"; r.ctry = "FRA"; r.tran_sys = "T"; },
         {{"Txt_B_Adm", "F"}, {"Txt_4B_GeoArea", "FRA"}, {"Txt_7C1_TvSys", ""}}},
        {"GE84 on the television form selects no fragment", forms::kTvForm,
         [](NoticeRecord& r) { r.fragment = "GE84"; },
         {{"OptFrg_A11", ""}, {"OptFrg_St61", ""}, {"OptFrg_Ge89", ""}}},
        {"GE89 on the sound form selects no fragment", forms::kSoundForm,
         [](NoticeRecord& r) { r.fragment = "GE89"; },
         {{"OptFrg_A11", ""}, {"OptFrg_St61", ""}, {"OptFrg_Ge84", ""}}},
        {"intent in lower case selects its option, a fragment does not", forms::kTvForm,
         [](NoticeRecord& r) { r.intent = "modify"; r.fragment = "st61"; },
         {{"OptInt_Mod", "checked"}, {"OptFrg_St61", ""}}},
        {"intent RECORDED selects no intent", forms::kTvForm,
         [](NoticeRecord& r) { r.intent = "RECORDED"; },
         {{"OptInt_Add", ""}, {"OptInt_Mod", ""}, {"OptInt_Sup", ""}, {"OptInt_Wdraw", ""}}},
        {"polarisation U keeps the combo, D shows both filled lists without azimuth 0", forms::kTvForm,
         [](NoticeRecord& r) {
             r.polar = "U"; r.ant_dir = "D";
             r.attnH[4] = {false, "", "3"}; r.attnV[0] = {true, "0", "6"};
         },
         {{"Combo_9D_Polariz", ""}, {"Combo_9_AntDir", "D"}, {"Txt_9NHAzm040", "3"}, {"Txt_9NVAzm000", "6"}}},
        {"polarisation h in lower case shows no attenuation", forms::kTvForm,
         [](NoticeRecord& r) { r.polar = "h"; r.ant_dir = "D"; r.attnH[0] = {true, "0", "3"}; },
         {{"Txt_9NHAzm000", ""}}},
        {"polarisation M without directivity shows no attenuation", forms::kSoundForm,
         [](NoticeRecord& r) { r.polar = "M"; r.ant_dir = "ND"; r.attnH[0] = r.attnV[0] = {true, "0", "3"}; },
         {{"Combo_9D_Polariz", "M"}, {"Txt_9NHAzm000", ""}, {"Txt_9NVAzm000", ""}}},
        {"polarisation H shows the horizontal list only", forms::kSoundForm,
         [](NoticeRecord& r) { r.polar = "H"; r.ant_dir = "D"; r.attnH[1] = r.attnV[1] = {true, "10", "3"}; },
         {{"Txt_9NHAzm010", "3"}, {"Txt_9NVAzm010", ""}}},
        {"thirteen administrations show the first twelve", forms::kTvForm,
         [](NoticeRecord& r) {
             r.coordAdm.flag = true;
             for (int i = 0; i < notice::kAdmSlots; ++i) r.coordAdm.adm[std::size_t(i)] = "A" + std::to_string(i);
         },
         {{"Txt_11_Adm1", "A0"}, {"Txt_11_Adm12", "A11"}}},
        {"coordinates are padded to their width", forms::kTvForm,
         [](NoticeRecord& r) {
             r.long_deg = "1234"; r.lat_deg = "5"; r.long_sec = "7"; r.target.flag = true; r.target.long_deg = "45";
         },
         {{"Txt_4C_Deg_Long", "1234"}, {"Txt_4C_Deg_Lat", "05"}, {"Txt_4C_Sec_Long", "07"},
          {"Txt_04C_Deg_Long", "045"}}},
        {"the operating period shows padded", forms::kTvForm,
         [](NoticeRecord& r) { r.opPeriod = {true, "800", "2000"}; },
         {{"Txt_10B_Ophhfr", "0800"}, {"Txt_10B_Ophhto", "2000"}}},
        {"an operating period without its flag is not shown", forms::kTvForm,
         [](NoticeRecord& r) { r.opPeriod = {false, "800", "2000"}; },
         {{"Txt_10B_Ophhfr", ""}, {"Txt_10B_Ophhto", ""}}},
        {"target values without the target flag are not shown", forms::kTvForm,
         [](NoticeRecord& r) { r.target.freq_assgn = "98.5"; },
         {{"Txt_01A_TrgFreq", ""}}},
        {"a date shows without leading zeros", forms::kSoundForm,
         [](NoticeRecord& r) { r.d_adm_ntc = "05.03.2005"; },
         {{"Txt_Ntc_YY", "2005"}, {"Txt_Ntc_MM", "3"}, {"Txt_Ntc_DD", "5"}}},
        {"a date that cannot be read leaves its boxes empty", forms::kSoundForm,
         [](NoticeRecord& r) { r.d_adm_ntc = "2005/03/01"; r.d_inuse = "1.2.3"; },
         {{"Txt_Ntc_YY", ""}, {"Txt_Ntc_MM", ""}, {"Txt_Ntc_DD", ""}, {"Txt_2C_YY", ""}, {"Txt_2C_DD", ""}}},
        {"a height is shown whatever its slot's flag", forms::kSoundForm,
         [](NoticeRecord& r) { r.effHgt[2] = {false, "", "45"}; },
         {{"Txt_9EC_azm020", "45"}}},
        {"a combo value is matched exactly", forms::kTvForm,
         [](NoticeRecord& r) { r.freq_stabl = "relaxed"; r.color = "PAL "; r.ant_dir = "ND"; },
         {{"Combo_7A1_FreqStabl", ""}, {"Combo_7C2_Color_Sys", ""}, {"Combo_9_AntDir", "ND"}}},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.what);
        NoticeRecord rec = baseRecord(c.kind);
        rec.intent.clear();
        c.change(rec);
        auto form = makeForm(c.kind);
        forms::writeNtcToScreen(rec, *form);
        for (const auto& [control, shown] : c.shows)
            EXPECT_EQ(text(*form, control), shown) << control.toStdString();
    }
}

TEST(NoticeScreen, AnEmptyFieldLeavesItsControlAsItIs)
{
    auto form = makeForm(forms::kTvForm);
    type(*form, "Txt_3A1_CallSign", "OLD");
    type(*form, "Combo_9D_Polariz", "V");
    type(*form, "OptInt_Mod", "on");
    forms::writeNtcToScreen(baseRecord(forms::kTvForm), *form);
    EXPECT_EQ(text(*form, "Txt_3A1_CallSign"), "OLD");
    EXPECT_EQ(text(*form, "Combo_9D_Polariz"), "V");
    NoticeRecord add = baseRecord(forms::kTvForm);
    add.intent = "ADD";
    forms::writeNtcToScreen(add, *form);
    EXPECT_EQ(text(*form, "OptInt_Mod"), "");
    EXPECT_EQ(text(*form, "OptInt_Add"), "checked");
}

TEST(NoticeScreen, ASuppressionRunsItsReactionOnceBeforeTheFragments)
{
    for (int kind : kKinds) {
        auto form = makeForm(kind);
        std::vector<std::string> reactions;
        forms::connectOptionReactions(*form,
                                      [&](QRadioButton& b) { reactions.push_back(b.objectName().toStdString()); });
        NoticeRecord rec = baseRecord(kind);
        rec.notice_typ = "TB5";
        rec.intent = "SUPPRESS";
        rec.fragment = "NTFD_RR";
        forms::writeNtcToScreen(rec, *form);
        EXPECT_EQ(reactions, (std::vector<std::string>{"OptInt_Sup", "OptFrg_A11"}));
        EXPECT_EQ(text(*form, "OptInt_Sup"), "checked");
    }
}

struct ReadCase {
    const char* what;
    int kind;
    std::vector<std::pair<QString, std::string>> typed;
    std::function<void(NoticeRecord&)> expect;  // changes an empty read of the same form
};

// Read from a form that no record filled, as the unchanged reading gives it.
TEST(NoticeScreen, FormToRecordEdgeCases)
{
    const std::vector<std::pair<QString, std::string>> target = {
        {"Txt_TrgAdmRefID", "REF"}, {"Txt_01A_TrgFreq", "98.5"}, {"Txt_04C_Deg_Long", "5"},
        {"Txt_04C_EW", "E"}, {"Txt_04C_Deg_Lat", "4"}, {"Txt_04C_NS", "N"}};
    const auto withTarget = [&](std::vector<std::pair<QString, std::string>> typed) {
        typed.insert(typed.end(), target.begin(), target.end());
        return typed;
    };
    const auto targetRead = [](NoticeRecord& r) {
        r.target = {true, "98.5", "005", "", "", "E", "04", "", "", "N", "REF"};
    };
    const auto stationOf = [](const char* cls) {
        return [cls](NoticeRecord& r) { r.stn_cls = cls; };
    };
    const std::vector<ReadCase> cases = {
        {"a suppression takes no station value and copies its target", forms::kTvForm,
         withTarget({{"OptInt_Sup", "on"}, {"Txt_B_Adm", "F"}, {"Txt_3A1_CallSign", "C"}, {"Txt_Ntc_YY", "2005"},
                     {"Txt_Ntc_MM", "3"}, {"Txt_Ntc_DD", "25"}, {"OptFrg_Ge89", "on"}, {"Txt_notified_Rmks", "R"},
                     {"Txt_11_Adm1", "D"}, {"Txt_9EC_azm000", "5"}}),
         [&](NoticeRecord& r) {
             targetRead(r);
             r.intent = "SUPPRESS"; r.notice_typ = "TB5"; r.stn_cls.clear(); r.adm = "F"; r.d_adm_ntc = "2005-3-25";
             r.fragment = "GE89"; r.remarks = "R";
             r.adm_ref_id = "REF"; r.freq_assgn = "98.5"; r.long_deg = "005"; r.long_ew = "E";
             r.lat_deg = "04"; r.lat_ns = "N";
         }},
        {"an addition reads no target", forms::kSoundForm,
         withTarget({{"OptInt_Add", "on"}, {"Txt_4B_GeoArea", "FRA"}}),
         [](NoticeRecord& r) { r.intent = "ADD"; r.notice_typ = "T01"; r.stn_cls = "BC"; r.ctry = "FRA"; }},
        {"a modification reads the target but keeps its own values", forms::kTvForm,
         withTarget({{"OptInt_Mod", "on"}, {"Txt_1A_FreqAssgn", "600"}}),
         [&](NoticeRecord& r) { targetRead(r); r.intent = "MODIFY"; r.stn_cls = "BT"; r.freq_assgn = "600"; }},
        {"no intent: the target does not replace the notice's own values", forms::kSoundForm,
         withTarget({{"Txt_1A_FreqAssgn", "98.1"}, {"Txt_4C_Deg_Long", "7"}}),
         [&](NoticeRecord& r) { targetRead(r); r.stn_cls = "BC"; r.freq_assgn = "98.1"; r.long_deg = "007"; }},
        {"dates join as typed; an empty box gives an empty date", forms::kTvForm,
         {{"Txt_Ntc_YY", "2005"}, {"Txt_Ntc_MM", "03"}, {"Txt_Ntc_DD", "25"}, {"Txt_2C_YY", "2005"},
          {"Txt_2C_MM", "3"}},
         [](NoticeRecord& r) { r.d_adm_ntc = "2005-03-25"; r.stn_cls = "BT"; }},
        {"coordinates are padded, a long text stays", forms::kSoundForm,
         {{"Txt_4C_Deg_Long", "5"}, {"Txt_4C_Deg_Lat", "5"}, {"Txt_4C_Min_Long", "123"}},
         [](NoticeRecord& r) { r.long_deg = "005"; r.lat_deg = "05"; r.long_min = "123"; r.stn_cls = "BC"; }},
        {"an hour is padded and flags the period", forms::kTvForm, {{"Txt_10B_Ophhfr", "800"}},
         [](NoticeRecord& r) { r.opPeriod = {true, "0800", ""}; r.stn_cls = "BT"; }},
        {"polarisation H takes the horizontal ERP only", forms::kTvForm,
         {{"Combo_9D_Polariz", "H"}, {"Txt_8BH_Erp_H", "30"}, {"Txt_8BV_Erp_V", "20"}},
         [](NoticeRecord& r) { r.polar = "H"; r.erp_h_dbw = "30"; r.stn_cls = "BT"; }},
        {"no polarisation takes no ERP", forms::kTvForm, {{"Txt_8BH_Erp_H", "30"}, {"Txt_8BV_Erp_V", "20"}},
         stationOf("BT")},
        {"H with D reads the horizontal attenuation only", forms::kSoundForm,
         {{"Combo_9D_Polariz", "H"}, {"Combo_9_AntDir", "D"}, {"Txt_9NHAzm010", "3"}, {"Txt_9NVAzm010", "4"}},
         [](NoticeRecord& r) { r.polar = "H"; r.ant_dir = "D"; r.attnH[1] = {true, "10", "3"}; r.stn_cls = "BC"; }},
        {"M with D reads both attenuations", forms::kTvForm,
         {{"Combo_9D_Polariz", "M"}, {"Combo_9_AntDir", "D"}, {"Txt_9NHAzm010", "3"}, {"Txt_9NVAzm350", "4"}},
         [](NoticeRecord& r) {
             r.polar = "M"; r.ant_dir = "D"; r.attnH[1] = {true, "10", "3"}; r.attnV[35] = {true, "350", "4"};
             r.stn_cls = "BT";
         }},
        {"ND reads no attenuation", forms::kTvForm,
         {{"Combo_9D_Polariz", "M"}, {"Combo_9_AntDir", "ND"}, {"Txt_9NHAzm010", "3"}, {"Txt_9NVAzm010", "4"}},
         [](NoticeRecord& r) { r.polar = "M"; r.ant_dir = "ND"; r.stn_cls = "BT"; }},
        {"a height box gives its slot, azimuth and value", forms::kSoundForm,
         {{"Txt_9EC_azm020", "45"}, {"Txt_9EC_azm000", "50"}},
         [](NoticeRecord& r) { r.effHgt[2] = {true, "20", "45"}; r.effHgt[0] = {true, "0", "50"}; r.stn_cls = "BC"; }},
        {"one administration box flags the list", forms::kTvForm, {{"Txt_11_Adm3", "D"}},
         [](NoticeRecord& r) { r.coordAdm.flag = true; r.coordAdm.adm[2] = "D"; r.stn_cls = "BT"; }},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        auto form = makeForm(c.kind);
        NoticeRecord expected = readBack(*form, c.kind);
        clearStamps(expected);
        for (const auto& [control, value] : c.typed)
            type(*form, control, value);
        c.expect(expected);
        NoticeRecord back = readBack(*form, c.kind);
        clearStamps(back);
        EXPECT_EQ(differences(back, expected), "");
    }
}

// Each intent chosen on a form whose target and station boxes are filled: what the update reads.
TEST(NoticeScreen, EachIntentReadsTheTargetAndStationItHas)
{
    struct Row {
        const char* option;  // "" for none chosen
        bool target;         // the target's reference is read
        bool station;        // the station's call sign is read
    };
    const Row rows[] = {
        {"OptInt_Add", false, true},
        {"OptInt_Mod", true, true},
        {"OptInt_Sup", true, false},
        {"OptInt_Wdraw", true, false},
        {"", true, true},
    };
    for (int kind : kKinds)
        for (const Row& r : rows) {
            SCOPED_TRACE(std::string(r.option) + " on kind " + std::to_string(kind));
            auto form = makeForm(kind);
            if (*r.option)
                type(*form, r.option, "on");
            type(*form, "Txt_TrgAdmRefID", "REF");
            type(*form, "Txt_3A1_CallSign", "CALL");
            const NoticeRecord back = readBack(*form, kind);
            EXPECT_EQ(back.target.flag, r.target);
            EXPECT_EQ(back.target.adm_ref_id, r.target ? "REF" : "");
            EXPECT_EQ(back.call_sign, r.station ? "CALL" : "");
        }
}

TEST(NoticeScreen, AnEmptyFormReadsAsItsKind)
{
    for (int kind : kKinds) {
        auto form = makeForm(kind);
        NoticeRecord rec;
        rec.adm = rec.ctry = "old";
        rec.adm_ref_id = "kept";
        forms::readNtcFromScreen(rec, *form, kind);
        EXPECT_TRUE(rec.flag);
        EXPECT_EQ(rec.notice_typ, kind == forms::kTvForm ? "T02" : "T01");
        EXPECT_EQ(rec.adm, "");
        EXPECT_EQ(rec.ctry, "");
        EXPECT_EQ(rec.adm_ref_id, "kept");
        EXPECT_EQ(rec.intent, "");
    }
}

}  // namespace

namespace {

struct UpdateCase {
    const char* what;
    int kind;
    std::function<void(NoticeRecord&)> store;                 // changes a full notice
    std::vector<std::pair<QString, std::string>> edits;       // what the user changes on the form
    std::function<void(NoticeRecord&)> expect;                // changes the stored notice
};

// A stored notice shown and read back for its update: what the form could not show or does
// not read comes from the notice shown, everything else as the user left it.
TEST(NoticeScreen, AnUpdateKeepsWhatTheFormCouldNotShow)
{
    const auto none = [](NoticeRecord&) {};
    const std::vector<UpdateCase> cases = {
        {"values outside the television form's options and boxes", forms::kTvForm,
         [](NoticeRecord& r) {
             r.fragment = "GE84"; r.polar = "U"; r.bdwdth = "8"; r.d_adm_ntc = "2005/03/01";
             r.coordAdm.adm.back() = "A12";
         },
         {{"Txt_3A1_CallSign", "NEW"}},
         [](NoticeRecord& r) { r.call_sign = "NEW"; }},
        {"the television values of a sound notice", forms::kSoundForm,
         [](NoticeRecord& r) {
             r.color = "PAL"; r.freq_stabl = "NORMAL"; r.oset_v_12 = "1"; r.oset_v_khz = "2"; r.pwr_ratio = "3";
         },
         {{"Txt_9E_AntHgt", "77"}}, [](NoticeRecord& r) { r.hgt_agl = "77"; }},
        {"a withdrawal keeps its station", forms::kSoundForm,
         [](NoticeRecord& r) {
             r.notice_typ = "TB5"; r.intent = "WITHDRAW"; r.ctry = "FRA"; r.site_name = "PARIS";
             r.target = {}; r.target.flag = true; r.target.freq_assgn = "98.5";
         },
         {{"Txt_notified_Rmks", "changed"}},
         [](NoticeRecord& r) { r.remarks = "changed"; r.freq_assgn = "98.5"; }},
        {"a system the television form does not show for a TB5 notice", forms::kTvForm,
         [](NoticeRecord& r) { r.notice_typ = "TB5"; r.intent = "ADD"; r.tran_sys = "B"; },
         {}, [](NoticeRecord& r) { r.notice_typ = "T02"; r.target = {}; }},
        {"an intent outside the options keeps the notice's own position", forms::kTvForm,
         [](NoticeRecord& r) { r.intent = "RECORDED"; }, {}, none},
        {"combo values outside their lists", forms::kTvForm,
         [](NoticeRecord& r) { r.freq_stabl = "relaxed"; r.color = "pal"; r.ant_dir = "d"; r.attnH = r.attnV = {}; },
         {}, none},
        {"an emptied box is saved empty", forms::kTvForm, none,
         {{"Txt_3A1_CallSign", ""}, {"Txt_Ntc_DD", ""}},
         [](NoticeRecord& r) { r.call_sign.clear(); r.d_adm_ntc.clear(); }},
        {"an unreadable date the user typed over", forms::kSoundForm,
         [](NoticeRecord& r) { r.d_inuse = "1.2.3"; },
         {{"Txt_2C_YY", "2006"}, {"Txt_2C_MM", "1"}, {"Txt_2C_DD", "2"}},
         [](NoticeRecord& r) { r.d_inuse = "2006-1-2"; }},
        {"options and a polarisation the user chose replace the kept ones", forms::kTvForm,
         [](NoticeRecord& r) { r.intent = "RECORDED"; r.fragment = "GE84"; r.polar = "U"; },
         {{"OptInt_Mod", "on"}, {"OptFrg_A11", "on"}, {"Combo_9D_Polariz", "H"}},
         [](NoticeRecord& r) {
             r.intent = "MODIFY"; r.fragment = "NTFD_RR"; r.polar = "H"; r.erp_v_dbw.clear(); r.attnV = {};
         }},
    };
    for (const UpdateCase& c : cases) {
        SCOPED_TRACE(c.what);
        NoticeRecord stored = fullRecord(c.kind);
        c.store(stored);
        auto form = makeForm(c.kind);
        forms::writeNtcToScreen(stored, *form);
        for (const auto& [control, value] : c.edits)
            type(*form, control, value);
        NoticeRecord back = readBack(*form, c.kind);
        clearStamps(back);
        NoticeRecord expected = stored;
        c.expect(expected);
        EXPECT_EQ(differences(back, expected), "");
    }
}

}  // namespace

namespace {

struct StoredCase {
    const char* what;
    int kind;
    std::string body;                          // the NOTICE section the notice is read from
    std::function<void(NoticeRecord&)> store;  // then changes the record stored
    std::vector<std::pair<QString, std::string>> edits;  // what the user changes on the form
};

NoticeRecord fromDb(testing_support::NoticeDb& db, std::int32_t key)
{
    NoticeRecord rec;
    EXPECT_TRUE(database::readNtcFromDB(key, rec, db.conn, db.prompter.report()));
    return rec;
}

// A stored notice opened in its form, changed in one box and updated: read again, it has lost
// nothing the form could not show, and the box's new value is stored.
TEST(NoticeScreen, AnUpdateThroughTheDatabaseKeepsWhatTheFormCouldNotShow)
{
    const std::vector<StoredCase> cases = {
        {"television notice of GE84, polarisation U and 13 administrations", forms::kTvForm,
         testing_support::fullTelevisionNotice(),
         [](NoticeRecord& r) {
             r.fragment = "GE84"; r.polar = "U"; r.ant_dir = "D"; r.d_adm_ntc = "2005/03/01";
             r.attnH[0] = r.attnV[0] = {};
         },
         {{"Txt_3A1_CallSign", "EDITED"}}},
        {"sound notice with a colour system", forms::kSoundForm,
         "t_notice_type = T01\nt_action = ADD\nt_fragment = GE84\nt_freq_assgn = 98.5\nt_color = PAL\n"
         "t_freq_stabl = NORMAL\nt_pwr_ratio = 10\nt_site_name = A\n",
         [](NoticeRecord&) {}, {{"Txt_4A_SiteName", "EDITED"}}},
        {"withdrawal with a country and a site", forms::kSoundForm,
         "t_notice_type = TB5\nt_action = WITHDRAW\nt_fragment = GE84\nt_ctry = F\nt_site_name = PARIS\n"
         "t_trg_adm_ref_id = R-1\nt_trg_freq_assgn = 98.5\nt_trg_long = +0022000\nt_trg_lat = +484500\n",
         [](NoticeRecord&) {}, {{"Txt_notified_Rmks", "EDITED"}}},
        {"recorded notice with a target", forms::kTvForm,
         "t_notice_type = T02\nt_action = RECORDED\nt_fragment = GE89\nt_freq_assgn = 479.25\nt_long = +0044930\n"
         "t_lat = +454530\nt_trg_freq_assgn = 471.25\nt_trg_long = +0044900\nt_trg_lat = +454500\n",
         [](NoticeRecord&) {},
         {{"Txt_3A2_StationID", "EDITED"}, {"Txt_01A_TrgFreq", "600"}, {"Txt_04C_Deg_Long", "009"},
          {"Txt_04C_Deg_Lat", "50"}}},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.what);
        testing_support::NoticeDb db;
        NoticeRecord rec = testing_support::readNotice(c.body);
        c.store(rec);
        database::ContourOutcome outcome;
        ASSERT_TRUE(database::storeNtc(rec, db.conn, outcome, false, db.prompter.report()));
        const auto key =
            std::int32_t(platform::parseInteger(db.scalar("SELECT max(terrakey) FROM fmtv_terra")).value());
        const NoticeRecord stored = fromDb(db, key);

        auto form = makeForm(c.kind);
        forms::writeNtcToScreen(stored, *form);
        for (const auto& [box, value] : c.edits)
            type(*form, box, value);
        NoticeRecord update;
        forms::readNtcFromScreen(update, *form, c.kind);
        ASSERT_TRUE(database::updateNtc(update, key, db.conn, db.prompter.report()));

        NoticeRecord back = fromDb(db, key);
        NoticeRecord expected = stored;
        for (const forms::ControlRow& r : form->controls())
            for (const auto& [box, value] : c.edits)
                if (r.name == box.toStdString())
                    fieldOf(r, expected) = value;
        clearStamps(back);
        clearStamps(expected);
        // The update stores an empty operating period for a notice without one.
        if (back.opPeriod.first.empty() && back.opPeriod.second.empty())
            back.opPeriod.flag = expected.opPeriod.flag;
        EXPECT_EQ(differences(back, expected), "");
    }
}

}  // namespace
