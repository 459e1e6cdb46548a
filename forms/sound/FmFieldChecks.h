#pragma once

#include "forms/common/Validators.h"

#include <string>
#include <vector>

namespace forms {

/// The sound form's 157 box checks.
const BoxChecks& fmBoxChecks();

/// The sound form's 22 boxes whose typed letters become capitals.
const std::vector<std::string>& fmUpperCasedBoxes();

}  // namespace forms
