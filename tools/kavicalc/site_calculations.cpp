#include "site_calculations.h"

#include <kavi/interfaces.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "activation.h"
#include "configuration_access.h"
#include "progress.h"
#include "property_access.h"
#include "usage_error.h"

namespace kavi::tool {

namespace {
constexpr unsigned kMaximumJobs = 1024;
constexpr auto kProgressInterval = std::chrono::milliseconds(250);

using I = IKaviAtlasUser;

ComPtr<I> SetUpUser(const ToolEdition& edition, const CalculationInputs& inputs) {
  const IID& iid = edition.ids->IKaviAtlasUser;
  auto user = Activate<I>(edition, "AtlasUser", iid);
  ApplySettings(ConfigurationOf(user.get(), iid).get(), inputs.settings, *edition.ids,
                RegisteredProgId(edition, "AtlasUser"));
  PutText(user.get(), &I::put_MapFile, inputs.map, iid);
  PutText(user.get(), &I::put_AtlasFile, inputs.atlas, iid);
  PutOptionalText(user.get(), &I::put_RoughnessRoseFile, inputs.rose ? &*inputs.rose : nullptr,
                  iid);
  PutOptionalText(user.get(), &I::put_ObstaclesDataFile,
                  inputs.obstacles ? &*inputs.obstacles : nullptr, iid);
  return user;
}

TaskOutcome Calculate(I* user, const ToolEdition& edition, const CalculationInputs& inputs,
                      const SiteTask& task) {
  const IID& iid = edition.ids->IKaviAtlasUser;
  try {
    Check(user->put_HeightAGL(task.height), user, iid);
    ComPtr<IKaviSiteResults> results;
    Check(user->CalculateResults(task.x, task.y, results.put()), user, iid);
    if (!results) Fail(E_POINTER, "CalculateResults returned no site results");
    SiteOutcome outcome = ReadSiteOutcome(results.get(), *edition.ids);
    if (inputs.powerCurve) AddEnergyYield(outcome, *inputs.powerCurve);
    return {std::move(outcome), std::nullopt};
  } catch (const CallFailure& failure) {
    return {std::nullopt, failure};
  }
}

// What the workers share: the next task to take, the count of tasks done,
// whether to stop, and the first failure that ends the run (setting up a
// worker, or taking a result).
struct WorkQueue {
  std::atomic<std::size_t> next{0};
  std::atomic<std::size_t> finished{0};
  std::atomic<bool> stop{false};
  std::mutex mutex;  // guards fatalFailure and wakes the progress loop
  std::condition_variable changed;
  std::exception_ptr fatalFailure;
  unsigned running = 0;
};

void Work(const ToolEdition& edition, const CalculationInputs& inputs,
          const std::vector<SiteTask>& tasks, const RunOptions& options,
          const std::function<void(std::size_t, TaskOutcome&&)>& done, WorkQueue& queue) {
  try {
    const ComPtr<I> user = SetUpUser(edition, inputs);
    while (!queue.stop.load()) {
      const std::size_t index = queue.next.fetch_add(1);
      if (index >= tasks.size()) break;
      TaskOutcome outcome = Calculate(user.get(), edition, inputs, tasks[index]);
      if (outcome.failure && options.stopAtFailure) queue.stop.store(true);
      done(index, std::move(outcome));
      queue.finished.fetch_add(1);
    }
  } catch (...) {
    std::lock_guard<std::mutex> lock(queue.mutex);
    if (!queue.fatalFailure) queue.fatalFailure = std::current_exception();
    queue.stop.store(true);
  }
  std::lock_guard<std::mutex> lock(queue.mutex);
  --queue.running;
  queue.changed.notify_all();
}
}  // namespace

void RunSiteCalculations(const ToolEdition& edition, const CalculationInputs& inputs,
                         const std::vector<SiteTask>& tasks, const RunOptions& options,
                         const std::function<void(std::size_t, TaskOutcome&&)>& done) {
  // A first activation on this thread registers the server when it is not
  // registered yet, so that the workers never race to do it.
  Activate<I>(edition, "AtlasUser", edition.ids->IKaviAtlasUser);
  WorkQueue queue;
  const unsigned jobs = static_cast<unsigned>(
      std::max<std::size_t>(1, std::min<std::size_t>(options.jobs, tasks.size())));
  std::vector<std::thread> workers;
  {
    Progress progress(options.progressWhat, tasks.size());
    queue.running = jobs;
    for (unsigned j = 0; j < jobs; ++j)
      workers.emplace_back(Work, std::cref(edition), std::cref(inputs), std::cref(tasks),
                           std::cref(options), std::cref(done), std::ref(queue));
    std::unique_lock<std::mutex> lock(queue.mutex);
    while (queue.running > 0) {
      queue.changed.wait_for(lock, kProgressInterval);
      progress.Show(queue.finished.load());
    }
  }
  for (std::thread& worker : workers) worker.join();
  if (queue.fatalFailure) std::rethrow_exception(queue.fatalFailure);
}

unsigned DefaultJobs() { return std::max(1u, std::thread::hardware_concurrency()); }

unsigned ParseJobs(const std::string* text, const std::string& command) {
  if (!text) return DefaultJobs();
  const auto jobs = ParseNumber(*text);
  if (!jobs || *jobs < 1 || *jobs > kMaximumJobs || *jobs != static_cast<unsigned>(*jobs))
    throw UsageError("--jobs expects a whole number of threads from 1 to " +
                         std::to_string(kMaximumJobs) + ", e.g. --jobs 4 (got '" + *text + "')",
                     command);
  return static_cast<unsigned>(*jobs);
}

}  // namespace kavi::tool
