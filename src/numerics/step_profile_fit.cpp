#include "numerics/step_profile_fit.h"

#include <algorithm>
#include <cmath>

namespace kavi::numerics {

namespace {

// Start of the interval of knot i: the previous knot's position, or 0.
float IntervalStart(const float* xi, int i) { return i > 0 ? xi[i - 1] : 0.0f; }

// Keeps a knot only when single precision tells its position from the last
// kept one (starting from 0), judged against twice the whole length; a kept
// knot keeps its own value. Returns the number of knots kept.
int MergeKnots(float* xi, float* v, int count) {
  if (count <= 0 || !(xi[count - 1] > 0.0f)) return 0;
  const float span = 2.0f * xi[count - 1];
  float last = 0.0f;
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    if (xi[i] > last && (xi[i] - last) / span + last != last) {
      xi[kept] = xi[i];
      v[kept] = v[i];
      last = xi[i];
      ++kept;
    }
  }
  return kept;
}

// Length-weighted sum of the values of knots a … b.
float WeightedSum(const float* xi, const float* v, int a, int b) {
  float s = 0.0f;
  for (int i = a; i <= b; ++i) s += (xi[i] - IntervalStart(xi, i)) * v[i];
  return s;
}

// Where one more step removes the most squared deviation: after knot `after`,
// leaving `residual`. after < 0 when no piece has two knots.
struct Split {
  int after = -1;
  float residual = 0.0f;
};

// Tries every position inside every piece of the profile cut by the sorted
// breaks (a break c ends a piece at knot c); pieces and positions in
// increasing order, the first of equal residuals wins.
Split BestSplit(const float* xi, const float* v, int knots, const int* breaks, int breakCount,
                float residual) {
  Split best;
  int a = 0;
  for (int p = 0; p <= breakCount; ++p) {
    const int b = p < breakCount ? breaks[p] : knots - 1;
    const float x0 = IntervalStart(xi, a);
    const float sP = WeightedSum(xi, v, a, b);
    const float wholeP = sP * sP / (xi[b] - x0);
    float sL = 0.0f;
    for (int c = a; c < b; ++c) {
      sL += (xi[c] - IntervalStart(xi, c)) * v[c];
      const float sR = sP - sL;
      const float wL = xi[c] - x0;
      const float wR = xi[b] - xi[c];
      const float split = residual - (sL * sL / wL + sR * sR / wR - wholeP);
      if (best.after < 0 || split < best.residual) best = {c, split};
    }
    a = b + 1;
  }
  return best;
}

// Inserts `after` into the increasing list of breaks.
void InsertBreak(int* breaks, int& count, int after) {
  int i = count;
  while (i > 0 && breaks[i - 1] > after) {
    breaks[i] = breaks[i - 1];
    --i;
  }
  breaks[i] = after;
  ++count;
}

}  // namespace

StepProfile FitStepProfile(float* xi, float* v, int knotCount, int maxChanges, float threshold) {
  StepProfile profile;
  const int knots = MergeKnots(xi, v, knotCount);
  if (knots == 0) return profile;
  maxChanges = std::clamp(maxChanges, 0, kMaxRoughnessChanges);

  // Spread of the values about their mean, without any step.
  const float length = xi[knots - 1];
  float s = 0.0f;
  float q = 0.0f;
  for (int i = 0; i < knots; ++i) {
    const float w = xi[i] - IntervalStart(xi, i);
    s += w * v[i];
    q += w * v[i] * v[i];
  }
  float residual = std::max(q - s * s / length, 0.0f);
  const float sigma = std::sqrt(residual / length);

  // Insert steps one at a time; remember after how many the spread was least.
  int inserted[kMaxRoughnessChanges];
  int sorted[kMaxRoughnessChanges];
  int count = 0;
  int bestCount = 0;
  float bestSigma = sigma;
  if (!(sigma < threshold)) {
    for (int step = 1; step <= maxChanges; ++step) {
      const Split split = BestSplit(xi, v, knots, sorted, count, residual);
      if (split.after < 0) break;
      residual = std::max(split.residual, 0.0f);
      const float sigmaStep = std::sqrt(residual / length);
      inserted[count] = split.after;
      InsertBreak(sorted, count, split.after);
      if (sigmaStep < bestSigma) {
        bestSigma = sigmaStep;
        bestCount = step;
      }
      if (sigmaStep < threshold) break;
    }
  }

  // The steps of the best count, in order of position, and the mean value of
  // every piece between them.
  int kept[kMaxRoughnessChanges];
  int keptCount = 0;
  for (int i = 0; i < bestCount; ++i) InsertBreak(kept, keptCount, inserted[i]);
  profile.changes = keptCount;
  int a = 0;
  for (int p = 0; p <= keptCount; ++p) {
    const int b = p < keptCount ? kept[p] : knots - 1;
    profile.value[p] = WeightedSum(xi, v, a, b) / (xi[b] - IntervalStart(xi, a));
    if (p < keptCount) profile.position[p] = xi[b];
    a = b + 1;
  }
  return profile;
}

}  // namespace kavi::numerics
