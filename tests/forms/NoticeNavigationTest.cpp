#include "forms/NoticeWorkflows.h"

#include "FormCases.h"
#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"

#include "database/DbConnection.h"
#include "database/NoticeStore.h"
#include "platform/NumberText.h"
#include "support/NoticeDb.h"
#include "support/NoticeText.h"
#include "support/SmallFileSystem.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <iterator>
#include <functional>
#include <string>
#include <vector>

using app::kDeletedEntry;
using app::kNotFound;
using notice::NoticeRecord;

namespace {

constexpr int kNone = 0;

TEST(NoticeNavigation, TheKindFollowsTypeFragmentAndTargetFrequency)
{
    struct Case {
        const char* type;
        const char* fragment;
        const char* freq;
        int kind;
    };
    const Case cases[] = {
        {"T01", "GE84", "", forms::kSoundForm},
        {"T02", "GE89", "98", forms::kTvForm},
        {"TB5", "GE84", "500", forms::kSoundForm},
        {"TB5", "GE89", "", forms::kTvForm},
        {"TB5", "GE89", "98", forms::kTvForm},
        {"TB5", "ST61", "47", forms::kSoundForm},
        {"TB5", "ST61", "68", forms::kSoundForm},
        {"TB5", "NTFD_RR", "87.5", forms::kSoundForm},
        {"TB5", "NTFD_RR", "108", forms::kSoundForm},
        {"TB5", "ST61", " 98.5 ", forms::kSoundForm},
        {"TB5", "ST61", "46.9", forms::kTvForm},
        {"TB5", "ST61", "68.1", forms::kTvForm},
        {"TB5", "ST61", "87.4", forms::kTvForm},
        {"TB5", "ST61", "108.1", forms::kTvForm},
        {"TB5", "ST61", "200", forms::kTvForm},
        {"TB5", "ST61", "", forms::kTvForm},
        {"TB5", "ST61", "abc", forms::kTvForm},
        {"TB5", "ST61", "87,5", forms::kTvForm},
        {"tb5", "GE84", "98", kNone},
        {"t01", "", "", kNone},
        {"", "", "", kNone},
    };
    for (const char* digital : {"DS1", "DS2", "DT1", "DT2", "DA1"}) {
        NoticeRecord rec;
        rec.notice_typ = digital;
        rec.target.freq_assgn = "98";
        EXPECT_EQ(forms::getNtcScreenType(rec), kNone) << digital;
    }
    for (const Case& c : cases) {
        NoticeRecord rec;
        rec.notice_typ = c.type;
        rec.fragment = c.fragment;
        rec.target.freq_assgn = c.freq;
        EXPECT_EQ(forms::getNtcScreenType(rec), c.kind) << c.type << " " << c.fragment << " '" << c.freq << "'";
    }
}

app::AppState listOf(std::vector<std::int32_t> keys)
{
    app::AppState state;
    state.ntcCount = std::int32_t(keys.size());
    state.ntcIndexList = std::move(keys);
    return state;
}

TEST(NoticeNavigation, TheWalkSkipsDeletedEntriesAndStopsAtBothEnds)
{
    constexpr std::int32_t D = kDeletedEntry;
    struct Case {
        std::vector<std::int32_t> list;
        std::int32_t start;
        int direction;
        std::int32_t key;    // found, or kNotFound
        std::int32_t index;  // currentNtcIndex afterwards (it starts at 77)
    };
    const Case cases[] = {
        {{}, 0, 1, kNotFound, 77},
        {{10, 11, 12, D, D, 15}, 3, 1, 15, 5},
        {{10, 11, 12, D, D, 15}, 4, 0, 12, 2},
        {{10, 11, 12, D, D, 15}, 2, 0, 12, 2},
        {{10, 11, 12, D, D, 15}, 2, 1, 12, 2},
        {{10, 11, 12, D, D}, 3, 1, kNotFound, 77},
        {{10, 11, 12}, 3, 1, kNotFound, 77},
        {{D, D, 12}, 1, 0, kNotFound, 77},
        {{10, 11}, -1, 0, kNotFound, 77},
        {{10, 11}, -1, 1, kNotFound, 77},
    };
    for (const Case& c : cases) {
        app::AppState state = listOf(c.list);
        state.currentNtcIndex = 77;
        EXPECT_EQ(forms::getNextNtcKey(state, c.start, c.direction), c.key) << c.start << "/" << c.direction;
        EXPECT_EQ(state.currentNtcIndex, c.index) << c.start << "/" << c.direction;
    }
}

TEST(NoticeNavigation, StepButtonsAreEnabledOnlyTowardsALiveNotice)
{
    constexpr std::int32_t D = kDeletedEntry;
    struct Case {
        std::vector<std::int32_t> list;
        std::int32_t current;
        bool next, prev;
    };
    const Case cases[] = {
        {{}, 0, false, false},
        {{10}, 0, false, false},
        {{10, 11, 12}, 0, true, false},
        {{10, 11, 12}, 2, false, true},
        {{10, 11, 12, D, D, 15}, 2, true, true},
        {{10, 11, 12, D, D}, 2, false, true},
        {{D, D, 12, 13}, 2, true, false},
    };
    auto form = forms::loadNtcForm(forms::kTvForm, app::Language::English);
    for (const Case& c : cases) {
        app::AppState state = listOf(c.list);
        state.currentNtcIndex = c.current;
        forms::enableStepButtons(*form, state);
        EXPECT_EQ(form->control("Button_Next_Ntc")->isEnabled(), c.next) << c.current;
        EXPECT_EQ(form->control("Button_Prev_Ntc")->isEnabled(), c.prev) << c.current;
    }
    const app::AppState state = listOf({10, 11});
    EXPECT_FALSE(forms::hasNextNtc(state, -1));
    EXPECT_FALSE(forms::hasPrevNtc(state, 2));
}

// A database of notices listed in key order, and forms shown by a script instead of a modal loop.
class NoticeFlowBase : public testing::Test {
protected:
    // Each body is stored as one notice; the list holds them in the order given.
    void store(const std::vector<std::string>& bodies)
    {
        for (const std::string& body : bodies) {
            const NoticeRecord rec = testing_support::readNotice(body);
            database::ContourOutcome outcome;
            ASSERT_TRUE(database::storeNtc(rec, db.conn, outcome, false, db.prompter.report()));
            state.ntcIndexList.push_back(std::int32_t(
                platform::parseInteger(db.scalar("SELECT max(terrakey) FROM fmtv_terra")).value()));
        }
        state.ntcCount = std::int32_t(state.ntcIndexList.size());
        state.dbFileName = db.path();
        ASSERT_TRUE(state.dbConnection.open(db.path()));
    }


