#pragma once

#include <array>
#include <cstdint>

// The state the library's routines share for the life of the process.
namespace geo {

inline constexpr std::int32_t kPointUnit = 75;       // "GEOPNT1.BIN"
inline constexpr std::int32_t kReservedUnit = 76;    // opened by no routine
inline constexpr std::int32_t kPoint2Unit = 77;      // "GEOPNT12.BIN"
inline constexpr std::int32_t kLocalIndexUnit = 78;  // "LCLIDX1.BIN"
inline constexpr std::int32_t kLocalPointUnit = 79;  // "LCLPNT1.BIN"

struct LibraryState {
    std::int32_t indexUnit = 0;              // unit of the index file; 0 until WDBUNIT
    std::array<char, 20> optionString{};     // holds no "0" until WDBUNIT or GEOSET writes it
    bool initialised = false;                // WDBUNIT has run
};

LibraryState& libraryState();

/// Later parts join the reset that WDBUNIT makes: a static ResetRegistration in their source.
using ResetFunction = void (*)();
struct ResetRegistration {
    explicit ResetRegistration(ResetFunction reset);
};

/// The first call initialises the library; later calls change nothing. Units 75 and 76 are
/// refused with a fatal error.
void WDBUNIT(std::int32_t unit);

}  // namespace geo
