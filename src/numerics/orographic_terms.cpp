#include "numerics/orographic_terms.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "numerics/constants.h"
#include "numerics/context.h"
#include "numerics/grid_state.h"
#include "numerics/radial_weight_table.h"
#include "numerics/zooming_nodes.h"

namespace kavi::numerics {

namespace {

// A radial profile over the 100 nodes (node j at index j - 1).
using Profile = float[kGridNodes];

// Second angular moments of the grid at every node: A = <cos² ψ g>,
// B = <sin ψ cos ψ g>, C = <sin² ψ g>, each summed over the rays and divided by
// half the ray count.
void AngularMoments(const GridState& grid, Profile& a, Profile& b, Profile& c) {
  std::fill(std::begin(a), std::end(a), 0.0f);
  std::fill(std::begin(b), std::end(b), 0.0f);
  std::fill(std::begin(c), std::end(c), 0.0f);
  const int rays = grid.rayCount;
  for (int k = 0; k < rays; ++k) {
    const float psi = static_cast<float>(k) * kTwoPi / static_cast<float>(rays);
    const float cosine = std::cos(psi);
    const float sine = std::sin(psi);
    const float cc = cosine * cosine;
    const float sc = sine * cosine;
    const float ss = sine * sine;
    for (int j = 0; j < kGridNodes; ++j) {
      const float g = grid.values[k][j];
      a[j] += cc * g;
      b[j] += sc * g;
      c[j] += ss * g;
    }
  }
  const float half = static_cast<float>(rays / 2);
  for (int j = 0; j < kGridNodes; ++j) {
    a[j] /= half;
    b[j] /= half;
    c[j] /= half;
  }
}

// Derivative along the radius at nodes 1 … 99 on the stretched spacing, with
// the value 0 at the site; node 100 has none.
void RadialDerivative(const Profile& x, const ZoomingNodes& nodes, float stretch,
                      Profile& derivative) {
  for (int i = 0; i + 1 < kGridNodes; ++i) {
    const float before = i == 0 ? 0.0f : x[i - 1];
    const float after = x[i + 1];
    derivative[i] =
        ((stretch - 1.0f) * (2.0f * x[i] - 1.5f * before - 0.5f * after) + (after - before)) /
        ((1.0f + stretch) * nodes.step[i]);
  }
  derivative[kGridNodes - 1] = 0.0f;
}

struct DerivedProfiles {
  Profile p;
  Profile q;
  Profile r;
};

// P = A' + (A - C)/r, Q = -B' - 2B/r, R = (A - C)/r - C' (at node 100 without
// the derivatives).
void DeriveProfiles(const GridState& grid, const ZoomingNodes& nodes, float stretch,
                    DerivedProfiles& out) {
  Profile a, b, c, da, db, dc;
  AngularMoments(grid, a, b, c);
  RadialDerivative(a, nodes, stretch, da);
  RadialDerivative(b, nodes, stretch, db);
  RadialDerivative(c, nodes, stretch, dc);
  for (int i = 0; i < kGridNodes; ++i) {
    const float radius = nodes.radius[i];
    const float contrast = radius > 0.0f ? (a[i] - c[i]) / radius : 0.0f;
    const float shear = radius > 0.0f ? 2.0f * b[i] / radius : 0.0f;
    out.p[i] = da[i] + contrast;
    out.q[i] = -db[i] - shear;
    out.r[i] = contrast - dc[i];
  }
}

}  // namespace

void GridSpectrum(Context& ctx, int sectorCount) {
  GridState& grid = ctx.grid;
  const int sectors = std::clamp(sectorCount, 1, kMaxSectors);
  float terms[kGridTermCount][3] = {};
  const bool haveGrid = grid.lengthScale > 0.0f && grid.rayCount >= 2 &&
                        ctx.gridInnerRadius > 0.0f && ctx.gridStretch > 0.0f;
  if (haveGrid) {
    DerivedProfiles profiles;
    DeriveProfiles(grid, ComputeZoomingNodes(ctx), ctx.gridStretch, profiles);
    for (int k = 0; k < kGridTermCount; ++k) {
      float a0 = 0.0f;
      float a1 = 0.0f;
      float a2 = 0.0f;
      for (int i = 0; i < kGridNodes; ++i) {
        const float w = kSpectrumWeights[k][i];
        a0 += w * profiles.p[i];
        a1 += w * profiles.q[i];
        a2 += w * profiles.r[i];
      }
      terms[k][0] = a0;
      terms[k][1] = a1;
      terms[k][2] = a2;
    }
  }
  for (int s = 0; s < sectors; ++s)
    std::copy(&terms[0][0], &terms[0][0] + 3 * kGridTermCount, &grid.coefficients[s][0][0]);
}

}  // namespace kavi::numerics
