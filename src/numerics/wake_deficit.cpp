#include "numerics/wake_deficit.h"

#include <cmath>

namespace kavi::numerics {

float WakeDeficit(float x, float h, float z, float z0) {
  float X = x + z0;
  float Zp = z + 3.0f * z0;
  // A point low down and close behind the obstacle takes the deficit at half
  // the obstacle height, 2.5 heights behind it.
  if (0.2f * X + Zp < h) {
    Zp = 0.5f * h + 3.0f * z0;
    X = h / 0.4f;
  }
  const float Lambda = std::log(h / z0);
  const float epsilon = 1.0f / (2.0f + 1.0f / Lambda);
  const float K = 0.32f / Lambda;
  const float xi = X / h;

  // More than five heights behind, the wake has grown to height G; a point
  // below it is evaluated at G.
  const bool farWake = 0.2f * X > h;
  float G = 0.0f;
  float Zeff = Zp;
  if (farWake) {
    G = 3.0f * z0 + 0.3f * z0 * std::pow((X - 5.0f * h) / z0, 0.8f);
    if (Zp < G) Zeff = G;
  }
  float eta = Zeff / h * std::pow(1.0f / (K * xi), epsilon);
  if (eta > 12.0f) eta = 12.0f;
  float R = 9.75f * eta * std::exp(-0.67f * std::pow(eta, 1.5f)) / xi;
  // Below the wake height the deficit scales with the logarithmic profile.
  if (farWake && Zeff == G) R = R * std::log(Zp / z0) / std::log(G / z0);
  return R;
}

}  // namespace kavi::numerics
