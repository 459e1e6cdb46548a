#include "tavu32d.h"

#include "geolib/DistanceMap.h"
#include "support/MapFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace ref = geometry_reference;
namespace lref = line_reference;
using distance_map::deg;
using testing_support::fatalOutput;

namespace {

constexpr double kKmTol = 0.05, kRelTol = 0.004, kAzimuthTolDeg = 0.5, kOnLineKm = 0.05;

double tolerance(double km)
{
    return kKmTol + kRelTol * km;
}

std::string text(double v)
{
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

// What a child finds wrong, one line a finding.
struct Findings {
    std::string text;
    void check(bool ok, const std::string& what)
    {
        if (!ok)
            text += what + "\n";
    }
};

struct Place {
    float lon, lat;
};

std::string at(Place p)
{
    return "(" + text(p.lon / map_fixtures::kRadPerDeg) + ", " + text(p.lat / map_fixtures::kRadPerDeg) + ")";
}

// Points over the map and the sea around it, and a few on its lines.
std::vector<Place> places(int count, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> lon(-4, 29), lat(-4, 14);
    std::vector<Place> v{{deg(5, 5).lon, deg(5, 5).lat}, {deg(10, 5).lon, deg(10, 5).lat},
                         {deg(10, -3).lon, deg(10, -3).lat}, {deg(22, 5).lon, deg(22, 5).lat}};
    while (int(v.size()) < count) {
        const auto p = deg(lon(rng), lat(rng));
        v.push_back({p.lon, p.lat});
    }
    return v;
}

Place slot1()
{
    float pts[2] = {0, 0};
    int32_t one = 1;
    GEOVA2(&one, pts);
    return {pts[0], pts[1]};
}

double distanceToLines(const distance_map::CountryLines& c, Place q)
{
    double best = 1e9;
    for (const auto& line : c.lines)
        best = std::min(best, lref::nearestOnLine(q.lon, q.lat, line).distanceKm);
    return best;
}

// A distance against the reference, and the nearest point left in slot 1 on the lines at it.
void checkDistance(Findings& f, const std::string& what, Place p, float got, float azimuth, double want,
                   const distance_map::CountryLines& c)
{
    f.check(std::fabs(got - want) <= tolerance(want), what + " " + text(got) + " want " + text(want));
    if (want <= 0)
        return;
    const Place q = slot1();
    const ref::Inverse toQ = ref::inverse(p.lon, p.lat, q.lon, q.lat);
    f.check(std::fabs(toQ.distanceKm - got) <= tolerance(got) && distanceToLines(c, q) < kOnLineKm,
            what + " nearest point " + at(q));
    f.check(want <= 5 || ref::azimuthGap(azimuth, toQ.azimuthDeg) <= kAzimuthTolDeg, what + " azimuth");
}

void expectClean(const testing_support::ChildResult& r)
{
    EXPECT_TRUE(r.exited && r.status == 0) << r.status;
    EXPECT_EQ(r.output, "");
}

}  // namespace

TEST(CountryDistance, OneCountryAgreesWithTheReferenceFromTheMapAndTheIndex)
{
    const auto d = distance_map::distanceMap();
    const auto result = map_fixtures::onMap(d.map, [&] {
        Findings f;
        for (Place p : places(30, 3)) {
            for (const auto& [code, lines] : d.countries) {
                const double want = distance_map::countryDistance(lines, p.lon, p.lat).distanceKm;
                const std::string what = code + " from " + at(p);
                char country[3] = {code[0], code[1], code[2]};
                float maxDist = 5000, dist = -1, azimuth = -1;
                GEODC1(&p.lon, &p.lat, country, &maxDist, &dist, &azimuth);
                checkDistance(f, "GEODC1 " + what, p, dist, azimuth, want, lines);
                f.check(want > 0 || azimuth == 0, "GEODC1 azimuth inside " + what);
                // The index form takes the code in any case and leaves the caller's text alone.
                char lower[3] = {char(code[0] + 32), char(code[1] + 32), char(code[2] + 32)};
                GEODC9(&p.lon, &p.lat, lower, &maxDist, &dist, &azimuth);
                checkDistance(f, "GEODC9 " + what, p, dist, azimuth, want, lines);
                f.check(std::string(lower, 3) == std::string{char(code[0] + 32), char(code[1] + 32), char(code[2] + 32)},
                        "GEODC9 changed the code");
                int32_t whole = 5000, wholeDist = -1, wholeAzimuth = -1;
                GEODC(&p.lon, &p.lat, country, &whole, &wholeDist, &wholeAzimuth);
                GEODC1(&p.lon, &p.lat, country, &maxDist, &dist, &azimuth);
                f.check(wholeDist == std::lround(dist) && wholeAzimuth == std::lround(azimuth), "GEODC " + what);
                if (want > 20) {
                    float shortDist = float(want / 2);
                    GEODC1(&p.lon, &p.lat, country, &shortDist, &dist, &azimuth);
                    f.check(dist == 999999.0f && azimuth == 0, "GEODC1 beyond the maximum " + what);
                    GEODC9(&p.lon, &p.lat, country, &shortDist, &dist, &azimuth);
                    f.check(dist == 26000.0f && azimuth == 0, "GEODC9 beyond the maximum " + what);
                }
            }
        }
        return f.text;
    });
    expectClean(result);
}

namespace {

struct Listed {
    int32_t n = -1, dropped = -1;
    std::vector<float> dists, azimuths;
    std::string codes;
};

using ListRoutine = void(TAVU_CALL*)(float*, float*, float*, int16_t*, char*, int32_t*, int32_t*, float*, float*,
                                     char*, int32_t*);

Listed countryList(ListRoutine routine, Place p, float radius, std::string excluded, int32_t capacity)
{
    Listed l;
    l.dists.assign(400, -1);
    l.azimuths.assign(400, -1);
    std::string codes(3 * 400, '#');
    int16_t exclCount = int16_t(excluded.size() / 3);
    routine(&p.lon, &p.lat, &radius, &exclCount, excluded.data(), &capacity, &l.n, l.dists.data(), l.azimuths.data(),
            codes.data(), &l.dropped);
    l.codes = codes.substr(0, 3 * std::size_t(std::max(l.n, 0)));
    return l;
}

// The countries within the radius by the reference, nearest first; near ties either way round.
std::vector<std::pair<double, std::string>> within(const distance_map::DistanceMap& d, Place p, double radius,
                                                   const std::string& excluded)
{
    std::vector<std::pair<double, std::string>> v;
    for (const auto& [code, lines] : d.countries) {
        const double want = distance_map::countryDistance(lines, p.lon, p.lat).distanceKm;
        if (want <= radius && excluded.find(code) == std::string::npos)
            v.push_back({want, code});
    }
    std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return v;
}

// Each line of a country that finds no room counts as dropped: the index form may count a
// country more than once.
void checkList(Findings& f, const std::string& what, const distance_map::DistanceMap& d, Place p, const Listed& got,
               const std::vector<std::pair<double, std::string>>& want, int32_t capacity, bool byLines)
{
    const int32_t kept = std::min<int32_t>(int32_t(want.size()), capacity), left = int32_t(want.size()) - kept;
    f.check(got.n == kept && (got.dropped == left || (byLines && got.dropped > left)),
            what + " n " + text(got.n) + " dropped " + text(got.dropped) + " want " + text(double(want.size())));
    std::vector<float> slots(2 * std::size_t(std::max(got.n, 0)) + 2);
    int32_t n = got.n;
    GEOVA2(&n, slots.data());
    for (int32_t i = 0; i < std::min(got.n, kept); ++i) {
        const std::string code = got.codes.substr(3 * std::size_t(i), 3);
        const double ref = distance_map::countryDistance(d.countries.at(code), p.lon, p.lat).distanceKm;
        // The i-th nearest by the reference, or as near as it (a tie either way round).
        f.check(code == want[std::size_t(i)].second || std::fabs(ref - want[std::size_t(i)].first) < 1,
                what + " entry " + text(i) + " " + code);
        f.check(std::fabs(got.dists[std::size_t(i)] - ref) <= tolerance(ref), what + " distance of " + code);
        f.check(i == 0 || got.dists[std::size_t(i)] >= got.dists[std::size_t(i - 1)], what + " order");
        const Place q{slots[2 * std::size_t(i)], slots[2 * std::size_t(i) + 1]};
        f.check(ref == 0 ? q.lon == p.lon && q.lat == p.lat
                         : distanceToLines(d.countries.at(code), q) < kOnLineKm,
                what + " nearest point of " + code);
    }
}

}  // namespace

TEST(CountryDistance, TheCountriesWithinARadiusAreListedNearestFirst)
{
    const auto d = distance_map::distanceMap();
    const auto result = map_fixtures::onMap(d.map, [&] {
        Findings f;
        for (Place p : places(16, 8)) {
            for (const auto& [routine, name] : {std::pair{&GEODCM1, "GEODCM1"}, {&GEODCM9, "GEODCM9"}}) {
                const std::string what = std::string(name) + " from " + at(p);
                for (const std::string& excluded : {std::string(), std::string("BBB"), std::string("AAACCC")}) {
                    const auto want = within(d, p, 1500, excluded);
                    checkList(f, what + " without " + excluded, d, p, countryList(routine, p, 1500, excluded, 5), want, 5,
                              routine == &GEODCM9);
                }
                const auto all = within(d, p, 1500, "");
                checkList(f, what + " capacity 1", d, p, countryList(routine, p, 1500, "", 1), all, 1, routine == &GEODCM9);
                const Listed none = countryList(routine, p, 1500, "", 0);
                f.check(none.n == 0 && none.dropped == 999, what + " capacity 0");
            }
            // The whole-number form rounds the real one, with room for 350.
            const Listed real = countryList(GEODCM1, p, 1500, "", 350);
            int32_t radius = 1500, capacity = 350, n = 0, dropped = 0;
            int16_t exclCount = 0;
            std::vector<int32_t> dists(350), azimuths(350);
            std::string codes(3 * 350, ' ');
            char none[3] = {' ', ' ', ' '};
            GEODCM(&p.lon, &p.lat, &radius, &exclCount, none, &capacity, &n, dists.data(), azimuths.data(), codes.data(),
                   &dropped);
            bool same = n == real.n && dropped == real.dropped && codes.substr(0, real.codes.size()) == real.codes;
            for (int32_t i = 0; i < n && same; ++i)
                same = dists[std::size_t(i)] == std::lround(real.dists[std::size_t(i)]) &&
                       azimuths[std::size_t(i)] == std::lround(real.azimuths[std::size_t(i)]);
            f.check(same, "GEODCM from " + at(p));
        }
        // Equally far from BBB and the island: the map's order holds.
        const Listed tie = countryList(GEODCM1, {deg(22, 5).lon, deg(22, 5).lat}, 1500, "AAA", 5);
        f.check(tie.codes == "BBBCCC" && tie.dists[0] == tie.dists[1], "a tie " + tie.codes);
        return f.text;
    });
    expectClean(result);
}

namespace {

struct Other {
    float lon = -7, lat = -7, dist = -1, azimuth = -1;
    std::string country;
};

Other otherCountry(Place p, float maxDist, std::string excluded)
{
    Other o;
    char country[3] = {'#', '#', '#'};
    int16_t exclCount = int16_t(excluded.size() / 3);
    GEODCC1(&p.lon, &p.lat, &maxDist, &exclCount, excluded.data(), &o.lon, &o.lat, &o.dist, &o.azimuth, country);
    o.country = std::string(country, 3);
    return o;
}

Place placeAt(double lonDeg, double latDeg)
{
    const auto p = deg(lonDeg, latDeg);
    return {p.lon, p.lat};
}

}  // namespace

TEST(CountryDistance, TheNearestOtherCountryComesFromTheMapOrTheIndex)
{
    const auto d = distance_map::distanceMap();
    const auto result = map_fixtures::onMap(d.map, [&] {
        Findings f;
        const Place nearBorder = placeAt(9.5, 5);
        const double toB = distance_map::countryDistance(d.countries.at("BBB"), nearBorder.lon, nearBorder.lat).distanceKm;
        const auto expectOther = [&](const std::string& what, const Other& o, const std::string& code, double want) {
            f.check(o.country == code && std::fabs(o.dist - want) <= tolerance(want),
                    what + " " + o.country + " " + text(o.dist) + " want " + text(want));
            const ref::Inverse toQ = ref::inverse(nearBorder.lon, nearBorder.lat, o.lon, o.lat);
            f.check(std::fabs(toQ.distanceKm - o.dist) <= tolerance(o.dist) &&
                        ref::azimuthGap(toQ.azimuthDeg, o.azimuth) <= kAzimuthTolDeg &&
                        distanceToLines(d.countries.at(code), {o.lon, o.lat}) < kOnLineKm,
                    what + " nearest point");
        };
        // More than 10 km inside the map: from the map's list.
        expectOther("from the map", otherCountry(nearBorder, 3000, ""), "BBB", toB);
        // A maximum below the nearest other country: not found, though the map reaches it.
        const Other tooFar = otherCountry(nearBorder, 30, "");
        f.check(tooFar.dist == 30 && tooFar.country == "   " && tooFar.azimuth == 0 && tooFar.lon == -7,
                "within the map beyond the maximum " + tooFar.country + " " + text(tooFar.dist));
        // Excluding BBB leaves only AAA on the map: the index walk finds the island.
        const double toC = distance_map::countryDistance(d.countries.at("CCC"), nearBorder.lon, nearBorder.lat).distanceKm;
        expectOther("from the index without BBB", otherCountry(nearBorder, 5000, "BBB"), "CCC", toC);
        // Near the edge of a map held from before: from the index.
        double lon = 0, lat = 0;
        ref::direct(nearBorder.lon, nearBorder.lat, 270, 94, lon, lat);
        float centre[2] = {float(lon), float(lat)};
        int32_t kind = 1, radius = 95;
        GEOMAP(&kind, centre, &radius);
        expectOther("from the index at the map's edge", otherCountry(nearBorder, 3000, ""), "BBB", toB);
        // Nothing within the maximum from the index: the maximum, blanks and azimuth 0.
        const Other none = otherCountry(placeAt(3, 5), 300, "");
        f.check(none.dist == 300 && none.country == "   " && none.azimuth == 0, "none from the index " + none.country);
        // The whole-number form rounds.
        int32_t maxDist = 3000, dist = 0, azimuth = 0;
        int16_t exclCount = 0;
        char country[3] = {'#', '#', '#'};
        float nearLon = 0, nearLat = 0;
        Place p = nearBorder;
        GEODCC(&p.lon, &p.lat, &maxDist, &exclCount, country, &nearLon, &nearLat, &dist, &azimuth, country);
        const Other real = otherCountry(nearBorder, 3000, "");
        f.check(dist == std::lround(real.dist) && azimuth == std::lround(real.azimuth) &&
                    std::string(country, 3) == "BBB",
                "GEODCC");
        return f.text;
    });
    expectClean(result);
}

TEST(CountryDistance, TheNearestCoastAgreesWithTheReference)
{
    const auto d = distance_map::distanceMap();
    distance_map::CountryLines coasts;
    for (const auto& [code, lines] : d.countries)
        for (std::size_t i = 0; i < lines.lines.size(); ++i)
            if (lines.coast[i])
                coasts.lines.push_back(lines.lines[i]);
    const auto result = map_fixtures::onMap(d.map, [&] {
        Findings f;
        for (Place p : places(30, 21)) {
            std::string here = "   ";
            for (const auto& [code, lines] : d.countries)
                if (polygon_reference::evenOddInside(p.lon, p.lat, lines.ring))
                    here = code;
            const double want = distanceToLines(coasts, p);
            const std::string what = "from " + at(p);
            char country[3] = {'#', '#', '#'};
            float maxDist = 3000, dist = -1, azimuth = -1;
            GEODW1(&p.lon, &p.lat, &maxDist, country, &dist, &azimuth);
            // A point on the border has either country.
            const bool onBorder = std::fabs(p.lon - deg(10, 0).lon) < 1e-5 && p.lat > 0;
            f.check(std::string(country, 3) == here || onBorder, "GEODW1 country " + what + " " + std::string(country, 3));
            checkDistance(f, "GEODW1 " + what, p, dist, azimuth, want, coasts);
            int32_t whole = 3000, wholeDist = 0, wholeAzimuth = 0;
            GEODW(&p.lon, &p.lat, &whole, country, &wholeDist, &wholeAzimuth);
            f.check(wholeDist == std::lround(dist) && wholeAzimuth == std::lround(azimuth), "GEODW " + what);
            if (want > 20) {
                float shortDist = float(want / 2);
                GEODW1(&p.lon, &p.lat, &shortDist, country, &dist, &azimuth);
                f.check(dist == 999999.0f && azimuth == 0, "GEODW1 beyond the maximum " + what);
            }
        }
        return f.text;
    });
    expectClean(result);
}

namespace {

bool onLand(const distance_map::DistanceMap& d, double lon, double lat)
{
    for (const auto& [code, lines] : d.countries)
        if (polygon_reference::evenOddInside(lon, lat, lines.ring))
            return true;
    return false;
}

// The distance along the great circle to the first change between land and sea, by steps of
// 1 km and then halving; 999999 when none comes within the maximum.
double firstCoastAlong(const distance_map::DistanceMap& d, Place p, double azimuthDeg, double maxKm)
{
    const auto landAt = [&](double km) {
        double lon = 0, lat = 0;
        ref::direct(p.lon, p.lat, azimuthDeg, km, lon, lat);
        return onLand(d, lon, lat);
    };
    const bool start = landAt(0);
    for (double km = 1; km <= maxKm + 1; km += 1) {
        if (landAt(km) == start)
            continue;
        double lo = km - 1, hi = km;
        for (int i = 0; i < 30; ++i)
            (landAt((lo + hi) / 2) == start ? lo : hi) = (lo + hi) / 2;
        return lo <= maxKm ? lo : 999999.0;
    }
    return 999999.0;
}

}  // namespace

TEST(CountryDistance, AlongAnAzimuthTheFirstCoastCrossedIsFound)
{
    const auto d = distance_map::distanceMap();
    const auto result = map_fixtures::onMap(d.map, [&] {
        Findings f;
        struct Ray {
            double lon, lat, azimuth;
        };
        const Ray rays[] = {{5, 5, 0},      {5, 5, 90},   {5, 5, 135},  {5, 5, 250},  {9.5, 5, 90}, {15, 5, 45},
                            {22, 5, 90},    {22, 5, 270}, {-2, 5, 90},  {-2, 5, 270}, {25, 8, 180}, {12, -3, 20},
                            {30, 5, 270.5}, {25, 5, 0},   {17, 12, 200}};
        for (const Ray& r : rays) {
            Place p = placeAt(r.lon, r.lat);
            const double want = firstCoastAlong(d, p, r.azimuth, 2000);
            const std::string what = "from " + at(p) + " at " + text(r.azimuth);
            float azimuth = float(r.azimuth), maxDist = 2000, dist = -1;
            int32_t wantCountry = 1;
            char country[3] = {'#', '#', '#'};
            GEODWA1(&p.lon, &p.lat, &azimuth, &maxDist, &wantCountry, country, &dist);
            f.check(want > 999998 ? dist == 999999.0f : std::fabs(dist - want) <= 0.2,
                    "GEODWA1 " + what + " " + text(dist) + " want " + text(want));
            const std::string here = onLand(d, p.lon, p.lat) ? "" : "   ";
            f.check(here.empty() ? std::string(country, 3) != "   " : std::string(country, 3) == here,
                    "GEODWA1 country " + what);
            if (std::fmod(r.azimuth, 1.0) == 0) {
                int32_t wholeAzimuth = int32_t(r.azimuth), wholeMax = 2000, whole = 0, noCountry = 0;
                char untouched[3] = {'#', '#', '#'};
                GEODWA2(&p.lon, &p.lat, &wholeAzimuth, &wholeMax, &noCountry, untouched, &whole);
                f.check(whole == std::lround(dist) && std::string(untouched, 3) == "###", "GEODWA2 after " + what);
                GEODWA(&p.lon, &p.lat, &wholeAzimuth, &wholeMax, &noCountry, untouched, &whole);
                f.check(whole == std::lround(dist), "GEODWA " + what);
            }
        }
        return f.text;
    });
    expectClean(result);
}

TEST(CountryDistance, ALineMissingFromThePointFileIsReportedUnderTheRoutinesName)
{
    const auto d = distance_map::distanceMap();
    struct Row {
        std::string routine;
        std::function<void(Place)> call;
    };
    const Row rows[] = {
        {"GEODC9",
         [](Place p) {
             char code[3] = {'B', 'B', 'B'};
             float maxDist = 3000, dist = 0, azimuth = 0;
             GEODC9(&p.lon, &p.lat, code, &maxDist, &dist, &azimuth);
         }},
        {"GEODCM9", [](Place p) { countryList(GEODCM9, p, 3000, "", 5); }},
        {"GEODCC1", [](Place p) { otherCountry(p, 3000, ""); }},
    };
    for (const Row& row : rows) {
        // The map around the point holds AAA alone; BBB's coast is read from the index.
        const auto r = map_fixtures::onMap(d.map, [&] {
            row.call(placeAt(1, 5));
            return std::string("returned");
        }, {distance_map::kCoastB});
        EXPECT_EQ(r.output, fatalOutput(row.routine, " Did not find the line 1000300 in the coordinate file.\n"));
    }
}
