#include "GeometryReference.h"

#include "geometry/GreatCircle.h"
#include "tavu32d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace geometry_reference;

constexpr double kKmTol = 0.01;
constexpr double kAzimuthTolDeg = 0.03;     // the cosine clamp alone allows 0.026 degrees
constexpr double kFlatAzimuthTolDeg = 0.45;
constexpr double kFlatRelTol = 0.003;       // the flat form uses point 1's latitude only
constexpr double kFlatAbsTolKm = 0.001;
constexpr double kRad = kPi / 180;
constexpr int kPairs = 100000;
constexpr double kCoincidence = 9.696275e-7;  // rad: longitudes this near are one meridian
constexpr double kZeroLimit = 3.3936963e-6;   // rad: arcs below it are 0

float rad(double degrees)
{
    return float(degrees * kRad);
}

struct Pair {
    float lon1, lat1, lon2, lat2;
};

// Half of the pairs anywhere, half less than 200 km apart (log-spread from a metre up).
std::vector<Pair> randomPairs(int count)
{
    std::mt19937 rng(20050621);
    std::uniform_real_distribution<double> az(0.0, 360.0), logKm(std::log(0.001), std::log(200.0));
    std::vector<Pair> pairs(count);
    for (int i = 0; i < count; ++i) {
        Pair& p = pairs[i];
        randomPoint(rng, p.lon1, p.lat1);
        if (i % 2 == 0) {
            randomPoint(rng, p.lon2, p.lat2);
            continue;
        }
        double lon2 = 0, lat2 = 0;
        direct(p.lon1, p.lat1, az(rng), std::exp(logKm(rng)), lon2, lat2);
        p.lon2 = float(lon2);
        p.lat2 = float(lat2);
    }
    return pairs;
}

float distanceOf(Pair p)
{
    float d = 0;
    GEODSTR(&p.lon1, &p.lat1, &p.lon2, &p.lat2, &d);
    return d;
}

TEST(GreatCircle, DistancesAndAzimuthsAgreeWithTheReferenceOnRandomPairs)
{
    int checkedFar = 0, checkedNear = 0, zero = 0;
    for (Pair p : randomPairs(kPairs)) {
        const Inverse ref = inverse(p.lon1, p.lat1, p.lon2, p.lat2);
        const double arc = ref.distanceKm / kEarthRadiusKm;
        const float d = distanceOf(p);
        float dist = 0, az = 0;
        int32_t km = 0;
        GEOPPDA(&p.lon1, &p.lat1, &p.lon2, &p.lat2, &dist, &az);
        GEODST(&p.lon1, &p.lat1, &p.lon2, &p.lat2, &km);
        ASSERT_EQ(km, int32_t(std::round(double(d))));
        ASSERT_TRUE(az >= 0 && az < 360) << az;
        if (arc > 0.00789) {
            ++checkedFar;
            ASSERT_NEAR(d, ref.distanceKm, kKmTol);
            ASSERT_NEAR(dist, ref.distanceKm, kKmTol);
            const bool antipodal = kPi - arc < 0.001, pole = kPi / 2 - std::fabs(p.lat1) < 0.001;
            if (!antipodal && !pole) {
                ASSERT_LE(azimuthGap(az, ref.azimuthDeg), kAzimuthTolDeg) << p.lon1 << " " << p.lat1;
            }
        } else if (arc < 0.00781 && std::fabs(p.lat1) <= 60 * kRad && std::fabs(p.lat2) <= 60 * kRad) {
            ++checkedNear;
            // The same-meridian case measures the latitude difference alone.
            const bool meridian = std::fabs(double(p.lon2) - p.lon1) <= kCoincidence;
            if (ref.distanceKm > 0.0217 && meridian) {
                ASSERT_NEAR(d, ref.distanceKm, kFlatRelTol * ref.distanceKm + kFlatAbsTolKm);
                const double dlat = std::fabs(double(p.lat2) - p.lat1);
                ASSERT_NEAR(dist, dlat < kZeroLimit ? 0 : dlat * kEarthRadiusKm, kFlatAbsTolKm);
            } else if (ref.distanceKm > 0.0217) {
                const double tol = kFlatRelTol * ref.distanceKm + kFlatAbsTolKm;
                ASSERT_NEAR(d, ref.distanceKm, tol);
                ASSERT_NEAR(dist, ref.distanceKm, tol);
            } else if (ref.distanceKm < 0.0215) {
                ++zero;
                ASSERT_EQ(d, 0.0f);
                ASSERT_EQ(dist, 0.0f);
            }
            if (ref.distanceKm > 5) {
                ASSERT_LE(azimuthGap(az, ref.azimuthDeg), kFlatAzimuthTolDeg);
            }
        }
    }
    EXPECT_GT(checkedFar, kPairs / 2);
    EXPECT_GT(checkedNear, kPairs / 4);
    EXPECT_GT(zero, 100);
}

