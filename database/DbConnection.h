#pragma once

#include "database/sqlite/Connection.h"
#include "database/sqlite/Transaction.h"

#include <filesystem>
#include <string>

namespace platform { class Report; }

// Opening and closing the notice database, and ending a notice operation.
namespace database {

/// The template every new notice database is copied from: beside the program.
inline constexpr const char* kTemplateName = "MasterKOLV_TPR.mdb";
std::filesystem::path templatePath();

/// Copies the template to `path`, replacing a file of that name only once the copy is
/// complete; shows the failure and returns false when it cannot.
[[nodiscard]] bool copyTemplateDB(const std::string& path, platform::Report& report,
                                  const std::filesystem::path& templateFile = templatePath());

/// Locks the database at `path` (which need not exist yet) for this instance of the program,
/// the lock being a file beside it ("<path>-lock"). A database another instance holds is
/// refused through reportErr titled with the procedure; false. Where no lock file can be made
/// (a read-only folder) nobody can replace the database: true without a lock.
[[nodiscard]] bool lockDB(const std::string& path, db::FileLock& lock, const std::string& procedure,
                          platform::Report& report);

/// Opens an existing notice database; never creates a file. The connection holds the lock of
/// the database until it closes: `held` when the caller took it, else it is taken here.
/// Failures are shown titled "OpenDB".
[[nodiscard]] bool OpenDB(const std::string& path, db::Connection& conn, platform::Report& report,
                          db::FileLock held = {});

/// Closes the connection; closing a closed one does nothing.
void closeDB(db::Connection& conn);

/// Says the data of a notice operation was not saved, and why when `reason` says it.
void reportNotSaved(platform::Report& report, const std::string& reason = {});

/// Commits the notice operation (a transaction or a savepoint) when `ok`, else rolls it back and
/// says the data was not saved. A commit that fails (a full disk) says the engine's reason, which
/// no message before it gave. True when the operation was committed.
template <class Tx>
bool endNtcTrans(bool ok, Tx& tx, platform::Report& report)
{
    if (ok && tx.commit())
        return true;
    const std::string reason = ok ? tx.connection().lastError().message : std::string();
    tx.rollback();
    reportNotSaved(report, reason);
    return false;
}

/// Shows the connection's last error through reportErr, titled with the procedure; false.
bool reportDbErr(const db::Connection& conn, const std::string& procedure, platform::Report& report);

/// The error number of an index beyond a fixed number of slots.
inline constexpr int kErrSubscript = 9;

/// Shows the index error of a notice with more sub-areas than the ten contour ids a record
/// holds, through reportErr titled with the procedure.
void reportTooManySubAreas(const std::string& procedure, platform::Report& report);

}  // namespace database
