#include "support/test_files.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kavi::test {

TempFolder::TempFolder() {
  char pattern[] = "/tmp/kavi-test-XXXXXX";
  if (!mkdtemp(pattern)) throw std::runtime_error("cannot create a temporary folder");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFlatMap(const std::string& path, float roughness, float halfSide) {
  std::ostringstream map;
  map << "+ flat test map\n"
      << "no transformation\n"
      << "1 0\n"
      << roughness << " " << roughness << " 5\n"
      << -halfSide << " " << -halfSide << " " << halfSide << " " << -halfSide << "\n"
      << halfSide << " " << halfSide << " " << -halfSide << " " << halfSide << "\n"
      << -halfSide << " " << -halfSide << "\n";
  WriteText(path, map.str());
}

void WriteWeibullClimate(const std::string& path, const std::vector<SectorClimate>& sectors,
                         float latitude) {
  std::ostringstream text;
  text << "test station\n" << latitude << " 10.0 10.0\n" << sectors.size() << " 1.0 0.0 2\n";
  for (const SectorClimate& s : sectors) text << s.frequency << " ";
  text << "\n";
  for (const SectorClimate& s : sectors) text << s.A << " ";
  text << "\n";
  for (const SectorClimate& s : sectors) text << s.k << " ";
  text << "\n";
  WriteText(path, text.str());
}

std::vector<SectorClimate> TypicalClimate() {
  return {{5.0f, 5.5f, 1.9f},  {4.0f, 5.0f, 1.8f},  {4.0f, 5.2f, 2.0f},  {5.0f, 5.8f, 2.1f},
          {6.0f, 6.2f, 2.2f},  {8.0f, 6.8f, 2.2f},  {12.0f, 7.6f, 2.3f}, {16.0f, 8.4f, 2.4f},
          {15.0f, 8.2f, 2.3f}, {11.0f, 7.5f, 2.2f}, {8.0f, 6.6f, 2.0f},  {6.0f, 6.0f, 1.9f}};
}

void WriteObstacles(const std::string& path, const std::vector<std::vector<float>>& obstacles) {
  std::ostringstream text;
  text << "obstacles near the station\n";
  for (const auto& o : obstacles) {
    for (float v : o) text << v << " ";
    text << "\n";
  }
  WriteText(path, text.str());
}

}  // namespace kavi::test
