#include "FmFormEvents.h"

#include "FmFieldChecks.h"
#include "FmVisibility.h"

namespace forms {

FormReactions fmFormReactions()
{
    return {
        installFmFieldChecks,
        [](NoticeForm& form) {
            resetFmForm(form);
            clearFrgAndDate(form);
        },
        applyFmChoice,
    };
}

}  // namespace forms
