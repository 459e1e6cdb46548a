#include "AreaLists.h"

#include "core/Constants.h"
#include "core/Fatal.h"
#include "state/LibraryState.h"
#include "files/PointFile.h"
#include "geometry/Clipping.h"
#include "map/CurrentMap.h"
#include "map/MapOptions.h"
#include "map/OutlineTrim.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace geo {
namespace {

AreaLists& lists()
{
    return libraryState().areaLists;
}

struct Limit {
    std::string_view name;
    std::int32_t value;
};

// What tells the three lists apart.
struct ListKind {
    AreaListOwner owner;
    std::string_view routine;
    std::string_view block;
    const PointFormat& outlines;
    Limit areas;
    std::optional<Limit> table;  // none: every area that meets the map is kept, with its values
};

const ListKind kAllotments{AreaListOwner::Allotments, "ALLMAP", "GEOQ15", kGeoPoints,
                           {"MXALID", kMaxAllotmentAreas}, Limit{"MXALTB", kMaxAllotmentTable}};
const ListKind kLocal{AreaListOwner::Local, "LCLMAP", "GEOQ18", kLocalPoints,
                      {"MXALID", kMaxLocalListAreas}, Limit{"MXALTB", kMaxLocalListTable}};
const ListKind kCoordination{AreaListOwner::Coordination, "CNDMAP", "GEOQ16", kGeoPoints,
                             {"MXCDID", kMaxCoordinationAreas}, std::nullopt};
constexpr std::string_view kAllotmentPointsName = "MXALCR";
constexpr std::string_view kCoordinationPointsName = "MXCDCR";

Window toWindow(const EntryWindow& w)
{
    return windowOf(w.data());
}

// Cuts an outline of n points in `points` (room for capacity) to w, closing the cut along w,
// then trims it; gives the kept points first..last (from 1), first = last when none are kept.
std::pair<std::int32_t, std::int32_t> cutOutline(const Window& outlineWindow, const Window& w, float* points,
                                                 std::int32_t capacity, std::int32_t n)
{
    if (!windowInWindow(outlineWindow, w)) {
        n = cutOutlineToWindow(isNormal(outlineWindow) ? 1 : 0, w, points, capacity, n);
    }
    std::int32_t first = 1, last = std::max(n, 1);
    GEOTRIM(w, points, first, last);
    return {first, last};
}

// The list of one kind for the current map; the limit that overflowed, if any.
std::optional<Limit> fillList(const ListKind& kind, const AreaIndex& index, AreaList& list)
{
    AreaLists& s = lists();
    CurrentMap& map = libraryState().map;
    const Window& w = map.state.mapWindow;
    float* buffer = map.lineBuffer.data();
    const Limit points{kind.table ? kAllotmentPointsName : kCoordinationPointsName, kAreaListPoints};
    for (std::size_t a = 0; a < index.areaId.size(); ++a) {
        if (!windowsOverlap(index.areaWindow[a], w))
            continue;
        const std::int16_t id = index.areaId[a];
        const std::int32_t n = readLineById(kind.outlines, kind.routine, id, buffer, kLineBufferPoints);
        const auto [first, last] = cutOutline(index.areaWindow[a], w, buffer, kLineBufferPoints, n);
        if (first >= last)
            continue;
        if (std::int32_t(list.areaId.size()) >= kind.areas.value)
            return kind.areas;
        const std::int32_t count = last - first + 1;
        const Window kept = boundingWindow(buffer + 2 * (first - 1), count);
        if (!windowsOverlap(kept, w))
            continue;
        const auto used = std::int32_t(s.areaPoints.size() / 2);
        if (used + count > kAreaListPoints)
            return points;
        const std::size_t tableBefore = list.tableAreaId.size();
        if (kind.table) {
            for (std::size_t t = 0; t < index.tableAreaId.size(); ++t) {
                if (index.tableAreaId[t] != id)
                    continue;
                if (std::int32_t(list.tableAreaId.size()) >= kind.table->value)
                    return kind.table;
                list.tableAreaId.push_back(id);
                list.tableSymbol.push_back(index.tableSymbol[t]);
                list.tableMarker.push_back(index.tableMarker[t]);
            }
            if (list.tableAreaId.size() == tableBefore)
                continue;  // no table entry: the area is not listed
        } else {
            list.areaValues.push_back(index.areaValues[a]);
        }
        list.areaId.push_back(id);
        list.areaFirst.push_back(std::int16_t(used + 1));
        list.areaPointCount.push_back(std::int16_t(count));
        s.areaWindow.push_back(kept);
        s.areaPoints.insert(s.areaPoints.end(), buffer + 2 * (first - 1), buffer + 2 * last);
    }
    return std::nullopt;
}

void emptyStorage(AreaList& list)
{
    AreaLists& s = lists();
    list.clear();
    s.areaWindow.clear();
    s.areaPoints.clear();
}

void areaList(const ListKind& kind, const AreaIndex& index, AreaList& list, std::int32_t requestKind,
              const float* place, std::int32_t dist)
{
    AreaLists& s = lists();
    MapState& m = libraryState().map.state;
    std::optional<Limit> full;
    for (bool retried = false;; retried = true) {
        GEOMAP(requestKind, place, dist);
        if (retried && m.rebuildPending != 0)
            break;  // the map was not rebuilt (a frozen map): the overflow stands
        if (s.areaListOwner == kind.owner && list.generation == m.mapGeneration)
            return;
        s.areaListOwner = kind.owner;
        list.generation = m.mapGeneration;
        emptyStorage(list);
        if (!kind.table)
            list.coordBounds = {0, kCoordinationBoundHigh};
        if (m.rebuildPending != 0 || index.areaId.empty())
            return;
        full = fillList(kind, index, list);
        if (!full)
            return;
        m.rebuildPending = 1;
        emptyStorage(list);
        if (retried || !requestInMap(requestKind, place, dist))
            break;
    }
    if (!optionOn(Option::QuietOverflow))
        fatalBlockLimit(kind.routine, full->name, full->value, kind.block);
}

}  // namespace

