// A roughness-change line drawn as two strokes side by side, each in the
// colour of the roughness on its own side of the line. Left and right are
// the map's: looking along the line from its first point to its last.
#pragma once

#include <string>
#include <vector>

#include "polar_geometry.h"
#include "svg_writer.h"

namespace kavi::tool {

// The line (page points of a map drawn north up) moved sideways by offset
// pixels to its left in the map (a negative offset moves it to the right);
// corners are mitred, limited to twice the offset. A line whose ends meet is
// treated as closed.
std::vector<PagePoint> OffsetLine(const std::vector<PagePoint>& line, double offset);

// The two strokes of width width each, meeting along the line.
void DrawTwinStroke(SvgWriter& svg, const std::vector<PagePoint>& line, double width,
                    const std::string& leftColour, const std::string& rightColour);

}  // namespace kavi::tool
