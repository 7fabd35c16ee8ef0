#include "numerics/observed_climate.h"

#include <algorithm>
#include <cmath>

#include "numerics/climate_plausibility.h"
#include "numerics/context.h"
#include "numerics/free_format.h"
#include "numerics/open_data_file.h"
#include "numerics/text_reader.h"

namespace kavi::numerics {

namespace {

constexpr int kWeibullFlag = 2;
constexpr int kCumulativeFlag = 1;
constexpr int kExceedanceFlag = -1;
// Histogram built from Weibull parameters: bins up to the speed exceeded with
// probability about 1e-4 (exp(-9.21)), at least 1 m/s wide, at most 50.
constexpr float kRareExceedance = 9.21f;
constexpr int kWeibullBins = 50;
// Upper speed limits (m/s, after the speed factor) beyond this are no wind
// speed but a wrong unit or speed factor; they would also overflow the mean
// cube of the speed in the Weibull fits.
constexpr float kMaxSpeedLimit = 1000.0f;

struct Line {
  char text[kClimateLineWidth];
  int length = 0;
};

bool ReadReals(const Line& line, float* values, int count) {
  FieldReader in(line.text, line.length);
  for (int i = 0; i < count; ++i) {
    if (!in.NextReal(values[i])) return false;
  }
  return true;
}

bool IsBlank(const Line& line) {
  return std::all_of(line.text, line.text + line.length, IsFieldSeparator);
}

// Line 3: sector count, speed factor, direction offset and the optional flag.
bool ParseLayoutLine(const Line& line, int& sectors, float& speedFactor, float& offset, int& flag) {
  {
    FieldReader in(line.text, line.length);
    if (in.NextInteger(sectors) && in.NextReal(speedFactor) && in.NextReal(offset) &&
        in.NextInteger(flag)) {
      return true;
    }
  }
  flag = 0;
  FieldReader in(line.text, line.length);
  return in.NextInteger(sectors) && in.NextReal(speedFactor) && in.NextReal(offset);
}

class ClimateReader {
 public:
  ClimateReader(TextReader& in, ObservedClimate& climate) : in_(in), c_(climate) {}

  bool Read() {
    Line line;
    c_.headerThird = -1.0f;
    if (!in_.ReadRecord(line.text, kClimateLineWidth, line.length)) return false;  // title
    if (!in_.ReadRecord(line.text, kClimateLineWidth, line.length)) return false;
    float header[3];
    if (ReadReals(line, header, 3)) {
      c_.latitude = header[0];
      c_.headerSecond = header[1];
      c_.headerThird = header[2];
    }
    float speedFactor = 0.0f;
    int flag = 0;
    if (!ReadRecordOf(line) ||
        !ParseLayoutLine(line, c_.sectorCount, speedFactor, c_.directionOffset, flag)) {
      return false;
    }
    // Sector frequencies need a place each; a negative count reads none.
    sectors_ = std::max(c_.sectorCount, 0);
    if (sectors_ > kMaxObservedBins || !(speedFactor > 0.0f)) return false;
    if (!ReadRecordOf(line)) return false;
    bool frequenciesGiven = ReadReals(line, c_.sectorFrequency, sectors_);
    if (!frequenciesGiven) {
      float any = 0.0f;
      if (FieldReader(line.text, line.length).NextReal(any)) return false;  // too few numbers
    }
    if (flag == kWeibullFlag) {
      if (!frequenciesGiven || !ReadWeibullBody(speedFactor)) return false;
    } else if (!ReadTableBody(speedFactor, flag < 0)) {
      return false;
    }
    if (flag == kCumulativeFlag) UnaccumulateFromBelow();
    if (flag == kExceedanceFlag) UnaccumulateFromAbove();
    return NoNegativeFrequency(frequenciesGiven) && LimitsAreSpeedBins() &&
           Normalise(frequenciesGiven) && AllFinite() &&
           ClimateIsPlausible(c_, flag < 0 && flag != kExceedanceFlag);
  }

 private:
  bool ReadRecordOf(Line& line) {
    return in_.ReadRecord(line.text, kClimateLineWidth, line.length) && !in_.failed();
  }

  float& F(int sector, int bin) { return c_.table[bin * sectors_ + sector]; }

  bool HasRoomFor(int bins) const {
    return bins <= kMaxObservedBins && bins * sectors_ <= kMaxObservedEntries;
  }

  // One line per bin: upper limit and one frequency per sector. Blank lines
  // may follow the last bin.
  bool ReadTableBody(float speedFactor, bool limitsFromNextLine) {
    Line line;
    int bins = 0;
    bool blankSeen = false;
    while (in_.ReadRecord(line.text, kClimateLineWidth, line.length)) {
      if (IsBlank(line)) {
        blankSeen = true;
        continue;
      }
      if (blankSeen || !HasRoomFor(bins + 1)) return false;
      FieldReader in(line.text, line.length);
      float U = 0.0f;
      if (!in.NextReal(U)) return false;
      for (int i = 0; i < sectors_; ++i) {
        if (!in.NextReal(F(i, bins))) return false;
      }
      c_.upperLimits[bins] = U * speedFactor;
      // Exceedance tables give the lower limit of each bin: it closes the one before.
      if (limitsFromNextLine && bins > 0) c_.upperLimits[bins - 1] = c_.upperLimits[bins];
      ++bins;
    }
    c_.binCount = bins;
    return !in_.failed();
  }

