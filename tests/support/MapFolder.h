#pragma once

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <filesystem>
#include <functional>
#include <string>

namespace testing_support {

// A temporary Windows folder whose "VINTAR_SOFT.INI" names a data folder and a local data folder
// of its own; the drives of the file search point at an empty folder.
class MapFolder {
public:
    MapFolder();

    /// Writes a data file; "LCLIDX1.BIN" and "LCLPNT1.BIN" go to the local data folder.
    void write(const std::string& name, const std::string& bytes) const;
    /// Points the library at this folder (run it in the child process that reads the files).
    void use() const;

private:
    TempDir m_dir;
};

/// Runs `body` in a child process that reads the folder's files; the child prints what `body`
/// returns (its findings, "" when all is well). A child still running after `limitSeconds` is
/// ended by SIGALRM.
ChildResult runWithMaps(const MapFolder& folder, const std::function<std::string()>& body,
                        unsigned limitSeconds = 120);

/// What a fatal report prints: the header naming `routine`, `lines`, then the CANCELR line.
std::string fatalOutput(const std::string& routine, const std::string& lines);
/// A message line of a kind-9 report as printed: 60 characters and its line end.
std::string messageLine(const std::string& line);

}  // namespace testing_support
