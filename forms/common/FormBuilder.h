#pragma once

#include "ControlTable.h"

#include <QHash>
#include <QString>

class QRadioButton;
class QWidget;

namespace forms {

/// Makes the widgets of `table` inside `form`: each named by its control name, placed in its
/// container at its rectangle, with its design-time texts, colour, typing limit and tab place.
/// Option buttons of one container turn each other off; no button is a default button.
/// Returns the widgets by name.
QHash<QString, QWidget*> buildControls(QWidget& form, const ControlTable& table);

/// Turns an option off, as only code may: a user's click never does.
void setOptionOff(QRadioButton& option);

}  // namespace forms
