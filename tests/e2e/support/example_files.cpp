#include "support/example_files.h"

#include <cmath>
#include <cstdio>

namespace kavi::e2e {

namespace {
constexpr double kPi = 3.14159265358979323846;

std::string Repeat(const char* value, int count) {
  std::string line;
  for (int i = 0; i < count; ++i) line += std::string(" ") + value;
  return line + "\n";
}
}  // namespace

std::string FlatMapText() {
  return "+ flat test terrain\n"
         "\n"
         "1\n"
         "0.03 0.03 100 5\n"
         "-15000 -15000 15000 -15000 15000 15000 -15000 15000 -15000 -15000\n";
}

std::string UniformAtlasText() {
  std::string text = "uniform test atlas\n  2  2 12\n  0.030  0.100\n   10.0  100.0\n";
  const char* speeds[2][2] = {{"6.00", "8.50"}, {"5.50", "8.20"}};
  for (int r = 0; r < 2; ++r) {
    text += Repeat("8.33", 12);
    for (int h = 0; h < 2; ++h) text += Repeat(speeds[r][h], 12) + Repeat("2.00", 12);
  }
  return text;
}

std::string WeibullClimateText(int sectors, double A, double k) {
  std::string text = "station drawn from a Weibull distribution\n55.0 10.0 -1\n";
  text += std::to_string(sectors) + " 1.0 0.0\n";
  char value[32];
  std::snprintf(value, sizeof value, "%.4f", 100.0 / sectors);
  text += Repeat(value, sectors);
  const auto below = [A, k](double u) { return 1 - std::exp(-std::pow(u / A, k)); };
  for (int upper = 1; upper <= 30; ++upper) {
    std::snprintf(value, sizeof value, "%.4f", 1000 * (below(upper) - below(upper - 1)));
    text += std::to_string(upper) + Repeat(value, sectors);
  }
  return text;
}

std::string GaussianHillMapText(double H, double L) {
  std::string text = "+ Gaussian hill\nNo transformation\n1 0\n";
  char value[64];
  const auto circle = [&](const std::string& header, double radius) {
    constexpr int kCorners = 360;
    text += header + " " + std::to_string(kCorners + 1) + "\n";
    for (int i = 0; i <= kCorners; ++i) {
      const double angle = 2 * kPi * (i % kCorners) / kCorners + 0.001;
      std::snprintf(value, sizeof value, "%.2f %.2f%s", radius * std::cos(angle),
                    radius * std::sin(angle), i % 6 == 5 || i == kCorners ? "\n" : "  ");
      text += value;
    }
  };
  for (double share : {0.005, 0.02, 0.05, 0.1, 0.15, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.85, 0.9,
                       0.95, 0.98, 0.995}) {
    std::snprintf(value, sizeof value, "%.3f", H * share);
    circle(value, L * std::sqrt(std::log(1 / share) / std::log(2.0)));
  }
  circle("0", L * std::sqrt(std::log(1000.0) / std::log(2.0)));
  circle("0.03 0.03 0", 10 * L);
  return text;
}

}  // namespace kavi::e2e
