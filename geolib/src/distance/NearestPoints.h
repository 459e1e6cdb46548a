#pragma once

#include "core/Constants.h"
#include "geometry/Sphere.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The nearest points of the distance searches (GEOQ49) and the list that the list routines
// share: entry i (from 1) goes with slot i of the nearest points through storing and sorting.
namespace geo {

struct NearestPointStore {
    // Slot 0 is the working slot; a single distance leaves its point in slot 1.
    std::array<Point, kMaxNearestPoints + 1> nearestPoints{};
};

NearestPointStore& nearestPointStore();

/// GEOVA2: copies slots 1..count into `points`; at most 373, nothing for a count below 1.
/// Returns the number copied.
std::int32_t copyNearestPoints(std::int32_t count, float* points);

struct ListEntry {
    std::string symbol;
    float distanceKm = 0;
    float azimuthDeg = 0;
};

/// The list of a list routine, holding at most `capacity` entries. Growing past 373 entries is
/// a fatal error of the routine named.
class DistanceList {
public:
    DistanceList(std::string_view routine, std::int32_t capacity);

    /// False when the capacity leaves no room (n 0, dropped 999).
    bool hasRoom() const { return m_capacity >= 1; }
    std::int32_t count() const { return std::int32_t(m_entries.size()); }
    std::int32_t dropped() const { return hasRoom() ? m_dropped : kNoRoom; }
    /// Entry i, from 1.
    const ListEntry& entry(std::int32_t i) const { return m_entries[std::size_t(i - 1)]; }
    /// The entry holding the symbol, from 1; 0 when none does.
    std::int32_t find(std::string_view symbol) const;

    /// Adds an item while there is room; when full, counts it dropped and lets it replace the
    /// farthest entry (the first of equals) if it is nearer.
    void store(std::string_view symbol, float distanceKm, float azimuthDeg, Point nearest);
    /// Gives entry i (from 1) new values.
    void update(std::int32_t i, float distanceKm, float azimuthDeg, Point nearest);
    /// Ascending distance; equal distances keep their order.
    void sort();

private:
    std::string m_routine;
    std::int32_t m_capacity;
    std::int32_t m_dropped = 0;
    std::vector<ListEntry> m_entries;
};

}  // namespace geo
