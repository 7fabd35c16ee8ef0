#include "numerics/roughness_crossings.h"

#include <algorithm>
#include <cmath>

#include "numerics/constants.h"

namespace kavi::numerics::rose {

namespace {

constexpr float kStartShift = 0.5f;  // m, moves a line that starts at the site off it
constexpr float kEndInFrame = 0.1f;  // m, where a line that ends at the site ends instead

}  // namespace

SubRayFan::SubRayFan(int sectorCount, int perSector)
    : perSector_(perSector), total_(perSector * sectorCount) {
  step_ = kTwoPi / static_cast<float>(total_);
  const float turn = kPi / 2.0f + kPi / static_cast<float>(sectorCount) - step_ / 2.0f;
  turnCos_ = std::cos(turn);
  turnSin_ = std::sin(turn);
  for (int j = 0; j < total_; ++j) {
    cos_[j] = std::cos(static_cast<float>(j) * step_);
    sin_[j] = std::sin(static_cast<float>(j) * step_);
  }
}

FanPoint SubRayFan::Turn(float dx, float dy) const {
  return InFrame(turnCos_ * dx + turnSin_ * dy, turnCos_ * dy - turnSin_ * dx);
}

FanPoint SubRayFan::InFrame(float x, float y) const {
  float angle = x == 0.0f && y == 0.0f ? 0.0f : std::atan2(y, x);
  if (angle < 0.0f) angle += kTwoPi;
  if (angle >= kTwoPi) angle = 0.0f;  // a tiny negative angle rounded up to a full turn
  const int index = std::min(static_cast<int>(angle / step_), total_ - 1);
  return {x, y, angle, index};
}

int CrossingStore::Add(Crossing crossing) {
  int& inSector = counts_[CrossingSector(crossing.code)];
  if (++inSector > kMaxSectorCrossings) return kStatusMapTooLarge;
  return store_.Add(crossing) ? kStatusOk : kStatusWorkFileError;
}

int CrossingStore::LoadSectors(int first, int last) {
  if (!spilled()) return total();
  int expected = 0;
  for (int s = first; s <= last; ++s) expected += counts_[s];
  // More crossings than were written, or a line the map does not hold: the
  // file is not what this calculation wrote.
  const auto choose = [&](const Crossing& crossing) {
    const int sector = CrossingSector(crossing.code);
    if (sector < first || sector > last) return Reloaded::kSkip;
    return CrossingLine(crossing.code) + 1 >= mapEntries_ ? Reloaded::kReject : Reloaded::kKeep;
  };
  if (!store_.Reload(choose, expected)) return -1;
  return store_.count() == expected ? expected : -1;
}

namespace {

// Adds the crossings of the segment p → q with the sub-rays between the
// directions of its ends. A segment through the site meets them at the site.
int SegmentCrossings(const FanPoint& p, const FanPoint& q, bool throughSite, int lineHeader,
                     const CrossingSearch& search) {
  const SubRayFan& fan = search.fan;
  // Rays j = lo + 1 … hi lie between the two ends, going round the short way
  // (through the angle 0 when the ends are more than half a turn apart).
  const int total = fan.total();
  const float turn = q.angle - p.angle;
  int lo = std::min(p.index, q.index);
  int hi = std::max(p.index, q.index);
  if (turn > kPi) {
    lo = q.index;
    hi = total + p.index;
  } else if (turn < -kPi) {
    lo = p.index;
    hi = total + q.index;
  }
  if (lo == hi) return kStatusOk;

  // cr > 0: the site lies on the left of the segment (it runs counter-clockwise
  // around the site). The distance along ray j is cr / D_j.
  const float cr = p.x * q.y - p.y * q.x;
  const bool siteOnLeft = cr > 0.0f;
  const float ex = q.x - p.x;
  const float ey = q.y - p.y;
  for (int j = lo + 1; j <= hi; ++j) {
    const int ray = j < total ? j : j - total;
    const float dj = ey * fan.RayCos(ray) - ex * fan.RaySin(ray);
    if (dj == 0.0f) continue;  // parallel to the segment
    float s = throughSite ? 0.0f : cr / dj;
    // A negative distance: the line lies behind the site, on the opposite sub-ray.
    const int subRay = s < 0.0f ? (2 * total + total / 2 - j) % total : (2 * total - j) % total;
    s = std::fabs(s);
    if (!(s * s < search.limitSquared)) continue;
    const int sector = subRay / fan.perSector();
    const int status = search.store.Add({s, CrossingCode(sector, lineHeader, siteOnLeft)});
    if (status != kStatusOk) return status;
  }
  return kStatusOk;
}

}  // namespace

int FindLineCrossings(const MapStorage& map, const MapLine& line, MapPoint site,
                      const CrossingSearch& search) {
  const SubRayFan& fan = search.fan;
  FanPoint previous{};
  bool havePrevious = false;
  bool throughSite = false;
  for (int i = 0; i < line.points; ++i) {
    const int entry = line.FirstPoint() + i;
    float dx = map.x[entry] - site.x;
    float dy = map.y[entry] - site.y;
    // A point that is not a number breaks the line; the next one starts afresh.
    if (!std::isfinite(dx) || !std::isfinite(dy)) {
      havePrevious = false;
      throughSite = false;
      continue;
    }
    const bool atSite = dx == 0.0f && dy == 0.0f;
    if (!havePrevious) {
      if (atSite) {
        dx -= kStartShift;
        dy -= kStartShift;
      }
      previous = fan.Turn(dx, dy);
      havePrevious = true;
      continue;
    }
    // Points on the site are passed over and the segment that bridges them
    // goes through the site; a line that ends on the site ends just beside it.
    FanPoint next;
    if (atSite) {
      if (i + 1 < line.points) {
        throughSite = true;
        continue;
      }
      next = fan.InFrame(kEndInFrame, kEndInFrame);
      throughSite = false;
    } else {
      next = fan.Turn(dx, dy);
    }
    const int status = SegmentCrossings(previous, next, throughSite, line.header, search);
    if (status != kStatusOk) return status;
    previous = next;
    throughSite = false;
  }
  return kStatusOk;
}

}  // namespace kavi::numerics::rose
