#include "component/calculation_lock.h"

namespace kavi::component {

std::mutex& CalculationMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace kavi::component
