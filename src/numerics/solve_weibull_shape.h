// The Weibull shape that matches two moments of a distribution.
#pragma once

namespace kavi::numerics {

// The shapes the moment solver searches between; outside them no sign change
// is sought and the best shape found is returned.
constexpr float kMinSolvedShape = 0.125f;
constexpr float kMaxSolvedShape = 64.0f;

// The shape k with c = ln Γ(1 + n/k)/n − ln Γ(1 + m/k)/m, by bracketing
// outward from 2 within [kMinSolvedShape, kMaxSolvedShape] and bisecting to
// 0.003. Without a sign change in that range (c = 0, for instance) returns
// the shape tried with the smallest residual; a c that is not a number gives 2.
float SolveWeibullShape(float c, int m, int n);

}  // namespace kavi::numerics
