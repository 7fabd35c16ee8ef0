#include "numerics/shelter_records.h"

#include <algorithm>
#include <cmath>

#include "numerics/context.h"
#include "numerics/obstacle_footprint.h"

namespace kavi::numerics {

namespace {

// Lengths beyond this (1000 km) are not an obstacle near a site but a bad value.
constexpr float kMaxObstacleLength = 1.0e6f;

bool IsLength(float value) { return value >= 0.0f && value <= kMaxObstacleLength; }

// Whether an obstacle is a shape that can shelter the site: a negative depth
// marks an obstacle to be left out, and values that are not finite or not a
// plausible size cannot describe one.
bool IsUsable(const Obstacle& o) {
  return std::isfinite(o.a1) && std::isfinite(o.a2) && std::isfinite(o.porosity) &&
         IsLength(o.r1) && IsLength(o.r2) && IsLength(o.depth) && IsLength(o.h) && o.h > 0.0f;
}

// Appends records until the capacity is reached; after that every append
// fails. The key holds the near distance while the records are built.
class RecordWriter {
 public:
  RecordWriter(ShelterRecord* records, int capacity) : records_(records), capacity_(capacity) {}

  bool Append(int k, float nearDistance, float farDistance, float h, float openness) {
    if (count_ + 1 > capacity_) return false;
    records_[count_++] = {nearDistance, farDistance, h, openness, k};
    return true;
  }
  int count() const { return count_; }

 private:
  ShelterRecord* records_;
  int capacity_;
  int count_ = 0;
};

// Records of one obstacle. False when the capacity ran out.
bool AppendObstacle(const Obstacle& o, int nfine, RecordWriter& records) {
  ObstacleFootprint f;
  if (!MakeObstacleFootprint(o.a1, o.r1, o.a2, o.r2, o.depth, f)) return true;
  const float w = 360.0f / static_cast<float>(nfine);
  const float solid = 1.0f - std::clamp(o.porosity, 0.0f, 1.0f);
  const float reach = kShelterReachInHeights * o.h;
  const int first = static_cast<int>(f.start / w);
  const int last = static_cast<int>(f.end / w);

  if (last <= first) {
    // Between two neighbouring fine directions: the coverage is shared by both,
    // each weighted by how close the obstacle lies to it.
    const float width = f.end - f.start;
    if (!(width > 0.0f && f.nearCorner < reach)) return true;
    const float coverage = width / w;
    const float gapFirst = f.start - static_cast<float>(first) * w;
    const float gapNext = static_cast<float>(last + 1) * w - f.end;
    const float gaps = gapFirst + gapNext;
    const float toNext = gaps > 0.0f ? std::clamp(gapFirst / gaps, 0.0f, 1.0f) : 0.5f;
    return records.Append(first % nfine, f.nearCorner, f.farCorner, o.h,
                          1.0f - coverage * (1.0f - toNext) * solid) &&
           records.Append((first + 1) % nfine, f.nearCorner, f.farCorner, o.h,
                          1.0f - coverage * toNext * solid);
  }

  // Across several fine directions: one record per direction whose ray meets
  // the obstacle within reach, the coverage spread evenly over them.
  const float openness = 1.0f - (f.end - f.start) / (static_cast<float>(last - first) * w) * solid;
  for (int i = first + 1; i <= last; ++i) {
    const RayCrossing ray = CastRay(f, static_cast<float>(i) * w);
    if (!(ray.nearDistance >= 0.0f && ray.nearDistance <= reach)) continue;
    if (!records.Append(i % nfine, ray.nearDistance, ray.farDistance, o.h, openness)) return false;
  }
  return true;
}

}  // namespace

void BuildShelterRecords(Context& ctx, const ObstacleInput& obstacles, int nfine, int capacity,
                         ShelterRecordList& list) {
  list.count = 0;
  list.distanceScale = 0.0f;
  list.fineDirections = nfine;
  if (nfine < 1 || nfine > kMaxFineDirections) return;

  ShelterRecord* record = list.records;
  RecordWriter records(record, std::clamp(capacity, 0, kMaxShelterRecords));
  const ObstacleInput& in = obstacles;
  const int count = std::clamp(in.count, 0, kMaxObstacles);
  for (int i = 0; i < count; ++i) {
    const Obstacle& o = in.obstacles[i];
    if (!IsUsable(o)) continue;
    if (!AppendObstacle(o, nfine, records)) {
      ctx.SetStatus(kStatusTooManyShelterRecords);
      return;
    }
  }

  // Key: direction index plus the near distance scaled below 1, so that one
  // sort orders the records by direction and, within a direction, by distance.
  const int built = records.count();
  float farthest = 0.0f;
  for (int i = 0; i < built; ++i) farthest = std::max(farthest, record[i].key);
  const float distanceScale = 1.01f * farthest;
  for (int i = 0; i < built; ++i) {
    const float scaled = distanceScale > 0.0f ? record[i].key / distanceScale : 0.0f;
    record[i].key = static_cast<float>(record[i].direction) + scaled;
  }
  list.count = built;
  list.distanceScale = distanceScale;
  SortShelterRecords(record, built);
}

void SortShelterRecords(ShelterRecord* records, int count) {
  const int n = std::clamp(count, 0, kMaxShelterRecords);
  std::stable_sort(records, records + n,
                   [](const ShelterRecord& a, const ShelterRecord& b) { return a.key < b.key; });
}

}  // namespace kavi::numerics
