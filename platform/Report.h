#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

/// The title of messages that have none of their own.
inline constexpr const char* kAppTitle = "Ostrel_Kolv_An";

enum class Icon { None, Information, Warning, Critical, Question };

struct Message {
    int number = 0;  // the error number, 0 for none
    std::string text;
    std::string title;
    Icon icon = Icon::None;
    bool operator==(const Message&) const = default;
};

// What a data layer wants shown, in order, and its Yes/No questions. The data layer only adds
// to it; whoever made it decides what is shown: it hands each message on at once to `show`
// when given one, and keeps them otherwise. A question without `ask` is answered No.
class Report {
public:
    using Show = std::function<void(const Message&)>;
    using Ask = std::function<bool(const std::string& text, const std::string& title)>;

    Report() = default;
    Report(Show show, Ask ask) : m_show(std::move(show)), m_ask(std::move(ask)) {}

    void message(const std::string& text, const std::string& title, Icon icon, int number = 0)
    {
        Message m{number, text, title, icon};
        if (m_show)
            m_show(m);
        else
            m_messages.push_back(std::move(m));
    }
    bool askYesNo(const std::string& text, const std::string& title) { return m_ask && m_ask(text, title); }

    /// The messages kept so far, oldest first.
    const std::vector<Message>& messages() const { return m_messages; }

private:
    Show m_show;
    Ask m_ask;
    std::vector<Message> m_messages;
};

}  // namespace platform
