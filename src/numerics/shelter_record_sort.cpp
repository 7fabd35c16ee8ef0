#include <algorithm>

#include "numerics/shelter_records.h"

namespace kavi::numerics {

// Insertion sort: at most 1000 records, sorted once per obstacles file, stable
// and in place.
void SortShelterRecords(float (&key)[kMaxShelterRecords], int count,
                        float (&farDistance)[kMaxShelterRecords],
                        float (&openness)[kMaxShelterRecords],
                        float (&height)[kMaxShelterRecords]) {
  const int n = std::clamp(count, 0, kMaxShelterRecords);
  for (int i = 1; i < n; ++i) {
    const float k = key[i];
    const float f = farDistance[i];
    const float p = openness[i];
    const float h = height[i];
    int j = i;
    for (; j > 0 && key[j - 1] > k; --j) {
      key[j] = key[j - 1];
      farDistance[j] = farDistance[j - 1];
      openness[j] = openness[j - 1];
      height[j] = height[j - 1];
    }
    key[j] = k;
    farDistance[j] = f;
    openness[j] = p;
    height[j] = h;
  }
}

}  // namespace kavi::numerics
