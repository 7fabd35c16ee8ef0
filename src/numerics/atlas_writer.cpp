#include "numerics/atlas_writer.h"

#include <string>
#include <string_view>

#include "numerics/context.h"
#include "numerics/fixed_field.h"
#include "numerics/open_data_file.h"
#include "output/output_file.h"

namespace kavi::numerics {

namespace {

constexpr int kValuesPerLine = 12;
constexpr int kCountWidth = 3;
constexpr int kValueWidth = 7;
constexpr int kRoughnessDecimals = 3;
constexpr int kHeightDecimals = 1;
constexpr int kTableDecimals = 2;

// One record: 12 values a line, as many lines as it takes.
void AppendRecord(std::string& out, const float* values, int count, int decimals) {
  for (int i = 0; i < count; ++i) {
    AppendFixed(out, values[i], kValueWidth, decimals);
    if ((i + 1) % kValuesPerLine == 0 || i + 1 == count) out += '\n';
  }
  if (count == 0) out += '\n';
}

// The title on one line: line ends inside it become blanks, trailing blanks go.
void AppendTitle(std::string& out, std::string_view title) {
  while (!title.empty() && title.back() == ' ') title.remove_suffix(1);
  for (const char c : title) out += c == '\n' || c == '\r' ? ' ' : c;
  out += '\n';
}

std::string AtlasText(const AtlasTables& atlas, int sectors, std::string_view title) {
  std::string out;
  AppendTitle(out, title);
  AppendInteger(out, atlas.roughnessCount, kCountWidth);
  AppendInteger(out, atlas.heightCount, kCountWidth);
  AppendInteger(out, sectors, kCountWidth);
  out += '\n';
  AppendRecord(out, atlas.roughness, atlas.roughnessCount, kRoughnessDecimals);
  AppendRecord(out, atlas.heights, atlas.heightCount, kHeightDecimals);
  for (int r = 0; r < atlas.roughnessCount; ++r) {
    AppendRecord(out, atlas.frequency[r], sectors, kTableDecimals);
    for (int j = 0; j < atlas.heightCount; ++j) {
      AppendRecord(out, atlas.weibullA[r][j], sectors, kTableDecimals);
      AppendRecord(out, atlas.weibullK[r][j], sectors, kTableDecimals);
    }
  }
  return out;
}

bool CountsFit(const AtlasTables& atlas, int sectors) {
  return atlas.roughnessCount >= 1 && atlas.roughnessCount <= kMaxStdRoughness &&
         atlas.heightCount >= 1 && atlas.heightCount <= kMaxStdHeights && sectors >= 1 &&
         sectors <= kMaxSectors;
}

}  // namespace

void SaveAtlas(Context& ctx, const AtlasTables& atlas, int sectorCount, std::string_view title,
               std::string_view name) {
  std::string path;
  if (!DataFilePath(name, path) || !CountsFit(atlas, sectorCount)) {
    ctx.SetStatus(kStatusCannotOpenFile);
    return;
  }
  const std::string text = AtlasText(atlas, sectorCount, title);
  output::OutputFile file;
  if (!file.Open(path) || !file.Write(text.data(), text.size()) || !file.Commit()) {
    ctx.SetStatus(kStatusCannotOpenFile);
  }
}

}  // namespace kavi::numerics
