#include "FormLoad.h"

#include "FormTexts.h"
#include "NoticeForm.h"

#include <QCheckBox>
#include <QComboBox>

namespace forms {
namespace {

ModalShow& modalShow()
{
    static ModalShow show = [](NoticeForm& form) {
        if (!form.isUnloaded())
            form.exec();
    };
    return show;
}

}  // namespace

const FormType* formTypeOf(int kind)
{
    for (const FormType& type : formTypes())
        if (type.kind == kind)
            return &type;
    return nullptr;
}

void initNtcScreen(NoticeForm& form, const std::string& noticeType, app::Language language)
{
    for (const FormType& type : formTypes()) {
        if (noticeType != type.noticeType)
            continue;
        type.setToolTips(form, language);
        type.setCaptions(form, language);
        type.init(form);
        form.setWindowTitle(form.windowTitle() + QString::fromUtf8(app::kVersionText));
    }
}

void unloadNtcScreen(NoticeForm& form)
{
    form.unload();
}

std::unique_ptr<NoticeForm> loadNtcForm(int kind, app::Language language)
{
    const FormType* type = formTypeOf(kind);
    if (!type)
        return nullptr;
    auto form = std::make_unique<NoticeForm>(kind, type->controls());
    form->setObjectName(type->name);
    initNtcScreen(*form, type->noticeType, language);
    return form;
}

void initFormControls(NoticeForm& form)
{
    for (const char* name : {"ChkValidate", "ChkClearFields"})
        form.control<QCheckBox>(name)->setChecked(true);
    for (const ControlRow& row : form.controls()) {
        if (row.kind != Kind::ComboBox)
            continue;
        auto* combo = form.control<QComboBox>(row.name);
        combo->addItem(QString());
        for (const std::string& item : row.items)
            combo->addItem(QString::fromStdString(item));
        combo->setCurrentIndex(-1);
    }
}

ModalShow setModalShow(ModalShow show)
{
    ModalShow previous = std::move(modalShow());
    modalShow() = std::move(show);
    return previous;
}

void showModal(NoticeForm& form)
{
    modalShow()(form);
}

}  // namespace forms
