#include "FormCases.h"
#include "ShownForm.h"

#include "forms/common/FieldChecks.h"
#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"
#include "support/ScriptedPrompter.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using forms::Rule;
using testing_support::ScriptedPrompter;

const int kYear = QDate::currentDate().year();
std::string year(int offset) { return std::to_string(kYear + offset); }

// For every rule: a text that fails it, one that passes, and its message.
struct RuleSample {
    Rule rule;
    std::string bad, good;
    const char* message;
};

const RuleSample kSamples[] = {
    {Rule::Numeric, "1A", "-12.5", "Value must be numerical"},
    {Rule::NotNumeric, "12", "F1", "Value must have only characters"},
    {Rule::NoDigit, "F1", "ABC", "Value must have only characters"},
    {Rule::Day, "32", "31", "Value should be between [1,31]"},
    {Rule::Month, "13", "12", "Value should be between [1,12]"},
    {Rule::NoticeYear, year(2), year(1), "Invalid year in date of notice"},
    {Rule::InUseYear, "1949", "1950", "The year must be entered as YYYY"},
    {Rule::Hours, "2401", "2400", "Value must be between [0000,2400]"},
    {Rule::LatitudeDegrees, "91", "90", "Value must be between [0,90]"},
    {Rule::LongitudeDegrees, "181", "180", "Value must be between [0,180]"},
    {Rule::MinutesOrSeconds, "60", "59", "Value must be between [0,59]"},
    {Rule::NorthOrSouth, "X", "s", "Value can only be N or S"},
    {Rule::EastOrWest, "N", "w", "Value can only be E or W"},
};

const RuleSample& sampleOf(Rule rule)
{
    for (const RuleSample& s : kSamples)
        if (s.rule == rule)
            return s;
    throw std::logic_error("no sample for a rule");
}

