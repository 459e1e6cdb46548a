#pragma once

#include <optional>
#include <string>

namespace platform {

/// The title of messages that have none of their own.
inline constexpr const char* kAppTitle = "Ostrel_Kolv_An";

enum class Icon { None, Information, Warning, Critical, Question };

// Everything the program shows or asks goes through here, so that tests can script it.
class Prompter {
public:
    virtual ~Prompter() = default;

    /// A message box with an OK button.
    virtual void message(const std::string& text, const std::string& title, Icon icon) = 0;

    /// A Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& title) = 0;

    /// The file picker for an existing file. `filter` lists "Name (*.ext)|*.ext" pairs joined
    /// by "|"; nothing when the user cancels.
    virtual std::optional<std::string> pickOpenFile(const std::string& filter) = 0;

    /// Starts the desktop's text viewer on the file without waiting; false when none could start.
    virtual bool showTextFile(const std::string& path) = 0;
};

}  // namespace platform
