#include "FormCases.h"

#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"
#include "forms/common/NoticeScreen.h"
#include "notice/NoticeRecord.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using forms::NoticeForm;
using testing_support::FormCase;

// Each test runs on both forms.
class FormVisibility : public testing::TestWithParam<FormCase> {
protected:
    const FormCase& c = GetParam();

    // A loaded form whose options and antenna lists answer as the form's handlers do.
    std::unique_ptr<NoticeForm> load() const
    {
        auto form = forms::loadNtcForm(c.kind, app::Language::English);
        NoticeForm* f = form.get();
        auto choice = c.reactions().choice;
        forms::connectOptionReactions(*f, [f, choice](QRadioButton& b) { choice(*f, b.objectName().toStdString()); });
        for (const char* name : {"Combo_9_AntDir", "Combo_9D_Polariz"}) {
            auto* list = f->control<QComboBox>(name);
            QObject::connect(list, &QComboBox::currentIndexChanged, list, [f, name, choice] { choice(*f, name); });
        }
        return form;
    }
};

INSTANTIATE_TEST_SUITE_P(BothForms, FormVisibility, testing::ValuesIn(testing_support::formCases()),
                         testing_support::FormCaseName());

bool shown(const NoticeForm& form, const char* name)
{
    return form.control(name)->isVisibleTo(&form);
}

void choose(NoticeForm& form, const std::string& option)
{
    form.control<QRadioButton>(option)->setChecked(true);
}

void pick(NoticeForm& form, const char* list, const QString& item)
{
    auto* combo = form.control<QComboBox>(list);
    combo->setCurrentIndex(combo->findText(item));
    ASSERT_EQ(combo->currentText(), item);
}

QString text(const NoticeForm& form, const char* box) { return form.control<QLineEdit>(box)->text(); }

void type(NoticeForm& form, const char* box, const char* value) { form.control<QLineEdit>(box)->setText(value); }

const char* const kKept[] = {"Txt_B_Adm", "Txt_Ntc_DD", "Txt_Ntc_MM", "Txt_Ntc_YY"};

// The names of the form's controls whose rows are in `group`.
std::vector<std::string> inGroup(const NoticeForm& form, forms::Group group)
{
    std::vector<std::string> names;
    for (const forms::ControlRow& row : form.controls())
        if (row.groups & group)
            names.push_back(row.name);
    return names;
}

TEST_P(FormVisibility, ResetShowsEveryBlockEmptiesTheRestAndKeepsTheHeader)
{
    auto form = load();
    NoticeForm& f = *form;
    choose(f, c.ownFragment);
    choose(f, "OptInt_Sup");
    pick(f, "Combo_9_AntDir", "ND");
    pick(f, "Combo_9D_Polariz", "V");
    for (const char* box : kKept)
        type(f, box, "12");
    for (const char* box : {"Txt_1A_FreqAssgn", "Txt_12A_OpAgcy", "Txt_01A_TrgFreq", "Txt_9NHAzm350", "Txt_9NVAzm000",
                            "Txt_9EC_azm180", "Txt_11_Adm10", "Txt_Internal_Rmks", "Txt_TrgAdmRefID"})
        type(f, box, "x");

    forms::resetForm(f);

    for (const char* frame : {"Frame_9EC_EffAntHeight", "Frame_9NH_AttnH", "Frame_9NV_AttnV", "FrameCoord",
                              "Frame_A11_Only", "FrameTrg", "Txt_1A_FreqAssgn", "Lbl_AdmRefID"})
        EXPECT_TRUE(shown(f, frame)) << frame;
    for (const char* list : c.lists) {
        EXPECT_EQ(f.control<QComboBox>(list)->currentIndex(), 0) << list;
        EXPECT_EQ(f.control<QComboBox>(list)->currentText(), "") << list;
    }
    for (const char* option : {"OptInt_Add", "OptInt_Mod", "OptInt_Sup", "OptInt_Wdraw"})
        EXPECT_FALSE(f.control<QRadioButton>(option)->isChecked()) << option;
    EXPECT_TRUE(f.control<QRadioButton>(c.ownFragment)->isChecked());
    for (const char* box : kKept)
        EXPECT_EQ(text(f, box), "12") << box;
    for (const forms::ControlRow& row : f.controls()) {
        const auto* box = f.control<QLineEdit>(row.name);
        if (box && row.name != "Txt_B_Adm" && row.name.rfind("Txt_Ntc_", 0) != 0) {
            EXPECT_EQ(box->text(), "") << row.name;
        }
    }

    forms::clearFrgAndDate(f);
    EXPECT_FALSE(f.control<QRadioButton>(c.ownFragment)->isChecked());
    for (const char* box : {"Txt_Ntc_DD", "Txt_Ntc_MM", "Txt_Ntc_YY"})
        EXPECT_EQ(text(f, box), "") << box;
    EXPECT_EQ(text(f, "Txt_B_Adm"), "12");
}

