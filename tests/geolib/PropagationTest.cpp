#include "tavu32d.h"

#include "PropagationFixtures.h"
#include "state/LibraryState.h"
#include "map/Propagation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

using prop_fixtures::box;
using prop_fixtures::deg;
using prop_fixtures::RadialMap;
using prop_fixtures::Zone;

namespace {

constexpr double kDistKmTol = 0.01;
constexpr double kSumKmTol = 0.2;

std::int32_t select(std::int32_t k)
{
    std::int32_t status = -5;
    GEOPRMS(&k, &status);
    return status;
}

std::string codeAt(mapfiles::Point p)
{
    char code[2];
    GEOPRP2(&p.lon, &p.lat, code);
    return std::string(code, 2);
}

struct Split {
    float dist = -1;
    std::int32_t labelCount = -1, flag = -1;
    char labels[10][2]{};
    std::array<float, 10> lengths{}, fractions{};

    /// Flag, label count and the labels given a length.
    std::string describe() const
    {
        std::ostringstream out;
        out << "flag " << flag << " labels " << labelCount;
        for (int i = 0; i < labelCount; ++i) {
            if (lengths[std::size_t(i)] != 0)
                out << " '" << std::string(labels[i], 2) << "'";
        }
        return out.str();
    }

    float length(const std::string& label) const
    {
        for (int i = 0; i < labelCount; ++i) {
            if (std::string(labels[i], 2) == label)
                return lengths[std::size_t(i)];
        }
        return 0;
    }

    double sum() const
    {
        double s = 0;
        for (float l : lengths)
            s += l;
        return s;
    }
};

Split split(mapfiles::Point p1, mapfiles::Point p2)
{
    Split s;
    GEOPRCP(&p1.lon, &p1.lat, &p2.lon, &p2.lat, &s.dist, &s.labelCount, &s.labels[0][0], s.lengths.data(),
            s.fractions.data(), &s.flag);
    return s;
}

double initialAzimuth(mapfiles::Point p1, mapfiles::Point p2)
{
    const GeographicLib::Geodesic sphere(6373000.0, 0.0);
    const double k = 180 / 3.14159265358979323846;
    double s12 = 0, a1 = 0, a2 = 0;
    sphere.Inverse(p1.lat * k, p1.lon * k, p2.lat * k, p2.lon * k, s12, a1, a2);
    return a1;
}

// A label and the reference length it should get: the path's part between two meridians.
struct Expected {
    std::string label;
    double fromLon, toLon;  // degrees, clamped to the path's ends
};

/// Checks the split's distance, the sum of its lengths, each fraction, and each expected label's
/// length against the reference path from p1 to p2 (heading east).
std::string checked(const Split& s, mapfiles::Point p1, mapfiles::Point p2, const std::vector<Expected>& expected)
{
    std::ostringstream out;
    out << s.describe();
    const double want = prop_fixtures::referenceKm(p1, p2);
    if (std::fabs(s.dist - want) > kDistKmTol)
        out << " | dist " << s.dist << " not " << want;
    if (std::fabs(s.sum() - s.dist) > kSumKmTol)
        out << " | lengths sum to " << s.sum() << " of " << s.dist;
    for (std::size_t i = 0; i < s.fractions.size(); ++i) {
        if (std::fabs(s.fractions[i] - s.lengths[i] / s.dist) > 1e-6)
            out << " | fraction " << i + 1 << " " << s.fractions[i];
    }
    const double k = 180 / 3.14159265358979323846, lon1 = p1.lon * k, lon2 = p2.lon * k;
    const double az = initialAzimuth(p1, p2);
    const auto at = [&](double lon) {
        lon = std::clamp(lon, lon1, lon2);
        return lon <= lon1 ? 0.0 : prop_fixtures::referenceKmToLongitude(lon1, p1.lat * k, az, lon);
    };
    std::map<std::string, double> lengths;
    for (const Expected& e : expected)
        lengths[e.label] += at(e.toLon) - at(e.fromLon);
    for (const auto& [label, km] : lengths) {
        if (std::fabs(s.length(label) - km) > kSumKmTol)
            out << " | '" << label << "' " << s.length(label) << " km, not " << km;
    }
    return out.str();
}

}  // namespace

