#pragma once

#include <cstdint>

namespace db { class Connection; }
namespace platform { class Report; }

// The next free key of each kind, drawn inside the caller's transaction. Each hands out the
// stored value and advances it; false when no key could be handed out.
namespace database {

[[nodiscard]] bool writeTerRaKeyTable(std::int32_t& key, db::Connection& conn, platform::Report& report);
[[nodiscard]] bool writeTargetTable(std::int32_t& key, db::Connection& conn, platform::Report& report);
[[nodiscard]] bool writeAllotKeyTable(std::int32_t& key, db::Connection& conn, platform::Report& report);
[[nodiscard]] bool writeContourKeyTable(std::int32_t& key, db::Connection& conn, platform::Report& report);

}  // namespace database
