#pragma once

namespace notice {

// The program's own error numbers, shown as "Erreur n" through reportErr; the database
// engine's result codes are apart, in database/sqlite/Error.h.

/// A number beyond the range of the type it is kept in.
inline constexpr int kErrOverflow = 6;
/// An index beyond a fixed number of slots.
inline constexpr int kErrSubscript = 9;
/// A value that is not of the type expected, such as text in a key counter.
inline constexpr int kErrTypeMismatch = 13;
/// A file that is not there.
inline constexpr int kErrFileNotFound = 53;
/// A Null where a value is required.
inline constexpr int kErrInvalidNull = 94;

}  // namespace notice
