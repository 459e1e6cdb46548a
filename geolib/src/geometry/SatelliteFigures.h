#pragma once

#include <cstdint>

// Ground figures of a geostationary satellite over the equator at longitude satLon (radians):
// the contour where it is seen at a given elevation and the footprint of an elliptical beam.
// Points are longitude, latitude pairs of 4-byte reals in radians.
namespace geo {

/// Earth and orbit radii in km: a value below 0.5 takes its default, both when the orbit is
/// not above the earth.
struct SatelliteRadii {
    double earthKm;
    double orbitKm;
};
SatelliteRadii satelliteRadii(float earthKm, float orbitKm);

/// The closed contour of n points (n limited to 600) where the satellite stands at
/// elevationDeg; returns the count, 0 when n is at most 4.
std::int32_t elevationContour(const SatelliteRadii& radii, double satLon, double elevationDeg, std::int32_t n,
                              float* points);

/// The view from the satellite: the plane at distance d from it that holds the earth's limb,
/// a circle of radius rho, and the values the ground points need.
struct BeamSetup {
    double earthKm, orbitKm;
    double d, rho, d2, dOrbit, dOrbit2, orbit2MinusEarth2;
};
BeamSetup beamSetup(const SatelliteRadii& radii);

/// Boresight (lat, lon) as east-west and north-south view angles; visible when on the near side.
void GEOELS0(const BeamSetup& v, double lat, double lon, double satLon, double& alpha0, double& beta0, bool& visible);
/// The beam edge at angle theta of the ellipse (half axes a, b, turned by o; radians) around
/// the boresight; flag 0 with the ground point, -1 when the ray misses the earth.
void GEOELS1(const BeamSetup& v, double theta, double o, double a, double b, double alpha0, double beta0,
             double satLon, double& lat, double& lon, std::int32_t& flag);
/// Limb points from hit A to hit B (lon, lat pairs), anticlockwise as seen from the satellite,
/// at most `room` of them; returns their count.
std::int32_t GEOELS2(const BeamSetup& v, double satLon, const float* hitA, const float* hitB, std::int32_t room,
                     float* limb);
/// A ground point as a point of the view plane.
void GEOELS3(const BeamSetup& v, double satLon, double lat, double lon, double& x, double& y);
/// A point of the view plane as the ground point it sees (a point off the disc is taken on its rim).
void GEOELS4(const BeamSetup& v, double satLon, double x, double y, double& lat, double& lon);

struct BeamResult {
    std::int32_t count = 0;
    std::int32_t status = 0;  // gaps filled with limb points; 999 when no footprint was made
};

struct Beam {
    double boreLon, boreLat;                 // radians
    double majorDeg, minorDeg, orientationDeg;
};

/// The footprint of the beam as a closed ring of at most n points (n limited to 600), flagged
/// 0 on the beam edge and 1 on the earth's limb; n below 10 gives count 0 and status 999.
BeamResult beamFootprint(const SatelliteRadii& radii, double satLon, const Beam& beam, std::int32_t n, float* points,
                         std::int32_t* flags);

}  // namespace geo
