#include "tavu32d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kVertexMargin = 1e-5;  // rad; crossings this near a vertex are left out
constexpr double kLeastAngleDeg = 1.0;
constexpr int kCases = 2000;
constexpr int32_t kRoom = 4000;

struct Pt {
    double lon, lat;
};

struct Crossing {
    int32_t segA, segB;  // from 1
    Pt at;
};

double wrap(double lon)
{
    return lon > kPi ? lon - 2 * kPi : lon < -kPi ? lon + 2 * kPi : lon;
}

// A segment's ends, the second brought to the first's side of 180 degrees unless plain.
std::array<Pt, 2> unwrapped(Pt p, Pt q, bool plain)
{
    if (!plain && std::fabs(q.lon - p.lon) > kPi)
        q.lon += p.lon > q.lon ? 2 * kPi : -2 * kPi;
    return {p, q};
}

double cross(Pt a, Pt b)
{
    return a.lon * b.lat - a.lat * b.lon;
}

Pt minus(Pt a, Pt b)
{
    return {a.lon - b.lon, a.lat - b.lat};
}

double pointToSegment(Pt x, std::array<Pt, 2> s)
{
    const Pt d = minus(s[1], s[0]), v = minus(x, s[0]);
    const double len2 = d.lon * d.lon + d.lat * d.lat;
    const double t = len2 > 0 ? std::clamp((v.lon * d.lon + v.lat * d.lat) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(x.lon - s[0].lon - t * d.lon, x.lat - s[0].lat - t * d.lat);
}

// Distance from x to the segment in the plane, the segment taken at each turn of 180 degrees.
double planeDistance(Pt x, Pt p, Pt q, bool plain)
{
    auto s = unwrapped(p, q, plain);
    double best = 1e9;
    for (const double shift : {-2 * kPi, 0.0, 2 * kPi}) {
        if (plain && shift != 0)
            continue;
        best = std::min(best, pointToSegment(x, {Pt{s[0].lon + shift, s[0].lat}, Pt{s[1].lon + shift, s[1].lat}}));
    }
    return best;
}

// The brute-force crossings of two segments; false when the case is too close to call (a
// crossing near a vertex or segments meeting at a small angle).
bool referenceCrossing(Pt p1, Pt p2, Pt q1, Pt q2, bool plain, std::vector<Pt>& found)
{
    const auto a = unwrapped(p1, p2, plain), b0 = unwrapped(q1, q2, plain);
    for (const double shift : {-2 * kPi, 0.0, 2 * kPi}) {
        if (plain && shift != 0)
            continue;
        const std::array<Pt, 2> b = {Pt{b0[0].lon + shift, b0[0].lat}, Pt{b0[1].lon + shift, b0[1].lat}};
        const Pt r = minus(a[1], a[0]), s = minus(b[1], b[0]);
        const double d = cross(r, s);
        if (d == 0)
            continue;
        const double t = cross(minus(b[0], a[0]), s) / d, u = cross(minus(b[0], a[0]), r) / d;
        if (t < -0.5 || t > 1.5 || u < -0.5 || u > 1.5)
            continue;
        const Pt x = {a[0].lon + t * r.lon, a[0].lat + t * r.lat};
        for (const Pt v : {a[0], a[1], b[0], b[1]})
            if (std::hypot(x.lon - v.lon, x.lat - v.lat) < kVertexMargin)
                return false;
        if (t < 0 || t > 1 || u < 0 || u > 1)
            continue;
        const double sine = std::fabs(d) / (std::hypot(r.lon, r.lat) * std::hypot(s.lon, s.lat));
        if (std::asin(std::min(sine, 1.0)) * 180 / kPi < kLeastAngleDeg)
            return false;
        found.push_back({plain ? x.lon : wrap(x.lon), x.lat});
    }
    return true;
}

// All crossings of segment pairs in order, j from i + `skip` when one line is crossed with itself.
bool reference(const std::vector<Pt>& a, const std::vector<Pt>& b, bool plain, int skip, std::vector<Crossing>& out)
{
    for (std::size_t i = 0; i + 1 < a.size(); ++i) {
        for (std::size_t j = skip ? i + skip : 0; j + 1 < b.size(); ++j) {
            std::vector<Pt> found;
            if (!referenceCrossing(a[i], a[i + 1], b[j], b[j + 1], plain, found))
                return false;
            for (const Pt& x : found)
                out.push_back({int32_t(i + 1), int32_t(j + 1), x});
        }
    }
    return true;
}

// A random line of 3 to 60 points in a box, a quarter of them across 180 degrees.
std::vector<Pt> randomLine(std::mt19937& rng)
{
    std::uniform_int_distribution<int> count(3, 60);
    std::uniform_real_distribution<double> unit(-1, 1), centre(-3.0, 3.0);
    const double lon0 = rng() % 4 == 0 ? kPi : centre(rng), lat0 = 0.5 * unit(rng);
    std::vector<Pt> line(std::size_t(count(rng)));
    for (Pt& p : line)  // float values, so every routine sees the same points
        p = {double(float(wrap(lon0 + 0.6 * unit(rng)))), double(float(lat0 + 0.6 * unit(rng)))};
    return line;
}

template <class Real>
std::vector<Real> flat(const std::vector<Pt>& line)
{
    std::vector<Real> out;
    for (const Pt& p : line)
        out.insert(out.end(), {Real(p.lon), Real(p.lat)});
    return out;
}

struct Found {
    std::vector<Crossing> crossings;
    int32_t overflow = 0;
};

// GEOC2LT and GEOC2LTD on the same lines.
template <class Real>
Found twoLines(const std::vector<Pt>& a, const std::vector<Pt>& b, int32_t plain, int32_t mode, int32_t capacity)
{
    auto pa = flat<Real>(a), pb = flat<Real>(b);
    int32_t nA = int32_t(a.size()), nB = int32_t(b.size()), count = -1, overflow = -1;
    std::vector<Real> points(2 * std::size_t(std::max(capacity, 1)));
    std::vector<int32_t> pairs(points.size());
    if constexpr (std::is_same_v<Real, float>)
        GEOC2LT(pa.data(), &nA, pb.data(), &nB, &plain, &mode, points.data(), &capacity, &count, &overflow, pairs.data());
    else
        GEOC2LTD(pa.data(), &nA, pb.data(), &nB, &plain, &mode, points.data(), &capacity, &count, &overflow,
                 pairs.data());
    Found f{{}, overflow};
    for (int32_t k = 0; k < count; ++k)
        f.crossings.push_back({pairs[2 * k], pairs[2 * k + 1], {double(points[2 * k]), double(points[2 * k + 1])}});
    return f;
}

Found oneLine(const std::vector<Pt>& line, int32_t ring, int32_t capacity, int32_t& complete)
{
    auto p = flat<float>(line);
    int16_t n = int16_t(line.size());
    int32_t count = -1;
    std::vector<float> points(2 * std::size_t(std::max(capacity, 1)));
    std::vector<int32_t> pairs(points.size());
    GEOC1L(p.data(), &n, &ring, &capacity, pairs.data(), points.data(), &count, &complete);
    Found f;
    for (int32_t k = 0; k < count; ++k)
        f.crossings.push_back({pairs[2 * k], pairs[2 * k + 1], {double(points[2 * k]), double(points[2 * k + 1])}});
    return f;
}

// The same crossings in the same order, each on both of its segments.
void expectSame(const std::vector<Crossing>& got, const std::vector<Crossing>& want, const std::vector<Pt>& a,
                const std::vector<Pt>& b, bool plain, double tol)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < got.size(); ++k) {
        const Crossing& c = got[k];
        ASSERT_EQ(c.segA, want[k].segA);
        ASSERT_EQ(c.segB, want[k].segB);
        EXPECT_LE(planeDistance(c.at, a[c.segA - 1], a[c.segA], plain), tol);
        EXPECT_LE(planeDistance(c.at, b[c.segB - 1], b[c.segB], plain), tol);
    }
}