TEST(GreatCircle, PointsAlongAnAzimuthLandOnTheReferenceAndComeBack)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> azimuth(0.0, 360.0), km(100.0, 19000.0);
    int checked = 0;
    for (int i = 0; i < kPairs; ++i) {
        float lon = 0, lat = 0;
        randomPoint(rng, lon, lat);
        float az = float(azimuth(rng)), dist = float(km(rng)), lon2 = 0, lat2 = 0;
        GEOPDAP(&lon, &lat, &dist, &az, &lon2, &lat2);
        double refLon = 0, refLat = 0;
        direct(lon, lat, az, dist, refLon, refLat);
        if (kPi / 2 - std::fabs(refLat) < 3 / kEarthRadiusKm)
            continue;
        ++checked;
        ASSERT_LE(inverse(lon2, lat2, float(refLon), float(refLat)).distanceKm, kKmTol) << i;
        if (kPi / 2 - std::fabs(lat) < 0.001 || kPi - dist / kEarthRadiusKm < 0.001)
            continue;
        float back = 0, backAz = 0;
        GEOPPDA(&lon, &lat, &lon2, &lat2, &back, &backAz);
        ASSERT_NEAR(back, dist, kKmTol) << i;
        ASSERT_LE(azimuthGap(backAz, az), kAzimuthTolDeg) << i;
    }
    EXPECT_GT(checked, kPairs * 9 / 10);
}

TEST(GreatCircle, WorkedExamples)
{
    struct Row {
        const char* what;
        float lon1, lat1, lon2, lat2;
        double distKm, azimuthDeg;
    };
    const double arc30 = 30 * kRad * kEarthRadiusKm, arc10 = 10 * kRad * kEarthRadiusKm;
    const Row rows[] = {
        {"the short way across 180", rad(179), 0, rad(-179), 0, 222.46, 90},
        {"one point", 0.2f, 0.3f, 0.2f, 0.3f, 0, 0},
        {"due north", 0.3f, 0.1f, 0.3f, float(0.1 + 10 * kRad), arc10, 0},
        {"due south", 0.3f, 0.1f, 0.3f, float(0.1 - 10 * kRad), arc10, 180},
        {"from the north pole", 1.0f, 1.5707965f, -2.0f, rad(80), arc10, 180},
        {"over the north pole", 0.0f, rad(80), float(kPi), rad(70), arc30, 0},
        {"over the south pole", 0.0f, rad(-80), float(kPi), rad(-70), arc30, 180},
        {"just west of due north, never 360", 0.0f, 0.0f, -3e-6f, 0.001f, 0.001 * kEarthRadiusKm, 0},
    };
    for (Row r : rows) {
        float dist = 0, az = -1, d = -1;
        GEOPPDA(&r.lon1, &r.lat1, &r.lon2, &r.lat2, &dist, &az);
        GEODSTR(&r.lon1, &r.lat1, &r.lon2, &r.lat2, &d);
        EXPECT_NEAR(dist, r.distKm, kKmTol) << r.what;
        EXPECT_NEAR(d, r.distKm, kKmTol) << r.what;
        EXPECT_NEAR(az, r.azimuthDeg, 1e-3) << r.what;  // so 360 in place of 0 fails
    }
}

