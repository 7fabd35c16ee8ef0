// The zooming grid of the current site and its orographic spectrum, kept in
// the numerical context: the grid builder writes the grid, the spectrum
// routine the coefficients, and the site model reads both.
#pragma once

#include "numerics/numerical_state.h"

namespace kavi::numerics {

constexpr int kGridNodes = 100;    // nodes along each ray
constexpr int kMaxGridRays = 360;  // 360 / BZAZRES with BZAZRES >= 1

struct GridState {
  float searchRadius = 0.0f;  // R
  float lengthScale = 0.0f;   // G; 0 means there is no orographic grid
  int rayCount = 0;           // N
  int raySpacing = 0;         // degrees between rays (BZAZRES rounded)
  float siteElevation = 0.0f;
  // How the last grid was built: crossings found and passes over ray groups
  // (more than one pass when the crossings went to the work file).
  int crossingCount = 0;
  int passCount = 0;
  float values[kMaxGridRays][kGridNodes] = {};  // grid[k][j - 1]
  // Per sector and term the coefficients (a0, a1, a2).
  float coefficients[kMaxSectors][kGridTermCount][3] = {};
};

}  // namespace kavi::numerics