TEST(FieldRules, EdgeCases)
{
    struct Row {
        Rule rule;
        std::string text;
        bool passes;
    };
    const Row rows[] = {
        {Rule::Numeric, " ", false},          {Rule::NorthOrSouth, " ", false},   {Rule::NoDigit, " ", true},
        {Rule::NotNumeric, " ", true},        {Rule::Numeric, " +1.5e-3 ", true}, {Rule::Numeric, ".5", true},
        {Rule::Numeric, "5.", true},          {Rule::Numeric, "1E5", true},       {Rule::Numeric, ".", false},
        {Rule::Numeric, "1e", false},         {Rule::Numeric, "e5", false},       {Rule::Numeric, "1.2.3", false},
        {Rule::Numeric, "--1", false},        {Rule::Numeric, "1,5", false},      {Rule::Numeric, "1 5", false},
        {Rule::Numeric, "0x1A", false},       {Rule::Numeric, "inf", false},      {Rule::Numeric, "1e999", true},
        {Rule::Day, "31", true},              {Rule::Day, "0", false},            {Rule::Day, "00", false},
        {Rule::Day, "32", false},             {Rule::Day, "3a", false},           {Rule::Day, "1.5", true},
        {Rule::Day, "31.5", false},           {Rule::Day, "40000", false},        {Rule::Day, "65537", false},
        {Rule::Day, "-65535", false},         {Rule::Day, "1e999", false},        {Rule::Day, "0.5", false},
        {Rule::Month, "12", true},            {Rule::Month, "2.5", true},         {Rule::Month, "12.5", true},
        {Rule::Month, "13", false},           {Rule::NoticeYear, year(-2), true}, {Rule::NoticeYear, year(1), true},
        {Rule::NoticeYear, year(-3), false},  {Rule::NoticeYear, year(2), false}, {Rule::InUseYear, "1950", true},
        {Rule::InUseYear, "1949", false},     {Rule::InUseYear, year(2), true},   {Rule::InUseYear, year(3), false},
        {Rule::InUseYear, "05", false},       {Rule::InUseYear, "9e99", false},   {Rule::Hours, "0", true},
        {Rule::Hours, "2400", true},          {Rule::Hours, "2401", false},       {Rule::Hours, "-1", false},
        {Rule::Hours, "0930", true},          {Rule::Hours, "1275", true},        {Rule::Hours, "0.5", true},
        {Rule::LatitudeDegrees, "0", true},   {Rule::LatitudeDegrees, "90", true}, {Rule::LatitudeDegrees, "91", false},
        {Rule::LatitudeDegrees, "-1", false}, {Rule::LatitudeDegrees, "45.5", true},
        {Rule::LatitudeDegrees, "90.5", false}, {Rule::LongitudeDegrees, "180", true},
        {Rule::LongitudeDegrees, "181", false}, {Rule::LongitudeDegrees, "-10", false},
        {Rule::MinutesOrSeconds, "59", true}, {Rule::MinutesOrSeconds, "60", false},
        {Rule::MinutesOrSeconds, "-5", false}, {Rule::MinutesOrSeconds, "59.5", false},
        {Rule::NorthOrSouth, "n", true},      {Rule::NorthOrSouth, "S", true},    {Rule::NorthOrSouth, "0", false},
        {Rule::NorthOrSouth, "N ", false},    {Rule::EastOrWest, "e", true},      {Rule::EastOrWest, "W", true},
        {Rule::EastOrWest, "EW", false},      {Rule::NoDigit, "F1", false},       {Rule::NotNumeric, "F1", true},
        {Rule::NoDigit, "123", false},        {Rule::NotNumeric, "123", false},   {Rule::NoDigit, "ABC", true},
        {Rule::NotNumeric, "ABC", true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(forms::rulePasses(r.rule, r.text), r.passes) << "rule " << int(r.rule) << " on '" << r.text << "'";
}

TEST(FieldRules, NumericTextReadsAsItsValue)
{
    const std::pair<const char*, double> rows[] = {
        {" +1.5e-3 ", 0.0015}, {"5.", 5}, {".5", 0.5}, {"-.5E1", -5}, {"0930", 930}, {"1e-999", 0}, {"-1e999", -HUGE_VAL},
    };
    for (const auto& [text, value] : rows) {
        const std::optional<double> read = forms::numericValue(text);
        ASSERT_TRUE(read.has_value()) << text;
        EXPECT_DOUBLE_EQ(*read, value) << text;
    }
}

TEST(FieldRules, WholeValueSendsAHalfToTheEvenNeighbour)
{
    const std::pair<double, double> rows[] = {{0.5, 0},  {1.5, 2},   {2.5, 2}, {31.5, 32},
                                              {-0.5, 0}, {-1.5, -2}, {2.4, 2}};
    for (const auto& [value, whole] : rows)
        EXPECT_EQ(forms::wholeValue(value), whole) << value;
}

// A shown form with its checks; each test runs on both forms.
class FormChecks : public testing_support::ShownForm {
protected:
    // Puts `text` into the box as the program does, then leaves it with Tab; true when the focus
    // left.
    bool tabOut(const std::string& name, const std::string& text)
    {
        QLineEdit* b = box(name);
        b->setText(QString::fromStdString(text));
        b->setFocus();
        QTest::keyClick(b, Qt::Key_Tab);
        return form->focusWidget() != b;
    }
};

INSTANTIATE_TEST_SUITE_P(BothForms, FormChecks, testing::ValuesIn(testing_support::formCases()),
                         testing_support::FormCaseName());

// The rows of the form's table that carry a check.
std::vector<const forms::ControlRow*> checkedRows(const forms::NoticeForm& form)
{
    std::vector<const forms::ControlRow*> rows;
    for (const forms::ControlRow& row : form.controls())
        if (row.check)
            rows.push_back(&row);
    return rows;
}

TEST_P(FormChecks, EveryValidatorFailsABadTextWithItsMessageAndPassesAGoodOne)
{
    const std::vector<const forms::ControlRow*> checks = checkedRows(*form);
    // Every text box is checked but the references, remarks, notice number, file name and the
    // boxes of free text; nothing else is.
    std::set<std::string> unchecked = {"Txt_AdmRefID",     "Txt_TrgAdmRefID", "Txt_notified_Rmks",
                                       "Txt_Internal_Rmks", "Txt_Ntc_Number", "Txt_Filename",
                                       "Txt_3A1_CallSign", "Txt_3A2_StationID", "Txt_4A_SiteName"};
    unchecked.insert(c.ownUnchecked.begin(), c.ownUnchecked.end());
    std::set<std::string> checked;
    size_t textBoxes = 0;
    for (const forms::ControlRow* row : checks) {
        EXPECT_EQ(row->kind, forms::Kind::TextBox) << row->name;
        checked.insert(row->name);
    }
    EXPECT_EQ(checked.size(), checks.size());
    for (const forms::ControlRow& row : form->controls()) {
        if (row.kind == forms::Kind::TextBox) {
            ++textBoxes;
            EXPECT_NE(checked.count(row.name), unchecked.count(row.name)) << row.name;
        }
    }
    ASSERT_EQ(checks.size(), textBoxes - unchecked.size());

    for (const forms::ControlRow* row : checks) {
        const std::string& name = row->name;
        const RuleSample& s = sampleOf(row->check->rule);
        const size_t shown = prompter.messages.size();
        const int beeps = prompter.beeps;
        EXPECT_FALSE(tabOut(name, s.bad)) << name;
        ASSERT_EQ(prompter.messages.size(), shown + 1) << name;
        EXPECT_EQ(prompter.messages.back().text, s.message) << name;
        EXPECT_EQ(prompter.messages.back().title, row->check->title) << name;
        EXPECT_EQ(prompter.messages.back().icon, platform::Icon::Warning) << name;
        EXPECT_EQ(prompter.beeps - beeps, name == "Txt_Ntc_DD" || name == "Txt_2C_DD" ? 1 : 0) << name;
        EXPECT_EQ(box(name)->text().toStdString(), s.bad) << name;
        EXPECT_TRUE(tabOut(name, s.good)) << name;
        EXPECT_TRUE(tabOut(name, "")) << name;
        EXPECT_EQ(prompter.messages.size(), shown + 1) << name;
    }
}

TEST_P(FormChecks, TitlesThatDifferFromTheirNeighbours)
{
    const std::pair<const char*, const char*> rows[] = {
        {"Txt_9EC_azm260", "Prevalidation Error - Eff.ant.Height"},
        {"Txt_9EC_azm250", "Prevalidation Error - Eff. ant. height"},
        {"Txt_01A_TrgFreq", "Prevalidation Error / 0-1a Target frequency"},
        {"Txt_04C_Sec_Long", "Prevalidation Error - Longitude of target"},
        {"Txt_4C_NS", "Prevalidation Error - Latitude"},
        {"Txt_9NVAzm350", "Prevalidation Error - Attenuation (V)"},
    };
    for (const auto& [name, title] : rows) {
        EXPECT_FALSE(tabOut(name, "A")) << name;
        ASSERT_FALSE(prompter.messages.empty());
        EXPECT_EQ(prompter.messages.back().title, title) << name;
        box(name)->clear();
    }
}

// The boxes only one form has, with their own titles.
TEST_P(FormChecks, EachFormsOwnBoxesFailWithTheirOwnTitles)
{
    struct Row {
        int kind;
        const char* box;
        const char* bad;
        const char* good;
        const char* title;
    };
    const Row rows[] = {
        {forms::kTvForm, "Txt_8D_Pwr_Ratio", "A", "10", "Prevalidation Error - Vision/sound power ratio"},
        {forms::kTvForm, "Txt_1E_kHz", "-1,3", "-1.3", "Prevalidation Error - Frequency offset"},
        {forms::kSoundForm, "Txt_7D_TranSys", "AB", "4", "Prevalidation Error - Transmission System"},
        {forms::kSoundForm, "Txt_70_BDWdth", "a", "180", "Prevalidation Error - Necessary  Bandwidth"},
    };
    int tried = 0;
    for (const Row& r : rows) {
        if (r.kind != c.kind)
            continue;
        ++tried;
        EXPECT_FALSE(tabOut(r.box, r.bad)) << r.box;
        ASSERT_FALSE(prompter.messages.empty());
        EXPECT_EQ(prompter.messages.back().text, "Value must be numerical") << r.box;
        EXPECT_EQ(prompter.messages.back().title, r.title) << r.box;
        EXPECT_TRUE(tabOut(r.box, r.good)) << r.box;
    }
    EXPECT_EQ(tried, 2);
}

TEST_P(FormChecks, ChkValidateBelongsToItsOwnForm)
{
    auto other = forms::loadNtcForm(c.otherKind, app::Language::English);
    testing_support::formCase(c.otherKind).reactions().install(*other, prompter);
    forms::FieldChecks* otherChecks = nullptr;
    for (QObject* child : other->children())
        if (auto* checks = dynamic_cast<forms::FieldChecks*>(child))
            otherChecks = checks;
    ASSERT_NE(otherChecks, nullptr);
    QLineEdit* otherFreq = other->control<QLineEdit>("Txt_1A_FreqAssgn");
    otherFreq->setText("x");

    other->control<QCheckBox>("ChkValidate")->setChecked(false);
    EXPECT_TRUE(form->control<QCheckBox>("ChkValidate")->isChecked());
    EXPECT_FALSE(tabOut("Txt_1A_FreqAssgn", "x"));
    EXPECT_TRUE(otherChecks->mayLeave(*otherFreq));

    other->control<QCheckBox>("ChkValidate")->setChecked(true);
    form->control<QCheckBox>("ChkValidate")->setChecked(false);
    EXPECT_TRUE(tabOut("Txt_1A_FreqAssgn", "x"));
    EXPECT_FALSE(otherChecks->mayLeave(*otherFreq));
    EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_P(FormChecks, DayBoxesFailLargeNumbersAndBeepFirst)
{
    for (const char* text : {"40000", "65537", "0", "3a"}) {
        const int beeps = prompter.beeps;
        EXPECT_FALSE(tabOut("Txt_Ntc_DD", text)) << text;
        EXPECT_EQ(prompter.beeps, beeps + 1) << text;
        EXPECT_EQ(prompter.messages.back().text, "Value should be between [1,31]") << text;
    }
    box("Txt_Ntc_DD")->clear();
    const int beeps = prompter.beeps;
    EXPECT_FALSE(tabOut("Txt_Ntc_MM", "40000"));
    EXPECT_EQ(prompter.beeps, beeps);
}

TEST_P(FormChecks, NothingIsCheckedWithChkValidateUnticked)
{
    form->control<QCheckBox>("ChkValidate")->setChecked(false);
    const std::vector<const forms::ControlRow*> checks = checkedRows(*form);
    ASSERT_FALSE(checks.empty());
    for (const forms::ControlRow* row : checks)
        EXPECT_TRUE(tabOut(row->name, "1x ")) << row->name;
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(prompter.beeps, 0);
}

TEST_P(FormChecks, FillingClearingAndClosingCheckNothing)
{
    QLineEdit* freq = box("Txt_1A_FreqAssgn");
    freq->setFocus();
    freq->setText("x");
    forms::resetForm(*form);
    EXPECT_EQ(freq->text(), "");
    freq->setText("x");
    form->close();
    EXPECT_TRUE(form->isUnloaded());
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(FormChecks, AFailingBoxSwallowsEveryClickThatWouldTakeTheFocus)
{
    QLineEdit* day = box("Txt_Ntc_DD");
    day->setText("32");  // placed by the program: not checked yet
    day->setFocus();
    EXPECT_TRUE(prompter.messages.empty());

    std::map<std::string, int> clicks;
    for (const char* name :
         {"Button_Next_Ntc", "Button_Next", "Button_Finish", "Button_Reset", "ChkValidate", "OptInt_Add"}) {
        auto* b = form->control<QAbstractButton>(name);
        QObject::connect(b, &QAbstractButton::clicked, b, [&clicks, name] { ++clicks[name]; });
    }
    auto* list = form->control<QComboBox>("Combo_9_AntDir");
    const char* targets[] = {"Button_Next_Ntc", "Button_Next", "Button_Finish", "OptInt_Add", "Combo_9_AntDir",
                             "Txt_B_Adm"};
    for (const char* name : targets) {
        const size_t shown = prompter.messages.size();
        QTest::mouseClick(form->control(name), Qt::LeftButton);
        EXPECT_EQ(prompter.messages.size(), shown + 1) << name;
        EXPECT_EQ(form->focusWidget(), day) << name;
        EXPECT_EQ(clicks[name], 0) << name;
    }
    EXPECT_FALSE(form->control<QRadioButton>("OptInt_Add")->isChecked());
    EXPECT_EQ(list->currentIndex(), -1);
    EXPECT_FALSE(list->view()->isVisible());
    EXPECT_EQ(day->text(), "32");

    // Labels and frames take no focus and check nothing.
    const size_t shown = prompter.messages.size();
    for (const char* name : {"Lbl_B_Adm", "FrameCoord"})
        QTest::mouseClick(form->control(name), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(prompter.messages.size(), shown);

    // Close and the validation box act at once, and check nothing.
    for (const char* name : {"Button_Reset", "ChkValidate"}) {
        day->setFocus();
        const size_t before = prompter.messages.size();
        QTest::mouseClick(form->control(name), Qt::LeftButton);
        EXPECT_EQ(clicks[name], 1) << name;
        EXPECT_EQ(prompter.messages.size(), before) << name;
    }
    EXPECT_FALSE(form->control<QCheckBox>("ChkValidate")->isChecked());
    form->control<QCheckBox>("ChkValidate")->setChecked(true);
    day->setFocus();

    // Once the box passes, the click does what it does.
    day->setText("31");
    QTest::mouseClick(form->control("Button_Next_Ntc"), Qt::LeftButton);
    EXPECT_EQ(clicks["Button_Next_Ntc"], 1);
    EXPECT_EQ(prompter.messages.size(), shown);
}

TEST_P(FormChecks, TypedLettersBecomeCapitalsOnlyInFilteredBoxes)
{
    QLineEdit* adm = box("Txt_B_Adm");
    adm->setFocus();
    type(adm, QString::fromUtf8("abé"));
    EXPECT_EQ(adm->text(), QString::fromUtf8("ABÉ"));
    type(adm, "d");  // a fourth letter is over the limit
    EXPECT_EQ(adm->text(), QString::fromUtf8("ABÉ"));

    QLineEdit* ns = box("Txt_04C_NS");
    type(ns, QString::fromUtf8("ÿ"));
    EXPECT_EQ(ns->text(), QString::fromUtf8("Ÿ"));

    QLineEdit* freq = box("Txt_1A_FreqAssgn");
    freq->setFocus();
    type(freq, "a");
    EXPECT_EQ(freq->text(), "a");
    EXPECT_FALSE(tabOut("Txt_1A_FreqAssgn", "a"));

    // Text the program places is neither upper-cased nor cut.
    const QString name40 = QString("abcdefghij").repeated(4);
    box("Txt_4A_SiteName")->setText(name40);
    EXPECT_EQ(box("Txt_4A_SiteName")->text(), name40);
}

TEST_P(FormChecks, EveryBoxOfLettersAndEveryStationNameTurnsTypedLettersIntoCapitals)
{
    // The boxes whose check wants letters, and the station's boxes of free text; no other.
    const std::set<Rule> letterRules = {Rule::NoDigit, Rule::NotNumeric, Rule::NorthOrSouth, Rule::EastOrWest};
    std::set<std::string> freeText = {"Txt_3A1_CallSign", "Txt_3A2_StationID", "Txt_4A_SiteName"};
    freeText.insert(c.ownUnchecked.begin(), c.ownUnchecked.end());
    size_t upperCased = 0;
    for (const forms::ControlRow& row : form->controls()) {
        if (row.kind != forms::Kind::TextBox || row.readOnly)
            continue;
        const bool upper = (row.check && letterRules.count(row.check->rule)) || freeText.count(row.name);
        upperCased += upper;
        QLineEdit* b = box(row.name);
        b->clear();
        b->setFocus();
        type(b, QString::fromUtf8("qé"));
        EXPECT_EQ(b->text(), QString::fromUtf8(upper ? "QÉ" : "qé").left(row.limit > 0 ? row.limit : 2)) << row.name;
        b->clear();
    }
    for (const std::string& name : freeText)
        EXPECT_NE(box(name), nullptr) << name;
    EXPECT_GT(upperCased, freeText.size());
}

}  // namespace
