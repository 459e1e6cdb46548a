#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The one fatal error record of the process and the reporter that prints it and ends the
// process. No routine returns an error: it fills the record and calls GEOERR.
namespace geo {

/// The kinds of fatal report; each prints its own line after the header.
enum class FatalKind : std::int32_t {
    FreeLines = 0,        // the non-blank message lines
    MissingLine = 1,      // errorValue: the line id
    BlockLimit = 2,       // limitName, errorValue, blockName
    WrongVersion = 3,
    NoAllotment = 4,      // limitName: the id
    Limit = 5,            // limitName, errorValue
    CallerDimension = 6,  // limitName: the caller's argument
    Message = 9,          // message line 1
};

struct ErrorRecord {
    std::int32_t errorKind = 0;
    std::int32_t errorValue = 0;
    char routineName[12];
    char limitName[12];
    char blockName[12];
    char messageLines[10][60];

    ErrorRecord();  // all texts blank
};

ErrorRecord& errorRecord();

/// Prints the error held in the record, then ends the process as CANCELR does.
[[noreturn]] void GEOERR();
/// Prints " >>>> CANCELR - ABNORMAL END" and ends the process with a failure status.
[[noreturn]] void CANCELR();

#ifdef GEO_FATAL_RETURNS
/// The fuzz build only: CANCELR throws this back to the fuzz target instead of ending the
/// process; the target then resets the library.
struct FatalEnd {};
#endif

/// Kind 9: one message line, printed as 60 characters.
[[noreturn]] void fatalMessage(std::string_view routine, std::string_view line);
/// Kind 1: a line id missing from the coordinate file.
[[noreturn]] void fatalMissingLine(std::string_view routine, std::int32_t lineId);
/// Kind 2: a limit of a shared data block was exceeded.
[[noreturn]] void fatalBlockLimit(std::string_view routine, std::string_view limit, std::int32_t value,
                                  std::string_view block);
/// Kind 6: the caller's array is too small.
[[noreturn]] void fatalCallerDimension(std::string_view routine, std::string_view argument);
/// Kind 5: a limit of the routine was exceeded.
[[noreturn]] void fatalLimit(std::string_view routine, std::string_view limit, std::int32_t value);
/// Kind 4: an area id that no table holds.
[[noreturn]] void fatalNoAllotment(std::string_view routine, std::string_view id);
/// Kind 3: a data file of another version.
[[noreturn]] void fatalWrongVersion(std::string_view routine);
/// Fills the record's fields for `kind` and reports it.
[[noreturn]] void fatal(FatalKind kind, std::string_view routine, std::int32_t value = 0,
                        std::string_view limit = {}, std::string_view block = {});

/// The lines GEOERR prints for the record, without the CANCELR line.
std::string errorReport(const ErrorRecord& record);

/// A number right-aligned in `width` columns; asterisks when it does not fit.
std::string rightAligned(std::int64_t value, std::size_t width);

/// Writes one record (line) to standard output.
void printLine(std::string_view line);

}  // namespace geo
