#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using forms::NoticeForm;

namespace {

struct ListCase {
    int kind;
    std::map<std::string, std::vector<std::string>> lists;  // every list of the form, as loaded
};

const ListCase kLists[] = {
    {forms::kTvForm,
     {{"Combo_7A1_FreqStabl", {"", "RELAXED", "NORMAL", "PRECISION"}},
      {"Combo_7C2_Color_Sys", {"", "NTSC", "PAL", "SECAM"}},
      {"Combo_9_AntDir", {"", "D", "ND"}},
      {"Combo_9D_Polariz", {"", "H", "V", "M"}}}},
    {forms::kSoundForm, {{"Combo_9_AntDir", {"", "D", "ND"}}, {"Combo_9D_Polariz", {"", "H", "V", "M"}}}},
};

std::vector<std::string> itemsOf(const QComboBox* combo)
{
    std::vector<std::string> items;
    for (int i = 0; i < combo->count(); ++i)
        items.push_back(combo->itemText(i).toStdString());
    return items;
}

std::unique_ptr<NoticeForm> shown(int kind)
{
    auto form = forms::loadNtcForm(kind, app::Language::English);
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    return form;
}

}  // namespace

TEST(FormLoad, EachLoadStartsAfreshWithTheVersionOnceAndEachListFilledOnce)
{
    for (const ListCase& c : kLists) {
        for (int load = 0; load < 2; ++load) {
            auto form = forms::loadNtcForm(c.kind, app::Language::English);
            EXPECT_EQ(form->windowTitle().count("ZEL Ostrel KOLV"), 1);
            EXPECT_TRUE(form->control<QCheckBox>("ChkValidate")->isChecked());
            EXPECT_TRUE(form->control<QCheckBox>("ChkClearFields")->isChecked());
            int lists = 0;
            for (QComboBox* combo : form->findChildren<QComboBox*>()) {
                const auto expected = c.lists.find(combo->objectName().toStdString());
                ASSERT_NE(expected, c.lists.end()) << combo->objectName().toStdString();
                EXPECT_EQ(itemsOf(combo), expected->second);
                EXPECT_EQ(combo->currentIndex(), -1);
                EXPECT_TRUE(combo->currentText().isEmpty());
                EXPECT_FALSE(combo->isEditable());
                ++lists;
            }
            EXPECT_EQ(lists, int(c.lists.size()));
            // What this load changes stays with it.
            form->setWindowTitle("changed");
            form->control<QLineEdit>("Txt_B_Adm")->setText("F");
            forms::unloadNtcScreen(*form);
        }
    }
    // A type that is neither form's changes nothing.
    auto form = forms::loadNtcForm(forms::kTvForm, app::Language::English);
    const QString title = form->windowTitle();
    forms::initNtcScreen(*form, "DS1", app::Language::French);
    EXPECT_EQ(form->windowTitle(), title);
    EXPECT_EQ(form->control<QComboBox>("Combo_9_AntDir")->count(), 3);
    EXPECT_EQ(forms::loadNtcForm(0, app::Language::English), nullptr);
}

TEST(FormLoad, ReturnAndEscapePressNoButtonAndLeaveTheFormOpen)
{
    for (int kind : {forms::kTvForm, forms::kSoundForm}) {
        auto form = shown(kind);
        EXPECT_EQ(form->focusWidget(), form->control("Txt_Ntc_DD"));  // the first tab stop
        int clicks = 0;
        for (QPushButton* button : form->findChildren<QPushButton*>()) {
            EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
            EXPECT_FALSE(button->isDefault()) << button->objectName().toStdString();
            QObject::connect(button, &QPushButton::clicked, [&clicks] { ++clicks; });
        }
        for (const char* box : {"Txt_B_Adm", "Txt_1A_FreqAssgn", "Txt_Internal_Rmks"}) {
            QWidget* w = form->control(box);
            w->setFocus();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(w, key);
        }
        QTest::keyClick(form.get(), Qt::Key_Escape);
        EXPECT_EQ(clicks, 0);

        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(form->isUnloaded());
    }
}

TEST(FormLoad, ClosingTheWindowUnloadsTheFormAndEndsItsModalShow)
{
    auto form = forms::loadNtcForm(forms::kSoundForm, app::Language::English);
    QTimer::singleShot(0, form.get(), [&form] { form->close(); });
    forms::showModal(*form);  // the program's own show: returns once the window is closed
    EXPECT_TRUE(form->isUnloaded());
    EXPECT_FALSE(form->isVisible());
    forms::showModal(*form);  // an unloaded form is not shown again
    EXPECT_FALSE(form->isVisible());
}

TEST(FormLoad, TestsActOnEachFormShownThroughTheSeam)
{
    std::vector<std::string> seen;
    forms::ModalShow previous = forms::setModalShow([&seen](NoticeForm& form) {
        const QString adm = form.control<QLineEdit>("Txt_B_Adm")->text();
        seen.push_back((form.objectName() + " " + adm).toStdString());
        forms::unloadNtcScreen(form);
    });
    for (int kind : {forms::kTvForm, forms::kSoundForm}) {
        auto form = forms::loadNtcForm(kind, app::Language::English);
        form->control<QLineEdit>("Txt_B_Adm")->setText("HOL");
        forms::showModal(*form);
        EXPECT_TRUE(form->isUnloaded());
    }
    forms::setModalShow(std::move(previous));
    EXPECT_EQ(seen, (std::vector<std::string>{"TvFrmT02M HOL", "FmFrmT01M HOL"}));
}

