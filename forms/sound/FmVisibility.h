#pragma once

#include "forms/common/Visibility.h"

namespace forms {

/// The sound form's station block and station data.
const VisibilityGroups& fmVisibilityGroups();

}  // namespace forms
