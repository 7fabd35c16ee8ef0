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

bool WriteRecord(WorkFile& file, float t, int code) {
  const CrossingRecord record{t, code};
  return file.Write(&record, sizeof record);
}

}  // namespace

bool GridCrossingStore::Add(float t, int code) {
  ++total_;
  if (total_ <= kMaxCrossings) {
    list_.t[count_] = t;
    list_.code[count_] = code;
    ++count_;
    return true;
  }
  if (total_ == kMaxCrossings + 1) {
    // First crossing beyond the list: the whole list moves to a new work file.
    if (!spill_.Create()) return false;
    for (int i = 0; i < count_; ++i) {
      if (!WriteRecord(spill_, list_.t[i], list_.code[i])) return false;
    }
  }
  return WriteRecord(spill_, t, code);
}

bool GridCrossingStore::FinishSpill() { return spill_.Rewind(); }

bool GridCrossingStore::LoadRays(int first, int last, int rayCount, int entryLimit, float limit) {
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
      list_.t[count_] = record.t;
      list_.code[count_] = record.code;
      ++count_;
    }
  }
  return true;
}

}  // namespace kavi::numerics
