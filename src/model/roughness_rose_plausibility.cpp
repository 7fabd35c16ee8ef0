#include "model/roughness_rose_plausibility.h"

#include <sstream>

namespace kavi::model {

namespace {
std::string Number(float value) {
  std::ostringstream text;
  text << value;
  return text.str();
}
}  // namespace

std::string RoseProblem(const numerics::RoughnessRose& rose, int nsec) {
  for (int i = 0; i < nsec; ++i) {
    const std::string sector = "sector " + std::to_string(i + 1) + ": ";
    const int c = rose.changes[i];
    for (int r = 0; r <= c; ++r) {
      const float z0 = rose.z0[r][i];
      if (!(z0 >= 0.0f && z0 <= kMaxRoseRoughness))
        return sector + "roughness length " + Number(z0) + " m outside 0 to 10 m";
    }
    for (int r = 0; r < c; ++r) {
      const float d = rose.distance[r][i];
      if (!(d >= 0.0f) || d > 3.0e38f) return sector + "change distance " + Number(d) + " m";
      if (r > 0 && !(d > rose.distance[r - 1][i]))
        return sector + "change distances not increasing (" + Number(rose.distance[r - 1][i]) +
               " m, then " + Number(d) + " m)";
    }
  }
  return {};
}

}  // namespace kavi::model
