#include "TypingLimit.h"

#include <QLineEdit>

namespace forms {

TypingLimit::TypingLimit(int limit, QLineEdit* box)
    : QValidator(box), m_limit(limit), m_box(box)
{
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { m_before = text.size(); });
}

QValidator::State TypingLimit::validate(QString& input, int&) const
{
    // setText leaves the box unmodified: what the program places is never refused.
    if (!m_box->isModified())
        return Acceptable;
    return input.size() <= m_limit || input.size() <= m_before ? Acceptable : Invalid;
}

}  // namespace forms