    // Opens the notice at `index`; each form shown runs the next action of the script.
    void open(std::int32_t index)
    {
        state.currentTerrakey = state.ntcIndexList[std::size_t(index)];
        const forms::ModalShow previous = forms::setModalShow([this](forms::NoticeForm& form) {
            ++shown;
            ASSERT_FALSE(script.empty()) << "a form nobody expected";
            auto act = std::move(script.front());
            script.pop_front();
            act(form);
        });
        forms::openSelectedNtc(session, state.currentTerrakey, index);
        forms::setModalShow(previous);
        EXPECT_TRUE(script.empty());
    }

    static std::string text(const forms::NoticeForm& form, const char* name)
    {
        return form.control<QLineEdit>(name)->text().toStdString();
    }
    static void click(forms::NoticeForm& form, const char* button)
    {
        form.control<QAbstractButton>(button)->click();
    }
    std::string keyAt(std::int32_t index) const { return std::to_string(state.ntcIndexList[std::size_t(index)]); }

    testing_support::NoticeDb db;
    app::AppState state;
    forms::NoticeSession session{state, db.prompter, {}};
    std::deque<std::function<void(forms::NoticeForm&)>> script;
    int shown = 0;
};

// The walk, Update, Delete and Close, run on each form.
class NoticeFlow : public NoticeFlowBase, public testing::WithParamInterface<testing_support::FormCase> {
protected:
    const testing_support::FormCase& fc = GetParam();
    std::string own(const std::string& site) const { return fc.notice(site); }
    std::string other(const std::string& site) const { return testing_support::formCase(fc.otherKind).notice(site); }
};

INSTANTIATE_TEST_SUITE_P(BothForms, NoticeFlow, testing::ValuesIn(testing_support::formCases()),
                         testing_support::FormCaseName());

TEST_P(NoticeFlow, StepsLandOnLiveNoticesAndANoticeOfTheOtherKindOpensItsForm)
{
    store({own("S0"), own("S1"), own("S2"), own("S3"), own("S4"), other("S5")});
    state.ntcIndexList[2] = state.ntcIndexList[3] = kDeletedEntry;
    script.push_back([this](forms::NoticeForm& form) {
        EXPECT_EQ(form.kind(), fc.kind);
        EXPECT_EQ(text(form, "Txt_Ntc_Number"), keyAt(1));
        EXPECT_EQ(text(form, "Txt_Filename"), db.path());
        EXPECT_EQ(text(form, "Txt_4A_SiteName"), "S1");
        EXPECT_TRUE(form.control("Button_Prev_Ntc")->isEnabled());
        click(form, "Button_Next_Ntc");
        EXPECT_EQ(state.currentNtcIndex, 4);
        EXPECT_EQ(text(form, "Txt_Ntc_Number"), keyAt(4));
        EXPECT_EQ(text(form, "Txt_4A_SiteName"), "S4");
        click(form, "Button_Prev_Ntc");
        EXPECT_EQ(state.currentNtcIndex, 1);
        click(form, "Button_Prev_Ntc");
        EXPECT_EQ(state.currentNtcIndex, 0);
        EXPECT_FALSE(form.control("Button_Prev_Ntc")->isEnabled());
        click(form, "Button_Prev_Ntc");  // disabled: nothing
        EXPECT_EQ(state.currentNtcIndex, 0);
        click(form, "Button_Next_Ntc");
        click(form, "Button_Next_Ntc");
        click(form, "Button_Next_Ntc");  // onto the other kind: this form ends
        EXPECT_TRUE(form.isUnloaded());
    });
    script.push_back([this](forms::NoticeForm& form) {
        EXPECT_EQ(form.kind(), fc.otherKind);
        EXPECT_EQ(state.currentNtcIndex, 5);
        EXPECT_EQ(text(form, "Txt_Ntc_Number"), keyAt(5));
        EXPECT_EQ(text(form, "Txt_4A_SiteName"), "S5");
        EXPECT_FALSE(form.control("Button_Next_Ntc")->isEnabled());
        click(form, "Button_Prev_Ntc");  // back: a fresh form
    });
    script.push_back([this](forms::NoticeForm& form) {
        EXPECT_EQ(form.kind(), fc.kind);
        EXPECT_EQ(text(form, "Txt_Ntc_Number"), keyAt(4));
        EXPECT_EQ(form.windowTitle().count(QString::fromUtf8(app::kVersionText)), 1);
        click(form, "Button_Reset");
        EXPECT_TRUE(form.isUnloaded());
    });
    open(1);
    EXPECT_EQ(shown, 3);
    EXPECT_FALSE(state.dbChanged);
    EXPECT_TRUE(db.prompter.messages.empty());
}

TEST_P(NoticeFlow, SteppingOntoANoticeWithoutAdministrationShowsNoneAndSavesNone)
{
    store({own("S0"), own("S1")});
    ASSERT_TRUE(db.conn.exec("UPDATE fmtv_terra SET adm = NULL WHERE terrakey = " + keyAt(1)));
    script.push_back([this](forms::NoticeForm& form) {
        EXPECT_EQ(text(form, "Txt_B_Adm"), "F");
        click(form, "Button_Next_Ntc");
        EXPECT_EQ(text(form, "Txt_B_Adm"), "");
        click(form, "Button_Next");  // nothing to save without an administration
        click(form, "Button_Reset");
    });
    open(0);
    ASSERT_EQ(db.prompter.messages.size(), 1u);
    EXPECT_EQ(db.prompter.messages[0].title, "Fatal Error");
    EXPECT_EQ(db.prompter.messages[0].text, "The Notifying administration is missing, Cannot save the notice");
    EXPECT_EQ(db.prompter.messages[0].icon, platform::Icon::Warning);
    EXPECT_FALSE(state.dbChanged);
}

TEST_P(NoticeFlow, UpdateAsksAndSavesWhatTheFormShows)
{
    store({own("S0")});
    const std::string before = db.tableCounts() + db.scalar("SELECT group_concat(site_name) FROM fmtv_terra");
    script.push_back([this, &before](forms::NoticeForm& form) {
        // The intent options show and hide the station block.
        QWidget* site = form.control("Txt_4A_SiteName");
        EXPECT_TRUE(site->isVisibleTo(&form));
        form.control<QAbstractButton>("OptInt_Sup")->click();
        EXPECT_FALSE(site->isVisibleTo(&form));
        form.control<QAbstractButton>("OptInt_Add")->click();
        EXPECT_TRUE(site->isVisibleTo(&form));
        form.control<QLineEdit>("Txt_4A_SiteName")->setText("Nancy 'O'");
        db.prompter.answers = {false, true};
        click(form, "Button_Next");  // No: nothing saved, yet the database counts as changed
        EXPECT_TRUE(state.dbChanged);
        EXPECT_EQ(db.tableCounts() + db.scalar("SELECT group_concat(site_name) FROM fmtv_terra"), before);
        EXPECT_EQ(text(form, "Txt_4A_SiteName"), "Nancy 'O'");
        form.control<QLineEdit>("Txt_B_Adm")->setText("I");
        form.control<QLineEdit>("Txt_4C_Deg_Long")->setText("5");
        click(form, "Button_Next");
        EXPECT_EQ(text(form, "Txt_4C_Deg_Long"), "005");  // as stored
        click(form, "Button_Reset");
    });
    open(0);
    ASSERT_EQ(db.prompter.questions.size(), 2u);
    EXPECT_EQ(db.prompter.questions[0].text, "Do you want to save the changes to the Database?");
    EXPECT_EQ(db.prompter.questions[0].title, "Save Notice");
    ASSERT_EQ(db.prompter.messages.size(), 1u);
    EXPECT_EQ(db.prompter.messages[0].text, "The notice was sucessfully updated in the Database");
    EXPECT_EQ(db.prompter.messages[0].title, "Ostrel_Kolv_An");
    EXPECT_EQ(db.prompter.messages[0].icon, platform::Icon::None);
    EXPECT_EQ(db.scalar("SELECT site_name || '|' || adm FROM fmtv_terra"), "Nancy 'O'|I");
}

TEST_P(NoticeFlow, DeleteMovesOnAndClosesAfterTheOnlyNotice)
{
    store({own("S0"), own("S1"), own("S2")});
    script.push_back([this](forms::NoticeForm& form) {
        db.prompter.answers = {false};
        click(form, "Button_Finish");  // No: nothing
        EXPECT_FALSE(state.dbChanged);
        db.prompter.answers = {true};
        click(form, "Button_Finish");  // the last notice: the one before it shows
        EXPECT_EQ(state.currentNtcIndex, 1);
        EXPECT_EQ(text(form, "Txt_4A_SiteName"), "S1");
        EXPECT_FALSE(form.control("Button_Next_Ntc")->isEnabled());
        db.prompter.answers = {true};
        click(form, "Button_Finish");
        EXPECT_EQ(state.currentNtcIndex, 0);
        db.prompter.answers = {true};
        click(form, "Button_Finish");  // the only one left: the form closes
        EXPECT_TRUE(form.isUnloaded());
    });
    open(2);
    EXPECT_TRUE(state.dbChanged);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_terra"), "0");
    EXPECT_EQ(state.ntcIndexList, std::vector<std::int32_t>(3, kDeletedEntry));
    EXPECT_EQ(db.prompter.questions[0].text, "Do you want to delete the notice from the Database?");
    EXPECT_EQ(db.prompter.questions[0].title, "Delete Notice");
    for (const auto& q : db.prompter.questions)
        EXPECT_EQ(q.byDefault, platform::Prompter::Default::No);  // Return answers No
}

TEST_P(NoticeFlow, AFailedDeleteKeepsTheNoticeOnTheFormAndInTheList)
{
    store({own("S0"), own("S1")});
    ASSERT_TRUE(db.conn.exec("CREATE TRIGGER no_delete BEFORE DELETE ON fmtv_terra BEGIN SELECT RAISE(ABORT, 'kept'); END"));
    script.push_back([this](forms::NoticeForm& form) {
        db.prompter.answers = {true};
        click(form, "Button_Finish");
        EXPECT_FALSE(form.isUnloaded());
        EXPECT_EQ(state.currentNtcIndex, 0);
        EXPECT_EQ(text(form, "Txt_4A_SiteName"), "S0");
        click(form, "Button_Reset");
    });
    const std::vector<std::int32_t> list = state.ntcIndexList;
    open(0);
    EXPECT_EQ(state.ntcIndexList, list);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_terra"), "2");
    EXPECT_FALSE(db.prompter.messages.empty());
}

TEST_P(NoticeFlow, ADeleteOntoTheOtherKindLeavesTheDatabaseChanged)
{
    store({own("S0"), other("S1")});
    script.push_back([this](forms::NoticeForm& form) {
        db.prompter.answers = {true};
        click(form, "Button_Finish");  // the next live notice needs the other form
        EXPECT_TRUE(form.isUnloaded());
        EXPECT_TRUE(state.dbChanged);
    });
    script.push_back([this](forms::NoticeForm& form) {
        EXPECT_EQ(form.kind(), fc.otherKind);
        EXPECT_EQ(state.currentNtcIndex, 1);
        EXPECT_FALSE(form.control("Button_Prev_Ntc")->isEnabled());
        click(form, "Button_Reset");  // closed at once
    });
    open(0);
    EXPECT_TRUE(state.dbChanged);
    EXPECT_EQ(state.ntcIndexList[0], kDeletedEntry);
    EXPECT_EQ(db.scalar("SELECT count(*) FROM fmtv_terra"), "1");
}

TEST_P(NoticeFlow, OnAReadOnlyDatabaseUpdateAndDeleteSaySoAndWriteNothing)
{
    testing_support::SmallFileSystem media(8 << 20);
    if (!media.mounted())
        GTEST_SKIP() << "no read-only media to test with: " << media.why();
    store({own("S0"), own("S1")});
    state.dbConnection.close();
    db.conn.close();
    const std::string path = (media.path() / "notices.mdb").string();
    std::filesystem::copy_file(db.path(), path);
    ASSERT_TRUE(media.makeReadOnly()) << media.why();
    ASSERT_TRUE(database::OpenDB(path, state.dbConnection, db.prompter.report()));
    state.dbFileName = path;
    const std::string bytes = testing_support::readFile(path);
    script.push_back([this](forms::NoticeForm& form) {
        form.control<QLineEdit>("Txt_4A_SiteName")->setText("CHANGED");
        click(form, "Button_Next");
        click(form, "Button_Finish");
        EXPECT_FALSE(form.isUnloaded());
        click(form, "Button_Next_Ntc");  // reading goes on
        EXPECT_EQ(text(form, "Txt_4A_SiteName"), "S1");
        click(form, "Button_Reset");
    });
    const std::vector<std::int32_t> list = state.ntcIndexList;
    open(0);
    const auto refused = [&](const char* changed) {
        return "The database " + path + " is read-only. The notice cannot be " + changed + ".";
    };
    ASSERT_EQ(db.prompter.messages.size(), 2u);
    EXPECT_EQ(db.prompter.messages[0].text, refused("saved"));
    EXPECT_EQ(db.prompter.messages[1].text, refused("deleted"));
    EXPECT_EQ(db.prompter.messages[1].title, platform::kAppTitle);
    EXPECT_EQ(db.prompter.messages[1].icon, platform::Icon::Warning);
    EXPECT_TRUE(db.prompter.questions.empty()) << "nothing is asked that cannot be done";
    EXPECT_FALSE(state.dbChanged);
    EXPECT_EQ(state.ntcIndexList, list);
    state.dbConnection.close();
    EXPECT_TRUE(testing_support::readFile(path) == bytes);
}

class NoticeWalk : public NoticeFlowBase {};

// Stepping to and fro between a television and a sound notice: each step ends one form and
// shows a fresh one, never inside another's show, and nothing is left behind.
TEST_F(NoticeWalk, AThousandSwitchesKeepOneFormAtATimeAndLeaveNoWidgets)
{
    constexpr int kSteps = 1000;
    store({testing_support::televisionAdd("TV"), testing_support::soundAdd("FM")});
    const auto liveForms = [] {
        int n = 0;
        for (QWidget* w : QApplication::allWidgets())
            n += dynamic_cast<forms::NoticeForm*>(w) ? 1 : 0;
        return n;
    };
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const qsizetype widgets = QApplication::allWidgets().size();
    int depth = 0;
    int shows = 0;
    std::string failures;
    const forms::ModalShow previous = forms::setModalShow([&](forms::NoticeForm& form) {
        if (depth != 0 || liveForms() != 1)
            failures += "show " + std::to_string(shows) + "; ";
        ++depth;
        // The form stands on the notice of its kind; the step buttons follow the list.
        const int expected = shows % 2 == 0 ? forms::kTvForm : forms::kSoundForm;
        if (form.kind() != expected || state.currentNtcIndex != shows % 2 ||
            !form.control(shows % 2 == 0 ? "Button_Next_Ntc" : "Button_Prev_Ntc")->isEnabled())
            failures += "form " + std::to_string(shows) + "; ";
        ++shows;
        click(form, shows > kSteps ? "Button_Reset" : form.kind() == forms::kTvForm ? "Button_Next_Ntc"
                                                                                    : "Button_Prev_Ntc");
        --depth;
    });
    forms::openSelectedNtc(session, state.ntcIndexList[0], 0);
    forms::setModalShow(previous);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shows, kSteps + 1);
    EXPECT_EQ(failures, "");
    EXPECT_EQ(liveForms(), 0);
    EXPECT_EQ(QApplication::allWidgets().size(), widgets);
    EXPECT_TRUE(db.prompter.messages.empty());
}

