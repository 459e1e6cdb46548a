#include "NoticeNavigation.h"

#include "FieldChecks.h"
#include "NoticeForm.h"
#include "SaveChecks.h"
#include "Validators.h"
#include "Visibility.h"

#include "notice/NoticeRules.h"

#include <QLineEdit>

#include <array>

namespace forms {
namespace {

using app::kDeletedEntry;
using app::kNotFound;

// The sound-broadcasting bands, in MHz, bounds included.
constexpr std::array<std::pair<double, double>, 2> kSoundBands{{{47.0, 68.0}, {87.5, 108.0}}};

bool isLive(const app::AppState& state, std::int32_t index)
{
    return state.ntcIndexList[std::size_t(index)] != kDeletedEntry;
}

bool inList(const app::AppState& state, std::int32_t index)
{
    return index >= 0 && index < state.ntcCount;
}

// The place of the first live entry at `index` or further in the step's direction, within the
// list; kNotFound for none.
std::int32_t liveFrom(const app::AppState& state, std::int32_t index, int step)
{
    for (; inList(state, index); index += step)
        if (isLive(state, index))
            return index;
    return kNotFound;
}

}  // namespace

int getNtcScreenType(const notice::NoticeRecord& rec)
{
    if (notice::carriesTarget(rec.notice_typ)) {
        if (rec.fragment == "GE84")
            return kSoundForm;
        if (rec.fragment == "GE89")
            return kTvForm;
        const std::optional<double> mhz = numericValue(rec.target.freq_assgn);
        if (!mhz)
            return kTvForm;
        for (const auto& [low, high] : kSoundBands)
            if (*mhz >= low && *mhz <= high)
                return kSoundForm;
        return kTvForm;
    }
    if (rec.notice_typ == "T01")
        return kSoundForm;
    if (rec.notice_typ == "T02")
        return kTvForm;
    return 0;
}

std::int32_t getNextNtcKey(app::AppState& state, std::int32_t start, int direction)
{
    const std::int32_t i = liveFrom(state, start, direction == 1 ? 1 : -1);
    if (i == kNotFound)
        return kNotFound;
    state.currentNtcIndex = i;
    return state.ntcIndexList[std::size_t(i)];
}

bool hasNextNtc(const app::AppState& state, std::int32_t index)
{
    return liveFrom(state, index, 1) != kNotFound;
}

bool hasPrevNtc(const app::AppState& state, std::int32_t index)
{
    return liveFrom(state, index, -1) != kNotFound;
}

void writeNtcNumber(NoticeForm& form, std::int32_t terrakey)
{
    form.control<QLineEdit>("Txt_Ntc_Number")->setText(QString::number(terrakey));
}

void enableStepButtons(NoticeForm& form, const app::AppState& state)
{
    form.control("Button_Next_Ntc")->setEnabled(hasNextNtc(state, state.currentNtcIndex + 1));
    form.control("Button_Prev_Ntc")->setEnabled(hasPrevNtc(state, state.currentNtcIndex - 1));
}

FormReactions formReactions()
{
    return {
        [](NoticeForm& form, platform::Prompter& prompter) {
            new FieldChecks(form, prompter);  // owned by the form
        },
        [](NoticeForm& form) {
            resetForm(form);
            clearFrgAndDate(form);
        },
        [](NoticeForm& form, std::string_view control) { applyChoice(form, control); },
        [](NoticeForm& form, db::Connection& conn, platform::Prompter& prompter) {
            return maySave(form, conn, prompter);
        },
    };
}

}  // namespace forms
