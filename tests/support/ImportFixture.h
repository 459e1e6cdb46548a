#pragma once

#include "app/core/AppState.h"
#include "app/core/NoticeImport.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// Remembers every status text.
class RecordingStatus : public app::StatusLine {
public:
    void setStatus(const std::string& text) override { texts.push_back(text); }
    std::string status() const override { return texts.empty() ? std::string() : texts.back(); }
    std::vector<std::string> texts;
};

// A folder, a scripted user and the application state, ready to import files.
struct ImportFixture {
    TempDir dir;
    ScriptedPrompter prompter;
    RecordingStatus status;
    app::AppState state;
    std::function<bool()> ended;  // the import's question whether the program is being ended
    app::ImportResult result;     // what the last import did

    /// Writes the notice file (LF line ends become CR LF) and imports it.
    bool import(const std::string& name, const std::string& text);
    /// Writes the bytes as they are to `name` (its folders made) and imports the file.
    bool importBytes(const std::string& name, const std::string& bytes);
    /// The duplicate reports in the folder.
    std::vector<std::string> reports() const;
    /// The value of a one-value query on the open database.
    std::string scalar(const std::string& sql);
};

/// A notice file of the HEAD of "F" and the given NOTICE bodies.
std::string noticeFile(const std::vector<std::string>& bodies);

}  // namespace testing_support
