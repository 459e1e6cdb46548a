#include "Visibility.h"

#include "FormBuilder.h"
#include "NoticeForm.h"
#include "notice/NoticeRules.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace forms {
namespace {

constexpr std::string_view kFrameA11 = "Frame_A11_Only";
constexpr std::string_view kFrameTrg = "FrameTrg";
constexpr std::string_view kFrameAttnH = "Frame_9NH_AttnH";
constexpr std::string_view kFrameAttnV = "Frame_9NV_AttnV";
constexpr std::string_view kAntDir = "Combo_9_AntDir";
constexpr std::string_view kPolar = "Combo_9D_Polariz";
constexpr std::string_view kFragments = "FrameFrg";
constexpr std::string_view kIntents = "FrameIntent";
constexpr std::string_view kArticle11 = "OptFrg_A11";
constexpr std::string_view kAdd = "OptInt_Add";
constexpr std::string_view kModify = "OptInt_Mod";
constexpr std::string_view kSuppress = "OptInt_Sup";
constexpr std::string_view kWithdraw = "OptInt_Wdraw";

void setShown(NoticeForm& form, std::string_view name, bool shown)
{
    if (QWidget* w = form.control(name))
        w->setVisible(shown);
}

// Empties a text box; puts a list on its empty item.
void clear(NoticeForm& form, std::string_view name)
{
    if (auto* box = form.control<QLineEdit>(name))
        box->clear();
    else if (auto* list = form.control<QComboBox>(name))
        list->setCurrentIndex(0);
}

// Shows or hides every control of the group, in table order: a hide moves the focus only
// forward to a control still shown, so the order never changes where it ends.
void showGroup(NoticeForm& form, Group group, bool shown)
{
    for (const ControlRow& row : form.controls())
        if (row.groups & group)
            setShown(form, row.name, shown);
}

// Empties every control of the group, in table order. Of the lists only the antenna lists answer
// a reset, and in either order they end with both attenuation frames shown.
void clearGroup(NoticeForm& form, Group group)
{
    for (const ControlRow& row : form.controls())
        if (row.groups & group)
            clear(form, row.name);
}

void clearAzimuths(NoticeForm& form, std::string_view family)
{
    for (int slot = 0; slot < 36; ++slot)
        clear(form, azimuthBoxName(family, slot));
}

// Turns off every option inside `container`.
void optionsOff(NoticeForm& form, std::string_view container)
{
    for (const ControlRow& row : form.controls())
        if (row.kind == Kind::OptionButton && row.container == container)
            setOptionOff(*form.control<QRadioButton>(row.name));
}

bool isOn(const NoticeForm& form, std::string_view option)
{
    const auto* b = form.control<QRadioButton>(option);
    return b && b->isChecked();
}

// A fragment option other than Article 11 is on.
bool otherFragmentOn(const NoticeForm& form)
{
    for (const ControlRow& row : form.controls())
        if (row.kind == Kind::OptionButton && row.container == kFragments && row.name != kArticle11 &&
            isOn(form, row.name))
            return true;
    return false;
}

QString listText(const NoticeForm& form, std::string_view name)
{
    const auto* list = form.control<QComboBox>(name);
    return list ? list->currentText() : QString();
}

}  // namespace

void hideFrameA11(NoticeForm& form) { setShown(form, kFrameA11, false); }
void showFrameA11(NoticeForm& form) { setShown(form, kFrameA11, true); }
void hideFrameTrg(NoticeForm& form) { setShown(form, kFrameTrg, false); }
void showFrameTrg(NoticeForm& form) { setShown(form, kFrameTrg, true); }
void hideFrameAttnH(NoticeForm& form) { setShown(form, kFrameAttnH, false); }
void showFrameAttnH(NoticeForm& form) { setShown(form, kFrameAttnH, true); }
void hideFrameAttnV(NoticeForm& form) { setShown(form, kFrameAttnV, false); }
void showFrameAttnV(NoticeForm& form) { setShown(form, kFrameAttnV, true); }

void hideStationBlock(NoticeForm& form)
{
    hideFrameA11(form);
    hideFrameAttnH(form);
    hideFrameAttnV(form);
    showGroup(form, kStationBlock, false);
}

void showStationBlock(NoticeForm& form)
{
    showFrameA11(form);
    showFrameAttnH(form);
    showFrameAttnV(form);
    showGroup(form, kStationBlock, true);
}

void clearOpData(NoticeForm& form) { clearGroup(form, kOpData); }
void clearTargetData(NoticeForm& form) { clearGroup(form, kTargetData); }
void clearAttnH(NoticeForm& form) { clearAzimuths(form, "Txt_9NHAzm"); }
void clearAttnV(NoticeForm& form) { clearAzimuths(form, "Txt_9NVAzm"); }
void clearEffHgt(NoticeForm& form) { clearAzimuths(form, "Txt_9EC_azm"); }

void clearFrgAndDate(NoticeForm& form)
{
    optionsOff(form, kFragments);
    clearGroup(form, kNoticeDate);
}

void clearStationData(NoticeForm& form)
{
    clearGroup(form, kStationData);
    // A list already on its empty item signals nothing; the rule follows the lists all the same.
    applyAntennaRule(form);
}

void clearIntent(NoticeForm& form)
{
    clearStationData(form);
    optionsOff(form, kIntents);
}

void showAllBlocks(NoticeForm& form)
{
    showStationBlock(form);
    showFrameTrg(form);
}

void resetForm(NoticeForm& form)
{
    clearIntent(form);
    clearOpData(form);
    clearTargetData(form);
    clearAttnH(form);
    clearAttnV(form);
    clearEffHgt(form);
    showAllBlocks(form);
}

void applyAntennaRule(NoticeForm& form)
{
    const QString dir = listText(form, kAntDir);
    const QString polar = listText(form, kPolar);
    bool showH = true;
    bool showV = true;
    if (dir == "ND") {
        showH = showV = false;
    } else if (dir == "D" && !polar.isEmpty()) {
        const std::string p = polar.toStdString();
        if (!notice::isKnownPolarisation(p))
            return;  // a polarisation the rule does not know leaves the frames as they are
        showH = notice::carriesHorizontal(p);
        showV = notice::carriesVertical(p);
    }
    setShown(form, kFrameAttnH, showH);
    setShown(form, kFrameAttnV, showV);
}

void applyChoice(NoticeForm& form, std::string_view control)
{
    const bool stationLess = isOn(form, kSuppress) || isOn(form, kWithdraw);
    if (control == kAdd || control == kModify) {
        if (control == kModify)
            showFrameTrg(form);
        showStationBlock(form);
        if (control == kAdd)
            hideFrameTrg(form);
        if (otherFragmentOn(form))
            hideFrameA11(form);
        applyAntennaRule(form);
    } else if (control == kSuppress || control == kWithdraw) {
        showFrameTrg(form);
        hideStationBlock(form);
    } else if (control == kArticle11) {
        if (!stationLess)
            showFrameA11(form);
    } else if (control == kAntDir || control == kPolar) {
        applyAntennaRule(form);
    } else if (const ControlRow* row = findRow(form.controls(), control);
               row && row->kind == Kind::OptionButton && row->container == kFragments) {
        hideFrameA11(form);
    }
}

}  // namespace forms
