// Throughput of predictions on one thread against two: the twenty turbine
// sites of the example site, predicted again and again from the example atlas
// with the station's obstacles, each thread on an object of its own. Both runs
// are made side by side in one process and every result is checked against
// the first run, so that the ratio compares equal work. The pair of runs is
// repeated and the median ratio reported, since one pair on a shared machine
// can be off either way.
//
//   bench_parallel_predictions [ROUNDS [TRIALS]]
//     ROUNDS: passes over the 20 sites per thread (default 10)
//     TRIALS: pairs of runs, one thread then two (default 5)
#include <kavi/abi.h>
#include <kavi/identities.h>
#include <kavi/interfaces.h>
#include <kavi/runtime.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern "C" kavi::HRESULT DllGetClassObject(kavi::REFCLSID rclsid, kavi::REFIID riid, void** ppv);

namespace {

using namespace kavi;

struct Site {
  double x;
  double y;
};

std::string Example(const char* name) { return std::string(KAVI_SOURCE_DIR "/examples/") + name; }

std::vector<Site> TurbineSites() {
  std::ifstream in(Example("turbines.csv"));
  std::vector<Site> sites;
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    Site s{};
    char comma = 0;
    std::istringstream fields(line);
    if (fields >> s.x >> comma >> s.y) sites.push_back(s);
  }
  return sites;
}

BSTR Text(const std::string& s) {
  const std::u16string u = NarrowToUtf16(s);
  return SysAllocStringLen(u.data(), static_cast<std::uint32_t>(u.size()));
}

// One thread's work: its own AtlasUser, `rounds` passes over the sites; the
// sum of the all-sector Weibull A values as the check of what was computed.
double Predictions(const std::vector<Site>& sites, int rounds, int& failures) {
  const Identities& ids = kKavicalcIdentities;
  IClassFactory* factory = nullptr;
  IKaviAtlasUser* user = nullptr;
  if (DllGetClassObject(ids.AtlasUser, IID_IClassFactory, reinterpret_cast<void**>(&factory)) !=
      S_OK) {
    ++failures;
    return 0;
  }
  factory->CreateInstance(nullptr, ids.IKaviAtlasUser, reinterpret_cast<void**>(&user));
  factory->Release();
  if (!user) {
    ++failures;
    return 0;
  }
  BSTR map = Text(Example("site.map")), atlas = Text(Example("station.lib")),
       obstacles = Text(Example("station.obs"));
  user->put_MapFile(map);
  user->put_AtlasFile(atlas);
  user->put_ObstaclesDataFile(obstacles);
  user->put_HeightAGL(80.0);
  double sum = 0;
  for (int r = 0; r < rounds; ++r) {
    for (const Site& s : sites) {
      IKaviSiteResults* results = nullptr;
      if (user->CalculateResults(s.x, s.y, &results) != S_OK || !results) {
        ++failures;
        continue;
      }
      double A = 0;
      results->get_TotalWeibullA(&A);
      sum += A;
      results->Release();
    }
  }
  user->Release();
  SysFreeString(map);
  SysFreeString(atlas);
  SysFreeString(obstacles);
  return sum;
}

// Seconds for `threads` threads each doing `rounds` passes; the sums per thread.
double Run(int threads, const std::vector<Site>& sites, int rounds, std::vector<double>& sums,
           std::vector<int>& failures) {
  sums.assign(static_cast<std::size_t>(threads), 0.0);
  failures.assign(static_cast<std::size_t>(threads), 0);
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) {
    pool.emplace_back([&, t] {
      const auto i = static_cast<std::size_t>(t);
      sums[i] = Predictions(sites, rounds, failures[i]);
    });
  }
  for (std::thread& thread : pool) thread.join();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  const int trials = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const std::vector<Site> sites = TurbineSites();
  if (sites.empty()) {
    std::fprintf(stderr, "no turbine sites in %s\n", Example("turbines.csv").c_str());
    return 1;
  }
  std::vector<double> oneSums, twoSums;
  std::vector<int> oneFailures, twoFailures;
  int warmUpFailures = 0;
  Predictions(sites, 1, warmUpFailures);  // warm-up: caches, page faults
  const int predictions = rounds * static_cast<int>(sites.size());
  std::printf("predictions per thread   %d (%zu sites x %d rounds)\n", predictions, sites.size(),
              rounds);
  bool same = true;
  int failed = warmUpFailures;
  std::vector<double> ratios;
  for (int trial = 1; trial <= trials; ++trial) {
    const double one = Run(1, sites, rounds, oneSums, oneFailures);
    const double two = Run(2, sites, rounds, twoSums, twoFailures);
    for (double s : twoSums) same = same && s == oneSums[0];
    failed = std::accumulate(oneFailures.begin(), oneFailures.end(), failed);
    failed = std::accumulate(twoFailures.begin(), twoFailures.end(), failed);
    ratios.push_back(2 * one / two);
    std::printf("trial %d: 1 thread %.1f/s, 2 threads %.1f/s, ratio %.2f\n", trial,
                predictions / one, 2 * predictions / two, ratios.back());
  }
  std::sort(ratios.begin(), ratios.end());
  std::printf("throughput 2 threads / 1 %.2f x median (%.2f … %.2f)\n", ratios[ratios.size() / 2],
              ratios.front(), ratios.back());
  std::printf("results                  %s, %d failed\n", same ? "identical" : "DIFFERENT", failed);
  return same && failed == 0 ? 0 : 1;
}
