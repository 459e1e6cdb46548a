// Gestures a user makes without thinking, sent to the widgets as real Qt events.
#include "FormCases.h"
#include "ShownForm.h"

#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"
#include "forms/common/NoticeScreen.h"
#include "support/ScriptedPrompter.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using testing_support::ScriptedPrompter;

// A shown form with its checks and reactions, as the program puts them on it.
class FormGestures : public testing_support::ShownForm {
protected:
    void SetUp() override
    {
        ShownForm::SetUp();
        const forms::FormReactions r = c.reactions();
        forms::connectOptionReactions(*form, [this, r](QRadioButton& option) {
            r.choice(*form, option.objectName().toStdString());
        });
        for (const forms::ControlRow& row : form->controls())
            if (auto* list = form->control<QComboBox>(row.name))
                QObject::connect(list, &QComboBox::currentIndexChanged, form.get(),
                                 [this, r, name = row.name] { r.choice(*form, name); });
    }

    // A notch of the wheel over the widget's middle, as the mouse sends it.
    static void wheel(QWidget* w, int notches)
    {
        const QPointF at(w->width() / 2.0, w->height() / 2.0);
        QWheelEvent event(at, w->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &event);
    }
};

INSTANTIATE_TEST_SUITE_P(BothForms, FormGestures, testing::ValuesIn(testing_support::formCases()),
                         testing_support::FormCaseName());

TEST_P(FormGestures, AClickOnTheChosenOptionKeepsItAndEveryOptionIsARadioButton)
{
    for (const forms::ControlRow& row : form->controls()) {
        if (row.kind != forms::Kind::OptionButton)
            continue;
        auto* option = form->control<QRadioButton>(row.name);
        QTest::mouseClick(option, Qt::LeftButton);
        EXPECT_TRUE(option->isChecked()) << row.name;
        QTest::mouseClick(option, Qt::LeftButton);  // clicked again: stays chosen
        EXPECT_TRUE(option->isChecked()) << row.name;
        QTest::keyClick(option, Qt::Key_Space);
        EXPECT_TRUE(option->isChecked()) << row.name;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(option);
        ASSERT_NE(a, nullptr) << row.name;
        EXPECT_EQ(a->role(), QAccessible::RadioButton) << row.name;
        for (const forms::ControlRow& other : form->controls()) {
            if (other.kind == forms::Kind::OptionButton && other.container == row.container && other.name != row.name) {
                EXPECT_FALSE(form->control<QRadioButton>(other.name)->isChecked()) << row.name << " " << other.name;
            }
        }
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(FormGestures, ArrowKeysMoveTheChoiceWithinItsGroup)
{
    auto* add = form->control<QRadioButton>("OptInt_Add");
    auto* mod = form->control<QRadioButton>("OptInt_Mod");
    QTest::mouseClick(add, Qt::LeftButton);
    QTest::mouseClick(form->control<QRadioButton>("OptFrg_St61"), Qt::LeftButton);
    add->setFocus();
    QTest::keyClick(add, Qt::Key_Down);
    EXPECT_TRUE(mod->isChecked());
    EXPECT_FALSE(add->isChecked());
    EXPECT_TRUE(form->control<QRadioButton>("OptFrg_St61")->isChecked());  // the other group stays
    EXPECT_TRUE(form->control("FrameTrg")->isVisibleTo(form.get()));        // Mod's reaction ran
}

TEST_P(FormGestures, TheWheelChangesAListOnlyWhenItHasTheFocus)
{
    form->control<QRadioButton>("OptInt_Add")->setChecked(true);
    for (const char* name : c.lists) {
        auto* list = form->control<QComboBox>(name);
        list->setCurrentIndex(1);
        form->control("Txt_B_Adm")->setFocus();
        const bool h = form->control("Frame_9NH_AttnH")->isVisibleTo(form.get());
        const bool v = form->control("Frame_9NV_AttnV")->isVisibleTo(form.get());
        wheel(list, 1);
        wheel(list, -1);
        wheel(list, 1);
        EXPECT_EQ(list->currentIndex(), 1) << name;
        EXPECT_EQ(form->control("Frame_9NH_AttnH")->isVisibleTo(form.get()), h) << name;
        EXPECT_EQ(form->control("Frame_9NV_AttnV")->isVisibleTo(form.get()), v) << name;
        list->setFocus();
        wheel(list, 1);  // the list the user is in follows the wheel
        EXPECT_EQ(list->currentIndex(), 2) << name;
    }
}

// An old notice's year fails the year check; Close and unticking the validation still work.
TEST_P(FormGestures, ChkValidateTakesEffectWhileABoxFails)
{
    QLineEdit* year = form->control<QLineEdit>("Txt_Ntc_YY");
    year->setText("2001");
    year->setFocus();
    QTest::keyClick(year, Qt::Key_Tab);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].title, "Prevalidation Error - Date (year)");
    EXPECT_EQ(form->focusWidget(), year);
    auto* validate = form->control<QCheckBox>("ChkValidate");
    QTest::mouseClick(validate, Qt::LeftButton);
    EXPECT_FALSE(validate->isChecked());
    EXPECT_EQ(prompter.messages.size(), 1u);
    year->setFocus();
    QTest::keyClick(year, Qt::Key_Tab);
    EXPECT_NE(form->focusWidget(), year);
    EXPECT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(year->text(), "2001");
}

TEST_P(FormGestures, NoticeNumberAndFileNameTakeNoTyping)
{
    for (const char* name : {"Txt_Ntc_Number", "Txt_Filename"}) {
        auto* box = form->control<QLineEdit>(name);
        box->setText("7");
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClicks(box, "2");
        QTest::keyClick(box, Qt::Key_Backspace);
        QApplication::clipboard()->setText("9");
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(box->text(), "7") << name;
        EXPECT_TRUE(box->isReadOnly()) << name;
    }
}

// What Windows-1252 lacks becomes "?" as it is typed or pasted, in every box the user may type in.
TEST_P(FormGestures, CharactersOutsideTheCodePageBecomeQuestionMarksAsTyped)
{
    for (const forms::ControlRow& row : form->controls()) {
        auto* box = form->control<QLineEdit>(row.name);
        if (!box || box->isReadOnly())
            continue;
        box->clear();
        box->setFocus();
        type(box, QString::fromUtf8("ł"));
        EXPECT_EQ(box->text(), "?") << row.name;
        if (row.limit == 0 || row.limit > 2) {
            type(box, QString::fromUtf8("€"));  // in the code page
            EXPECT_EQ(box->text(), QString::fromUtf8("?€")) << row.name;
        }
        box->clear();
    }
    auto* site = form->control<QLineEdit>("Txt_4A_SiteName");
    site->setFocus();
    QApplication::clipboard()->setText(QString::fromUtf8("Łódź 😀"));
    QTest::keyClick(site, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(site->text(), QString::fromUtf8("?ód? ?"));
    EXPECT_EQ(site->cursorPosition(), 6);
}

TEST_P(FormGestures, ALongRemarkShowsFromItsStart)
{
    notice::NoticeRecord rec;
    rec.flag = true;
    rec.remarks = std::string(300, 'R') + "END";
    forms::writeNtcToScreen(rec, *form);
    auto* remarks = form->control<QLineEdit>("Txt_notified_Rmks");
    EXPECT_EQ(remarks->cursorPosition(), 0);
    EXPECT_EQ(remarks->text().size(), 303);
}

}  // namespace
