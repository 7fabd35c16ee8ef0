#include "numerics/map_input.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "numerics/context.h"
#include "numerics/free_format.h"
#include "numerics/map_plausibility.h"
#include "numerics/map_transformation.h"
#include "numerics/open_data_file.h"
#include "numerics/text_reader.h"

namespace kavi::numerics {

namespace {

constexpr int kTitleWidth = 80;    // characters of the title line examined
constexpr int kHeaderWidth = 180;  // characters of any other header line examined
constexpr int kLineHeaderEntries = 3;
constexpr int kMinStoredPoints = 2;

enum class Outcome { kComplete, kFull, kMapError };

struct LineHeader {
  float left = 0.0f;
  float right = 0.0f;
  float elevation = 0.0f;
  int points = 0;
  int kind = 0;
};

// The three header shapes in order: "z0 z0 elevation n" (kind 2), "z0 z0 n"
// (kind 1), "elevation n" (kind 0); the first that reads decides.
bool ParseLineHeader(const char* record, int length, LineHeader& header) {
  header = LineHeader{};
  {
    FieldReader in(record, length);
    if (in.NextReal(header.left) && in.NextReal(header.right) && in.NextReal(header.elevation) &&
        in.NextInteger(header.points)) {
      header.kind = 2;
      return true;
    }
  }
  header = LineHeader{};
  {
    FieldReader in(record, length);
    if (in.NextReal(header.left) && in.NextReal(header.right) && in.NextInteger(header.points)) {
      header.kind = 1;
      return true;
    }
  }
  header = LineHeader{};
  FieldReader in(record, length);
  if (in.NextReal(header.elevation) && in.NextInteger(header.points)) {
    header.kind = 0;
    return true;
  }
  return false;
}

bool ReadReals(const char* record, int length, float* values, int count) {
  FieldReader in(record, length);
  for (int i = 0; i < count; ++i) {
    if (!in.NextReal(values[i])) return false;
  }
  return true;
}

// The optional transformation lines. On return `record` holds the height
// scale line (the record after them).
bool ReadTransformation(TextReader& in, bool polar, char* record, int& length,
                        MapTransformation& transformation) {
  if (!in.ReadRecord(record, kHeaderWidth, length)) return false;
  float probe = 0.0f;
  if (!FieldReader(record, length).NextReal(probe)) {
    transformation = IdentityTransformation(polar);
    return in.ReadRecord(record, kHeaderWidth, length);
  }
  float first[4];
  if (!ReadReals(record, length, first, 4)) return false;
  if (!in.ReadRecord(record, kHeaderWidth, length)) return false;
  float second[5] = {0.0f, 0.0f, 0.0f, 0.0f, 1.0f};
  if (polar) {
    if (!ReadReals(record, length, second, 5)) {
      second[4] = 1.0f;
      if (!ReadReals(record, length, second, 4)) return false;
    }
    if (!PolarTransformation(first, second, transformation)) return false;
  } else {
    if (!ReadReals(record, length, second, 4)) return false;
    if (!CartesianTransformation(first, second, transformation)) return false;
  }
  return in.ReadRecord(record, kHeaderWidth, length);
}

// Height scale c and offset o from the height scale line; c = 0 is refused.
bool ParseHeightScale(const char* record, int length, float& c, float& o) {
  c = 1.0f;
  o = 0.0f;
  if (!FieldReader(record, length).NextReal(c)) return false;
  float both[2];
  if (ReadReals(record, length, both, 2)) {
    c = both[0];
    o = both[1];
  }
  return c != 0.0f;
}

// Reads one point of a list (a pair that may run over records).
bool ReadPoint(TextReader& in, float& p, float& q) {
  return in.NextReal(p) == TextReader::Item::kValue && in.NextReal(q) == TextReader::Item::kValue;
}

class MapReader {
 public:
  MapReader(TextReader& in, float* mapX, float* mapY, int capacity)
      : in_(in), X_(mapX), Y_(mapY), capacity_(capacity < 0 ? 0 : capacity) {}

  Outcome Read() {
    char record[kHeaderWidth];
    int length = 0;
    if (!in_.ReadRecord(record, kTitleWidth, length) || length == 0) return Outcome::kMapError;
    if (record[0] != '+' && record[0] != '*') return Outcome::kMapError;
    const bool polar = record[0] == '*';
    if (!ReadTransformation(in_, polar, record, length, transformation_)) return Outcome::kMapError;
    if (!ParseHeightScale(record, length, heightScale_, heightOffset_)) return Outcome::kMapError;
    for (;;) {
      if (!in_.ReadRecord(record, kHeaderWidth, length)) {
        return in_.failed() ? Outcome::kMapError : Outcome::kComplete;
      }
      LineHeader header;
      if (!ParseLineHeader(record, length, header)) return Outcome::kMapError;
      if (header.kind != 0 &&
          !(MapRoughnessIsPlausible(header.left) && MapRoughnessIsPlausible(header.right)))
        return Outcome::kMapError;
      if (header.points < kMinStoredPoints) {
        if (!SkipPoints(header.points)) return Outcome::kMapError;
        continue;
      }
      if (used_ + 4 >= capacity_) return Outcome::kFull;
      if (!StoreLine(header)) return Outcome::kMapError;
      // The entries the whole line would take, also when it was truncated.
      used_ += kLineHeaderEntries + static_cast<long long>(header.points);
      ++lines_;
      if (used_ >= capacity_) return Outcome::kFull;
    }
  }

