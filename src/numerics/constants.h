// The physical and angular constants that several routines share, each with
// its one value. All are single precision, as the routines compute.
//
// Some of them are deliberately not the nearest float to their mathematical
// value: the routines that use them have always computed with these
// truncations, and every stored result (atlases, roses, predictions) depends
// on them bit for bit. They are marked "deliberate" below and must not be
// replaced by the exact values.
#pragma once

namespace kavi::numerics {

// ---- Roughness -----------------------------------------------------------

// The smallest roughness length (m) any routine works with: lower values
// (water, zero, bad input) are raised to it before a logarithm or a profile.
// It is also the roughness of open water in the transfer between surfaces.
constexpr float kRoughnessFloor = 0.0002f;

// Roughness lengths (m) below which a surface counts as water. Each step has
// its own limit, fixed by the way its input is made; they differ on purpose.
//  - a roughness value of the map, and the site and sector roughness that the
//    rose builds from the map:
constexpr float kWaterMapRoughness = 0.0005f;
//  - a ring of the rose's fitted step profile:
constexpr float kWaterRingRoughness = 0.0004f;
//  - a standard roughness class of the atlas (as a transfer's starting surface):
constexpr float kWaterClassRoughness = 0.00022f;
//  - a stretch of the rose when the upstream land fraction is counted:
constexpr float kWaterStretchRoughness = 0.00005f;

// ---- Angles --------------------------------------------------------------

// π and 2π, the floats nearest to them.
constexpr float kPi = 3.14159265f;
constexpr float kTwoPi = 2.0f * kPi;
// Degrees per radian and radians per degree from kPi (180 / π rounded once
// from the float π; π / 180 is the float nearest to it).
constexpr float kDegreesPerRadian = 180.0f / kPi;
constexpr float kRadiansPerDegree = kPi / 180.0f;

// Deliberate: the bearings of the zooming grid's rays are converted with the
// literal 57.29578, one unit in the last place above kDegreesPerRadian.
constexpr float kRayDegreesPerRadian = 57.29578f;
// Deliberate: the cross-isobar turning of the drag law (atlas generalisation
// and station winds) is converted with π to five decimals, 180 / 3.14159.
constexpr float kTurningDegreesPerRadian = 180.0f / 3.14159f;
// Deliberate: the latitude of the Coriolis parameter is converted with
// π / 180 to four significant digits, 0.01745.
constexpr float kCoriolisRadiansPerDegree = 0.01745f;

}  // namespace kavi::numerics
