#include "FormBuilder.h"

#include "NoticeForm.h"
#include "TypedText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWheelEvent>

#include <cstdio>
#include <cstdlib>

namespace forms {
namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

// A drop-down list (not editable) that the mouse wheel changes only while it has the focus:
// a wheel turned over the form to scroll past it changes nothing.
class FormList : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void wheelEvent(QWheelEvent* event) override
    {
        if (hasFocus())
            QComboBox::wheelEvent(event);
        else
            event->ignore();
    }
};

QWidget* makeWidget(const ControlRow& row, QWidget* parent)
{
    switch (row.kind) {
    case Kind::TextBox: {
        auto* box = new QLineEdit(parent);
        box->setValidator(new TypedText(row.limit, box));
        box->setReadOnly(row.readOnly);
        return box;
    }
    case Kind::Label:
        return new QLabel(parent);
    case Kind::ComboBox:
        return new FormList(parent);
    case Kind::OptionButton: {
        // Auto-exclusive within its frame: a click never turns an option off.
        auto* option = new QRadioButton(parent);
        option->setStyleSheet("QRadioButton { spacing: 2px; }");
        return option;
    }
    case Kind::CheckBox:
        return new QCheckBox(parent);
    case Kind::Frame:
        return new QGroupBox(parent);
    case Kind::CommandButton: {
        auto* button = new QPushButton(parent);
        button->setAutoDefault(false);  // Return in a text box presses no button
        button->setDefault(false);
        return button;
    }
    }
    return nullptr;
}

void paint(QWidget* w, const ControlRow& row)
{
    static const char* const kColours[] = {nullptr, "#0000ff", "#ff0000", "#800000"};
    const char* colour = kColours[int(row.colour)];
    if (!colour)
        return;
    if (row.kind == Kind::Frame) {
        // The caption only: the frame's children keep their own colours.
        w->setStyleSheet(QString("QGroupBox#%1 { color: %2; }").arg(qs(row.name), colour));
        return;
    }
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, QColor(colour));
    w->setPalette(palette);
    if (row.colour == Colour::DarkRedBold) {
        QFont font = w->font();
        font.setBold(true);
        w->setFont(font);
    }
}

}  // namespace

void setOptionOff(QRadioButton& option)
{
    option.setAutoExclusive(false);
    option.setChecked(false);
    option.setAutoExclusive(true);
}

QString captionOf(const QWidget* control)
{
    if (auto* l = qobject_cast<const QLabel*>(control))
        return l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(control))
        return b->text();
    if (auto* g = qobject_cast<const QGroupBox*>(control))
        return g->title();
    return {};
}

void setCaption(QWidget* control, const QString& caption)
{
    if (auto* l = qobject_cast<QLabel*>(control))
        l->setText(caption);
    else if (auto* b = qobject_cast<QAbstractButton*>(control))
        b->setText(caption);
    else if (auto* g = qobject_cast<QGroupBox*>(control))
        g->setTitle(caption);
}

QHash<QString, QWidget*> buildControls(QWidget& form, const ControlTable& table)
{
    QHash<QString, QWidget*> byName;
    // Containers first: a row is made once its container exists, in table order otherwise.
    std::vector<bool> made(table.size(), false);
    for (std::size_t left = table.size(); left > 0;) {
        std::size_t madeNow = 0;
        for (std::size_t i = 0; i < table.size(); ++i) {
            const ControlRow& row = table[i];
            if (made[i])
                continue;
            QWidget* parent = row.container.empty() ? &form : byName.value(qs(row.container));
            if (!parent)
                continue;
            QWidget* w = makeWidget(row, parent);
            w->setObjectName(qs(row.name));
            w->setGeometry(row.rect.left / kTwipsPerPixel, row.rect.top / kTwipsPerPixel,
                           row.rect.width / kTwipsPerPixel, row.rect.height / kTwipsPerPixel);
            setCaption(w, qs(row.text));
            w->setToolTip(qs(row.toolTip));
            paint(w, row);
            byName.insert(w->objectName(), w);
            made[i] = true;
            ++madeNow;
        }
        if (madeNow == 0) {
            std::fputs("forms: a control's container is missing from its table\n", stderr);
            std::abort();
        }
        left -= madeNow;
    }
    // A frame with a coloured caption carries a style sheet, under which its children would
    // take the application's font instead of the form's.
    for (QWidget* w : byName)
        if (!w->font().bold())
            w->setFont(form.font());

    const std::vector<const ControlRow*> order = tabOrder(table);
    for (std::size_t i = 0; i < order.size(); ++i) {
        QWidget* w = byName.value(qs(order[i]->name));
        w->setFocusPolicy(Qt::StrongFocus);
        if (i > 0)
            QWidget::setTabOrder(byName.value(qs(order[i - 1]->name)), w);
    }
    if (!order.empty())
        byName.value(qs(order.front()->name))->setFocus();  // where the form opens
    return byName;
}

}  // namespace forms
