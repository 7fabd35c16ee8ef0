#include "grid_layout.h"

#include <algorithm>
#include <cmath>

#include "number_text.h"
#include "usage_error.h"
#include "value_parsers.h"

namespace kavi::tool {

namespace {
constexpr std::size_t kMaximumHeights = 20;
// A node that falls short of the area's edge by less than this part of the
// spacing (the rounding of the numbers) is still inside.
constexpr double kEdgeTolerance = 1e-9;

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const auto comma = text.find(',', start);
    parts.push_back(text.substr(start, comma - start));
    if (comma == std::string::npos) return parts;
    start = comma + 1;
  }
}

std::vector<double> Numbers(const std::string& text, std::size_t count, const std::string& option,
                            const std::string& example, const std::string& command) {
  const std::vector<std::string> parts = SplitCommas(text);
  std::vector<double> values;
  for (const std::string& part : parts)
    if (const auto value = ParseNumber(part)) values.push_back(*value);
  if (parts.size() != count || values.size() != count)
    throw UsageError(option + " expects " + example + " (got '" + text + "')", command);
  return values;
}

double PositiveLength(const std::string* text, const std::string& option,
                      const std::string& command) {
  if (!text) throw UsageError("missing required option " + option + " M", command);
  const auto value = ParseNumber(*text);
  if (!value || *value <= 0)
    throw UsageError(option + " expects a length in map units greater than 0, e.g. " + option +
                         " 50 (got '" + *text + "')",
                     command);
  return *value;
}

// Nodes from low on at spacing that lie within low … high.
std::size_t NodesAlong(double low, double high, double spacing) {
  return static_cast<std::size_t>(std::floor((high - low) / spacing + kEdgeTolerance)) + 1;
}
}  // namespace

GridLayout ParseGridLayout(const ParsedOptions& options) {
  const std::string& command = options.command();
  const std::string* bounds = options.Find("--bounds");
  const std::string* around = options.Find("--around");
  const std::string* radius = options.Find("--radius");
  if (bounds && (around || radius))
    throw UsageError("give the area either with --bounds or with --around and --radius", command);
  if (!bounds && !around)
    throw UsageError("missing the area: --bounds X0,Y0,X1,Y1 or --around X,Y --radius M", command);
  double x0, y0, x1, y1;
  if (bounds) {
    const std::vector<double> b = Numbers(*bounds, 4, "--bounds",
                                          "X0,Y0,X1,Y1 with X0 < X1 and Y0 < Y1, e.g. "
                                          "--bounds -2000,-1500,2000,1500",
                                          command);
    x0 = b[0], y0 = b[1], x1 = b[2], y1 = b[3];
    if (!(x0 < x1) || !(y0 < y1))
      throw UsageError(
          "--bounds expects X0,Y0,X1,Y1 with X0 < X1 and Y0 < Y1 (got '" + *bounds + "')", command);
  } else {
    const std::vector<double> c =
        Numbers(*around, 2, "--around", "X,Y in map units, e.g. --around 1000,2000", command);
    const double r = PositiveLength(radius, "--radius", command);
    x0 = c[0] - r, y0 = c[1] - r, x1 = c[0] + r, y1 = c[1] + r;
  }
  const double spacing = PositiveLength(options.Find("--spacing"), "--spacing", command);
  const double columns = std::floor((x1 - x0) / spacing + kEdgeTolerance) + 1;
  const double rows = std::floor((y1 - y0) / spacing + kEdgeTolerance) + 1;
  if (!(columns * rows <= static_cast<double>(kMaximumGridNodes)))
    throw UsageError("the grid would have " + FixedText(columns, 0) + " × " + FixedText(rows, 0) +
                         " nodes, more than the " + std::to_string(kMaximumGridNodes) +
                         " allowed; choose a larger --spacing or a smaller area",
                     command);
  return {x0, y0, spacing, NodesAlong(x0, x1, spacing), NodesAlong(y0, y1, spacing)};
}

std::vector<double> ParseHeightList(const std::string& text, const std::string& command) {
  std::vector<double> heights;
  for (const std::string& part : SplitCommas(text)) {
    const auto height = ParseNumber(part);
    if (!height || *height <= 0)
      throw UsageError(
          "--height expects heights above ground in metres greater than 0, separated by commas, "
          "e.g. --height 50,80,100 (got '" +
              text + "')",
          command);
    if (std::find(heights.begin(), heights.end(), *height) != heights.end())
      throw UsageError("--height lists " + part + " twice (got '" + text + "')", command);
    heights.push_back(*height);
  }
  if (heights.size() > kMaximumHeights)
    throw UsageError("--height lists more than " + std::to_string(kMaximumHeights) + " heights",
                     command);
  return heights;
}

}  // namespace kavi::tool
