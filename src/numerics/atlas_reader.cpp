#include "numerics/atlas_reader.h"

#include <algorithm>

#include "numerics/atlas_plausibility.h"
#include "numerics/constants.h"
#include "numerics/context.h"
#include "numerics/open_data_file.h"
#include "numerics/text_reader.h"

namespace kavi::numerics {

namespace {

constexpr int kAtlasUnit = 12;

// Reads one record of `count` values; the next record starts on a new line.
bool ReadRecord(TextReader& in, float* values, int count) {
  for (int i = 0; i < count; ++i) {
    if (in.NextReal(values[i]) != TextReader::Item::kValue) return false;
  }
  in.SkipRestOfRecord();
  return true;
}

bool AllAtLeast(const float* values, int count, float least) {
  for (int i = 0; i < count; ++i) {
    if (!(values[i] >= least)) return false;
  }
  return true;
}

bool AllAbove(const float* values, int count, float bound) {
  for (int i = 0; i < count; ++i) {
    if (!(values[i] > bound)) return false;
  }
  return true;
}

enum class Outcome { kRead, kTooManySectors, kBad };

class AtlasReader {
 public:
  AtlasReader(TextReader& in, AtlasTables& atlas) : in_(in), atlas_(atlas) {}

  Outcome Read(char* title, int titleCapacity, int& titleLength, int& sectors) {
    if (!in_.ReadRecord(title, titleCapacity, titleLength)) return Outcome::kBad;
    int classes = 0;
    int heights = 0;
    if (in_.NextInteger(classes) != TextReader::Item::kValue ||
        in_.NextInteger(heights) != TextReader::Item::kValue ||
        in_.NextInteger(sectors) != TextReader::Item::kValue) {
      return Outcome::kBad;
    }
    in_.SkipRestOfRecord();
    // Checked before anything is stored.
    if (sectors > kMaxSectors) return Outcome::kTooManySectors;
    if (sectors < 1 || classes < 1 || classes > kMaxStdRoughness || heights < 1 ||
        heights > kMaxStdHeights) {
      return Outcome::kBad;
    }
    atlas_.roughnessCount = classes;
    atlas_.heightCount = heights;
    if (!ReadRecord(in_, atlas_.roughness, classes)) return Outcome::kBad;
    for (int r = 0; r < classes; ++r) {
      if (atlas_.roughness[r] < kRoughnessFloor) atlas_.roughness[r] = kRoughnessFloor;
    }
    if (!ReadRecord(in_, atlas_.heights, heights) || !AllAbove(atlas_.heights, heights, 0.0f)) {
      return Outcome::kBad;
    }
    for (int r = 0; r < classes; ++r) {
      if (!ReadRecord(in_, atlas_.frequency[r], sectors) ||
          !AllAtLeast(atlas_.frequency[r], sectors, 0.0f)) {
        return Outcome::kBad;
      }
      for (int j = 0; j < heights; ++j) {
        if (!ReadRecord(in_, atlas_.weibullA[r][j], sectors) ||
            !AllAtLeast(atlas_.weibullA[r][j], sectors, 0.0f) ||
            !ReadRecord(in_, atlas_.weibullK[r][j], sectors) ||
            !AllAbove(atlas_.weibullK[r][j], sectors, 0.0f)) {
          return Outcome::kBad;
        }
      }
    }
    return in_.failed() ? Outcome::kBad : Outcome::kRead;
  }

 private:
  TextReader& in_;
  AtlasTables& atlas_;
};

}  // namespace

void LoadAtlas(Context& ctx, AtlasTables& atlas, int& sectorsRead, std::span<char> title,
               std::string_view name) {
  int unit = kAtlasUnit;
  if (OpenDataFile(ctx, unit, name, "FORMATTED", "OLD") != 0) return;
  // Read into copies so that a refused file leaves the atlas in use as it was.
  AtlasTables read;
  char readTitle[kAtlasTitleWidth];
  const int capacity = static_cast<int>(std::min<std::size_t>(title.size(), kAtlasTitleWidth));
  int titleLength = 0;
  int sectors = 0;
  Outcome outcome = Outcome::kBad;
  {
    TextReader in(DataFile(ctx, unit));
    outcome = AtlasReader(in, read).Read(readTitle, capacity, titleLength, sectors);
  }
  if (outcome == Outcome::kRead && !AtlasIsPlausible(read, sectors)) outcome = Outcome::kBad;
  CloseDataFile(ctx, unit);
  switch (outcome) {
    case Outcome::kBad:
      ctx.SetStatus(kStatusCannotOpenFile);
      return;
    case Outcome::kTooManySectors:
      sectorsRead = sectors;
      return;
    case Outcome::kRead:
      atlas = read;
      sectorsRead = sectors;
      for (std::size_t i = 0; i < title.size(); ++i) {
        title[i] = static_cast<int>(i) < titleLength ? readTitle[i] : ' ';
      }
      return;
  }
}

}  // namespace kavi::numerics
