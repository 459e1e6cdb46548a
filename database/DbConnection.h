#pragma once

#include "database/DbFile.h"
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

/// Copies the template to the file `path` names, replacing a file there only once the copy is
/// complete; the journal of a file replaced goes only once the copy is in its place. Shows the
/// failure and returns false when it cannot, the file there left as it was with its journal.
[[nodiscard]] bool copyTemplateDB(const std::string& path, platform::Report& report,
                                  const std::filesystem::path& templateFile = templatePath());

/// Opens an existing notice database; never creates a file, and opens nothing that is no regular
/// file. The connection holds the locks of the database until it closes: `held` when the caller
/// took them (the file's is taken again, on the file there now), else they are taken here. A
/// database that its user cannot write, whose folder or log they cannot write, that has more
/// than one name, or whose lock file they cannot open, or can neither lock nor remove, opens
/// read-only; where the reason is not the file's or folder's mode, a message says it. A path
/// that cannot be followed is refused with the system's reason, one that leads to no file as
/// not existing. Failures are shown titled "OpenDB".
[[nodiscard]] bool OpenDB(const std::string& path, db::Connection& conn, platform::Report& report,
                          DbLock held = {});

/// Closes the connection; closing a closed one does nothing. When its write-ahead log could
/// not be folded into the file (a full disk), says so, naming both files, which then belong
/// together, and the room the disk lacks; false. A log folded in that could not be removed
/// (its folder made read-only) is said to be empty, the file holding every change; false.
bool closeDB(db::Connection& conn, platform::Report& report);

/// Makes the database file alone hold every save so far, its write-ahead log folded in; the
/// database stays open. When it cannot (a full disk), says so as closeDB does; false.
bool foldLogIn(db::Connection& conn, platform::Report& report);

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

/// Shows the index error of a notice with more sub-areas than the ten contour ids a record
/// holds, through reportErr titled with the procedure.
void reportTooManySubAreas(const std::string& procedure, platform::Report& report);

}  // namespace database