// What the sound form saves keeps the television values it has no box for, its own boxes and
// its fragment.
TEST_F(NoticeWalk, AnUpdateFromTheSoundFormKeepsWhatItDoesNotShow)
{
    struct Case {
        const char* body;
        const char* box;  // changed on the form
        const char* value;
        const char* stored;  // notice type, fragment, colour, power ratio, bandwidth, system, site
    };
    const Case cases[] = {
        {"t_notice_type = T01\nt_action = ADD\nt_fragment = GE84\nt_freq_assgn = 98.5\nt_color = PAL\n"
         "t_pwr_ratio = 10\nt_bdwdth = 180\nt_tran_sys = 4\nt_site_name = A\n",
         "Txt_4A_SiteName", "EDITED", "T01|GE84|PAL|10|180|4|EDITED"},
        {"t_notice_type = T01\nt_action = ADD\nt_fragment = GE84\nt_freq_assgn = 98.5\nt_color = SECAM\n"
         "t_pwr_ratio = 3\nt_bdwdth = 180\nt_tran_sys = 4\nt_site_name = A\n",
         "Txt_7D_TranSys", "5", "T01|GE84|SECAM|3|180|5|A"},
        {"t_notice_type = TB5\nt_action = SUPPRESS\nt_fragment = GE84\nt_trg_adm_ref_id = R-1\n"
         "t_trg_freq_assgn = 98.5\nt_trg_long = +0022000\nt_trg_lat = +484500\n",
         "Txt_notified_Rmks", "EDITED", "TB5|GE84|||||"},
    };
    store({cases[0].body, cases[1].body, cases[2].body});
    for (std::int32_t i = 0; i < 3; ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.body);
        script.push_back([&](forms::NoticeForm& form) {
            EXPECT_EQ(form.kind(), forms::kSoundForm);
            form.control<QLineEdit>(c.box)->setText(c.value);
            db.prompter.answers = {true};
            click(form, "Button_Next");
            click(form, "Button_Reset");
        });
        open(i);
        EXPECT_EQ(db.prompter.messages.back().text, "The notice was sucessfully updated in the Database");
        EXPECT_EQ(db.scalar("SELECT notice_typ || '|' || fragment || '|' || ifnull(color, '') || '|' || "
                            "ifnull(pwr_ratio, '') || '|' || ifnull(bdwdth, '') || '|' || ifnull(tran_sys, '') || "
                            "'|' || ifnull(site_name, '') FROM fmtv_terra WHERE terrakey = " + keyAt(i)),
                  c.stored);
    }
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An update the database refuses changes nothing stored and leaves the user's values on the form.
TEST_P(NoticeFlow, ARefusedUpdateKeepsTheDatabaseAndTheForm)
{
    struct Case {
        const char* box;
        const char* value;
        const char* trigger;  // made before the update, dropped after it
        const char* named;    // in the database's report
    };
    const Case cases[] = {
        {"Txt_4A_SiteName", "Metz", "CREATE TRIGGER refuse BEFORE UPDATE ON fmtv_terra "
                                    "BEGIN SELECT RAISE(ABORT, 'refused'); END", "refused"},
    };
    store({own("S0")});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        db.prompter.messages.clear();
        if (*c.trigger) {
            ASSERT_TRUE(db.conn.exec(c.trigger));
        }
        const std::string before = fileBytes(db.path());
        script.push_back([&](forms::NoticeForm& form) {
            form.control<QCheckBox>("ChkValidate")->setChecked(false);
            form.control<QLineEdit>(c.box)->setText(c.value);
            db.prompter.answers = {true};
            click(form, "Button_Next");
            EXPECT_EQ(text(form, c.box), c.value);
            EXPECT_EQ(fileBytes(db.path()), before);
            if (*c.trigger) {
                ASSERT_TRUE(db.conn.exec("DROP TRIGGER refuse"));
                db.prompter.answers = {true};
                click(form, "Button_Next");
            }
            click(form, "Button_Reset");
        });
        open(0);
        ASSERT_GE(db.prompter.messages.size(), 2u);
        std::string said;
        for (const auto& m : db.prompter.messages)
            said += m.text + "\n";
        EXPECT_NE(said.find(c.named), std::string::npos) << said;
        EXPECT_EQ(db.prompter.messages[db.prompter.messages.size() - (*c.trigger ? 2 : 1)].text,
                  "Failed to update the notice in the Database");
        if (*c.trigger) {
            EXPECT_EQ(db.scalar("SELECT site_name FROM fmtv_terra"), "Metz");
        }
    }
}

