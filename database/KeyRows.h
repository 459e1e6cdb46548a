#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace db { class Connection; }
namespace platform { class Report; }

// Counting, deleting and updating the rows of one key, as the delete and the update do.
namespace database {

/// The count that `sql` (one "?" for the key) gives; nothing on an error.
std::optional<std::int64_t> countKeyRows(db::Connection& conn, const std::string& sql, std::int64_t key);

/// Runs `sql` with the key bound to its "?"; a failure is reported titled `procedure`.
[[nodiscard]] bool runWithKey(db::Connection& conn, const std::string& sql, std::int64_t key,
                              const char* procedure, platform::Report& report);

inline constexpr const char* kNotUnique = "The selected notice is not unique. Please consult the administrator!";

/// Shows that the row to update is missing or not unique, titled "Update Error"; false.
bool notUniqueForUpdate(platform::Report& report);

}  // namespace database
