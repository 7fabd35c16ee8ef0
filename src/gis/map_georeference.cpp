#include "gis/map_georeference.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "gis/gdal_support.h"

namespace kavi::gis {

namespace {
constexpr const char* kCrsTag = "| crs ";
constexpr const char* kOriginTag = "| origin ";

std::string Shortest(double value) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

bool ReadNumber(const std::string& text, std::size_t& at, double& value) {
  while (at < text.size() && text[at] == ' ') ++at;
  const auto result = std::from_chars(text.data() + at, text.data() + text.size(), value);
  if (result.ec != std::errc()) return false;
  at = static_cast<std::size_t>(result.ptr - text.data());
  return true;
}
}  // namespace

std::string GeoreferencedTitle(const MapGeoreference& reference, const std::string& source) {
  std::string from = source;
  for (char& c : from)
    if (c == '\n' || c == '\r' || c == '|') c = ' ';
  if (from.size() > 60) from = "..." + from.substr(from.size() - 57);
  return "+kavicalc map " + std::string(kCrsTag) + reference.crs + " " + kOriginTag +
         Shortest(reference.originX) + " " + Shortest(reference.originY) + " | from " + from;
}

std::optional<MapGeoreference> ParseGeoreferencedTitle(const std::string& title) {
  const std::size_t crs = title.find(kCrsTag);
  const std::size_t origin = title.find(kOriginTag);
  if (crs == std::string::npos || origin == std::string::npos) return std::nullopt;
  MapGeoreference reference;
  std::istringstream(title.substr(crs + 6)) >> reference.crs;
  std::size_t at = origin + 9;
  if (reference.crs.empty() || !ReadNumber(title, at, reference.originX) ||
      !ReadNumber(title, at, reference.originY))
    return std::nullopt;
  return reference;
}

std::optional<MapGeoreference> ReadMapGeoreference(const std::string& path) {
  std::ifstream in(path);
  std::string title;
  if (!in || !std::getline(in, title)) return std::nullopt;
  if (!title.empty() && title.back() == '\r') title.pop_back();
  return ParseGeoreferencedTitle(title);
}

std::string CrsWkt(const std::string& crs) {
  return WktOf(SpatialReferenceFrom(crs, "the map's CRS " + crs));
}

}  // namespace kavi::gis
