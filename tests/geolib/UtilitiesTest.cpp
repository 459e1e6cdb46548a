#include "tavu32d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadiusKm = 6373.0;
constexpr double kKmTol = 1.0;
constexpr double kAzimuthTolDeg = 1.0;

// Points numbered x as (x, 10 x).
std::vector<float> points(std::initializer_list<int> xs)
{
    std::vector<float> p;
    for (const int x : xs)
        p.insert(p.end(), {float(x), float(10 * x)});
    return p;
}

TEST(PointArrays, CopiesForwardBackwardAndSingly)
{
    std::vector<float> source = points({1, 2, 3}), target(6, 0.0f);
    int32_t count = 3;
    GEOCP8F(source.data(), target.data(), &count);
    EXPECT_EQ(target, source);
    GEOCP8B(source.data(), target.data(), &count);
    EXPECT_EQ(target, points({3, 2, 1}));
    std::vector<float> one(4, -1.0f);
    GEOCP81(source.data() + 2, one.data());
    EXPECT_EQ(one, (std::vector<float>{2, 20, -1, -1}));
}

TEST(PointArrays, ReversesInPlaceKeepingAnOddMiddlePoint)
{
    struct Row { int32_t count; std::vector<float> expected; };
    const Row rows[] = {
        {5, points({5, 4, 3, 2, 1})},
        {4, points({4, 3, 2, 1, 5})},
        {1, points({1, 2, 3, 4, 5})},
    };
    for (const Row& row : rows) {
        std::vector<float> p = points({1, 2, 3, 4, 5});
        int32_t count = row.count;
        GEOSWP8(p.data(), &count);
        EXPECT_EQ(p, row.expected) << "count " << row.count;
    }
}

TEST(PointArrays, MovesOverlappingRangesWithoutLosingPoints)
{
    struct Row { int16_t shift, first, last; std::vector<float> expected; int16_t newLast; };
    const Row rows[] = {
        {2, 1, 3, points({1, 2, 1, 2, 3}), 5},
        {-1, 2, 4, points({2, 3, 4, 4, 5}), 3},
        {1, 2, 4, points({1, 2, 2, 3, 4}), 5},
        {0, 1, 3, points({1, 2, 3, 4, 5}), 3},
    };
    for (const Row& row : rows) {
        std::vector<float> p = points({1, 2, 3, 4, 5});
        int16_t shift = row.shift, first = row.first, last = row.last;
        GEOMV8(&shift, &first, p.data(), &last);
        EXPECT_EQ(p, row.expected) << "shift " << row.shift;
        EXPECT_EQ(last, row.newLast);
        EXPECT_EQ(first, row.first);
    }
}

TEST(PointArrays, FillsZeroesCopiesAndScalesOnlyTheCount)
{
    std::vector<int32_t> values = {1, 2, 3};
    int16_t two = 2;
    int32_t seven = 7;
    VFILL(values.data(), &two, &seven);
    EXPECT_EQ(values, (std::vector<int32_t>{7, 7, 3}));
    VZERO(values.data(), &two);
    EXPECT_EQ(values, (std::vector<int32_t>{0, 0, 3}));
    std::vector<int32_t> source = {4, 5, 6};
    UCOPY(source.data(), values.data(), &two);
    EXPECT_EQ(values, (std::vector<int32_t>{4, 5, 3}));
    std::vector<float> reals = {1.5f, -2.0f, 3.0f};
    float factor = 2.0f;
    VSCALE(reals.data(), &factor, reals.data(), &two);  // source and target the same
    EXPECT_EQ(reals, (std::vector<float>{3.0f, -4.0f, 3.0f}));
}

TEST(PointArrays, CountsOfZeroOrLessChangeNothing)
{
    for (const int n : {0, -1}) {
        const std::vector<float> source = points({1, 2});
        std::vector<float> p = source, target(4, -1.0f);
        int32_t count = n;
        GEOCP8F(p.data(), target.data(), &count);
        GEOCP8B(p.data(), target.data(), &count);
        GEOSWP8(p.data(), &count);
        EXPECT_EQ(p, source);
        EXPECT_EQ(target, std::vector<float>(4, -1.0f));
        int16_t count16 = int16_t(n);
        int32_t value = 7;
        std::vector<int32_t> ints = {1, 2}, from = {8, 9};
        VFILL(ints.data(), &count16, &value);
        VZERO(ints.data(), &count16);
        UCOPY(from.data(), ints.data(), &count16);
        EXPECT_EQ(ints, (std::vector<int32_t>{1, 2}));
        float factor = 3.0f;
        VSCALE(p.data(), &factor, target.data(), &count16);
        EXPECT_EQ(target, std::vector<float>(4, -1.0f));
    }
}

std::string bytes(std::initializer_list<int> codes)
{
    std::string s;
    for (const int c : codes)
        s += char(c);
    return s;
}

TEST(TextCase, ConvertsTheCodePage437Alphabet)
{
    // Lower and upper forms, position by position; digits, punctuation and other
    // code page 437 letters (130 e acute, 160 a acute, 165 N tilde) have no other form here.
    const std::string lower = "abcxyz" + bytes({134, 132, 148, 129}) + "09 .,;-" + bytes({130, 160, 165});
    const std::string upper = "ABCXYZ" + bytes({143, 142, 153, 154}) + "09 .,;-" + bytes({130, 160, 165});
    std::vector<char> text(lower.begin(), lower.end());
    int16_t length = int16_t(text.size());
    GEOTUCN(text.data(), &length);
    EXPECT_EQ(std::string(text.begin(), text.end()), upper);
    GEOTLCN(text.data(), &length);
    EXPECT_EQ(std::string(text.begin(), text.end()), lower);
}

