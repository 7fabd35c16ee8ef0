#include "numerics/context.h"

#include <algorithm>
#include <iterator>

namespace kavi::numerics {

namespace {
// Relative weights of the 62 terms of the orographic spectrum.
constexpr float kTermWeights[kGridTermCount] = {
    1.0f,         0.54617f,     0.376637f,   0.287586f,    0.232639f,    0.195337f,   0.168352f,
    0.147921f,    0.131915f,    0.119035f,   0.0995901f,   0.0856069f,   0.0750674f,  0.0668389f,
    0.0602362f,   0.0524626f,   0.0464662f,  0.0417f,      0.0378206f,   0.033647f,   0.0303031f,
    0.0269545f,   0.0242724f,   0.0216833f,  0.0195933f,   0.0176127f,   0.0159958f,  0.0144769f,
    0.0130796f,   0.0118128f,   0.0106755f,  0.00966077f,  0.00875887f,  0.00795871f, 0.00720633f,
    0.00654857f,  0.00594237f,  0.00539081f, 0.00489336f,  0.00444729f,  0.0040353f,  0.00365993f,
    0.00332109f,  0.00301712f,  0.00273929f, 0.00248785f,  0.0022576f,   0.002049f,   0.00186138f,
    0.00169105f,  0.00153562f,  0.0013951f,  0.00126752f,  0.00115145f,  0.0010467f,  0.000951195f,
    0.000864248f, 0.000785237f, 0.00071357f, 0.000648674f, 0.000589426f, 0.000535824f};
}  // namespace

void Context::LoadGridConstants() {
  gridNodes = 100;
  gridTerms = kGridTermCount;
  gridStretch = 1.06f;
  gridInnerRadius = 0.000167289f;
  std::copy(std::begin(kTermWeights), std::end(kTermWeights), gridTermWeights);
}

}  // namespace kavi::numerics
