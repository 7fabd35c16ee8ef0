#include "observed_climate_file.h"

#include <cstdio>

#include "number_text.h"
#include "plot_text.h"

namespace kavi::tool {

namespace {
// Decimals of the frequencies (percent of all records, per mille of a sector).
constexpr int kFrequencyDecimals = 3;
// Decimals of the bin limits, enough for any bin width a user gives.
constexpr int kLimitDecimals = 6;

std::string OneLine(const std::string& text) {
  std::string line = text;
  for (char& c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
  return line;
}

void AppendFixed(std::string& text, double value, int width) {
  char field[64];
  std::snprintf(field, sizeof field, " %*.*f", width, kFrequencyDecimals, value);
  text += field;
}
}  // namespace

std::string ObservedClimateText(const StationHeader& station, const BinnedClimate& climate) {
  std::string text = OneLine(station.title) + "\n";
  text += ShortestText(station.latitude) + " " + ShortestText(station.longitude) + " " +
          ShortestText(station.height) + "\n";
  text += std::to_string(climate.sectors) + " 1.0 0.0 0\n";
  for (const double f : SectorFrequencies(climate)) AppendFixed(text, f, 7);
  text += "\n";

  const std::vector<std::vector<double>> counts = CountsWithCalms(climate);
  std::vector<double> totals;
  for (const auto& sector : counts) {
    double total = 0;
    for (const double c : sector) total += c;
    totals.push_back(total);
  }
  const std::size_t bins = climate.upperLimits.size();
  const double width = bins > 1 ? climate.upperLimits[bins - 1] - climate.upperLimits[bins - 2]
                                : climate.upperLimits[0];
  for (std::size_t b = 0; b <= bins; ++b) {
    const double upper = b < bins ? climate.upperLimits[b] : climate.upperLimits[bins - 1] + width;
    char limit[64];
    std::snprintf(limit, sizeof limit, "%6s", TrimmedNumber(upper, kLimitDecimals).c_str());
    text += limit;
    for (std::size_t i = 0; i < counts.size(); ++i)
      AppendFixed(text, b < bins && totals[i] > 0 ? 1000 * counts[i][b] / totals[i] : 0, 8);
    text += "\n";
  }
  return text;
}

}  // namespace kavi::tool
