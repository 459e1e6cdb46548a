#pragma once

#include "app/core/AppState.h"

#include <string>

namespace platform { class Prompter; }

// Writing the notices of the grid's list back out as an electronic notice file (".upd").
namespace app {

/// The export file of a database: its own name with ".upd".
std::string exportNameFor(const std::string& database);

/// Asks whether to write the changes to an electronic file and does so on Yes; clears
/// `dbChanged` whatever the answer.
void offerElectFile(AppState& state, StatusLine& status, platform::Prompter& prompter);

/// Writes the listed notices to `path`, which is replaced only by a complete file. False,
/// after a message, when the file was not written.
bool writeDBToElectFile(const std::string& path, AppState& state, platform::Prompter& prompter);

}  // namespace app
