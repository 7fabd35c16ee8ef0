#include "plot_scale.h"

#include <cmath>

#include "number_text.h"

namespace kavi::tool {

double NiceStep(double span, int count) {
  if (!(span > 0) || !std::isfinite(span) || count < 1) return 1;
  const double raw = span / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (const double factor : {1.0, 2.0, 2.5, 5.0})
    if (raw <= factor * power * (1 + 1e-9)) return factor * power;
  return 10 * power;
}

ScaleRange NiceRange(double low, double high, int count, double minimumSpan, ScaleRange fallback) {
  if (!std::isfinite(high - low) || low > high) return fallback;
  if (high - low < minimumSpan) {
    const double middle = (low + high) / 2;
    low = middle - minimumSpan / 2;
    high = middle + minimumSpan / 2;
  }
  const double step = NiceStep(high - low, count);
  return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

std::string TickText(double value, double step) {
  int decimals = 0;
  while (decimals < 6 && std::fabs(step * std::pow(10.0, decimals) -
                                   std::round(step * std::pow(10.0, decimals))) > 1e-6)
    ++decimals;
  return FixedText(value == 0 ? 0.0 : value, decimals);
}

}  // namespace kavi::tool
