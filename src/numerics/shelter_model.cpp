#include "numerics/shelter_model.h"

#include <algorithm>
#include <cmath>
#include <span>

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
  // The sector whose centre is nearest to direction k: the averaging of the
  // directions over the sectors.
  int SectorOf(int k) const { return Sector(k, 0.5f); }
  // The sector whose site roughness the shelter uses when direction k is the
  // lowest one with obstacles: k·w/e − 0.5 truncated toward zero, half a
  // sector below the nearest centre.
  int RoughnessSectorOf(int k) const { return Sector(k, -0.5f); }
  int Sector(int k, float shift) const {
    return (static_cast<int>(static_cast<float>(k) * width / sectorWidth + shift) + sectors) %
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
int GatherDirection(std::span<const ShelterRecord> records, int first, int k, float distanceScale,
                    const FineDirections& fine, ShelterGroup& group) {
  const int count = static_cast<int>(records.size());
  group.size = 0;
  int i = first;
  for (; i < count && fine.DirectionOf(records[i].key) == k; ++i) {
    const ShelterRecord& record = records[i];
    const float h = record.height;
    const float p = record.openness;
    if (!(h > 0.0f && std::isfinite(h) && std::isfinite(p))) continue;
    const float x = std::max(0.0f, (record.key - static_cast<float>(k)) * distanceScale);
    const float far = record.farDistance;
    const float f = far >= x && std::isfinite(far) ? far : x;
    // The builder's openness lies in -1 … 1 (a coverage spread over fewer rays
    // than the obstacle's width may exceed 1); more open than open adds nothing.
    group.members[group.size++] = {x, f, h, std::clamp(p, -1.0f, 1.0f), 0.0f, 0.0f};
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

void ComputeShelter(Context& ctx, const ShelterRecordList& list, int nsec, float z,
                    const RoughnessRose& rose, SiteEffectTable& effects) {
  const int nfine = list.fineDirections;
  float* speedFactor = effects.speedFactor;
  float* turning = effects.turning;
  const ShelterRecord* records = list.records;
  const float distanceScale = list.distanceScale;
  if (nsec < 1 || nsec > kMaxSectors) return;
  for (int j = 0; j < nsec; ++j) {
    speedFactor[EffectIndex(kObstacleSlot, j, nsec)] = 1.0f;
    turning[EffectIndex(kObstacleSlot, j, nsec)] = 0.0f;
  }
  if (nfine < 1 || nfine > kMaxFineDirections) return;
  if (!(distanceScale >= 0.0f && std::isfinite(distanceScale))) return;
  const int n = std::clamp(list.count, 0, kMaxShelterRecords);
  const FineDirections fine{nfine, 360.0f / static_cast<float>(nfine),
                            360.0f / static_cast<float>(nsec), nsec};
  const float pointHeight = z >= 0.0f ? z : 0.0f;

  // One roughness for all directions: the site roughness of the sector that
  // holds the lowest direction with records.
  int first = 0;
  while (first < n && fine.DirectionOf(records[first].key) < 0) ++first;
  if (first == n) return;
  const float siteRoughness =
      rose.z0[0][fine.RoughnessSectorOf(fine.DirectionOf(records[first].key))];
  const float roughness = siteRoughness >= kRoughnessFloor ? siteRoughness : kRoughnessFloor;

  // Reduction per direction.
  float reduction[kMaxFineDirections] = {};
  ShelterGroup& group = ctx.shelterGroup;
  for (int i = first; i < n;) {
    const int k = fine.DirectionOf(records[i].key);
    if (k < 0) {
      ++i;
      continue;
    }
    i = GatherDirection({records, static_cast<std::size_t>(n)}, i, k, distanceScale, fine, group);
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
