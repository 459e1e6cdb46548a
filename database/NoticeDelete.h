#pragma once

#include <cstdint>
#include <string>

namespace db { class Connection; }
namespace platform { class Report; }

// Deleting a notice, and the row deleters that rewriting a stored notice uses.
namespace database {

/// Deletes the notice and every row that belongs to it, in one transaction: target, operating
/// period, remarks, coordination lists, antenna rows, digital-plan rows, allotments with their
/// sub-areas, and the placeholder contours no other notice's sub-area uses. Contours that a
/// contour notice defined stay. True when committed.
bool deleteNtc(std::int32_t terrakey, db::Connection& conn, platform::Report& report);

/// The notice's allotments and sub-areas, with placeholders no other notice uses.
[[nodiscard]] bool deleteLinkSubArea(std::int32_t terrakey, db::Connection& conn, platform::Report& report);
/// The one fmtv_terra row of the key; several or none is shown as "not unique".
[[nodiscard]] bool deleteOneFromFMTVTerra(std::int32_t terrakey, db::Connection& conn, platform::Report& report);
/// The one fmtv_target row of the key; any other count is shown but does not fail.
[[nodiscard]] bool deleteOneFromFMTVTarget(std::int32_t targetKey, db::Connection& conn,
                                           platform::Report& report);
/// The operating period, when the notice has exactly one.
[[nodiscard]] bool deleteFromOpPrd(std::int32_t terrakey, db::Connection& conn, platform::Report& report);
[[nodiscard]] bool deleteFromAntHgt(std::int32_t terrakey, db::Connection& conn, platform::Report& report);
[[nodiscard]] bool deleteFromCoord(std::int32_t terrakey, db::Connection& conn, platform::Report& report);
[[nodiscard]] bool deleteFromAntDiagr(std::int32_t terrakey, const std::string& polar, db::Connection& conn,
                                      platform::Report& report);
/// All sub-areas of an allotment; an allotment without any is shown as corrupted.
[[nodiscard]] bool deleteSubAreaTable(std::int32_t allotkey, db::Connection& conn, platform::Report& report);
/// All test points of a contour; fewer than two is shown as corrupted.
[[nodiscard]] bool deleteContourPointTable(std::int32_t contourkey, db::Connection& conn,
                                           platform::Report& report);

}  // namespace database
