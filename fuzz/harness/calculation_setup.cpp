#include "calculation_setup.h"

#include "component/parameter_table.h"
#include "numerics/grid_state.h"
#include "numerics/numerical_state.h"
#include "numerics/parameter_elements.h"

namespace kavi::fuzz {

namespace {
constexpr float kNeutralRoughness = 0.03f;
}

numerics::Context& HarnessCore() {
  static numerics::Context* const core = new numerics::Context;
  return *core;
}

void ResetCalculation(int sectors) {
  numerics::Context& state = HarnessCore();
  const auto& fixed = component::FixedDefaultVector();
  for (int i = 0; i < numerics::kParameterCount; ++i) state.parameters[i] = fixed[i];
  for (const component::ParameterDefinition& d : component::ParameterDefinitions())
    state.parameters[d.element - 1] = d.defaultValue;
  state.status = numerics::kStatusOk;
  state.atlasControl = 0;
  AdoptSectorCount(sectors);
  HarnessCore().LoadGridConstants();
  HarnessCore().grid = numerics::GridState{};
}

void AdoptSectorCount(int sectors) {
  HarnessCore().parameters[numerics::kSectorCountElement - 1] = static_cast<float>(sectors);
  HarnessCore().sectorCount = sectors;
}

numerics::SiteEffectTable NeutralSiteEffects() {
  numerics::SiteEffectTable table;
  for (float& factor : table.speedFactor) factor = 1.0f;
  return table;
}

numerics::RoughnessRose NeutralRose() {
  numerics::RoughnessRose rose;
  for (int i = 0; i < numerics::kMaxSectors; ++i) {
    rose.z0[0][i] = kNeutralRoughness;
    rose.z0[1][i] = kNeutralRoughness;
  }
  return rose;
}

}  // namespace kavi::fuzz