  int lines() const { return lines_; }

 private:
  // Reads and discards the points of a dropped line (one or none).
  bool SkipPoints(long long count) {
    float p = 0.0f;
    float q = 0.0f;
    for (long long i = 0; i < count; ++i) {
      if (!ReadPoint(in_, p, q)) return false;
    }
    if (count > 0) in_.SkipRestOfRecord();
    return true;
  }

  // Stores the header at entry used_ and as many points as fit.
  bool StoreLine(const LineHeader& header) {
    const int k = static_cast<int>(used_);
    const long long room = capacity_ - used_ - kLineHeaderEntries;
    const int stored = header.points <= room ? header.points : static_cast<int>(room);
    const float elevation =
        header.kind == 1 ? 0.0f : (header.elevation + heightOffset_) * heightScale_;
    if (!std::isfinite(elevation)) return false;
    X_[k] = header.left;
    Y_[k] = static_cast<float>(stored);
    X_[k + 1] = header.right;
    Y_[k + 1] = static_cast<float>(header.kind);
    X_[k + 2] = elevation;
    Y_[k + 2] = 0.0f;
    float* x = X_ + k + kLineHeaderEntries;
    float* y = Y_ + k + kLineHeaderEntries;
    for (int i = 0; i < stored; ++i) {
      float p = 0.0f;
      float q = 0.0f;
      if (!ReadPoint(in_, p, q)) return false;
      transformation_.Apply(p, q, x[i], y[i]);
      if (!std::isfinite(x[i]) || !std::isfinite(y[i])) return false;
    }
    // Points beyond the capacity are read (they must still be numbers) and dropped.
    float p = 0.0f;
    float q = 0.0f;
    for (long long i = stored; i < header.points; ++i) {
      if (!ReadPoint(in_, p, q)) return false;
    }
    in_.SkipRestOfRecord();
    return true;
  }

  TextReader& in_;
  float* X_;
  float* Y_;
  const long long capacity_;
  MapTransformation transformation_;
  float heightScale_ = 1.0f;
  float heightOffset_ = 0.0f;
  long long used_ = 0;  // U, entries taken so far
  int lines_ = 0;
};

// Entries used and content kind of the first `lines` stored lines.
void SummariseLines(const float* mapY, int lines, MapContents& contents) {
  bool heights = false;
  bool roughness = false;
  int k = 0;
  for (int line = 0; line < lines; ++line) {
    const int points = static_cast<int>(std::lround(mapY[k]));
    const int kind = static_cast<int>(std::lround(mapY[k + 1]));
    heights = heights || kind == 0 || kind == 2;
    roughness = roughness || kind == 1 || kind == 2;
    k += kLineHeaderEntries + points;
  }
  contents.lineCount = lines;
  contents.entryCount = k;
  contents.kind =
      roughness ? (heights ? kMapHeightsAndRoughness : kMapRoughnessOnly) : kMapHeightsOnly;
}

}  // namespace

void MapInput(Context& ctx, std::string_view name, std::span<float> mapX, std::span<float> mapY,
              MapContents& contents) {
  int unit = kMapUnit;
  if (OpenDataFile(ctx, unit, name, "UNKNOWN", "OLD") != 0) {
    contents.lineCount = -1;
    return;
  }
  const int capacity = static_cast<int>(
      std::min<std::size_t>({mapX.size(), mapY.size(), std::numeric_limits<int>::max()}));
  Outcome outcome = Outcome::kMapError;
  int lines = 0;
  {
    TextReader in(DataFile(ctx, unit));
    MapReader reader(in, mapX.data(), mapY.data(), capacity);
    outcome = reader.Read();
    lines = reader.lines();
  }
  CloseDataFile(ctx, unit);
  if (outcome == Outcome::kMapError) {
    ctx.SetStatus(kStatusMapError);
    return;
  }
  if (outcome == Outcome::kFull) ctx.SetStatus(kStatusMapTooLarge);
  SummariseLines(mapY.data(), lines, contents);
}

}  // namespace kavi::numerics
