#pragma once

#include "notice/NoticeRecord.h"

#include <cstdint>
#include <string>

namespace db { class Connection; }
namespace platform { class Report; }

// Reading a stored notice back into a record. Readers fill the record in place and never
// clear a field: a Null or empty column leaves it as it was.
namespace database {

/// Reads the notice into `rec` in one transaction. False, after saying the data was not
/// saved, when the notice is missing or not unique or when any reader reported an error.
bool readNtcFromDB(std::int32_t terrakey, notice::NoticeRecord& rec, db::Connection& conn,
                   platform::Report& report);

/// The main row and, by intent, type and polarisation, the dependent tables. False when the
/// notice is missing or not unique, or on any reported error.
[[nodiscard]] bool readFromFMTVTerra(std::int32_t terrakey, notice::NoticeRecord& rec, db::Connection& conn,
                                     platform::Report& report);

[[nodiscard]] bool readFromFMTVTarget(std::int32_t targetKey, notice::TargetRef& target, db::Connection& conn,
                                      platform::Report& report);
[[nodiscard]] bool readFromZEL04Elements(std::int32_t terrakey, notice::ZEL04Elements& zel,
                                         const std::string& noticeType, db::Connection& conn,
                                         platform::Report& report);
[[nodiscard]] bool readFromZEL04Allotment(std::int32_t terrakey, notice::ZEL04Elements& zel, db::Connection& conn,
                                          platform::Report& report);
[[nodiscard]] bool readZEL04SubArea(std::int32_t terrakey, std::int32_t allotkey, notice::ZEL04Elements& zel,
                                    db::Connection& conn, platform::Report& report);
[[nodiscard]] bool readFromFMTVOpPrds(std::int32_t terrakey, notice::FlaggedPair& opPeriod, db::Connection& conn,
                                      platform::Report& report);
[[nodiscard]] bool readFromFMTVAntHgt(std::int32_t terrakey, notice::NoticeRecord& rec, db::Connection& conn,
                                      platform::Report& report);
[[nodiscard]] bool readFromFMTVAntDiagr_H(std::int32_t terrakey, notice::NoticeRecord& rec, db::Connection& conn,
                                          platform::Report& report);
[[nodiscard]] bool readFromFMTVAntDiagr_V(std::int32_t terrakey, notice::NoticeRecord& rec, db::Connection& conn,
                                          platform::Report& report);

// These report nothing themselves: on false the connection's error says why, and the caller
// reports it and ends the read.
[[nodiscard]] bool readFromFMTVCoord(std::int32_t terrakey, notice::AdmList& list, db::Connection& conn);
[[nodiscard]] bool readFromZELCoordA(std::int32_t terrakey, notice::AdmList& list, db::Connection& conn);
[[nodiscard]] bool readFromZELCoordO(std::int32_t terrakey, notice::AdmList& list, db::Connection& conn);
[[nodiscard]] bool readFromFMTVRmks(std::int32_t terrakey, std::string& remarks, db::Connection& conn);

}  // namespace database
