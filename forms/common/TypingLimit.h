#pragma once

#include <QValidator>

class QLineEdit;

namespace forms {

// Refuses a user's edit that makes the box's text longer than the limit and longer than it was,
// so typing and pasting stop at the limit, while a longer value the program placed stays whole
// and can still be shortened.
class TypingLimit : public QValidator {
public:
    TypingLimit(int limit, QLineEdit* box);

    State validate(QString& input, int& pos) const override;

private:
    int m_limit;
    QLineEdit* m_box;
    qsizetype m_before = 0;  // length of the text before the edit being checked
};

}  // namespace forms
