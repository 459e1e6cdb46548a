#pragma once

// What every benchmark prints its figures with: "." as the decimal mark whatever the locale
// (a QApplication takes the user's), and degrees turned into the library's radians.
#include <charconv>
#include <string>
#include <system_error>

namespace bench {

/// `value` with `decimals` digits after ".", right-aligned in at least `width` characters.
inline std::string fixed(double value, int decimals, int width = 0)
{
    char text[512];  // the widest double in fixed notation fits
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    std::string out = ec == std::errc() ? std::string(text, end) : std::string("?");
    if (int(out.size()) < width)
        out.insert(0, std::size_t(width) - out.size(), ' ');
    return out;
}

inline constexpr double kRadPerDeg = 3.14159265358979323846 / 180;

/// Degrees as radians, the unit the library's points are in.
inline float rad(double degrees)
{
    return float(degrees * kRadPerDeg);
}

}  // namespace bench
