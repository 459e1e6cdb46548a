#include "tavu32d.h"

#include "PropagationFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

using prop_fixtures::deg;
using prop_fixtures::RadialMap;

namespace {

constexpr double kCrossingKmTol = 0.2;
constexpr int kRoom = 20;

// The radial of the tests: from 7 E, 41 N due east for 650 km, over the coordination area (8 to
// 11 E), AAA (10 to 12 E) and BBB (12 to 14 E).
const mapfiles::Point kStart = deg(7, 41);
constexpr float kEast = 90, kLengthKm = 650;

template <typename V>
struct Walk {
    std::int32_t n = -1, err = -1;
    std::array<float, 2 * kRoom> points{};
    std::array<float, kRoom> dists{};
    std::array<V, kRoom> values{};

    std::string describe() const
    {
        std::ostringstream out;
        out << "n " << n << " err " << err << ":";
        for (int i = 0; err == 0 && i < n; ++i)  // values are set only on success
            out << " " << values[std::size_t(i)];
        return out.str();
    }
};

Walk<std::int32_t> coordinationWalk(mapfiles::Point start, float dist, float az, std::int32_t room = kRoom)
{
    Walk<std::int32_t> w;
    float lon = start.lon, lat = start.lat;
    GEOCAC3(&lon, &lat, &dist, &az, &room, w.points.data(), w.dists.data(), w.values.data(), &w.n, &w.err);
    return w;
}

void coordinationMap()
{
    prop_fixtures::request(CNDMAP, 5, 38, 16, 44);
}

}  // namespace

TEST(LandSea, CoordinationValuesChangeWhereTheRadialCrossesTheAreaAndTheCoastsInBothForms)
{
    const auto r = RadialMap().run([] {
        coordinationMap();
        const auto w = coordinationWalk(kStart, kLengthKm, kEast);
        std::ostringstream out;
        out << w.describe();
        // The area's west edge, the coast of AAA, the area's east edge and the coast of BBB.
        const double edges[] = {8, 10, 11, 14};
        for (int i = 0; i < 4 && i < w.n; ++i) {
            const double want = prop_fixtures::referenceKmToLongitude(7, 41, kEast, edges[i]);
            if (std::fabs(w.dists[std::size_t(i)] - want) > kCrossingKmTol)
                out << " | stretch " << i + 1 << " ends at " << w.dists[std::size_t(i)] << " km, not " << want;
        }
        if (w.n > 0 && w.dists[std::size_t(w.n - 1)] != kLengthKm)
            out << " | the last stretch ends at " << w.dists[std::size_t(w.n - 1)];
        // The whole-kilometre form: the same walk, its distances rounded in place.
        Walk<std::int32_t> whole;
        float lon = kStart.lon, lat = kStart.lat;
        std::int32_t dist = std::int32_t(kLengthKm), az = std::int32_t(kEast), room = kRoom;
        std::array<std::int32_t, kRoom> km{};
        GEOCAC2(&lon, &lat, &dist, &az, &room, whole.points.data(), km.data(), whole.values.data(), &whole.n,
                &whole.err);
        if (whole.describe() != w.describe())
            out << " | whole km: " << whole.describe();
        for (int i = 0; i < w.n; ++i) {
            if (km[std::size_t(i)] != std::lround(w.dists[std::size_t(i)]))
                out << " | " << km[std::size_t(i)] << " km for " << w.dists[std::size_t(i)];
        }
        return out.str();
    });
    // Sea default, the area's sea and land values, the land default over AAA and BBB merged, sea.
    EXPECT_EQ(r.output, "n 5 err 0: 50000 2000 1000 0 50000");
}

TEST(LandSea, LandOrSeaEdgeCases)
{
    struct Row {
        const char* what;
        mapfiles::Line landZone;
        mapfiles::Point start;
        float dist, az;
        std::int32_t room;
        std::string want;
    };
    const Row rows[] = {
        {"a fixed land zone is land where no country is", prop_fixtures::box(7350301, 5, 40, 7.95, 42), kStart,
         kLengthKm,
         kEast, kRoom, "n 5 err 0: 0 2000 1000 0 50000"},
        {"far from every country and area: one stretch at sea", RadialMap().landZone, deg(60, 0), 300, 45, kRoom,
         "n 1 err 0: 50000"},
        {"two crossings (the area, the coast) leave no room for the end point", RadialMap().landZone, kStart, 260,
         kEast, 2, "n 2 err 1:"},
    };
    for (const Row& row : rows) {
        RadialMap m;
        m.landZone = row.landZone;
        const auto r = m.run([&] {
            coordinationMap();
            const auto w = coordinationWalk(row.start, row.dist, row.az, row.room);
            std::string s = w.describe();
            if (w.n == 1 && w.dists[0] != row.dist)
                s += " ends at " + std::to_string(w.dists[0]);
            return s;
        });
        EXPECT_EQ(r.output, row.want) << row.what;
    }
}

