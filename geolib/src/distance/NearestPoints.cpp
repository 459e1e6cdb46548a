#include "distance/NearestPoints.h"

#include "core/Fatal.h"
#include "state/LibraryState.h"

#include <algorithm>
#include <utility>

namespace geo {

NearestPointStore& nearestPointStore()
{
    return libraryState().nearest;
}

std::int32_t copyNearestPoints(std::int32_t count, float* points)
{
    const std::int32_t n = std::clamp(count, 0, kMaxNearestPoints);
    const auto& slots = nearestPointStore().nearestPoints;
    for (std::int32_t i = 0; i < n && points; ++i)
        setPoint(points, i, slots[std::size_t(i + 1)]);
    return points ? n : 0;
}

DistanceList::DistanceList(std::string_view routine, std::int32_t capacity) : m_routine(routine), m_capacity(capacity)
{
}

std::int32_t DistanceList::find(std::string_view symbol) const
{
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].symbol == symbol)
            return std::int32_t(i + 1);
    return 0;
}

void DistanceList::store(std::string_view symbol, float distanceKm, float azimuthDeg, Point nearest)
{
    if (count() < m_capacity) {
        if (count() >= kMaxNearestPoints)
            fatalBlockLimit(m_routine, "MAXQLL", kMaxNearestPoints, "GEOQ49");
        m_entries.push_back({std::string(symbol), distanceKm, azimuthDeg});
        nearestPointStore().nearestPoints[m_entries.size()] = nearest;
        return;
    }
    ++m_dropped;
    std::int32_t farthest = 0;
    float largest = kInsideKm;
    for (std::int32_t i = 1; i <= count(); ++i)
        if (entry(i).distanceKm > largest)
            farthest = i, largest = entry(i).distanceKm;
    if (farthest > 0 && distanceKm < largest) {
        m_entries[std::size_t(farthest - 1)].symbol = std::string(symbol);
        update(farthest, distanceKm, azimuthDeg, nearest);
    }
}

void DistanceList::update(std::int32_t i, float distanceKm, float azimuthDeg, Point nearest)
{
    ListEntry& e = m_entries[std::size_t(i - 1)];
    e.distanceKm = distanceKm;
    e.azimuthDeg = azimuthDeg;
    nearestPointStore().nearestPoints[std::size_t(i)] = nearest;
}

void DistanceList::sort()
{
    auto& slots = nearestPointStore().nearestPoints;
    for (std::int32_t m = count() - 1; m >= 1; --m) {
        bool changed = false;
        for (std::int32_t j = 1; j <= m; ++j) {
            if (entry(j).distanceKm > entry(j + 1).distanceKm) {
                std::swap(m_entries[std::size_t(j - 1)], m_entries[std::size_t(j)]);
                std::swap(slots[std::size_t(j)], slots[std::size_t(j + 1)]);
                changed = true;
            }
        }
        if (!changed)
            break;
    }
}

}  // namespace geo
