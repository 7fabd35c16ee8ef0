// The Weibull fit of a binned wind-speed distribution.
#pragma once

namespace kavi::numerics {

// Fits Weibull A and k to the frequencies f[0 … n-1] of bins with upper limits
// U[0 … n-1] (the first bin starts at 0), keeping the mean cube of the speed
// and the probability of exceeding the mean speed.
void FitWeibull(const float* f, const float* U, int n, float& A, float& k);

}  // namespace kavi::numerics
