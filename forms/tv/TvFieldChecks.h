#pragma once

#include "forms/common/Validators.h"

#include <string>
#include <vector>

namespace forms {

/// The television form's 158 box checks.
const BoxChecks& tvBoxChecks();

/// The television form's 23 boxes whose typed letters become capitals.
const std::vector<std::string>& tvUpperCasedBoxes();

}  // namespace forms
