// The numerical context that a benchmark drives the routines
// with, as a model object would drive its own. Benchmarks set up what they need in
// it before each call.
#pragma once

#include "numerics/context.h"

namespace kavi {

inline numerics::Context& TestCore() {
  static numerics::Context* const core = new numerics::Context;
  return *core;
}

}  // namespace kavi
