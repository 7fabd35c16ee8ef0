// The numerical state is process-wide: one calculation at a time per process,
// whichever object and thread it runs on.
#pragma once

#include <mutex>

namespace kavi::component {

std::mutex& CalculationMutex();

}  // namespace kavi::component