  // Two lines, A and k per sector; the histogram is binned from them.
  bool ReadWeibullBody(float speedFactor) {
    Line line;
    float A[kMaxObservedBins];
    float k[kMaxObservedBins];
    if (!ReadRecordOf(line) || !ReadReals(line, A, sectors_)) return false;
    if (!ReadRecordOf(line) || !ReadReals(line, k, sectors_)) return false;
    float vMax = 0.0f;
    for (int i = 0; i < sectors_; ++i) {
      A[i] *= speedFactor;
      if (!(A[i] >= 0.0f && k[i] > 0.0f)) return false;
      vMax = std::max(vMax, A[i] * std::pow(kRareExceedance, 1.0f / k[i]));
    }
    if (!std::isfinite(vMax)) return false;
    const float w = std::max(vMax / kWeibullBins, 1.0f);
    const int bins = std::min(static_cast<int>(std::lround(vMax / w)), kWeibullBins);
    if (!HasRoomFor(bins)) return false;
    for (int b = 0; b < bins; ++b) c_.upperLimits[b] = static_cast<float>(b + 1) * w;
    for (int i = 0; i < sectors_; ++i) {
      float below = 1.0f;
      for (int b = 0; b < bins; ++b) {
        const float above = std::exp(-std::pow(c_.upperLimits[b] / A[i], k[i]));
        F(i, b) = below - above;
        below = above;
      }
    }
    c_.binCount = bins;
    return true;
  }

  // Cumulative from below: bin b holds what lies between its limits.
  void UnaccumulateFromBelow() {
    for (int i = 0; i < sectors_; ++i) {
      for (int b = c_.binCount - 1; b >= 1; --b) F(i, b) -= F(i, b - 1);
    }
  }

  // Exceedance: bin b is what exceeds its lower limit but not the next line's
  // value (both as read); the last line only closes the bin before it.
  void UnaccumulateFromAbove() {
    for (int i = 0; i < sectors_; ++i) {
      for (int b = 0; b + 1 < c_.binCount; ++b) F(i, b) -= F(i, b + 1);
    }
    c_.binCount = std::max(c_.binCount - 1, 0);
  }

  // A frequency below zero is not an observation: a negative count, or a
  // cumulative or exceedance table that is not monotone. Such a column cannot
  // be normalised to 1000, and a negative sector frequency would weigh a
  // sector negatively in every fit and in the atlas.
  bool NoNegativeFrequency(bool frequenciesGiven) {
    auto nonNegative = [](float v) { return v >= 0.0f; };
    return std::all_of(c_.table, c_.table + c_.binCount * sectors_, nonNegative) &&
           (!frequenciesGiven ||
            std::all_of(c_.sectorFrequency, c_.sectorFrequency + sectors_, nonNegative));
  }

  // The limits must describe bins of speed from 0 upwards: not negative, none
  // below the one before (other negative flags repeat the last limit) and
  // none beyond any wind speed.
  bool LimitsAreSpeedBins() const {
    float lower = 0.0f;
    for (int b = 0; b < c_.binCount; ++b) {
      const float U = c_.upperLimits[b];
      if (!(U >= lower && U <= kMaxSpeedLimit)) return false;
      lower = U;
    }
    return true;
  }

  // Per mille per sector and percent over the sectors. A climate without any
  // observation cannot be normalised.
  bool Normalise(bool frequenciesGiven) {
    bool observed = false;
    for (int i = 0; i < sectors_; ++i) {
      float T = 0.0f;
      for (int b = 0; b < c_.binCount; ++b) T += F(i, b);
      if (T > 0.0f) {
        observed = true;
        for (int b = 0; b < c_.binCount; ++b) F(i, b) = F(i, b) * 1000.0f / T;
      }
      if (!frequenciesGiven) c_.sectorFrequency[i] = T;
    }
    float S = 0.0f;
    for (int i = 0; i < sectors_; ++i) S += c_.sectorFrequency[i];
    if (!observed || !(S > 0.0f) || !std::isfinite(S)) return false;
    for (int i = 0; i < sectors_; ++i) c_.sectorFrequency[i] = c_.sectorFrequency[i] * 100.0f / S;
    return true;
  }

  bool AllFinite() const {
    auto finite = [](float v) { return std::isfinite(v); };
    return std::all_of(c_.upperLimits, c_.upperLimits + c_.binCount, finite) &&
           std::all_of(c_.table, c_.table + c_.binCount * sectors_, finite) &&
           std::all_of(c_.sectorFrequency, c_.sectorFrequency + sectors_, finite);
  }

  TextReader& in_;
  ObservedClimate& c_;
  int sectors_ = 0;
};

}  // namespace

void ReadObservedClimate(Context& ctx, ObservedClimate& climate, std::string_view name) {
  int unit = kObservedClimateUnit;
  if (OpenDataFile(ctx, unit, name, "FORMATTED", "OLD") != 0) return;
  // Read into a copy so that a refused file leaves the climate in use as it was;
  // an unreadable line 2 keeps the earlier latitude and second number.
  ObservedClimate read;
  read.latitude = climate.latitude;
  read.headerSecond = climate.headerSecond;
  bool ok = false;
  {
    TextReader in(DataFile(ctx, unit));
    ok = ClimateReader(in, read).Read();
  }
  CloseDataFile(ctx, unit);
  if (!ok) {
    ctx.SetStatus(kStatusCannotOpenFile);
    return;
  }
  climate = read;
}

}  // namespace kavi::numerics
