#pragma once

#include "forms/common/ControlTable.h"

namespace forms {

class NoticeForm;

/// The sound-broadcasting form's 234 controls: the common rows and its own.
const ControlTable& fmFrmT01MControls();

/// Ticks ChkValidate and ChkClearFields and fills the two lists, each after an empty item,
/// with none selected.
void initFmForm(NoticeForm& form);

}  // namespace forms
