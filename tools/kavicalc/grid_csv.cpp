#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "call_failure.h"
#include "grid_output.h"
#include "number_text.h"

namespace kavi::tool {

namespace {
// The shortest text of the single; empty for a node without value.
std::string Field(float value) { return std::isnan(value) ? "" : ShortestText(value); }

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
}  // namespace

// One row per node and height: the position, the height, then the node
// quantities and the sector quantities of sector 1, 2, ... (columns
// sector_frequency_1, ...).
void WriteGridCsv(const std::string& path, const GridValues& values, const GridProvenance& about) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "w"));
  if (!file) Fail(E_FAIL, "could not write " + path + ": " + std::strerror(errno));
  std::FILE* out = file.get();
  std::string header = "x,y,height";
  for (std::size_t q = 0; q < kNodeQuantities; ++q)
    if (!Info(NodeQuantity(q)).energy || about.energy)
      header += std::string(",") + Info(NodeQuantity(q)).name;
  for (std::size_t q = 0; q < kSectorQuantities; ++q) {
    if (Info(SectorQuantity(q)).energy && !about.energy) continue;
    for (std::size_t s = 0; s < values.sectors(); ++s)
      header += std::string(",") + Info(SectorQuantity(q)).name + "_" + std::to_string(s + 1);
  }
  std::fprintf(out, "%s\n", header.c_str());
  const GridLayout& layout = values.layout();
  for (std::size_t node = 0; node < values.NodeCount(); ++node) {
    for (std::size_t h = 0; h < values.heights().size(); ++h) {
      std::string row = ShortestText(layout.NodeX(node)) + "," + ShortestText(layout.NodeY(node)) +
                        "," + ShortestText(values.heights()[h]);
      for (std::size_t q = 0; q < kNodeQuantities; ++q)
        if (!Info(NodeQuantity(q)).energy || about.energy)
          row += "," + Field(values.At(NodeQuantity(q), h, node));
      for (std::size_t q = 0; q < kSectorQuantities; ++q) {
        if (Info(SectorQuantity(q)).energy && !about.energy) continue;
        for (std::size_t s = 0; s < values.sectors(); ++s)
          row += "," + Field(values.At(SectorQuantity(q), h, s, node));
      }
      std::fprintf(out, "%s\n", row.c_str());
    }
  }
  if (std::ferror(out) || std::fclose(file.release()) != 0)
    Fail(E_FAIL, "could not write " + path + ": " + std::strerror(errno));
}

}  // namespace kavi::tool
