#include "numerics/grid_crossings.h"

namespace kavi::numerics {

namespace {

// One work-file record: the crossing's t and its code.
struct CrossingRecord {
  float t;
  int code;
};

constexpr int kReadChunk = 4096;         // records read from the work file at a time
constexpr int kFirstElevationEntry = 3;  // the first line's elevation entry

// The list itself: process-wide scratch, bounded at kMaxCrossings.
struct CrossingList {
  float t[kMaxCrossings];
  int code[kMaxCrossings];
};

CrossingList& List() {
  static CrossingList list;
  return list;
}

bool WriteRecord(WorkFile& file, float t, int code) {
  const CrossingRecord record{t, code};
  return file.Write(&record, sizeof record);
}

}  // namespace

CrossingStore::CrossingStore(WorkFile& spill) : spill_(spill) {}

float* CrossingStore::t() const { return List().t; }
int* CrossingStore::code() const { return List().code; }

bool CrossingStore::Add(float t, int code) {
  ++total_;
  if (total_ <= kMaxCrossings) {
    List().t[count_] = t;
    List().code[count_] = code;
    ++count_;
    return true;
  }
  if (total_ == kMaxCrossings + 1) {
    // First crossing beyond the list: the whole list moves to a new work file.
    if (!spill_.Create()) return false;
    for (int i = 0; i < count_; ++i) {
      if (!WriteRecord(spill_, List().t[i], List().code[i])) return false;
    }
  }
  return WriteRecord(spill_, t, code);
}

bool CrossingStore::FinishSpill() { return spill_.Rewind(); }

bool CrossingStore::LoadRays(int first, int last, int rayCount, int entryLimit, float limit) {
  count_ = 0;
  if (!spill_.Rewind()) return false;
  CrossingRecord chunk[kReadChunk];
  for (int done = 0; done < total_;) {
    const int n = total_ - done < kReadChunk ? total_ - done : kReadChunk;
    if (!spill_.Read(chunk, sizeof(CrossingRecord) * n)) return false;
    done += n;
    for (int i = 0; i < n; ++i) {
      const CrossingRecord& record = chunk[i];
      if (record.code < 0 || !(record.t >= 0.0f && record.t <= limit)) return false;
      const int ray = record.code % rayCount;
      const int entry = record.code / rayCount;
      if (entry < kFirstElevationEntry || entry > entryLimit) return false;
      if (ray < first || ray > last) continue;
      if (count_ == kMaxCrossings) return false;
      List().t[count_] = record.t;
      List().code[count_] = record.code;
      ++count_;
    }
  }
  return true;
}

}  // namespace kavi::numerics