TEST(FormLoad, TypingStopsAtEachBoxsLimit)
{
    constexpr int kReadOnly = -1;  // the box takes no typing at all
    std::map<std::string, int> limits = {
        {"Txt_Ntc_DD", 2}, {"Txt_Ntc_MM", 2}, {"Txt_Ntc_YY", 4}, {"Txt_AdmRefID", 20}, {"Txt_B_Adm", 3},
        {"Txt_3A1_CallSign", 10}, {"Txt_3A2_StationID", 20}, {"Txt_4A_SiteName", 30}, {"Txt_4B_GeoArea", 3},
        {"Txt_9EA_SiteAlt", 5}, {"Txt_1A_FreqAssgn", 6}, {"Txt_8BH_Erp_H", 5}, {"Txt_8BV_Erp_V", 5},
        {"Txt_8D_Pwr_Ratio", 2}, {"Txt_7C1_TvSys", 2}, {"Txt_1E_Lf", 4}, {"Txt_1E_kHz", 4}, {"Txt_9E_AntHgt", 3},
        {"Txt_9EB_Eff_hgtmax", 5}, {"Txt_TrgAdmRefID", 20}, {"Txt_01A_TrgFreq", 6}, {"Txt_12A_OpAgcy", 3},
        {"Txt_12B_AddrCde", 2}, {"Txt_10B_Ophhfr", 4}, {"Txt_10B_Ophhto", 4}, {"Txt_2C_DD", 2}, {"Txt_2C_MM", 2},
        {"Txt_2C_YY", 4}, {"Txt_70_BDWdth", 3}, {"Txt_7D_TranSys", 2}, {"Txt_Filename", kReadOnly}, {"Txt_Ntc_Number", kReadOnly},
        {"Txt_notified_Rmks", 0}, {"Txt_Internal_Rmks", 0}};
    for (const char* prefix : {"Txt_4C_", "Txt_04C_"})
        for (const auto& [part, limit] : std::map<std::string, int>{{"Deg_Long", 3}, {"Min_Long", 2}, {"Sec_Long", 2},
                                                                    {"EW", 1}, {"Deg_Lat", 2}, {"Min_Lat", 2},
                                                                    {"Sec_Lat", 2}, {"NS", 1}})
            limits[prefix + part] = limit;
    for (int i = 1; i <= 12; ++i)
        limits["Txt_11_Adm" + std::to_string(i)] = 3;
    const QString typed = "1234567890123456789012345678901234";
    for (int kind : {forms::kTvForm, forms::kSoundForm}) {
        auto form = shown(kind);
        for (QLineEdit* box : form->findChildren<QLineEdit*>()) {
            const std::string name = box->objectName().toStdString();
            int limit = 0;
            if (name.starts_with("Txt_9EC_azm"))
                limit = 5;
            else if (name.starts_with("Txt_9NHAzm") || name.starts_with("Txt_9NVAzm"))
                limit = 4;
            else if (limits.count(name))
                limit = limits[name];
            else
                ADD_FAILURE() << name << " has no limit in this test";
            QTest::keyClicks(box, typed);
            EXPECT_EQ(box->text().size(), limit == kReadOnly ? 0 : limit ? limit : typed.size()) << name;
        }
    }
}

TEST(FormLoad, APasteIsCutAtTheLimitAndWhatTheProgramPlacesIsKept)
{
    auto form = shown(forms::kTvForm);
    auto* box = form->control<QLineEdit>("Txt_B_Adm");
    box->setFocus();
    QApplication::clipboard()->setText("HOLLAND");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "HOL");
    EXPECT_EQ(box->cursorPosition(), 3);
    box->clear();
    QApplication::clipboard()->setText("HO");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), "HOH");
    QTest::keyClick(box, Qt::Key_Home);
    QApplication::clipboard()->setText("XY");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);  // a full box takes nothing more
    EXPECT_EQ(box->text(), "HOH");
    box->setText("H");
    box->setCursorPosition(0);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);  // cut where it stands, not at the end
    EXPECT_EQ(box->text(), "XYH");
    box->setText("HO");
    box->end(false);
    QTest::keyClicks(box, "LX");
    EXPECT_EQ(box->text(), "HOL");

    box->setText("NETHERLANDS");  // placed by the program: kept whole
    EXPECT_EQ(box->text(), "NETHERLANDS");
    box->end(false);
    QTest::keyClicks(box, "X");
    EXPECT_EQ(box->text(), "NETHERLANDS");
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), "NETHERLAND");
    QTest::keyClick(box, Qt::Key_Tab);  // leaving a long box is allowed
    EXPECT_FALSE(box->hasFocus());
}
