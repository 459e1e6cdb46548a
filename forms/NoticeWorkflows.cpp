#include "forms/NoticeWorkflows.h"

#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"
#include "forms/common/NoticeScreen.h"

#include "database/NoticeDelete.h"
#include "database/NoticeRead.h"
#include "database/NoticeUpdate.h"
#include "notice/NoticeRules.h"
#include "platform/Prompter.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include <map>

namespace forms {
namespace {

using app::kDeletedEntry;

const FormReactions* reactionsOf(const NoticeForm& form)
{
    static const std::map<int, FormReactions> byKind = [] {
        std::map<int, FormReactions> m;
        for (const FormType& type : formTypes())
            m.emplace(type.kind, type.reactions());
        return m;
    }();
    const auto it = byKind.find(form.kind());
    return it == byKind.end() ? nullptr : &it->second;
}

void setText(NoticeForm& form, const char* name, const std::string& text)
{
    form.control<QLineEdit>(name)->setText(QString::fromStdString(text));
}

// Fills the form with the notice at `index` or the next live one in the direction, or asks
// for the form of the notice's kind when it is another.
void showNtcAt(NoticeForm& form, NoticeSession& s, int direction)
{
    app::AppState& st = s.state;
    st.currentTerrakey = getNextNtcKey(st, st.currentNtcIndex, direction);
    notice::NoticeRecord rec;
    (void)database::readNtcFromDB(st.currentTerrakey, rec, st.dbConnection, s.prompter.report());
    const int kind = getNtcScreenType(rec);
    if (kind != form.kind()) {
        s.next = NextNotice{st.currentTerrakey, std::move(rec), kind, st.currentNtcIndex};
        unloadNtcScreen(form);
        return;
    }
    if (const FormReactions* r = reactionsOf(form); r && r->clearForStep)
        r->clearForStep(form);
    // A notice stored without an administration must not show the previous one's.
    form.control<QLineEdit>("Txt_B_Adm")->clear();
    writeNtcToScreen(rec, form);
    writeNtcNumber(form, st.currentTerrakey);
    setText(form, "Txt_Filename", st.dbFileName);
    enableStepButtons(form, st);
}

void step(NoticeForm& form, NoticeSession& s, int direction)
{
    s.state.currentNtcIndex += direction == 1 ? 1 : -1;
    showNtcAt(form, s, direction);
}

// After a delete: the next live notice, else the previous one, else the form closes.
void moveAfterDelete(NoticeForm& form, NoticeSession& s)
{
    app::AppState& st = s.state;
    if (hasNextNtc(st, st.currentNtcIndex + 1))
        step(form, s, 1);
    else if (hasPrevNtc(st, st.currentNtcIndex - 1))
        step(form, s, 0);
    else
        unloadNtcScreen(form);
}

// A database that cannot be written: says so, naming it, for the notice that cannot be
// `changed` ("saved", "deleted"); true when it did.
bool refusedReadOnly(NoticeSession& s, const char* changed)
{
    if (!s.state.dbConnection.readOnly())
        return false;
    s.prompter.message("The database " + s.state.dbFileName + " is read-only. The notice cannot be " + changed + ".",
                       platform::kAppTitle, platform::Icon::Warning);
    return true;
}

void update(NoticeForm& form, NoticeSession& s)
{
    app::AppState& st = s.state;
    if (refusedReadOnly(s, "saved"))
        return;
    if (form.control<QLineEdit>("Txt_B_Adm")->text().isEmpty()) {
        s.prompter.message("The Notifying administration is missing, Cannot save the notice", "Fatal Error",
                           platform::Icon::Warning);
        return;
    }
    if (const FormReactions* r = reactionsOf(form); r && r->maySave && !r->maySave(form, st.dbConnection, s.prompter))
        return;
    notice::NoticeRecord rec;
    readNtcFromScreen(rec, form, form.kind());
    st.dbChanged = true;
    if (!s.prompter.askYesNo("Do you want to save the changes to the Database?", "Save Notice"))
        return;
    const bool saved = database::updateNtc(rec, st.currentTerrakey, st.dbConnection, s.prompter.report());
    s.changed += saved;
    s.prompter.message(saved ? "The notice was sucessfully updated in the Database"
                             : "Failed to update the notice in the Database",
                       platform::kAppTitle, platform::Icon::None);
    writeNtcToScreen(rec, form);
    form.update();
}

void remove(NoticeForm& form, NoticeSession& s)
{
    app::AppState& st = s.state;
    if (refusedReadOnly(s, "deleted"))
        return;
    if (!s.prompter.askYesNo("Do you want to delete the notice from the Database?", "Delete Notice",
                             platform::Prompter::Default::No))
        return;
    st.dbChanged = true;
    // A notice still stored stays on the form and in the list.
    if (!database::deleteNtc(st.currentTerrakey, st.dbConnection, s.prompter.report()))
        return;
    ++s.changed;
    st.ntcIndexList[std::size_t(st.currentNtcIndex)] = kDeletedEntry;
    moveAfterDelete(form, s);
}

void onClick(NoticeForm& form, const char* button, std::function<void()> act)
{
    QObject::connect(form.control<QAbstractButton>(button), &QAbstractButton::clicked, &form,
                     [act = std::move(act)] { act(); });
}

}  // namespace

void connectNoticeFormEvents(NoticeForm& form, NoticeSession& s)
{
    onClick(form, "Button_Next_Ntc", [&form, &s] { step(form, s, 1); });
    onClick(form, "Button_Prev_Ntc", [&form, &s] { step(form, s, 0); });
    onClick(form, "Button_Next", [&form, &s] { update(form, s); });
    onClick(form, "Button_Finish", [&form, &s] { remove(form, s); });
    onClick(form, "Button_Reset", [&form] { unloadNtcScreen(form); });
    const FormReactions* r = reactionsOf(form);
    if (!r)
        return;
    r->install(form, s.prompter);
    auto choice = r->choice;
    connectOptionReactions(form, [&form, choice](QRadioButton& option) {
        choice(form, option.objectName().toStdString());
    });
    connectIntentChange(form);
    for (const ControlRow& row : form.controls())
        if (auto* combo = form.control<QComboBox>(row.name))
            QObject::connect(combo, &QComboBox::currentIndexChanged, &form,
                             [&form, choice, name = row.name] { choice(form, name); });
}

void showNtcScreen(NoticeSession& s, std::int32_t terrakey, const notice::NoticeRecord& rec, int kind,
                   std::int32_t index)
{
    s.next = NextNotice{terrakey, rec, kind, index};
    while (s.next && formTypeOf(s.next->kind)) {
        const NextNotice n = std::move(*s.next);
        s.next.reset();
        s.state.currentNtcIndex = n.index;
        const std::unique_ptr<NoticeForm> form = loadNtcForm(n.kind, s.state.language);
        connectNoticeFormEvents(*form, s);
        enableStepButtons(*form, s.state);
        writeNtcNumber(*form, n.terrakey);
        setText(*form, "Txt_Filename", s.state.dbFileName);
        writeNtcToScreen(n.rec, *form);
        showModal(*form);
    }
    s.next.reset();
}

void openSelectedNtc(NoticeSession& s, std::int32_t terrakey, std::int32_t index)
{
    notice::NoticeRecord rec;
    (void)database::readNtcFromDB(terrakey, rec, s.state.dbConnection, s.prompter.report());
    showNtcScreen(s, terrakey, rec, getNtcScreenType(rec), index);
}

}  // namespace forms
