// Gamma function and the Weibull fit shared by the observed-climate reader,
// the atlas calculation, the transfer and the prediction.
#pragma once

namespace kavi::numerics {

// ln Γ(x) by the asymptotic series after shifting x up to at least 7.
float LogGamma(float x);
// Γ(x), also for negative non-integer x.
float GammaFunction(float x);
// Fits Weibull A and k to the frequencies f[0 … n-1] of bins with upper limits
// U[0 … n-1] (the first bin starts at 0), keeping the mean cube of the speed
// and the probability of exceeding the mean speed.
void FitWeibull(const float* f, const float* U, int n, float& A, float& k);

}  // namespace kavi::numerics
