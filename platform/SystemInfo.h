#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace platform {

struct DateTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

/// The local date and time now.
DateTime now();

/// A date as the program writes it: yyyy-mm-dd.
std::string shortDate(const DateTime& when);

/// A time as the program writes it: hh:mm:ss.
std::string shortTime(const DateTime& when);

/// The login name of the user running the program, else `USER`, else the account's name;
/// empty when none is known.
std::string loginName();

/// Copies the file's bytes to `to`, replacing it, and flushes them to the disk; on failure `ec`
/// holds the system's own reason (a full disk is "No space left on device") and `to` may be
/// left partly written.
void copyFile(const std::filesystem::path& from, const std::filesystem::path& to, std::error_code& ec);

/// True when the path names an existing file, not a folder; any error gives false.
bool fileExists(const std::filesystem::path& path);

}  // namespace platform
