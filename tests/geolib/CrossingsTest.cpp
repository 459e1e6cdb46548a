#include "tavu32d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNearVertex = 1e-5, kLeastAngle = kPi / 180;  // closer cases are left out

struct Pt {
    double lon, lat;
};
struct Crossing {
    int32_t segA, segB;
    Pt at;
};
using Line = std::vector<Pt>;
enum Routine { C2L, C2LT, C2LTD, C1L };

double wrap(double lon)
{
    return lon > kPi ? lon - 2 * kPi : lon < -kPi ? lon + 2 * kPi : lon;
}

double cross(Pt a, Pt b)
{
    return a.lon * b.lat - a.lat * b.lon;
}

// Segment k (from 1) as its start and the way to its end, the short way across 180 degrees unless plain.
std::pair<Pt, Pt> segment(const Line& line, std::size_t k, bool plain)
{
    const Pt p = line[k - 1], q = line[k];
    return {p, {plain ? q.lon - p.lon : wrap(q.lon - p.lon), q.lat - p.lat}};
}

// The turns by which a segment may be moved to meet another.
const std::vector<double>& shifts(bool plain)
{
    static const std::vector<double> none = {0}, turns = {-2 * kPi, 0, 2 * kPi};
    return plain ? none : turns;
}

// Distance in the plane from x to segment k, at each turn of 180 degrees.
double toSegment(Pt x, const Line& line, int32_t k, bool plain)
{
    const auto [p, r] = segment(line, std::size_t(k), plain);
    double least = 1e9;
    for (const double shift : shifts(plain)) {
        const Pt v = {x.lon + shift - p.lon, x.lat - p.lat};
        const double t = std::clamp((v.lon * r.lon + v.lat * r.lat) / (r.lon * r.lon + r.lat * r.lat), 0.0, 1.0);
        least = std::min(least, std::hypot(v.lon - t * r.lon, v.lat - t * r.lat));
    }
    return least;
}

// Brute-force crossings of every segment pair (for one line, segment j from i + 2); false
// when a crossing lies near a vertex or two segments meet at a small angle.
bool reference(const Line& a, const Line& b, bool plain, bool oneLine, std::vector<Crossing>& out)
{
    for (std::size_t i = 1; i < a.size(); ++i) {
        const auto [p, r] = segment(a, i, plain);
        for (std::size_t j = oneLine ? i + 2 : 1; j < b.size(); ++j) {
            const auto [q, s] = segment(b, j, plain);
            for (const double shift : shifts(plain)) {
                const Pt w = {q.lon + shift - p.lon, q.lat - p.lat};
                const double d = cross(r, s), t = cross(w, s) / d, u = cross(w, r) / d;
                if (d == 0 || t < -1 || t > 2 || u < -1 || u > 2)
                    continue;
                const Pt x = {p.lon + t * r.lon, p.lat + t * r.lat};
                for (const Pt v : {p, Pt{p.lon + r.lon, p.lat + r.lat}, Pt{p.lon + w.lon, p.lat + w.lat},
                                   Pt{p.lon + w.lon + s.lon, p.lat + w.lat + s.lat}})
                    if (std::hypot(x.lon - v.lon, x.lat - v.lat) < kNearVertex)
                        return false;
                if (t < 0 || t > 1 || u < 0 || u > 1)
                    continue;
                if (std::asin(std::fabs(d) / std::hypot(r.lon, r.lat) / std::hypot(s.lon, s.lat)) < kLeastAngle)
                    return false;
                out.push_back({int32_t(i), int32_t(j), {plain ? x.lon : wrap(x.lon), x.lat}});
            }
        }
    }
    return true;
}

struct Found {
    std::vector<Crossing> crossings;
    int32_t overflow = 0, complete = 0;
};