std::vector<Pt> pts(std::initializer_list<Pt> p)
{
    return p;
}

}  // namespace

TEST(Crossings, TwoLinesGiveTheBruteForceCrossingsOnEachSegmentPair)
{
    std::mt19937 rng(17);
    int checked = 0, crossings = 0;
    for (int c = 0; c < kCases; ++c) {
        const auto a = randomLine(rng), b = randomLine(rng);
        const int32_t plain = c % 3 == 2;
        std::vector<Crossing> want;
        if (!reference(a, b, plain, 0, want))
            continue;
        SCOPED_TRACE(c);
        ++checked;
        crossings += int(want.size());
        expectSame(twoLines<float>(a, b, plain, 0, kRoom).crossings, want, a, b, plain, 1e-6);
        expectSame(twoLines<double>(a, b, plain, 0, kRoom).crossings, want, a, b, plain, 1e-8);
        if (::testing::Test::HasFailure())
            return;
    }
    EXPECT_GT(checked, kCases * 3 / 4);
    EXPECT_GT(crossings, kCases);
}

TEST(Crossings, OneLineGivesEverySelfCrossingAndNeverNeighbours)
{
    std::mt19937 rng(1717);
    int checked = 0;
    for (int c = 0; c < kCases; ++c) {
        const auto line = randomLine(rng);
        std::vector<Crossing> want;
        if (!reference(line, line, false, 2, want))
            continue;
        SCOPED_TRACE(c);
        ++checked;
        int32_t complete = 0;
        expectSame(oneLine(line, 0, kRoom, complete).crossings, want, line, line, false, 1e-6);
        EXPECT_EQ(complete, -1);
        if (::testing::Test::HasFailure())
            return;
    }
    EXPECT_GT(checked, kCases * 3 / 4);
}

