#include "roughness_classes.h"

#include <cmath>

namespace kavi::tool {

namespace {
// Roughness lengths below this count as open water.
constexpr double kWaterBelow = 0.0001;
}  // namespace

const std::vector<RoughnessClass>& RoughnessClasses() {
  static const std::vector<RoughnessClass> classes = {{0.0, "#4f8fd0", "water"},
                                                      {0.0002, "#fbf3d5", "sand, snow, ice"},
                                                      {0.0005, "#f1e6a6", ""},
                                                      {0.001, "#e2dd8a", ""},
                                                      {0.003, "#cadd8a", ""},
                                                      {0.01, "#abd27c", "mown grass"},
                                                      {0.03, "#87c068", "open farmland"},
                                                      {0.05, "#66a955", ""},
                                                      {0.1, "#478f43", "farmland with hedges"},
                                                      {0.2, "#307636", "many trees and hedges"},
                                                      {0.4, "#1f5b2b", "villages, suburbs"},
                                                      {0.8, "#7b5634", "forest"},
                                                      {1.0, "#4a3322", "towns, tall forest"}};
  return classes;
}

const RoughnessClass& RoughnessClassOf(double z0) {
  const std::vector<RoughnessClass>& classes = RoughnessClasses();
  if (!(z0 >= kWaterBelow)) return classes.front();
  const RoughnessClass* nearest = &classes[1];
  for (std::size_t i = 2; i < classes.size(); ++i)
    if (std::fabs(std::log(z0 / classes[i].length)) < std::fabs(std::log(z0 / nearest->length)))
      nearest = &classes[i];
  return *nearest;
}

}  // namespace kavi::tool
