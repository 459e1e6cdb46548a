#include "Radial.h"

#include "state/LibraryState.h"
#include "geometry/Crossings.h"
#include "geometry/Sphere.h"
#include "geometry/PointInPolygon.h"
#include "map/SymbolAtPoint.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace geo {
namespace {

RadialState& radial()
{
    return libraryState().radial;
}

double crossingDistance(double lon1, double lat1, double lon2, double lat2)
{
    return distanceKm({float(lon1), float(lat1)}, {float(lon2), float(lat2)});
}

// Crossings of radial points first..last (from 1) with a line, written at `points`.
CrossingOutput<float> crossRay(const Ray& ray, std::int32_t first, std::int32_t last, const float* line,
                               std::int32_t n, bool plain, std::int32_t mode, float* points, std::int32_t room)
{
    CrossingOutput<float> out{points, nullptr, std::max(room, 0)};
    crossTwoLines(ray.points.data() + 2 * (first - 1), last - first + 1, line, n,
                  {plain, mode, double(kCrossingTolerance), double(kPi), &crossingDistance}, out);
    return out;
}

}  // namespace

void Ray::build(Point start, float lengthKm, float azimuthDeg)
{
    GEOAZL(start, lengthKm, azimuthDeg, points.data(), distances.data(), n, window, normal);
}

bool rayMeetsWindow(const Ray& ray, const Window& w, bool plain)
{
    if (GEOPIWF(1, ray.points.data(), std::int16_t(ray.n), w) != 0)
        return true;
    std::array<float, 14> outline{};
    const std::int32_t k = windowOutline(w, outline.data());
    std::array<float, 2> crossing{};
    const CrossingOutput<float> out = crossRay(ray, 1, ray.n, outline.data(), k, plain, 2, crossing.data(), 1);
    return out.count + out.overflow > 0;
}

std::pair<std::int32_t, std::int32_t> rayPartNear(const Ray& ray, const Window& w)
{
    const auto m = std::int16_t(ray.n);
    const std::int32_t first = GEOPIWF(1, ray.points.data(), m, w);
    if (first == 0)
        return {1, m};
    const std::int32_t last = GEOPIWF(-1, ray.points.data(), m, w);
    return {std::max(first - 1, 1), std::min(last + 1, std::int32_t(m))};
}

OutlineSet storeOutlines(AreaStore store)
{
    LibraryState& s = libraryState();
    AreaLists& a = s.areaLists;
    auto listed = [&a](AreaListOwner owner, const AreaList& l) -> OutlineSet {
        if (a.areaListOwner != owner)
            return {};
        return {std::int32_t(l.areaId.size()), [&a, &l](std::int32_t i) {
                    const auto k = std::size_t(i - 1);
                    return StoreOutline{a.areaWindow[k], a.areaPoints.data() + 2 * (l.areaFirst[k] - 1),
                                        l.areaPointCount[k]};
                }};
    };
    switch (store) {
    case AreaStore::Allotments: return listed(AreaListOwner::Allotments, a.allotments);
    case AreaStore::Local: return listed(AreaListOwner::Local, a.local);
    case AreaStore::Coordination: return listed(AreaListOwner::Coordination, a.coordination);
    case AreaStore::Zones:
    case AreaStore::Count: break;
    }
    const ZoneList& z = s.zones.list;
    return {z.zoneCount, [&z](std::int32_t i) {
                const auto k = std::size_t(i - 1);
                return StoreOutline{z.zoneWindow[k], z.zonePoints.data() + 2 * (z.zoneFirst[k] - 1),
                                    z.zonePointCount[k]};
            }};
}

std::vector<char>& crossingMarks(AreaStore store)
{
    return radial().crossingMarks[std::size_t(store)];
}

bool passedOver(AreaStore store, std::int32_t area)
{
    const std::vector<char>& marks = crossingMarks(store);
    return area < 1 || std::size_t(area) > marks.size() || marks[std::size_t(area - 1)] == '-';
}

bool outlineHolds(const StoreOutline& o, Point p)
{
    return GEOPIA(p, o.window, o.points, o.n);
}

