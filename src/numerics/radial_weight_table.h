// The constant radial weight table of the orographic spectrum: row k - 1 holds
// the weights of term k for the grid nodes 1 … 100.
#pragma once

#include "numerics/grid_state.h"

namespace kavi::numerics {

extern const float kSpectrumWeights[kGridTermCount][kGridNodes];

}  // namespace kavi::numerics
