#pragma once

#include "forms/common/Visibility.h"

namespace forms {

/// The television form's station block and station data.
const VisibilityGroups& tvVisibilityGroups();

}  // namespace forms
