#include <cmath>
#include <cstring>
#include <string>

#include "calculation_setup.h"
#include "finite_values.h"
#include "input_file.h"
#include "model/exceptions.h"
#include "model/roughness_rose_file.h"
#include "numerics/atlas_file.h"
#include "numerics/numerical_state.h"
#include "numerics/parameter_elements.h"
#include "numerics/site_model.h"
#include "numerics/site_prediction.h"
#include "reader_harnesses.h"

namespace kavi::fuzz {

namespace {

constexpr int kRoseSectorCounts[] = {1, kDefaultSectors, numerics::kMaxSectors};

// The rose as the model reset leaves it: no changes, 0.03 m at the site.
numerics::RoughnessRose ResetRose() {
  numerics::RoughnessRose rose;
  for (float& z0 : rose.z0[0]) z0 = 0.03f;
  return rose;
}

// The site model with the loaded rose (no orographic grid), then the
// prediction from the default atlas, as the atlas user runs them.
void UseRose(numerics::RoughnessRose& rose, int nsec, HarnessResult& r) {
  for (int i = 0; i < nsec; ++i) {
    if (!r.Expect(rose.changes[i] >= 0 && rose.changes[i] <= numerics::kMaxRoughnessChanges,
                  "loaded rose has " + std::to_string(rose.changes[i]) + " changes")) {
      return;
    }
  }
  numerics::SiteEffectTable effects = NeutralSiteEffects();
  numerics::SiteEffects(HarnessCore(), kSiteHeight, rose, effects);
  if (!r.Expect(HarnessCore().status == numerics::kStatusOk, "site model set a status") ||
      !r.Expect(AllFinite(effects.speedFactor, numerics::kEffectSlots * nsec) &&
                    AllFinite(effects.turning, numerics::kEffectSlots * nsec),
                "site effect not finite")) {
    return;
  }
  for (int i = 0; i < nsec; ++i) {
    if (!r.Expect(std::isfinite(rose.z0[rose.changes[i] + 1][i]), "effective roughness not finite"))
      return;
  }
  numerics::AtlasTables atlas;
  numerics::ResetAtlas(
      HarnessCore(), static_cast<int>(HarnessCore().Parameter(numerics::kNumStdRoughness)),
      static_cast<int>(HarnessCore().Parameter(numerics::kNumStdHeights)), nsec, atlas);
  numerics::PredictedClimate p;
  numerics::PredictSiteClimate(HarnessCore(), atlas, nsec, {kSiteHeight, effects, rose}, p);
  r.Expect(HarnessCore().status == numerics::kStatusOk, "prediction set a status");
  r.Expect(AllFinite(p, nsec), "prediction not finite");
}

}  // namespace

HarnessResult RunRoughnessRoseFile(const std::uint8_t* data, std::size_t size) {
  const std::string& path = WriteInputFile(data, size);
  HarnessResult r;
  // The rose is loaded for the sector count of the calculation; a file of
  // another count is refused, so at most one of these reads it.
  for (int nsec : kRoseSectorCounts) {
    ResetCalculation(nsec);
    numerics::RoughnessRose rose = ResetRose();
    const numerics::RoughnessRose before = rose;
    try {
      model::LoadRoughnessRose(path, nsec, rose);
    } catch (const model::RuntimeError&) {
      r.Expect(std::memcmp(&rose, &before, sizeof rose) == 0, "refused rose file changed the rose");
      continue;
    } catch (const model::Exception&) {
      r.Break("rose reader threw another failure than RuntimeError");
    } catch (...) {
      r.Break("rose reader threw something other than a model failure");
    }
    if (!r.broken.empty()) break;
    r.accepted = true;
    UseRose(rose, nsec, r);
  }
  return r;
}

}  // namespace kavi::fuzz
