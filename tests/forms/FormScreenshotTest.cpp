#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"
#include "forms/NoticeWorkflows.h"
#include "forms/common/NoticeScreen.h"
#include "support/ScriptedPrompter.h"

#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// A notice that fills every box the form has, with values such as a notice carries.
notice::NoticeRecord fullNotice(int kind)
{
    const bool tv = kind == forms::kTvForm;
    notice::NoticeRecord r;
    r.flag = true;
    r.notice_typ = tv ? "T02" : "T01";
    r.intent = "MODIFY";
    r.fragment = "NTFD_RR";
    r.adm = "F";
    r.d_adm_ntc = "2005-03-25";
    r.adm_ref_id = "F-2005-0042";
    r.call_sign = "FRA3";
    r.stn_id = "TOUR EIFFEL";
    r.site_name = "PARIS TOUR EIFFEL";
    r.ctry = "F";
    r.long_deg = "002", r.long_min = "17", r.long_sec = "40", r.long_ew = "E";
    r.lat_deg = "48", r.lat_min = "51", r.lat_sec = "30", r.lat_ns = "N";
    r.site_alt = "35";
    r.freq_assgn = tv ? "479.25" : "98.5";
    r.freq_stabl = "PRECISION";
    r.oset_v_12 = "+8";
    r.oset_v_khz = "-1.3";
    r.tran_sys = tv ? "L" : "4";
    r.color = "SECAM";
    r.pwr_ratio = "10";
    r.bdwdth = "180";
    r.erp_h_dbw = "47.0";
    r.erp_v_dbw = "40.0";
    r.polar = "M";
    r.ant_dir = "D";
    r.hgt_agl = "300";
    r.eff_hgtmax = "335";
    r.op_agcy = "FRA";
    r.addr_code = "A";
    r.opPeriod = {true, "0600", "2400"};
    r.d_inuse = "2006-01-01";
    r.target = {true, r.freq_assgn, "002", "17", "35", "E", "48", "51", "25", "N", "F-1998-0007"};
    r.coordAdm.flag = true;
    const char* adms[] = {"D", "SUI", "BEL", "LUX", "I", "E", "AND", "MCO", "G", "HOL", "AUT", "POR"};
    for (std::size_t i = 0; i < std::size(adms); ++i)
        r.coordAdm.adm[i] = adms[i];
    for (int slot = 0; slot < notice::kAzimuthSlots; ++slot) {
        const std::string azimuth = std::to_string(slot * 10);
        const std::size_t s = std::size_t(slot);
        r.effHgt[s] = {true, azimuth, std::to_string(300 + (slot * 7) % 40)};
        r.attnH[s] = {true, azimuth, std::to_string((slot * 3) % 20)};
        r.attnV[s] = {true, azimuth, std::to_string((slot * 5) % 15)};
    }
    r.remarks = "Moved to the new mast";
    r.int_remarks = "Checked with the operator";
    return r;
}

}  // namespace

// Writes a picture of each form, filled with a full notice, in each language into the folder
// OSTREL_SCREENSHOT_DIR names, for a person to look at; without that variable there is nothing
// to do.
TEST(FormScreenshots, EachFormFilledInEachLanguage)
{
    const QString folder = qEnvironmentVariable("OSTREL_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "OSTREL_SCREENSHOT_DIR is not set";
    ASSERT_TRUE(QDir().mkpath(folder));
    const char* languages[] = {"en", "fr", "es"};
    for (int kind : {forms::kSoundForm, forms::kTvForm}) {
        for (int lang = 0; lang < 3; ++lang) {
            auto form = forms::loadNtcForm(kind, static_cast<app::Language>(lang));
            form->control<QLineEdit>("Txt_Filename")->setText("/home/ostrel/batch.mdb");
            form->control<QLineEdit>("Txt_Ntc_Number")->setText("17");
            forms::writeNtcToScreen(fullNotice(kind), *form);
            EXPECT_EQ(form->control<QLineEdit>("Txt_9NVAzm350")->text(), "10");
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

// Each form as it opens on its notices of each intent, its blocks shown and hidden by the intent.
TEST(FormScreenshots, EachFormOnItsIntents)
{
    const QString folder = qEnvironmentVariable("OSTREL_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "OSTREL_SCREENSHOT_DIR is not set";
    ASSERT_TRUE(QDir().mkpath(folder));
    testing_support::ScriptedPrompter prompter;
    app::AppState state;
    state.ntcIndexList = {17};
    state.ntcCount = 1;
    forms::NoticeSession session{state, prompter, {}};
    const std::pair<int, std::vector<const char*>> shots[] = {
        {forms::kTvForm, {"ADD", "MODIFY", "SUPPRESS"}},
        {forms::kSoundForm, {"ADD", "MODIFY", "SUPPRESS"}},
    };
    for (const auto& [kind, intents] : shots) {
        for (const char* intent : intents) {
            auto form = forms::loadNtcForm(kind, app::Language::English);
            forms::connectNoticeFormEvents(*form, session);
            forms::writeNtcNumber(*form, 17);
            notice::NoticeRecord rec = fullNotice(kind);
            rec.intent = intent;
            if (rec.intent == "SUPPRESS")
                rec.notice_typ = "TB5";
            forms::writeNtcToScreen(rec, *form);
            const std::string at = form->objectName().toStdString() + " " + intent;
            EXPECT_EQ(form->control("Txt_4A_SiteName")->isVisibleTo(form.get()), rec.intent != "SUPPRESS") << at;
            EXPECT_EQ(form->control("FrameTrg")->isVisibleTo(form.get()), rec.intent != "ADD") << at;
            form->show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
            const QString file = QDir(folder).filePath(form->objectName() + "-" + intent + ".png");
            EXPECT_TRUE(form->grab().save(file)) << file.toStdString();
            forms::unloadNtcScreen(*form);
        }
    }
}