TEST(TextCase, ConvertsOnlyTheGivenLength)
{
    std::vector<char> text = {'a', char(134), 'b', char(132)};
    int16_t length = 2;
    GEOTUCN(text.data(), &length);
    EXPECT_EQ(text, (std::vector<char>{'A', char(143), 'b', char(132)}));
}

struct Result {
    int32_t km, az1, az2;
    bool operator==(const Result&) const = default;
};

Result lmf(float lon1, float lat1, float lon2, float lat2)
{
    Result r{-1, -1, -1};
    LMF90R4(&lon1, &lat1, &lon2, &lat2, &r.km, &r.az1, &r.az2);
    return r;
}

TEST(Lmf90r4, SpecialAndShortCases)
{
    struct Row { const char* what; float lon1, lat1, lon2, lat2; Result expected; };
    const Row rows[] = {
        {"north on one meridian", 0.3f, 0.1f, 0.3f, 0.3f, {1275, 0, 180}},
        {"south on one meridian", 0.3f, 0.3f, 0.3f, 0.1f, {1275, 180, 0}},
        {"from the north pole", 0.0f, 1.5707964f, 2.0f, 0.5f, {6824, 180, 0}},
        {"to the south pole", 1.0f, 0.5f, -2.0f, -1.5707964f, {13197, 180, 0}},
        {"opposite on the equator", 0.0f, 0.0f, 3.141593f, 0.0f, {20021, 0, 0}},
        {"opposite over the south pole", 0.0f, -0.1f, 3.141593f, -0.1f, {18747, 180, 180}},
        {"a few metres east", 0.3f, 0.8f, 0.30001f, 0.8f, {0, 90, 270}},
        {"a few metres west", 0.3f, 0.8f, 0.29999f, 0.8f, {0, 270, 90}},
        {"north within a second of longitude", 0.3f, 0.8f, 0.300002f, 0.800001f, {0, 0, 180}},
        {"short, west of north", 0.3f, 0.8f, 0.299994f, 0.801f, {6, 0, 180}},
        {"long, east of south", 0.0f, 0.5f, 0.001f, -0.5f, {6373, 180, 0}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(lmf(row.lon1, row.lat1, row.lon2, row.lat2), row.expected) << row.what;
}

double bearingDeg(double lon1, double lat1, double lon2, double lat2)
{
    const double d = lon2 - lon1;
    const double b = std::atan2(std::sin(d) * std::cos(lat2),
                                std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(d));
    return std::fmod(b * 180 / kPi + 360, 360);
}

double angleApartDeg(double a, double b)
{
    const double d = std::fmod(std::fabs(a - b), 360);
    return std::min(d, 360 - d);
}

TEST(Lmf90r4, AgreesWithTheHaversineFormula)
{
    std::mt19937 rng(90);
    std::uniform_real_distribution<float> lon(-3.14f, 3.14f), sinLat(-0.997f, 0.997f);
    for (int i = 0; i < 2000; ++i) {
        const float lon1 = lon(rng), lat1 = std::asin(sinLat(rng)), lon2 = lon(rng), lat2 = std::asin(sinLat(rng));
        const double h = std::pow(std::sin((lat2 - lat1) / 2.0), 2) +
                         std::cos(lat1) * std::cos(lat2) * std::pow(std::sin((lon2 - lon1) / 2.0), 2);
        const double c = 2 * std::asin(std::sqrt(h));
        if (c < 0.01 || c > kPi - 0.01)
            continue;  // azimuths ill-conditioned near the antipode; short distances are planar
        const Result r = lmf(lon1, lat1, lon2, lat2);
        const std::string where = std::to_string(lon1) + " " + std::to_string(lat1) + " " + std::to_string(lon2) +
                                  " " + std::to_string(lat2);
        EXPECT_NEAR(r.km, c * kEarthRadiusKm, kKmTol) << where;
        EXPECT_LE(angleApartDeg(r.az1, bearingDeg(lon1, lat1, lon2, lat2)), kAzimuthTolDeg) << where;
        EXPECT_LE(angleApartDeg(r.az2, bearingDeg(lon2, lat2, lon1, lat1)), kAzimuthTolDeg) << where;
    }
}

TEST(Lmf90r4, AzimuthsStayWithin0To359)
{
    // Around the compass at distances from metres to half the globe, where rounding near
    // north could give 360.
    for (const double dist : {2e-6, 1e-4, 5e-3, 0.1, 0.8})
        for (int deg = -3; deg < 363; deg += 1) {
            const double b = (deg + 0.3) * kPi / 180;
            const float lat1 = 0.7f, lon1 = 1.0f;
            const Result r = lmf(lon1, lat1, float(lon1 + dist * std::sin(b) / std::cos(lat1)),
                                 float(lat1 + dist * std::cos(b)));
            EXPECT_GE(std::min(r.az1, r.az2), 0) << dist << " " << deg;
            EXPECT_LE(std::max(r.az1, r.az2), 359) << dist << " " << deg;
        }
}

}  // namespace
