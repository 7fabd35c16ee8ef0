// Round numbers for the axes and scales of the plots.
#pragma once

#include <string>

namespace kavi::tool {

// The round step (1, 2, 2.5 or 5 times a power of ten) that splits span into
// about count parts; 1 when span is not a positive finite number.
double NiceStep(double span, int count);

// An axis from lower to upper in whole steps.
struct ScaleRange {
  double lower;
  double upper;
  double step;
};

// The range in round steps that covers low … high (about count steps); a
// range of at least minimumSpan when high is close to low; fallback when
// low … high is not a finite range.
ScaleRange NiceRange(double low, double high, int count, double minimumSpan, ScaleRange fallback);

// A tick label: value with no more decimals than step needs ("2.5", "10").
std::string TickText(double value, double step);

}  // namespace kavi::tool
