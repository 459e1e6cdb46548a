#include "FmFormEvents.h"

#include "FmVisibility.h"

namespace forms {

FormReactions fmFormReactions()
{
    return formReactions(fmVisibilityGroups());
}

}  // namespace forms
