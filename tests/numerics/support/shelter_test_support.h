// Helpers shared by the obstacle and shelter tests: obstacle files in a private
// directory, obstacles as rows, building records from rows and reading them back.
#pragma once

#include <stdlib.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "numerics/numerical_state.h"
#include "numerics/obstacle_file.h"
#include "numerics/shelter_records.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics::testing {

// Elements 45 … 47 of the parameter vector at their defaults; status cleared.
inline void UseShelterDefaults() {
  SetParameter(kWakeShadowFactor, 0.5f);
  SetParameter(kWakeRiseFactor, 0.2f);
  SetParameter(kShelterSmoothing, 12.0f);
  TestCore().status = 0;
}

// Returns the status word and clears it.
inline int TakeStatus() {
  const int status = TestCore().status;
  TestCore().status = 0;
  return status;
}

// Files written into a private directory that is removed with the object.
class ObstacleFiles {
 public:
  ObstacleFiles() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kavi-obstacles-XXXXXX").string();
    if (mkdtemp(pattern.data())) directory_ = pattern;
  }
  ~ObstacleFiles() {
    std::error_code ignored;
    if (!directory_.empty()) std::filesystem::remove_all(directory_, ignored);
  }
  ObstacleFiles(const ObstacleFiles&) = delete;
  ObstacleFiles& operator=(const ObstacleFiles&) = delete;

  std::string Path(const std::string& name) const { return directory_ + "/" + name; }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(Path(name), std::ios::binary | std::ios::trunc) << text;
    return Path(name);
  }

 private:
  std::string directory_;
};

// Reads a file into the test context's obstacle input; returns the status (cleared).
inline int ReadIntoInput(const std::string& path) {
  TestCore().obstacles = ReadObstacleFile(TestCore(), path);
  return TakeStatus();
}

using ObstacleRow = Obstacle;

// Puts rows into the test context's obstacle input.
inline void SetInput(const std::vector<ObstacleRow>& rows) {
  ObstacleInput& in = TestCore().obstacles;
  in.count = static_cast<int>(rows.size());
  for (int i = 0; i < in.count && i < kMaxObstacles; ++i) in.obstacles[i] = rows[i];
}

// Builds records from the test context's obstacle input; returns the status (cleared).
inline int BuildFromInput(ShelterRecordList& list, int nfine, int capacity = kMaxShelterRecords) {
  BuildShelterRecords(TestCore(), TestCore().obstacles, nfine, capacity, list);
  return TakeStatus();
}

inline std::unique_ptr<ShelterRecordList> NewRecordList() {
  return std::make_unique<ShelterRecordList>();
}

// One record as direction and distances, decoded from its key.
struct Record {
  int direction;
  float nearDistance, farDistance, height, openness;
};
inline std::vector<Record> Decode(const ShelterRecordList& list) {
  std::vector<Record> records;
  for (int i = 0; i < list.count; ++i) {
    const ShelterRecord& r = list.records[i];
    const float k = std::trunc(r.key);
    records.push_back({static_cast<int>(k), (r.key - k) * list.distanceScale, r.farDistance,
                       r.height, r.openness});
  }
  return records;
}

// The records of one direction.
inline std::vector<Record> InDirection(const std::vector<Record>& records, int k) {
  std::vector<Record> found;
  for (const Record& r : records) {
    if (r.direction == k) found.push_back(r);
  }
  return found;
}

}  // namespace kavi::numerics::testing
