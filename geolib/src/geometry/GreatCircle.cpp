#include "GreatCircle.h"

#include "core/Utilities.h"

#include <algorithm>
#include <cmath>

namespace geo {
namespace {

constexpr double kR = kEarthRadiusKm;

// A whole azimuth of 360 degrees is 0.
std::int32_t wrap360(std::int32_t az)
{
    return az == 360 ? 0 : az;
}

// Cosines of whole degrees of latitude 0..90 in 1112ths.
constexpr short kCosine1112[91] = {
    1112, 1112, 1112, 1111, 1110, 1108, 1106, 1104, 1101, 1099, 1095, 1092, 1088, 1084, 1079, 1074, 1069, 1064, 1058,
    1052, 1045, 1038, 1031, 1024, 1016, 1008, 999,  991,  982,  973,  963,  953,  943,  933,  922,  911,  899,  888,
    876,  864,  852,  839,  826,  813,  800,  786,  772,  758,  744,  729,  714,  699,  684,  669,  653,  637,  621,
    605,  589,  572,  556,  539,  522,  504,  487,  470,  452,  434,  416,  398,  380,  362,  343,  325,  306,  288,
    269,  250,  231,  212,  193,  174,  155,  135,  116,  97,   78,   58,   39,   19,   0};

double square(double x)
{
    return x * x;
}

// A sine or cosine that reached 1 in size is kept just inside it.
double insideUnit(double v)
{
    if (v >= 1)
        return kCosineLimit;
    return v <= -1 ? -double(kCosineLimit) : v;
}

}  // namespace

float distanceKm(Point p1, Point p2)
{
    const double lat1 = p1.lat, lat2 = p2.lat;
    const double dlon = shortLongitude(double(p2.lon) - p1.lon);
    const double c1 = kHalfPi - lat1, c2 = kHalfPi - lat2;
    const double x = std::cos(dlon) * std::sin(c1) * std::sin(c2) + std::cos(c1) * std::cos(c2);
    double d = std::acos(std::clamp(x, -1.0, 1.0));
    if (d < kFlatEarthLimit) {
        d = std::sqrt(square(lat2 - lat1) + square(dlon * std::cos(lat1)));
        if (d < kZeroDistanceLimit)
            return 0.0f;
    }
    return float(d * kR);
}

std::int32_t distanceWholeKm(Point p1, Point p2)
{
    return roundHalfAway(distanceKm(p1, p2));
}

float flatDistanceKm(Point p1, Point p2)
{
    const double dx = shortLongitude(double(p1.lon) - p2.lon);
    const double dy = std::fabs(double(p1.lat) - p2.lat);
    // Beyond +-90 degrees the table's last entry serves; the mean is held to the table before
    // it is rounded, so that no latitude reaches past it.
    const double meanDeg = std::fabs((double(p1.lat) + p2.lat) / 2 * kDegreesPerRadian);
    const std::int32_t i = roundHalfAway(std::min(meanDeg, 90.0));
    const float cosine = float(kCosine1112[i]) / 1112.0f;
    return float(std::sqrt(square(dx * cosine) + square(dy)) * kR);
}

DistanceAzimuth distanceAzimuth(Point p1, Point p2)
{
    const double lat1 = p1.lat, lat2 = p2.lat;
    const double dl = double(p2.lon) - p1.lon;
    const double c = std::fabs(dl);
    const bool sameMeridian = atPole(lat2) || atPole(lat1) || c <= kCoincidence;
    if (sameMeridian || std::fabs(c - kPi) <= kCoincidence) {
        const double arc = sameMeridian ? std::fabs(lat2 - lat1) : arcOverPole(lat1, lat2);
        const bool south = sameMeridian ? lat2 - lat1 < 0 : lat1 + lat2 < 0;
        return {arc < kZeroDistanceLimit ? 0.0f : float(arc * kR), south ? 180.0f : 0.0f};
    }

    const Turn turn = turnOf(dl);
    const double c1 = kHalfPi - lat1, c2 = kHalfPi - lat2;
    const double w = clampCosine(std::cos(turn.angle) * std::sin(c1) * std::sin(c2) + std::cos(c2) * std::cos(c1));
    const double d = std::acos(w);
    double dist = 0, az = 0;
    if (d >= kFlatEarthLimit) {
        dist = d * kR;
        const double s = std::max(std::sin(d) * std::sin(c1), double(kSmallestDivisor));
        az = std::acos(clampCosine((std::cos(c2) - w * std::cos(c1)) / s)) * kDegreesPerRadian;
    } else {
        const double dlat = lat2 - lat1;
        const double r = std::sqrt(square(dlat) + square(turn.angle * std::cos(lat1)));
        dist = r < kZeroDistanceLimit ? 0 : r * kR;
        if (turn.angle <= kRadPerSecond)
            az = dlat >= 0 ? 0 : 180;
        else
            az = std::acos(clampCosine(dlat / std::max(r, double(kRadPerSecond)))) * kDegreesPerRadian;
    }
    const float azimuth = float(turn.east ? az : 360 - az);
    return {float(dist), azimuth == 360.0f ? 0.0f : azimuth};
}

Point destination(Point start, float distKm, float azimuthDeg)
{
    const double lon = start.lon, lat = start.lat, az = azimuthDeg;
    const double dd = double(distKm) / kR;
    auto near = [](double a, double b) { return std::fabs(a - b) <= kCoincidence; };
    const bool pole = atPole(lat);
    if (pole || near(az, 180) || near(az, 360) || near(az, 0)) {
        const bool down = pole ? lat > 0 : near(az, 180);
        double lat2 = down ? lat - dd : lat + dd;
        if (lat2 > kPi)
            lat2 -= kTwoPi;
        else if (lat2 < -kPi)
            lat2 += kTwoPi;
        double lon2 = lon;
        if (lat2 > kHalfPi || lat2 < -kHalfPi) {  // past a pole, onto the opposite meridian
            lat2 = lat2 > 0 ? kPi - lat2 : -(lat2 + kPi);
            lon2 = lon + kPi;
        }
        return {float(lon2 > kPi ? lon2 - kTwoPi : lon2), float(lat2)};
    }

    const double lon0 = lon < 0 ? lon + kTwoPi : lon;
    const double c1 = kHalfPi - lat;
    const bool west = az > 180;
    const double A = west ? kTwoPi - az * kRadPerDegree : az * kRadPerDegree;
    const double x = insideUnit(std::cos(dd) * std::cos(c1) + std::sin(dd) * std::sin(c1) * std::cos(A));
    const double c2 = std::acos(x);
    const double s = std::max(std::sin(c2), double(kSmallestDivisor));
    double dl = std::asin(insideUnit(std::sin(dd) / s * std::sin(A)));
    if (std::cos(dd) - std::cos(c1) * x < 0)
        dl = kPi - dl;
    double L = west ? lon0 - dl : lon0 + dl;
    if (L > kTwoPi)
        L -= kTwoPi;
    else if (L < 0)
        L += kTwoPi;
    return {float(L > kPi ? L - kTwoPi : L), float(kHalfPi - c2)};
}

void evenLine(Point p1, Point p2, std::int32_t n, float* points)
{
    if (n <= 0)
        return;
    const std::int32_t m = n - 1;
    double from = p1.lon, to = p2.lon;
    const bool across = std::fabs(to - from) >= kPi;  // the short way crosses 180 degrees
    if (across && to < from)
        to += kTwoPi;
    else if (across)
        from += kTwoPi;
    setPoint(points, 0, p1);
    for (std::int32_t i = 1; i < m; ++i) {
        const double f = double(i) / m;
        const double lon = from + (to - from) * f;
        setPoint(points, i, {float(across ? wrapLongitude(lon) : lon), float(p1.lat + (double(p2.lat) - p1.lat) * f)});
    }
    setPoint(points, m, p2);
}

void mercatorLine(Point p1, Point p2, std::int32_t n, float* points)
{
    if (n <= 0)
        return;
    setPoint(points, 0, p1);
    if (n == 1)
        return;
    double lon1 = p1.lon, lat1 = p1.lat, lon2 = p2.lon, lat2 = p2.lat;
    const double limit = kMercatorLatLimit;
    // A latitude too near a pole is held at the limit, on the other point's meridian.
    if (std::fabs(lat1) > limit) {
        lat1 = std::copysign(limit, lat1);
        lon1 = lon2;
    }
    if (std::fabs(lat2) > limit) {
        lat2 = std::copysign(limit, lat2);
        lon2 = lon1;
    }
    auto mercator = [](double lat) { return std::log(std::tan((lat + kHalfPi) * 0.5)); };
    const double y1 = mercator(lat1), y2 = mercator(lat2);
    const double dlon = wrapLongitude(lon2 - lon1);
    for (std::int32_t k = 1; k < n - 1; ++k) {
        const double f = double(k) / (n - 1);
        const double lat = (std::atan(std::exp(y1 + (y2 - y1) * f)) - kQuarterPi) * 2;
        setPoint(points, k, {float(wrapLongitude(lon1 + dlon * f)), float(lat)});
    }
    setPoint(points, n - 1, p2);
}

void greatCircleLine(Point p1, Point p2, std::int32_t n, float* points)
{
    if (n <= 0)
        return;
    if (n > 1) {
        const DistanceAzimuth da = distanceAzimuth(p1, p2);
        const double step = double(da.distanceKm) / (n - 1);
        setPoint(points, 0, p1);
        for (std::int32_t k = 1; k < n - 1; ++k)
            setPoint(points, k, destination(p1, float(k * step), da.azimuthDeg));
    }
    setPoint(points, n - 1, p2);
}

bool nearWindow(const Window& w, Point p, float distKm)
{
    if (pointInWindow(p, w))
        return true;
    const double lat = p.lat;
    double b = 0;
    bool viaEdge = false;
    const bool inBand = isNormal(w) ? w.west <= p.lon && p.lon <= w.east : p.lon >= w.west || p.lon <= w.east;
    if (inBand) {
        b = std::min(std::fabs(lat - w.north), std::fabs(lat - w.south));
        viaEdge = true;
    } else {
        // Angular distance to the great circle of the nearer edge's meridian.
        const double dl =
            std::min(shortLongitude(double(p.lon) - w.west), shortLongitude(double(p.lon) - w.east));
        b = std::asin(std::cos(lat) * std::sin(dl));
        if (dl > kHalfPi && kHalfPi - lat > b)
            b = kPi - b;
        if (std::min(lat + kHalfPi, kHalfPi - lat) > b) {
            const double foot = std::asin(std::clamp(std::sin(lat) / std::cos(b), -1.0, 1.0));
            viaEdge = w.south <= foot && foot <= w.north;
        }
    }
    if (viaEdge)
        return b * kR <= distKm;
    const Point corners[] = {{w.west, w.south}, {w.east, w.south}, {w.west, w.north}, {w.east, w.north}};
    return std::any_of(std::begin(corners), std::end(corners),
                       [&](Point c) { return distanceKm(p, c) <= distKm; });
}

void GEOAZL(Point start, float distKm, float azimuthDeg, float* points, float* distancesKm, std::int32_t& n,
            Window& window, bool& normal)
{
    const float step = distKm > kLongRayKm ? distKm / float(kLongRaySteps) : kRayStepKm;
    const double steps = double(distKm) / step;
    const std::int32_t k = steps >= 1 ? std::int32_t(std::min(steps, double(kLongRaySteps))) : 1;
    setPoint(points, 0, start);
    distancesKm[0] = 0.0f;
    for (std::int32_t i = 1; i <= k; ++i) {
        distancesKm[i] = float(i * double(step));
        setPoint(points, i, destination(start, distancesKm[i], azimuthDeg));
    }
    n = k + 1;
    if (double(distKm) - k * double(step) > kRayRemainderKm)
        ++n;  // the end earns a point of its own; otherwise it replaces the last step
    distancesKm[n - 1] = distKm;
    setPoint(points, n - 1, destination(start, distKm, azimuthDeg));
    window = boundingWindow(points, n);
    normal = isNormal(window);
}

DistanceAzimuths distanceAndAzimuths(float lon1f, float lat1f, float lon2f, float lat2f)
{
    const double lat1 = lat1f, lat2 = lat2f;
    const double dlon = double(lon2f) - double(lon1f);
    const double r = kEarthRadiusKm;

    auto meridian = [&](double dlat, std::int32_t distance) {
        return dlat < 0 ? DistanceAzimuths{distance, 180, 0} : DistanceAzimuths{distance, 0, 180};
    };
    if (atPole(lat2) || std::fabs(dlon) <= kCoincidence || atPole(lat1))
        return meridian(lat2 - lat1, roundHalfAway(std::fabs(lat2 - lat1) * r));
    if (std::fabs(std::fabs(dlon) - kPi) <= kCoincidence) {
        const std::int32_t az = lat1 + lat2 < 0 ? 180 : 0;
        return {roundHalfAway(arcOverPole(lat1, lat2) * r), az, az};
    }
    const Turn turn = turnOf(dlon);
    const double a = turn.angle;
    const bool east = turn.east;

    const double cosC = clampCosine(std::sin(lat1) * std::sin(lat2) + std::cos(lat1) * std::cos(lat2) * std::cos(a));
    const double c = std::acos(cosC);
    if (c < kFlatEarthLimit) {
        const double dl = lat2 - lat1;
        const double x = a * std::cos(lat1);
        const double s = std::max(std::sqrt(x * x + dl * dl), double(kRadPerSecond));
        const std::int32_t distance = roundHalfAway(s * r);
        if (a <= kRadPerSecond)
            return meridian(dl, distance);
        const std::int32_t az = roundHalfAway(std::acos(clampCosine(dl / s)) * kDegreesPerRadian);
        const std::int32_t az1 = east ? az : 360 - az;
        const std::int32_t az2 = az1 + 180 <= 360 ? az1 + 180 : az1 - 180;
        return {distance, wrap360(az1), wrap360(az2)};
    }
    const double sinC = std::sin(c);
    const double a1 = std::acos(clampCosine((std::sin(lat2) - cosC * std::sin(lat1)) /
                                            std::max(sinC * std::cos(lat1), double(kSmallestDivisor))));
    const double a2 = std::acos(clampCosine((std::sin(lat1) - cosC * std::sin(lat2)) /
                                            std::max(sinC * std::cos(lat2), double(kSmallestDivisor))));
    const std::int32_t A1 = roundHalfAway(a1 * kDegreesPerRadian);
    const std::int32_t A2 = roundHalfAway(a2 * kDegreesPerRadian);
    return east ? DistanceAzimuths{roundHalfAway(c * r), wrap360(A1), wrap360(360 - A2)}
                : DistanceAzimuths{roundHalfAway(c * r), wrap360(360 - A1), wrap360(A2)};
}

}  // namespace geo
