#include "FmFormEvents.h"

#include "FmFieldChecks.h"
#include "FmVisibility.h"

namespace forms {

FormReactions fmFormReactions()
{
    return formReactions(fmVisibilityGroups(), fmUpperCasedBoxes());
}

}  // namespace forms
