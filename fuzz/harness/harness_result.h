// What a harness reports about one input: whether the reader accepted the
// file, and the first broken promise of the reader or of the steps after it
// (empty when there is none).
#pragma once

#include <string>

namespace kavi::fuzz {

struct HarnessResult {
  bool accepted = false;
  std::string broken;

  // Records a broken promise (the first one is kept).
  void Break(const std::string& what) {
    if (broken.empty()) broken = what;
  }
  // Records `what` unless the condition holds; returns the condition.
  bool Expect(bool condition, const std::string& what) {
    if (!condition) Break(what);
    return condition;
  }
};

// Prints a broken promise and aborts, so that the fuzzer keeps the input.
void AbortIfBroken(const HarnessResult& result);

}  // namespace kavi::fuzz
