#pragma once

#include "geometry/Sphere.h"
#include "geometry/Windows.h"

#include <cstdint>

// Distances, azimuths and points along great circles on the sphere of radius 6373.0 km.
// Distances are km, azimuths degrees clockwise from north, angles radians.
namespace geo {

/// Great-circle distance; below the flat-earth limit the plane form on point 1's latitude,
/// exactly 0 below about 21.6 m.
float distanceKm(Point p1, Point p2);
/// The distance rounded to whole km, halves away from zero.
std::int32_t distanceWholeKm(Point p1, Point p2);
/// Plane approximation with the cosine of the whole-degree mean latitude from a table.
float flatDistanceKm(Point p1, Point p2);

struct DistanceAzimuth {
    float distanceKm;
    float azimuthDeg;  // 0 to below 360
};

/// Distance and initial azimuth from point 1 to point 2.
DistanceAzimuth distanceAzimuth(Point p1, Point p2);
/// The point reached from `start` along the azimuth over the distance.
Point destination(Point start, float distKm, float azimuthDeg);

/// n points from p1 to p2 (the last exactly p2; n = 1 gives p2; n <= 0 writes nothing):
/// even steps of longitude and latitude, the short way across 180 degrees.
void evenLine(Point p1, Point p2, std::int32_t n, float* points);
/// n points in even steps on the Mercator projection; n = 1 gives p1, n <= 0 writes nothing.
void mercatorLine(Point p1, Point p2, std::int32_t n, float* points);
/// n points evenly spaced along the great circle; n = 1 gives p2, n <= 0 writes nothing.
void greatCircleLine(Point p1, Point p2, std::int32_t n, float* points);

/// True when the point lies within distKm of the window.
bool nearWindow(const Window& w, Point p, float distKm);

inline constexpr int kRayCapacity = kLongRaySteps + 2;

/// A ray of points from `start` along the azimuth over distKm: every 50 km (or dist/160
/// beyond 8000 km) and the end. Writes at most 162 points and their distances from the start,
/// their count, their window and whether that window is normal.
void GEOAZL(Point start, float distKm, float azimuthDeg, float* points, float* distancesKm, std::int32_t& n,
            Window& window, bool& normal);

struct DistanceAzimuths {
    std::int32_t distanceKm;
    std::int32_t azimuth1Deg;  // at point 1 towards point 2, 0..359
    std::int32_t azimuth2Deg;  // at point 2 towards point 1, 0..359
};

/// Great-circle distance in whole km and the azimuths at both ends in whole degrees.
DistanceAzimuths distanceAndAzimuths(float lon1, float lat1, float lon2, float lat2);

}  // namespace geo
