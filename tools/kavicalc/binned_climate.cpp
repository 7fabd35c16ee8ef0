#include "binned_climate.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "call_failure.h"
#include "number_text.h"

namespace kavi::tool {

namespace {
// Room for the rounding of speed / width, so that a speed on a bin limit
// (0.3 in bins of 0.1 m/s) lands in the bin that starts there.
constexpr double kLimitRoom = 1e-9;

double Sum(const std::vector<double>& values) {
  double sum = 0;
  for (const double v : values) sum += v;
  return sum;
}

SpeedStatistics StatisticsOf(double count, double sumSpeed, double sumCube,
                             std::optional<WeibullFit> weibull) {
  SpeedStatistics s;
  s.count = count;
  if (count > 0) {
    s.meanSpeed = sumSpeed / count;
    s.powerDensity = kHalfAirDensity * sumCube / count;
  }
  s.weibull = weibull;
  return s;
}
}  // namespace

double BinnedClimate::AboveCalm() const {
  double total = 0;
  for (const auto& sector : counts) total += Sum(sector);
  return total;
}

int SectorOf(double direction, int sectors) {
  const double width = 360.0 / sectors;
  double turned = std::fmod(direction + width / 2, 360.0);
  if (turned < 0) turned += 360;
  return std::min(static_cast<int>(turned / width), sectors - 1);
}

std::vector<double> SectorFrequencies(const BinnedClimate& climate) {
  const double total = climate.AboveCalm();
  std::vector<double> frequencies;
  for (const auto& sector : climate.counts)
    frequencies.push_back(total > 0 ? 100 * Sum(sector) / total : 0);
  return frequencies;
}

std::vector<std::vector<double>> CountsWithCalms(const BinnedClimate& climate) {
  std::vector<std::vector<double>> counts = climate.counts;
  const double total = climate.AboveCalm();
  if (total > 0)
    for (auto& sector : counts)
      if (!sector.empty()) sector[0] += climate.calms * Sum(sector) / total;
  return counts;
}

void CheckClimateCapacity(int bins, int sectors, const char* remedy) {
  const int written = bins + 1;
  if (written > kMostClimateBins || written * sectors > kMostClimateEntries)
    Fail(E_FAIL, std::to_string(bins) + " speed bins in " + std::to_string(sectors) +
                     " sectors are more than an observed-climate file holds (" +
                     std::to_string(kMostClimateBins) + " bins, " +
                     std::to_string(kMostClimateEntries) + " entries, one closing bin included); " +
                     remedy);
}

BinnedClimate BinSamples(std::span<const WindSample> samples, int sectors, double binWidth,
                         double calmLimit) {
  double highest = 0;
  for (const WindSample& s : samples)
    if (s.speed > calmLimit) highest = std::max(highest, s.speed);
  if (!(highest > 0))
    Fail(E_FAIL, "no record has a speed above the calm limit of " + ShortestText(calmLimit) +
                     " m/s: all " + std::to_string(samples.size()) + " records are calms");
  const double lastBin = std::floor(highest / binWidth + kLimitRoom);
  CheckClimateCapacity(static_cast<int>(std::min(lastBin + 1, 1e6)), sectors,
                       "give a larger --bin-width");
  const int bins = static_cast<int>(lastBin) + 1;

  BinnedClimate climate;
  climate.sectors = sectors;
  for (int b = 1; b <= bins; ++b) climate.upperLimits.push_back(b * binWidth);
  climate.counts.assign(sectors, std::vector<double>(bins, 0.0));
  for (const WindSample& s : samples) {
    if (s.speed <= calmLimit) {
      climate.calms += 1;
      continue;
    }
    const int bin = std::min(static_cast<int>(s.speed / binWidth + kLimitRoom), bins - 1);
    climate.counts[SectorOf(s.direction, sectors)][bin] += 1;
  }
  return climate;
}

ClimateStatistics SampleStatistics(std::span<const WindSample> samples, int sectors,
                                   double calmLimit) {
  std::vector<std::vector<double>> speeds(sectors);
  std::vector<double> sumSpeed(sectors, 0.0);
  std::vector<double> sumCube(sectors, 0.0);
  std::vector<double> aboveCalm;
  aboveCalm.reserve(samples.size());
  double allSpeed = 0;
  double allCube = 0;
  for (const WindSample& s : samples) {
    const double cube = s.speed * s.speed * s.speed;
    allSpeed += s.speed;
    allCube += cube;
    if (s.speed <= calmLimit) continue;
    const int i = SectorOf(s.direction, sectors);
    speeds[i].push_back(s.speed);
    sumSpeed[i] += s.speed;
    sumCube[i] += cube;
    aboveCalm.push_back(s.speed);
  }
  ClimateStatistics statistics;
  for (int i = 0; i < sectors; ++i)
    statistics.sectors.push_back(StatisticsOf(static_cast<double>(speeds[i].size()), sumSpeed[i],
                                              sumCube[i], FitWeibullToSpeeds(speeds[i])));
  statistics.all = StatisticsOf(static_cast<double>(samples.size()), allSpeed, allCube,
                                FitWeibullToSpeeds(aboveCalm));
  return statistics;
}

ClimateStatistics TableStatistics(const BinnedClimate& climate) {
  const std::size_t bins = climate.upperLimits.size();
  std::vector<double> midpoints;
  std::vector<double> meanCubes;  // of a speed spread evenly over the bin
  for (std::size_t b = 0; b < bins; ++b) {
    const double lower = b == 0 ? 0 : climate.upperLimits[b - 1];
    const double upper = climate.upperLimits[b];
    midpoints.push_back((lower + upper) / 2);
    meanCubes.push_back((lower + upper) * (lower * lower + upper * upper) / 4);
  }
  ClimateStatistics statistics;
  std::vector<double> allCounts(bins, 0.0);
  double allSpeed = 0;
  double allCube = 0;
  for (const auto& counts : climate.counts) {
    double sumSpeed = 0;
    double sumCube = 0;
    for (std::size_t b = 0; b < bins; ++b) {
      sumSpeed += counts[b] * midpoints[b];
      sumCube += counts[b] * meanCubes[b];
      allCounts[b] += counts[b];
    }
    allSpeed += sumSpeed;
    allCube += sumCube;
    statistics.sectors.push_back(
        StatisticsOf(Sum(counts), sumSpeed, sumCube, FitWeibullToSpeeds(midpoints, counts)));
  }
  statistics.all =
      StatisticsOf(climate.Total(), allSpeed, allCube, FitWeibullToSpeeds(midpoints, allCounts));
  return statistics;
}

}  // namespace kavi::tool