TEST(Crossings, ExamplesOfTwoSegmentsAndOfEndPoints)
{
    const auto cross = pts({{0, 0}, {0.1, 0.1}});
    const auto endsOnCross = pts({{0.05, 0.05}, {0.05, 0.2}});
    const auto a3 = pts({{0, 0}, {0.05, 0.05}, {0.1, 0.1}});
    const auto fromA3End = pts({{0.1, 0.1}, {0.15, 0.05}, {0.2, 0}});
    const auto throughA3End = pts({{0.3, 0.1}, {0.1, 0.1}, {0.15, 0.05}});
    struct Row {
        const char* what;
        std::vector<Pt> a, b;
        int32_t mode;
        std::size_t count;
    };
    const Row rows[] = {
        {"crossing segments", cross, pts({{0, 0.1}, {0.1, 0}}), 0, 1},
        {"parallel segments", cross, pts({{0, 0.05}, {0.1, 0.15}}), 0, 0},
        {"one ends on the other", cross, endsOnCross, 0, 1},
        {"one ends on the other, mode 1", cross, endsOnCross, 1, 1},
        {"end to end", a3, fromA3End, 0, 1},
        {"end to end, mode 1", a3, fromA3End, 1, 0},
        {"through an inner point, mode 1", a3, throughA3End, 1, 2},
        {"single segments end to end, mode 1", cross, pts({{0.1, 0.1}, {0.2, 0}}), 1, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(twoLines<float>(row.a, row.b, 0, row.mode, 5).crossings.size(), row.count);
        EXPECT_EQ(twoLines<double>(row.a, row.b, 0, row.mode, 5).crossings.size(), row.count);
    }
}

// Line A along the equator; B crosses it at 0.25, 0.15 and 0.05 in that order.
const std::vector<Pt> kAlong = pts({{0, 0}, {0.3, 0}});
const std::vector<Pt> kZigzag = pts({{0.25, -0.1}, {0.25, 0.1}, {0.15, 0.1}, {0.15, -0.1}, {0.05, -0.1}, {0.05, 0.1}});

TEST(Crossings, AFullArrayKeepsTheFirstFoundAndCountsTheRest)
{
    struct Row {
        int32_t mode, capacity;
        std::vector<double> lons;
        int32_t overflow;
    };
    const Row rows[] = {
        {0, 5, {0.25, 0.15, 0.05}, 0},
        {0, 1, {0.25}, 2},
        {2, 5, {0.25}, 0},  // mode 2 stops at the first crossing
        {2, 0, {}, 1},
        {0, 0, {}, 3},      // no room: nothing stored, every crossing counted
        {0, -4, {}, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << row.mode << " capacity " << row.capacity);
        for (const Found& f : {twoLines<float>(kAlong, kZigzag, 0, row.mode, row.capacity),
                               twoLines<double>(kAlong, kZigzag, 0, row.mode, row.capacity)}) {
            std::vector<double> lons;
            for (const Crossing& c : f.crossings)
                lons.push_back(std::round(c.at.lon * 100) / 100);
            EXPECT_EQ(lons, row.lons);
            EXPECT_EQ(f.overflow, row.overflow);
        }
    }
}

TEST(Crossings, OneLineReportsItsCrossingWithTheSegmentPair)
{
    int32_t complete = 0;
    const Found open = oneLine(pts({{0, 0}, {0.1, 0.1}, {0.1, 0}, {0, 0.1}}), 0, 5, complete);
    ASSERT_EQ(open.crossings.size(), 1u);
    EXPECT_EQ(open.crossings[0].segA, 1);
    EXPECT_EQ(open.crossings[0].segB, 3);
    EXPECT_NEAR(open.crossings[0].at.lon, 0.05, 1e-7);
    EXPECT_NEAR(open.crossings[0].at.lat, 0.05, 1e-7);
    EXPECT_EQ(complete, -1);

    // A full array ends the scan with complete false.
    const auto twice = pts({{0, 0}, {0.1, 0.1}, {0.1, 0}, {0, 0.1}, {0.05, -0.1}});
    EXPECT_EQ(oneLine(twice, 0, 5, complete).crossings.size(), 2u);
    EXPECT_EQ(oneLine(twice, 0, 1, complete).crossings.size(), 1u);
    EXPECT_EQ(complete, 0);
}

TEST(Crossings, TheClosingSegmentOfARingIsExaminedButNotAgainstItsNeighbour)
{
    // The ring's last segment crosses its second one; its first and last meet at the ring's start.
    const auto ring = pts({{0, 0.1}, {0, 0}, {0.1, 0.1}, {0.1, 0}, {0, 0.1}});
    int32_t complete = 0;
    const Found f = oneLine(ring, 1, 5, complete);
    ASSERT_EQ(f.crossings.size(), 1u);
    EXPECT_EQ(f.crossings[0].segA, 2);
    EXPECT_EQ(f.crossings[0].segB, 4);
    EXPECT_EQ(complete, -1);
    EXPECT_EQ(oneLine(ring, 0, 5, complete).crossings.size(), 2u) << "an open line meets itself at the shared point";
}
