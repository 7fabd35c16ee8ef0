#include "numerics/zooming_nodes.h"

#include "numerics/context.h"

namespace kavi::numerics {

ZoomingNodes ComputeZoomingNodes(const Context& ctx) {
  ZoomingNodes nodes;
  float step = ctx.gridInnerRadius;
  float radius = step;
  for (int j = 0; j < kGridNodes; ++j) {
    nodes.radius[j] = radius;
    nodes.step[j] = step;
    step *= ctx.gridStretch;
    radius += step;
  }
  return nodes;
}

}  // namespace kavi::numerics
