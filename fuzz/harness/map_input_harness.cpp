#include <cmath>
#include <string>
#include <vector>

#include "calculation_setup.h"
#include "finite_values.h"
#include "input_file.h"
#include "model/edition.h"
#include "numerics/grid_state.h"
#include "numerics/map_input.h"
#include "numerics/numerical_state.h"
#include "numerics/orographic_terms.h"
#include "numerics/roughness_rose_from_map.h"
#include "numerics/site_model.h"
#include "numerics/zooming_grid.h"
#include "reader_harnesses.h"

namespace kavi::fuzz {

namespace {

// Small enough that short inputs fill it, so the "too large" path is taken.
constexpr int kSmallCapacity = 64;
constexpr int kLineHeaderEntries = 3;

struct StoredMap {
  const float* X;
  const float* Y;
  int lines;
  int entries;
  int kind;
  int capacity;
};

// The stored lines as the grid and rose routines walk them: headers whose
// counts and kinds are whole numbers in range, lines packed from entry 0 up to
// the entry count, every value finite, and the content kind they add up to.
void CheckStoredLines(const StoredMap& m, HarnessResult& r) {
  if (!r.Expect(m.lines >= 0 && m.entries >= 0 && m.entries <= m.capacity,
                "map counts out of range: lines " + std::to_string(m.lines) + ", entries " +
                    std::to_string(m.entries))) {
    return;
  }
  bool heights = false;
  bool roughness = false;
  int k = 0;
  for (int line = 0; line < m.lines; ++line) {
    const std::string where = "map line " + std::to_string(line + 1);
    if (!r.Expect(k + kLineHeaderEntries <= m.entries, where + ": header beyond the entries"))
      return;
    const float points = m.Y[k];
    const float kind = m.Y[k + 1];
    if (!r.Expect(points >= 2.0f && points == std::floor(points) &&
                      points <= static_cast<float>(m.entries - k - kLineHeaderEntries),
                  where + ": bad point count " + std::to_string(points)) ||
        !r.Expect(kind == 0.0f || kind == 1.0f || kind == 2.0f, where + ": bad kind")) {
      return;
    }
    const int n = static_cast<int>(points);
    if (!r.Expect(AllFinite(m.X + k, kLineHeaderEntries + n) &&
                      AllFinite(m.Y + k, kLineHeaderEntries + n),
                  where + ": value not finite")) {
      return;
    }
    heights = heights || kind != 1.0f;
    roughness = roughness || kind != 0.0f;
    k += kLineHeaderEntries + n;
  }
  r.Expect(k == m.entries, "entry count does not match the stored lines");
  const int kind = roughness
                       ? (heights ? numerics::kMapHeightsAndRoughness : numerics::kMapRoughnessOnly)
                       : numerics::kMapHeightsOnly;
  r.Expect(m.kind == kind, "content kind does not match the stored lines");
}

// What the site model does with a map: the zooming grid and its spectrum, the
// roughness rose from the map, and the site effects for a site at the origin.
void WalkMap(const StoredMap& m, HarnessResult& r) {
  HarnessCore().status = numerics::kStatusOk;
  const float elevation =
      numerics::BuildZoomingGrid(HarnessCore(), {m.X, m.Y, m.lines, m.capacity}, {kSiteX, kSiteY});
  const int gridStatus = HarnessCore().status;
  if (!r.Expect(gridStatus == numerics::kStatusOk || gridStatus == numerics::kStatusMapTooLarge ||
                    gridStatus == numerics::kStatusRadiusTooSmall ||
                    gridStatus == numerics::kStatusWorkFileError,
                "zooming grid set status " + std::to_string(gridStatus)) ||
      gridStatus != numerics::kStatusOk) {
    return;  // the calculation stops here
  }
  const numerics::GridState& grid = HarnessCore().grid;
  if (!r.Expect(std::isfinite(elevation) && std::isfinite(grid.lengthScale) &&
                    grid.lengthScale >= 0.0f && grid.rayCount >= 0 &&
                    grid.rayCount <= numerics::kMaxGridRays,
                "zooming grid: bad site elevation, length scale or ray count")) {
    return;
  }
  if (grid.lengthScale > 0.0f &&
      !r.Expect(AllFinite(&grid.values[0][0], grid.rayCount * numerics::kGridNodes),
                "zooming grid: value not finite")) {
    return;
  }
  const int sectors = HarnessCore().sectorCount;
  numerics::GridSpectrum(HarnessCore(), sectors);
  if (!r.Expect(AllFinite(&grid.coefficients[0][0][0], sectors * numerics::kGridTermCount * 3),
                "spectrum coefficient not finite")) {
    return;
  }

  numerics::RoughnessRose rose = NeutralRose();
  numerics::MapRoughnessRose(HarnessCore(), {m.X, m.Y, m.lines, m.capacity}, {kSiteX, kSiteY},
                             sectors, rose);
  const int roseStatus = HarnessCore().status;
  if (!r.Expect(roseStatus == numerics::kStatusOk || roseStatus == numerics::kStatusMapTooLarge ||
                    roseStatus == numerics::kStatusWorkFileError,
                "roughness rose set status " + std::to_string(roseStatus)) ||
      roseStatus != numerics::kStatusOk) {
    return;
  }
  for (int i = 0; i < sectors; ++i) {
    const int c = rose.changes[i];
    if (!r.Expect(c >= 0 && c <= numerics::kMaxRoughnessChanges,
                  "roughness rose: change count " + std::to_string(c))) {
      return;
    }
    for (int ring = 0; ring <= c; ++ring) {
      if (!r.Expect(std::isfinite(rose.z0[ring][i]), "roughness rose: z0 not finite")) return;
    }
    for (int ring = 0; ring < c; ++ring) {
      if (!r.Expect(std::isfinite(rose.distance[ring][i]), "roughness rose: distance not finite"))
        return;
    }
  }

  numerics::SiteEffectTable effects = NeutralSiteEffects();
  numerics::SiteEffects(HarnessCore(), kSiteHeight, rose, effects);
  r.Expect(HarnessCore().status == numerics::kStatusOk, "site model set a status");
  r.Expect(AllFinite(effects.speedFactor, numerics::kEffectSlots * sectors) &&
               AllFinite(effects.turning, numerics::kEffectSlots * sectors),
           "site effect not finite");
}

// Reads the file into arrays of `capacity` entries and checks what the reader
// promises for the status it sets. Returns that status.
int ReadMap(const std::string& path, float* X, float* Y, int capacity, HarnessResult& r) {
  ResetCalculation();
  numerics::MapContents contents;
  const auto size = static_cast<std::size_t>(capacity);
  numerics::MapInput(HarnessCore(), path, {X, size}, {Y, size}, contents);
  const auto [lines, entries, kind] = contents;
  const int status = HarnessCore().status;
  const std::string where = " (capacity " + std::to_string(capacity) + ")";
  switch (status) {
    case numerics::kStatusOk:
    case numerics::kStatusMapTooLarge: {
      const StoredMap m{X, Y, lines, entries, kind, capacity};
      CheckStoredLines(m, r);
      if (r.broken.empty()) WalkMap(m, r);
      break;
    }
    case numerics::kStatusMapError:
      r.Expect(lines == 0 && entries == 0 && kind == 0,
               "map error changed the caller's counts" + where);
      break;
    default:
      r.Break("map input set status " + std::to_string(status) + where);
  }
  return status;
}

}  // namespace

HarnessResult RunMapInput(const std::uint8_t* data, std::size_t size) {
  const std::string& path = WriteInputFile(data, size);
  HarnessResult r;
  // The map object's arrays: allocated once with exactly the edition's
  // capacity, reused from one map to the next.
  static const int capacity = model::CurrentEdition().mapCapacity;
  static std::vector<float> X(static_cast<std::size_t>(capacity));
  static std::vector<float> Y(static_cast<std::size_t>(capacity));
  r.accepted = ReadMap(path, X.data(), Y.data(), capacity, r) == numerics::kStatusOk;

  std::vector<float> smallX(kSmallCapacity);
  std::vector<float> smallY(kSmallCapacity);
  ReadMap(path, smallX.data(), smallY.data(), kSmallCapacity, r);
  return r;
}

}  // namespace kavi::fuzz
