#pragma once

#include "platform/Prompter.h"

#include <deque>
#include <string>
#include <vector>

namespace testing_support {

// Answers questions from a script and records everything shown.
class ScriptedPrompter : public platform::Prompter {
public:
    struct Shown {
        std::string text;
        std::string title;
        platform::Icon icon = platform::Icon::None;
        Default byDefault = Default::Yes;  // of a question
    };

    void message(const std::string& text, const std::string& title, platform::Icon icon) override;
    /// Takes the next scripted answer; a question nobody scripted fails the test.
    bool askYesNo(const std::string& text, const std::string& title, Default byDefault = Default::Yes) override;
    /// Counts the beep.
    void beep() override { ++beeps; }
    /// Records the file; calls `notShown` at once when no viewer is available.
    void showTextFile(const std::string& path, std::function<void()> notShown) override;
    /// Takes the next scripted pick; an empty script cancels.
    std::optional<std::string> pickOpenFile(const std::string& filter) override;

    std::deque<bool> answers;          // answers to the questions, in order
    std::deque<std::string> picks;     // files the picker returns, in order
    std::vector<std::string> filters;  // filters the picker was shown
    bool viewerAvailable = true;       // whether showTextFile succeeds
    std::vector<Shown> messages;       // messages shown
    std::vector<Shown> questions;      // questions asked
    std::vector<std::string> viewed;   // files handed to the viewer
    int beeps = 0;                     // beeps sounded
};

}  // namespace testing_support
