#pragma once

#include "core/FixedText.h"
#include "core/Utilities.h"
#include "distance/NearestPoints.h"

#include <cstdint>
#include <type_traits>

// The caller's arrays of a list routine: entry i of each describes list entry i + 1. Distances
// and azimuths go out as 4-byte reals, or rounded (halves away from zero) as whole numbers.
namespace geo {

template <class Value>
struct ListOutput {
    std::int32_t* n = nullptr;
    Value* distances = nullptr;
    Value* azimuths = nullptr;
    char* symbols = nullptr;
    long symbolLength = 0;
    std::int32_t* dropped = nullptr;
};

template <class Value>
Value listValue(float v)
{
    if constexpr (std::is_same_v<Value, float>)
        return v;
    else
        return Value(roundHalfAway(v));
}

/// Writes the list; an absent array is not written.
template <class Value>
void writeList(const DistanceList& list, const ListOutput<Value>& o)
{
    for (std::int32_t i = 1; i <= list.count(); ++i) {
        const ListEntry& e = list.entry(i);
        const std::size_t k = std::size_t(i - 1);
        if (o.distances)
            o.distances[k] = listValue<Value>(e.distanceKm);
        if (o.azimuths)
            o.azimuths[k] = listValue<Value>(e.azimuthDeg);
        if (o.symbols)
            toFixed(o.symbols + std::ptrdiff_t(k) * o.symbolLength, o.symbolLength, e.symbol);
    }
    if (o.n)
        *o.n = list.count();
    if (o.dropped)
        *o.dropped = list.dropped();
}

}  // namespace geo
