#pragma once

#include "app/core/AppState.h"
#include "notice/NoticeRecord.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace db { class Connection; }
namespace platform { class Prompter; }

// Walking the notice list from an open form, and what each kind of form does beyond its
// buttons; the workflows that open forms and run their buttons are in forms/NoticeWorkflows.
namespace forms {

class NoticeForm;

/// The form kind for a record: 1 sound, 2 television, 0 none. A "TB5" of another fragment than
/// "GE84" or "GE89" is a sound notice when its target frequency lies in 47-68 or 87.5-108 MHz;
/// a frequency that is empty or no number gives the television form.
int getNtcScreenType(const notice::NoticeRecord& rec);

/// The key of the first live entry from `start` on, forwards (direction 1) or backwards (0),
/// and sets currentNtcIndex to its place; kNotFound, the index unchanged, past either end.
std::int32_t getNextNtcKey(app::AppState& state, std::int32_t start, int direction);
/// Whether a live entry lies at `index` or after it (before it), within the list.
bool hasNextNtc(const app::AppState& state, std::int32_t index);
bool hasPrevNtc(const app::AppState& state, std::int32_t index);

/// Shows the notice's key in Txt_Ntc_Number.
void writeNtcNumber(NoticeForm& form, std::int32_t terrakey);

// What a kind of form does beyond the common buttons: check what is typed, empty itself
// before a step, answer a chosen option or list item, and check the boxes before an update.
struct FormReactions {
    std::function<void(NoticeForm&, platform::Prompter&)> install;
    std::function<void(NoticeForm&)> clearForStep;
    std::function<void(NoticeForm&, std::string_view control)> choice;
    std::function<bool(NoticeForm&, db::Connection&, platform::Prompter&)> maySave;
};

/// The reactions of a form, each control checked, upper-cased, shown, hidden and emptied as its
/// row says.
FormReactions formReactions();

/// The step buttons enabled by whether a live notice lies on their side of currentNtcIndex.
void enableStepButtons(NoticeForm& form, const app::AppState& state);

}  // namespace forms
