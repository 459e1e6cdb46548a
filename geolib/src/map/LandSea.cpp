#include "LandSea.h"

#include "coords/CoordText.h"
#include "core/FixedText.h"
#include "state/LibraryState.h"
#include "map/Radial.h"
#include "zones/FixedZones.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace geo {
namespace {

constexpr std::int32_t kLandMode = 1;
constexpr std::int32_t kSeaMode = 2;

// A map of areas with a value on land and one at sea each, and the defaults for points in no
// area: the coordination areas (values stored less 32768) or the zone list.
template <typename V>
struct ValueMap {
    AreaStore store;
    std::array<V, 2> defaults;  // land, sea
    V (*value)(std::int32_t area, std::int32_t side);  // area from 1, side 0 land, 1 sea
};

std::int32_t coordinationValue(std::int32_t area, std::int32_t side)
{
    const AreaList& l = libraryState().areaLists.coordination;
    return std::int32_t(l.areaValues[std::size_t(area - 1)][std::size_t(side)]) + kCoordinationOffset;
}

float zoneValue(std::int32_t area, std::int32_t side)
{
    return libraryState().zones.list.zoneValues[std::size_t(area - 1)][std::size_t(side)];
}

ValueMap<std::int32_t> coordinationMap()
{
    const auto& bounds = libraryState().areaLists.coordination.coordBounds;
    return {AreaStore::Coordination, {bounds[0], bounds[1]}, coordinationValue};
}

ValueMap<float> zoneMap()
{
    return {AreaStore::Zones, libraryState().zones.list.zoneDefaults, zoneValue};
}

template <typename V>
V valueAt(const ValueMap<V>& m, Point p, std::int32_t mode)
{
    const std::int32_t side = mode == kLandMode ? 0 : 1;
    const OutlineSet set = storeOutlines(m.store);
    for (std::int32_t a = 1; a <= set.count; ++a) {
        if (!passedOver(m.store, a) && outlineHolds(set.outline(a), p))
            return m.value(a, side);
    }
    return m.defaults[std::size_t(side)];
}

bool onLand(Point t)
{
    return GEOSPZN(t) == 1 || !isBlank(GEOCTPT(t, kLandMode));
}

template <typename V>
RadialWalk walk(const ValueMap<V>& m, Point start, float distKm, float azimuthDeg, std::int32_t nmax, float* points,
                float* distancesKm, V* values)
{
    Stretches s{points, distancesKm, std::max(nmax, 0)};
    const RadialFrame frame = radialStretches(
        start, distKm, azimuthDeg, kLandMode, true,
        [&](float* at, std::int32_t room) { return GEORADA(m.store, 0, at, room); }, s);
    if (s.err != 0)  // the crossings found so far stay, without their values
        return {s.count, s.err};
    if (!frame.ready) {
        values[s.count - 1] = m.defaults[1];
        return {s.count, 0};
    }
    for (std::int32_t k = 1; k <= s.count; ++k) {
        const Point t = GEORADT(k, points, distancesKm, s.count);
        const bool land = !frame.farFromMap && onLand(t);
        if (frame.farFromAreas)
            values[k - 1] = m.defaults[land ? 0 : 1];
        else
            values[k - 1] = valueAt(m, t, land ? kLandMode : kSeaMode);
    }
    // Equal neighbours are one stretch: the earlier entry gives way.
    std::int32_t n = 0;
    for (std::int32_t k = 0; k < s.count; ++k) {
        if (n > 0 && values[n - 1] == values[k])
            --n;
        setPoint(points, n, pointOf(points, k));
        distancesKm[n] = distancesKm[k];
        values[n] = values[k];
        ++n;
    }
    return {n, 0};
}

}  // namespace

std::int32_t GEOCDVL(Point p, std::int32_t mode)
{
    return valueAt(coordinationMap(), p, mode);
}

float GEOCSVL(Point p, std::int32_t mode)
{
    return valueAt(zoneMap(), p, mode);
}

RadialWalk GEOCAC3(Point start, float distKm, float azimuthDeg, std::int32_t nmax, float* points, float* distancesKm,
                   std::int32_t* values)
{
    return walk(coordinationMap(), start, distKm, azimuthDeg, nmax, points, distancesKm, values);
}

RadialWalk GEOCAC2(Point start, std::int32_t distKm, std::int32_t azimuthDeg, std::int32_t nmax, float* points,
                   std::int32_t* distancesKm, std::int32_t* values)
{
    std::vector<float> real(std::size_t(std::max(nmax, 0)));
    const RadialWalk w = GEOCAC3(start, float(distKm), float(azimuthDeg), nmax, points, real.data(), values);
    if (w.err == 0)
        roundReals(real.data(), distancesKm, std::int16_t(w.n));
    return w;
}

RadialWalk GEOCOC3(Point start, float distKm, float azimuthDeg, std::int32_t nmax, float* points, float* distancesKm,
                   float* values)
{
    return walk(zoneMap(), start, distKm, azimuthDeg, nmax, points, distancesKm, values);
}

RadialWalk GEOPRZC(Point start, float distKm, float azimuthDeg, std::int32_t room, float* points, float* distancesKm,
                   float* values)
{
    return GEOCOC3(start, distKm, azimuthDeg, room, points, distancesKm, values);
}

}  // namespace geo
