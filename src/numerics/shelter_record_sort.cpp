#include <algorithm>

#include "numerics/shelter_records.h"

namespace kavi::numerics {

void SortShelterRecords(ShelterRecord* records, int count) {
  const int n = std::clamp(count, 0, kMaxShelterRecords);
  std::stable_sort(records, records + n,
                   [](const ShelterRecord& a, const ShelterRecord& b) { return a.key < b.key; });
}

}  // namespace kavi::numerics