// Shows the form as the program does, so that clicks and keys reach it as a user's.
void showForUser(forms::NoticeForm& form)
{
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
}

std::string fullNotice(int kind)
{
    return kind == forms::kTvForm ? testing_support::fullTelevisionNotice() : testing_support::fullSoundNotice();
}

// Clicking the intent and fragment already chosen, and turning the wheel over every list, then
// saving, keeps the notice whole: its intent, fragment and every list of it.
TEST_P(NoticeFlow, GesturesOverChosenOptionsAndListsChangeNothingStored)
{
    store({fullNotice(fc.kind)});
    const std::string sql = "SELECT intent || '|' || fragment || '|' || ifnull(ant_dir, '') || '|' || "
                            "ifnull(polar, '') FROM fmtv_terra";
    const std::string before = db.tableCounts() + db.scalar(sql);
    script.push_back([this](forms::NoticeForm& form) {
        showForUser(form);
        for (const forms::ControlRow& row : form.controls()) {
            auto* option = form.control<QRadioButton>(row.name);
            if (option && option->isChecked())
                QTest::mouseClick(option, Qt::LeftButton);
        }
        form.control("Txt_B_Adm")->setFocus();
        for (const forms::ControlRow& row : form.controls())
            if (auto* list = form.control<QComboBox>(row.name)) {
                const QPointF at(list->width() / 2.0, list->height() / 2.0);
                QWheelEvent notch(at, list->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                                  Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(list, &notch);
            }
        db.prompter.answers = {true};
        click(form, "Button_Next");
        click(form, "Button_Reset");
    });
    open(0);
    ASSERT_FALSE(db.prompter.messages.empty());
    EXPECT_EQ(db.prompter.messages.back().text, "The notice was sucessfully updated in the Database");
    EXPECT_EQ(db.tableCounts() + db.scalar(sql), before);
}

// An old notice's year fails its check as the user leaves it; Close still closes.
TEST_P(NoticeFlow, CloseClosesTheFormWhileABoxFails)
{
    store({own("S0") + "t_d_adm_ntc = 2001-05-10\n"});
    const std::string before = fileBytes(db.path());
    script.push_back([this](forms::NoticeForm& form) {
        showForUser(form);
        auto* year = form.control<QLineEdit>("Txt_Ntc_YY");
        EXPECT_EQ(year->text(), "2001");
        year->setFocus();
        QTest::keyClick(year, Qt::Key_Tab);
        EXPECT_EQ(form.focusWidget(), year);
        QTest::mouseClick(form.control("Button_Reset"), Qt::LeftButton);
        EXPECT_TRUE(form.isUnloaded());
    });
    open(0);
    ASSERT_EQ(db.prompter.messages.size(), 1u);
    EXPECT_EQ(db.prompter.messages[0].text, "Invalid year in date of notice");
    EXPECT_EQ(fileBytes(db.path()), before);
}

// A suppression or withdrawal turned by the user into an addition or a modification takes its
// reference, frequency and site from its target, where the user has not filled them.
TEST_P(NoticeFlow, ASuppressionTurnedIntoAnAdditionKeepsItsIdentification)
{
    const bool tv = fc.kind == forms::kTvForm;
    struct Case {
        const char* intent;
        const char* chosen;  // the option the user turns to
        bool byKey;          // with the arrow key from the option chosen, else a click
        const char* stored;  // intent as stored
    };
    const Case cases[] = {{"SUPPRESS", "OptInt_Add", false, "ADD"}, {"WITHDRAW", "OptInt_Mod", true, "MODIFY"}};
    for (const Case& c : cases) {
        store({std::string("t_notice_type = TB5\nt_action = ") + c.intent + "\nt_fragment = " +
               (tv ? "GE89" : "GE84") + "\nt_trg_adm_ref_id = R-9\nt_trg_freq_assgn = " + (tv ? "479.25" : "98.5") +
               "\nt_trg_long = +0022000\nt_trg_lat = -484507\n"});
    }
    for (std::int32_t i = 0; i < 2; ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.intent);
        script.push_back([&](forms::NoticeForm& form) {
            showForUser(form);
            EXPECT_EQ(text(form, "Txt_AdmRefID"), "");
            form.control<QLineEdit>("Txt_4C_EW")->setText("W");  // already filled: kept
            auto* chosen = form.control<QRadioButton>(c.chosen);
            if (c.byKey) {
                form.control("OptInt_Wdraw")->setFocus();
                QTest::keyClick(form.control("OptInt_Wdraw"), Qt::Key_Up);
                QTest::keyClick(form.control("OptInt_Sup"), Qt::Key_Up);
            } else {
                QTest::mouseClick(chosen, Qt::LeftButton);
            }
            ASSERT_TRUE(chosen->isChecked());
            EXPECT_EQ(text(form, "Txt_AdmRefID"), "R-9");
            EXPECT_EQ(text(form, "Txt_1A_FreqAssgn"), tv ? "479.25" : "98.5");
            EXPECT_EQ(text(form, "Txt_4C_Deg_Long"), "002");
            EXPECT_EQ(text(form, "Txt_4C_EW"), "W");
            EXPECT_EQ(text(form, "Txt_4C_Sec_Lat"), "07");
            db.prompter.answers = {true};
            click(form, "Button_Next");
            click(form, "Button_Reset");
        });
        open(i);
        EXPECT_EQ(db.prompter.messages.back().text, "The notice was sucessfully updated in the Database");
        EXPECT_EQ(db.scalar("SELECT notice_typ || '|' || intent || '|' || adm_ref_id || '|' || freq_assgn || '|' || "
                            "long_deg || long_ew || '|' || lat_deg || lat_min || lat_sec || lat_ns "
                            "FROM fmtv_terra WHERE terrakey = " + keyAt(i)),
                  std::string(tv ? "T02|" : "T01|") + c.stored + "|R-9|" + (tv ? "479.25" : "98.5") + "|2W|48457S");
    }
}

