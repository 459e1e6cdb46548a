#pragma once

#include <functional>
#include <string>

// One table of calls of the library's numeric routines, run through a library loaded at run time:
// natively through libtavu32d.so, under wine through the 64-bit tavu32d.dll. Every result is
// written by its bits, so that two runs compare exactly.
namespace routine_table {

/// The address of a routine: by its plain name, else by its decorated name (the DLL exports the
/// decorated-only routines under that name alone); null when there is none.
using FindRoutine = std::function<void*(const char* plain, const char* decorated)>;

/// Starts the library and runs the table, one line a call: routine, row, results. The last rows
/// read the map of `map_fixtures::twoCountries()` from wherever the library finds its files.
std::string run(const FindRoutine& find);

}  // namespace routine_table
