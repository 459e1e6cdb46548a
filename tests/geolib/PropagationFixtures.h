#pragma once

#include "tavu32d.h"

#include "MapFixtures.h"
#include "ZoneTableFixtures.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Maps for land and sea along a radial and for the propagation zones: two administrations AAA
// (10 to 12 E) and BBB (12 to 14 E) side by side from 40 to 42 N, a coordination area from 8 to
// 11 E and 40.5 to 41.5 N (1000 on land, 2000 at sea), the lines of the fixed zone tables, and
// zone kinds 1 to 8 in GEOPNT12.BIN.
namespace prop_fixtures {

using map_fixtures::deg;

inline constexpr std::int32_t kLandValue = 1000, kSeaValue = 2000;
inline constexpr std::int32_t kLandDefault = 0, kSeaDefault = 50000;
inline constexpr int kKinds = 8;

struct Zone {
    mapfiles::Line line;
    std::array<float, 2> values;  // on land, at sea
};

/// A square of `perSide` points a side from (west, south) to (east, north), in degrees.
inline mapfiles::Line box(std::int32_t id, double west, double south, double east, double north, int perSide = 9)
{
    const auto sw = deg(west, south), se = deg(east, south), ne = deg(east, north), nw = deg(west, north);
    return map_fixtures::path(id, {sw, se, ne, nw, sw}, perSide);
}

struct RadialMap {
    map_fixtures::TestMap map;
    std::vector<mapfiles::IndexEntry> areaEntries;  // after the map's lines, as in the index file
    std::array<std::vector<Zone>, kKinds> zones;
    std::array<std::array<float, 2>, kKinds> defaults{};
    std::vector<std::int32_t> missingZoneLines;  // listed in an index line, left out of the file
    // A polygon of the fixed land zones; the other lines of the fixed tables are stand-ins.
    mapfiles::Line landZone = box(7350301, 150, -31, 151, -30);

    RadialMap()
    {
        const auto south = mapfiles::evenLine(1000100, deg(12, 40), deg(12, 42), 41);
        const auto west = map_fixtures::path(1000200, {deg(12, 42), deg(10, 42), deg(10, 40), deg(12, 40)}, 41);
        const auto east = map_fixtures::path(1000300, {deg(12, 40), deg(14, 40), deg(14, 42), deg(12, 42)}, 41);
        map.ring("AAA", {{south, 'B', false}, {west, 'C', false}});
        map.ring("BBB", {{east, 'C', false}, {south, 'B', true}});
        const auto area = box(4001, 8, 40.5, 11, 41.5, 31);  // coordination ids run from 4000
        map.lines.push_back(area);
        auto e = mapfiles::lineEntry("CND", 'D', area);
        mapfiles::setDataReal(e, 3, float(kLandValue));
        mapfiles::setDataReal(e, 4, float(kSeaValue));
        areaEntries.push_back(e);
    }

    void zone(int kind, const Zone& z) { zones[std::size_t(kind - 1)].push_back(z); }

    testing_support::ChildResult run(const std::function<std::string()>& body) const
    {
        testing_support::MapFolder folder;
        map_fixtures::TestMap all = map;
        all.entries.insert(all.entries.end(), areaEntries.begin(), areaEntries.end());
        const auto tables = zone_fixtures::zoneTableLines({landZone});
        all.lines.insert(all.lines.end(), tables.begin(), tables.end());
        all.writeTo(folder);
        folder.write("GEOPNT12.BIN", mapfiles::zonePointFile(zoneFile()));
        return testing_support::runWithMaps(folder, [&] {
            map_fixtures::startLibrary();
            return body();
        });
    }

private:
    // Kind k's one index line is line 10k; each zone line is written once.
    std::vector<mapfiles::Line> zoneFile() const
    {
        std::vector<mapfiles::ZoneKind> kinds;
        std::vector<mapfiles::Line> lines;
        std::vector<std::int32_t> written;
        for (int k = 1; k <= kKinds; ++k) {
            const auto& list = zones[std::size_t(k - 1)];
            kinds.push_back({10 * k, list.empty() ? 0 : 1, defaults[std::size_t(k - 1)]});
            std::vector<mapfiles::ZoneIndexEntry> entries;
            for (const Zone& z : list) {
                entries.push_back({z.line.id, z.values, windowAround(z.line)});
                const bool missing =
                    std::find(missingZoneLines.begin(), missingZoneLines.end(), z.line.id) != missingZoneLines.end();
                if (!missing && std::find(written.begin(), written.end(), z.line.id) == written.end()) {
                    written.push_back(z.line.id);
                    lines.push_back(z.line);
                }
            }
            if (!entries.empty())
                lines.push_back(mapfiles::zoneIndexLine(10 * k, entries));
        }
        lines.push_back(mapfiles::zoneHeaderLine(kinds));
        return lines;
    }

    static std::array<float, 4> windowAround(const mapfiles::Line& line)
    {
        std::array<float, 4> w{1e9f, 1e9f, -1e9f, -1e9f};
        for (const auto& p : line.points)
            w = {std::min(w[0], p.lon), std::min(w[1], p.lat), std::max(w[2], p.lon), std::max(w[3], p.lat)};
        return w;
    }
};

/// The window request of the map and list routines, in degrees.
inline void request(void (*list)(int32_t*, float*, int32_t*), double west, double south, double east, double north)
{
    int32_t kind = 2, dist = 0;
    const auto sw = deg(west, south), ne = deg(east, north);
    float place[4] = {sw.lon, sw.lat, ne.lon, ne.lat};
    list(&kind, place, &dist);
}

/// The reference sphere's distance (km) along the great circle from (lon, lat) at the azimuth
/// to where it reaches longitude `toLon` (degrees, heading east).
inline double referenceKmToLongitude(double lon, double lat, double azimuthDeg, double toLon)
{
    const GeographicLib::Geodesic sphere(6373000.0, 0.0);
    const GeographicLib::GeodesicLine line = sphere.Line(lat, lon, azimuthDeg);
    double lo = 0, hi = 5e6;
    for (int i = 0; i < 80; ++i) {
        const double mid = 0.5 * (lo + hi);
        double la = 0, lx = 0;
        line.Position(mid, la, lx);
        (lx < toLon ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi) / 1000.0;
}

inline double referenceKm(mapfiles::Point a, mapfiles::Point b)
{
    const GeographicLib::Geodesic sphere(6373000.0, 0.0);
    double s = 0;
    const double k = 180 / 3.14159265358979323846;
    sphere.Inverse(a.lat * k, a.lon * k, b.lat * k, b.lon * k, s);
    return s / 1000.0;
}

}  // namespace prop_fixtures
