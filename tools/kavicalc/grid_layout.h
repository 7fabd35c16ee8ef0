// The regular grid of a resource map: nodes every spacing metres from the
// south-west corner of the area, columns along x (east) and rows along y
// (north). The one place where the positions of the nodes are worked out.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "option_parser.h"

namespace kavi::tool {

// More nodes than this are refused before anything is calculated.
constexpr std::size_t kMaximumGridNodes = 10'000'000;

struct GridLayout {
  double x0 = 0;  // x of the first column, map units
  double y0 = 0;  // y of the first row (the southern one), map units
  double spacing = 0;
  std::size_t columns = 0;
  std::size_t rows = 0;

  std::size_t NodeCount() const { return columns * rows; }
  double X(std::size_t column) const { return x0 + static_cast<double>(column) * spacing; }
  double Y(std::size_t row) const { return y0 + static_cast<double>(row) * spacing; }
  // Node index = row × columns + column, row 0 in the south.
  double NodeX(std::size_t node) const { return X(node % columns); }
  double NodeY(std::size_t node) const { return Y(node / columns); }
};

// The grid of --bounds X0,Y0,X1,Y1 or --around X,Y --radius M (the square
// of half-width M around the point), with --spacing M; nodes from the
// lower-left corner on, as far as the area reaches. Usage errors for a
// missing or malformed area, a spacing that is not a positive number and
// more than kMaximumGridNodes nodes.
GridLayout ParseGridLayout(const ParsedOptions& options);

// --height M[,M...]: heights above ground in metres, each greater than zero
// and given once.
std::vector<double> ParseHeightList(const std::string& text, const std::string& command);

}  // namespace kavi::tool
