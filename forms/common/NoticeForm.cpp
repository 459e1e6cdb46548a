#include "NoticeForm.h"

#include "FormBuilder.h"
#include "FormLoad.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace forms {

namespace {
constexpr int kClientWidthTwips = 15240;
constexpr int kClientHeightTwips = 10110;
}  // namespace

NoticeForm::NoticeForm(int kind, const ControlTable& controls, QWidget* parent)
    : QDialog(parent), m_kind(kind), m_controls(controls)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(10);
    setFont(font);
    setFixedSize(kClientWidthTwips / kTwipsPerPixel, kClientHeightTwips / kTwipsPerPixel);
    m_byName = buildControls(*this, controls);
}

void NoticeForm::unload()
{
    m_unloaded = true;
    done(QDialog::Rejected);
}

void NoticeForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();  // the form has no cancel button
        return;
    }
    QDialog::keyPressEvent(event);
}

void NoticeForm::closeEvent(QCloseEvent* event)
{
    unloadNtcScreen(*this);
    event->accept();
}

}  // namespace forms
