// Small input files for calculations through the interface, written into a
// private temporary folder.
#pragma once

#include <string>
#include <vector>

namespace kavi::test {

// A fresh folder under /tmp, removed with its contents at destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string Path(const std::string& name) const { return path_ + "/" + name; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

void WriteText(const std::string& path, const std::string& text);
std::string ReadText(const std::string& path);

// A Cartesian map without transformation: a square roughness line of
// `roughness` on both sides, half-side `halfSide` around the origin.
void WriteFlatMap(const std::string& path, float roughness = 0.03f, float halfSide = 5000.0f);

// An observed climate given by its Weibull parameters per sector.
struct SectorClimate {
  float frequency;
  float A;
  float k;
};
void WriteWeibullClimate(const std::string& path, const std::vector<SectorClimate>& sectors,
                         float latitude = 55.0f);
// A 12-sector climate with a south-westerly prevailing wind.
std::vector<SectorClimate> TypicalClimate();

// An obstacles file: one solid wall-like obstacle per entry (bearing1,
// distance1, bearing2, distance2, height, depth, porosity), with a title line.
void WriteObstacles(const std::string& path, const std::vector<std::vector<float>>& obstacles);

}  // namespace kavi::test
