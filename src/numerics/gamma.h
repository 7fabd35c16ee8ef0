// The Gamma function in single precision, for the Weibull moments.
#pragma once

namespace kavi::numerics {

// ln Γ(x) by the asymptotic series after shifting x up to at least 7.
float LogGamma(float x);
// Γ(x), also for negative non-integer x.
float GammaFunction(float x);

}  // namespace kavi::numerics
