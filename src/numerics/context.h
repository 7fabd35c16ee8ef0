// The numerical context of one model object: everything a calculation reads
// and writes besides the arrays it is handed. The parameter vector, the status
// word, the core sector count, the atlas control value, the grid constants,
// the zooming grid with its spectrum, the obstacles as read, the workspaces of
// the steps and the table of connected file units. Each model object owns one
// and passes it to the routines; calculations on different contexts share
// nothing and may run on different threads at the same time.
#pragma once

#include "numerics/atlas_workspace.h"
#include "numerics/grid_crossings.h"
#include "numerics/grid_state.h"
#include "numerics/numerical_state.h"
#include "numerics/obstacle_input.h"
#include "numerics/open_data_file.h"
#include "numerics/roughness_crossings.h"
#include "numerics/shelter_group.h"

namespace kavi::numerics {

struct Context {
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

  GridState grid;
  ObstacleInput obstacles;  // as the obstacle reader left them
  AtlasWorkspace atlasWork;
  GridCrossingList gridCrossings;
  rose::RoseWorkspace roseWork;
  ShelterGroup shelterGroup;
  DataUnits units;

  // Element n (1 … 77) of the parameter vector.
  float Parameter(int n) const { return parameters[n - 1]; }
  // Records a failure in the status word.
  void SetStatus(int code) { status = code; }
  // Loads the grid constants (node and term counts, stretch, inner radius and
  // the 62 term weights).
  void LoadGridConstants();
};

}  // namespace kavi::numerics
