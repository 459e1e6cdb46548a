#pragma once

#include "notice/NoticeRecord.h"

#include <cstdint>

namespace db { class Connection; }
namespace platform { class Report; }

// Bringing the digital-plan rows of a stored notice in line with its record, inside the
// caller's transaction. A table without its one row gets a new one from the store's writers.
namespace database {

/// The zel_elements row in place, then its single-frequency-network row and its allotment.
[[nodiscard]] bool udpateZEL04ElementTable(const notice::NoticeRecord& rec, std::int32_t terrakey,
                                           db::Connection& conn, platform::Report& report);
/// The one zel_sfnID_proc row in place, deleted when the record names neither id.
[[nodiscard]] bool updateSfnIDProcTable(const notice::NoticeRecord& rec, std::int32_t terrakey,
                                        db::Connection& conn, platform::Report& report);
/// The one allotment in place, its sub-areas written again; the contours they pointed at stay.
[[nodiscard]] bool updateZEL04AllotTable(const notice::NoticeRecord& rec, std::int32_t terrakey,
                                         db::Connection& conn, platform::Report& report);

}  // namespace database