TEST(GreatCircle, PointsAlongMeridiansCrossPolesAndKeepAPoleStartsLongitude)
{
    struct Row {
        const char* what;
        float lon, lat, distKm, azimuthDeg;
        double lon2Deg, lat2Deg;
    };
    const float arc20 = float(20 * kRad * kEarthRadiusKm);
    const Row rows[] = {
        {"over the pole", rad(10), rad(80), arc20, 0, -170, 80},
        {"over the pole from 0", 0, rad(80), arc20, 360, 180, 80},
        {"south", 0.5f, 0, arc20, 180, 0.5 / kRad, -20},
        {"from the north pole", 0.7f, 1.5707965f, arc20, 123, 0.7 / kRad, 70},
        {"from the south pole", -0.7f, -1.5707965f, arc20, 45, -0.7 / kRad, -70},
    };
    for (Row r : rows) {
        float lon2 = 0, lat2 = 0;
        GEOPDAP(&r.lon, &r.lat, &r.distKm, &r.azimuthDeg, &lon2, &lat2);
        EXPECT_NEAR(lon2, r.lon2Deg * kRad, 1e-5) << r.what;
        EXPECT_NEAR(lat2, r.lat2Deg * kRad, 1e-5) << r.what;
    }
}

TEST(GreatCircle, FlatDistanceReadsItsTableWithinNinetyDegrees)
{
    struct Row {
        const char* what;
        float lon1, lat1, lon2, lat2;
        double expectedKm;
    };
    const double deg = kRad * kEarthRadiusKm;
    const Row rows[] = {
        {"equator", 0, 0, rad(1), 0, deg},
        {"60 degrees", 0, rad(60), rad(1), rad(60), deg * 556 / 1112},
        {"across 180", rad(179.5), 0, rad(-179.5), 0, deg},
        {"beyond the north pole", 0, rad(100), rad(1), rad(101), deg},
        {"beyond the south pole", 0, rad(-120), rad(1), rad(-120), 0},
    };
    for (Row r : rows)
        EXPECT_NEAR(GEODST3(&r.lon1, &r.lat1, &r.lon2, &r.lat2), r.expectedKm, 0.01) << r.what;
}

namespace {

// Both plane forms agree with these to a few roundings of their 4-byte result (6e-8 each); the
// cosine of another latitude is off by 1e-3 or more in the rows whose latitudes tell them apart.
constexpr double kPlaneRelTol = 1e-6;

struct PlaneRow {
    const char* what;
    double lon1Deg, lat1Deg, lon2Deg, lat2Deg;
};

// The plane form written out: the longitude difference the short way round (by the library's
// 4-byte two pi), shrunk by `cosine`, and the latitude difference, on the sphere.
double planeKm(float lon1, float lat1, float lon2, float lat2, double cosine)
{
    constexpr double kTurn = 6.283186f;
    double dx = std::fabs(double(lon1) - lon2);
    if (dx > kTurn / 2)
        dx = kTurn - dx;
    const double dy = double(lat1) - lat2;
    return std::sqrt(dx * cosine * dx * cosine + dy * dy) * kEarthRadiusKm;
}

}  // namespace

TEST(GreatCircle, FlatDistanceTakesTheTableCosineOfTheRoundedMeanLatitude)
{
    struct Row {
        PlaneRow at;
        int table;  // the table's cosine, in 1112ths, of the whole degree the mean rounds to
    };
    const Row rows[] = {
        {{"equator", 0, 0, 1, 0}, 1112},
        {{"either side of the equator", 10, -0.3, 10.4, 0.2}, 1112},
        {{"10 and 50 north, mean 30", 5, 10, 6, 50}, 963},
        {{"50 and 10 north, mean 30", 6, 50, 5, 10}, 963},
        {{"20 and 41.2 south, mean 30.6", -20, -20, -19.5, -41.2}, 953},
        {{"mean 89.4", 0, 89, 1, 89.8}, 19},
        {{"mean 89.6, rounded to 90", 0, 89.4, 1, 89.8}, 0},
        {{"beyond the north pole, mean held at 90", 0, 95, 1, 120}, 0},
        {{"beyond the south pole, mean held at 90", 0, -100, 2, -95}, 0},
        {{"across 180 at 60 north", 179.5, 59.8, -179.7, 60.6}, 556},
        {{"across 180 westwards at 45 south", -179.9, -45.3, 179.6, -44.9}, 786},
    };
    for (const Row& r : rows) {
        float lon1 = rad(r.at.lon1Deg), lat1 = rad(r.at.lat1Deg), lon2 = rad(r.at.lon2Deg), lat2 = rad(r.at.lat2Deg);
        const double want = planeKm(lon1, lat1, lon2, lat2, r.table / 1112.0);
        EXPECT_NEAR(GEODST3(&lon1, &lat1, &lon2, &lat2), want, kPlaneRelTol * want) << r.at.what;
    }
}

