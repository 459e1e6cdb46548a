#include "forms/common/FormBuilder.h"
#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

using forms::Kind;
using forms::NoticeForm;

namespace {

std::unique_ptr<NoticeForm> load(int kind)
{
    auto form = forms::loadNtcForm(kind, app::Language::English);
    EXPECT_NE(form, nullptr);
    return form;
}

// What the widget is, told from its Qt class alone.
Kind kindOf(const QWidget* w)
{
    if (qobject_cast<const QLineEdit*>(w)) return Kind::TextBox;
    if (qobject_cast<const QComboBox*>(w)) return Kind::ComboBox;
    if (qobject_cast<const QRadioButton*>(w)) return Kind::OptionButton;
    if (qobject_cast<const QCheckBox*>(w)) return Kind::CheckBox;
    if (qobject_cast<const QPushButton*>(w)) return Kind::CommandButton;
    if (qobject_cast<const QGroupBox*>(w)) return Kind::Frame;
    return Kind::Label;
}

struct Group {
    std::string container;
    Kind kind;
    std::vector<std::string> names;
};

std::vector<std::string> numbered(const std::string& stem, int count)
{
    std::vector<std::string> names;
    for (int i = 1; i <= count; ++i)
        names.push_back(stem + std::to_string(i));
    return names;
}

std::vector<std::string> azimuths(const std::string& family)
{
    std::vector<std::string> names;
    for (int deg = 0; deg <= 350; deg += 10) {
        std::string digits = std::to_string(deg);
        names.push_back(family + std::string(3 - digits.size(), '0') + digits);
    }
    return names;
}

const std::vector<Group> kBothForms = {
    {"", Kind::TextBox, {"Txt_Filename", "Txt_Ntc_Number", "Txt_notified_Rmks", "Txt_Internal_Rmks"}},
    {"", Kind::CommandButton, {"Button_Prev_Ntc", "Button_Next_Ntc", "Button_Next", "Button_Finish", "Button_Reset"}},
    {"", Kind::CheckBox, {"ChkClearFields", "ChkValidate"}},
    {"", Kind::Label, {"Lbl_Filename", "Lbl_Ntc_Number", "Lbl_Notified_Rmks", "Lbl_Internal_Rmks"}},
    {"", Kind::Frame, {"FrameNotice", "FrameCoord", "Frame_9EC_EffAntHeight", "Frame_9NH_AttnH", "Frame_9NV_AttnV"}},
    {"FrameNotice", Kind::TextBox,
     {"Txt_Ntc_DD", "Txt_Ntc_MM", "Txt_Ntc_YY", "Txt_AdmRefID", "Txt_B_Adm", "Txt_3A1_CallSign", "Txt_3A2_StationID",
      "Txt_4A_SiteName", "Txt_4B_GeoArea", "Txt_4C_Deg_Long", "Txt_4C_Min_Long", "Txt_4C_Sec_Long", "Txt_4C_EW",
      "Txt_4C_Deg_Lat", "Txt_4C_Min_Lat", "Txt_4C_Sec_Lat", "Txt_4C_NS", "Txt_9EA_SiteAlt", "Txt_1A_FreqAssgn",
      "Txt_8BH_Erp_H", "Txt_8BV_Erp_V", "Txt_9E_AntHgt", "Txt_9EB_Eff_hgtmax"}},
    {"FrameNotice", Kind::ComboBox, {"Combo_9D_Polariz", "Combo_9_AntDir"}},
    {"FrameNotice", Kind::Frame, {"FrameFrg", "FrameIntent", "FrameTrg", "Frame_A11_Only"}},
    {"FrameNotice", Kind::Label,
     {"Lbl_B_Adm", "Lbl_3A1_CallSign", "Lbl_3A2_StationID", "Lbl_4A_Sitename", "Lbl_4B_GeoArea", "Lbl_4C",
      "Lbl_9EA_SiteAlt", "Lbl_1A_FreqAssgn", "Lbl_9D_Polariz", "Lbl_8BH_Erp_H", "Lbl_8BV_Erp_V", "Lbl_9_AntDir",
      "Lbl_9E_AntHgt", "Lbl_9EB_Eff_hgtmax", "Lbl_9E_unit", "Lbl_9EB_unit", "Lbl_DNtc", "Lbl_AdmRefID", "Lbl_4C_Lat",
      "Lbl_4C_Long"}},
    {"FrameFrg", Kind::OptionButton, {"OptFrg_St61", "OptFrg_A11"}},
    {"FrameIntent", Kind::OptionButton, {"OptInt_Add", "OptInt_Mod", "OptInt_Sup", "OptInt_Wdraw"}},
    {"FrameTrg", Kind::TextBox,
     {"Txt_TrgAdmRefID", "Txt_01A_TrgFreq", "Txt_04C_Deg_Long", "Txt_04C_Min_Long", "Txt_04C_Sec_Long", "Txt_04C_EW",
      "Txt_04C_Deg_Lat", "Txt_04C_Min_Lat", "Txt_04C_Sec_Lat", "Txt_04C_NS"}},
    {"FrameTrg", Kind::Label,
     {"Lbl_01A_TrgFreq", "Lbl_FreqUnit", "Lbl_04C", "Lbl_TrgAdmRefID", "Lbl_04C_Long", "Lbl_04C_Lat"}},
    {"Frame_A11_Only", Kind::TextBox,
     {"Txt_12A_OpAgcy", "Txt_12B_AddrCde", "Txt_10B_Ophhfr", "Txt_10B_Ophhto", "Txt_2C_DD", "Txt_2C_MM", "Txt_2C_YY"}},
    {"Frame_A11_Only", Kind::Label,
     {"Lbl_12A_OpAgcy", "Lbl_12B_AddrCde", "Lbl_10B_Ophh", "Lbl_2C", "Lbl_10B_OphhFr", "Lbl_10B_OphhTo"}},
    {"FrameCoord", Kind::TextBox, numbered("Txt_11_Adm", 12)},
    {"FrameCoord", Kind::Label, {"Lbl_11_CoordAdm"}},
    {"Frame_9EC_EffAntHeight", Kind::TextBox, azimuths("Txt_9EC_azm")},
    {"Frame_9EC_EffAntHeight", Kind::Label, {"Lbl_9EC_Azm0_350"}},
    {"Frame_9NH_AttnH", Kind::TextBox, azimuths("Txt_9NHAzm")},
    {"Frame_9NH_AttnH", Kind::Label, {"Lbl_9NH_Azm0_350"}},
    {"Frame_9NV_AttnV", Kind::TextBox, azimuths("Txt_9NVAzm")},
    {"Frame_9NV_AttnV", Kind::Label, {"Lbl_9NV_Azm0_350"}},
};

const std::vector<Group> kTvOnly = {
    {"FrameNotice", Kind::TextBox, {"Txt_8D_Pwr_Ratio", "Txt_7C1_TvSys", "Txt_1E_Lf", "Txt_1E_kHz"}},
    {"FrameNotice", Kind::ComboBox, {"Combo_7A1_FreqStabl", "Combo_7C2_Color_Sys"}},
    {"FrameNotice", Kind::Label,
     {"Lbl_7A1_FreqStabl", "Lbl_8D_PwrRatio", "Lbl_7C1_TvSys", "Lbl_7C2_ColorSys", "Lbl_1E", "Lbl_1E_LF",
      "Lbl_1E_kHz_Sign", "Lbl_1E_kHz"}},
    {"FrameFrg", Kind::OptionButton, {"OptFrg_Ge89"}},
};

const std::vector<Group> kSoundOnly = {
    {"FrameNotice", Kind::TextBox, {"Txt_70_BDWdth", "Txt_7D_TranSys"}},
    {"FrameNotice", Kind::Label, {"Lbl_7A0_Bdwdth", "Lbl_7A0_BDWdth_unit", "Lbl_7D_TranSys"}},
    {"FrameFrg", Kind::OptionButton, {"OptFrg_Ge84"}},
};

struct FormCase {
    int kind;
    std::size_t controls;
    const std::vector<Group>& own;
    const std::vector<Group>& other;
};

const FormCase kForms[] = {
    {forms::kTvForm, 243, kTvOnly, kSoundOnly},
    {forms::kSoundForm, 234, kSoundOnly, kTvOnly},
};

// The controls the form's widgets name, by name.
std::map<std::string, QWidget*> namedWidgets(NoticeForm& form)
{
    std::map<std::string, QWidget*> byName;
    for (QWidget* w : form.findChildren<QWidget*>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
            byName[w->objectName().toStdString()] = w;
    return byName;
}

QRect inForm(QWidget* w, NoticeForm& form)
{
    return QRect(w->mapTo(&form, QPoint(0, 0)), w->size());
}

}  // namespace

TEST(FormControls, EachFormHasExactlyItsControlsWithTheirKindsAndContainers)
{
    for (const FormCase& c : kForms) {
        auto form = load(c.kind);
        std::map<std::string, QWidget*> widgets = namedWidgets(*form);
        std::set<std::string> expected;
        for (const auto* groups : {&kBothForms, &c.own})
            for (const Group& g : *groups)
                for (const std::string& name : g.names) {
                    expected.insert(name);
                    QWidget* w = widgets[name];
                    ASSERT_NE(w, nullptr) << name;
                    EXPECT_EQ(kindOf(w), g.kind) << name;
                    const QWidget* parent = w->parentWidget();
                    EXPECT_EQ(parent == form.get() ? "" : parent->objectName().toStdString(), g.container) << name;
                }
        for (const Group& g : c.other)
            for (const std::string& name : g.names)
                EXPECT_EQ(widgets.count(name), 0u) << name << " is not on form " << c.kind;
        EXPECT_EQ(expected.size(), c.controls);
        EXPECT_EQ(widgets.size(), c.controls);
        EXPECT_EQ(form->controls().size(), c.controls);
    }
}

TEST(FormControls, RectanglesGivenInTwipsArePlacedAtFifteenTwipsAPixel)
{
    struct Rect {
        int kind;  // 0 for both forms
        const char* name;
        int left, top, width, height;  // twips; a width of 0 leaves the size ours
    };
    const Rect rects[] = {
        {forms::kTvForm, "FrameNotice", 0, -105, 11955, 4305},
        {forms::kSoundForm, "FrameNotice", 0, -90, 11955, 4305},
        {forms::kTvForm, "FrameFrg", 2280, 120, 885, 870},
        {forms::kSoundForm, "FrameFrg", 2280, 120, 885, 840},
        {0, "FrameIntent", 3360, 120, 1080, 990},  // wider than designed, so that "Withdraw" shows whole
        {0, "FrameTrg", 0, 1200, 10350, 855},
        {0, "Frame_A11_Only", 4035, 3390, 7920, 915},
        {0, "FrameCoord", 0, 4170, 11970, 810},
        {0, "Frame_9EC_EffAntHeight", 75, 4995, 4440, 4815},
        {0, "Frame_9NH_AttnH", 4605, 4995, 3615, 4815},
        {0, "Frame_9NV_AttnV", 8340, 4980, 3615, 4815},
        {forms::kSoundForm, "Txt_70_BDWdth", 1470, 2940, 615, 285},
        {forms::kSoundForm, "Combo_9D_Polariz", 2880, 2910, 0, 0},
        {forms::kSoundForm, "Txt_8BH_Erp_H", 4065, 2940, 0, 0},
        {forms::kSoundForm, "Txt_8BV_Erp_V", 5655, 2940, 0, 0},
        {forms::kSoundForm, "Txt_7D_TranSys", 7275, 2940, 465, 285},
    };
    for (const FormCase& c : kForms) {
        auto form = load(c.kind);
        EXPECT_EQ(form->size(), QSize(15240 / 15, 10110 / 15));
        for (const Rect& r : rects) {
            if (r.kind != 0 && r.kind != c.kind)
                continue;
            const QRect g = form->control(r.name)->geometry();
            EXPECT_EQ(g.topLeft(), QPoint(r.left / 15, r.top / 15)) << r.name;
            if (r.width > 0) {
                EXPECT_EQ(g.size(), QSize(r.width / 15, r.height / 15)) << r.name;
            }
        }
    }
    auto sound = load(forms::kSoundForm);
    EXPECT_EQ(sound->control("Frame_9NH_AttnH")->geometry(), QRect(307, 333, 241, 321));
    EXPECT_EQ(sound->control("Txt_70_BDWdth")->geometry(), QRect(98, 196, 41, 19));
}

TEST(FormControls, NoControlLeavesItsContainerAndNoInputControlsOverlap)
{
    for (const FormCase& c : kForms) {
        auto form = load(c.kind);
        std::vector<std::pair<std::string, QRect>> inputs;
        for (const auto& [name, w] : namedWidgets(*form)) {
            const QRect box(QPoint(0, 0), w->parentWidget()->size());
            // A frame's top may lie above the form's own top edge, as its rectangle says.
            QRect g = w->geometry();
            if (name == "FrameNotice")
                g.setTop(0);
            EXPECT_TRUE(box.contains(g)) << name << " leaves its container on form " << c.kind;
            const Kind k = kindOf(w);
            if (k != Kind::Label && k != Kind::Frame)
                inputs.emplace_back(name, inForm(w, *form));
        }
        for (std::size_t i = 0; i < inputs.size(); ++i)
            for (std::size_t j = i + 1; j < inputs.size(); ++j)
                EXPECT_FALSE(inputs[i].second.intersects(inputs[j].second))
                    << inputs[i].first << " overlaps " << inputs[j].first;
    }
}

TEST(FormControls, AzimuthFramesHoldFourColumnsOfNineBoxesWithDegreeToolTips)
{
    for (const FormCase& c : kForms) {
        auto form = load(c.kind);
        for (const char* family : {"Txt_9EC_azm", "Txt_9NHAzm", "Txt_9NVAzm"}) {
            const std::vector<std::string> names = azimuths(family);
            for (int slot = 0; slot < 36; ++slot) {
                QWidget* w = form->control(names[std::size_t(slot)]);
                EXPECT_EQ(w->toolTip(), QString::number(slot * 10) + QString::fromUtf8("°"));
                QWidget* top = form->control(names[std::size_t(slot / 9 * 9)]);
                EXPECT_EQ(w->x(), top->x()) << names[std::size_t(slot)];  // same column as its column's first
                if (slot % 9 > 0) {
                    EXPECT_GT(w->y(), form->control(names[std::size_t(slot - 1)])->y());
                }
                if (slot >= 9) {
                    EXPECT_GT(w->x(), form->control(names[std::size_t(slot - 9)])->x());
                }
            }
        }
    }
}

TEST(FormControls, TheRightHandColumnRunsTopDownFromTheFileName)
{
    const char* column[] = {"Lbl_Filename", "Txt_Filename", "Lbl_Ntc_Number", "Txt_Ntc_Number", "Button_Next",
                            "Button_Finish", "Button_Reset", "ChkClearFields", "ChkValidate", "Lbl_Notified_Rmks",
                            "Txt_notified_Rmks", "Lbl_Internal_Rmks", "Txt_Internal_Rmks"};
    auto form = load(forms::kTvForm);
    int lastTop = -1;
    for (const char* name : column) {
        QWidget* w = form->control(name);
        EXPECT_GE(w->x(), 12000 / 15 - 10) << name;
        EXPECT_GT(w->y(), lastTop) << name;
        lastTop = w->y();
    }
    // The step buttons flank the number on its line.
    QWidget* number = form->control("Txt_Ntc_Number");
    EXPECT_LT(form->control("Button_Prev_Ntc")->x(), number->x());
    EXPECT_GT(form->control("Button_Next_Ntc")->x(), number->x());
    EXPECT_LE(std::abs(form->control("Button_Next_Ntc")->y() - number->y()), 4);
}

TEST(FormControls, ItemCodesAndCaptionsTakeTheirColours)
{
    const QColor blue(0, 0, 255), red(255, 0, 0), darkRed(128, 0, 0);
    auto form = load(forms::kTvForm);
    for (const char* name : {"Lbl_B_Adm", "Lbl_3A1_CallSign", "Lbl_9EB_Eff_hgtmax", "Lbl_1E", "Lbl_01A_TrgFreq",
                             "Lbl_04C", "Lbl_2C", "Lbl_12A_OpAgcy"})
        EXPECT_EQ(form->control(name)->palette().color(QPalette::WindowText), blue) << name;
    for (const char* name : {"Lbl_Filename", "Lbl_Ntc_Number"}) {
        EXPECT_EQ(form->control(name)->palette().color(QPalette::WindowText), darkRed) << name;
        EXPECT_TRUE(form->control(name)->font().bold()) << name;
    }
    for (const char* name : {"FrameTrg", "Frame_A11_Only"})
        EXPECT_TRUE(form->control(name)->styleSheet().contains(red.name())) << name;
    for (const char* name : {"Frame_9EC_EffAntHeight", "Frame_9NH_AttnH", "Frame_9NV_AttnV"})
        EXPECT_TRUE(form->control(name)->styleSheet().contains(blue.name())) << name;
    // A frame's colour is its caption's alone: the boxes inside keep the usual text colour.
    EXPECT_NE(form->control("Txt_TrgAdmRefID")->palette().color(QPalette::Text), red);
}

TEST(FormControls, TabVisitsTheInputControlsInTheirOrder)
{
    auto order = [](bool tv) {
        std::vector<std::string> names = {"Txt_Ntc_DD", "Txt_Ntc_MM", "Txt_Ntc_YY", tv ? "OptFrg_Ge89" : "OptFrg_Ge84",
                                          "OptFrg_St61", "OptFrg_A11", "OptInt_Add", "OptInt_Mod", "OptInt_Sup",
                                          "OptInt_Wdraw", "Txt_AdmRefID", "Txt_B_Adm", "Txt_3A1_CallSign",
                                          "Txt_3A2_StationID", "Txt_TrgAdmRefID", "Txt_01A_TrgFreq"};
        auto coordinates = [&names](const std::string& prefix) {
            for (const char* part : {"Deg_Long", "Min_Long", "Sec_Long", "EW", "Deg_Lat", "Min_Lat", "Sec_Lat", "NS"})
                names.push_back(prefix + part);
        };
        coordinates("Txt_04C_");
        names.insert(names.end(), {"Txt_4A_SiteName", "Txt_4B_GeoArea"});
        coordinates("Txt_4C_");
        names.insert(names.end(), {"Txt_9EA_SiteAlt", "Txt_1A_FreqAssgn"});
        if (tv)
            names.insert(names.end(), {"Combo_7A1_FreqStabl", "Combo_9D_Polariz", "Txt_8BH_Erp_H", "Txt_8BV_Erp_V",
                                       "Txt_8D_Pwr_Ratio", "Txt_7C1_TvSys", "Combo_7C2_Color_Sys", "Txt_1E_Lf",
                                       "Txt_1E_kHz"});
        else
            names.insert(names.end(),
                         {"Txt_70_BDWdth", "Combo_9D_Polariz", "Txt_8BH_Erp_H", "Txt_8BV_Erp_V", "Txt_7D_TranSys"});
        names.insert(names.end(), {"Combo_9_AntDir", "Txt_9E_AntHgt", "Txt_9EB_Eff_hgtmax", "Txt_12A_OpAgcy",
                                   "Txt_12B_AddrCde", "Txt_10B_Ophhfr", "Txt_10B_Ophhto", "Txt_2C_DD", "Txt_2C_MM",
                                   "Txt_2C_YY"});
        for (const std::string& n : numbered("Txt_11_Adm", 12))
            names.push_back(n);
        for (const char* family : {"Txt_9EC_azm", "Txt_9NHAzm", "Txt_9NVAzm"})
            for (const std::string& n : azimuths(family))
                names.push_back(n);
        names.insert(names.end(), {"Txt_notified_Rmks", "Txt_Internal_Rmks", "Button_Next", "Button_Finish",
                                   "Button_Reset", "Txt_Filename", "Txt_Ntc_Number", "ChkValidate", "ChkClearFields",
                                   "Button_Prev_Ntc", "Button_Next_Ntc"});
        return names;
    };
    for (const FormCase& c : kForms) {
        auto form = load(c.kind);
        const std::vector<std::string> expected = order(c.kind == forms::kTvForm);
        // Walk the focus chain from the first control, keeping the form's named input controls.
        std::vector<std::string> visited;
        QWidget* w = form->control(expected.front());
        for (std::size_t step = 0; step < 2 * expected.size() && visited.size() < expected.size(); ++step) {
            const Kind k = kindOf(w);
            const bool named = !w->objectName().isEmpty() && !w->objectName().startsWith("qt_");
            if (named && k != Kind::Label && k != Kind::Frame && (w->focusPolicy() & Qt::TabFocus))
                visited.push_back(w->objectName().toStdString());
            w = w->nextInFocusChain();
        }
        EXPECT_EQ(visited, expected) << "form " << c.kind;
    }
}

TEST(FormControls, AnOptionTurnsTheOthersOfItsFrameOffAndCodeCanTurnThemAllOff)
{
    for (const FormCase& c : kForms) {
        auto form = load(c.kind);
        auto option = [&form](const char* name) { return form->control<QRadioButton>(name); };
        int modOn = 0;
        QObject::connect(option("OptInt_Mod"), &QRadioButton::toggled, [&modOn](bool on) { modOn += on; });
        option("OptFrg_A11")->setChecked(true);
        option("OptInt_Add")->setChecked(true);
        option("OptInt_Mod")->setChecked(true);  // from code: its reaction is told
        EXPECT_EQ(modOn, 1);
        EXPECT_FALSE(option("OptInt_Add")->isChecked());
        EXPECT_TRUE(option("OptFrg_A11")->isChecked());  // another frame's group
        option("OptFrg_St61")->setChecked(true);
        EXPECT_FALSE(option("OptFrg_A11")->isChecked());
        EXPECT_TRUE(option("OptInt_Mod")->isChecked());
        for (const char* name : {"OptInt_Mod", "OptFrg_St61"})
            forms::setOptionOff(*option(name));
        for (QRadioButton* o : form->findChildren<QRadioButton*>())
            EXPECT_FALSE(o->isChecked()) << o->objectName().toStdString();
        EXPECT_EQ(modOn, 1);
    }
}
