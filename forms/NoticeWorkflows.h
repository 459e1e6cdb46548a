#pragma once

#include "forms/common/NoticeNavigation.h"

#include <cstdint>
#include <optional>

// The notice workflows of the entry forms: opening a stored notice in the form that suits it,
// and what the form's buttons do (step, update, delete, close). At most one form exists: a step
// onto a notice of the other kind ends its form and asks for the other, which showNtcScreen then
// shows.
namespace forms {

/// The notice a form asks to be shown next, in a form of another kind.
struct NextNotice {
    std::int32_t terrakey = 0;
    notice::NoticeRecord rec;
    int kind = 0;
    std::int32_t index = 0;
};

// What an open form works on: the program's state, where it asks and tells, and the notice it
// asks for when a step leaves its kind.
struct NoticeSession {
    app::AppState& state;
    platform::Prompter& prompter;
    std::optional<NextNotice> next;
    int changed = 0;  // notices saved or deleted through its forms
};

/// Shows the notice in a fresh form of its kind, modally, and then each notice a step asks for
/// in another form; returns when the last form has closed. Kind 0 does nothing.
void showNtcScreen(NoticeSession& session, std::int32_t terrakey, const notice::NoticeRecord& rec, int kind,
                   std::int32_t index);

/// Reads the notice and shows it in its form; returns when the last form has closed.
void openSelectedNtc(NoticeSession& session, std::int32_t terrakey, std::int32_t index);

/// Connects the form's buttons, options and lists to the session.
void connectNoticeFormEvents(NoticeForm& form, NoticeSession& session);

}  // namespace forms
