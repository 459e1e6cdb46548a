#pragma once

#include "notice/NoticeRecord.h"

#include <cstdint>
#include <string>

namespace db { class Connection; }
namespace platform { class Report; }

// Writing a corrected notice back over its stored rows, in one transaction. Each updater
// reports its own failures (titled with its name) and returns false; the update stops at the
// first false and is rolled back whole, keys included.
namespace database {

/// Updates the notice of `key` (for a "DA1" record, the contour of that `contourkey`); true when
/// committed, else rolled back after saying the data was not saved. The record is left as it was.
bool updateNtc(const notice::NoticeRecord& rec, std::int32_t key, db::Connection& conn, platform::Report& report);

/// The fmtv_terra row in place, its target, and the dependent tables the intent and type call for.
[[nodiscard]] bool updateFMTVTerraTable(const notice::NoticeRecord& rec, std::int32_t terrakey,
                                        db::Connection& conn, platform::Report& report);
/// The one fmtv_target row of the key in place; a missing or repeated row is "not unique".
[[nodiscard]] bool updateFMTVTargetTable(const notice::TargetRef& target, std::int32_t targetKey,
                                         db::Connection& conn, platform::Report& report);
[[nodiscard]] bool updateFMTVRmksTable(const std::string& remarks, std::int32_t terrakey, db::Connection& conn,
                                       platform::Report& report);
/// The notice's first operating period in place, or a new one when it has none.
[[nodiscard]] bool updateFMTVOpPrdTable(const notice::FlaggedPair& opPeriod, std::int32_t terrakey,
                                        db::Connection& conn, platform::Report& report);
/// Coordination lists: deleted, then written again when the list is flagged.
[[nodiscard]] bool updateCoordSection(const notice::AdmList& list, std::int32_t terrakey, db::Connection& conn,
                                      platform::Report& report);
[[nodiscard]] bool updateCoordASection(const notice::AdmList& list, std::int32_t terrakey, db::Connection& conn,
                                       platform::Report& report);
[[nodiscard]] bool updateCoordOSection(const notice::AdmList& list, std::int32_t terrakey, db::Connection& conn,
                                       platform::Report& report);
[[nodiscard]] bool updateAntHgtSection(const notice::NoticeRecord& rec, std::int32_t terrakey,
                                       db::Connection& conn, platform::Report& report);
/// The pattern rows of one polarisation ("H" or "V"): deleted, then written again when any slot
/// of that list is flagged.
[[nodiscard]] bool updateAttnSection(const notice::NoticeRecord& rec, std::int32_t terrakey,
                                     const std::string& polar, db::Connection& conn, platform::Report& report);

}  // namespace database