TEST(Propagation, EveryZoneValueWrittenGivesItsClassAndItsKindsCode)
{
    RadialMap m;
    for (int k = 0; k <= 85; ++k) {
        const double west = 20 + (k % 10) * 0.5, south = 10 + (k / 10) * 0.5;
        const Zone z{box(200 + k, west, south, west + 0.3, south + 0.3, 3), {float(k) / 10, float(k) / 10}};
        for (int kind : {5, 7, 8})
            m.zone(kind, z);
    }
    struct Row {
        std::int32_t selector;
        int value;  // tenths
        const char* code;
    };
    const Row rows[] = {
        {1, 25, "WS"}, {1, 15, "CS"}, {1, 8, "L "}, {1, 0, "L "}, {1, 7, "  "}, {1, 35, "  "},
        {3, 15, "4 "}, {3, 45, "4 "}, {3, 9, "4 "}, {3, 20, "2 "}, {3, 85, "C1"}, {3, 22, "  "},
        {4, 15, "5 "}, {4, 25, "2 "}, {4, 80, "D "}, {4, 12, "  "}, {4, 9, "  "},
    };
    const auto r = m.run([&] {
        std::ostringstream out;
        const std::int32_t status = select(0);
        out << "status " << status << " kind " << geo::libraryState().zones.list.zoneKind;
        prop_fixtures::request(GEOPRM, 19, 9, 26, 16);
        const geo::ZoneList& z = geo::libraryState().zones.list;
        out << " zones " << z.zoneCount;
        for (int i = 0; i < z.zoneCount; ++i) {
            const std::int32_t tenths = z.zoneLineId[std::size_t(i)] - 200;
            if (geo::zoneClass(z.zoneValues[std::size_t(i)][0]) != tenths)
                out << " | " << tenths << " tenths give class " << geo::zoneClass(z.zoneValues[std::size_t(i)][0]);
        }
        for (const Row& row : rows) {
            (void)select(row.selector);
            prop_fixtures::request(GEOPRM, 19, 9, 26, 16);
            const double west = 20 + (row.value % 10) * 0.5, south = 10 + (row.value / 10) * 0.5;
            const std::string code = codeAt(deg(west + 0.15, south + 0.15));
            if (code != row.code)
                out << " | kind " << row.selector + 4 << " class " << row.value << ": '" << code << "'";
        }
        return out.str();
    });
    EXPECT_EQ(r.output, "status 0 kind 5 zones 86");
}

TEST(Propagation, ClassIsTheTenfoldValueRoundedToFourBytesThenTruncated)
{
    // In double, 0.7f x 10 is 6.99999988 and would truncate to 6.
    const std::pair<float, std::int32_t> rows[] = {{0.7f, 7}, {2.5f, 25}, {1.5f, 15}, {8.5f, 85}, {-999.99f, -9999},
                                                   {0.29f, 2}, {-1.5f, -15}};
    for (const auto& [value, cls] : rows)
        EXPECT_EQ(geo::zoneClass(value), cls) << value;
}

TEST(Propagation, PathSplitsIntoLengthsPerCode)
{
    // Kind 5: 1.0 from 30 to 33 E, 1.5 to 36 E, 2.5 to 40 E, from 30 to 40 N; kind 7: 1.5 over it all.
    RadialMap m;
    m.zone(5, {box(401, 30, 30, 33, 40), {1.0f, 1.0f}});
    m.zone(5, {box(402, 33, 30, 36, 40), {1.5f, 1.5f}});
    m.zone(5, {box(403, 36, 30, 40, 40), {2.5f, 2.5f}});
    m.zone(7, {box(404, 30, 30, 40, 40), {1.5f, 1.5f}});
    m.defaults[4] = {2.0f, 1.5f};
    struct Row {
        const char* what;
        std::int32_t selector;
        mapfiles::Point p1, p2;
        std::vector<Expected> lengths;
        std::string want;
    };
    const Row rows[] = {
        {"equal points", 1, deg(31, 35), deg(31, 35), {}, "flag 0 labels 0"},
        {"wholly in one zone of value 1.0", 1, deg(30.5, 34), deg(32.5, 36), {{"L ", 0, 99}}, "flag 0 labels 3 'L '"},
        {"across three zones", 1, deg(31, 35), deg(39, 35.5), {{"L ", 0, 33}, {"CS", 33, 36}, {"WS", 36, 99}},
         "flag 0 labels 3 'L ' 'CS' 'WS'"},
        {"no code at point 1", 1, deg(29, 35), deg(31, 35), {}, "flag 1 labels 0"},
        {"no code at point 2", 1, deg(31, 35), deg(41, 35), {}, "flag 2 labels 0"},
        {"kind 7 class 15 adds to its first label", 3, deg(31, 35), deg(39, 35.5), {{"1 ", 0, 99}},
         "flag 0 labels 8 '1 '"},
    };
    for (const Row& row : rows) {
        const auto r = m.run([&] {
            (void)select(row.selector);
            const Split s = split(row.p1, row.p2);
            if (s.flag != 0 || s.dist == 0)
                return s.describe() + (s.dist == 0 || s.flag != 0 ? "" : " dist not 0");
            return checked(s, row.p1, row.p2, row.lengths);
        });
        EXPECT_EQ(r.output, row.want) << row.what;
    }
}

