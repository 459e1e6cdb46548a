#pragma once

#include "FormCases.h"
#include "support/ScriptedPrompter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace testing_support {

// A shown form with its checks, ChkValidate ticked by the load; each test runs on both forms.
class ShownForm : public testing::TestWithParam<FormCase> {
protected:
    void SetUp() override
    {
        form = forms::loadNtcForm(c.kind, app::Language::English);
        c.reactions().install(*form, prompter);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    QLineEdit* box(const std::string& name) { return form->control<QLineEdit>(name); }

    /// Types the characters one key press each, as a keyboard sends them.
    static void type(QWidget* w, const QString& text)
    {
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QCoreApplication::sendEvent(w, &press);
        }
    }

    const FormCase& c = GetParam();
    ScriptedPrompter prompter;
    std::unique_ptr<forms::NoticeForm> form;
};

}  // namespace testing_support