// One routine on lines a and b (GEOC1L on a alone, `plain` then giving its ring flag).
template <class Real = float>
Found run(Routine routine, const Line& a, const Line& b, int32_t plain, int32_t mode, int32_t capacity)
{
    std::vector<Real> pa, pb, points(2 * std::size_t(std::max(capacity, 1)) + 2);
    for (const Pt& p : a)
        pa.insert(pa.end(), {Real(p.lon), Real(p.lat)});
    for (const Pt& p : b)
        pb.insert(pb.end(), {Real(p.lon), Real(p.lat)});
    std::vector<int32_t> pairs(points.size());
    int32_t nA = int32_t(a.size()), nB = int32_t(b.size()), count = -1;
    int16_t n = int16_t(nA);
    Found f;
    if constexpr (std::is_same_v<Real, double>) {
        GEOC2LTD(pa.data(), &nA, pb.data(), &nB, &plain, &mode, points.data(), &capacity, &count, &f.overflow,
                 pairs.data());
    } else if (routine == C2L) {
        GEOC2L(pa.data(), &nA, pb.data(), &nB, &plain, &mode, points.data(), &capacity, &count, &f.overflow);
    } else if (routine == C2LT) {
        GEOC2LT(pa.data(), &nA, pb.data(), &nB, &plain, &mode, points.data(), &capacity, &count, &f.overflow,
                pairs.data());
    } else {
        GEOC1L(pa.data(), &n, &plain, &capacity, pairs.data(), points.data(), &count, &f.complete);
    }
    for (int32_t k = 0; k < count; ++k)
        f.crossings.push_back({pairs[2 * k], pairs[2 * k + 1], {double(points[2 * k]), double(points[2 * k + 1])}});
    return f;
}

// A line of 3 to 60 points in a box, a quarter of them across 180 degrees.
Line randomLine(std::mt19937& rng)
{
    std::uniform_real_distribution<double> unit(-1, 1);
    const double lon0 = rng() % 4 ? 3 * unit(rng) : kPi, lat0 = 0.5 * unit(rng);
    Line line(3 + rng() % 58);
    for (Pt& p : line)  // 4-byte values, so that every routine sees the same points
        p = {double(float(wrap(lon0 + 0.6 * unit(rng)))), double(float(lat0 + 0.6 * unit(rng)))};
    return line;
}

// The reference's crossings in its order, each within tol of both segments it names.
void expectSame(const Found& got, const std::vector<Crossing>& want, const Line& a, const Line& b, bool plain,
                bool pairs, double tol)
{
    ASSERT_EQ(got.crossings.size(), want.size());
    for (std::size_t k = 0; k < want.size(); ++k) {
        if (pairs) {
            EXPECT_EQ(got.crossings[k].segA, want[k].segA);
            EXPECT_EQ(got.crossings[k].segB, want[k].segB);
        }
        EXPECT_LE(toSegment(got.crossings[k].at, a, want[k].segA, plain), tol);
        EXPECT_LE(toSegment(got.crossings[k].at, b, want[k].segB, plain), tol);
    }
}

}  // namespace

TEST(Crossings, AllRoutinesGiveTheBruteForceCrossingsOfRandomLines)
{
    std::mt19937 rng(17);
    int checked = 0;
    for (int c = 0; c < 2000 && !HasFailure(); ++c) {
        SCOPED_TRACE(c);
        const Line a = randomLine(rng), b = randomLine(rng);
        const int32_t plain = c % 3 == 2;
        std::vector<Crossing> two, one;
        if (!reference(a, b, plain, false, two) || !reference(a, a, false, true, one))
            continue;
        ++checked;
        expectSame(run(C2LT, a, b, plain, 0, 4000), two, a, b, plain, true, 1e-6);
        expectSame(run(C2L, a, b, plain, 0, 4000), two, a, b, plain, false, 1e-6);
        expectSame(run<double>(C2LTD, a, b, plain, 0, 4000), two, a, b, plain, true, 1e-8);
        const Found self = run(C1L, a, {}, 0, 0, 4000);
        expectSame(self, one, a, a, false, true, 1e-6);
        EXPECT_EQ(self.complete, -1);
    }
    EXPECT_GT(checked, 1500);
}

