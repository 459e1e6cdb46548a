#pragma once

// The reference of the distance tests: the nearest point of lines taken as straight in
// longitude and latitude (the short way across 180 degrees), found from dense samples, with
// GeographicLib's distances on the library's sphere.
#include "geolib/GeometryReference.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace line_reference {

namespace ref = geometry_reference;
constexpr double kPi = ref::kPi;
constexpr double kCoarseKm = 4.0;  // first samples this far apart

struct Nearest {
    double distanceKm = 1e9;
    double lon = 0, lat = 0;
};

inline double wrap(double lon)
{
    return lon > kPi ? lon - 2 * kPi : lon < -kPi ? lon + 2 * kPi : lon;
}

inline double chordKm(double lon1, double lat1, double lon2, double lat2)
{
    const double dx = std::cos(lat1) * std::cos(lon1) - std::cos(lat2) * std::cos(lon2);
    const double dy = std::cos(lat1) * std::sin(lon1) - std::cos(lat2) * std::sin(lon2);
    const double dz = std::sin(lat1) - std::sin(lat2);
    return 2 * ref::kEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(dx * dx + dy * dy + dz * dz) / 2));
}

/// Points a..b of a segment, `steps` even steps; `keep` filters the samples.
using Keep = std::function<bool(double lon, double lat)>;

/// The nearest sample of the line (points as longitude, latitude pairs) to (lon, lat). Segments
/// that cannot come nearer than the best so far are passed over; `segmentCounts(k)` leaves out
/// segment k (from 0).
inline Nearest nearestOnLine(float lon, float lat, const std::vector<float>& pts, const Keep& keep = {},
                             const std::function<bool(std::size_t)>& segmentCounts = {})
{
    Nearest best;
    const std::size_t n = pts.size() / 2;
    auto at = [&](std::size_t i) { return std::pair<double, double>{pts[2 * i], pts[2 * i + 1]}; };
    auto consider = [&](double x, double y) {
        if (keep && !keep(x, y))
            return;
        const double d = chordKm(lon, lat, x, y);
        if (d < best.distanceKm)
            best = {d, x, y};
    };
    if (n == 1)
        consider(pts[0], pts[1]);
    // Segments by their nearer end, so that the bound tightens early.
    std::vector<std::pair<double, std::size_t>> order;
    for (std::size_t k = 0; k + 1 < n; ++k)
        order.push_back({std::min(chordKm(lon, lat, at(k).first, at(k).second),
                                  chordKm(lon, lat, at(k + 1).first, at(k + 1).second)), k});
    std::sort(order.begin(), order.end());
    for (const auto& [nearerEnd, k] : order) {
        if (segmentCounts && !segmentCounts(k))
            continue;
        const auto [x1, y1] = at(k);
        const auto [x2, y2] = at(k + 1);
        const double dlon = wrap(x2 - x1), dlat = y2 - y1;
        // No point of the segment lies farther along it from an end than this.
        const double length = ref::kEarthRadiusKm * std::hypot(dlon, dlat);
        if (nearerEnd - length > best.distanceKm)
            continue;
        const int steps = std::max(8, int(length / kCoarseKm));
        auto sampleAt = [&](double t) { return std::pair<double, double>{wrap(x1 + dlon * t), y1 + dlat * t}; };
        int bestStep = -1;
        double bestHere = 1e9;
        for (int i = 0; i <= steps; ++i) {
            const auto [x, y] = sampleAt(double(i) / steps);
            if (keep && !keep(x, y))
                continue;
            const double d = chordKm(lon, lat, x, y);
            if (d < bestHere)
                bestHere = d, bestStep = i;
        }
        if (bestStep < 0 || bestHere - length / steps > best.distanceKm)
            continue;
        // Narrowed in on the nearest sample's neighbourhood, where the distance has one minimum;
        // the kept samples of a segment form one stretch, whose ends are found first.
        const double found = double(bestStep) / steps;
        const auto kept = [&](double t) { return !keep || keep(sampleAt(t).first, sampleAt(t).second); };
        const auto keptEnd = [&](double t) {
            double in = found;
            for (int round = 0; round < 50 && !kept(t); ++round)
                (kept((in + t) / 2) ? in : t) = (in + t) / 2;
            return kept(t) ? t : in;
        };
        double lo = keptEnd(std::max(bestStep - 1, 0) / double(steps));
        double hi = keptEnd(std::min(bestStep + 1, steps) / double(steps));
        const auto distanceAt = [&](double t) { return chordKm(lon, lat, sampleAt(t).first, sampleAt(t).second); };
        for (int round = 0; round < 40; ++round) {
            const double a = lo + (hi - lo) / 3, b = hi - (hi - lo) / 3;
            if (distanceAt(a) < distanceAt(b))
                hi = b;
            else
                lo = a;
        }
        consider(sampleAt((lo + hi) / 2).first, sampleAt((lo + hi) / 2).second);
    }
    if (best.distanceKm < 1e9)
        best.distanceKm = ref::inverse(lon, lat, float(best.lon), float(best.lat)).distanceKm;
    return best;
}

}  // namespace line_reference
