// The true-upwind step: from the perturbed wind vectors of all sectors to a
// speed factor and a turning angle per sector.
#include "numerics/true_upwind.h"

#include <cmath>

#include "numerics/constants.h"
#include "numerics/site_model.h"
#include "numerics/site_model_inputs.h"

namespace kavi::numerics {

namespace {

using site_model::SectorDirection;

constexpr int kOrographySlot = 2;
// |T| of a pair never exceeds 180 degrees, so "best" above kNoPairChosen means
// that no pair was taken.
constexpr float kNothingChosenYet = 500.0f;
constexpr float kNoPairChosen = 400.0f;

float Dot(WindVector a, WindVector b) { return a.east * b.east + a.north * b.north; }
float Cross(WindVector a, WindVector b) { return a.east * b.north - a.north * b.east; }
float Length(WindVector a) { return std::hypot(a.east, a.north); }

// Angle (degrees, clockwise positive) from direction a to vector v; a vector
// without length has no direction and counts as unturned.
float TurningFrom(WindVector a, WindVector v) {
  if (v.east == 0.0f && v.north == 0.0f) return 0.0f;
  return -std::atan2(Cross(a, v), Dot(a, v)) * kDegreesPerRadian;
}

struct SpeedAndTurning {
  float speed = 1.0f;
  float turning = 0.0f;
};

// Among the pairs of neighbouring sectors whose perturbed vectors bracket the
// target direction, the interpolated speed and turning of the pair that turns
// least. False when no pair brackets it.
bool SearchTrueUpwind(const WindVector* vectors, int nsec, WindVector target,
                      SpeedAndTurning& choice) {
  float best = kNothingChosenYet;
  for (int l = 0; l < nsec; ++l) {
    const int next = (l + 1) % nsec;
    const WindVector P = vectors[l];
    const WindVector Q = vectors[next];
    const float lengthP = Length(P);
    const float lengthQ = Length(Q);
    if (!(lengthP > 0.0f && lengthQ > 0.0f)) continue;  // a vector without direction
    const float Ep = Dot(P, target) / lengthP;
    const float Eq = Dot(Q, target) / lengthQ;
    const float G = Dot(P, Q) / (lengthP * lengthQ);
    if (Ep < G || Eq < G) continue;  // the target lies outside the angle from P to Q

    const float turnP = TurningFrom(SectorDirection(l, nsec), P);
    const float turnQ = TurningFrom(SectorDirection(next, nsec), Q);
    SpeedAndTurning candidate;
    if (Ep >= 1.0f) {
      candidate = {lengthP, turnP};
    } else if (Eq >= 1.0f) {
      candidate = {lengthQ, turnQ};
    } else {
      const float sum = 2.0f - Ep - Eq;
      candidate = {((1.0f - Eq) * lengthP + (1.0f - Ep) * lengthQ) / sum,
                   ((1.0f - Eq) * turnP + (1.0f - Ep) * turnQ) / sum};
    }
    if (std::fabs(candidate.turning) < best) {
      best = std::fabs(candidate.turning);
      choice = candidate;
    }
  }
  return best <= kNoPairChosen;
}

}  // namespace

void TrueUpwind(const WindVector* vectors, int nsec, bool search, SiteEffectTable& table) {
  if (nsec < 1 || nsec > kMaxSectors) return;
  for (int j = 0; j < nsec; ++j) {
    const WindVector target = SectorDirection(j, nsec);
    SpeedAndTurning result;
    if (!search || !SearchTrueUpwind(vectors, nsec, target, result)) {
      result = {Length(vectors[j]), TurningFrom(target, vectors[j])};
    }
    table.speedFactor[EffectIndex(kOrographySlot, j, nsec)] = result.speed;
    table.turning[EffectIndex(kOrographySlot, j, nsec)] = result.turning;
  }
}

}  // namespace kavi::numerics
