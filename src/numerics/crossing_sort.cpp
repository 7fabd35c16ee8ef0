// In-place quicksort of the crossing list without recursion: the larger part of
// every partition waits on a small stack while the smaller part is sorted
// first, so the stack never holds more than log2(count) ranges.
#include "numerics/crossing_sort.h"

#include <cstdint>
#include <utility>

namespace kavi::numerics {

namespace {

constexpr int kStackDepth = 32;      // ranges pending; enough for any int count
constexpr int kInsertionLimit = 16;  // ranges this short are finished by insertion

struct CrossingKey {
  int ray;
  float t;
};

// n mod d by two multiplications, exact for every 32-bit n and d > 0: the sort
// takes the ray of a crossing code at every comparison, millions of times on
// a large map, where a division costs several multiplications.
class Remainder {
 public:
  explicit Remainder(int d)
      : divisor_(static_cast<std::uint32_t>(d)), magic_(UINT64_MAX / divisor_ + 1) {}
  int operator()(int n) const {
    if (n < 0) return n % static_cast<int>(divisor_);  // never a code; as % gives it
    const std::uint64_t low = magic_ * static_cast<std::uint32_t>(n);
    return static_cast<int>((static_cast<unsigned __int128>(low) * divisor_) >> 64);
  }

 private:
  std::uint32_t divisor_;
  std::uint64_t magic_;
};

class CrossingOrder {
 public:
  CrossingOrder(GridCrossing* crossings, int rayCount) : list_(crossings), ray_(rayCount) {}

  CrossingKey Key(const GridCrossing& c) const { return {ray_(c.code), c.t}; }
  CrossingKey Key(int i) const { return Key(list_[i]); }
  static bool Before(const CrossingKey& a, const CrossingKey& b) {
    return a.ray < b.ray || (a.ray == b.ray && a.t < b.t);
  }
  bool Before(int i, int j) const { return Before(Key(i), Key(j)); }
  void Swap(int i, int j) { std::swap(list_[i], list_[j]); }

  void InsertionSort(int lo, int hi) {
    for (int i = lo + 1; i <= hi; ++i) {
      const GridCrossing moving = list_[i];
      const CrossingKey key = Key(moving);
      int j = i - 1;
      for (; j >= lo && Before(key, Key(j)); --j) list_[j + 1] = list_[j];
      list_[j + 1] = moving;
    }
  }

  // Hoare partition around the median of the first, middle and last entries;
  // afterwards [lo, j] precedes [i, hi] and j < i.
  void Partition(int lo, int hi, int& i, int& j) {
    const int mid = lo + (hi - lo) / 2;
    if (Before(mid, lo)) Swap(mid, lo);
    if (Before(hi, lo)) Swap(hi, lo);
    if (Before(hi, mid)) Swap(hi, mid);
    const CrossingKey pivot = Key(mid);
    i = lo;
    j = hi;
    while (i <= j) {
      while (Before(Key(i), pivot)) ++i;
      while (Before(pivot, Key(j))) --j;
      if (i <= j) Swap(i++, j--);
    }
  }

 private:
  GridCrossing* list_;
  Remainder ray_;
};

}  // namespace

void SortCrossings(GridCrossing* crossings, int count, int rayCount) {
  if (count < 2 || rayCount < 1) return;
  CrossingOrder order(crossings, rayCount);
  int pendingLo[kStackDepth];
  int pendingHi[kStackDepth];
  int pending = 0;
  int lo = 0;
  int hi = count - 1;
  for (;;) {
    while (hi - lo >= kInsertionLimit) {
      int i = 0;
      int j = 0;
      order.Partition(lo, hi, i, j);
      if (j - lo < hi - i) {
        pendingLo[pending] = i;
        pendingHi[pending++] = hi;
        hi = j;
      } else {
        pendingLo[pending] = lo;
        pendingHi[pending++] = j;
        lo = i;
      }
    }
    order.InsertionSort(lo, hi);
    if (pending == 0) return;
    --pending;
    lo = pendingLo[pending];
    hi = pendingHi[pending];
  }
}

}  // namespace kavi::numerics
