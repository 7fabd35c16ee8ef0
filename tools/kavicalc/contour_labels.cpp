#include "contour_labels.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "plot_text.h"

namespace kavi::tool {

namespace {
constexpr double kLabelGap = 3;         // least room between a label and anything else, px
constexpr double kTextPadding = 4;      // along the line, on each side of the text
constexpr double kStraightness = 0.35;  // largest bend under a label, in font sizes
constexpr int kTriesEachWay = 6;        // shifts along the line tried around each wanted place

// A polyline measured along its length.
class MeasuredLine {
 public:
  explicit MeasuredLine(const std::vector<PagePoint>& points) : points_(points) {
    lengths_.push_back(0);
    for (std::size_t i = 1; i < points.size(); ++i)
      lengths_.push_back(lengths_.back() +
                         std::hypot(points[i].x - points[i - 1].x, points[i].y - points[i - 1].y));
  }
  double Length() const { return lengths_.back(); }

  PagePoint At(double s) const {
    const std::size_t i = Segment(s);
    const double span = lengths_[i + 1] - lengths_[i];
    const double f = span > 0 ? (s - lengths_[i]) / span : 0;
    return {points_[i].x + (points_[i + 1].x - points_[i].x) * f,
            points_[i].y + (points_[i + 1].y - points_[i].y) * f};
  }

  // The largest distance of the line between from and to from the chord
  // joining its two ends.
  double Bend(double from, double to) const {
    const PagePoint a = At(from), b = At(to);
    const double chord = std::hypot(b.x - a.x, b.y - a.y);
    if (chord <= 0) return INFINITY;
    double most = 0;
    for (std::size_t i = Segment(from) + 1; i < points_.size() && lengths_[i] < to; ++i) {
      const double cross = (b.x - a.x) * (points_[i].y - a.y) - (b.y - a.y) * (points_[i].x - a.x);
      most = std::max(most, std::fabs(cross) / chord);
    }
    return most;
  }

 private:
  std::size_t Segment(double s) const {
    const auto above = std::upper_bound(lengths_.begin(), lengths_.end(), s);
    const std::size_t i = static_cast<std::size_t>(
        std::max<std::ptrdiff_t>(0, std::distance(lengths_.begin(), above) - 1));
    return std::min(i, points_.size() - 2);
  }

  const std::vector<PagePoint>& points_;
  std::vector<double> lengths_;
};

// The page box of a text box of width × height turned by rotation degrees.
PageBox TurnedBox(PagePoint centre, double width, double height, double rotation) {
  const double radians = rotation * std::numbers::pi / 180;
  const double c = std::fabs(std::cos(radians)), s = std::fabs(std::sin(radians));
  const double halfX = c * width / 2 + s * height / 2, halfY = s * width / 2 + c * height / 2;
  return {centre.x - halfX, centre.y - halfY, centre.x + halfX, centre.y + halfY};
}

bool Inside(const PageBox& box, const PageBox& area) {
  return box.x0 >= area.x0 && box.y0 >= area.y0 && box.x1 <= area.x1 && box.y1 <= area.y1;
}
}  // namespace

std::vector<ContourLabel> PlaceContourLabels(const std::vector<PagePoint>& line,
                                             const std::string& text, const LabelRules& rules,
                                             std::vector<PageBox>& taken) {
  std::vector<ContourLabel> labels;
  if (line.size() < 2) return labels;
  const MeasuredLine measured(line);
  const double width = TextWidth(text, rules.fontSize) + 2 * kTextPadding;
  const double height = rules.fontSize + 2;
  const double length = measured.Length();
  if (length < 2 * width) return labels;
  const int wanted = std::max(1, static_cast<int>(length / rules.spacing));
  const double step = std::min(width / 2, rules.spacing / (2 * kTriesEachWay + 1));
  for (int k = 0; k < wanted; ++k) {
    const double middle = (k + 0.5) * length / wanted;
    for (int attempt = 0; attempt <= 2 * kTriesEachWay; ++attempt) {
      // 0, +1, -1, +2, -2, ... steps away from the wanted place.
      const double shift = ((attempt + 1) / 2) * step * (attempt % 2 == 1 ? 1 : -1);
      const double s = middle + shift;
      if (s - width / 2 < 0 || s + width / 2 > length) continue;
      if (measured.Bend(s - width / 2, s + width / 2) > kStraightness * rules.fontSize) continue;
      const PagePoint a = measured.At(s - width / 2), b = measured.At(s + width / 2);
      double rotation = std::atan2(b.y - a.y, b.x - a.x) * 180 / std::numbers::pi;
      if (rotation > 90) rotation -= 180;
      if (rotation < -90) rotation += 180;
      const PagePoint at = measured.At(s);
      const PageBox box = TurnedBox(at, width, height, rotation);
      if (!Inside(box, rules.area)) continue;
      if (std::any_of(taken.begin(), taken.end(),
                      [&](const PageBox& other) { return box.Overlaps(other, kLabelGap); }))
        continue;
      taken.push_back(box);
      labels.push_back({text, at, rotation});
      break;
    }
  }
  return labels;
}

}  // namespace kavi::tool
