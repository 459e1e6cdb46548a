#pragma once

#include "platform/Prompter.h"

class QWidget;

namespace platform {

// Message boxes, questions, the file picker and the text viewer of the desktop.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const std::string& text, const std::string& title, Icon icon) override;
    bool askYesNo(const std::string& text, const std::string& title, Default byDefault = Default::Yes) override;
    void beep() override;
    std::optional<std::string> pickOpenFile(const std::string& filter) override;
    /// Hands the file to xdg-open, as one argument and without a shell.
    void showTextFile(const std::string& path, std::function<void()> notShown) override;

private:
    QWidget* m_parent;
};

}  // namespace platform
