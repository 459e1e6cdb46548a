#pragma once

#include <cstdint>

namespace db { class Connection; }
namespace platform { class Prompter; }

// The next free key of each kind, drawn inside the caller's transaction. Each hands out the
// stored value and advances it; false when no key could be handed out.
namespace database {

[[nodiscard]] bool writeTerRaKeyTable(std::int32_t& key, db::Connection& conn, platform::Prompter& prompter);
[[nodiscard]] bool writeTargetTable(std::int32_t& key, db::Connection& conn, platform::Prompter& prompter);
[[nodiscard]] bool writeAllotKeyTable(std::int32_t& key, db::Connection& conn, platform::Prompter& prompter);
[[nodiscard]] bool writeContourKeyTable(std::int32_t& key, db::Connection& conn, platform::Prompter& prompter);

}  // namespace database
