#include "numerics/shelter_records.h"

#include <algorithm>
#include <cmath>

#include "numerics/context.h"
#include "numerics/obstacle_footprint.h"

namespace kavi::numerics {

namespace {

// Lengths beyond this (1000 km) are not an obstacle near a site but a bad value.
constexpr float kMaxObstacleLength = 1.0e6f;

struct Obstacle {
  float a1, r1, a2, r2, h, depth, porosity;
};

bool IsLength(float value) { return value >= 0.0f && value <= kMaxObstacleLength; }

// Whether an obstacle is a shape that can shelter the site: a negative depth
// marks an obstacle to be left out, and values that are not finite or not a
// plausible size cannot describe one.
bool IsUsable(const Obstacle& o) {
  return std::isfinite(o.a1) && std::isfinite(o.a2) && std::isfinite(o.porosity) &&
         IsLength(o.r1) && IsLength(o.r2) && IsLength(o.depth) && IsLength(o.h) && o.h > 0.0f;
}

// Appends records until the capacity is reached; after that every append fails.
class RecordWriter {
 public:
  RecordWriter(int (&direction)[kMaxShelterRecords], float (&nearDistance)[kMaxShelterRecords],
               float (&farDistance)[kMaxShelterRecords], float (&height)[kMaxShelterRecords],
               float (&openness)[kMaxShelterRecords], int capacity)
      : direction_(direction),
        near_(nearDistance),
        far_(farDistance),
        height_(height),
        openness_(openness),
        capacity_(capacity) {}

  bool Append(int k, float nearDistance, float farDistance, float h, float openness) {
    if (count_ + 1 > capacity_) return false;
    direction_[count_] = k;
    near_[count_] = nearDistance;
    far_[count_] = farDistance;
    height_[count_] = h;
    openness_[count_] = openness;
    ++count_;
    return true;
  }
  int count() const { return count_; }

 private:
  int (&direction_)[kMaxShelterRecords];
  float (&near_)[kMaxShelterRecords];
  float (&far_)[kMaxShelterRecords];
  float (&height_)[kMaxShelterRecords];
  float (&openness_)[kMaxShelterRecords];
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

void BuildShelterRecords(
    Context& ctx, int obstacleCount, const float (&firstBearing)[kMaxObstacles],
    const float (&firstDistance)[kMaxObstacles], const float (&secondBearing)[kMaxObstacles],
    const float (&secondDistance)[kMaxObstacles], const float (&height)[kMaxObstacles],
    const float (&depth)[kMaxObstacles], const float (&porosity)[kMaxObstacles],
    int (&direction)[kMaxShelterRecords], float (&key)[kMaxShelterRecords],
    float (&farDistance)[kMaxShelterRecords], float (&recordHeight)[kMaxShelterRecords],
    float (&openness)[kMaxShelterRecords], int& recordCount, int capacity, float& distanceScale,
    int nfine) {
  recordCount = 0;
  distanceScale = 0.0f;
  if (nfine < 1 || nfine > kMaxFineDirections) return;

  // The key array holds the near distances while the records are built.
  RecordWriter records(direction, key, farDistance, recordHeight, openness,
                       std::clamp(capacity, 0, kMaxShelterRecords));
  const int obstacles = std::clamp(obstacleCount, 0, kMaxObstacles);
  for (int i = 0; i < obstacles; ++i) {
    const Obstacle o{firstBearing[i], firstDistance[i], secondBearing[i], secondDistance[i],
                     height[i],       depth[i],         porosity[i]};
    if (!IsUsable(o)) continue;
    if (!AppendObstacle(o, nfine, records)) {
      ctx.SetStatus(kStatusTooManyShelterRecords);
      return;
    }
  }

  // Key: direction index plus the near distance scaled below 1, so that one
  // sort orders the records by direction and, within a direction, by distance.
  const int count = records.count();
  float farthest = 0.0f;
  for (int i = 0; i < count; ++i) farthest = std::max(farthest, key[i]);
  distanceScale = 1.01f * farthest;
  for (int i = 0; i < count; ++i) {
    const float scaled = distanceScale > 0.0f ? key[i] / distanceScale : 0.0f;
    key[i] = static_cast<float>(direction[i]) + scaled;
  }
  recordCount = count;
  SortShelterRecords(key, count, farDistance, openness, recordHeight);
}

}  // namespace kavi::numerics
