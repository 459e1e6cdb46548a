#pragma once

#include "forms/common/ControlTable.h"

namespace forms {

class NoticeForm;

/// The television form's 243 controls: the common rows and its own.
const ControlTable& tvFrmT02MControls();

/// Ticks ChkValidate and ChkClearFields and fills the four lists, each after an empty item,
/// with none selected.
void initTvForm(NoticeForm& form);

}  // namespace forms
