#include "Propagation.h"

#include "core/FixedText.h"
#include "state/LibraryState.h"
#include "geometry/GreatCircle.h"
#include "map/LandSea.h"
#include "map/MapOptions.h"
#include "map/MapRecords.h"
#include "geometry/PointInPolygon.h"
#include "map/SymbolAtPoint.h"
#include "zones/FixedZones.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace geo {
namespace {

constexpr std::int32_t kEven = -1000;      // any even class
constexpr std::int32_t kOtherOdd = -1001;  // any odd class that no earlier label holds

// A label and the classes it holds; a single class is given twice.
struct Label {
    std::string_view code;
    std::array<std::int32_t, 2> classes;
};

bool holds(const Label& label, std::int32_t cls)
{
    return std::any_of(label.classes.begin(), label.classes.end(), [&](std::int32_t c) {
        if (c == kEven)
            return cls % 2 == 0;
        if (c == kOtherOdd)
            return cls % 2 != 0;
        return c == cls;
    });
}

// The labels of a kind in the path split's output order, with the classes each adds up.
constexpr Label kPathKind5[] = {{"L ", {kEven, kEven}}, {"CS", {15, 15}}, {"WS", {25, 25}}};
constexpr Label kPathKind6[] = {{"L ", {10, 20}}, {"CS", {15, 15}}, {"WS", {25, 25}}, {"SP", {35, 35}}};
constexpr Label kPathKind7[] = {{"1 ", {10, 15}}, {"2 ", {20, 25}}, {"3 ", {30, 35}}, {"4 ", {40, 45}},
                                {"A ", {50, 55}}, {"B ", {60, 65}}, {"C ", {70, 75}}, {"C1", {80, 85}}};
constexpr Label kPathOther[] = {{"1 ", {10, 10}}, {"2 ", {20, 25}}, {"3 ", {30, 35}},
                                {"4 ", {40, 45}}, {"5 ", {15, 15}}, {"A ", {50, 55}},
                                {"B ", {60, 65}}, {"C ", {70, 75}}, {"D ", {80, 85}}};

// The code at a point of each kind's class, the first label holding it.
constexpr Label kCodeKind5[] = {{"L ", {kEven, kEven}}, {"CS", {15, 15}}, {"WS", {25, 25}}};
constexpr Label kCodeKind6[] = {{"L ", {kEven, kEven}}, {"CS", {15, 15}}, {"WS", {25, 25}}, {"SP", {35, 35}}};
constexpr Label kCodeKind7[] = {{"1 ", {10, 10}}, {"2 ", {20, 20}}, {"3 ", {30, 30}}, {"4 ", {40, 45}},
                                {"A ", {50, 55}}, {"B ", {60, 65}}, {"C ", {70, 75}}, {"C1", {80, 85}},
                                {"4 ", {kOtherOdd, kOtherOdd}}};
constexpr Label kCodeKind8[] = {{"1 ", {10, 10}}, {"5 ", {15, 15}}, {"2 ", {20, 25}}, {"3 ", {30, 35}},
                                {"4 ", {40, 45}}, {"A ", {50, 55}}, {"B ", {60, 65}}, {"C ", {70, 75}},
                                {"D ", {80, 85}}};

std::span<const Label> pathLabels(std::int16_t kind)
{
    switch (kind) {
    case 5: return kPathKind5;
    case 6: return kPathKind6;
    case 7: return kPathKind7;
    default: return kPathOther;
    }
}

std::span<const Label> codeLabels(std::int16_t kind)
{
    switch (kind) {
    case 5: return kCodeKind5;
    case 6: return kCodeKind6;
    case 7: return kCodeKind7;
    case 8: return kCodeKind8;
    default: return {};
    }
}

const ZoneList& zoneList()
{
    return libraryState().zones.list;
}

// Zones other than kind 6 are looked up only from 50 degrees west to 170 degrees east.
constexpr float kZonesWest = -0.8726647f;
constexpr float kZonesEast = 2.96706f;
// Kind 6 skips the zones in region 2 and in region 3 east of 80 degrees.
constexpr std::int16_t kRegionalKind = 6;
constexpr float kRegionThreeEast = 1.3962636f;
constexpr float kLandValue = 1.0f, kSeaValue = 1.5f;

float regionalValue(Point p, const std::string& country)
{
    const ZoneList& z = zoneList();
    const bool inCountry = !isBlank(country);
    const std::int32_t region = GEORGN(p);
    float value = kNoZoneValue;
    bool held = false;
    if (region != 2 && !(region == 3 && p.lon > kRegionThreeEast)) {
        for (std::size_t k = 0; k < std::size_t(z.zoneCount); ++k) {
            if (zoneHolds(z, k, p)) {
                value = z.zoneValues[k][inCountry ? 0 : 1];  // the last zone holding it wins
                held = true;
            }
        }
    }
    if (country == "AFG" || country == "IRN" || (region == 1 && !held))
        value = inCountry ? kLandValue : kSeaValue;
    return value;
}

float valueAt(Point p)
{
    const ZoneList& z = zoneList();
    const std::string country = GEOPLC2(p);
    if (z.zoneKind == kRegionalKind)
        return regionalValue(p, country);
    if (p.lon < kZonesWest || p.lon > kZonesEast)
        return kNoZoneValue;
    for (std::size_t k = 0; k < std::size_t(z.zoneCount); ++k) {
        if (zoneHolds(z, k, p))
            return z.zoneValues[k][isBlank(country) ? 1 : 0];
    }
    return kNoZoneValue;
}

// The walk's stretches over all sub-paths: their lengths and zone values. The lists grow as
// the stretches come, so no path is too long for them.
class PathWalk {
public:
    void add(Point a, float distKm, float azimuthDeg)
    {
        std::int32_t room = kWalkRoom;
        for (;;) {
            m_points.resize(2 * std::size_t(room));
            m_ends.resize(std::size_t(room));
            m_values.resize(std::size_t(room));
            const RadialWalk w = GEOPRZC(a, distKm, azimuthDeg, room, m_points.data(), m_ends.data(), m_values.data());
            if (w.err == 0) {
                for (std::size_t k = 0; k < std::size_t(w.n); ++k)
                    m_stretches.push_back({m_ends[k] - (k == 0 ? 0.0f : m_ends[k - 1]), m_values[k]});
                return;
            }
            room *= 2;  // the crossings outgrew the room: walk the sub-path again with more
        }
    }

