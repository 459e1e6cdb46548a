#pragma once

// The map of the distance tests: countries AAA (0-10 degrees east, 0-10 north) and BBB (10-20
// east) sharing the border along 10 east, and the island CCC around (25 east, 5 north); with the
// lines of each country for the reference.
#include "geolib/LineReference.h"
#include "geolib/MapFixtures.h"
#include "geolib/PolygonReference.h"

#include <map>
#include <string>
#include <vector>

namespace distance_map {

using map_fixtures::deg;

inline constexpr std::int32_t kBorder = 1000100, kCoastA = 1000200, kCoastB = 1000300, kIsland = 1000400;

struct CountryLines {
    std::vector<std::vector<float>> lines;  // each as longitude, latitude pairs
    std::vector<float> ring;                // the closed outline
    std::vector<bool> coast;                // each line a coast or island line
};

inline std::vector<float> flat(const mapfiles::Line& l, bool reversed = false)
{
    std::vector<float> v;
    for (const auto& p : l.points) {
        v.push_back(p.lon);
        v.push_back(p.lat);
    }
    if (reversed) {
        std::vector<float> r;
        for (std::size_t i = v.size(); i >= 2; i -= 2) {
            r.push_back(v[i - 2]);
            r.push_back(v[i - 1]);
        }
        return r;
    }
    return v;
}

struct DistanceMap {
    map_fixtures::TestMap map;
    std::map<std::string, CountryLines> countries;
};

inline DistanceMap distanceMap()
{
    using map_fixtures::path;
    DistanceMap d;
    const auto border = mapfiles::evenLine(kBorder, deg(10, 0), deg(10, 10), 41);
    const auto coastA = path(kCoastA, {deg(10, 10), deg(0, 10), deg(0, 0), deg(10, 0)}, 41);
    const auto coastB = path(kCoastB, {deg(10, 0), deg(20, 0), deg(20, 10), deg(10, 10)}, 41);
    const auto island = mapfiles::squareLine(kIsland, deg(25, 5), float(1 * map_fixtures::kRadPerDeg), 20);
    d.map.ring("AAA", {{border, 'B', false}, {coastA, 'C', false}});
    d.map.ring("BBB", {{coastB, 'C', false}, {border, 'B', true}});
    d.map.island("CCC", island);
    const auto ring = [](std::vector<std::vector<float>> parts) {
        std::vector<float> r;
        for (const auto& p : parts)
            r.insert(r.end(), p.begin() + (r.empty() ? 0 : 2), p.end());
        return r;
    };
    d.countries["AAA"] = {{flat(border), flat(coastA)}, ring({flat(border), flat(coastA)}), {false, true}};
    d.countries["BBB"] = {{flat(coastB), flat(border, true)}, ring({flat(coastB), flat(border, true)}), {true, false}};
    d.countries["CCC"] = {{flat(island)}, flat(island), {true}};
    return d;
}

/// The reference distance to a country: 0 inside, else to the nearest of its lines.
inline line_reference::Nearest countryDistance(const CountryLines& c, float lon, float lat)
{
    if (polygon_reference::evenOddInside(lon, lat, c.ring))
        return {0, lon, lat};
    line_reference::Nearest best;
    for (const auto& l : c.lines) {
        const auto n = line_reference::nearestOnLine(lon, lat, l);
        if (n.distanceKm < best.distanceKm)
            best = n;
    }
    return best;
}

}  // namespace distance_map