TEST_P(FormVisibility, HidingTheStationBlockLeavesTheHeaderTargetAndRemarks)
{
    auto form = load();
    NoticeForm& f = *form;
    const std::vector<std::string> block = inGroup(f, forms::kStationBlock);
    ASSERT_FALSE(block.empty());
    for (const char* own : c.ownStation) {
        if (auto* box = f.control<QLineEdit>(own))
            box->setText("7");
    }
    forms::hideStationBlock(f);
    for (const std::string& name : block)
        EXPECT_TRUE(f.control(name)->isHidden()) << name;
    // The controls only this form has go with the rest of the station, and are emptied with it.
    for (const char* own : c.ownStation)
        EXPECT_TRUE(f.control(own)->isHidden()) << own;
    for (const char* hidden : {"Frame_A11_Only", "Frame_9NH_AttnH", "Frame_9NV_AttnV", "Frame_9EC_EffAntHeight",
                               "Txt_12A_OpAgcy", "Txt_9EC_azm000", "Txt_11_Adm1"})
        EXPECT_FALSE(shown(f, hidden)) << hidden;
    for (const char* kept : {"FrameTrg", "FrameFrg", "FrameIntent", "Txt_B_Adm", "Lbl_B_Adm", "Txt_Ntc_DD",
                             "Txt_Ntc_MM",
                             "Txt_Ntc_YY", "Lbl_DNtc", "Txt_notified_Rmks", "Txt_Internal_Rmks", "Txt_01A_TrgFreq",
                             "Button_Next", "ChkValidate"})
        EXPECT_TRUE(shown(f, kept)) << kept;
    // A box inside a hidden frame is not itself hidden: it shows again with its frame.
    EXPECT_FALSE(f.control("Txt_12A_OpAgcy")->isHidden());
    forms::showAllBlocks(f);
    for (const std::string& name : block)
        EXPECT_TRUE(f.control(name)->isVisibleTo(&f)) << name;
    EXPECT_TRUE(shown(f, "Txt_12A_OpAgcy"));
    forms::clearStationData(f);
    for (const char* own : c.ownStation) {
        if (const auto* box = f.control<QLineEdit>(own)) {
            EXPECT_EQ(box->text(), "") << own;
        }
    }
}

TEST_P(FormVisibility, HidingTheStationBlockHidesItsRowsAndTheArticle11AndAttenuationFramesOnly)
{
    auto form = load();
    NoticeForm& f = *form;
    const std::set<std::string> frames = {"Frame_A11_Only", "Frame_9NH_AttnH", "Frame_9NV_AttnV"};
    std::set<std::string> hiddenAtLoad;
    for (const forms::ControlRow& row : f.controls())
        if (f.control(row.name)->isHidden())
            hiddenAtLoad.insert(row.name);
    forms::hideStationBlock(f);
    for (const forms::ControlRow& row : f.controls()) {
        const bool inBlock = (row.groups & forms::kStationBlock) || frames.count(row.name);
        EXPECT_EQ(f.control(row.name)->isHidden(), inBlock || hiddenAtLoad.count(row.name)) << row.name;
    }
    forms::showStationBlock(f);
    for (const forms::ControlRow& row : f.controls())
        EXPECT_EQ(f.control(row.name)->isHidden(), hiddenAtLoad.count(row.name) > 0) << row.name;
}

