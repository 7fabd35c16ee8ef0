// The roughness rose file: the tag "VEMO 6.0 RRD", an empty line, the sector
// count, the change counts per sector, then for each ring below the largest
// count a line of roughness lengths and a line of distances, and last the
// roughness lengths of the outermost ring (without a line feed after it).
// Values are right-aligned in fields of 14 characters, reals with 5
// significant digits.
#pragma once

#include <string>

#include "numerics/calculation_arrays.h"

namespace kavi::model {

// Writes the first nsec sectors of the rose, replacing the file only once the
// new one is complete. Throws RuntimeError "Cannot open file" (context
// "CRoughnessRose::Save") when it cannot be written, and when the rose does
// not fit the format (nsec outside 1 … 36, change counts outside 0 … 10).
void SaveRoughnessRose(const std::string& path, int nsec, const numerics::RoughnessRose& rose);

// Reads a rose of nsec sectors. Throws RuntimeError (context
// "CRoughnessRose::Load") with "Cannot open file" when the file cannot be
// opened, with the sector mismatch message when the file's sector count is not
// nsec, and with a "Cannot open file: …" message naming the problem when a
// sector has more than 10 (or fewer than 0) changes; the rose is then as it
// was. From a value that cannot be read on (bad number, end of the file) the
// elements keep their earlier values, and the load counts as successful.
void LoadRoughnessRose(const std::string& path, int nsec, numerics::RoughnessRose& rose);

}  // namespace kavi::model
