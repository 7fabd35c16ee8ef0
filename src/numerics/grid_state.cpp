#include "numerics/grid_state.h"

namespace kavi::numerics {

GridState& Grid() {
  static GridState grid;
  return grid;
}

}  // namespace kavi::numerics
