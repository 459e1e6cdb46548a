#pragma once

#include "app/core/AppState.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace platform {
class Prompter;
struct DateTime;
}

// File > OpenTxt after the file was chosen: a new database named after the file, every notice
// read, looked up for duplicates and stored, and the report of duplicates and refused lines.
namespace app {

struct ImportOptions {
    std::string caption;                   // the main window's caption, for the report
    std::filesystem::path templateFile;    // the template database beside the program
    std::chrono::milliseconds batchTime{500};  // a batch commits at the latest after this long
    /// Asked after each notice and each question: true when the program is being ended. The
    /// import then stops, keeps what it stored and asks and shows nothing more.
    std::function<bool()> ended{};
};

/// The database made for a notice file: its own name with ".mdb" ("/a/v1.2/b.txt" → "/a/v1.2/b.mdb").
std::string databaseNameFor(const std::string& textFile);

/// "<database>_duplicat_report_<y><m><d>-<h><m><s>.txt" (no leading zeros) beside the database,
/// with "_2", "_3" added when such a file exists.
std::string duplicateReportName(const std::string& database, const platform::DateTime& when);

/// Opens the file in the text viewer, or tells where it is when no viewer starts or the
/// viewer fails.
void showInNotepad(const std::string& file, const std::string& message, platform::Prompter& prompter);

// What an import did: whether a database was made and opened, and how many of the file's
// notices it could not store (a full disk), which the import has said in a message of its own.
// An import stopped because the program was ended says so in `stopped`, which the report holds
// too: which notices of the file were not stored.
struct ImportResult {
    bool opened = false;
    int notStored = 0;
    std::string stopped;
    explicit operator bool() const { return opened; }
};

/// Imports `textFile` into a new database; when one was made it is open in `state`. Not opened,
/// after one message and with no database open, when nothing was imported.
ImportResult importTextFile(const std::string& textFile, AppState& state, StatusLine& status,
                            platform::Prompter& prompter, const ImportOptions& options);

}  // namespace app