TEST_P(FormVisibility, EachEmptyingEmptiesTheControlsOfItsGroupAndNoOther)
{
    struct Row {
        forms::Group group;
        void (*empty)(NoticeForm&);
        const char* what;
    };
    const Row rows[] = {
        {forms::kStationData, forms::clearStationData, "station data"},
        {forms::kOpData, forms::clearOpData, "operating data"},
        {forms::kTargetData, forms::clearTargetData, "target data"},
        {forms::kNoticeDate, forms::clearFrgAndDate, "notice date"},
    };
    for (const Row& r : rows) {
        auto form = load();
        NoticeForm& f = *form;
        for (const forms::ControlRow& row : f.controls()) {
            if (auto* box = f.control<QLineEdit>(row.name))
                box->setText("7");
            else if (auto* list = f.control<QComboBox>(row.name))
                list->setCurrentIndex(1);
        }
        r.empty(f);
        size_t members = 0;
        for (const forms::ControlRow& row : f.controls()) {
            const bool member = row.groups & r.group;
            members += member;
            if (const auto* box = f.control<QLineEdit>(row.name)) {
                EXPECT_EQ(box->text(), member ? "" : "7") << r.what << ": " << row.name;
            } else if (const auto* list = f.control<QComboBox>(row.name)) {
                EXPECT_EQ(list->currentIndex(), member ? 0 : 1) << r.what << ": " << row.name;
            } else {
                EXPECT_FALSE(member) << r.what << ": " << row.name << " holds nothing to empty";
            }
        }
        EXPECT_GT(members, 0u) << r.what;
    }
}

TEST_P(FormVisibility, AntennaRuleForEveryDirectivityAndPolarisation)
{
    struct Row {
        const char* dir;
        const char* polar;
        bool attnH, attnV;
    };
    const Row rows[] = {
        {"ND", "", false, false}, {"ND", "H", false, false}, {"ND", "V", false, false}, {"ND", "M", false, false},
        {"", "", true, true},     {"", "H", true, true},     {"", "V", true, true},     {"", "M", true, true},
        {"D", "", true, true},    {"D", "H", true, false},   {"D", "V", false, true},   {"D", "M", true, true},
    };
    for (const Row& r : rows) {
        // From both frames hidden and both shown: the rule sets them, whatever they were.
        for (bool before : {false, true}) {
            auto form = load();
            NoticeForm& f = *form;
            pick(f, "Combo_9_AntDir", r.dir);
            pick(f, "Combo_9D_Polariz", r.polar);
            f.control("Frame_9NH_AttnH")->setVisible(before);
            f.control("Frame_9NV_AttnV")->setVisible(before);
            type(f, "Txt_9NHAzm090", "12");
            c.reactions().choice(f, "Combo_9D_Polariz");
            EXPECT_EQ(shown(f, "Frame_9NH_AttnH"), r.attnH) << r.dir << "/" << r.polar << " from " << before;
            EXPECT_EQ(shown(f, "Frame_9NV_AttnV"), r.attnV) << r.dir << "/" << r.polar << " from " << before;
            EXPECT_EQ(text(f, "Txt_9NHAzm090"), "12");
        }
    }
}

TEST_P(FormVisibility, PickingAnAntennaListItemAppliesTheRule)
{
    auto form = load();
    NoticeForm& f = *form;
    pick(f, "Combo_9_AntDir", "D");
    pick(f, "Combo_9D_Polariz", "V");
    EXPECT_FALSE(shown(f, "Frame_9NH_AttnH"));
    EXPECT_TRUE(shown(f, "Frame_9NV_AttnV"));
    pick(f, "Combo_9_AntDir", "ND");
    EXPECT_FALSE(shown(f, "Frame_9NV_AttnV"));
    // Clearing the station data puts both lists on their empty item: both frames show again.
    forms::clearStationData(f);
    EXPECT_TRUE(shown(f, "Frame_9NH_AttnH"));
    EXPECT_TRUE(shown(f, "Frame_9NV_AttnV"));
}