void AreaList::clear()
{
    const std::int32_t kept = generation;
    *this = AreaList{};
    generation = kept;
}

void AreaLists::reset()
{
    areaListOwner = AreaListOwner::None;
    areaWindow.clear();
    areaPoints.clear();
    for (AreaList* list : {&allotments, &local, &coordination})
        *list = AreaList{};
}

void GEOAAIN()
{
    AreaIndex& x = lists().allotmentIndex;
    if (x.loaded)
        return;
    x = AreaIndex{};
    openIndex();
    for (AreaEntry e; nextAreaEntry(e);) {
        if (std::int32_t(x.tableAreaId.size()) >= kMaxAllotmentIndexTable)
            fatalBlockLimit("GEOAAIN", "MXALTBQ", kMaxAllotmentIndexTable, "GEOQ25");
        const auto id = std::int16_t(e.id);
        x.tableAreaId.push_back(id);
        x.tableSymbol.push_back(e.text);
        x.tableMarker.push_back(e.attribute);
        if (std::find(x.areaId.begin(), x.areaId.end(), id) != x.areaId.end())
            continue;
        if (std::int32_t(x.areaId.size()) >= kMaxAllotmentIndexAreas)
            fatalBlockLimit("GEOAAIN", "MXALIDQ", kMaxAllotmentIndexAreas, "GEOQ25");
        x.areaId.push_back(id);
        x.areaWindow.push_back(toWindow(e.window));
    }
    x.loaded = true;
}

void GEOCNDR()
{
    AreaIndex& x = lists().coordinationIndex;
    if (x.loaded)
        return;
    x = AreaIndex{};
    openIndex();
    for (CoordinationEntry e; nextCoordinationEntry(e);) {
        if (std::int32_t(x.areaId.size()) >= kMaxCoordinationIndex)
            fatalBlockLimit("GEOCNDR", "MXCDIDQ", kMaxCoordinationIndex, "GEOQ26");
        x.areaId.push_back(std::int16_t(e.id));
        x.areaValues.push_back({std::int16_t(e.value1 - kCoordinationOffset), std::int16_t(e.value2 - kCoordinationOffset)});
        x.areaWindow.push_back(toWindow(e.window));
    }
    x.loaded = true;
}

void ALLMAP(std::int32_t kind, const float* place, std::int32_t dist)
{
    GEOAAIN();
    AreaLists& s = lists();
    areaList(kAllotments, s.allotmentIndex, s.allotments, kind, place, dist);
}

void LCLMAP(std::int32_t kind, const float* place, std::int32_t dist)
{
    AreaLists& s = lists();
    if (!s.localIndex.loaded) {
        loadLocalIndex();
        const LocalAreaIndex& l = libraryState().localIndex;
        AreaIndex& x = s.localIndex;
        x.areaId = l.lineIds;
        std::transform(l.lineWindows.begin(), l.lineWindows.end(), std::back_inserter(x.areaWindow), toWindow);
        x.tableAreaId = l.areaLines;
        x.tableSymbol = l.areaIds;
        x.tableMarker = l.areaAttributes;
        x.loaded = true;
    }
    areaList(kLocal, s.localIndex, s.local, kind, place, dist);
}

void CNDMAP(std::int32_t kind, const float* place, std::int32_t dist)
{
    GEOCNDR();
    AreaLists& s = lists();
    areaList(kCoordination, s.coordinationIndex, s.coordination, kind, place, dist);
}

AreaLookup LCLUNP1(std::string_view areaId)
{
    const AreaList& l = lists().local;
    return findArea("LCLUNP1", areaId, l.tableSymbol, l.tableAreaId, l.areaId);
}

void GEO2AM(Point p1, std::int32_t count1, const float* points1, Point p2, std::int32_t count2,
            const float* points2)
{
    const std::int64_t n1 = std::max(count1, 0), n2 = std::max(count2, 0);
    const std::int64_t total = n1 + n2 + 2;
    if (total > kLineBufferPoints)
        fatalBlockLimit("GEO2AM", "MAXWRK", kLineBufferPoints, "GEOQ91");
    float* buffer = libraryState().map.lineBuffer.data();
    std::copy_n(points1, 2 * n1, buffer);
    std::copy_n(points2, 2 * n2, buffer + 2 * n1);
    setPoint(buffer, long(n1 + n2), p1);
    setPoint(buffer, long(n1 + n2 + 1), p2);
    float window[4];
    storeWindow(window, boundingWindow(buffer, std::int32_t(total)));
    GEOMAP(std::int32_t(MapKind::Window), window, 0);
}

}  // namespace geo
