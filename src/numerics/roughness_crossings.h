// The crossings of the roughness rose's sub-rays with the roughness-change
// lines of the map: the sub-ray geometry, the search along every line segment,
// and the store that keeps the crossings in memory or spills them to a private
// work file when there are too many.
#pragma once

#include "numerics/calculation_arrays.h"
#include "numerics/numerical_state.h"
#include "numerics/roughness_map_lines.h"
#include "numerics/sector_changes.h"
#include "numerics/spilling_store.h"

namespace kavi::numerics::rose {

constexpr int kMaxCrossingsInMemory = 50000;
constexpr int kMaxSubRays = 360;  // sub-rays per sector are limited to 360 div nsec
// Line headers must fit the 24 bits of a crossing's code.
constexpr int kMaxCodedMapEntries = 1 << 24;

// One sub-ray meeting one segment: its distance from the site (m, never
// negative, never -0) and a code holding the sector (0 … 35), the line (index
// of its header entry) and the side of the segment the site lies on.
struct Crossing {
  float distance;
  int code;
};

inline int CrossingCode(int sector, int lineHeader, bool siteOnLeft) {
  return (((sector << 24) | lineHeader) << 1) | (siteOnLeft ? 1 : 0);
}
inline int CrossingSector(int code) { return code >> 25; }
inline int CrossingLine(int code) { return (code >> 1) & 0xFFFFFF; }
inline bool CrossingSiteOnLeft(int code) { return (code & 1) != 0; }

// A site-centred point turned into the frame whose angle 0 is sub-ray 0.
struct FanPoint {
  float x;
  float y;
  float angle;  // [0, 2π)
  int index;    // the sub-ray interval the angle falls in, 0 … T - 1
};

// The fan of T = m·nsec sub-rays: sub-ray j′ points at the compass bearing
// -180°/nsec + (j′ + 0.5)·360°/T and belongs to sector j′ div m. Points are
// turned clockwise by θ0 = 90° + 180°/nsec - δ/2, so that the rays of the fan
// lie at the angles j·δ counter-clockwise from its x axis (sub-ray (T - j) mod T).
class SubRayFan {
 public:
  SubRayFan(int sectorCount, int perSector);
  int perSector() const { return perSector_; }
  int total() const { return total_; }
  FanPoint Turn(float dx, float dy) const;       // site-centred map coordinates
  FanPoint InFrame(float x, float y) const;      // already in the fan's frame
  float RayCos(int j) const { return cos_[j]; }  // j = 0 … T - 1
  float RaySin(int j) const { return sin_[j]; }

 private:
  int perSector_;
  int total_;
  float step_;
  float turnCos_;
  float turnSin_;
  float cos_[kMaxSubRays];
  float sin_[kMaxSubRays];
};

// The rose routine's workspace in the context, so that a call allocates nothing.
struct RoseWorkspace {
  Crossing crossings[kMaxCrossingsInMemory];
  SectorProfile profile;
};

// Counts the crossings per sector and keeps them: the first 50,000 in the
// caller's list, and all of them in a private work file once there are more.
// Lines are those of map storage of mapEntries entries.
class CrossingStore {
 public:
  CrossingStore(Crossing* list, int mapEntries)
      : store_(list, kMaxCrossingsInMemory), mapEntries_(mapEntries) {}
  // Keeps one crossing. Returns a status: 6 when its sector exceeds
  // kMaxSectorCrossings, 8 when the work file cannot be created or written.
  int Add(Crossing crossing);
  int total() const { return store_.total(); }
  int count(int sector) const { return counts_[sector]; }
  bool spilled() const { return store_.spilled(); }
  // Fills the list with the crossings of sectors first … last (whose counts
  // must sum to at most 50,000) and returns how many; -1 when the work file
  // cannot be reread or holds what was not written to it. Without a spill the
  // list already holds them all.
  int LoadSectors(int first, int last);

 private:
  SpillingStore<Crossing> store_;
  int mapEntries_;
  int counts_[kMaxSectors] = {};
};

// Where the crossings of a line are looked for and kept: the fan, the reach
// (a crossing counts when its squared distance is below limitSquared) and the
// store.
struct CrossingSearch {
  const SubRayFan& fan;
  float limitSquared;
  CrossingStore& store;
};

// Finds the crossings of every segment of one roughness line of the map with
// the fan and adds those within reach to the store. Returns the store's status
// (0 when all were kept).
int FindLineCrossings(const MapStorage& map, const MapLine& line, MapPoint site,
                      const CrossingSearch& search);

}  // namespace kavi::numerics::rose
