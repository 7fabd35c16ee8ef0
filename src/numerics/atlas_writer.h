// Writing the atlas file (layout in numerics/atlas_file.h).
#pragma once

#include <string_view>

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

// Writes the atlas with the given title (its first line) to `name`, replacing
// an existing file only once the new one is complete. Status 4 when the file
// cannot be written or the counts are outside 1 … 5 classes and heights and
// 1 … 36 sectors; an existing file is then left as it was.
void SaveAtlas(Context& ctx, const AtlasTables& atlas, int sectorCount, std::string_view title,
               std::string_view name);

}  // namespace kavi::numerics
