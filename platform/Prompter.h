#pragma once

#include "Report.h"

#include <functional>
#include <optional>
#include <string>

namespace platform {

// Everything the program shows or asks goes through here, so that tests can script it.
class Prompter {
public:
    Prompter() = default;
    virtual ~Prompter() = default;
    Prompter(const Prompter&) = delete;
    Prompter& operator=(const Prompter&) = delete;

    /// A report for the data layer whose messages and questions are shown here, at once.
    Report& report() { return m_report; }

    /// A message box with an OK button.
    virtual void message(const std::string& text, const std::string& title, Icon icon) = 0;

    /// The answer that Return gives.
    enum class Default { Yes, No };

    /// A Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& title, Default byDefault = Default::Yes) = 0;

    /// The system beep.
    virtual void beep() = 0;

    /// The file picker for an existing file. `filter` lists "Name (*.ext)|*.ext" pairs joined
    /// by "|"; nothing when the user cancels.
    virtual std::optional<std::string> pickOpenFile(const std::string& filter) = 0;

    /// Starts the desktop's text viewer on the file without waiting. `notShown` runs when no
    /// viewer starts or it ends with an error, perhaps later, from the event loop.
    virtual void showTextFile(const std::string& path, std::function<void()> notShown) = 0;

private:
    Report m_report{[this](const Message& m) { message(m.text, m.title, m.icon); },
                    [this](const std::string& text, const std::string& title) { return askYesNo(text, title); }};
};

}  // namespace platform
