#pragma once

#include "forms/common/NoticeNavigation.h"

namespace forms {

/// The sound form's own part of its events: its checks of what is typed, emptying it before
/// a step, and its blocks shown and hidden by the options and lists chosen.
FormReactions fmFormReactions();

}  // namespace forms
