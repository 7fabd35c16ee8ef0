// Small input files for whole calculations through the tool: flat terrain of
// uniform roughness, a uniform wind atlas, and an observed wind climate drawn
// from a known Weibull distribution.
#pragma once

#include <string>

namespace kavi::e2e {

// Cartesian map, no transformation: one closed line 15 km around the origin
// that is a height contour at elevation 100 m and has roughness 0.03 m on
// both sides.
std::string FlatMapText();

// An axisymmetric Gaussian hill h(r) = H·2^(−r²/L²) (L is the distance from
// the top to half height) on a plain at 0 m centred on the origin, drawn as
// circular contours, inside one roughness line of 0.03 m on both sides.
std::string GaussianHillMapText(double H, double L);

// 12 sectors, classes 0.03 and 0.1 m, heights 10 and 100 m, equal sector
// frequencies, k = 2 everywhere.
std::string UniformAtlasText();

// An observed wind climate of sectors sectors with equal sector frequencies,
// each sector's speeds binned per 1 m/s from the Weibull distribution (A, k).
std::string WeibullClimateText(int sectors, double A, double k);

}  // namespace kavi::e2e
