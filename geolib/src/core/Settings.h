#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The settings file "VINTAR_SOFT.INI" and the search for data files.
//
// The Windows library asks Windows: the Windows folder, the profile reader, and every path as it
// stands, drive letters and "C:name" included. On Linux "the Windows folder" is $WINDIR, else
// $XDG_CONFIG_HOME/tavu, else $HOME/.config/tavu; a drive letter X stands for the folder
// $TAVU_DRIVE_X, drive C is "/" when that is not set, and "C:" alone is the current folder.
// Backslashes and slashes both separate folders, and a name is looked for in its exact case
// first, then without regard to case.
namespace geo {

#ifndef _WIN32
/// The folder of the settings file; empty when there is none to be had.
std::filesystem::path windowsFolder();
/// The folder a drive letter stands for; nothing for a drive that is not there.
std::optional<std::filesystem::path> driveFolder(char letter);
#endif
/// The existing file that a Windows-style or plain path names; nothing when there is none.
std::optional<std::string> findFile(std::string_view path);

/// A setting of section TAVU: key 1 TAVU_DataFileDir, 2 Local_DataFileDir, at most 255
/// characters. "" when missing or unreadable; a value longer than `variableLength` (the
/// caller's variable) is shown with the key's name and reads as "".
std::string readSetting(std::int32_t key, std::size_t variableLength);

/// The full path of a data file from its code ("I", "P", "P2", "C", "LI", "LP", or "GET" and a
/// name from the fifth character). With a leading "X" a missing file gives ""; without it a
/// missing file is a fatal error.
std::string locateFile(std::string_view code);

}  // namespace geo