RadialPass GEORADX(Point start, float distKm, float azimuthDeg, std::int32_t mode, float* points, std::int32_t room)
{
    RadialState& r = radial();
    r.ray.build(start, distKm, azimuthDeg);
    r.start = start;
    r.stretch = 0;
    r.vertex = 1;
    r.crossing = 0;
    RadialPass pass;

    CurrentMap& map = libraryState().map;
    const OutlineRecord& o = map.outlines;
    auto& marks = r.searchMarks;
    for (std::int32_t k = 0; k < o.outlineCount; ++k) {
        const Window& w = o.outlineWindow[std::size_t(k)];
        marks[std::size_t(k)] = '0';
        if (windowsOverlap(w, r.ray.window) && rayMeetsWindow(r.ray, w, r.ray.normal && isNormal(w))) {
            marks[std::size_t(k)] = '2';
            pass.far = false;
        }
    }
    if (pass.far)
        return pass;
    // Lines are crossed without regard to 180 degrees only when the window around all
    // outlines, and the ray's, lie on one side of it.
    const bool plain = r.ray.normal && isNormal(windowAround(o.outlineWindow.data(), o.outlineCount));

    const PieceRecord& p = map.pieces;
    bool marked = false;
    auto side = [&marks](std::int16_t area) -> char& { return marks[std::size_t(area - 1)]; };
    for (std::int32_t i = 0; i < p.pieceCount; ++i) {
        const auto k = std::size_t(i);
        const std::int16_t a1 = p.pieceCode1[k], a2 = p.pieceCode2[k];
        if (a1 < 1 || side(a1) == '0' || (a2 != 0 && side(a2) == '0'))
            continue;
        const Window& w = p.pieceWindow[k];
        if (!windowsOverlap(w, r.ray.window) || !rayMeetsWindow(r.ray, w, plain))
            continue;
        if (mode == 1 && p.pieceCoastFlag[k] == '0') {
            side(a1) = '9';
            if (a2 != 0)
                side(a2) = '9';
            marked = true;
            continue;
        }
        const auto [first, last] = rayPartNear(r.ray, w);
        const float* line = p.piecePoints.data() + 2 * (p.pieceFirst[k] - 1);
        const CrossingOutput<float> out = crossRay(r.ray, first, last, line, p.pieceLast[k] - p.pieceFirst[k] + 1,
                                                   plain, 0, points + 2 * pass.count, room - pass.count);
        pass.count += out.count;
        if (out.overflow > 0) {
            pass.err = out.overflow;
            return pass;
        }
        if (out.count > 0) {
            side(a1) = '1';
            if (a2 != 0)
                side(a2) = '1';
            marked = true;
        }
    }
    if (marked) {
        for (std::int32_t k = 0; k < o.outlineCount; ++k) {
            char& m = marks[std::size_t(k)];
            if (m == '2' && o.outlinePairMarks[std::size_t(k)][0] == 0)
                m = '0';
            else if (m == '9')
                m = '2';
        }
    }
    return pass;
}

RadialPass GEORADA(const OutlineSet& set, std::vector<char>& marks, std::int32_t only, float* points, std::int32_t room)
{
    const RadialState& r = radial();
    marks.resize(std::size_t(std::max(set.count, 0)), '-');
    RadialPass pass;
    const std::int32_t from = only == 0 ? 1 : only, to = only == 0 ? set.count : std::min(only, set.count);
    for (std::int32_t i = std::max(from, 1); i <= to; ++i) {
        const StoreOutline o = set.outline(i);
        char& mark = marks[std::size_t(i - 1)];
        mark = '-';
        const bool plain = r.ray.normal && isNormal(o.window);
        if (!windowsOverlap(o.window, r.ray.window) || !rayMeetsWindow(r.ray, o.window, plain))
            continue;
        mark = '+';
        pass.far = false;
        const auto [first, last] = rayPartNear(r.ray, o.window);
        float* found = points + 2 * pass.count;
        const CrossingOutput<float> out =
            crossRay(r.ray, first, last, o.points, o.n, plain, 0, found, room - pass.count);
        // A crossing met before in this pass is dropped; the last new one takes its place.
        std::int32_t kept = out.count;
        for (std::int32_t c = 0; c < kept;) {
            const float* q = found + 2 * c;
            bool seen = false;
            for (const float* e = points; e < q && !seen; e += 2)
                seen = e[0] == q[0] && e[1] == q[1];
            if (!seen) {
                ++c;
                continue;
            }
            --kept;
            std::copy_n(found + 2 * kept, 2, found + 2 * c);
        }
        pass.count += kept;
        if (out.overflow > 0) {
            pass.err = out.overflow;
            return pass;
        }
    }
    return pass;
}

RadialPass GEORADA(AreaStore store, std::int32_t only, float* points, std::int32_t room)
{
    return GEORADA(storeOutlines(store), crossingMarks(store), only, points, room);
}

Point GEORADE()
{
    const RadialState& r = radial();
    return pointOf(r.ray.points.data(), r.ray.n - 1);
}

std::int32_t GEORADS(float* points, float* distancesKm, std::int32_t n)
{
    const RadialState& r = radial();
    struct Stop {
        float distanceKm;
        Point at;
    };
    std::vector<Stop> stops(std::size_t(std::max(n, 0)));
    for (std::int32_t i = 0; i < n; ++i) {
        const Point at = pointOf(points, i);
        stops[std::size_t(i)] = {distanceKm(r.start, at), at};
    }
    // Stable, as the bubble sort it stands for.
    std::stable_sort(stops.begin(), stops.end(),
                     [](const Stop& a, const Stop& b) { return a.distanceKm < b.distanceKm; });
    std::vector<Stop> kept;
    for (std::size_t i = 0; i < stops.size(); ++i)
        if (i == 0 || stops[i].distanceKm - stops[i - 1].distanceKm > kSameCrossingKm)
            kept.push_back(stops[i]);
    if (kept.size() >= 2 && kept.front().distanceKm <= kSameCrossingKm)
        kept.erase(kept.begin());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        setPoint(points, long(i), kept[i].at);
        distancesKm[i] = kept[i].distanceKm;
    }
    return std::int32_t(kept.size());
}

