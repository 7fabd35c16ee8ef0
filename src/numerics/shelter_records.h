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

// The record list in the layout that the routines below take, for the owner to
// hold: record i has key[i], farDistance[i], height[i], openness[i], direction[i].
struct ShelterRecordList {
  // While building, the near distance (m); afterwards the direction index plus
  // the near distance divided by distanceScale, so that sorting by key groups
  // the directions and orders each group by distance.
  float key[kMaxShelterRecords] = {};
  float farDistance[kMaxShelterRecords] = {};  // m, where the ray leaves the obstacle
  float height[kMaxShelterRecords] = {};       // m
  // Fraction of the fine direction's view through which the wind passes,
  // 1 - coverage * (1 - porosity).
  float openness[kMaxShelterRecords] = {};
  int direction[kMaxShelterRecords] = {};  // fine direction 0 … nfine - 1, while building
  int count = 0;
  float distanceScale = 0.0f;  // 1.01 * the largest near distance, 0 without records
};

// Turns obstacles 0 … obstacleCount - 1 of the seven arrays (in the reader's
// order) into shelter records over nfine fine directions of width 360 / nfine,
// then sorts them by key. Obstacles with a negative depth are skipped, and so
// are obstacles that are not a usable shape: a height that is not positive, a
// negative distance, a front face shorter than a millimetre, or a value that is
// not finite or beyond 1000 km. A porosity outside 0 … 1 counts as the nearer
// bound. When the records would exceed `capacity` (at most kMaxShelterRecords)
// sets status 2 (kStatusTooManyShelterRecords) and leaves recordCount 0 and
// distanceScale 0.
void BuildShelterRecords(
    Context& ctx, int obstacleCount, const float (&firstBearing)[kMaxObstacles],
    const float (&firstDistance)[kMaxObstacles], const float (&secondBearing)[kMaxObstacles],
    const float (&secondDistance)[kMaxObstacles], const float (&height)[kMaxObstacles],
    const float (&depth)[kMaxObstacles], const float (&porosity)[kMaxObstacles],
    int (&direction)[kMaxShelterRecords], float (&key)[kMaxShelterRecords],
    float (&farDistance)[kMaxShelterRecords], float (&recordHeight)[kMaxShelterRecords],
    float (&openness)[kMaxShelterRecords], int& recordCount, int capacity, float& distanceScale,
    int nfine);

// Sorts records 0 … count - 1 into increasing key, carrying far distance,
// openness and height along. Stable: records with equal keys keep their order.
void SortShelterRecords(float (&key)[kMaxShelterRecords], int count,
                        float (&farDistance)[kMaxShelterRecords],
                        float (&openness)[kMaxShelterRecords], float (&height)[kMaxShelterRecords]);

}  // namespace kavi::numerics
