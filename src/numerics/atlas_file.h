// The atlas (the generalised wind climate per standard roughness class,
// height and sector): its defaults and its text file.
//
// File layout: the title line; N_R, N_H, N_S in 3 columns each; the roughness
// lengths (7 columns, 3 decimals); the heights (7 columns, 1 decimal); then
// per class the N_S frequencies and per height the N_S A values and the N_S k
// values (7 columns, 2 decimals). Every record holds 12 values a line and
// continues on the next line when longer.
#pragma once

#include "numerics/calculation_arrays.h"

namespace kavi::numerics {

struct Context;

constexpr int kAtlasTitleWidth = 80;

// Fills the standard roughness lengths (parameters STDR1 …, at least 0.0002)
// and heights (STDH1 …) and sets, for every sector and class, the frequency to
// 100 / N_S, A to a logarithmic profile that reaches 13.44455 m/s at 100 km and
// k to 1.9. Counts beyond the capacities are cut to them.
void ResetAtlas(const Context& ctx, int roughnessCount, int heightCount, int sectorCount,
                AtlasTables& atlas);

// Writes the atlas with the given title (its first line) to `name`, replacing
// an existing file only once the new one is complete. Status 4 when the file
// cannot be written or the counts are outside 1 … 5 classes and heights and
// 1 … 36 sectors; an existing file is then left as it was.
void SaveAtlas(Context& ctx, const AtlasTables& atlas, int sectorCount, const char* title,
               int titleLength, const char* name, int nameLength);

// Reads the atlas file `name`. On success the atlas, `sectorsRead` and the
// title (the first `titleCapacity` characters of line 1, padded with blanks)
// are set. A file declaring more than 36 sectors sets only `sectorsRead`, for
// the caller to refuse. Status 4, with nothing changed, for a missing or
// unreadable file, one that ends early, has a value that is not a number,
// counts outside 1 … 5 classes and heights or below 1 sector, heights that
// are not positive, negative frequencies or A, or k that is not positive.
// Roughness lengths below 0.0002 are raised to it.
void LoadAtlas(Context& ctx, AtlasTables& atlas, int& sectorsRead, char* title, int titleCapacity,
               const char* name, int nameLength);

}  // namespace kavi::numerics
