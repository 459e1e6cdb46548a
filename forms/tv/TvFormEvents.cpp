#include "TvFormEvents.h"

#include "TvFieldChecks.h"
#include "TvVisibility.h"

namespace forms {

FormReactions tvFormReactions()
{
    return {
        installTvFieldChecks,
        [](NoticeForm& form) {
            resetTvForm(form);
            clearFrgAndDate(form);
        },
        applyTvChoice,
    };
}

}  // namespace forms
