#pragma once

#include "core/FixedText.h"

#include <cstdint>
#include <string>
#include <string_view>

// The one pattern of the exported routines: arguments are read with `in` and `inText`, results
// written with `out` and `outText`, and a geo:: function does the work. An absent (null)
// argument reads as 0 or blanks, an absent result is not written, and an absent array holds
// nothing. Text lengths come from tavu32d_shapes.h, generated from the manifest.
namespace geo::shim {

template <typename T>
T in(const T* p)
{
    return p ? *p : T{};
}

template <typename T, typename V>
void out(T* p, V value)
{
    if (p)
        *p = T(value);
}

inline std::string inText(const char* p, long length)
{
    return p ? std::string(p, std::size_t(length)) : std::string(std::size_t(length), ' ');
}

inline void outText(char* p, long length, std::string_view value)
{
    toFixed(p, length, value);
}

inline std::int32_t logical(bool value)
{
    return value ? -1 : 0;
}

}  // namespace geo::shim
