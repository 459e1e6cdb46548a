#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The library's small services: version, date and time, stop watch and messages.
namespace geo {

inline constexpr std::int32_t kVersion = 20050621;

/// The local date as "dd/mm/yy" and the time as "hh.mm.ss".
void dateAndTime(std::string& date, std::string& time);

/// The stop watch: mode 0 starts it, 1 gives seconds since the start, 2 since the last
/// reading, any other the time of day. The first reading of all starts it and gives 0.
float stopWatch(std::int16_t mode);
/// The same, for a given time of day in hundredths of a second since midnight.
float stopWatchAt(std::int16_t mode, std::int64_t hundredths);

/// Prints the heading text and the lines of the message text (split at CR), then waits for
/// the return key; the end of standard input counts as the return key.
void showMessage(std::string_view message, std::string_view heading);

}  // namespace geo
