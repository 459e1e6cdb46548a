#pragma once

#include "app/core/Texts.h"

namespace forms {

class NoticeForm;

/// The language column a language id selects: French for 1, Spanish for 2, English otherwise.
std::size_t languageColumn(app::Language language);

/// Tool tips of the sound form's controls in the language.
void setT01MToolTips(NoticeForm& form, app::Language language);
/// The sound form's title and captions in the language; hides ChkClearFields.
void setT01MCaptions(NoticeForm& form, app::Language language);
/// Tool tips of the television form's controls in the language.
void setT02MToolTips(NoticeForm& form, app::Language language);
/// The television form's title and captions in the language; hides ChkClearFields.
void setT02MCaptions(NoticeForm& form, app::Language language);

}  // namespace forms
