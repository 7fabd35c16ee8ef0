#include "support/synthetic_map.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <random>
#include <vector>

namespace kavi::bench {

namespace {

constexpr int kHeaderEntries = 3;
constexpr int kMinPoints = 2;
constexpr int kMaxPoints = 400;
constexpr int kPairsPerRecord = 5;
constexpr int kHillCount = 4;
constexpr double kTwoPi = 6.283185307179586;

struct Hill {
  double x, y;   // centre (m)
  double top;    // summit elevation (m)
  double sigma;  // width (m)
};

// Uniform numbers from the raw engine output, so that the text is the same
// with every standard library.
class Random {
 public:
  explicit Random(unsigned seed) : engine_(seed) {}
  double Uniform(double lo, double hi) {
    return lo + (hi - lo) * (static_cast<double>(engine_()) / 4294967296.0);
  }
  int Integer(int lo, int hi) {
    return lo + static_cast<int>(engine_() % static_cast<std::uint32_t>(hi - lo + 1));
  }

 private:
  std::mt19937 engine_;
};

void AppendNumber(std::string& text, double value, int decimals) {
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  text.append(buffer, result.ptr);
}

void AppendInteger(std::string& text, int value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  text.append(buffer, result.ptr);
}

// A slightly wobbly ring of n points, closed (the last point repeats the
// first) when it has at least four.
void AppendRing(std::string& text, Random& random, double cx, double cy, double radius, int n) {
  const double phase = random.Uniform(0.0, kTwoPi);
  const double wobble = random.Uniform(0.0, 0.15);
  const bool closed = n >= 4;
  for (int i = 0; i < n; ++i) {
    const double angle = closed ? kTwoPi * (i == n - 1 ? 0 : i) / (n - 1) : kTwoPi * i / n;
    const double r = radius * (1.0 + wobble * std::sin(3.0 * angle + phase));
    AppendNumber(text, cx + r * std::cos(angle), 1);
    text += ' ';
    AppendNumber(text, cy + r * std::sin(angle), 1);
    text += (i + 1) % kPairsPerRecord == 0 || i == n - 1 ? '\n' : ' ';
  }
}

void AppendContour(std::string& text, Random& random, const Hill& hill, int n) {
  // The level's radius on a Gaussian hill: top · exp(−r² / 2σ²) = level.
  const double level = std::round(hill.top * random.Uniform(0.05, 0.95));
  const double radius = hill.sigma * std::sqrt(2.0 * std::log(hill.top / std::max(level, 1.0)));
  AppendNumber(text, level, 1);
  text += ' ';
  AppendInteger(text, n);
  text += '\n';
  AppendRing(text, random, hill.x, hill.y, std::max(radius, 10.0), n);
}

void AppendRoughnessLine(std::string& text, Random& random, int n) {
  static constexpr double kRoughness[] = {0.0002, 0.01, 0.03, 0.1, 0.4, 0.8, 1.5};
  const double inner = kRoughness[random.Integer(0, 6)];
  const double outer = kRoughness[random.Integer(0, 6)];
  // Counter-clockwise ring: the inside is on the left.
  AppendNumber(text, inner, 4);
  text += ' ';
  AppendNumber(text, outer, 4);
  text += ' ';
  AppendInteger(text, n);
  text += '\n';
  AppendRing(text, random, 0.0, 0.0, random.Uniform(200.0, 20000.0), n);
}

void AppendLakeShore(std::string& text, Random& random, int n) {
  AppendNumber(text, 0.0002, 4);
  text += ' ';
  AppendNumber(text, 0.03, 4);
  text += ' ';
  AppendNumber(text, std::round(random.Uniform(0.0, 50.0)), 1);
  text += ' ';
  AppendInteger(text, n);
  text += '\n';
  AppendRing(text, random, random.Uniform(-8000.0, 8000.0), random.Uniform(-8000.0, 8000.0),
             random.Uniform(100.0, 1500.0), n);
}

}  // namespace

std::string SyntheticMapText(int entries, unsigned seed) {
  Random random(seed);
  std::string text = "+ synthetic map: hills, roughness rings and lakes\n\n1.0\n";
  text.reserve(static_cast<std::size_t>(std::max(entries, 0)) * 12 + 64);
  std::vector<Hill> hills(kHillCount);
  for (Hill& hill : hills) {
    hill = {random.Uniform(-10000.0, 10000.0), random.Uniform(-10000.0, 10000.0),
            random.Uniform(100.0, 600.0), random.Uniform(800.0, 4000.0)};
  }
  int remaining = entries;
  while (remaining >= kHeaderEntries + kMinPoints) {
    int n = random.Integer(20, kMaxPoints);
    // Take the rest when it would be too small for a line of its own.
    if (n + kHeaderEntries > remaining - (kHeaderEntries + kMinPoints)) {
      n = remaining - kHeaderEntries;
    }
    const int kind = random.Integer(0, 19);
    if (kind < 14) {
      AppendContour(text, random, hills[random.Integer(0, kHillCount - 1)], n);
    } else if (kind < 19) {
      AppendRoughnessLine(text, random, n);
    } else {
      AppendLakeShore(text, random, n);
    }
    remaining -= kHeaderEntries + n;
  }
  return text;
}

bool WriteSyntheticMap(const std::string& path, int entries, unsigned seed) {
  const std::string text = SyntheticMapText(entries, seed);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace kavi::bench