TEST(GreatCircle, ShortDistanceIsThePlaneFormOnPointOnesLatitudeBelowTheFlatLimit)
{
    const PlaneRow plane[] = {
        {"equator", 0, 0, 0.2, 0.1},
        {"60 north", 10, 60, 10.5, 60.3},
        {"the same pair from its other end", 10.5, 60.3, 10, 60},
        {"80 south", -20, -80, -19, -80.2},
        {"across 180", 179.8, 45, -179.9, 45.2},
    };
    const auto check = [](float lon1, float lat1, float lon2, float lat2, double want, const std::string& what) {
        float d = 0, dist = 0, az = 0;
        GEODSTR(&lon1, &lat1, &lon2, &lat2, &d);
        GEOPPDA(&lon1, &lat1, &lon2, &lat2, &dist, &az);
        EXPECT_NEAR(d, want, kPlaneRelTol * want) << what;
        EXPECT_NEAR(dist, want, kPlaneRelTol * want) << what;
    };
    for (const PlaneRow& r : plane) {
        const float lon1 = rad(r.lon1Deg), lat1 = rad(r.lat1Deg), lon2 = rad(r.lon2Deg), lat2 = rad(r.lat2Deg);
        check(lon1, lat1, lon2, lat2, planeKm(lon1, lat1, lon2, lat2, std::cos(double(lat1))), r.what);
    }
    // Either side of the limit of 0.00785 rad, north-east from 60 north, where the plane form
    // and the great circle differ by 0.2%.
    struct Edge {
        double arc;
        bool planeForm;
    };
    for (const Edge e : {Edge{0.00784, true}, Edge{0.00786, false}}) {
        const float lon1 = 0, lat1 = rad(60);
        double lon2 = 0, lat2 = 0;
        direct(lon1, lat1, 45, e.arc * kEarthRadiusKm, lon2, lat2);
        const float lon2f = float(lon2), lat2f = float(lat2);
        const double want = e.planeForm ? planeKm(lon1, lat1, lon2f, lat2f, std::cos(double(lat1)))
                                        : inverse(lon1, lat1, lon2f, lat2f).distanceKm;
        check(lon1, lat1, lon2f, lat2f, want, "arc " + std::to_string(e.arc));
    }
}

TEST(GreatCircle, RaysHaveAPointEveryStepAndAtTheEnd)
{
    struct Row {
        float distKm;
        std::vector<float> distances;
    };
    const Row rows[] = {
        {30, {0, 30}},
        {101, {0, 50, 101}},
        {102, {0, 50, 100, 102}},
        {8000, {}},
        {16000, {}},
    };
    for (const Row& r : rows) {
        float points[2 * geo::kRayCapacity], distances[geo::kRayCapacity];
        int32_t n = 0;
        geo::Window window{};
        bool normal = false;
        const geo::Point start{0.2f, 0.3f};
        geo::GEOAZL(start, r.distKm, 40, points, distances, n, window, normal);
        ASSERT_LE(n, geo::kRayCapacity);
        if (!r.distances.empty())
            EXPECT_EQ(std::vector<float>(distances, distances + n), r.distances) << r.distKm;
        else
            EXPECT_EQ(n, 161) << r.distKm;
        EXPECT_EQ(distances[n - 1], r.distKm);
        for (int i = 1; i < n; ++i)  // each point lies at its distance along the azimuth
            EXPECT_NEAR(inverse(start.lon, start.lat, points[2 * i], points[2 * i + 1]).distanceKm, distances[i],
                        kKmTol);
        for (int i = 0; i < n; ++i)
            EXPECT_TRUE(points[2 * i] >= window.west && points[2 * i] <= window.east);
        EXPECT_TRUE(normal);
    }
}

