// Many AtlasUser.CalculateResults calls spread over worker threads. Each
// worker creates, sets up and uses its own AtlasUser on its own thread, as the
// apartment model asks, so that calculations on different threads need
// nothing shared but the server.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "call_failure.h"
#include "power_curve.h"
#include "site_outcome.h"
#include "tool_edition.h"
#include "value_parsers.h"

namespace kavi::tool {

// What every worker's AtlasUser is given before its first calculation.
struct CalculationInputs {
  std::string map;
  std::string atlas;
  std::optional<std::string> rose;
  std::optional<std::string> obstacles;
  std::vector<Setting> settings;
  std::optional<PowerCurve> powerCurve;  // adds the energy yield to every result
};

struct SiteTask {
  double x;
  double y;
  double height;  // m above ground
};

// A task's result, or the failure of its CalculateResults call.
struct TaskOutcome {
  std::optional<SiteOutcome> result;
  std::optional<CallFailure> failure;
};

struct RunOptions {
  unsigned jobs = 1;                              // worker threads, at least 1
  bool stopAtFailure = false;                     // no new tasks start once one has failed
  const char* progressWhat = "calculating site";  // progress line on a terminal
};

// Runs the tasks and hands each outcome to done(index, outcome), called on
// the worker thread that calculated it, at most once per index (different
// indices may be handed at the same time). With stopAtFailure, every task
// before the first failing one in task order is still done. A failure to set
// up a worker (activation, a refused --set) or an exception from done ends
// the run: it is thrown once all workers have stopped.
void RunSiteCalculations(const ToolEdition& edition, const CalculationInputs& inputs,
                         const std::vector<SiteTask>& tasks, const RunOptions& options,
                         const std::function<void(std::size_t, TaskOutcome&&)>& done);

// The number of worker threads to use by default: the machine's cores.
unsigned DefaultJobs();
// --jobs N: a whole number from 1 to 1024; the default when not given.
unsigned ParseJobs(const std::string* text, const std::string& command);

}  // namespace kavi::tool
