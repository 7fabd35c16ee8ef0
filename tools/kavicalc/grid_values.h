// The results of a resource grid, one array per quantity in single precision
// (the engine's own), filled by the workers node by node. Failed nodes stay
// not a number.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "grid_layout.h"
#include "site_outcome.h"

namespace kavi::tool {

// The quantities per node and height, and per node, height and sector, in
// the order the outputs list them; the names are those of every output.
enum class NodeQuantity {
  kElevation,
  kMeanSpeed,
  kPowerDensity,
  kWeibullA,
  kWeibullK,
  kAep,
  kCapacityFactor
};
enum class SectorQuantity { kFrequency, kWeibullA, kWeibullK, kAep };
constexpr std::size_t kNodeQuantities = 7;
constexpr std::size_t kSectorQuantities = 4;

struct QuantityInfo {
  const char* name;          // "mean_speed"
  const char* longName;      // "mean wind speed"
  const char* units;         // units in the UDUNITS spelling: "m s-1"
  const char* standardName;  // CF standard name, or nullptr
  bool energy;               // present only with a power curve
};
const QuantityInfo& Info(NodeQuantity quantity);
const QuantityInfo& Info(SectorQuantity quantity);

class GridValues {
 public:
  GridValues(const GridLayout& layout, std::vector<double> heights);

  const GridLayout& layout() const { return layout_; }
  const std::vector<double>& heights() const { return heights_; }
  std::size_t sectors() const { return sectors_; }
  std::size_t NodeCount() const { return layout_.NodeCount(); }

  // Stores the result of node at height number h. Safe to call from several
  // threads for different (node, h). Returns false when the result has
  // another sector count than the first one stored.
  bool Store(std::size_t node, std::size_t h, const SiteOutcome& outcome);

  // The value, not a number where the node failed.
  float At(NodeQuantity quantity, std::size_t h, std::size_t node) const;
  float At(SectorQuantity quantity, std::size_t h, std::size_t sector, std::size_t node) const;
  // The node's elevation from the first height that it has a result for.
  float Elevation(std::size_t node) const;

 private:
  std::size_t NodeSlot(NodeQuantity quantity, std::size_t h, std::size_t node) const;
  std::size_t SectorSlot(SectorQuantity quantity, std::size_t h, std::size_t sector,
                         std::size_t node) const;

  GridLayout layout_;
  std::vector<double> heights_;
  std::once_flag sized_;
  std::size_t sectors_ = 0;
  std::vector<float> nodeValues_;
  std::vector<float> sectorValues_;
};

}  // namespace kavi::tool
