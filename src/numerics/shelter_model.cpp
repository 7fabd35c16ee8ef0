#include "numerics/shelter_model.h"

#include <algorithm>
#include <cmath>

#include "numerics/constants.h"
#include "numerics/context.h"
#include "numerics/parameter_elements.h"
#include "numerics/shelter_group.h"

namespace kavi::numerics {

namespace {

constexpr int kObstacleSlot = 3;

struct FineDirections {
  int count;    // nfine
  float width;  // w, degrees
  float sectorWidth;
  int sectors;
  // The sector whose centre is nearest to direction k.
  int SectorOf(int k) const {
    return (static_cast<int>(static_cast<float>(k) * width / sectorWidth + 0.5f) + sectors) %
           sectors;
  }
  // The direction a key belongs to, or -1 for a key outside the directions.
  int DirectionOf(float key) const {
    return key >= 0.0f && key < static_cast<float>(count) ? static_cast<int>(key) : -1;
  }
};

// Collects records first … while they belong to direction k into the group;
// returns the index after the last one. Records whose numbers cannot describe
// an obstacle are left out.
int GatherDirection(const float* key, const float* farDistance, const float* height,
                    const float* openness, int first, int count, int k, float distanceScale,
                    const FineDirections& fine, ShelterGroup& group) {
  group.size = 0;
  int i = first;
  for (; i < count && fine.DirectionOf(key[i]) == k; ++i) {
    const float h = height[i];
    const float p = openness[i];
    if (!(h > 0.0f && std::isfinite(h) && std::isfinite(p))) continue;
    const float x = std::max(0.0f, (key[i] - static_cast<float>(k)) * distanceScale);
    const float f = farDistance[i] >= x && std::isfinite(farDistance[i]) ? farDistance[i] : x;
    group.nearDistance[group.size] = x;
    group.farDistance[group.size] = f;
    group.height[group.size] = h;
    // The builder's openness lies in -1 … 1 (a coverage spread over fewer rays
    // than the obstacle's width may exceed 1); more open than open adds nothing.
    group.openness[group.size] = std::clamp(p, -1.0f, 1.0f);
    ++group.size;
  }
  return i;
}

// Circular moving average over 2a + 1 directions.
void SmoothOverDirections(const float* r, float* smoothed, int nfine, float halfWidthDegrees,
                          float w) {
  float a = halfWidthDegrees / w + 0.1f;
  if (!(a >= 0.0f)) a = 0.0f;
  const int half = static_cast<int>(std::min(a, static_cast<float>(nfine)));
  const float window = static_cast<float>(2 * half + 1);
  for (int k = 0; k < nfine; ++k) {
    float sum = 0.0f;
    for (int i = -half; i <= half; ++i) sum += r[((k + i) % nfine + nfine) % nfine];
    smoothed[k] = sum / window;
  }
}

}  // namespace

void ComputeShelter(Context& ctx, const float (&key)[kMaxShelterRecords],
                    const float (&farDistance)[kMaxShelterRecords],
                    const float (&height)[kMaxShelterRecords],
                    const float (&openness)[kMaxShelterRecords], int count, float distanceScale,
                    int nfine, int nsec, float z, const float (&z0)[kRoughnessRings][kMaxSectors],
                    float (&speedFactor)[kEffectSlots * kMaxSectors],
                    float (&turning)[kEffectSlots * kMaxSectors]) {
  if (nsec < 1 || nsec > kMaxSectors) return;
  for (int j = 0; j < nsec; ++j) {
    speedFactor[EffectIndex(kObstacleSlot, j, nsec)] = 1.0f;
    turning[EffectIndex(kObstacleSlot, j, nsec)] = 0.0f;
  }
  if (nfine < 1 || nfine > kMaxFineDirections) return;
  if (!(distanceScale >= 0.0f && std::isfinite(distanceScale))) return;
  const int n = std::clamp(count, 0, kMaxShelterRecords);
  const FineDirections fine{nfine, 360.0f / static_cast<float>(nfine),
                            360.0f / static_cast<float>(nsec), nsec};
  const float pointHeight = z >= 0.0f ? z : 0.0f;

  // One roughness for all directions: the site roughness of the sector that
  // holds the lowest direction with records.
  int first = 0;
  while (first < n && fine.DirectionOf(key[first]) < 0) ++first;
  if (first == n) return;
  const float siteRoughness = z0[0][fine.SectorOf(fine.DirectionOf(key[first]))];
  const float roughness = siteRoughness >= kRoughnessFloor ? siteRoughness : kRoughnessFloor;

  // Reduction per direction.
  float reduction[kMaxFineDirections] = {};
  ShelterGroup& group = ctx.shelterGroup;
  for (int i = first; i < n;) {
    const int k = fine.DirectionOf(key[i]);
    if (k < 0) {
      ++i;
      continue;
    }
    i = GatherDirection(key, farDistance, height, openness, i, n, k, distanceScale, fine, group);
    reduction[k] = GroupReduction(ctx, group, pointHeight, roughness);
  }

  // Smoothed over neighbouring directions, then averaged over each sector's
  // nine directions.
  float smoothed[kMaxFineDirections];
  SmoothOverDirections(reduction, smoothed, nfine, ctx.Parameter(kShelterSmoothing), fine.width);
  float sum[kMaxSectors] = {};
  int members[kMaxSectors] = {};
  for (int k = 0; k < nfine; ++k) {
    const int j = fine.SectorOf(k);
    sum[j] += smoothed[k];
    ++members[j];
  }
  for (int j = 0; j < nsec; ++j) {
    if (members[j] == 0) continue;
    const float mean = sum[j] / static_cast<float>(members[j]);
    speedFactor[EffectIndex(kObstacleSlot, j, nsec)] = std::max(kMinShelterFactor, 1.0f - mean);
  }
}

}  // namespace kavi::numerics
