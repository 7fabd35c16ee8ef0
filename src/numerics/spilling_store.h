// A list of fixed-size records that stays in the caller's memory while it
// fits and spills to a private work file once it does not: the first record
// beyond the room sends every record kept so far, then itself and all later
// ones, to the file in the order they came. The calculation then reloads the
// list part by part, with the records a selection keeps. The crossing lists
// of the zooming grid and of the roughness rose are both kept this way.
#pragma once

#include <algorithm>
#include <cstddef>

#include "numerics/work_file.h"

namespace kavi::numerics {

// What a reload does with one record of the work file.
enum class Reloaded {
  kKeep,    // into the list
  kSkip,    // not in this part
  kReject,  // no calculation can have written it: the file is not ours
};

template <class Record>
class SpillingStore {
 public:
  // Keeps up to `room` records in list[0 … room - 1] (the caller's memory).
  SpillingStore(Record* list, int room) : list_(list), room_(room) {}
  SpillingStore(const SpillingStore&) = delete;
  SpillingStore& operator=(const SpillingStore&) = delete;

  Record* records() const { return list_; }
  int count() const { return count_; }  // records in the list now
  int total() const { return total_; }  // records added
  bool spilled() const { return total_ > room_; }

  // Keeps one record. False when the work file cannot be created or written.
  bool Add(const Record& record) {
    ++total_;
    if (total_ <= room_) {
      list_[count_++] = record;
      return true;
    }
    if (total_ == room_ + 1) {
      if (!file_.Create() || !file_.Write(list_, sizeof(Record) * static_cast<std::size_t>(count_)))
        return false;
    }
    return file_.Write(&record, sizeof record);
  }

  // Ends the writing, so that a failure to complete the file shows before any
  // reload (only after a spill). False when the file cannot be flushed.
  bool FinishWriting() { return file_.Rewind(); }

  // Replaces the list by the work file's records that choose(record) keeps,
  // in the order they were added (only after a spill). False on a read
  // failure, a rejected record, or more than `limit` (or the room) kept.
  template <class Choose>
  bool Reload(Choose choose, int limit) {
    count_ = 0;
    if (!file_.Rewind()) return false;
    Record chunk[kReadChunk];
    for (int done = 0; done < total_;) {
      const int n = std::min(kReadChunk, total_ - done);
      if (!file_.Read(chunk, sizeof(Record) * static_cast<std::size_t>(n))) return false;
      done += n;
      for (int i = 0; i < n; ++i) {
        switch (choose(chunk[i])) {
          case Reloaded::kSkip:
            continue;
          case Reloaded::kReject:
            return false;
          case Reloaded::kKeep:
            if (count_ == limit || count_ == room_) return false;
            list_[count_++] = chunk[i];
            break;
        }
      }
    }
    return true;
  }

 private:
  static constexpr int kReadChunk = 4096;  // records read from the work file at a time

  Record* list_;
  int room_;
  int count_ = 0;
  int total_ = 0;
  WorkFile file_;
};

}  // namespace kavi::numerics
