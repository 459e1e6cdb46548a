#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace testing_support {

void ScriptedPrompter::message(const std::string& text, const std::string& title, platform::Icon icon)
{
    messages.push_back({text, title, icon});
}

bool ScriptedPrompter::askYesNo(const std::string& text, const std::string& title, Default byDefault)
{
    questions.push_back({text, title, platform::Icon::Question, byDefault});
    if (answers.empty()) {
        ADD_FAILURE() << "unscripted question: " << text;
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedPrompter::showTextFile(const std::string& path, std::function<void()> notShown)
{
    if (!viewerAvailable) {
        notShown();
        return;
    }
    viewed.push_back(path);
}

std::optional<std::string> ScriptedPrompter::pickOpenFile(const std::string& filter)
{
    filters.push_back(filter);
    if (picks.empty())
        return std::nullopt;
    std::string pick = picks.front();
    picks.pop_front();
    return pick;
}

}  // namespace testing_support