TEST(Propagation, PathOfMoreStretchesThanTheWalkListsHeldIsWhole)
{
    // 75 zones of 1.0 a tenth of a degree wide, with gaps at the sea default 1.5 between them.
    RadialMap m;
    constexpr int kZones = 75;
    for (int i = 0; i < kZones; ++i)
        m.zone(5, {box(500 + i, 30 + 0.2 * i, 34, 30.1 + 0.2 * i, 36, 3), {1.0f, 1.0f}});
    m.defaults[4] = {1.5f, 1.5f};
    const auto p1 = deg(30.05, 35), p2 = deg(30.05 + 0.2 * (kZones - 1), 35);
    const auto r = m.run([&] {
        const Split s = split(p1, p2);
        std::vector<Expected> zones;
        for (int i = 0; i < kZones; ++i) {
            zones.push_back({"L ", 30 + 0.2 * i, 30.1 + 0.2 * i});
            zones.push_back({"CS", 30.1 + 0.2 * i, 30.2 + 0.2 * i});
        }
        return checked(s, p1, p2, zones);
    });
    EXPECT_EQ(r.output, "flag 0 labels 3 'L ' 'CS'");
}

TEST(Propagation, KindSixGivesLandToAfgAndIrnAndSeaInRegionOneWithoutAZone)
{
    // Region 1 from 10 W to 40 E. AFG and IRN in a zone of 2.5; a zone of 3.0 (class 30, which
    // no label of the path split holds) from 20 to 25 E.
    RadialMap m;
    m.map.island("AFG", box(1000500, 30, 20, 31, 21));
    m.map.island("IRN", box(1000600, 32, 20, 33, 21));
    m.zone(6, {box(601, 29, 19, 34, 22), {2.5f, 2.5f}});
    m.zone(6, {box(602, 20, 0, 25, 5), {3.0f, 3.0f}});
    const auto r = m.run([] {
        (void)select(2);
        std::ostringstream out;
        for (const auto& p : {deg(30.5, 20.5), deg(32.5, 20.5), deg(0, 0), deg(22, 2)}) {
            char code[2];
            auto q = p;
            GEOPRP(&q.lon, &q.lat, code);
            out << "'" << std::string(code, 2) << "' ";
        }
        const Split s = split(deg(21, 1), deg(24, 4));
        out << s.describe() << (s.sum() == 0 ? "" : " lengths given");
        return out.str();
    });
    EXPECT_EQ(r.output, "'L ' 'L ' 'CS' 'L ' flag 0 labels 4");
}

TEST(Propagation, SubPathThatOverflowsAtOneKilometreEndsWithTheOverflowReport)
{
    // 869 zones within a kilometre of point 1, at sea in region 1; overflows are quiet.
    RadialMap m;
    const auto p1 = deg(30, -10), p2 = deg(31, -10);
    for (int i = 0; i < 869; ++i)
        m.zone(6, {mapfiles::squareLine(1000 + i, {p1.lon + float(i % 30) * 3e-6f, p1.lat + float(i / 30) * 3e-6f},
                                        1e-6f, 2),
                   {1.0f, 1.0f}});
    const auto r = m.run([&] {
        (void)select(2);
        std::int32_t option = 4, on = 1;
        GEOSET(&option, &on);
        const Split s = split(p1, p2);
        return "returned: " + s.describe();
    });
    EXPECT_EQ(r.output, testing_support::fatalOutput("GEOPRM", " Increase the parameter MXCDID=   868 in GEOQ162\n"));
}

TEST(Propagation, ZoneLineIteratorWalksKindFiveUnlessAnotherIsSelected)
{
    // Kind 5: 701 (from 30 E) and 703 (from 30.5 E), 21 points each, in the window, 702 outside
    // it; kind 6: 704 (from 31 E).
    RadialMap m;
    m.zone(5, {box(701, 30, 30, 31, 31, 6), {1.0f, 1.0f}});
    m.zone(5, {box(702, 50, 30, 51, 31, 6), {1.0f, 1.0f}});
    m.zone(5, {box(703, 30.5, 30, 31.5, 31, 6), {1.0f, 1.0f}});
    m.zone(6, {box(704, 31, 30, 32, 31, 6), {1.0f, 1.0f}});
    // Each line as its count, excess and first longitude in tenths of a degree, then the end.
    const auto walk = [] {
        std::ostringstream out;
        const auto sw = deg(29, 29), ne = deg(33, 33);
        float window[4] = {sw.lon, sw.lat, ne.lon, ne.lat};
        for (int call = 0; call < 4; ++call) {
            int16_t unit = 2;
            int32_t capacity = 10, count = -1, excess = -1, end = -5;
            float points[20];
            GEOPRML(&unit, window, &capacity, points, &count, &excess, &end);
            if (end != 0) {
                out << "end " << end << "; ";
                continue;
            }
            out << count << "+" << excess << " at " << std::lround(points[0] * 10) << "; ";
        }
        return out.str();
    };
    EXPECT_EQ(m.run(walk).output, "10+11 at 300; 10+11 at 305; end -1; 10+11 at 300; ");
    EXPECT_EQ(m.run([&] {
                   (void)select(2);
                   return walk();
               }).output,
              "10+11 at 310; end -1; 10+11 at 310; end -1; ");
    m.missingZoneLines = {703};
    EXPECT_EQ(m.run(walk).output,
              testing_support::fatalOutput("GEOPRML", " Did not find the line     703 in the coordinate file.\n"));
}
