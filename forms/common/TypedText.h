#pragma once

#include <QValidator>

class QLineEdit;

namespace forms {

// What a user's typing or pasting puts into a box. A character that Windows-1252 lacks becomes
// "?" at once, as the exported file would hold it. An edit that makes the text longer than the
// typing limit and than it was keeps only as many of the new characters as fit, so typing stops
// at the limit and a paste is cut there. A longer value the program placed stays whole and can
// still be shortened; text the program places is never changed.
class TypedText : public QValidator {
public:
    /// `limit` 0 sets no limit.
    TypedText(int limit, QLineEdit* box);

    State validate(QString& input, int& pos) const override;

private:
    int m_limit;
    QLineEdit* m_box;
    qsizetype m_before = 0;  // length of the text before the edit being checked
};

}  // namespace forms