TEST(GreatCircleLines, LieOnTheReferenceGeodesicEvenlySpaced)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> count(3, 20);
    int checked = 0;
    while (checked < 1000) {
        Pair p{};
        randomPoint(rng, p.lon1, p.lat1);
        randomPoint(rng, p.lon2, p.lat2);
        const Inverse ref = inverse(p.lon1, p.lat1, p.lon2, p.lat2);
        // Nearly meridional lines meet the azimuth clamp. Towards the antipode the azimuth
        // magnifies the 6.5e-7 rad by which two pi is rounded up.
        if (azimuthGap(ref.azimuthDeg, 0) < 0.1 || azimuthGap(ref.azimuthDeg, 180) < 0.1 ||
            kPi - ref.distanceKm / kEarthRadiusKm < 0.5 || ref.distanceKm < 60)
            continue;
        ++checked;
        int32_t n = count(rng);
        std::vector<float> points(2 * n);
        GEOGCL(&p.lon1, &p.lat1, &p.lon2, &p.lat2, &n, points.data());
        for (int k = 0; k < n; ++k) {
            double lon = 0, lat = 0;
            direct(p.lon1, p.lat1, ref.azimuthDeg, ref.distanceKm * k / (n - 1), lon, lat);
            ASSERT_LE(inverse(points[2 * k], points[2 * k + 1], float(lon), float(lat)).distanceKm, kKmTol) << k;
        }
        EXPECT_EQ(points[0], p.lon1);
        EXPECT_EQ(points[2 * n - 1], p.lat2);
    }
}

TEST(GreatCircleLines, EvenStepsTakeTheShortWayAcross180)
{
    float lon1 = rad(170), lon2 = rad(-170), lat1 = 0.1f, lat2 = 0.2f;
    int32_t n = 5;
    std::vector<float> points(10);
    GEOADP(&lon1, &lat1, &lon2, &lat2, &n, points.data());
    const double expectedDeg[] = {170, 175, 180, -175, -170};
    for (int i = 0; i < n; ++i) {
        EXPECT_NEAR(std::fabs(points[2 * i] / kRad), std::fabs(expectedDeg[i]), 1e-4) << i;
        if (i != 2) {
            EXPECT_EQ(points[2 * i] < 0, expectedDeg[i] < 0) << i;
        }
        EXPECT_NEAR(points[2 * i + 1], 0.1 + 0.025 * i, 1e-6);
    }
}

TEST(GreatCircleLines, MercatorStepsAreEvenOnTheProjection)
{
    float lon1 = 0.1f, lat1 = -0.5f, lon2 = 0.5f, lat2 = 1.2f;
    int16_t n = 5;
    std::vector<float> points(10);
    GEOADPM(&lon1, &lat1, &lon2, &lat2, &n, points.data());
    auto y = [](double lat) { return std::log(std::tan(kPi / 4 + lat / 2)); };
    for (int i = 0; i < n; ++i) {
        EXPECT_NEAR(points[2 * i], 0.1 + 0.1 * i, 1e-6);
        EXPECT_NEAR(y(points[2 * i + 1]), y(-0.5) + (y(1.2) - y(-0.5)) * i / 4, 1e-5);
    }
}

// The one point of a one-point line, and nothing at all for fewer.
TEST(GreatCircleLines, OnePointLinesAndEmptyLines)
{
    float lon1 = 0.1f, lat1 = 0.2f, lon2 = 0.3f, lat2 = 0.4f;
    const std::vector<float> guard = {-9, -9, -9, -9};
    using Line = void (*)(float*, float*, float*, float*, int32_t*, float*);
    struct Row {
        const char* name;
        Line line;
    };
    const Row rows[] = {{"GEOADP", GEOADP}, {"GEOGCL", GEOGCL}};
    for (const Row& r : rows) {
        for (int32_t n : {0, -3}) {
            std::vector<float> points = guard;
            r.line(&lon1, &lat1, &lon2, &lat2, &n, points.data());
            EXPECT_EQ(points, guard) << r.name << " wrote for n " << n;
        }
        int32_t one = 1;
        std::vector<float> points = guard;
        r.line(&lon1, &lat1, &lon2, &lat2, &one, points.data());
        EXPECT_EQ(points, (std::vector<float>{lon2, lat2, -9, -9})) << r.name;
    }
    for (int16_t n : {int16_t(0), int16_t(-3), int16_t(1)}) {
        std::vector<float> points = guard;
        GEOADPM(&lon1, &lat1, &lon2, &lat2, &n, points.data());
        const std::vector<float> expected = n == 1 ? std::vector<float>{lon1, lat1, -9, -9} : guard;
        EXPECT_EQ(points, expected) << "GEOADPM " << n;
    }
}

}  // namespace
