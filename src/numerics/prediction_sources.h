// The first stage of the prediction: per source sector, the atlas
// interpolated to the sector's upstream roughness and the site height.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

// What one source sector brings to the site before the site effects: its
// frequency (atlas scale), mean speed and cube root of the mean cubed speed
// (m/s). All are finite and not negative.
struct SourceSector {
  float frequency = 0.0f;
  float meanSpeed = 0.0f;
  float cubeRootMeanCube = 0.0f;
};

// Fills sources[0 … sectorCount − 1] by bilinear interpolation in log height
// and log roughness between the four atlas corners around (height, the
// sector's upstream roughness), each moved to the site's upstream conditions
// by the transfer. Corners without a usable distribution count as calm.
void InterpolateSources(const Context& ctx, const AtlasTables& atlas, int sectorCount, float height,
                        const RoughnessRose& rose, SourceSector* sources);

}  // namespace kavi::numerics
