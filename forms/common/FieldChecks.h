#pragma once

#include "ControlTable.h"

#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

namespace platform { class Prompter; }

namespace forms {

class NoticeForm;

// An entry form's key filters and validators. Letters typed into a box whose row says so become
// capitals (by the Windows-1252 case map). While ChkValidate is ticked, a box that holds text
// is checked when the focus is about to leave it, by Tab or by a click on another input
// control of the form; while the check fails, the focus stays and the key or click does
// nothing else, but for a click on Close or on ChkValidate, which always takes effect. Text the
// program places is checked only when the user leaves the box.
class FieldChecks : public QObject {
public:
    /// Watches the form's controls, each checked and upper-cased as its row says; owned by the form.
    /// `prompter` outlives the form.
    FieldChecks(NoticeForm& form, platform::Prompter& prompter);

    /// Checks `box` as leaving it does: true when the focus may leave (checks off, no check for
    /// the box, empty text, or the rule passes); otherwise beeps where the rule does and shows
    /// the rule's message under the box's title.
    bool mayLeave(const QWidget& box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const BoxCheck* checkOf(const QWidget& box) const;
    /// The check the box fails now, or nullptr.
    const BoxCheck* failedCheck(const QWidget& box) const;
    void warn(const BoxCheck& check);
    bool upperCase(QObject* box, QEvent* event);

    NoticeForm& m_form;
    std::vector<const QObject*> m_upperCased;
    platform::Prompter& m_prompter;
    QPointer<QWidget> m_left;     // the control a click just took the focus from
    QPointer<QWidget> m_leftFor;  // and the control that took it
};

}  // namespace forms
