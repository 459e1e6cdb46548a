#pragma once

#include "NoticeStore.h"

namespace database {

// The digital-plan part: elements, single-frequency network, allotment with its sub-areas,
// and contours (shared: a sub-area names a contour, stored as a placeholder until a contour
// notice defines it).

[[nodiscard]] bool writeToZEL04ElementTable(const notice::NoticeRecord& rec, std::int32_t terrakey,
                                            db::Connection& conn, platform::Report& report);
/// Its failure is reported under the caller's name, `procedure`.
[[nodiscard]] bool writeToSfnIDProcTable(const notice::NoticeRecord& rec, std::int32_t terrakey,
                                         db::Connection& conn, platform::Report& report,
                                         const char* procedure = "writeToZEL04ElementTable");
[[nodiscard]] bool addZEL04Allot(const notice::NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                                 platform::Report& report);
/// One sub-area row per named contour id (at most 10), each pointing at its contour or at a
/// new placeholder; false when any id fails, or when none is named.
[[nodiscard]] bool addZEL04SubArea(const notice::NoticeRecord& rec, std::int32_t allotkey, db::Connection& conn,
                                   platform::Report& report);
/// Stores a contour notice: new, into its placeholder, or over a defined contour after the
/// user's answer to "Duplicate ContourID".
[[nodiscard]] bool addZEL04Contour(const notice::NoticeRecord& rec, db::Connection& conn, ContourOutcome& outcome,
                                   bool forceNew, platform::Report& report);
[[nodiscard]] bool addNewContour(const notice::NoticeRecord& rec, db::Connection& conn,
                                 platform::Report& report);
[[nodiscard]] bool writeContourPoint(std::int32_t contourkey, const notice::FlaggedPair& point,
                                     std::int16_t testPt, db::Connection& conn, platform::Report& report);
/// Rewrites a stored contour's row (non-empty fields only) and its test points.
[[nodiscard]] bool updateZEL04Contour(const notice::NoticeRecord& rec, std::int32_t contourkey,
                                      db::Connection& conn, platform::Report& report);

}  // namespace database
