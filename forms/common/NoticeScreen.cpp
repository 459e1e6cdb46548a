#include "NoticeScreen.h"

#include "FormBuilder.h"
#include "FormLoad.h"
#include "NoticeForm.h"
#include "notice/FieldUtils.h"
#include "notice/NoticeRules.h"
#include "platform/NumberText.h"
#include "platform/SystemInfo.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <array>
#include <map>
#include <memory>
#include <utility>
#include <optional>
#include <type_traits>

namespace forms {
namespace {

using notice::NoticeField;
using notice::NoticeRecord;

// Where a field is read: always, with the station (not for a suppression or withdrawal), or
// with the target (not for an addition).
enum class Block { Head, Station, Target };

// When a field is shown (by the notice type) or read (by the polarisation chosen).
enum class When { Always, OwnType, NotT02, PolarH, PolarV };

struct FieldRule {
    std::string_view field;
    Block block;
    bool readEmpty;  // an empty control empties the field
    When when;
};

// The fields that differ from a station or target field read when not empty and always shown.
constexpr FieldRule kRules[] = {
    {"adm", Block::Head, true, When::Always},
    {"t_d_adm_ntc", Block::Head, true, When::Always},
    {"t_remarks", Block::Head, false, When::Always},
    {"int_remarks", Block::Head, false, When::Always},
    {"t_action", Block::Head, false, When::Always},
    {"t_fragment", Block::Head, false, When::Always},
    {"t_ctry", Block::Station, true, When::Always},
    {"t_d_inuse", Block::Station, true, When::Always},
    {"t_tran_sys", Block::Station, false, When::OwnType},
    {"t_bdwdth", Block::Station, false, When::NotT02},
    {"t_erp_h_dbw", Block::Station, false, When::PolarH},
    {"t_erp_v_dbw", Block::Station, false, When::PolarV},
};

constexpr std::string_view kIntent = "t_action";
constexpr std::string_view kFragment = "t_fragment";

FieldRule ruleOf(const NoticeField& f)
{
    for (const FieldRule& r : kRules)
        if (&noticeField(r.field) == &f)
            return r;
    return {f.key, (f.flags & notice::kFlagTarget) ? Block::Target : Block::Station, false, When::Always};
}

const ControlTable& controlsOf(int kind)
{
    return formTypeOf(kind)->controls();
}

bool isValue(const ControlRow& row)
{
    return row.field && (row.kind == Kind::TextBox || row.kind == Kind::ComboBox);
}

bool isOption(const ControlRow& row, std::string_view group)
{
    return row.kind == Kind::OptionButton && row.field == &noticeField(group);
}

const ControlRow* rowOf(const ControlTable& table, const NoticeField& field)
{
    for (const ControlRow& row : table)
        if (isValue(row) && row.field == &field)
            return &row;
    return nullptr;
}

std::string& valueOf(const ControlRow& row, NoticeRecord& rec)
{
    return notice::fieldOf(*row.field, rec, row.part);
}

const std::string& valueOf(const ControlRow& row, const NoticeRecord& rec)
{
    return notice::valueOf(*row.field, rec, row.part);
}

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Zeros in front of coordinate parts (degrees of longitude to 3 places, other parts to 2) and
// of hours (to 4).
std::string padded(const ControlRow& row, const std::string& text)
{
    if (row.field->kind == notice::ValueKind::Time)
        return notice::padZeros4(text);
    const int width = notice::padWidth(*row.field, row.part);
    return width ? notice::padZeros(text, width) : text;
}

bool shownFor(When when, const std::string& noticeType, int kind)
{
    switch (when) {
    case When::OwnType: return noticeType == formTypeOf(kind)->noticeType;
    case When::NotT02: return noticeType != "T02";
    default: return true;
    }
}

bool polarHas(When when, const std::string& polar)
{
    switch (when) {
    case When::PolarH: return notice::carriesHorizontal(polar);
    case When::PolarV: return notice::carriesVertical(polar);
    default: return true;
    }
}

// The parts of the record that a field belongs to and whose flag it needs or sets.
unsigned partFlags(const ControlRow& row)
{
    return row.field->flags & (notice::kFlagTarget | notice::kFlagOpPeriod);
}

bool partFlagsSet(unsigned bits, const NoticeRecord& rec)
{
    return (!(bits & notice::kFlagTarget) || rec.target.flag) && (!(bits & notice::kFlagOpPeriod) || rec.opPeriod.flag);
}

// Day, month and year as numbers without leading zeros; nothing for a date that cannot be read,
// so that no 0 is shown, and stored again, for it.
std::optional<std::array<std::string, 3>> dateParts(const std::string& value)
{
    if (!notice::isoDate(value))
        return std::nullopt;
    std::array<std::string, 3> parts;
    notice::splitDate(notice::formatNtcDate(value), parts[kYear], parts[kMonth], parts[kDay]);
    for (std::string& p : parts)
        p = platform::padded(platform::parseInteger(p).value_or(0), 1);
    return parts;
}

std::string boxText(const NoticeForm& form, const ControlRow& row)
{
    if (const auto* e = form.control<QLineEdit>(row.name))
        return e->text().toStdString();
    if (const auto* c = form.control<QComboBox>(row.name))
        return c->currentText().toStdString();
    return {};
}

// Places the text with the cursor at its start, so that a long text shows its beginning.
void setBoxText(NoticeForm& form, const ControlRow& row, const std::string& text)
{
    if (auto* e = form.control<QLineEdit>(row.name)) {
        e->setText(qs(text));
        e->setCursorPosition(0);
    }
}

// The first item equal to the value, exactly; -1 for none.
int comboItem(const NoticeForm& form, const ControlRow& row, const std::string& value)
{
    const auto* c = form.control<QComboBox>(row.name);
    const QString v = qs(value);
    for (int i = 0; c && i < c->count(); ++i)
        if (c->itemText(i) == v)
            return i;
    return -1;
}

void writeRow(const ControlRow& row, const NoticeRecord& rec, NoticeForm& form)
{
    const std::string& value = valueOf(row, rec);
    if (value.empty() || !shownFor(ruleOf(*row.field).when, rec.notice_typ, form.kind()) ||
        !partFlagsSet(partFlags(row), rec))
        return;
    if (row.kind == Kind::ComboBox) {
        if (const int i = comboItem(form, row, value); i >= 0)
            form.control<QComboBox>(row.name)->setCurrentIndex(i);
    } else if (row.field->kind == notice::ValueKind::Date) {
        if (const auto parts = dateParts(value))
            setBoxText(form, row, (*parts)[std::size_t(row.part)]);
    } else {
        setBoxText(form, row, padded(row, value));
    }
}

// The option standing for the value, intents in any case; nullptr for none.
const ControlRow* optionFor(const ControlTable& table, std::string_view group, const std::string& value)
{
    const std::string v = group == kIntent ? notice::upperValue(value) : value;
    for (const ControlRow& row : table)
        if (isOption(row, group) && row.value == v)
            return &row;
    return nullptr;
}

// Selects one option and clears the others of its group first, so that only the option chosen
// reacts.
void selectOption(NoticeForm& form, std::string_view group, const ControlRow& chosen)
{
    for (const ControlRow& row : form.controls())
        if (auto* b = form.control<QRadioButton>(row.name); b && isOption(row, group) && &row != &chosen)
            setOptionOff(*b);
    if (auto* b = form.control<QRadioButton>(chosen.name))
        b->setChecked(true);
}

const ControlRow* selectedOption(const NoticeForm& form, const ControlTable& table, std::string_view group)
{
    for (const ControlRow& row : table)
        if (const auto* b = form.control<QRadioButton>(row.name); b && isOption(row, group) && b->isChecked())
            return &row;
    return nullptr;
}

// The record's list of azimuth values, const with a const record.
template <class Record>
auto* azimuthList(Record& rec, SlotList list)
{
    using Slots = std::remove_reference_t<decltype((rec.effHgt))>;
    switch (list) {
    case SlotList::EffHgt: return &rec.effHgt;
    case SlotList::AttnH: return &rec.attnH;
    case SlotList::AttnV: return &rec.attnV;
    default: return static_cast<Slots*>(nullptr);
    }
}

void writeAzimuths(const NoticeRecord& rec, NoticeForm& form, SlotList list)
{
    const auto& values = *azimuthList(rec, list);
    for (const ControlRow& row : form.controls())
        if (row.list == list && !values[std::size_t(row.slot)].second.empty())
            setBoxText(form, row, values[std::size_t(row.slot)].second);
}

void readAzimuths(NoticeRecord& rec, const NoticeForm& form, SlotList list)
{
    auto& values = *azimuthList(rec, list);
    for (const ControlRow& row : form.controls()) {
        if (row.list != list)
            continue;
        std::string text = boxText(form, row);
        if (text.empty())
            continue;
        notice::FlaggedPair& slot = values[std::size_t(row.slot)];
        slot.flag = true;
        slot.first = platform::padded(10 * row.slot, 1);
        slot.second = std::move(text);
    }
}

bool holdsValue(const notice::AzimuthSlots& values)
{
    for (const notice::FlaggedPair& s : values)
        if (!s.second.empty())
            return true;
    return false;
}

// What a combo box gives: its text, or while it is empty the value it could not show.
std::string comboValue(const ControlRow* row, const NoticeForm& form, const NoticeRecord* kept)
{
    if (!row)
        return {};
    std::string text = boxText(form, *row);
    if (text.empty() && kept && comboItem(form, *row, valueOf(*row, *kept)) < 0)
        return valueOf(*row, *kept);
    return text;
}

// The station as stored, where a suppression or withdrawal does not read it.
void keepStation(NoticeRecord& rec, const NoticeRecord& kept)
{
    for (const FormType& type : formTypes())
        for (const ControlRow& row : type.controls())
            if (isValue(row) && ruleOf(*row.field).block == Block::Station)
                valueOf(row, rec) = valueOf(row, kept);
    rec.stn_cls = kept.stn_cls;
    rec.opPeriod = kept.opPeriod;
    rec.coordAdm = kept.coordAdm;
    rec.effHgt = kept.effHgt;
    rec.attnH = kept.attnH;
    rec.attnV = kept.attnV;
}

// The fields that only the other form has a control for.
void keepOtherForms(NoticeRecord& rec, const NoticeRecord& kept, int kind)
{
    const ControlTable& own = controlsOf(kind);
    for (const FormType& other : formTypes())
        for (const ControlRow& row : other.controls())
            if (other.kind != kind && isValue(row) && !rowOf(own, *row.field))
                valueOf(row, rec) = valueOf(row, kept);
}

// The text box that shows part `part` of the field, or nullptr.
QLineEdit* boxOf(const NoticeForm& form, const NoticeField& field, int part)
{
    for (const ControlRow& row : form.controls())
        if (row.kind == Kind::TextBox && row.field == &field && row.part == part)
            return form.control<QLineEdit>(row.name);
    return nullptr;
}

// The intent an update saves: the option chosen, or the stored one that no option stands for.
std::string intentRead(const NoticeForm& form, const ControlTable& table, const NoticeRecord* kept)
{
    if (const ControlRow* intent = selectedOption(form, table, kIntent))
        return intent->value;
    if (kept && !optionFor(table, kIntent, kept->intent))
        return kept->intent;
    return {};
}

// Whether an update reads the row's value under the intent and polarisation: a suppression or
// withdrawal reads no station, an addition no target, and an ERP box only for its polarisation.
bool reads(const ControlRow& row, const std::string& intent, const std::string& polar)
{
    const FieldRule rule = ruleOf(*row.field);
    return !(rule.block == Block::Station && notice::endsStation(intent)) &&
           !(rule.block == Block::Target && !notice::hasTarget(intent)) && polarHas(rule.when, polar);
}

// The stamp of the update, the intent, the notice type and the fragment.
void readHeadFromScreen(NoticeRecord& rec, const NoticeForm& form, const ControlTable& table, int kind,
                        const NoticeRecord* kept)
{
    rec.flag = true;
    rec.d_updated = platform::shortDate(platform::now());
    rec.src_update = notice::getWinUserName();

    const ControlRow* intent = selectedOption(form, table, kIntent);
    rec.intent = intentRead(form, table, kept);
    rec.notice_typ = intent && notice::endsStation(intent->value) ? notice::kTargetType : formTypeOf(kind)->noticeType;

    if (const ControlRow* fragment = selectedOption(form, table, kFragment))
        rec.fragment = fragment->value;
    else if (kept && !optionFor(table, kFragment, kept->fragment))
        rec.fragment = kept->fragment;
}

// The value a box or list gives its field; nothing where the field keeps its value.
std::optional<std::string> rowValue(const ControlRow& row, const NoticeForm& form, int kind, const NoticeRecord* kept)
{
    const FieldRule rule = ruleOf(*row.field);
    std::string value;
    if (row.kind == Kind::ComboBox)
        value = comboValue(&row, form, kept);
    else if (value = boxText(form, row); !value.empty())
        value = padded(row, value);
    else if (kept && !shownFor(rule.when, kept->notice_typ, kind))
        value = valueOf(row, *kept);
    if (value.empty() && !rule.readEmpty)
        return std::nullopt;
    return value;
}

// The day, month and year boxes of each date field.
using DateBoxes = std::map<const NoticeField*, std::array<std::string, 3>>;

// Each date from its boxes; a date the boxes could not show keeps the value it had.
void readDates(NoticeRecord& rec, const DateBoxes& dates, const NoticeRecord* kept)
{
    for (const auto& [field, parts] : dates) {
        std::string& value = notice::fieldOf(*field, rec);
        value = notice::joinDate(parts[kYear], parts[kMonth], parts[kDay]);
        const std::string* old = kept ? &notice::valueOf(*field, *kept) : nullptr;
        if (old && parts == std::array<std::string, 3>{} && !dateParts(*old))
            value = *old;
    }
}

// The boxes and lists read under the intent and the polarisation.
void readValuesFromScreen(NoticeRecord& rec, const NoticeForm& form, const ControlTable& table, int kind,
                          const NoticeRecord* kept, const std::string& polar)
{
    DateBoxes dates;
    for (const ControlRow& row : table) {
        if (!isValue(row) || !reads(row, rec.intent, polar))
            continue;
        if (row.kind != Kind::ComboBox && row.field->kind == notice::ValueKind::Date) {
            dates[row.field][std::size_t(row.part)] = boxText(form, row);
            continue;
        }
        if (std::optional<std::string> value = rowValue(row, form, kind, kept)) {
            valueOf(row, rec) = std::move(*value);
            notice::setFlags(rec, partFlags(row));
        }
    }
    readDates(rec, dates, kept);
}

}  // namespace

void copyTargetToStationBoxes(NoticeForm& form)
{
    for (const notice::TargetField& t : notice::targetFields())
        for (int part = 0; part < notice::partCount(t.target); ++part) {
            QLineEdit* own = boxOf(form, t.own, part);
            const QLineEdit* target = boxOf(form, t.target, part);
            if (own && target && own->text().isEmpty()) {
                own->setText(target->text());
                own->setCursorPosition(0);
            }
        }
}

void connectIntentChange(NoticeForm& form)
{
    // Whether the intent was a suppression or withdrawal when the user pressed the option: by
    // the click, the option chosen before is already off.
    auto fromEnded = std::make_shared<bool>(false);
    for (const ControlRow& row : form.controls()) {
        auto* b = form.control<QRadioButton>(row.name);
        if (!b || !isOption(row, kIntent) || notice::endsStation(row.value))
            continue;
        QObject::connect(b, &QAbstractButton::pressed, b, [&form, fromEnded] {
            const ControlRow* on = selectedOption(form, form.controls(), kIntent);
            *fromEnded = on && notice::endsStation(on->value);
        });
        QObject::connect(b, &QAbstractButton::clicked, b, [&form, fromEnded] {
            if (std::exchange(*fromEnded, false))
                copyTargetToStationBoxes(form);
        });
    }
}

void connectOptionReactions(NoticeForm& form, std::function<void(QRadioButton&)> react)
{
    for (const ControlRow& row : form.controls())
        if (auto* b = form.control<QRadioButton>(row.name)) {
            QObject::connect(b, &QRadioButton::toggled, b, [b, react](bool on) {
                if (on)
                    react(*b);
            });
        }
}

void writeNtcToScreen(const NoticeRecord& rec, NoticeForm& form)
{
    if (!rec.flag)
        return;
    // The intent first: the reaction to a fragment depends on it.
    for (const auto& [group, value] : {std::pair{kIntent, &rec.intent}, std::pair{kFragment, &rec.fragment}})
        if (const ControlRow* option = optionFor(form.controls(), group, *value))
            selectOption(form, group, *option);
    for (const ControlRow& row : form.controls())
        if (isValue(row))
            writeRow(row, rec, form);
    writeCoordAdmToScreen(rec, form);
    writeEffHgtToScreen(rec, form);
    // A list of unknown polarisation is shown whenever it holds a value.
    const bool known = notice::isKnownPolarisation(rec.polar);
    if (notice::carriesPattern(rec.polar, rec.ant_dir, notice::Component::Horizontal) &&
        (known || holdsValue(rec.attnH)))
        writeAttnHToScreen(rec, form);
    if (notice::carriesPattern(rec.polar, rec.ant_dir, notice::Component::Vertical) &&
        (known || holdsValue(rec.attnV)))
        writeAttnVToScreen(rec, form);
    form.setShownRecord(rec);
}

void writeCoordAdmToScreen(const NoticeRecord& rec, NoticeForm& form)
{
    if (!rec.coordAdm.flag)
        return;
    for (const ControlRow& row : form.controls())
        if (row.list == SlotList::CoordAdm && !rec.coordAdm.adm[std::size_t(row.slot)].empty())
            setBoxText(form, row, rec.coordAdm.adm[std::size_t(row.slot)]);
}

void writeEffHgtToScreen(const NoticeRecord& rec, NoticeForm& form) { writeAzimuths(rec, form, SlotList::EffHgt); }
void writeAttnHToScreen(const NoticeRecord& rec, NoticeForm& form) { writeAzimuths(rec, form, SlotList::AttnH); }
void writeAttnVToScreen(const NoticeRecord& rec, NoticeForm& form) { writeAzimuths(rec, form, SlotList::AttnV); }

void readCoordAdmFromScreen(NoticeRecord& rec, const NoticeForm& form)
{
    for (const ControlRow& row : form.controls()) {
        if (row.list != SlotList::CoordAdm)
            continue;
        std::string text = boxText(form, row);
        if (text.empty())
            continue;
        rec.coordAdm.adm[std::size_t(row.slot)] = std::move(text);
        rec.coordAdm.flag = true;
    }
}

void readEffHgtFromScreen(NoticeRecord& rec, const NoticeForm& form) { readAzimuths(rec, form, SlotList::EffHgt); }
void readAttnHFromScreen(NoticeRecord& rec, const NoticeForm& form) { readAzimuths(rec, form, SlotList::AttnH); }
void readAttnVFromScreen(NoticeRecord& rec, const NoticeForm& form) { readAzimuths(rec, form, SlotList::AttnV); }

std::vector<const ControlRow*> rowsRead(const NoticeForm& form)
{
    const ControlTable& table = form.controls();
    const NoticeRecord* kept = form.shownRecord();
    const std::string intent = intentRead(form, table, kept);
    const std::string polar = comboValue(rowOf(table, noticeField("t_polar")), form, kept);
    std::vector<const ControlRow*> rows;
    for (const ControlRow& row : table)
        if (isValue(row) && reads(row, intent, polar))
            rows.push_back(&row);
    return rows;
}

namespace {

// The station class and lists of an addition or a modification.
void readStationFromScreen(NoticeRecord& rec, const NoticeForm& form, const NoticeRecord* kept,
                           const std::string& polar, const std::string& antDir)
{
    rec.stn_cls = notice::stationClass(rec.notice_typ);
    readCoordAdmFromScreen(rec, form);
    readEffHgtFromScreen(rec, form);
    if (notice::carriesPattern(polar, antDir, notice::Component::Horizontal))
        readAttnHFromScreen(rec, form);
    if (notice::carriesPattern(polar, antDir, notice::Component::Vertical))
        readAttnVFromScreen(rec, form);
    // The thirteenth administration has no box.
    if (kept && !kept->coordAdm.adm.back().empty()) {
        rec.coordAdm.adm.back() = kept->coordAdm.adm.back();
        rec.coordAdm.flag = true;
    }
}

}  // namespace

void readNtcFromScreen(NoticeRecord& rec, const NoticeForm& form, int kind)
{
    const ControlTable& table = controlsOf(kind);
    const NoticeRecord* kept = form.shownRecord();
    readHeadFromScreen(rec, form, table, kind, kept);
    const bool stationEnds = notice::endsStation(rec.intent);

    // The polarisation and directivity that the ERP and attenuation boxes are read under.
    const std::string polar = comboValue(rowOf(table, noticeField("t_polar")), form, kept);
    const std::string antDir = comboValue(rowOf(table, noticeField("zel_ant_dir")), form, kept);
    readValuesFromScreen(rec, form, table, kind, kept, polar);

    if (kept)
        keepOtherForms(rec, *kept, kind);
    if (!stationEnds) {
        readStationFromScreen(rec, form, kept, polar, antDir);
        return;
    }
    if (kept)
        keepStation(rec, *kept);
    // Only a suppression or withdrawal takes its own identification from the target.
    notice::copyTargetToNtc(rec);
}

}  // namespace forms
