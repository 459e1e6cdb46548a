#include "TvFormEvents.h"

#include "TvVisibility.h"

namespace forms {

FormReactions tvFormReactions()
{
    return formReactions(tvVisibilityGroups());
}

}  // namespace forms
