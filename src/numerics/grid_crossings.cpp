#include "numerics/grid_crossings.h"

#include <algorithm>
#include <cmath>

#include "numerics/constants.h"
#include "numerics/context.h"
#include "numerics/map_contours.h"

namespace kavi::numerics {

namespace {

constexpr int kMaxRaySpacing = 180;      // keeps at least two rays
constexpr int kFirstElevationEntry = 3;  // the first line's elevation entry

// A contour point seen from the site: its offset, its bearing phi in degrees
// counter-clockwise from east in [0, 360), and the index of the last ray at or
// before that bearing. Points that are not finite numbers carry no bearing.
struct SitePoint {
  float dx = 0.0f;
  float dy = 0.0f;
  float phi = 0.0f;
  int index = 0;
  bool valid = false;
};

SitePoint SeenFromSite(float x, float y, const SearchArea& area, const RayFan& fan) {
  SitePoint p;
  p.dx = x - area.site.x;
  p.dy = y - area.site.y;
  p.valid = std::isfinite(p.dx) && std::isfinite(p.dy);
  if (!p.valid) return p;
  if (p.dx != 0.0f || p.dy != 0.0f) {
    p.phi = std::fmod(std::atan2(p.dy, p.dx) * kRayDegreesPerRadian + 720.0f, 360.0f);
  }
  // Bearings past the last ray (when the spacing does not divide 360) belong to
  // the last ray's gap, which closes at ray 0.
  p.index = std::min(static_cast<int>(p.phi / static_cast<float>(fan.spacing)), fan.count - 1);
  return p;
}

// Records one crossing of ray k; false (status set) when the ray has too many
// crossings or the work file fails.
bool Record(Context& ctx, int k, float t, int elevationEntry, const RaySearch& search) {
  RayBook& book = search.book;
  if (t < book.nearestT[k]) {
    book.nearestT[k] = t;
    book.nearestEntry[k] = elevationEntry;
  }
  if (++book.count[k] > kMaxCrossings ||
      !search.store.Add({t, k + search.fan.count * elevationEntry})) {
    ctx.SetStatus(kStatusMapTooLarge);
    return false;
  }
  return true;
}

// Crosses the segment p → q with the rays whose bearings it sweeps: the rays
// after the lower point's index up to the higher one's, or, when the segment
// passes through bearing 0, from the point below 360 round to the point past 0.
bool CrossSegment(Context& ctx, const SitePoint& p, const SitePoint& q, int elevationEntry,
                  const RaySearch& search) {
  const RayFan& fan = search.fan;
  const SearchArea& area = search.area;
  const float turn = q.phi - p.phi;
  int lo = std::min(p.index, q.index);
  int hi = std::max(p.index, q.index);
  if (turn > 180.0f) {
    lo = q.index;
    hi = fan.count + p.index;
  } else if (turn < -180.0f) {
    lo = p.index;
    hi = fan.count + q.index;
  }
  const float c = (p.dx * q.dy - p.dy * q.dx) / area.lengthScale;
  const float ex = q.dx - p.dx;
  const float ey = q.dy - p.dy;
  for (int m = lo + 1; m <= hi; ++m) {
    const int k = m < fan.count ? m : m - fan.count;
    const float d = fan.ux[k] * ey - fan.uy[k] * ex;
    float t = 0.0f;
    if (d != 0.0f) {
      t = c / d;
    } else if (c != 0.0f) {
      continue;  // parallel to the ray and off it
    }
    if (!(t >= 0.0f && t <= area.limit)) continue;
    if (!Record(ctx, k, t, elevationEntry, search)) return false;
  }
  return true;
}

}  // namespace

RayFan MakeRayFan(float spacingParameter) {
  RayFan fan;
  const float rounded = std::round(spacingParameter);
  fan.spacing = rounded >= 1.0f && rounded <= kMaxRaySpacing ? static_cast<int>(rounded)
                : rounded > kMaxRaySpacing                   ? kMaxRaySpacing
                                                             : 1;
  fan.count = 360 / fan.spacing;
  for (int k = 0; k < fan.count; ++k) {
    const float angle = static_cast<float>(k * fan.spacing) * kRadiansPerDegree;
    fan.ux[k] = std::cos(angle);
    fan.uy[k] = std::sin(angle);
  }
  return fan;
}

bool LoadRays(GridCrossingStore& store, int first, int last, int rayCount, int entryLimit,
              float limit) {
  const auto choose = [&](const GridCrossing& crossing) {
    if (crossing.code < 0 || !(crossing.t >= 0.0f && crossing.t <= limit)) return Reloaded::kReject;
    const int ray = crossing.code % rayCount;
    const int entry = crossing.code / rayCount;
    if (entry < kFirstElevationEntry || entry > entryLimit) return Reloaded::kReject;
    return ray < first || ray > last ? Reloaded::kSkip : Reloaded::kKeep;
  };
  return store.Reload(choose, kMaxCrossings);
}

void RayBook::Clear() {
  std::fill(std::begin(count), std::end(count), 0);
  std::fill(std::begin(nearestT), std::end(nearestT), kNoCrossing);
  std::fill(std::begin(nearestEntry), std::end(nearestEntry), 0);
}

bool FindCrossings(Context& ctx, const MapStorage& map, const RaySearch& search) {
  MapContours contours(map);
  MapContour line;
  while (contours.Next(line)) {
    if (line.pointCount < 2) continue;
    SitePoint p = SeenFromSite(line.x[0], line.y[0], search.area, search.fan);
    for (int i = 1; i < line.pointCount; ++i) {
      const SitePoint q = SeenFromSite(line.x[i], line.y[i], search.area, search.fan);
      if (p.valid && q.valid && !CrossSegment(ctx, p, q, line.elevationEntry, search)) {
        return false;
      }
      p = q;
    }
  }
  return true;
}

}  // namespace kavi::numerics
