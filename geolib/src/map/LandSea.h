#pragma once

#include "geometry/Sphere.h"

#include <cstdint>

// Land and sea along a radial: the stretches of a radial, each over land or at sea, with the
// value that a map of areas (the coordination areas of CNDMAP, or the zone list) gives there.
// Points are longitude, latitude pairs in radians, distances km, azimuths degrees.
namespace geo {

struct RadialWalk {
    std::int32_t n = 0;    // stretches written
    std::int32_t err = 0;  // 1 no room for the end point, else the crossings' overflow
};

/// GEOCDVL: the coordination value at the point (0 to 65535): of the first area met by the last
/// radial that holds it, its land value (mode 1) or sea value (other modes); else the land
/// default (mode 1) or the sea default.
std::int32_t GEOCDVL(Point p, std::int32_t mode);
/// GEOCSVL: the same over the zone list and its defaults.
float GEOCSVL(Point p, std::int32_t mode);

/// GEOCAC3: the stretches of the radial over the coordination areas of CNDMAP, at most nmax:
/// end points, end distances and values; equal neighbours merged. On failure n counts the
/// crossing points found before it, without distances or values.
RadialWalk GEOCAC3(Point start, float distKm, float azimuthDeg, std::int32_t nmax, float* points, float* distancesKm,
                   std::int32_t* values);
/// GEOCAC2: GEOCAC3 with whole km and degrees in; on success the distances are rounded to
/// whole km; on failure they are left as they were.
RadialWalk GEOCAC2(Point start, std::int32_t distKm, std::int32_t azimuthDeg, std::int32_t nmax, float* points,
                   std::int32_t* distancesKm, std::int32_t* values);
/// GEOCOC3 (and GEOCOC4, GEOGCC3): the same over the zone list as last built.
RadialWalk GEOCOC3(Point start, float distKm, float azimuthDeg, std::int32_t nmax, float* points, float* distancesKm,
                   float* values);
/// GEOPRZC: GEOCOC3 over one sub-path of a propagation path, `room` stretches at most.
RadialWalk GEOPRZC(Point start, float distKm, float azimuthDeg, std::int32_t room, float* points,
                   float* distancesKm, float* values);

}  // namespace geo
