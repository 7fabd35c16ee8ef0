// The numerical context that the tests of one process drive the routines
// with, as a model object would drive its own. Tests set up what they need in
// it before each call.
#pragma once

#include "numerics/context.h"
#include "numerics/parameter_elements.h"

namespace kavi {

inline numerics::Context& TestCore() {
  static numerics::Context* const core = new numerics::Context;
  return *core;
}

// Sets element e of the test context's parameter vector.
inline void SetParameter(numerics::Element e, float value) { TestCore().parameters[e - 1] = value; }

}  // namespace kavi
