#pragma once

#include "tavu32d.h"

#include "geolib/tools/MapFileBuilder.h"
#include "support/MapFolder.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Maps for the current-map tests: lines and index entries written through the map-file builder.
namespace map_fixtures {

inline constexpr double kRadPerDeg = 3.14159265358979323846 / 180;

inline mapfiles::Point deg(double lon, double lat)
{
    return {float(lon * kRadPerDeg), float(lat * kRadPerDeg)};
}

struct RingLine {
    mapfiles::Line line;
    char kind;
    bool reversed;
};

struct TestMap {
    std::vector<mapfiles::Line> lines;
    std::vector<mapfiles::IndexEntry> entries;

    /// A ring of lines of the owner; a line already in the map is not stored twice.
    void ring(const std::string& owner, const std::vector<RingLine>& parts)
    {
        std::vector<mapfiles::Line> ringLines;
        std::vector<bool> reversed;
        for (const RingLine& p : parts) {
            ringLines.push_back(p.line);
            reversed.push_back(p.reversed);
            bool known = false;
            for (const auto& l : lines)
                known = known || l.id == p.line.id;
            if (!known)
                lines.push_back(p.line);
        }
        auto ring = mapfiles::ringEntries(owner, ' ', ringLines, reversed);
        for (std::size_t i = 0; i < ring.size(); ++i)
            ring[i].kind = parts[i].kind;
        entries.insert(entries.end(), ring.begin(), ring.end());
    }

    void island(const std::string& owner, const mapfiles::Line& line, char kind = 'I') { ring(owner, {{line, kind, false}}); }

    void add(const mapfiles::MapData& data)
    {
        lines.insert(lines.end(), data.lines.begin(), data.lines.end());
        entries.insert(entries.end(), data.entries.begin(), data.entries.end());
    }

    void writeTo(const testing_support::MapFolder& folder, const std::vector<std::int32_t>& leftOut = {}) const
    {
        std::vector<mapfiles::Line> stored;
        for (const auto& l : lines) {
            bool drop = false;
            for (std::int32_t id : leftOut)
                drop = drop || id == l.id;
            if (!drop)
                stored.push_back(l);
        }
        folder.write("GEOIDX1.BIN", mapfiles::indexFile(entries));
        folder.write("GEOPNT1.BIN", mapfiles::mainPointFile(stored));
    }
};

inline void startLibrary()
{
    int32_t unit = 20;
    WDBUNIT(&unit);
}

/// Runs `body` on the map in a child process, the library started; the child prints what
/// `body` returns. The lines `leftOut` are missing from the point file.
inline testing_support::ChildResult onMap(const TestMap& map, const std::function<std::string()>& body,
                                          const std::vector<std::int32_t>& leftOut = {})
{
    testing_support::MapFolder folder;
    map.writeTo(folder, leftOut);
    return testing_support::runWithMaps(folder, [&] {
        startLibrary();
        return body();
    });
}

/// A line through the corners, `perLeg` points a leg, neighbouring legs sharing a point.
inline mapfiles::Line path(std::int32_t id, const std::vector<mapfiles::Point>& corners, int perLeg)
{
    mapfiles::Line line{id, {corners.front()}};
    for (std::size_t i = 1; i < corners.size(); ++i) {
        const auto leg = mapfiles::evenLine(id, corners[i - 1], corners[i], perLeg);
        line.points.insert(line.points.end(), leg.points.begin() + 1, leg.points.end());
    }
    return line;
}

/// Two administrations west and east of a border along 10 degrees east from 49 to 51 degrees
/// north: a border line of 126 points to 50 degrees, one of 250 points on to 51, and each
/// administration's own coast around its side.
inline TestMap twoCountries()
{
    TestMap map;
    const auto south = mapfiles::evenLine(1000100, deg(10, 49), deg(10, 50), 126);
    const auto north = mapfiles::evenLine(1000200, deg(10, 50), deg(10, 51), 250);
    const auto west = path(1000300, {deg(10, 51), deg(8, 51), deg(8, 49), deg(10, 49)}, 41);
    const auto east = path(1000400, {deg(10, 49), deg(12, 49), deg(12, 51), deg(10, 51)}, 41);
    map.ring("WWW", {{south, 'B', false}, {north, 'B', false}, {west, 'C', false}});
    map.ring("EEE", {{east, 'C', false}, {north, 'B', true}, {south, 'B', true}});
    return map;
}

// Administrations (two by default), area outlines and their entries, and the local files.
struct AreaMap {
    TestMap map = map_fixtures::twoCountries();
    std::vector<mapfiles::IndexEntry> areaEntries;  // after the map lines, as in the index file
    std::vector<mapfiles::Line> localLines;
    std::vector<mapfiles::IndexEntry> localEntries;

    /// An allotment area: its outline and one table entry per symbol (owner and 3 characters).
    void allotment(const mapfiles::Line& outline, const std::vector<std::string>& symbols)
    {
        map.lines.push_back(outline);
        for (const std::string& symbol : symbols) {
            auto e = mapfiles::lineEntry(symbol.substr(0, 3), 'A', outline);
            mapfiles::setData(e, 8, symbol.substr(3, 3));
            mapfiles::setData(e, 12, "M");
            areaEntries.push_back(e);
        }
    }
    /// An area whose outline has no table entry: only the index would name it, so it is left out.
    void outlineOnly(const mapfiles::Line& outline) { map.lines.push_back(outline); }

    void coordination(const mapfiles::Line& outline, float value1, float value2)
    {
        map.lines.push_back(outline);
        auto e = mapfiles::lineEntry("CND", 'D', outline);
        mapfiles::setDataReal(e, 3, value1);
        mapfiles::setDataReal(e, 4, value2);
        areaEntries.push_back(e);
    }

    void local(const mapfiles::Line& outline, const std::string& areaId)
    {
        localLines.push_back(outline);
        auto e = mapfiles::lineEntry(areaId.substr(0, 3), 'A', outline);
        mapfiles::setData(e, 0, areaId.substr(3));
        mapfiles::setData(e, 12, "L");
        localEntries.push_back(e);
    }

    testing_support::ChildResult run(const std::function<std::string()>& body,
                                     const std::vector<std::int32_t>& leftOut = {}) const
    {
        testing_support::MapFolder folder;
        TestMap all = map;
        all.entries.insert(all.entries.end(), areaEntries.begin(), areaEntries.end());
        all.writeTo(folder, leftOut);
        folder.write("LCLIDX1.BIN", mapfiles::indexFile(localEntries));
        folder.write("LCLPNT1.BIN", mapfiles::mainPointFile(localLines.empty() ? std::vector<mapfiles::Line>{
                                                                                     mapfiles::squareLine(1, deg(0, 0), 0.01f, 2)}
                                                                               : localLines));
        return testing_support::runWithMaps(folder, [&] {
            map_fixtures::startLibrary();
            return body();
        });
    }
};

}  // namespace map_fixtures
