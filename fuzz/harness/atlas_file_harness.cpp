#include <cmath>
#include <cstring>
#include <string>

#include "calculation_setup.h"
#include "finite_values.h"
#include "input_file.h"
#include "numerics/atlas_file.h"
#include "numerics/constants.h"
#include "numerics/numerical_state.h"
#include "numerics/parameter_elements.h"
#include "numerics/site_prediction.h"
#include "reader_harnesses.h"

namespace kavi::fuzz {

namespace {

// Heights of the predictions: below, inside and above the usual standard heights.
constexpr float kPredictionHeights[] = {2.0f, kSiteHeight, 500.0f};

void CheckAtlas(const numerics::AtlasTables& a, int ns, HarnessResult& r) {
  const int classes = a.roughnessCount;
  const int heights = a.heightCount;
  if (!r.Expect(classes >= 1 && classes <= numerics::kMaxStdRoughness && heights >= 1 &&
                    heights <= numerics::kMaxStdHeights,
                "atlas counts out of range")) {
    return;
  }
  bool valid = AllFinite(a.roughness, classes) && AllFinite(a.heights, heights);
  for (int cls = 0; cls < classes; ++cls) {
    valid = valid && a.roughness[cls] >= numerics::kRoughnessFloor;
    for (int i = 0; i < ns; ++i) valid = valid && a.frequency[cls][i] >= 0.0f;
    for (int h = 0; h < heights; ++h) {
      for (int i = 0; i < ns; ++i) {
        valid = valid && a.weibullA[cls][h][i] >= 0.0f && a.weibullK[cls][h][i] > 0.0f;
      }
      valid = valid && AllFinite(a.weibullA[cls][h], ns) && AllFinite(a.weibullK[cls][h], ns);
    }
    valid = valid && AllFinite(a.frequency[cls], ns);
  }
  for (int h = 0; h < heights; ++h) valid = valid && a.heights[h] > 0.0f;
  r.Expect(valid, "loaded atlas holds a value it promises to refuse");
}

// The prediction at a site without site effects, as the atlas user makes it.
void Predict(const numerics::AtlasTables& atlas, int ns, HarnessResult& r) {
  const numerics::SiteEffectTable effects = NeutralSiteEffects();
  const numerics::RoughnessRose rose = NeutralRose();
  for (float height : kPredictionHeights) {
    numerics::PredictedClimate p;
    numerics::PredictSiteClimate(HarnessCore(), atlas, ns, {height, effects, rose}, p);
    const std::string at = " at " + std::to_string(height) + " m";
    if (!r.Expect(HarnessCore().status == numerics::kStatusOk, "prediction set a status" + at) ||
        !r.Expect(AllFinite(p, ns), "prediction not finite" + at)) {
      return;
    }
    double sum = 0.0;
    for (int i = 0; i < ns; ++i) sum += p.frequency[i];
    if (!r.Expect(sum == 0.0 || std::fabs(sum - 100.0) < 0.01,
                  "predicted frequencies sum to " + std::to_string(sum) + at)) {
      return;
    }
  }
}

}  // namespace

HarnessResult RunAtlasFile(const std::uint8_t* data, std::size_t size) {
  const std::string& path = WriteInputFile(data, size);
  HarnessResult r;
  ResetCalculation();
  // The atlas in use before the load: the reset defaults of 12 sectors.
  numerics::AtlasTables atlas;
  numerics::ResetAtlas(
      HarnessCore(), static_cast<int>(HarnessCore().Parameter(numerics::kNumStdRoughness)),
      static_cast<int>(HarnessCore().Parameter(numerics::kNumStdHeights)), kDefaultSectors, atlas);
  const numerics::AtlasTables before = atlas;
  int sectors = 0;
  char title[numerics::kAtlasTitleWidth];
  numerics::LoadAtlas(HarnessCore(), atlas, sectors, title, path);
  const int status = HarnessCore().status;
  const bool unchanged = std::memcmp(&atlas, &before, sizeof atlas) == 0;
  if (status == numerics::kStatusCannotOpenFile) {
    r.Expect(unchanged, "refused atlas file changed the atlas");
    return r;
  }
  if (!r.Expect(status == numerics::kStatusOk, "atlas reader set status " + std::to_string(status)))
    return r;
  if (sectors > numerics::kMaxSectors) {  // refused by the atlas object
    r.Expect(unchanged, "atlas of too many sectors changed the atlas");
    return r;
  }
  if (!r.Expect(sectors >= 1, "atlas accepted with " + std::to_string(sectors) + " sectors"))
    return r;
  r.accepted = true;
  CheckAtlas(atlas, sectors, r);
  if (!r.broken.empty()) return r;
  AdoptSectorCount(sectors);
  Predict(atlas, sectors, r);
  return r;
}

}  // namespace kavi::fuzz
