#include "number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace kavi::tool {

namespace {
template <class Real>
std::string Shortest(Real value) {
  if (!std::isfinite(value)) return std::isnan(value) ? "nan" : (value > 0 ? "inf" : "-inf");
  const Real magnitude = std::fabs(value);
  const bool plain = magnitude == 0 || (magnitude >= Real(1e-5) && magnitude < Real(1e15));
  char text[64];
  const auto result = plain
                          ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed)
                          : std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

template <class Real>
std::string Json(Real value) {
  if (!std::isfinite(value)) return "null";
  std::string text = Shortest(value);
  if (text.find_first_of(".e") == std::string::npos) text += ".0";
  return text;
}
}  // namespace

std::string ShortestText(double value) { return Shortest(value); }
std::string ShortestText(float value) { return Shortest(value); }
std::string JsonReal(double value) { return Json(value); }
std::string JsonReal(float value) { return Json(value); }

namespace {
bool IsSingle(double value) {
  return std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max() &&
         static_cast<double>(static_cast<float>(value)) == value;
}
}  // namespace

std::string EngineText(double value) {
  return IsSingle(value) ? Shortest(static_cast<float>(value)) : Shortest(value);
}
std::string EngineJson(double value) {
  return IsSingle(value) ? Json(static_cast<float>(value)) : Json(value);
}

std::string FixedText(double value, int decimals) {
  if (!std::isfinite(value)) return "-";
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace kavi::tool
