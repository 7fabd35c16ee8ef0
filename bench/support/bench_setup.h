// What every benchmark sets up: the default parameter vector, a scratch
// working folder (work files go to the working folder) and timing in ms.
#pragma once

#include <chrono>
#include <string>

namespace kavi::bench {

// The configuration defaults of the current edition as the parameter vector
// of the benchmark context, as a calculation copies them in.
void LoadDefaultParameters();

// Creates a fresh folder under the temporary folder and makes it the working
// folder; its path, or an empty text when it cannot be made.
std::string EnterScratchFolder();

inline double Milliseconds(std::chrono::steady_clock::time_point start,
                           std::chrono::steady_clock::time_point stop) {
  return std::chrono::duration<double, std::milli>(stop - start).count();
}

}  // namespace kavi::bench
