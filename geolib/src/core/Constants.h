#pragma once

// The library's 4-byte constants, used exactly as these values. Arithmetic is done in double;
// a constant is widened from its float value, never retyped as a decimal double.
namespace geo {

// The sphere
inline constexpr float kEarthRadiusKm = 6373.0f;
inline constexpr float kPi = 3.141593f;
inline constexpr float kTwoPi = 6.283186f;
inline constexpr float kHalfPi = 1.5707965f;
inline constexpr float kQuarterPi = 0.78539824f;

// Angle units
inline constexpr float kDegreesPerRadian = 57.295773f;
inline constexpr float kRadPerDegree = 0.017453294f;
inline constexpr float kRadPerMinute = 0.00029088825f;
inline constexpr float kRadPerSecond = 4.8481375e-6f;
inline constexpr float kSecondsPerRadian = 206264.78125f;

// Limits of the distance and azimuth formulas
inline constexpr float kFlatEarthLimit = 0.00785f;         // rad; below it the plane formula serves
inline constexpr float kZeroDistanceLimit = 3.3936963e-6f; // rad
inline constexpr float kCoincidence = 9.696275e-7f;        // rad; points closer are one point
inline constexpr float kCosineLimit = 0.9999999f;
inline constexpr float kSmallestDivisor = 1e-10f;

}  // namespace geo
