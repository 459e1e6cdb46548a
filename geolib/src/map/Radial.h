#pragma once

#include "core/Constants.h"
#include "geometry/GreatCircle.h"
#include "geometry/Windows.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The radial search: a great-circle path from a point at an azimuth over a distance, crossed
// with the current map's border lines and with the outlines of an area store, cut into
// stretches whose test points tell what lies along each. Crossings are written into the
// caller's arrays (points as longitude, latitude pairs in radians; distances in km).
namespace geo {

inline constexpr std::string_view kAnyLand = "+++";  // GEOCTPT's code of any country in mode 1

// The area stores a radial can be crossed with.
enum class AreaStore { Allotments, Local, Coordination, Zones, Count };

// One outline of a store: its window and its points.
struct StoreOutline {
    Window window{};
    const float* points = nullptr;
    std::int32_t n = 0;
};

// The outlines a radial is crossed with, areas counted from 1 in map order.
struct OutlineSet {
    std::int32_t count = 0;
    std::function<StoreOutline(std::int32_t area)> outline;
};

/// The outlines of a store; empty while the shared area storage holds another list.
OutlineSet storeOutlines(AreaStore store);
/// The crossing marks of a store's areas ('+' met by the last radial, '-' not), from index 0.
std::vector<char>& crossingMarks(AreaStore store);
/// True when the store's area (from 1) was not met by the last radial crossed with it.
bool passedOver(AreaStore store, std::int32_t area);
/// True when the outline holds the point (GEOPIA).
bool outlineHolds(const StoreOutline& o, Point p);

// The result of a crossing pass.
struct RadialPass {
    std::int32_t count = 0;  // crossings appended
    bool far = true;         // the radial met no area of the pass
    std::int32_t err = 0;    // the overflow of the crossings beyond the room
};

/// GEORADX: builds the radial and crosses it with the current map's border lines (mode 1:
/// land/sea, borders between countries are not crossed); marks the map's areas. At most
/// `room` crossings are written to `points`.
RadialPass GEORADX(Point start, float distKm, float azimuthDeg, std::int32_t mode, float* points, std::int32_t room);
/// GEORADA: crosses the radial with the set's outlines (all, or area `only` from 1 alone; -1
/// none) and appends the crossings at `points`, marking the areas tried.
RadialPass GEORADA(const OutlineSet& set, std::vector<char>& marks, std::int32_t only, float* points,
                   std::int32_t room);
/// GEORADA over a store and its own marks.
RadialPass GEORADA(AreaStore store, std::int32_t only, float* points, std::int32_t room);
/// GEORADE: the end point of the last radial.
Point GEORADE();
/// GEORADS: distances of points 1..n from the radial's start into `distancesKm`, sorted
/// ascending with their points, crossings 0.04 km or less apart taken as one; returns the count kept.
std::int32_t GEORADS(float* points, float* distancesKm, std::int32_t n);
/// GEORADT: the test point of stretch k (1..n, called in order) of the sorted stretches.
Point GEORADT(std::int32_t k, const float* points, const float* distancesKm, std::int32_t n);
/// GEOCTPT: the country code at a stretch's test point: blanks north of 84 degrees, "ATA"
/// south of -78.5 degrees; mode 1 gives "+++" for any country.
std::string GEOCTPT(Point p, std::int32_t mode);

// The caller's arrays of a radial search, stretch i at index i - 1.
struct Stretches {
    float* points = nullptr;
    float* distancesKm = nullptr;
    std::int32_t capacity = 0;
    std::int32_t count = 0;
    std::int32_t err = 0;
};

// How a search frame ended.
struct RadialFrame {
    bool ready = false;        // the stretches wait for their test points
    bool farFromMap = true;    // the radial met no country of the current map
    bool farFromAreas = true;  // nor any area of the areas' pass (true when it did not run)
};

/// The common frame of the searches: GEORADX (mode), then `areas` (when the radial is near a
/// country, or always), the end point, and GEORADS. Not ready after an error (s.err), or when
/// the radial met no country and no area: one stretch of length distKm then.
RadialFrame radialStretches(Point start, float distKm, float azimuthDeg, std::int32_t mode, bool areasAlways,
                            const std::function<RadialPass(float* points, std::int32_t room)>& areas, Stretches& s);

/// A radial from a point as GEOAZL gives it: its points, their distances from the start, its
/// window and whether it stays clear of the 180-degree meridian.
struct Ray {
    std::array<float, 2 * kRayCapacity> points{};
    std::array<float, kRayCapacity> distances{};
    std::int32_t n = 0;
    Window window{};
    bool normal = true;

    void build(Point start, float lengthKm, float azimuthDeg);
};

/// True when a point of the ray lies in the window or the ray crosses the window's outline.
bool rayMeetsWindow(const Ray& ray, const Window& w, bool plain);
/// The part of the ray near a window (points from 1): from the point before the first point in
/// it to the point after the last; the whole ray when none lies in it.
std::pair<std::int32_t, std::int32_t> rayPartNear(const Ray& ray, const Window& w);

// Static work data of the radial search, shared by every search.
inline constexpr int kStretchMemory = 106;

struct RadialState {
    Ray ray;
    Point start{0, 0};
    std::int32_t stretch = 0;  // the stretch whose test point was taken last
    std::int32_t vertex = 1;
    std::int32_t crossing = 0;
    std::array<char, kMaxOutlines> searchMarks{};  // of the current map's outlines
    std::array<std::vector<char>, std::size_t(AreaStore::Count)> crossingMarks;
    std::array<std::int16_t, kStretchMemory> stretchArea;  // outline found per stretch number

    RadialState() { stretchArea.fill(1); }
};

}  // namespace geo