TEST_P(FormVisibility, EachIntentAndFragmentWhicheverIsChosenFirst)
{
    const std::string intents[] = {"OptInt_Add", "OptInt_Mod", "OptInt_Sup", "OptInt_Wdraw"};
    const std::string fragments[] = {c.ownFragment, "OptFrg_St61", "OptFrg_A11"};
    for (const std::string& intent : intents)
        for (const std::string& fragment : fragments)
            for (bool intentFirst : {true, false}) {
                auto form = load();
                NoticeForm& f = *form;
                pick(f, "Combo_9_AntDir", "D");
                pick(f, "Combo_9D_Polariz", "H");
                // Start from the opposite state so that each choice has something to change.
                choose(f, intent == "OptInt_Sup" ? "OptInt_Add" : "OptInt_Sup");
                choose(f, intentFirst ? intent : fragment);
                choose(f, intentFirst ? fragment : intent);

                const bool station = intent == "OptInt_Add" || intent == "OptInt_Mod";
                const std::string at = intent + " " + fragment + (intentFirst ? " intent first" : " fragment first");
                EXPECT_EQ(shown(f, "Txt_1A_FreqAssgn"), station) << at;
                EXPECT_EQ(shown(f, "Frame_9EC_EffAntHeight"), station) << at;
                EXPECT_EQ(shown(f, "FrameCoord"), station) << at;
                EXPECT_EQ(shown(f, "FrameTrg"), intent != "OptInt_Add") << at;
                EXPECT_EQ(shown(f, "Frame_A11_Only"), station && fragment == "OptFrg_A11") << at;
                EXPECT_EQ(shown(f, "Frame_9NH_AttnH"), station) << at;
                EXPECT_FALSE(shown(f, "Frame_9NV_AttnV")) << at;
                EXPECT_TRUE(shown(f, "FrameFrg") && shown(f, "FrameIntent") && shown(f, "Txt_B_Adm")) << at;
            }
}

TEST_P(FormVisibility, SuppressionOfAnArticle11NoticeKeepsTheArticle11FrameHidden)
{
    for (const char* intent : {"SUPPRESS", "WITHDRAW"}) {
        auto form = load();
        notice::NoticeRecord rec;
        rec.flag = true;
        rec.intent = intent;
        rec.fragment = "NTFD_RR";
        forms::writeNtcToScreen(rec, *form);
        EXPECT_TRUE(form->control<QRadioButton>("OptFrg_A11")->isChecked()) << intent;
        EXPECT_FALSE(shown(*form, "Frame_A11_Only")) << intent;
        EXPECT_TRUE(shown(*form, "FrameTrg")) << intent;
    }
}

TEST_P(FormVisibility, HiddenBoxesKeepTheirTextAndClearingNeverChangesVisibility)
{
    auto form = load();
    NoticeForm& f = *form;
    const char* boxes[] = {"Txt_1A_FreqAssgn", "Txt_12A_OpAgcy", "Txt_9EC_azm010", "Txt_9NVAzm020", "Txt_11_Adm3"};
    for (const char* box : boxes)
        type(f, box, "7");
    choose(f, "OptInt_Wdraw");
    for (const char* box : boxes) {
        EXPECT_FALSE(shown(f, box)) << box;
        EXPECT_EQ(text(f, box), "7") << box;
    }
    choose(f, "OptInt_Add");
    EXPECT_FALSE(shown(f, "FrameTrg"));
    type(f, "Txt_01A_TrgFreq", "9");
    EXPECT_EQ(text(f, "Txt_01A_TrgFreq"), "9");

    // The emptying procedures leave every control as shown or hidden as it was.
    std::vector<bool> before;
    for (const forms::ControlRow& row : f.controls())
        before.push_back(f.control(row.name)->isVisibleTo(&f));
    forms::clearOpData(f);
    forms::clearTargetData(f);
    forms::clearAttnH(f);
    forms::clearAttnV(f);
    forms::clearEffHgt(f);
    forms::clearFrgAndDate(f);
    size_t i = 0;
    for (const forms::ControlRow& row : f.controls())
        EXPECT_EQ(f.control(row.name)->isVisibleTo(&f), before[i++]) << row.name;
    EXPECT_EQ(text(f, "Txt_01A_TrgFreq"), "");
}

}  // namespace
