#include "TypedText.h"

#include "platform/TextCodec.h"

#include <QLineEdit>

#include <algorithm>

namespace forms {
namespace {

// The text as Windows-1252 holds it: a character outside the code page becomes "?".
QString inCodePage(const QString& text)
{
    return QString::fromStdString(platform::cp1252ToUtf8(platform::utf8ToCp1252(text.toStdString())));
}

}  // namespace

TypedText::TypedText(int limit, QLineEdit* box)
    : QValidator(box), m_limit(limit), m_box(box)
{
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { m_before = text.size(); });
}

QValidator::State TypedText::validate(QString& input, int& pos) const
{
    // setText leaves the box unmodified: what the program places is never refused.
    if (!m_box->isModified())
        return Acceptable;
    const QString head = inCodePage(input.left(pos));
    input = head + inCodePage(input.mid(pos));
    pos = int(head.size());
    const qsizetype room = std::max<qsizetype>(m_limit, m_before);
    if (m_limit > 0 && input.size() > room) {
        // The new characters stand just before the cursor: drop those past the room.
        const qsizetype excess = std::min<qsizetype>(input.size() - room, pos);
        input.remove(pos - excess, excess);
        pos -= int(excess);
    }
    return Acceptable;
}

}  // namespace forms