TEST(Crossings, EndPointsModesAndAFullArray)
{
    const Line diagonal = {{0, 0}, {0.1, 0.1}}, bent = {{0, 0}, {0.05, 0.05}, {0.1, 0.1}};
    const Line along = {{0, 0}, {0.3, 0}};  // crossed at 0.25, 0.15 and 0.05 in that order
    const Line zigzag = {{0.25, -0.1}, {0.25, 0.1}, {0.15, 0.1}, {0.15, -0.1}, {0.05, -0.1}, {0.05, 0.1}};
    struct Row {
        const char* what;
        Line a, b;
        int32_t mode, capacity;
        std::vector<double> lons, lonsNearestKept;
        int32_t overflow;
    };
    const Row rows[] = {
        {"crossing", diagonal, {{0, 0.1}, {0.1, 0}}, 0, 5, {0.05}, {0.05}, 0},
        {"parallel", diagonal, {{0, 0.05}, {0.1, 0.15}}, 0, 5, {}, {}, 0},
        {"ending on the other", diagonal, {{0.05, 0.05}, {0.05, 0.2}}, 1, 5, {0.05}, {0.05}, 0},
        {"end to end", bent, {{0.1, 0.1}, {0.15, 0.05}, {0.2, 0}}, 0, 5, {0.1}, {0.1}, 0},
        {"end to end, mode 1", bent, {{0.1, 0.1}, {0.15, 0.05}, {0.2, 0}}, 1, 5, {}, {}, 0},
        {"end to end of single segments, mode 1", diagonal, {{0.1, 0.1}, {0.2, 0}}, 1, 5, {}, {}, 0},
        {"end on an inner point, mode 1", bent, {{0.3, 0.1}, {0.1, 0.1}, {0.15, 0.05}}, 1, 5, {0.1, 0.1},
         {0.1, 0.1}, 0},
        {"three", along, zigzag, 0, 5, {0.25, 0.15, 0.05}, {0.25, 0.15, 0.05}, 0},
        {"three for one place", along, zigzag, 0, 1, {0.25}, {0.05}, 2},
        {"three for two places", along, zigzag, 0, 2, {0.25, 0.15}, {0.05, 0.15}, 1},
        {"mode 2 stops at the first", along, zigzag, 2, 5, {0.25}, {0.25}, 0},
        {"mode 2 without room", along, zigzag, 2, 0, {}, {}, 1},
        {"no room: every crossing counted", along, zigzag, 0, 0, {}, {}, 3},
        {"room below none", along, zigzag, 0, -4, {}, {}, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (const Routine routine : {C2L, C2LT, C2LTD}) {
            const Found f = routine == C2LTD ? run<double>(routine, row.a, row.b, 0, row.mode, row.capacity)
                                             : run(routine, row.a, row.b, 0, row.mode, row.capacity);
            std::vector<double> lons;
            for (const Crossing& c : f.crossings)
                lons.push_back(std::round(c.at.lon * 100) / 100);
            EXPECT_EQ(lons, routine == C2L ? row.lonsNearestKept : row.lons) << "routine " << routine;
            EXPECT_EQ(f.overflow, row.overflow) << "routine " << routine;
        }
    }
}

TEST(Crossings, OneLineNamesTheSegmentsAndExaminesTheClosingSegmentOfARing)
{
    const Line open = {{0, 0}, {0.1, 0.1}, {0.1, 0}, {0, 0.1}, {0.05, -0.1}};
    Found f = run(C1L, open, {}, 0, 0, 5);
    ASSERT_EQ(f.crossings.size(), 2u);
    EXPECT_EQ(f.crossings[0].segA * 10 + f.crossings[0].segB, 13);
    EXPECT_NEAR(f.crossings[0].at.lon, 0.05, 1e-7);
    EXPECT_EQ(f.complete, -1);
    f = run(C1L, open, {}, 0, 0, 1);
    EXPECT_EQ(f.crossings.size(), 1u);
    EXPECT_EQ(f.complete, 0) << "a full array ends the scan";

    // The last segment crosses the second; the first and last meet at the ring's start.
    const Line ring = {{0, 0.1}, {0, 0}, {0.1, 0.1}, {0.1, 0}, {0, 0.1}};
    f = run(C1L, ring, {}, 1, 0, 5);
    ASSERT_EQ(f.crossings.size(), 1u);
    EXPECT_EQ(f.crossings[0].segA * 10 + f.crossings[0].segB, 24);
    EXPECT_EQ(run(C1L, ring, {}, 0, 0, 5).crossings.size(), 2u) << "as an open line it meets itself at the start";
}
