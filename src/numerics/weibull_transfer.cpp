#include "numerics/weibull_transfer.h"

#include <cmath>

#include "numerics/context.h"
#include "numerics/weibull.h"

namespace kavi::numerics {

void TransferWeibull(const Context& ctx, float& A, float& k, const RoughnessRose& rose,
                     const Transfer& transfer) {
  TransferFactors factors;
  if (!ComputeTransferFactors(ctx, A, k, rose, transfer, factors)) return;
  // Mean and standard deviation of the speed, in units of A so that no power
  // of a large A is formed; then scaled by the transfer's factors.
  const float g1 = GammaFunction(1.0f + 1.0f / k);
  const float g2 = GammaFunction(1.0f + 2.0f / k);
  const float mean = factors.mean * g1;
  const float deviation = factors.spread * std::sqrt(std::fmax(0.0f, g2 - g1 * g1));
  // The shape whose ratio of root mean square to mean speed is the new one.
  const float c = 0.5f * std::log(mean * mean + deviation * deviation) - std::log(mean);
  if (!std::isfinite(c)) return;
  const float newK = SolveWeibullShape(c, 1, 2);
  const float newA = A * mean / GammaFunction(1.0f + 1.0f / newK);
  if (!std::isfinite(newA)) return;
  A = newA;
  k = newK;
}

}  // namespace kavi::numerics
