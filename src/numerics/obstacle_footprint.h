// The ground plan of one obstacle seen from the site: a rectangle whose front
// face runs between the two given corners and whose depth points away from the
// site, with the range of bearings it covers and where a ray from the site
// meets it. Positions are east (x) and north (y) of the site in metres.
#pragma once

namespace kavi::numerics {

// Brings a bearing (degrees) into [0, 360).
float NormaliseBearing(float bearing);

struct ObstacleFootprint {
  float x1 = 0, y1 = 0;    // front corner 1, the nearer one
  float x2 = 0, y2 = 0;    // front corner 2
  float xb1 = 0, yb1 = 0;  // back corner behind corner 1
  float xb2 = 0, yb2 = 0;  // back corner behind corner 2
  float t = 0, u = 0;      // unit normal of the front face
  float v = 0;             // signed distance of the front line from the site
  float nearCorner = 0;    // distance of corner 1 (m)
  float farCorner = 0;     // the larger distance of the two back corners (m)
  // Bearings covered, start <= end < start + 360 (end may pass 360).
  float start = 0, end = 0;
};

// Builds the footprint from the corners (bearing a, distance r) and the depth
// (not negative). False when the front face is shorter than kMinFaceLength.
constexpr float kMinFaceLength = 0.001f;
bool MakeObstacleFootprint(float a1, float r1, float a2, float r2, float depth,
                           ObstacleFootprint& footprint);

// Where the ray from the site at `bearing` enters the obstacle (through the
// front face, or through the side face at corner 1 when it passes the front
// face) and where it leaves it again. The distances are not checked: a ray that
// misses yields a negative or non-finite near distance.
struct RayCrossing {
  float nearDistance = 0;
  float farDistance = 0;
};
RayCrossing CastRay(const ObstacleFootprint& footprint, float bearing);

}  // namespace kavi::numerics
