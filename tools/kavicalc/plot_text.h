// Text in the plots: its estimated size, numbers without needless zeros, and
// labels set on a white patch so that they stay readable over the drawing.
#pragma once

#include <string>
#include <string_view>

#include "polar_geometry.h"
#include "svg_writer.h"

namespace kavi::tool {

// An estimate of the width in pixels of text in the plots' sans-serif font.
double TextWidth(std::string_view text, double fontSize);

// value with at most decimals decimals, trailing zeros dropped ("1500", "12.5");
// "–" when not finite.
std::string TrimmedNumber(double value, int decimals);

// text centred on at, over a white patch of its size.
void PatchedLabel(SvgWriter& svg, PagePoint at, const std::string& text, double fontSize,
                  const char* className);

// The bold letters N, E, S and W around a rose centred on centre, at radius.
void CompassLetters(SvgWriter& svg, PagePoint centre, double radius, double fontSize,
                    const char* colour);

}  // namespace kavi::tool
