#include "plot_text.h"

#include <cmath>

#include "number_text.h"

namespace kavi::tool {

namespace {
// Average advance of digits and lower-case letters, in em, of the usual sans-serif fonts.
constexpr double kAverageAdvance = 0.62;
constexpr double kPatchPadding = 2;
}  // namespace

double TextWidth(std::string_view text, double fontSize) {
  std::size_t characters = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  return static_cast<double>(characters) * kAverageAdvance * fontSize;
}

std::string TrimmedNumber(double value, int decimals) {
  if (!std::isfinite(value)) return "\u2013";
  std::string text = FixedText(value, decimals);
  if (text.find('.') != std::string::npos) {
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
  }
  return text == "-0" ? "0" : text;
}

void PatchedLabel(SvgWriter& svg, PagePoint at, const std::string& text, double fontSize,
                  const char* className) {
  const double width = TextWidth(text, fontSize) + 2 * kPatchPadding;
  const double height = fontSize + kPatchPadding;
  svg.Empty("rect", {{"x", at.x - width / 2},
                     {"y", at.y - height / 2},
                     {"width", width},
                     {"height", height},
                     {"fill", "#ffffff"},
                     {"fill-opacity", "0.85"}});
  svg.Text("text",
           {{"class", className},
            {"x", at.x},
            {"y", at.y},
            {"dy", "0.35em"},
            {"text-anchor", "middle"},
            {"font-size", fontSize}},
           text);
}

void CompassLetters(SvgWriter& svg, PagePoint centre, double radius, double fontSize,
                    const char* colour) {
  const char* const names[] = {"N", "E", "S", "W"};
  for (int i = 0; i < 4; ++i) {
    const PagePoint at = PointAt(centre, 90.0 * i, radius);
    svg.Text("text",
             {{"class", "compass"},
              {"x", at.x},
              {"y", at.y},
              {"dy", "0.35em"},
              {"text-anchor", "middle"},
              {"font-size", fontSize},
              {"font-weight", "bold"},
              {"fill", colour}},
             names[i]);
  }
}

}  // namespace kavi::tool
