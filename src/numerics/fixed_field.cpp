#include "numerics/fixed_field.h"

#include <cmath>
#include <cstdio>

namespace kavi::numerics {

namespace {

void AppendField(std::string& out, const char* text, int length, int width) {
  if (length < 0 || length > width) {
    out.append(static_cast<std::size_t>(width), '*');
    return;
  }
  out.append(static_cast<std::size_t>(width - length), ' ');
  out.append(text, static_cast<std::size_t>(length));
}

}  // namespace

void AppendFixed(std::string& out, float value, int width, int decimals) {
  char text[64];
  const int length =
      std::isfinite(value) ? std::snprintf(text, sizeof text, "%.*f", decimals, value) : -1;
  AppendField(out, text, length < static_cast<int>(sizeof text) ? length : -1, width);
}

void AppendInteger(std::string& out, int value, int width) {
  char text[16];
  AppendField(out, text, std::snprintf(text, sizeof text, "%d", value), width);
}

}  // namespace kavi::numerics
