#include "numerics/roughness_rose_from_map.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "numerics/constants.h"
#include "numerics/context.h"
#include "numerics/rose_parameters.h"
#include "numerics/roughness_crossings.h"
#include "numerics/roughness_map_lines.h"
#include "numerics/sector_changes.h"

namespace kavi::numerics {

using rose::Crossing;
using rose::CrossingLine;
using rose::CrossingSector;
using rose::CrossingSiteOnLeft;
using rose::CrossingStore;
using rose::MapLine;
using rose::MapLineWalk;
using rose::SubRayFan;

namespace {

constexpr float kLargestRoughness = 1.0e6f;  // m, caps absurd map values and mean drift
constexpr float kReachFactor = 1.02f;        // crossings lie within 1.02·Dmax² (squared)

// A roughness value of the map as the rose reads it: anything not positive is
// water (0), and values are capped so that logarithms stay finite.
float MapRoughness(float z) { return z > 0.0f ? std::min(z, kLargestRoughness) : 0.0f; }

float WaterOrRoughness(float z) { return z < kWaterMapRoughness ? 0.0f : z; }

float LogRoughness(float z) { return std::log(std::max(z, kRoughnessFloor)); }

// What the rose needs to know of the map before it looks for crossings.
struct MapSurvey {
  bool broken = false;  // storage runs past its capacity
  bool hasRoughnessLine = false;
  MapLine firstRoughnessLine;
  float farthestSquared = 0.0f;  // Dmax², m², over the points of the roughness lines
};

MapSurvey SurveyMap(const MapStorage& map, MapPoint site) {
  MapSurvey survey;
  MapLineWalk walk(map.y, map.lineCount, map.capacity);
  for (MapLine line; walk.Next(line);) {
    if (!line.IsRoughnessLine()) continue;
    if (!survey.hasRoughnessLine) survey.firstRoughnessLine = line;
    survey.hasRoughnessLine = true;
    for (int e = line.FirstPoint(); e < line.FirstPoint() + line.points; ++e) {
      const float dx = map.x[e] - site.x;
      const float dy = map.y[e] - site.y;
      const float squared = dx * dx + dy * dy;
      if (squared > survey.farthestSquared) survey.farthestSquared = squared;
    }
  }
  survey.broken = walk.broken();
  return survey;
}

// The roughness on the site's side of a line, judged by its segment nearest
// to the site; the line's left value when no segment has a length.
float RoughnessOnSiteSide(const MapStorage& map, const MapLine& line, MapPoint site) {
  float nearest = std::numeric_limits<float>::infinity();
  bool siteOnLeft = true;
  for (int e = line.FirstPoint(); e + 1 < line.FirstPoint() + line.points; ++e) {
    const float px = map.x[e] - site.x;
    const float py = map.y[e] - site.y;
    const float qx = map.x[e + 1] - site.x;
    const float qy = map.y[e + 1] - site.y;
    const float ex = qx - px;
    const float ey = qy - py;
    const float length2 = ex * ex + ey * ey;
    if (!(length2 > 0.0f)) continue;
    const float t = std::clamp(-(px * ex + py * ey) / length2, 0.0f, 1.0f);
    const float cx = px + t * ex;
    const float cy = py + t * ey;
    const float distance2 = cx * cx + cy * cy;
    if (distance2 < nearest) {
      nearest = distance2;
      siteOnLeft = px * qy - py * qx > 0.0f;
    }
  }
  return WaterOrRoughness(MapRoughness(map.x[line.header + (siteOnLeft ? 0 : 1)]));
}

// The roughness of the line of a crossing on the site's side (zA) and beyond (zB).
void CrossingRoughness(const float* mapX, const Crossing& crossing, float& zA, float& zB) {
  const int header = CrossingLine(crossing.code);
  const float left = MapRoughness(mapX[header]);
  const float right = MapRoughness(mapX[header + 1]);
  const bool siteOnLeft = CrossingSiteOnLeft(crossing.code);
  zA = siteOnLeft ? left : right;
  zB = siteOnLeft ? right : left;
}

// Builds the profile of one sector from its crossings, sorted outward, and
// returns the sector's site roughness. The sector roughness is the geometric
// mean over its m sub-rays: all start with the site roughness, and a crossing
// switches its own sub-ray from zA to zB, which moves the sum of logarithms by
// ln(zB / zA).
float BuildSectorProfile(const float* mapX, const Crossing* crossings, int count, int perSector,
                         SectorProfile& profile) {
  const float m = static_cast<float>(perSector);
  const float largestLog = std::log(kLargestRoughness);
  float zA = 0.0f;
  float zB = 0.0f;
  CrossingRoughness(mapX, crossings[0], zA, zB);
  const float siteRoughness = WaterOrRoughness(zA);
  float logSum = m * LogRoughness(siteRoughness);
  float z = siteRoughness;
  for (int i = 0; i < count; ++i) {
    CrossingRoughness(mapX, crossings[i], zA, zB);
    profile.distance[i] = crossings[i].distance;
    profile.roughness[i] = z;
    logSum += std::log(std::max(zB, kRoughnessFloor) / std::max(zA, kRoughnessFloor));
    z = WaterOrRoughness(std::exp(std::min(logSum / m, largestLog)));
  }
  profile.count = count;
  profile.finalRoughness = z;
  return siteRoughness;
}

// Order of a crossing within its sector: outward, equal distances by code,
// so that the order never depends on where the crossings were kept. The
// distances are never negative, so their bit patterns order like their values.
std::uint64_t OutwardKey(const Crossing& crossing) {
  return (static_cast<std::uint64_t>(std::bit_cast<std::uint32_t>(crossing.distance)) << 32) |
         static_cast<std::uint32_t>(crossing.code);
}

// Sorts the crossings of sectors first … last (exactly the store's counts of
// them) by sector and then outward: each moved straight into its sector's
// part of the list, then every part sorted on its own.
void SortPass(Crossing* crossings, const CrossingStore& store, int first, int last) {
  int next[kMaxSectors];
  int end[kMaxSectors];
  int position = 0;
  for (int s = first; s <= last; ++s) {
    next[s] = position;
    position += store.count(s);
    end[s] = position;
  }
  for (int s = first; s <= last; ++s) {
    while (next[s] < end[s]) {
      Crossing moving = crossings[next[s]];
      for (int t = CrossingSector(moving.code); t != s; t = CrossingSector(moving.code))
        std::swap(moving, crossings[next[t]++]);
      crossings[next[s]++] = moving;
    }
  }
  for (int s = first, begin = 0; s <= last; begin = end[s], ++s) {
    std::sort(crossings + begin, crossings + end[s],
              [](const Crossing& a, const Crossing& b) { return OutwardKey(a) < OutwardKey(b); });
  }
}

// The last sector of a pass that starts at `first`: without a spill all
// sectors, otherwise as many as fit into memory together.
int LastSectorOfPass(const CrossingStore& store, int first, int sectorCount) {
  if (!store.spilled()) return sectorCount - 1;
  int last = first;
  int sum = store.count(first);
  while (last + 1 < sectorCount && sum + store.count(last + 1) <= rose::kMaxCrossingsInMemory) {
    ++last;
    sum += store.count(last);
  }
  return last;
}

// Sectors that no crossing reached look like the site: first the site
// roughness of the opposite sector, else that of the nearest sector before
// them (going round), without changes.
void FillSectorsWithoutCrossings(const bool* reached, const float* siteRoughness, int sectorCount,
                                 RoughnessRose& rose) {
  bool filled[kMaxSectors];
  std::copy(reached, reached + sectorCount, filled);
  for (int s = 0; s < sectorCount; ++s) {
    const int opposite = (s + sectorCount / 2) % sectorCount;
    if (reached[s] || !reached[opposite]) continue;
    rose.z0[0][s] = siteRoughness[opposite];
    rose.changes[s] = 0;
    filled[s] = true;
  }
  bool haveValue = false;
  float value = 0.0f;
  for (int k = 0; k < 2 * sectorCount; ++k) {
    const int s = k % sectorCount;
    if (filled[s]) {
      value = rose.z0[0][s];
      haveValue = true;
    } else if (haveValue) {
      rose.z0[0][s] = value;
      rose.changes[s] = 0;
      filled[s] = true;
    }
  }
}

}  // namespace

void MapRoughnessRose(Context& ctx, const MapStorage& storage, MapPoint site, int sectorCount,
                      RoughnessRose& rose) {
  if (storage.lineCount <= 0 || sectorCount < 1 || sectorCount > kMaxSectors) return;
  MapStorage map = storage;
  map.capacity = std::min(map.capacity, rose::kMaxCodedMapEntries);
  const MapSurvey survey = SurveyMap(map, site);
  if (survey.broken) {
    ctx.SetStatus(kStatusMapTooLarge);
    return;
  }
  if (!survey.hasRoughnessLine) return;

  // Crossings of every segment with every sub-ray, within the map's reach.
  const int perSector =
      rose::RoundedParameter(ctx, kRoseSubRays, 1, rose::kMaxSubRays / sectorCount);
  const SubRayFan fan(sectorCount, perSector);
  rose::RoseWorkspace& scratch = ctx.roseWork;
  CrossingStore store(scratch.crossings, map.capacity);
  const float limitSquared = kReachFactor * survey.farthestSquared;
  MapLineWalk walk(map.y, map.lineCount, map.capacity);
  for (MapLine line; walk.Next(line);) {
    if (!line.IsRoughnessLine()) continue;
    const int status = rose::FindLineCrossings(map, line, site, {fan, limitSquared, store});
    if (status != kStatusOk) {
      ctx.SetStatus(status);
      return;
    }
  }

  // No sub-ray meets a line: one roughness everywhere, from the first line.
  if (store.total() == 0) {
    const float z = RoughnessOnSiteSide(map, survey.firstRoughnessLine, site);
    for (int s = 0; s < sectorCount; ++s) {
      rose.z0[0][s] = z;
      rose.changes[s] = 0;
    }
    return;
  }

  // Passes over groups of sectors whose crossings fit into memory together.
  bool reached[kMaxSectors] = {};
  float siteRoughness[kMaxSectors] = {};
  for (int first = 0; first < sectorCount;) {
    const int last = LastSectorOfPass(store, first, sectorCount);
    const int count = store.LoadSectors(first, last);
    if (count < 0) {
      ctx.SetStatus(kStatusWorkFileError);
      return;
    }
    Crossing* crossings = scratch.crossings;
    SortPass(crossings, store, first, last);
    for (int i = 0; i < count;) {
      const int sector = CrossingSector(crossings[i].code);
      int end = i + 1;
      while (end < count && CrossingSector(crossings[end].code) == sector) ++end;
      siteRoughness[sector] =
          BuildSectorProfile(map.x, crossings + i, end - i, perSector, scratch.profile);
      reached[sector] = true;
      ReduceSectorChanges(ctx, sector, scratch.profile, rose);
      i = end;
    }
    first = last + 1;
  }
  FillSectorsWithoutCrossings(reached, siteRoughness, sectorCount, rose);
}

}  // namespace kavi::numerics
