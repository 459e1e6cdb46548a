#include "TypingLimit.h"

#include <QLineEdit>

namespace forms {

TypingLimit::TypingLimit(int limit, QLineEdit* box)
    : QValidator(box), m_limit(limit), m_box(box)
{
}

QValidator::State TypingLimit::validate(QString& input, int&) const
{
    const qsizetype now = m_box->text().size();
    return input.size() <= m_limit || input.size() <= now ? Acceptable : Invalid;
}

}  // namespace forms
