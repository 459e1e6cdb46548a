#include "TvFormEvents.h"

#include "TvFieldChecks.h"
#include "TvVisibility.h"

namespace forms {

FormReactions tvFormReactions()
{
    return formReactions(tvVisibilityGroups(), tvUpperCasedBoxes());
}

}  // namespace forms
