// An observed wind climate as counts: per direction sector and speed bin the
// number of records above the calm limit, and the calms apart, with the
// statistics of the speeds that the summary reports.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "sample_weibull_fit.h"
#include "series_reader.h"

namespace kavi::tool {

// What the engine's reader of observed climates holds: speed bins, and
// table entries (bins times sectors). The bins written include one empty
// closing bin.
constexpr int kMostClimateBins = 100;
constexpr int kMostClimateEntries = 3600;

struct BinnedClimate {
  int sectors = 0;
  // Bin b spans upperLimits[b - 1] (0 for the first bin) up to upperLimits[b].
  std::vector<double> upperLimits;
  std::vector<std::vector<double>> counts;  // [sector][bin], records above the calm limit
  double calms = 0;                         // records at or below the calm limit

  double AboveCalm() const;
  double Total() const { return AboveCalm() + calms; }
};

// The sector (from 0; sector 0 centred on north) of a direction in degrees.
int SectorOf(double direction, int sectors);

// Per sector, percent of the records above the calm limit.
std::vector<double> SectorFrequencies(const BinnedClimate& climate);

// The counts with the calms spread over the first bin of every sector in
// proportion to the sector frequencies.
std::vector<std::vector<double>> CountsWithCalms(const BinnedClimate& climate);

// Bins of width binWidth from 0 up to the bin that holds the highest speed;
// a record is calm when its speed is at or below calmLimit. Fails (CallFailure)
// when there are more bins than the observed-climate file holds, or no record
// above the calm limit.
BinnedClimate BinSamples(std::span<const WindSample> samples, int sectors, double binWidth,
                         double calmLimit);

// Fails when the climate with its closing bin would not fit the file.
void CheckClimateCapacity(int bins, int sectors, const char* remedy);

struct SpeedStatistics {
  double count = 0;
  double meanSpeed = 0;     // m/s
  double powerDensity = 0;  // W/m², at standard air density
  std::optional<WeibullFit> weibull;
};

struct ClimateStatistics {
  std::vector<SpeedStatistics> sectors;  // records above the calm limit
  SpeedStatistics all;                   // every record, calms included
};

// Half the standard air density, 1.225 kg/m³.
constexpr double kHalfAirDensity = 0.6125;

// From the samples themselves; Weibull fits of the speeds above the calm limit.
ClimateStatistics SampleStatistics(std::span<const WindSample> samples, int sectors,
                                   double calmLimit);
// From the table alone: each bin's records spread evenly over the bin, calms at
// 0 m/s; Weibull fits of the bin midpoints weighted by their counts.
ClimateStatistics TableStatistics(const BinnedClimate& climate);

}  // namespace kavi::tool
