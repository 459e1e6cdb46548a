#pragma once

#include "ControlTable.h"
#include "NoticeNavigation.h"
#include "app/core/Texts.h"

#include <functional>
#include <memory>
#include <span>
#include <string>

namespace forms {

class NoticeForm;

// One kind of entry form, all that tells it from the other: its kind, name, notice type,
// controls, load steps and reactions.
struct FormType {
    int kind;
    const char* name;
    const char* noticeType;  // what an update saves, but for a suppression or withdrawal
    const ControlTable& (*controls)();
    void (*setToolTips)(NoticeForm&, app::Language);
    void (*setCaptions)(NoticeForm&, app::Language);
    void (*init)(NoticeForm&);
    FormReactions (*reactions)();
};

/// Both kinds of form: the registry above the forms (forms/FormTypes.cpp) defines them.
std::span<const FormType> formTypes();
/// The form type of `kind`, or nullptr for a kind no form shows.
const FormType* formTypeOf(int kind);

/// Sets up a form at load. "T02": the television form's tool tips, captions and initTvForm;
/// "T01": the sound form's; then the version text is appended to the title. Any other type
/// changes nothing.
void initNtcScreen(NoticeForm& form, const std::string& noticeType, app::Language language);

/// Ends the form: its modal show returns and it is not shown again.
void unloadNtcScreen(NoticeForm& form);

/// Makes a fresh form of the kind (kSoundForm or kTvForm) and runs its load; nullptr for any
/// other kind. Each call starts again from the design-time texts and empty lists.
std::unique_ptr<NoticeForm> loadNtcForm(int kind, app::Language language);

/// The load's own steps shared by initTvForm and initFmForm: ticks ChkValidate and
/// ChkClearFields and appends to each list an empty item and its items, none selected.
void initFormControls(NoticeForm& form);

// How a form is shown modally. The program runs the form's event loop; tests put their own
// function here to act on each form shown.
using ModalShow = std::function<void(NoticeForm&)>;

/// Replaces the way forms are shown; returns the previous one.
ModalShow setModalShow(ModalShow show);

/// Shows the form modally; returns when it is unloaded.
void showModal(NoticeForm& form);

}  // namespace forms
