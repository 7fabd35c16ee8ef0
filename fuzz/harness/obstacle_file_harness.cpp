#include <cmath>
#include <initializer_list>
#include <iterator>
#include <string>

#include "calculation_setup.h"
#include "finite_values.h"
#include "input_file.h"
#include "numerics/numerical_state.h"
#include "numerics/obstacle_file.h"
#include "numerics/obstacle_input.h"
#include "numerics/shelter_model.h"
#include "numerics/shelter_records.h"
#include "reader_harnesses.h"

namespace kavi::fuzz {

namespace {

constexpr int kSectorCounts[] = {1, kDefaultSectors, numerics::kMaxSectors};
// Heights of the shelter calculation: close to the ground, where the
// obstacles matter most, and the usual site height.
constexpr float kShelterHeights[] = {2.0f, kSiteHeight};

void CheckRecords(const numerics::ShelterRecordList& s, int nfine, HarnessResult& r) {
  if (!r.Expect(s.count >= 0 && s.count <= numerics::kMaxShelterRecords &&
                    std::isfinite(s.distanceScale) && s.distanceScale >= 0.0f,
                "shelter record count or distance scale out of range")) {
    return;
  }
  for (int i = 0; i < s.count; ++i) {
    const std::string where = "shelter record " + std::to_string(i + 1);
    const numerics::ShelterRecord& record = s.records[i];
    const float key = record.key;
    if (!r.Expect(std::isfinite(key) && key >= 0.0f && key < static_cast<float>(nfine),
                  where + ": key outside the fine directions") ||
        !r.Expect(i == 0 || s.records[i - 1].key <= key, where + ": keys not sorted") ||
        !r.Expect(std::isfinite(record.farDistance) && std::isfinite(record.openness) &&
                      std::isfinite(record.height) && record.height > 0.0f,
                  where + ": value not finite or no height")) {
      return;
    }
  }
}

// The shelter model's slot 3 for every sector, the other slots untouched.
void CheckShelter(const numerics::SiteEffectTable& t, int nsec, HarnessResult& r) {
  for (int i = 0; i < nsec; ++i) {
    const float factor = t.speedFactor[numerics::EffectIndex(3, i, nsec)];
    if (!r.Expect(
            std::isfinite(factor) && factor >= numerics::kMinShelterFactor &&
                t.turning[numerics::EffectIndex(3, i, nsec)] == 0.0f,
            "shelter factor " + std::to_string(factor) + " in sector " + std::to_string(i + 1))) {
      return;
    }
    for (int slot : {1, 2, 4}) {
      if (!r.Expect(t.speedFactor[numerics::EffectIndex(slot, i, nsec)] == 1.0f &&
                        t.turning[numerics::EffectIndex(slot, i, nsec)] == 0.0f,
                    "shelter model wrote slot " + std::to_string(slot))) {
        return;
      }
    }
  }
}

// What the shelter model object does with the obstacles for one sector count.
void UseObstacles(const numerics::ObstacleInput& o, int nsec, HarnessResult& r) {
  static numerics::ShelterRecordList s;  // 20 kB, as the model object holds it
  const int nfine = numerics::kFineDirectionsPerSector * nsec;
  AdoptSectorCount(nsec);
  numerics::BuildShelterRecords(HarnessCore(), o, nfine, numerics::kMaxShelterRecords, s);
  const int status = HarnessCore().status;
  const std::string sectors = " for " + std::to_string(nsec) + " sectors";
  if (status == numerics::kStatusTooManyShelterRecords) {
    r.Expect(s.count == 0 && s.distanceScale == 0.0f, "overflowing record list not emptied");
    HarnessCore().status = numerics::kStatusOk;
    return;
  }
  if (!r.Expect(status == numerics::kStatusOk,
                "shelter records set status " + std::to_string(status) + sectors)) {
    return;
  }
  CheckRecords(s, nfine, r);
  if (!r.broken.empty()) return;
  const numerics::RoughnessRose rose = NeutralRose();
  for (float z : kShelterHeights) {
    numerics::SiteEffectTable effects = NeutralSiteEffects();
    numerics::ComputeShelter(HarnessCore(), s, nsec, z, rose, effects);
    if (!r.Expect(HarnessCore().status == numerics::kStatusOk,
                  "shelter model set a status" + sectors)) {
      return;
    }
    CheckShelter(effects, nsec, r);
    if (!r.broken.empty()) return;
  }
}

}  // namespace

HarnessResult RunObstacleFile(const std::uint8_t* data, std::size_t size) {
  const std::string& path = WriteInputFile(data, size);
  HarnessResult r;
  ResetCalculation();
  numerics::ObstacleInput& o = HarnessCore().obstacles;
  o = numerics::ReadObstacleFile(HarnessCore(), path);
  const int status = HarnessCore().status;
  // A file that cannot be read, or that lists more obstacles than the model
  // holds, is refused whole.
  if (status == numerics::kStatusObstacleFileUnreadable ||
      status == numerics::kStatusTooManyShelterRecords) {
    r.Expect(o.count == 0, "refused obstacles file left obstacles");
    return r;
  }
  if (!r.Expect(status == numerics::kStatusOk,
                "obstacles reader set status " + std::to_string(status)) ||
      !r.Expect(o.count >= 0 && o.count <= numerics::kMaxObstacles,
                "obstacle count out of range") ||
      !r.Expect(o.title[numerics::kObstacleTitleLength] == '\0', "title not terminated")) {
    return r;
  }
  for (int i = 0; i < o.count; ++i) {
    const numerics::Obstacle& b = o.obstacles[i];
    const float values[] = {b.a1, b.r1, b.a2, b.r2, b.h, b.depth, b.porosity};
    if (!r.Expect(AllFinite(values, static_cast<int>(std::size(values))),
                  "obstacle value not finite"))
      return r;
  }
  r.accepted = true;
  // The model object keeps its own copy of what was read.
  const numerics::ObstacleInput obstacles = o;
  for (int nsec : kSectorCounts) {
    UseObstacles(obstacles, nsec, r);
    if (!r.broken.empty()) break;
  }
  return r;
}

}  // namespace kavi::fuzz