Point GEORADT(std::int32_t k, const float* points, const float* distancesKm, std::int32_t n)
{
    RadialState& r = radial();
    r.stretch = k;
    if (k < 1 || k > n)
        return r.start;
    const float* R = r.ray.distances.data();
    const float d = distancesKm[k - 1];
    if (r.vertex > r.ray.n || R[r.vertex - 1] >= d)
        r.vertex = 1;  // a stretch taken out of order starts the walk again
    while (r.vertex < r.ray.n && R[r.vertex] < d)
        ++r.vertex;
    const std::int32_t v = r.vertex;
    std::int32_t j = std::min(r.crossing, k - 1);
    while (j > 0 && distancesKm[j - 1] >= d)
        --j;
    while (j + 1 < k && distancesKm[j] < d)
        ++j;
    r.crossing = j;

    auto P = [&r](std::int32_t i) { return pointOf(r.ray.points.data(), i - 1); };
    auto X = [points](std::int32_t i) { return pointOf(points, i - 1); };
    Point a = r.start, b = X(k);
    double f = 0.5;
    if (v >= 2 && j >= 1) {
        const float Dj = distancesKm[j - 1], Rv = R[v - 1];
        if (Dj > Rv) {
            a = X(j);
        } else if (v < 3 || R[v - 2] < Dj) {
            if (d - Rv < Rv - Dj)
                a = X(j), b = P(v), f = 0.75;
            else
                a = P(v), f = 0.25;
        } else {
            a = P(v - 1), b = P(v);
        }
    } else if (v >= 2) {
        a = P(v - 1), b = P(v), f = 0.75;
    } else if (j >= 1) {
        a = X(j);
    }
    double lonA = a.lon, lonB = b.lon;
    if (std::fabs(lonA - lonB) >= double(kPi))
        (lonA < lonB ? lonA : lonB) += double(kTwoPi);
    const double lon = wrapLongitude(lonA + f * (lonB - lonA));
    return {float(lon), float(double(a.lat) + f * (double(b.lat) - double(a.lat)))};
}

std::string GEOCTPT(Point p, std::int32_t mode)
{
    if (p.lat > kNoSymbolLat)
        return "   ";
    if (p.lat < kAntarcticLat)
        return std::string(mode == 1 ? kAnyLand : "ATA");
    RadialState& r = radial();
    OutlineRecord& o = libraryState().map.outlines;
    auto& memory = r.stretchArea[std::size_t(std::clamp(r.stretch, 1, kStretchMemory) - 1)];
    const auto seq = o.outlineSeq.begin(), seqEnd = seq + o.outlineCount;
    if (const auto at = std::find(seq, seqEnd, memory); at != seqEnd)
        GEOFRNT(o.outlineSeq.data(), std::int32_t(at - seq) + 1);
    auto mark = [&r](std::int32_t k) { return r.searchMarks[std::size_t(k - 1)]; };
    for (const char pass : {'1', '2'}) {
        for (std::int32_t position = 0; position < o.outlineCount; ++position) {
            const std::int16_t k = o.outlineSeq[std::size_t(position)];
            if (mark(k) != pass || !outlineHoldsPoint(o, std::size_t(k - 1), p))
                continue;
            memory = k;
            if (mode == 1)
                return std::string(kAnyLand);
            for (const std::int16_t enclave : o.outlinePairMarks[std::size_t(k - 1)]) {
                if (enclave != 0 && mark(enclave) != '0' && outlineHoldsPoint(o, std::size_t(enclave - 1), p)) {
                    memory = enclave;
                    return fromSymbol(o.outlineSymbol[std::size_t(enclave - 1)]);
                }
            }
            return fromSymbol(o.outlineSymbol[std::size_t(k - 1)]);
        }
    }
    return "   ";
}

RadialFrame radialStretches(Point start, float distKm, float azimuthDeg, std::int32_t mode, bool areasAlways,
                            const std::function<RadialPass(float* points, std::int32_t room)>& areas, Stretches& s)
{
    RadialFrame frame;
    const RadialPass map = GEORADX(start, distKm, azimuthDeg, mode, s.points, s.capacity);
    frame.farFromMap = map.far;
    s.count = map.count;
    s.err = map.err;
    if (s.err != 0)
        return frame;
    if ((!map.far || areasAlways) && areas) {
        const RadialPass a = areas(s.points + 2 * s.count, s.capacity - s.count);
        frame.farFromAreas = a.far;
        s.count += a.count;
        s.err = a.err;
        if (s.err != 0)
            return frame;
    }
    if (s.count >= s.capacity) {
        s.err = 1;
        return frame;
    }
    setPoint(s.points, s.count, GEORADE());
    ++s.count;
    if (frame.farFromMap && frame.farFromAreas) {
        s.distancesKm[s.count - 1] = distKm;
        return frame;
    }
    s.count = GEORADS(s.points, s.distancesKm, s.count);
    frame.ready = true;
    return frame;
}

}  // namespace geo
