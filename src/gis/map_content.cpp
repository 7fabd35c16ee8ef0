#include "gis/map_content.h"

#include <charconv>

namespace kavi::gis {

namespace {
// Millimetres in the local frame, heights to the centimetre, roughness
// lengths at their full value.
void Append(std::string& text, double value, int decimals) {
  char buffer[48];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string number(buffer, result.ptr);
  if (number.find('.') != std::string::npos) {
    while (number.back() == '0') number.pop_back();
    if (number.back() == '.') number.pop_back();
  }
  if (number == "-0") number = "0";
  text += number;
}

void AppendRoughness(std::string& text, double z0) {
  char buffer[48];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, z0);
  text.append(buffer, result.ptr);
}

void AppendPoints(std::string& text, const Polyline& points) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    text += i % 3 == 0 ? "  " : "   ";
    Append(text, points[i].x, 3);
    text += ' ';
    Append(text, points[i].y, 3);
    if (i % 3 == 2 || i + 1 == points.size()) text += '\n';
  }
}
}  // namespace

long long MapContent::EntryCount() const {
  long long entries = 0;
  for (const Contour& c : contours)
    if (c.points.size() >= 2) entries += 3 + static_cast<long long>(c.points.size());
  for (const RoughnessLine& r : roughnessLines)
    if (r.points.size() >= 2) entries += 3 + static_cast<long long>(r.points.size());
  return entries;
}

std::string MapText(const MapContent& map) {
  std::string text = map.title + "\n(no transformation)\n1 0\n";
  for (const Contour& contour : map.contours) {
    if (contour.points.size() < 2) continue;
    Append(text, contour.elevation, 2);
    text += ' ' + std::to_string(contour.points.size()) + '\n';
    AppendPoints(text, contour.points);
  }
  for (const RoughnessLine& line : map.roughnessLines) {
    if (line.points.size() < 2) continue;
    AppendRoughness(text, line.z0Left);
    text += ' ';
    AppendRoughness(text, line.z0Right);
    text += ' ' + std::to_string(line.points.size()) + '\n';
    AppendPoints(text, line.points);
  }
  return text;
}

}  // namespace kavi::gis
