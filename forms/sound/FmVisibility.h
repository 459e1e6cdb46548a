#pragma once

#include "forms/common/Visibility.h"

#include <string_view>

namespace forms {

class NoticeForm;

/// The sound form's station block and station data.
const VisibilityGroups& fmVisibilityGroups();

/// Empties the sound form but for the administration, the notification date and the
/// fragment, and shows every block.
void resetFmForm(NoticeForm& form);

/// The sound form's answer to a chosen intent, fragment or antenna list item.
void applyFmChoice(NoticeForm& form, std::string_view control);

}  // namespace forms
