#include "FieldChecks.h"

#include "NoticeForm.h"
#include "platform/Prompter.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QFocusEvent>
#include <QPointer>

#include <algorithm>

namespace forms {
namespace {

// Controls whose click always takes effect, even while the box left fails its check: Close
// drops what was typed since the last update, and unticking ChkValidate turns the checks off.
constexpr std::string_view kNeverHeld[] = {"Button_Reset", "ChkValidate"};

bool neverHeld(const QObject* control)
{
    const QString name = control->objectName();
    return std::any_of(std::begin(kNeverHeld), std::end(kNeverHeld),
                       [&name](std::string_view n) { return name == QLatin1String(n.data(), qsizetype(n.size())); });
}

// The controls that take the focus from a box when clicked, and so check it first.
bool takesFocus(Kind kind)
{
    return kind == Kind::TextBox || kind == Kind::CommandButton || kind == Kind::OptionButton ||
           kind == Kind::ComboBox || kind == Kind::CheckBox;
}

QString upper(const QString& text)
{
    return QString::fromStdString(platform::upperCp1252(text.toStdString()));
}

}  // namespace

FieldChecks::FieldChecks(NoticeForm& form, platform::Prompter& prompter)
    : QObject(&form), m_form(form), m_prompter(prompter)
{
    for (const ControlRow& row : form.controls()) {
        if (row.upperCase)
            m_upperCased.push_back(form.control(row.name));
        if (takesFocus(row.kind))
            form.control(row.name)->installEventFilter(this);
    }
}

const BoxCheck* FieldChecks::checkOf(const QWidget& box) const
{
    const ControlRow* row = findRow(m_form.controls(), box.objectName().toStdString());
    return row && row->check ? &*row->check : nullptr;
}

const BoxCheck* FieldChecks::failedCheck(const QWidget& box) const
{
    const auto* on = m_form.control<QCheckBox>("ChkValidate");
    const auto* edit = qobject_cast<const QLineEdit*>(&box);
    const BoxCheck* check = checkOf(box);
    if (!on || !on->isChecked() || !edit || !check)
        return nullptr;
    const std::string text = edit->text().toStdString();
    return text.empty() || rulePasses(check->rule, text) ? nullptr : check;
}

void FieldChecks::warn(const BoxCheck& check)
{
    if (ruleBeeps(check.rule))
        m_prompter.beep();
    m_prompter.message(std::string(ruleMessage(check.rule)), check.title, platform::Icon::Warning);
}

bool FieldChecks::mayLeave(const QWidget& box)
{
    const BoxCheck* failed = failedCheck(box);
    if (failed)
        warn(*failed);
    return !failed;
}

bool FieldChecks::upperCase(QObject* box, QEvent* event)
{
    if (std::find(m_upperCased.begin(), m_upperCased.end(), box) == m_upperCased.end())
        return false;
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString capitals = upper(key->text());
        if (capitals == key->text())
            return false;
        QKeyEvent replaced(key->type(), key->key(), key->modifiers(), capitals, key->isAutoRepeat(),
                           quint16(key->count()));
        QCoreApplication::sendEvent(box, &replaced);
        return true;
    }
    if (event->type() == QEvent::InputMethod) {
        auto* input = static_cast<QInputMethodEvent*>(event);
        const QString capitals = upper(input->commitString());
        if (capitals == input->commitString())
            return false;
        QInputMethodEvent replaced(input->preeditString(), input->attributes());
        replaced.setCommitString(capitals, input->replacementStart(), input->replacementLength());
        QCoreApplication::sendEvent(box, &replaced);
        return true;
    }
    return false;
}

bool FieldChecks::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && !mayLeave(*static_cast<QWidget*>(watched)))
            return true;
        return upperCase(watched, event);
    }
    case QEvent::InputMethod:
        return upperCase(watched, event);
    case QEvent::FocusOut:
        // A click hands the focus over before the control clicked sees the click; the click
        // itself waits until the box left is checked.
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason) {
            m_left = static_cast<QWidget*>(watched);
            m_leftFor = QApplication::focusWidget();
        }
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel: {
        QWidget* left = m_left;
        const bool forThis = m_leftFor == watched && !neverHeld(watched);
        m_left = m_leftFor = nullptr;
        const BoxCheck* failed = left && forThis ? failedCheck(*left) : nullptr;
        if (!failed)
            return false;
        left->setFocus(Qt::OtherFocusReason);  // back before the warning shows
        warn(*failed);
        return true;
    }
    default:
        return false;
    }
}

}  // namespace forms
