// The capacities and status codes of the numerical core. Routines report
// failure only by setting the status word of their context; nothing throws.
#pragma once

namespace kavi::numerics {

constexpr int kParameterCount = 77;
constexpr int kMaxSectors = 36;
constexpr int kGridTermCount = 62;

// Status codes a routine may leave in the status word.
enum Status : int {
  kStatusOk = 0,
  kStatusTooManyShelterRecords = 2,
  kStatusObstaclesIgnored = 3,
  kStatusCannotOpenFile = 4,
  kStatusMapError = 5,
  kStatusMapTooLarge = 6,
  kStatusRadiusTooSmall = 7,
  kStatusWorkFileError = 8,
};

}  // namespace kavi::numerics
