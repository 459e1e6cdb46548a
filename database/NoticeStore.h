#pragma once

#include "notice/NoticeRecord.h"

#include <cstdint>
#include <string>

namespace db { class Connection; }
namespace platform { class Report; }

// Storing a notice record in the main table and its dependent tables, in one transaction.
// Every writer reports its own failures (titled with its name) and returns false.
namespace database {

// What storing a contour notice did: 1 stored (new or into its placeholder), 2 an existing
// contour overwritten after the user's Yes, 0 the user said No; otherwise left as it was.
struct ContourOutcome {
    std::int16_t status = 0;
    std::int32_t overwrittenContourKey = 0;  // the contour overwritten last
};

/// Stores the notice; true when it was committed, or, inside an open transaction, kept in it. A
/// failure rolls the whole notice back, keys included, and says the data was not saved; the
/// enclosing transaction keeps what it held.
bool storeNtc(const notice::NoticeRecord& rec, db::Connection& conn, ContourOutcome& contour, bool forceNew,
              platform::Report& report);

/// The text fmtv_terra takes for a field: "" for a power that the polarisation does not carry.
std::string withPolarPowers(const notice::NoticeRecord& rec, const std::string& field);

[[nodiscard]] bool writeToFMTVTerraTable(const notice::NoticeRecord& rec, std::int32_t terrakey,
                                         db::Connection& conn, platform::Report& report);
[[nodiscard]] bool writeToFMTVTargetTable(const notice::TargetRef& target, std::int32_t targetKey,
                                          db::Connection& conn, platform::Report& report);
[[nodiscard]] bool writeToFMTVOpPrdTable(const notice::FlaggedPair& opPeriod, std::int32_t terrakey,
                                         db::Connection& conn, platform::Report& report);
/// Remarks in rows of 80 characters, numbered from 0.
[[nodiscard]] bool writeToFMTVRmksTable(const std::string& remarks, std::int32_t terrakey, db::Connection& conn,
                                        platform::Report& report);

/// Coordination lists: one row per non-empty slot (13 for COORDINATION, 12 for the digital
/// part's two lists); a list without administrations writes nothing.
[[nodiscard]] bool writeCoordList(const notice::AdmList& list, std::int32_t terrakey, db::Connection& conn,
                                  platform::Report& report);
[[nodiscard]] bool writeCoordAList(const notice::AdmList& list, std::int32_t terrakey, db::Connection& conn,
                                   platform::Report& report);
[[nodiscard]] bool writeCoordOList(const notice::AdmList& list, std::int32_t terrakey, db::Connection& conn,
                                   platform::Report& report);

/// Antenna lists: one row per flagged slot.
[[nodiscard]] bool writeAntHgtList(const notice::NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                                   platform::Report& report);
[[nodiscard]] bool writeAntDiagHList(const notice::NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                                     platform::Report& report);
[[nodiscard]] bool writeAntDiagVList(const notice::NoticeRecord& rec, std::int32_t terrakey, db::Connection& conn,
                                     platform::Report& report);

}  // namespace database
