#pragma once

#include "forms/common/Visibility.h"

#include <string_view>

namespace forms {

class NoticeForm;

/// The television form's station block and station data.
const VisibilityGroups& tvVisibilityGroups();

/// Empties the television form but for the administration, the notification date and the
/// fragment, and shows every block.
void resetTvForm(NoticeForm& form);

/// The television form's answer to a chosen intent, fragment or antenna list item.
void applyTvChoice(NoticeForm& form, std::string_view control);

}  // namespace forms
