#pragma once

#include <string>
#include <vector>

namespace forms {

/// The television form's 23 boxes whose typed letters become capitals.
const std::vector<std::string>& tvUpperCasedBoxes();

}  // namespace forms
