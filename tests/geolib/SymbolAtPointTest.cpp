#include "tavu32d.h"

#include "MapFixtures.h"
#include "state/LibraryState.h"
#include "map/CurrentMap.h"
#include "map/SymbolAtPoint.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <sstream>

using map_fixtures::deg;
using map_fixtures::TestMap;
using map_fixtures::onMap;

namespace {

constexpr double kKmPerDeg = 6373.0 * map_fixtures::kRadPerDeg;
constexpr double kClearKm = 2.0;

void circle(double lonDeg, double latDeg, int32_t dist)
{
    const auto p = deg(lonDeg, latDeg);
    float lon = p.lon, lat = p.lat;
    GEOINM(&lon, &lat, &dist);
}

std::string symbolAt(double lonDeg, double latDeg, bool ownMap)
{
    const auto p = deg(lonDeg, latDeg);
    float lon = p.lon, lat = p.lat;
    char symbol[3];
    (ownMap ? GEOPLC : GEOPLC2)(&lon, &lat, symbol);
    return std::string(symbol, 3);
}

// The administration of the two-country map at a point, by the rectangles the outlines trace;
// "?" within 2 km of a line.
std::string reference(double lon, double lat)
{
    const double kmPerLonDeg = kKmPerDeg * std::cos(lat * map_fixtures::kRadPerDeg);
    for (double edge : {8.0, 10.0, 12.0}) {
        if (std::fabs(lon - edge) * kmPerLonDeg <= kClearKm && lat > 48.9 && lat < 51.1)
            return "?";
    }
    for (double edge : {49.0, 51.0}) {
        if (std::fabs(lat - edge) * kKmPerDeg <= kClearKm && lon > 7.9 && lon < 12.1)
            return "?";
    }
    if (lat < 49 || lat > 51 || lon < 8 || lon > 12)
        return "   ";
    return lon < 10 ? "WWW" : "EEE";
}

}  // namespace

TEST(SymbolAtPoint, TwoCountriesAgreeWithTheirRectangles)
{
    const auto r = onMap(map_fixtures::twoCountries(), [] {
        std::ostringstream out;
        std::mt19937 random(19);
        std::uniform_real_distribution<double> lon(7.5, 12.5), lat(48.5, 51.5);
        int checked = 0;
        for (int i = 0; i < 2000; ++i) {
            const double x = lon(random), y = lat(random);
            const std::string want = reference(x, y);
            if (want == "?")
                continue;
            ++checked;
            // The whole map, and a map of 100 km around the point whose outlines are clipped.
            circle(10, 50, 400);
            const std::string whole = symbolAt(x, y, false);
            const std::string own = i % 10 == 0 ? symbolAt(x, y, true) : want;
            if (whole != want || own != want)
                out << x << " " << y << ": " << whole << "/" << own << " not " << want << "\n";
        }
        if (checked < 1800)
            out << "only " << checked << " points\n";
        return out.str();
    });
    EXPECT_EQ(r.output, "");
}

TEST(SymbolAtPoint, PolarLatitudesAndTheSearchOrder)
{
    const auto r = onMap(map_fixtures::twoCountries(), [] {
        std::ostringstream out;
        out << "[" << symbolAt(11, 50, false) << "] ";  // no map yet
        circle(10, 50, 400);
        const auto& seq = geo::libraryState().map.outlines.outlineSeq;
        out << "[" << symbolAt(11, 85, false) << "][" << symbolAt(11, -80, false) << "] " << seq[0] << seq[1];
        out << " [" << symbolAt(11, 50, false) << "] " << seq[0] << seq[1];
        out << " [" << symbolAt(9, 50, false) << "] " << seq[0] << seq[1];
        out << " [" << symbolAt(13, 50, false) << "] " << seq[0] << seq[1];
        return out.str();
    });
    EXPECT_EQ(r.output, "[   ] [   ][ATA] 12 [EEE] 21 [WWW] 12 [   ] 12");
}

TEST(SymbolAtPoint, PointThatIsNoPlaceLiesInNoCountry)
{
    constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    struct Row {
        double lonDeg, latDeg;
        std::string expected;
    };
    const Row rows[] = {
        {11, kNaN, "   "}, {kNaN, 50, "   "}, {kNaN, kNaN, "   "}, {11, kInf, "   "}, {11, -kInf, "   "},
        {kInf, 50, "   "}, {-kInf, 50, "   "},
        {11, 50, "EEE"}, {9, 50, "WWW"}, {11, -120, "ATA"},  // finite points answer as before
    };
    const auto r = onMap(map_fixtures::twoCountries(), [&rows] {
        std::ostringstream out;
        circle(10, 50, 400);
        for (const Row& row : rows) {
            const std::string got = symbolAt(row.lonDeg, row.latDeg, false);
            if (got != row.expected)
                out << row.lonDeg << " " << row.latDeg << ": [" << got << "] not [" << row.expected << "]\n";
        }
        return out.str();
    });
    EXPECT_EQ(r.output, "");
}

TEST(SymbolAtPoint, EnclaveIsFoundInsideTheAdministrationAroundIt)
{
    TestMap map;
    const float half = float(0.8 * map_fixtures::kRadPerDeg);
    map.island("I", mapfiles::squareLine(3005110, deg(12.45, 43.93), half, 40), 'B');
    map.island("SMR", mapfiles::squareLine(3005095, deg(12.45, 43.93), float(0.1 * map_fixtures::kRadPerDeg), 10), 'B');
    map.island("CVA", mapfiles::squareLine(3005096, deg(12.0, 43.6), float(0.01 * map_fixtures::kRadPerDeg), 4), 'B');
    const auto r = onMap(map, [] {
        std::ostringstream out;
        circle(12.45, 43.93, 300);
        const auto& o = geo::libraryState().map.outlines;
        out << o.outlinePairMarks[0][0] << o.outlinePairMarks[0][1] << " ";
        out << "[" << symbolAt(12.45, 43.93, false) << "][" << symbolAt(12.45, 44.2, false) << "]["
            << symbolAt(12.0, 43.6, false) << "]";
        // Maps of 100 km around the point, the administration around clipped.
        out << " [" << symbolAt(12.47, 43.95, true) << "][" << symbolAt(12.1, 43.5, true) << "]";
        return out.str();
    });
    EXPECT_EQ(r.output, "23 [SMR][I  ][CVA] [SMR][I  ]");
}
