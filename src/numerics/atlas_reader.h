// Reading the atlas file (layout in numerics/atlas_file.h).
#pragma once

#include <span>
#include <string_view>

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

// Characters of the title line that an atlas file keeps.
constexpr int kAtlasTitleWidth = 80;

// Reads the atlas file `name`. On success the atlas, `sectorsRead` and the
// title (the first title.size() characters of line 1, padded with blanks)
// are set. A file declaring more than 36 sectors sets only `sectorsRead`, for
// the caller to refuse. Status 4, with nothing changed, for a missing or
// unreadable file, one that ends early, has a value that is not a number,
// counts outside 1 … 5 classes and heights or below 1 sector, heights that
// are not positive, negative frequencies or A, or k that is not positive.
// Roughness lengths below 0.0002 are raised to it.
void LoadAtlas(Context& ctx, AtlasTables& atlas, int& sectorsRead, std::span<char> title,
               std::string_view name);

}  // namespace kavi::numerics
