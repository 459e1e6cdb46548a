#pragma once

#include "forms/common/Validators.h"

#include <string>
#include <vector>

namespace platform { class Prompter; }

namespace forms {

class NoticeForm;

/// The television form's 158 box checks.
const BoxChecks& tvBoxChecks();

/// The television form's 23 boxes whose typed letters become capitals.
const std::vector<std::string>& tvUpperCasedBoxes();

/// Puts the television form's key filters and validators on the form; `prompter` shows their
/// messages and outlives the form.
void installTvFieldChecks(NoticeForm& form, platform::Prompter& prompter);

}  // namespace forms
