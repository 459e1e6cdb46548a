#include "platform/qt/QtPrompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Answers the question that shows next with a key press, and tells what the box showed.
struct KeyAnswer {
    void arm(Qt::Key key)
    {
        QTimer::singleShot(0, [this, key] {
            (void)QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }, 5000);
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            icon = box->icon();
            QTest::keyClick(box, key);
        });
    }
    QMessageBox::Icon icon = QMessageBox::Question;
};

TEST(QtPrompter, ReturnGivesTheQuestionsDefaultAnswerAndNoIconShows)
{
    platform::QtPrompter prompter;
    using D = platform::Prompter::Default;
    const std::pair<D, bool> rows[] = {{D::No, false}, {D::Yes, true}};
    for (const auto& [byDefault, answer] : rows) {
        KeyAnswer key;
        key.arm(Qt::Key_Return);
        EXPECT_EQ(prompter.askYesNo("Do you want to delete the notice from the Database?", "Delete Notice", byDefault),
                  answer);
        EXPECT_EQ(key.icon, QMessageBox::NoIcon);
    }
}

}  // namespace
