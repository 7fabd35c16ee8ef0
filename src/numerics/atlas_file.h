// The atlas (the generalised wind climate per standard roughness class,
// height and sector): its defaults and its text file, each with its own
// header.
//
// File layout: the title line; N_R, N_H, N_S in 3 columns each; the roughness
// lengths (7 columns, 3 decimals); the heights (7 columns, 1 decimal); then
// per class the N_S frequencies and per height the N_S A values and the N_S k
// values (7 columns, 2 decimals). Every record holds 12 values a line and
// continues on the next line when longer.
#pragma once

#include "numerics/atlas_reader.h"
#include "numerics/atlas_reset.h"
#include "numerics/atlas_writer.h"
