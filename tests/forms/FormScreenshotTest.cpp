#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"

#include <QDir>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

// Writes a picture of each form in each language into the folder OSTREL_SCREENSHOT_DIR names,
// for a person to look at; without that variable there is nothing to do.
TEST(FormScreenshots, EachFormInEachLanguage)
{
    const QString folder = qEnvironmentVariable("OSTREL_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "OSTREL_SCREENSHOT_DIR is not set";
    ASSERT_TRUE(QDir().mkpath(folder));
    const char* languages[] = {"en", "fr", "es"};
    for (int kind : {forms::kSoundForm, forms::kTvForm}) {
        for (int lang = 0; lang < 3; ++lang) {
            auto form = forms::loadNtcForm(kind, static_cast<app::Language>(lang));
            form->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
            const QPixmap picture = form->grab();
            EXPECT_EQ(picture.size(), form->size());
            const QString file = QDir(folder).filePath(form->objectName() + "-" + languages[lang] + ".png");
            EXPECT_TRUE(picture.save(file)) << file.toStdString();
            forms::unloadNtcScreen(*form);
        }
    }
}
