#pragma once

#include "forms/common/Validators.h"

#include <string>
#include <vector>

namespace platform { class Prompter; }

namespace forms {

class NoticeForm;

/// The sound form's 157 box checks.
const BoxChecks& fmBoxChecks();

/// The sound form's 22 boxes whose typed letters become capitals.
const std::vector<std::string>& fmUpperCasedBoxes();

/// Puts the sound form's key filters and validators on the form; `prompter` shows their
/// messages and outlives the form.
void installFmFieldChecks(NoticeForm& form, platform::Prompter& prompter);

}  // namespace forms
