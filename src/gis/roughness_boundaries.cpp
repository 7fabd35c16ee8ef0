#include "gis/roughness_boundaries.h"

#include <ogr_geometry.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <unordered_map>

#include "gis/gdal_support.h"

namespace kavi::gis {

namespace {

using Edge = BoundaryEdge;

bool Less(const LocalPoint& p, const LocalPoint& q) {
  return p.x < q.x || (p.x == q.x && p.y < q.y);
}
bool Same(const LocalPoint& p, const LocalPoint& q) { return p.x == q.x && p.y == q.y; }

struct PointHash {
  std::size_t operator()(const LocalPoint& p) const {
    const std::size_t h = std::hash<double>()(p.x);
    return h ^ (std::hash<double>()(p.y) + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
  }
};
struct PointEqual {
  bool operator()(const LocalPoint& p, const LocalPoint& q) const { return Same(p, q); }
};
struct SegmentKey {
  LocalPoint a, b;
};
struct SegmentHash {
  std::size_t operator()(const SegmentKey& s) const {
    return PointHash()(s.a) * 31 + PointHash()(s.b);
  }
};
struct SegmentEqual {
  bool operator()(const SegmentKey& s, const SegmentKey& t) const {
    return Same(s.a, t.a) && Same(s.b, t.b);
  }
};

// Which area holds a point: a grid over the areas' envelopes, then the
// even-odd rule over every ring of a candidate.
class AreaIndex {
 public:
  explicit AreaIndex(const std::vector<LandCoverArea>& areas) : areas_(areas) {
    if (areas.empty()) return;
    box_ = areas.front().envelope;
    for (const LandCoverArea& a : areas) {
      box_.x0 = std::min(box_.x0, a.envelope.x0);
      box_.y0 = std::min(box_.y0, a.envelope.y0);
      box_.x1 = std::max(box_.x1, a.envelope.x1);
      box_.y1 = std::max(box_.y1, a.envelope.y1);
    }
    side_ = std::clamp(static_cast<int>(std::sqrt(static_cast<double>(areas.size()))) * 2, 1, 512);
    cells_.resize(static_cast<std::size_t>(side_) * side_);
    for (std::size_t i = 0; i < areas.size(); ++i) {
      const Bounds& e = areas[i].envelope;
      for (int r = Row(e.y0); r <= Row(e.y1); ++r)
        for (int c = Column(e.x0); c <= Column(e.x1); ++c)
          cells_[static_cast<std::size_t>(r) * side_ + c].push_back(i);
    }
  }

  // The area holding p other than skip; areas.size() when none.
  std::size_t Find(const LocalPoint& p, std::size_t skip) const {
    if (cells_.empty() || !box_.Contains(p.x, p.y)) return areas_.size();
    for (std::size_t i : cells_[static_cast<std::size_t>(Row(p.y)) * side_ + Column(p.x)])
      if (i != skip && areas_[i].envelope.Contains(p.x, p.y) && Inside(areas_[i], p)) return i;
    return areas_.size();
  }

 private:
  static bool Inside(const LandCoverArea& area, const LocalPoint& p) {
    bool inside = false;
    for (const Polyline& ring : area.rings)
      for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
        const LocalPoint& u = ring[i];
        const LocalPoint& v = ring[i + 1];
        if ((u.y > p.y) != (v.y > p.y) && p.x < u.x + (p.y - u.y) * (v.x - u.x) / (v.y - u.y))
          inside = !inside;
      }
    return inside;
  }
  int Column(double x) const {
    const double w = box_.x1 - box_.x0;
    return w > 0 ? std::clamp(static_cast<int>((x - box_.x0) / w * side_), 0, side_ - 1) : 0;
  }
  int Row(double y) const {
    const double h = box_.y1 - box_.y0;
    return h > 0 ? std::clamp(static_cast<int>((y - box_.y0) / h * side_), 0, side_ - 1) : 0;
  }