    struct Stretch {
        float lengthKm;
        float value;
    };
    const std::vector<Stretch>& stretches() const { return m_stretches; }

private:
    static constexpr std::int32_t kWalkRoom = 100;
    std::vector<float> m_points, m_ends, m_values;
    std::vector<Stretch> m_stretches;
};

// The zone list for the window of the sub-path's ends.
void zoneListFor(Point a, Point b)
{
    float w[4];
    const float ends[4] = {a.lon, a.lat, b.lon, b.lat};
    storeWindow(w, boundingWindow(ends, 2));
    GEOPRM(std::int32_t(MapKind::Window), w, 0);
}

// Builds the zone list around the sub-path from a towards b, halving the sub-path while the
// map or the list overflows. A sub-path of 1 km or less is built with overflows reported, so
// one that still overflows ends the process with the overflow's report. Returns the end of the
// sub-path.
Point zoneListAlong(Point a, Point b, DistanceAzimuth& da)
{
    constexpr float kShortestHalvedKm = 1.0f;
    constexpr std::int32_t kQuietOverflow = std::int32_t(Option::QuietOverflow);
    for (;;) {
        da = distanceAzimuth(a, b);
        if (da.distanceKm <= kShortestHalvedKm) {
            std::int32_t quiet = 0, loud = 0;
            GEOSET(-kQuietOverflow, quiet);
            GEOSET(kQuietOverflow, loud);
            zoneListFor(a, b);
            GEOSET(kQuietOverflow, quiet);
            return b;
        }
        zoneListFor(a, b);
        std::int32_t pending = 0;
        GEOVA1(4, pending);
        if (pending == 0)
            return b;
        b = destination(a, da.distanceKm * 0.5f, da.azimuthDeg);
    }
}

}  // namespace

std::int32_t zoneClass(float value)
{
    const double product = std::trunc(double(float(double(value) * 10.0)));
    return std::isnan(product) ? 0 : std::int32_t(std::clamp(product, -2147483648.0, 2147483647.0));
}

std::string classCode(std::int16_t kind, std::int32_t cls)
{
    for (const Label& label : codeLabels(kind)) {
        if (holds(label, cls))
            return std::string(label.code);
    }
    return "  ";
}

void GEOPRM(std::int32_t kind, const float* place, std::int32_t dist)
{
    if (!zoneKindSelected())
        (void)GEOPRMS(0);
    buildZoneList("GEOPRM", kind, place, dist);
}

std::string GEOPRP2(Point p)
{
    const float value = valueAt(p);
    return value == kNoZoneValue ? "  " : classCode(zoneList().zoneKind, zoneClass(value));
}

std::string GEOPRP(Point p)
{
    const float place[2] = {p.lon, p.lat};
    GEOPRM(std::int32_t(MapKind::Circle), place, 0);
    return GEOPRP2(p);
}

PathSplit GEOPRCP(Point p1, Point p2)
{
    PathSplit r;
    if (isBlank(GEOPRP(p1))) {
        r.flag = 1;
        return r;
    }
    if (isBlank(GEOPRP(p2))) {
        r.flag = 2;
        return r;
    }
    r.distKm = distanceAzimuth(p1, p2).distanceKm;
    if (r.distKm == 0)
        return r;
    PathWalk walk;
    Point a = p1;
    for (;;) {
        DistanceAzimuth da{};
        const Point b = zoneListAlong(a, p2, da);
        walk.add(a, da.distanceKm, da.azimuthDeg);
        a = b;
        if (b.lon == p2.lon && b.lat == p2.lat)
            break;
    }
    if (walk.stretches().empty())
        return r;
    const std::span<const Label> labels = pathLabels(zoneList().zoneKind);
    r.labelCount = std::int32_t(labels.size());
    for (std::size_t i = 0; i < labels.size(); ++i)
        r.labels[i] = std::string(labels[i].code);
    for (const PathWalk::Stretch& s : walk.stretches()) {
        const std::int32_t cls = zoneClass(s.value);
        const auto slot = std::find_if(labels.begin(), labels.end(), [&](const Label& l) { return holds(l, cls); });
        if (slot != labels.end())
            r.lengthsKm[std::size_t(slot - labels.begin())] += s.lengthKm;
    }
    for (std::size_t i = 0; i < kPathLabels; ++i)
        r.fractions[i] = r.lengthsKm[i] / r.distKm;
    return r;
}

}  // namespace geo
