// Height labels along contour lines: set on straight stretches of a line,
// turned along it and read upright, spaced along each line, and kept clear
// of each other and of what else the page shows.
#pragma once

#include <string>
#include <vector>

#include "map_drawing.h"

namespace kavi::tool {

struct ContourLabel {
  std::string text;
  PagePoint at;     // centre of the text
  double rotation;  // degrees clockwise, within ±90 so that the text reads upright
};

struct LabelRules {
  double fontSize;
  double spacing;  // the wanted distance between labels along one line, px
  PageBox area;    // labels stay inside it
};

// Labels of text along line (page points), about rules.spacing apart; a label
// goes only where its box keeps clear of every box in taken, to which the
// boxes of the labels placed are added.
std::vector<ContourLabel> PlaceContourLabels(const std::vector<PagePoint>& line,
                                             const std::string& text, const LabelRules& rules,
                                             std::vector<PageBox>& taken);

}  // namespace kavi::tool
