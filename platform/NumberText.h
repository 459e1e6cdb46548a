#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Numbers as text with "." as the decimal mark, whatever the locale.

/// The number a numeric text reads as: blanks around it, an optional sign, digits with at most
/// one "." (one digit at least), an optional exponent (E or e, optional sign, digits). Nothing
/// for any other text, an empty one or blanks only. An exponent beyond a double's range reads
/// as an infinity (or 0 when negative).
std::optional<double> numericValue(std::string_view text);
/// The shortest text of up to 15 significant digits: "98.5", "100", "0.1", "1e+20".
std::string formatReal(double value);
/// The whole text as a real number ("98.5", "-7", "1e3"); nothing for anything else, "98,5" too.
std::optional<double> parseReal(std::string_view text);
/// The whole text as a whole number ("-12", "007"); nothing for anything else or out of range.
std::optional<std::int64_t> parseInteger(std::string_view text);
/// A whole number of at least `width` digits, zeros in front: padded(7, 2) is "07".
std::string padded(std::int64_t value, int width);

}  // namespace platform