// What the database cannot hold, or a date that is no day of the calendar, stops Update before
// it writes anything, with the box's own title, and the focus in the box.
TEST_P(NoticeFlow, UpdateRefusesWhatCannotBeStoredBeforeWritingAnything)
{
    struct Case {
        std::vector<std::pair<const char*, const char*>> boxes;
        const char* focus;  // the box refused, or "" when the update goes through
        const char* title;
        const char* message;
        int beeps;
    };
    const Case cases[] = {
        {{{"Txt_4C_Deg_Long", "4.5"}}, "Txt_4C_Deg_Long", "Prevalidation Error - Longitude",
         "Value must be a whole number", 0},
        {{{"Txt_1A_FreqAssgn", "abc"}}, "Txt_1A_FreqAssgn", "Prevalidation Error - 1a Assigned frequency",
         "Value must be numerical", 0},
        {{{"Txt_4C_Min_Lat", "1e99"}}, "Txt_4C_Min_Lat", "Prevalidation Error - Latitude",
         "Value must be a whole number", 0},
        // A day beyond its month names the days that month has.
        {{{"Txt_Ntc_DD", "31"}, {"Txt_Ntc_MM", "2"}, {"Txt_Ntc_YY", "2005"}}, "Txt_Ntc_DD",
         "Prevalidation Error - Date (day)", "Value should be between [1,28]", 1},
        {{{"Txt_Ntc_DD", "29"}, {"Txt_Ntc_MM", "2"}, {"Txt_Ntc_YY", "2023"}}, "Txt_Ntc_DD",
         "Prevalidation Error - Date (day)", "Value should be between [1,28]", 1},
        {{{"Txt_Ntc_DD", "30"}, {"Txt_Ntc_MM", "2"}, {"Txt_Ntc_YY", "2024"}}, "Txt_Ntc_DD",
         "Prevalidation Error - Date (day)", "Value should be between [1,29]", 1},
        {{{"Txt_Ntc_DD", "29"}, {"Txt_Ntc_MM", "02"}, {"Txt_Ntc_YY", "2100"}}, "Txt_Ntc_DD",
         "Prevalidation Error - Date (day)", "Value should be between [1,28]", 1},
        {{{"Txt_Ntc_DD", "32"}, {"Txt_Ntc_MM", "1"}, {"Txt_Ntc_YY", "2005"}}, "Txt_Ntc_DD",
         "Prevalidation Error - Date (day)", "Value should be between [1,31]", 1},
        {{{"Txt_Ntc_DD", "1"}, {"Txt_Ntc_MM", "13"}, {"Txt_Ntc_YY", "2024"}}, "Txt_Ntc_MM",
         "Prevalidation Error - Date (month)", "Value should be between [1,12]", 0},
        {{{"Txt_2C_DD", "31"}, {"Txt_2C_MM", "4"}, {"Txt_2C_YY", "2006"}}, "Txt_2C_DD",
         "Prevalidation Error - Date of bringing into use", "Value should be between [1,30]", 1},
        {{{"Txt_2C_DD", "31"}, {"Txt_2C_MM", "6"}, {"Txt_2C_YY", "2006"}}, "Txt_2C_DD",
         "Prevalidation Error - Date of bringing into use", "Value should be between [1,30]", 1},
        {{{"Txt_2C_DD", "31"}, {"Txt_2C_MM", "9"}, {"Txt_2C_YY", "2006"}}, "Txt_2C_DD",
         "Prevalidation Error - Date of bringing into use", "Value should be between [1,30]", 1},
        {{{"Txt_2C_DD", "31"}, {"Txt_2C_MM", "11"}, {"Txt_2C_YY", "2006"}}, "Txt_2C_DD",
         "Prevalidation Error - Date of bringing into use", "Value should be between [1,30]", 1},
        {{{"Txt_Ntc_DD", "29"}, {"Txt_Ntc_MM", "2"}, {"Txt_Ntc_YY", "2024"}, {"Txt_4C_Deg_Long", "4.0"},
          {"Txt_1A_FreqAssgn", " 98.5 "}}, "", "", "", 0},
    };
    store({own("S0")});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.boxes.front().first + std::string("=") + c.boxes.front().second);
        db.prompter.messages.clear();
        db.prompter.questions.clear();
        db.prompter.beeps = 0;
        const std::string before = fileBytes(db.path());
        script.push_back([&](forms::NoticeForm& form) {
            showForUser(form);
            QTest::mouseClick(form.control("ChkValidate"), Qt::LeftButton);  // no check as boxes are left
            for (const auto& [box, value] : c.boxes)
                form.control<QLineEdit>(box)->setText(value);
            db.prompter.answers = {true};
            QTest::mouseClick(form.control("Button_Next"), Qt::LeftButton);
            if (*c.focus) {
                EXPECT_EQ(form.focusWidget(), form.control(c.focus));
                for (const auto& [box, value] : c.boxes)
                    EXPECT_EQ(text(form, box), value) << box;
            }
            click(form, "Button_Reset");
        });
        open(0);
        if (!*c.focus) {
            EXPECT_EQ(db.prompter.messages.back().text, "The notice was sucessfully updated in the Database");
            EXPECT_EQ(db.scalar("SELECT d_adm_ntc || '|' || long_deg || '|' || freq_assgn FROM fmtv_terra"),
                      "2024-2-29|4|98.5");
            continue;
        }
        EXPECT_TRUE(db.prompter.questions.empty());
        ASSERT_EQ(db.prompter.messages.size(), 1u);
        EXPECT_EQ(db.prompter.messages[0].title, c.title);
        EXPECT_EQ(db.prompter.messages[0].text, c.message);
        EXPECT_EQ(db.prompter.messages[0].icon, platform::Icon::Warning);
        EXPECT_EQ(db.prompter.beeps, c.beeps);
        EXPECT_EQ(fileBytes(db.path()), before);
        EXPECT_FALSE(state.dbChanged);
    }
}

}  // namespace
