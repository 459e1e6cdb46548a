#include "NoticeScreen.h"

#include "notice/FieldUtils.h"
#include "notice/NoticeFields.h"
#include "platform/NumberText.h"
#include "platform/SystemInfo.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextEdit>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

namespace forms {
namespace {

using notice::NoticeRecord;
using B = BoxKind;
using K = Block;
using W = When;
constexpr bool kAlways = true;
constexpr bool kNonEmpty = false;

// Every control that shows one field. Both forms take the rows their kind has.
const ScreenRow kRows[] = {
    {"Txt_B_Adm", "adm", B::Text, On::Both, K::Head, Pad::None, kAlways, W::Always},
    {"Txt_Ntc_", "d_adm_ntc", B::Date, On::Both, K::Head, Pad::None, kAlways, W::Always},
    {"Txt_notified_Rmks", "t_remarks", B::Text, On::Both, K::Head, Pad::None, kNonEmpty, W::Always},
    {"Txt_Internal_Rmks", "int_remarks", B::Text, On::Both, K::Head, Pad::None, kNonEmpty, W::Always},
    {"Txt_AdmRefID", "adm_ref_id", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_4B_GeoArea", "ctry", B::Text, On::Both, K::Station, Pad::None, kAlways, W::Always},
    {"Txt_3A1_CallSign", "call_sign", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_3A2_StationID", "stn_id", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_1A_FreqAssgn", "freq_assgn", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Combo_7A1_FreqStabl", "freq_stabl", B::Combo, On::Tv, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_1E_Lf", "oset_v_12", B::Text, On::Tv, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_1E_kHz", "oset_v_khz", B::Text, On::Tv, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_7C1_TvSys", "tran_sys", B::Text, On::Tv, K::Station, Pad::None, kNonEmpty, W::TypeT02},
    {"Combo_7C2_Color_Sys", "color", B::Combo, On::Tv, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_8D_Pwr_Ratio", "pwr_ratio", B::Text, On::Tv, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_70_BDWdth", "bdwdth", B::Text, On::Sound, K::Station, Pad::None, kNonEmpty, W::TypeNotT02},
    {"Txt_7D_TranSys", "tran_sys", B::Text, On::Sound, K::Station, Pad::None, kNonEmpty, W::TypeT01},
    {"Txt_9E_AntHgt", "hgt_agl", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_9EB_Eff_hgtmax", "eff_hgtmax", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_8BH_Erp_H", "erp_h_dbw", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::PolarH},
    {"Txt_8BV_Erp_V", "erp_v_dbw", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::PolarV},
    {"Combo_9D_Polariz", "polar", B::Combo, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Combo_9_AntDir", "ant_dir", B::Combo, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_4A_SiteName", "site_name", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_4C_Deg_Long", "long_deg", B::Text, On::Both, K::Station, Pad::Three, kNonEmpty, W::Always},
    {"Txt_4C_EW", "long_ew", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_4C_Min_Long", "long_min", B::Text, On::Both, K::Station, Pad::Two, kNonEmpty, W::Always},
    {"Txt_4C_Sec_Long", "long_sec", B::Text, On::Both, K::Station, Pad::Two, kNonEmpty, W::Always},
    {"Txt_4C_Deg_Lat", "lat_deg", B::Text, On::Both, K::Station, Pad::Two, kNonEmpty, W::Always},
    {"Txt_4C_NS", "lat_ns", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_4C_Min_Lat", "lat_min", B::Text, On::Both, K::Station, Pad::Two, kNonEmpty, W::Always},
    {"Txt_4C_Sec_Lat", "lat_sec", B::Text, On::Both, K::Station, Pad::Two, kNonEmpty, W::Always},
    {"Txt_9EA_SiteAlt", "site_alt", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_12B_AddrCde", "addr_code", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_12A_OpAgcy", "op_agcy", B::Text, On::Both, K::Station, Pad::None, kNonEmpty, W::Always},
    {"Txt_2C_", "d_inuse", B::Date, On::Both, K::Station, Pad::None, kAlways, W::Always},
    {"Txt_10B_Ophhfr", "t_op_hh_fr", B::Text, On::Both, K::Station, Pad::Four, kNonEmpty, W::Always},
    {"Txt_10B_Ophhto", "t_op_hh_to", B::Text, On::Both, K::Station, Pad::Four, kNonEmpty, W::Always},
    {"Txt_TrgAdmRefID", "trg_adm_ref_id", B::Text, On::Both, K::Target, Pad::None, kNonEmpty, W::Always},
    {"Txt_01A_TrgFreq", "trg_freq_assgn", B::Text, On::Both, K::Target, Pad::None, kNonEmpty, W::Always},
    {"Txt_04C_Deg_Long", "trg_long_deg", B::Text, On::Both, K::Target, Pad::Three, kNonEmpty, W::Always},
    {"Txt_04C_Min_Long", "trg_long_min", B::Text, On::Both, K::Target, Pad::Two, kNonEmpty, W::Always},
    {"Txt_04C_Sec_Long", "trg_long_sec", B::Text, On::Both, K::Target, Pad::Two, kNonEmpty, W::Always},
    {"Txt_04C_EW", "trg_long_ew", B::Text, On::Both, K::Target, Pad::None, kNonEmpty, W::Always},
    {"Txt_04C_Deg_Lat", "trg_lat_deg", B::Text, On::Both, K::Target, Pad::Two, kNonEmpty, W::Always},
    {"Txt_04C_Min_Lat", "trg_lat_min", B::Text, On::Both, K::Target, Pad::Two, kNonEmpty, W::Always},
    {"Txt_04C_Sec_Lat", "trg_lat_sec", B::Text, On::Both, K::Target, Pad::Two, kNonEmpty, W::Always},
    {"Txt_04C_NS", "trg_lat_ns", B::Text, On::Both, K::Target, Pad::None, kNonEmpty, W::Always},
};

const OptionRow kIntents[] = {
    {"OptInt_Add", "ADD", On::Both},
    {"OptInt_Mod", "MODIFY", On::Both},
    {"OptInt_Sup", "SUPPRESS", On::Both},
    {"OptInt_Wdraw", "WITHDRAW", On::Both},
};

// A11 before ST61 before the form's own plan, as the last reading step wins.
const OptionRow kFragments[] = {
    {"OptFrg_A11", "NTFD_RR", On::Both},
    {"OptFrg_St61", "ST61", On::Both},
    {"OptFrg_Ge84", "GE84", On::Sound},
    {"OptFrg_Ge89", "GE89", On::Tv},
};

constexpr const char* kDateBoxes[] = {"YY", "MM", "DD"};

struct FieldRef {
    const notice::NoticeField* field = nullptr;
    int part = 0;
};

FieldRef findField(std::string_view name)
{
    for (const notice::NoticeField& f : notice::noticeFields()) {
        if (f.key == name)
            return {&f, 0};
        for (int i = 0; i < 4; ++i)
            if (f.columns[std::size_t(i)] && name == f.columns[std::size_t(i)])
                return {&f, i};
    }
    return {};
}

const std::vector<FieldRef>& fieldRefs()
{
    static const std::vector<FieldRef> refs = [] {
        std::vector<FieldRef> v;
        for (const ScreenRow& r : kRows)
            v.push_back(findField(r.field));
        return v;
    }();
    return refs;
}

std::size_t rowIndex(const ScreenRow& row)
{
    return std::size_t(&row - kRows);
}

// The flags of the record part a row belongs to: the target, the operating period.
unsigned partFlag(const ScreenRow& row)
{
    const FieldRef& ref = fieldRefs()[rowIndex(row)];
    return ref.field ? ref.field->flags & (notice::kFlagTarget | notice::kFlagOpPeriod) : 0u;
}

bool partFlagSet(unsigned bits, const NoticeRecord& rec)
{
    return (!(bits & notice::kFlagTarget) || rec.target.flag) &&
           (!(bits & notice::kFlagOpPeriod) || rec.opPeriod.flag);
}

bool onForm(On on, int kind)
{
    return on == On::Both || (on == On::Tv) == (kind == kTvKind);
}

QString qs(const std::string& s) { return QString::fromStdString(s); }
std::string ss(const QString& s) { return s.toStdString(); }

std::string padded(const std::string& text, Pad pad)
{
    switch (pad) {
    case Pad::Two: return notice::padZeros(text, 2);
    case Pad::Three: return notice::padZeros(text, 3);
    case Pad::Four: return notice::padZeros4(text);
    case Pad::None: break;
    }
    return text;
}

QWidget* control(const QWidget& form, const QString& name)
{
    return form.findChild<QWidget*>(name);
}

std::string boxText(const QWidget& form, const QString& name)
{
    const QWidget* w = control(form, name);
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return ss(e->text());
    if (auto* p = qobject_cast<const QPlainTextEdit*>(w))
        return ss(p->toPlainText());
    if (auto* t = qobject_cast<const QTextEdit*>(w))
        return ss(t->toPlainText());
    if (auto* c = qobject_cast<const QComboBox*>(w))
        return ss(c->currentText());
    return {};
}

void setBoxText(QWidget& form, const QString& name, const std::string& value)
{
    QWidget* w = control(form, name);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setText(qs(value));
    else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
        p->setPlainText(qs(value));
    else if (auto* t = qobject_cast<QTextEdit*>(w))
        t->setPlainText(qs(value));
}

// The first item equal to the value, exactly; -1 for none or no such combo box.
int comboItem(const QWidget& form, const QString& name, const std::string& value)
{
    const auto* c = qobject_cast<const QComboBox*>(control(form, name));
    if (!c)
        return -1;
    const QString v = qs(value);
    for (int i = 0; i < c->count(); ++i)
        if (c->itemText(i) == v)
            return i;
    return -1;
}

bool isTypeShown(When when, const NoticeRecord& rec)
{
    switch (when) {
    case W::TypeT02: return rec.notice_typ == "T02";
    case W::TypeT01: return rec.notice_typ == "T01";
    case W::TypeNotT02: return rec.notice_typ != "T02";
    default: return true;
    }
}

bool polarHas(When when, const std::string& polar)
{
    switch (when) {
    case W::PolarH: return polar == "H" || polar == "M" || polar == "U";
    case W::PolarV: return polar == "V" || polar == "M" || polar == "U";
    default: return true;
    }
}

// The date's year, month and day as numbers, leading zeros dropped; nothing for a date that
// cannot be read, so that no 0 is shown for it.
std::optional<std::array<std::string, 3>> dateParts(const std::string& value)
{
    if (!notice::isoDate(value))
        return std::nullopt;
    std::array<std::string, 3> parts;
    notice::splitDate(notice::formatNtcDate(value), parts[0], parts[1], parts[2]);
    for (std::string& p : parts)
        p = platform::padded(platform::parseInteger(p).value_or(0), 1);
    return parts;
}

void writeRow(const ScreenRow& row, const NoticeRecord& rec, QWidget& form)
{
    const std::string& value = *screenField(row, const_cast<NoticeRecord&>(rec));
    if (value.empty() || !isTypeShown(row.when, rec) || !partFlagSet(partFlag(row), rec))
        return;
    const QString name = row.control;
    switch (row.kind) {
    case B::Text:
        setBoxText(form, name, padded(value, row.pad));
        break;
    case B::Combo:
        if (const int i = comboItem(form, name, value); i >= 0)
            qobject_cast<QComboBox*>(control(form, name))->setCurrentIndex(i);
        break;
    case B::Date:
        if (const auto parts = dateParts(value))
            for (std::size_t i = 0; i < parts->size(); ++i)
                setBoxText(form, name + kDateBoxes[i], (*parts)[i]);
        break;
    }
}

const OptionRow* optionFor(std::span<const OptionRow> group, const std::string& value, bool anyCase)
{
    const std::string v = anyCase ? notice::upperValue(value) : value;
    for (const OptionRow& o : group)
        if (v == o.value)
            return &o;
    return nullptr;
}

const char* selectedOption(const QWidget& form, std::span<const OptionRow> group, int kind)
{
    for (const OptionRow& o : group) {
        const auto* b = qobject_cast<const QRadioButton*>(control(form, o.control));
        if (onForm(o.on, kind) && b && b->isChecked())
            return o.value;
    }
    return nullptr;
}

class ShownNotice : public QObject {
public:
    explicit ShownNotice(QObject* parent) : QObject(parent) {}
    NoticeRecord rec;
};

ShownNotice* shownHolder(const QWidget& form)
{
    for (QObject* c : form.children())
        if (auto* s = dynamic_cast<ShownNotice*>(c))
            return s;
    return nullptr;
}

void writeAzimuths(const notice::AzimuthSlots& list, QWidget& form, QString (*box)(int))
{
    for (int k = 0; k < notice::kAzimuthSlots; ++k)
        if (!list[std::size_t(k)].second.empty())
            setBoxText(form, box(k), list[std::size_t(k)].second);
}

void readAzimuths(notice::AzimuthSlots& list, const QWidget& form, QString (*box)(int))
{
    for (int k = 0; k < notice::kAzimuthSlots; ++k) {
        std::string text = boxText(form, box(k));
        if (text.empty())
            continue;
        notice::FlaggedPair& slot = list[std::size_t(k)];
        slot.flag = true;
        slot.first = platform::padded(10 * k, 1);
        slot.second = std::move(text);
    }
}

bool holdsValue(const notice::AzimuthSlots& list)
{
    for (const notice::FlaggedPair& s : list)
        if (!s.second.empty())
            return true;
    return false;
}

QString azimuthBox(const char* prefix, int slot)
{
    return QString(prefix) + qs(platform::padded(10 * slot, 3));
}

// Combo rows and the value each shows now, or the one kept where the combo is empty because it
// could not show it.
std::string comboValue(const ScreenRow& row, const QWidget& form, const NoticeRecord* kept)
{
    std::string text = boxText(form, row.control);
    if (text.empty() && kept) {
        const std::string& old = *screenField(row, const_cast<NoticeRecord&>(*kept));
        if (comboItem(form, row.control, old) < 0)
            return old;
    }
    return text;
}

const ScreenRow& rowOf(const char* control)
{
    for (const ScreenRow& r : kRows)
        if (std::string_view(r.control) == control)
            return r;
    return kRows[0];  // unreachable for the names below
}

// Station values that only the notice itself holds when the form does not read them.
void keepStation(NoticeRecord& rec, const NoticeRecord& kept)
{
    for (const ScreenRow& r : kRows)
        if (r.block == K::Station)
            *screenField(r, rec) = *screenField(r, const_cast<NoticeRecord&>(kept));
    rec.stn_cls = kept.stn_cls;
    rec.opPeriod = kept.opPeriod;
    rec.coordAdm = kept.coordAdm;
    rec.effHgt = kept.effHgt;
    rec.attnH = kept.attnH;
    rec.attnV = kept.attnV;
}

// Fields that no control of this form shows.
void keepUnshown(NoticeRecord& rec, const NoticeRecord& kept, int kind)
{
    for (const ScreenRow& r : kRows) {
        if (onForm(r.on, kind))
            continue;
        bool shown = false;
        for (const ScreenRow& other : kRows)
            shown = shown || (onForm(other.on, kind) && std::string_view(other.field) == r.field);
        if (!shown)
            *screenField(r, rec) = *screenField(r, const_cast<NoticeRecord&>(kept));
    }
}

}  // namespace

std::span<const ScreenRow> screenRows() { return kRows; }
std::span<const OptionRow> intentOptions() { return kIntents; }
std::span<const OptionRow> fragmentOptions() { return kFragments; }

std::string* screenField(const ScreenRow& row, NoticeRecord& rec)
{
    const FieldRef& ref = fieldRefs()[rowIndex(row)];
    return ref.field ? &notice::fieldOf(*ref.field, rec, ref.part) : nullptr;
}

QString coordAdmBox(int slot) { return "Txt_11_Adm" + QString::number(slot + 1); }
QString effHgtBox(int slot) { return azimuthBox("Txt_9EC_azm", slot); }
QString attnHBox(int slot) { return azimuthBox("Txt_9NHAzm", slot); }
QString attnVBox(int slot) { return azimuthBox("Txt_9NVAzm", slot); }

void selectOption(QWidget& form, std::span<const OptionRow> group, const char* name)
{
    // Cleared first, so that only the option chosen reacts; an exclusive option could not be
    // cleared, nor left alone by an option of another group.
    for (const OptionRow& o : group)
        if (auto* b = qobject_cast<QRadioButton*>(control(form, o.control))) {
            b->setAutoExclusive(false);
            if (o.control != name)
                b->setChecked(false);
        }
    if (auto* b = qobject_cast<QRadioButton*>(control(form, name)))
        b->setChecked(true);
}

void connectOptionReactions(QWidget& form, std::function<void(QRadioButton&)> react)
{
    for (auto group : {intentOptions(), fragmentOptions()})
        for (const OptionRow& o : group)
            if (auto* b = qobject_cast<QRadioButton*>(control(form, o.control))) {
                b->setAutoExclusive(false);
                QObject::connect(b, &QRadioButton::toggled, b, [b, react](bool on) {
                    if (on)
                        react(*b);
                });
            }
}

void writeNtcToScreen(const NoticeRecord& rec, QWidget& form)
{
    if (!rec.flag)
        return;
    // The intent first: the reaction to a fragment depends on it.
    if (const OptionRow* o = optionFor(kIntents, rec.intent, true))
        selectOption(form, kIntents, o->control);
    if (const OptionRow* o = optionFor(kFragments, rec.fragment, false))
        selectOption(form, kFragments, o->control);
    for (const ScreenRow& row : kRows)
        writeRow(row, rec, form);
    writeCoordAdmToScreen(rec, form);
    writeEffHgtToScreen(rec, form);
    if (rec.ant_dir == "D") {
        const std::string& p = rec.polar;
        // A list of unknown polarisation is shown whenever it holds a value.
        if (p == "H" || p == "M" || (p == "U" && holdsValue(rec.attnH)))
            writeAttnHToScreen(rec, form);
        if (p == "V" || p == "M" || (p == "U" && holdsValue(rec.attnV)))
            writeAttnVToScreen(rec, form);
    }
    ShownNotice* holder = shownHolder(form);
    if (!holder)
        holder = new ShownNotice(&form);
    holder->rec = rec;
}

void writeCoordAdmToScreen(const NoticeRecord& rec, QWidget& form)
{
    if (!rec.coordAdm.flag)
        return;
    for (int i = 0; i < notice::kAdmSlots - 1; ++i)
        if (!rec.coordAdm.adm[std::size_t(i)].empty())
            setBoxText(form, coordAdmBox(i), rec.coordAdm.adm[std::size_t(i)]);
}

void writeEffHgtToScreen(const NoticeRecord& rec, QWidget& form) { writeAzimuths(rec.effHgt, form, effHgtBox); }
void writeAttnHToScreen(const NoticeRecord& rec, QWidget& form) { writeAzimuths(rec.attnH, form, attnHBox); }
void writeAttnVToScreen(const NoticeRecord& rec, QWidget& form) { writeAzimuths(rec.attnV, form, attnVBox); }

void readCoordAdmFromScreen(NoticeRecord& rec, const QWidget& form)
{
    for (int i = 0; i < notice::kAdmSlots - 1; ++i) {
        std::string text = boxText(form, coordAdmBox(i));
        if (text.empty())
            continue;
        rec.coordAdm.adm[std::size_t(i)] = std::move(text);
        rec.coordAdm.flag = true;
    }
}

void readEffHgtFromScreen(NoticeRecord& rec, const QWidget& form) { readAzimuths(rec.effHgt, form, effHgtBox); }
void readAttnHFromScreen(NoticeRecord& rec, const QWidget& form) { readAzimuths(rec.attnH, form, attnHBox); }
void readAttnVFromScreen(NoticeRecord& rec, const QWidget& form) { readAzimuths(rec.attnV, form, attnVBox); }

const NoticeRecord* shownNotice(const QWidget& form)
{
    const ShownNotice* holder = shownHolder(form);
    return holder ? &holder->rec : nullptr;
}

void readNtcFromScreen(NoticeRecord& rec, const QWidget& form, int kind)
{
    const NoticeRecord* kept = shownNotice(form);
    rec.flag = true;
    rec.d_updated = platform::shortDate(platform::now());
    rec.src_update = notice::getWinUserName();

    if (const char* v = selectedOption(form, kIntents, kind))
        rec.intent = v;
    else if (kept && !optionFor(kIntents, kept->intent, true))
        rec.intent = kept->intent;
    const bool endsStation = rec.intent == "SUPPRESS" || rec.intent == "WITHDRAW";
    // Suppression or withdrawal selected, whichever intent an earlier option gave.
    const bool tb5 = selectedOption(form, std::span(kIntents).subspan(2), kind) != nullptr;
    rec.notice_typ = tb5 ? "TB5" : kind == kSoundKind ? "T01" : "T02";

    if (const char* v = selectedOption(form, kFragments, kind))
        rec.fragment = v;
    else if (kept) {
        bool shown = false;
        for (const OptionRow& o : kFragments)
            shown = shown || (onForm(o.on, kind) && kept->fragment == o.value);
        if (!shown)
            rec.fragment = kept->fragment;
    }

    // The polarisation and directivity that the ERP and attenuation boxes are read under.
    const std::string polar = comboValue(rowOf("Combo_9D_Polariz"), form, kept);
    const std::string antDir = comboValue(rowOf("Combo_9_AntDir"), form, kept);

    for (const ScreenRow& row : kRows) {
        if (!onForm(row.on, kind) || (row.block == K::Station && endsStation) ||
            (row.block == K::Target && rec.intent == "ADD") || !polarHas(row.when, polar))
            continue;
        std::string value;
        if (row.kind == B::Date) {
            std::array<std::string, 3> parts;
            for (std::size_t i = 0; i < parts.size(); ++i)
                parts[i] = boxText(form, row.control + QString(kDateBoxes[i]));
            value = notice::joinDate(parts[0], parts[1], parts[2]);
            const std::string* old = kept ? screenField(row, const_cast<NoticeRecord&>(*kept)) : nullptr;
            if (old && parts == std::array<std::string, 3>{} && !dateParts(*old))
                value = *old;  // a date the boxes could not show
        } else if (row.kind == B::Combo) {
            value = comboValue(row, form, kept);
        } else {
            value = boxText(form, row.control);
            if (!value.empty())
                value = padded(value, row.pad);
            else if (kept && !isTypeShown(row.when, *kept))
                value = *screenField(row, const_cast<NoticeRecord&>(*kept));
        }
        if (value.empty() && !row.readEmpty)
            continue;
        *screenField(row, rec) = std::move(value);
        notice::setFlags(rec, partFlag(row));
    }

    if (!endsStation)
        rec.stn_cls = rec.notice_typ == "T01" ? "BC" : "BT";
    if (kept && endsStation)
        keepStation(rec, *kept);
    if (kept)
        keepUnshown(rec, *kept, kind);
    // Only a suppression or withdrawal takes its own identification from the target.
    if (endsStation)
        notice::copyTargetToNtc(rec);

    if (!endsStation) {
        readCoordAdmFromScreen(rec, form);
        readEffHgtFromScreen(rec, form);
        if (antDir == "D") {
            if (polarHas(W::PolarH, polar))
                readAttnHFromScreen(rec, form);
            if (polarHas(W::PolarV, polar))
                readAttnVFromScreen(rec, form);
        }
        // The thirteenth administration has no box.
        if (kept && !kept->coordAdm.adm.back().empty()) {
            rec.coordAdm.adm.back() = kept->coordAdm.adm.back();
            rec.coordAdm.flag = true;
        }
    }
}

}  // namespace forms
