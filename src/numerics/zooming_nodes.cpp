#include "numerics/zooming_nodes.h"

namespace kavi::numerics {

ZoomingNodes ComputeZoomingNodes() {
  const NumericalState& state = State();
  ZoomingNodes nodes;
  float step = state.gridInnerRadius;
  float radius = step;
  for (int j = 0; j < kGridNodes; ++j) {
    nodes.radius[j] = radius;
    nodes.step[j] = step;
    step *= state.gridStretch;
    radius += step;
  }
  return nodes;
}

}  // namespace kavi::numerics
