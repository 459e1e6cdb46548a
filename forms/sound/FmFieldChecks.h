#pragma once

#include <string>
#include <vector>

namespace forms {

/// The sound form's 22 boxes whose typed letters become capitals.
const std::vector<std::string>& fmUpperCasedBoxes();

}  // namespace forms