  const std::vector<LandCoverArea>& areas_;
  Bounds box_;
  int side_ = 1;
  std::vector<std::vector<std::size_t>> cells_;
};

// The part of segment a-b inside the rectangle (Liang–Barsky); false when none.
bool Clip(LocalPoint& a, LocalPoint& b, const Bounds& r) {
  double t0 = 0, t1 = 1;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x - r.x0, r.x1 - a.x, a.y - r.y0, r.y1 - a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
  }
  if (t0 >= t1) return false;
  const LocalPoint start = {a.x + t0 * dx, a.y + t0 * dy};
  b = {a.x + t1 * dx, a.y + t1 * dy};
  a = start;
  return true;
}

// A segment along the rectangle's own edge: its other side is off the map.
bool OnEdge(const LocalPoint& a, const LocalPoint& b, const Bounds& r) {
  return (a.x == b.x && (a.x == r.x0 || a.x == r.x1)) ||
         (a.y == b.y && (a.y == r.y0 || a.y == r.y1));
}

// Joins edges end to start where exactly one edge leaves and one arrives and
// both have the same roughness on each side.
std::vector<RoughnessLine> Join(const std::vector<Edge>& edges) {
  std::unordered_map<LocalPoint, std::vector<std::size_t>, PointHash, PointEqual> leaving, arriving;
  for (std::size_t i = 0; i < edges.size(); ++i) {
    leaving[edges[i].a].push_back(i);
    arriving[edges[i].b].push_back(i);
  }
  auto next = [&](std::size_t i) -> std::size_t {
    const auto out = leaving.find(edges[i].b);
    const auto in = arriving.find(edges[i].b);
    if (out == leaving.end() || out->second.size() != 1 || in->second.size() != 1)
      return edges.size();
    const Edge& f = edges[out->second.front()];
    return f.left == edges[i].left && f.right == edges[i].right ? out->second.front()
                                                                : edges.size();
  };
  std::vector<char> continues(edges.size(), 0), used(edges.size(), 0);
  for (std::size_t i = 0; i < edges.size(); ++i)
    if (const std::size_t j = next(i); j < edges.size()) continues[j] = 1;
  std::vector<RoughnessLine> lines;
  auto walk = [&](std::size_t start) {
    RoughnessLine line{edges[start].left, edges[start].right, {edges[start].a}};
    for (std::size_t i = start; i < edges.size() && !used[i]; i = next(i)) {
      used[i] = 1;
      line.points.push_back(edges[i].b);
    }
    lines.push_back(std::move(line));
  };
  for (std::size_t i = 0; i < edges.size(); ++i)
    if (!continues[i] && !used[i]) walk(i);
  for (std::size_t i = 0; i < edges.size(); ++i)  // closed loops
    if (!used[i]) walk(i);
  return lines;
}

Polyline Thinned(const Polyline& points, double tolerance) {
  if (tolerance <= 0 || points.size() <= 2) return points;
  OGRLineString line;
  for (const LocalPoint& p : points) line.addPoint(p.x, p.y);
  std::unique_ptr<OGRGeometry> thin(line.SimplifyPreserveTopology(tolerance));
  if (!thin || wkbFlatten(thin->getGeometryType()) != wkbLineString) return points;
  const OGRLineString& result = *thin->toLineString();
  if (result.getNumPoints() < 2) return points;
  Polyline out;
  for (int i = 0; i < result.getNumPoints(); ++i) out.push_back({result.getX(i), result.getY(i)});
  return out;
}

}  // namespace

void UncoveredArea(const LocalPoint& p, const BoundaryRequest& request, double originX,
                   double originY) {
  char at[80];
  std::snprintf(at, sizeof at, "%.1f,%.1f", p.x + originX, p.y + originY);
  throw GisError(request.source + ": part of the map's area lies in no land-cover area (e.g. at " +
                 at + "); give the roughness there with --default-z0 M");
}

std::vector<RoughnessLine> JoinedBoundaries(std::vector<BoundaryEdge> edges,
                                            const BoundaryRequest& request) {
  std::vector<Edge> kept;
  for (Edge& e : edges)
    if (e.left != e.right && Clip(e.a, e.b, request.area) && !OnEdge(e.a, e.b, request.area) &&
        !Same(e.a, e.b))
      kept.push_back(e);
  std::vector<RoughnessLine> lines = Join(kept);
  for (RoughnessLine& line : lines) line.points = Thinned(line.points, request.tolerance);
  return lines;
}

std::vector<RoughnessLine> RoughnessBoundaries(const std::vector<LandCoverArea>& areas,
                                               const BoundaryRequest& request, double originX,
                                               double originY) {
  const AreaIndex index(areas);
  const std::size_t none = areas.size();
  const LocalPoint centre = {request.area.CentreX(), request.area.CentreY()};
  if (!request.defaultZ0 && index.Find(centre, none) == none)
    UncoveredArea(centre, request, originX, originY);

  // Every ring segment, with the area on its left; a shared boundary shows
  // up once from each side.
  std::unordered_map<SegmentKey, std::size_t, SegmentHash, SegmentEqual> owner;
  for (std::size_t i = 0; i < areas.size(); ++i)
    for (const Polyline& ring : areas[i].rings)
      for (std::size_t k = 0; k + 1 < ring.size(); ++k)
        if (!Same(ring[k], ring[k + 1])) owner.emplace(SegmentKey{ring[k], ring[k + 1]}, i);

  std::vector<Edge> edges;
  for (std::size_t i = 0; i < areas.size(); ++i)
    for (const Polyline& ring : areas[i].rings)
      for (std::size_t k = 0; k + 1 < ring.size(); ++k) {
        LocalPoint a = ring[k], b = ring[k + 1];
        if (Same(a, b)) continue;
        double right = 0;
        bool covered = true;
        if (const auto twin = owner.find({b, a}); twin != owner.end()) {
          if (!Less(a, b)) continue;  // written from the other side
          right = areas[twin->second].z0;
        } else {
          // No matching segment: look just beside the middle, on the right.
          const double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
          const double step = std::max(1e-3, 1e-9 * (std::abs(a.x) + std::abs(a.y)));
          const LocalPoint probe = {0.5 * (a.x + b.x) + dy / length * step,
                                    0.5 * (a.y + b.y) - dx / length * step};
          const std::size_t other = index.Find(probe, i);
          if (other != none) {
            if (other < i) continue;  // that area writes it
            right = areas[other].z0;
          } else if (request.defaultZ0) {
            right = *request.defaultZ0;
          } else {
            covered = false;
          }
        }
        if (!covered) {
          if (!Clip(a, b, request.area) || OnEdge(a, b, request.area) || Same(a, b)) continue;
          UncoveredArea({0.5 * (a.x + b.x), 0.5 * (a.y + b.y)}, request, originX, originY);
        }
        edges.push_back({a, b, areas[i].z0, right});
      }
  return JoinedBoundaries(std::move(edges), request);
}

}  // namespace kavi::gis
