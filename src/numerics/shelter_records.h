// Shelter records: one record per fine direction that an obstacle covers, so
// that the shelter model can evaluate every direction's obstacles in order of
// distance. The record list belongs to the shelter model object and lives from
// one obstacles file to the next.
#pragma once

#include "numerics/numerical_state.h"
#include "numerics/obstacle_input.h"

namespace kavi::numerics {

struct Context;

constexpr int kMaxShelterRecords = 1000;
constexpr int kFineDirectionsPerSector = 9;
constexpr int kMaxFineDirections = kFineDirectionsPerSector * kMaxSectors;
// An obstacle shelters no farther than this many of its heights.
constexpr float kShelterReachInHeights = 200.0f;

// One obstacle as seen along one fine direction.
struct ShelterRecord {
  // While building, the near distance (m); afterwards the direction index plus
  // the near distance divided by the list's distanceScale, so that sorting by
  // key groups the directions and orders each group by distance.
  float key = 0.0f;
  float farDistance = 0.0f;  // m, where the ray leaves the obstacle
  float height = 0.0f;       // m
  // Fraction of the fine direction's view through which the wind passes,
  // 1 - coverage * (1 - porosity).
  float openness = 0.0f;
  int direction = 0;  // fine direction 0 … nfine - 1
};

// The record list, for the owner to hold: records 0 … count - 1.
struct ShelterRecordList {
  ShelterRecord records[kMaxShelterRecords] = {};
  int count = 0;
  float distanceScale = 0.0f;  // 1.01 * the largest near distance, 0 without records
  int fineDirections = 0;      // nfine, the directions the records were built over
};

// Turns the obstacles (in the reader's order) into shelter records over nfine
// fine directions of width 360 / nfine, then sorts them by key. Obstacles with a negative depth are
// skipped, and so are obstacles that are not a usable shape: a height that is not positive, a
// negative distance, a front face shorter than a millimetre, or a value that is
// not finite or beyond 1000 km. A porosity outside 0 … 1 counts as the nearer
// bound. When the records would exceed `capacity` (at most kMaxShelterRecords)
// sets status 2 (kStatusTooManyShelterRecords) and leaves the list with count
// 0 and distanceScale 0.
void BuildShelterRecords(Context& ctx, const ObstacleInput& obstacles, int nfine, int capacity,
                         ShelterRecordList& list);

// Sorts records 0 … count - 1 (at most kMaxShelterRecords) into increasing
// key. Stable: records with equal keys keep their order. Keys must be numbers
// (the builder's always are).
void SortShelterRecords(ShelterRecord* records, int count);

}  // namespace kavi::numerics
