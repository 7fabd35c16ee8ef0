// The map file reader: height contours and roughness-change lines into the
// two coordinate arrays of the map object.
//
// Each stored line takes 3 + n entries of mapX / mapY (entry k is 0-based):
//   k      left roughness      | n, the stored point count
//   k + 1  right roughness     | the line kind (0 contour, 1 roughness, 2 both)
//   k + 2  scaled elevation    | 0
//   k + 3… x of the points     | y of the points (transformed)
// Values a line's kind does not use are 0.
#pragma once

#include <span>
#include <string_view>

namespace kavi::numerics {

struct Context;

constexpr int kMapUnit = 10;  // unit of the map file for OpenDataFile

// Content kinds returned by MapInput.
constexpr int kMapHeightsOnly = 0;    // contours only, or no lines at all
constexpr int kMapRoughnessOnly = 1;  // roughness lines but no contours
constexpr int kMapHeightsAndRoughness = 2;

// What the reader stored: the number of lines, the entries they take and the
// content kind.
struct MapContents {
  int lineCount = 0;
  int entryCount = 0;
  int kind = kMapHeightsOnly;
};

// Reads the map file `name` (trailing blanks are not part of it) into mapX and
// mapY; the capacity is the smaller of their sizes.
//   success: `contents` holds the counts and the content kind of the lines;
//   status 4 (the file cannot be opened): lineCount = -1, arrays untouched;
//   status 5 (error in the map file): `contents` keeps what the caller passed;
//   status 6 (capacity reached, also when exactly full): the lines read so far
//     stay stored and are counted, the last one possibly truncated.
// The file is closed on every exit. The status word is not cleared.
void MapInput(Context& ctx, std::string_view name, std::span<float> mapX, std::span<float> mapY,
              MapContents& contents);

}  // namespace kavi::numerics
