#include "grid_values.h"

#include <cmath>
#include <limits>

namespace kavi::tool {

namespace {
constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();

constexpr QuantityInfo kNodeInfo[kNodeQuantities] = {
    {"elevation", "terrain elevation at the node", "m", "surface_altitude", false},
    {"mean_speed", "mean wind speed", "m s-1", "wind_speed", false},
    {"power_density", "mean wind power density", "W m-2", nullptr, false},
    {"weibull_a", "Weibull scale parameter A of all sectors", "m s-1", nullptr, false},
    {"weibull_k", "Weibull shape parameter k of all sectors", "1", nullptr, false},
    {"aep", "gross annual energy production", "MW h year-1", nullptr, true},
    {"capacity_factor", "gross capacity factor", "1", nullptr, true}};
constexpr QuantityInfo kSectorInfo[kSectorQuantities] = {
    {"sector_frequency", "frequency of the wind from the sector", "%", nullptr, false},
    {"sector_weibull_a", "Weibull scale parameter A of the sector", "m s-1", nullptr, false},
    {"sector_weibull_k", "Weibull shape parameter k of the sector", "1", nullptr, false},
    {"sector_aep", "gross annual energy production from the sector", "MW h year-1", nullptr, true}};
}  // namespace

const QuantityInfo& Info(NodeQuantity quantity) {
  return kNodeInfo[static_cast<std::size_t>(quantity)];
}
const QuantityInfo& Info(SectorQuantity quantity) {
  return kSectorInfo[static_cast<std::size_t>(quantity)];
}

GridValues::GridValues(const GridLayout& layout, std::vector<double> heights)
    : layout_(layout),
      heights_(std::move(heights)),
      nodeValues_(kNodeQuantities * heights_.size() * layout.NodeCount(), kNoValue) {}

std::size_t GridValues::NodeSlot(NodeQuantity quantity, std::size_t h, std::size_t node) const {
  return (static_cast<std::size_t>(quantity) * heights_.size() + h) * NodeCount() + node;
}

std::size_t GridValues::SectorSlot(SectorQuantity quantity, std::size_t h, std::size_t sector,
                                   std::size_t node) const {
  return ((static_cast<std::size_t>(quantity) * heights_.size() + h) * sectors_ + sector) *
             NodeCount() +
         node;
}

bool GridValues::Store(std::size_t node, std::size_t h, const SiteOutcome& outcome) {
  // The atlas fixes the sector count; the first result sizes the sector arrays.
  std::call_once(sized_, [&] {
    sectors_ = outcome.sectors.size();
    sectorValues_.assign(kSectorQuantities * heights_.size() * sectors_ * NodeCount(), kNoValue);
  });
  if (outcome.sectors.size() != sectors_) return false;
  const auto put = [&](NodeQuantity q, double value) {
    nodeValues_[NodeSlot(q, h, node)] = static_cast<float>(value);
  };
  put(NodeQuantity::kElevation, outcome.elevation);
  put(NodeQuantity::kMeanSpeed, outcome.meanSpeed);
  put(NodeQuantity::kPowerDensity, outcome.powerDensity);
  put(NodeQuantity::kWeibullA, outcome.weibullA);
  put(NodeQuantity::kWeibullK, outcome.weibullK);
  put(NodeQuantity::kAep, outcome.aep);
  put(NodeQuantity::kCapacityFactor, outcome.capacityFactor);
  for (std::size_t s = 0; s < sectors_; ++s) {
    const SectorOutcome& sector = outcome.sectors[s];
    const auto putSector = [&](SectorQuantity q, double value) {
      sectorValues_[SectorSlot(q, h, s, node)] = static_cast<float>(value);
    };
    putSector(SectorQuantity::kFrequency, sector.frequency);
    putSector(SectorQuantity::kWeibullA, sector.weibullA);
    putSector(SectorQuantity::kWeibullK, sector.weibullK);
    putSector(SectorQuantity::kAep, sector.aep);
  }
  return true;
}

float GridValues::At(NodeQuantity quantity, std::size_t h, std::size_t node) const {
  return nodeValues_[NodeSlot(quantity, h, node)];
}

float GridValues::At(SectorQuantity quantity, std::size_t h, std::size_t sector,
                     std::size_t node) const {
  if (sectorValues_.empty()) return kNoValue;
  return sectorValues_[SectorSlot(quantity, h, sector, node)];
}

float GridValues::Elevation(std::size_t node) const {
  for (std::size_t h = 0; h < heights_.size(); ++h) {
    const float value = At(NodeQuantity::kElevation, h, node);
    if (!std::isnan(value)) return value;
  }
  return kNoValue;
}

}  // namespace kavi::tool