TEST(LandSea, ZoneListFormsAllGiveTheSameWalk)
{
    // Kind 1: a zone on the coordination area's outline, 1.0 on land and 1.5 at sea; defaults
    // 2.0 and 2.5.
    RadialMap m;
    m.zone(1, {prop_fixtures::box(101, 8, 40.5, 11, 41.5, 31), {1.0f, 1.5f}});
    m.defaults[0] = {2.0f, 2.5f};
    const auto r = m.run([] {
        prop_fixtures::request(GEOGCM, 5, 38, 16, 44);
        using Form = void (*)(float*, float*, float*, float*, int32_t*, float*, float*, float*, int32_t*, int32_t*);
        std::ostringstream out;
        std::array<Walk<float>, 3> walks;
        const Form forms[] = {GEOCOC3, GEOCOC4, GEOGCC3};
        for (std::size_t f = 0; f < walks.size(); ++f) {
            float lon = kStart.lon, lat = kStart.lat, dist = kLengthKm, az = kEast;
            std::int32_t room = kRoom;
            Walk<float>& w = walks[f];
            forms[f](&lon, &lat, &dist, &az, &room, w.points.data(), w.dists.data(), w.values.data(), &w.n, &w.err);
            const bool same = w.points == walks[0].points && w.dists == walks[0].dists;
            if (f > 0 && (!same || w.describe() != walks[0].describe()))
                out << "form " << f + 1 << " differs | ";
        }
        out << walks[0].describe();
        return out.str();
    });
    EXPECT_EQ(r.output, "n 5 err 0: 2.5 1.5 1 2 2.5");
}

TEST(LandSea, AnOverflowKeepsTheCrossingsFoundBeforeIt)
{
    // Room for the two coasts the radial crosses, none for the two crossings with the area.
    constexpr std::int32_t kTight = 2;
    RadialMap m;
    m.zone(1, {prop_fixtures::box(101, 8, 40.5, 11, 41.5, 31), {1.0f, 1.5f}});
    using Form = std::function<void(float*, float*, std::int32_t*, std::int32_t*)>;
    const std::pair<const char*, Form> forms[] = {
        {"GEOCAC3", [](float* pts, float* dists, std::int32_t* n, std::int32_t* err) {
             float lon = kStart.lon, lat = kStart.lat, dist = kLengthKm, az = kEast;
             std::int32_t room = kTight, values[kTight];
             GEOCAC3(&lon, &lat, &dist, &az, &room, pts, dists, values, n, err);
         }},
        {"GEOCAC2", [](float* pts, float*, std::int32_t* n, std::int32_t* err) {
             float lon = kStart.lon, lat = kStart.lat;
             std::int32_t dist = std::int32_t(kLengthKm), az = std::int32_t(kEast), room = kTight, km[kTight], values[kTight];
             GEOCAC2(&lon, &lat, &dist, &az, &room, pts, km, values, n, err);
         }},
        {"GEOCOC3", [](float* pts, float* dists, std::int32_t* n, std::int32_t* err) {
             float lon = kStart.lon, lat = kStart.lat, dist = kLengthKm, az = kEast, values[kTight];
             std::int32_t room = kTight;
             GEOCOC3(&lon, &lat, &dist, &az, &room, pts, dists, values, n, err);
         }},
        {"GEOCOC4", [](float* pts, float* dists, std::int32_t* n, std::int32_t* err) {
             float lon = kStart.lon, lat = kStart.lat, dist = kLengthKm, az = kEast, values[kTight];
             std::int32_t room = kTight;
             GEOCOC4(&lon, &lat, &dist, &az, &room, pts, dists, values, n, err);
         }},
        {"GEOGCC3", [](float* pts, float* dists, std::int32_t* n, std::int32_t* err) {
             float lon = kStart.lon, lat = kStart.lat, dist = kLengthKm, az = kEast, values[kTight];
             std::int32_t room = kTight;
             GEOGCC3(&lon, &lat, &dist, &az, &room, pts, dists, values, n, err);
         }},
    };
    for (const auto& [name, form] : forms) {
        const auto r = m.run([&, form = form] {
            coordinationMap();
            prop_fixtures::request(GEOGCM, 5, 38, 16, 44);
            std::array<float, 2 * kTight> pts{};
            std::array<float, kTight> dists{};
            std::int32_t n = -1, err = -1;
            form(pts.data(), dists.data(), &n, &err);
            std::ostringstream out;
            out << "n " << n << " err " << err << ":";
            for (int i = 0; i < n && i < kTight; ++i)
                out << " " << std::lround(pts[2 * std::size_t(i)] / map_fixtures::kRadPerDeg);
            return out.str();
        });
        EXPECT_EQ(r.output, "n 2 err 2: 10 14") << name;
    }
}
