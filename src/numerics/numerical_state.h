// The one process-wide state of the numerical core: the parameter vector, the
// status word, the core sector count, the atlas control value and the grid
// constants. Routines read their settings from here and report failure only by
// setting the status word; nothing here throws.
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

struct NumericalState {
  float parameters[kParameterCount] = {};  // element n lives at index n - 1
  int sectorCount = 12;
  int status = kStatusOk;
  int atlasControl = 0;
  // Grid constants, loaded at every calculation by the site-model reset.
  int gridNodes = 0;
  int gridTerms = 0;
  float gridStretch = 0.0f;
  float gridInnerRadius = 0.0f;
  float gridTermWeights[kGridTermCount] = {};
};

NumericalState& State();

// Element n (1 … 77) of the process-wide parameter vector.
inline float Parameter(int n) { return State().parameters[n - 1]; }

// Records a failure in the status word.
inline void SetStatus(int code) { State().status = code; }

// Loads the grid constants (node and term counts, stretch, inner radius and
// the 62 term weights) into the process-wide state.
void LoadGridConstants();

}  // namespace kavi::numerics
