// Calculations at the same time. In one process, threads each calling their
// own objects must get what the same calls give one after another: each model
// object has its own numerical context, and calculations run in parallel. Across
// processes in one working folder, each calculation needs its own scratch
// work file: maps of different sizes, all large enough to spill, must give
// each process its own results and leave no work file behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <latch>
#include <sstream>
#include <thread>

#include "support/calculation_objects.h"
#include "support/child_process.h"
#include "support/ring_maps.h"
#include "support/sanitizer_build.h"
#include "support/test_files.h"

namespace kavi::test {
namespace {

constexpr int kThreads = 8;
constexpr int kProcesses = 4;
constexpr double kSites[][2] = {{150, 50}, {-400, 900}};

// The numbers of a prediction as text at full precision, so that results of
// other processes compare exactly.
std::string SiteText(const SiteNumbers& site) {
  std::ostringstream text;
  text.precision(17);
  text << site.elevation << " " << site.totalA << " " << site.totalK << " " << site.totalEnergy;
  for (double v : site.sectors) text << " " << v;
  return text.str();
}

// The same numbers read back from kavicalc's CSV output (one row per sector,
// then the row "all"), one text per site.
std::vector<std::string> SiteTextsFromCsv(const std::string& csv) {
  std::vector<std::string> texts;
  std::istringstream lines(csv);
  std::string line;
  const auto split = [](const std::string& row) {
    std::vector<std::string> f;
    std::istringstream fields(row);
    for (std::string field; std::getline(fields, field, ',');) f.push_back(field);
    return f;
  };
  std::getline(lines, line);  // the column names, found by name
  const std::vector<std::string> names = split(line);
  const auto column = [&](const char* name) {
    return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
  };
  const std::size_t elevation = column("elevation"), sector = column("sector"),
                    frequency = column("frequency"), A = column("weibull_a"),
                    k = column("weibull_k"), power = column("power_density");
  SiteNumbers site;
  while (std::getline(lines, line)) {
    std::vector<std::string> f = split(line);
    if (f.size() + 1 == names.size()) f.resize(names.size());  // an empty last field
    if (f.size() != names.size() || power >= names.size()) return {"bad row: " + line};
    // Results of the single-precision engine are printed as the shortest text
    // of their single (at most 9 significant digits), others as doubles.
    const auto number = [&](std::size_t i) {
      const std::string& text = f[i];
      const auto digits = std::count_if(text.begin(), text.end(), ::isdigit);
      return digits <= 9 ? static_cast<double>(std::strtof(text.c_str(), nullptr))
                         : std::strtod(text.c_str(), nullptr);
    };
    site.elevation = number(elevation);
    if (f[sector] == "all") {
      site.totalA = number(A);
      site.totalK = number(k);
      site.totalEnergy = number(power);
      texts.push_back(SiteText(site));
      site = SiteNumbers{};
    } else {
      site.sectors.insert(site.sectors.end(),
                          {number(A), number(k), number(frequency), number(power)});
    }
  }
  return texts;
}

class Concurrency : public ::testing::Test {
 protected:
  void SetUp() override {
    Kavicalc();
    map_ = folder_.Path("rings.map");
    WriteRingMap(map_, 20, RingKind::kBoth);
    WriteWeibullClimate(folder_.Path("station.tab"), TypicalClimate());
    WriteObstacles(folder_.Path("wall.obs"), {{200, 45, 250, 45, 10, 5, 0}});
    atlas_ = folder_.Path("station.lib");
    ASSERT_EQ(OutcomeText(MakeAtlas(Generator(0).get(), 0, 0, atlas_)), "0x00000000");
  }
  // Objects differ by thread: configuration, obstacles and height follow the index.
  ComPtr<IKaviAtlasGenerator> Generator(int index) {
    ComPtr<IKaviAtlasGenerator> g = NewAtlasGenerator(Kavicalc());
    g->put_MapFile(Bstr(map_.c_str()).get());
    g->put_TabFile(Bstr(folder_.Path("station.tab").c_str()).get());
    g->put_HeightAGL(10.0 + index);
    if (index % 2) g->put_ObstaclesDataFile(Bstr(folder_.Path("wall.obs").c_str()).get());
    SetParameter(g.get(), "STDH3", 40.0 + 5 * index);
    return g;
  }
  ComPtr<IKaviAtlasUser> User(int index, const std::string& map) {
    ComPtr<IKaviAtlasUser> u = NewAtlasUser(Kavicalc());
    u->put_MapFile(Bstr(map.c_str()).get());
    u->put_AtlasFile(Bstr(atlas_.c_str()).get());
    u->put_HeightAGL(15.0 + 5 * index);
    if (index % 2) u->put_ObstaclesDataFile(Bstr(folder_.Path("wall.obs").c_str()).get());
    SetParameter(u.get(), "BZAZRES", 1 + index % 5);
    return u;
  }

  // One thread's work: a prediction, an atlas, a roughness rose and a
  // calculation that fails, on objects of its own; everything they give.
  std::vector<std::string> Work(int index) {
    std::vector<std::string> got;
    SiteNumbers site;
    ComPtr<IKaviAtlasUser> user = User(index, map_);
    got.push_back(OutcomeText(Predict(user.get(), kSites[0][0], kSites[0][1], &site)));
    got.push_back(SiteText(site));
    const std::string atlas = folder_.Path("thread" + std::to_string(index) + ".lib");
    got.push_back(OutcomeText(MakeAtlas(Generator(index).get(), 0, 0, atlas)));
    got.push_back(ReadText(atlas));
    const std::string rose = folder_.Path("thread" + std::to_string(index) + ".rrd");
    ComPtr<IKaviRoughnessRoseGenerator> roses = NewRoseGenerator(Kavicalc());
    roses->put_MapFile(Bstr(map_.c_str()).get());
    got.push_back(OutcomeText(MakeRose(roses.get(), rose, 4 + 4 * index, 100, -50)));
    got.push_back(ReadText(rose));
    // The error information a failure leaves is the calling thread's own.
    const std::string missing = folder_.Path("missing" + std::to_string(index) + ".lib");
    user->put_AtlasFile(Bstr(missing.c_str()).get());
    got.push_back(OutcomeText(Predict(user.get(), 0, 0)));
    return got;
  }

  TempFolder folder_;
  std::string map_, atlas_;
};

TEST_F(Concurrency, ThreadsGetWhatTheSameCallsGiveOneAfterAnother) {
  std::vector<std::vector<std::string>> sequential;
  for (int t = 0; t < kThreads; ++t) sequential.push_back(Work(t));
  ASSERT_EQ(sequential[1][0], "0x00000000");
  ASSERT_NE(sequential[0][1], sequential[1][1]);  // the threads' work differs

  const int repeats = Rounds(5, 2);
  std::vector<std::vector<std::vector<std::string>>> concurrent(kThreads);
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      for (int r = 0; r < repeats; ++r) concurrent[static_cast<std::size_t>(t)].push_back(Work(t));
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    for (int r = 0; r < repeats; ++r) {
      EXPECT_EQ(concurrent[static_cast<std::size_t>(t)][static_cast<std::size_t>(r)],
                sequential[static_cast<std::size_t>(t)])
          << "thread " << t << ", repeat " << r;
    }
  }
}

// 200 calculations of every kind on 8 threads at once, each thread with its
// own objects: roses, atlases and predictions, with and without obstacles,
// on a small map and on one whose crossings spill to work files. Every
// outcome, number and file must be exactly what the same jobs give one after
// another on one thread.
class MixedJobs : public Concurrency {
 protected:
  static constexpr int kJobsPerThread = 25;

  void SetUp() override {
    Concurrency::SetUp();
    spilling_ = folder_.Path("spilling.map");
    WriteRingMap(spilling_, kSpillingRings, RingKind::kBoth);
  }

  // Job j of thread t, on that thread's own objects.
  std::string Job(int t, int j, IKaviAtlasUser* user, IKaviAtlasGenerator* generator,
                  IKaviRoughnessRoseGenerator* roses) {
    const bool spill = j % 5 == 4;
    const std::string& map = spill ? spilling_ : map_;
    const std::string stem = folder_.Path("mixed" + std::to_string(t) + "-" + std::to_string(j));
    const double x = 40.0 * (j % 7) - 120.0, y = 25.0 * (j % 3);
    switch (j % 4) {
      case 0:
      case 1: {
        user->put_MapFile(Bstr(map.c_str()).get());
        user->put_ObstaclesDataFile(j % 4 == 1 ? Bstr(folder_.Path("wall.obs").c_str()).get()
                                               : nullptr);
        SiteNumbers site;
        const std::string outcome = OutcomeText(Predict(user, x, y, &site));
        return outcome + " " + SiteText(site);
      }
      case 2: {
        generator->put_MapFile(Bstr(map.c_str()).get());
        const std::string outcome = OutcomeText(MakeAtlas(generator, x, y, stem + ".lib"));
        return outcome + "\n" + ReadText(stem + ".lib");
      }
      default: {
        roses->put_MapFile(Bstr(map.c_str()).get());
        const std::string outcome =
            OutcomeText(MakeRose(roses, stem + ".rrd", 4 + (j + t) % 33, x, y));
        return outcome + "\n" + ReadText(stem + ".rrd");
      }
    }
  }

  std::vector<std::string> Jobs(int t) {
    ComPtr<IKaviAtlasUser> user = User(t, map_);
    ComPtr<IKaviAtlasGenerator> generator = Generator(t);
    ComPtr<IKaviRoughnessRoseGenerator> roses = NewRoseGenerator(Kavicalc());
    std::vector<std::string> got;
    for (int j = 0; j < kJobsPerThread; ++j)
      got.push_back(Job(t, j, user.get(), generator.get(), roses.get()));
    return got;
  }

  std::string spilling_;
};

TEST_F(MixedJobs, EightThreadsGiveTheSerialResultsBitForBit) {
  std::vector<std::vector<std::string>> serial;
  for (int t = 0; t < kThreads; ++t) serial.push_back(Jobs(t));
  ASSERT_EQ(serial[0][0].substr(0, 10), "0x00000000");
  ASSERT_EQ(serial[0][4].substr(0, 10), "0x00000000");  // a prediction that spilled
  ASSERT_NE(serial[0][0], serial[0][1]);                // the obstacles count

  std::vector<std::vector<std::string>> parallel(kThreads);
  std::latch start(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      start.arrive_and_wait();
      parallel[static_cast<std::size_t>(t)] = Jobs(t);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    for (int j = 0; j < kJobsPerThread; ++j) {
      EXPECT_EQ(parallel[static_cast<std::size_t>(t)][static_cast<std::size_t>(j)],
                serial[static_cast<std::size_t>(t)][static_cast<std::size_t>(j)])
          << "thread " << t << ", job " << j;
    }
  }
}

class SpillingProcesses : public Concurrency {
 protected:
  void SetUp() override {
    Concurrency::SetUp();
    work_ = folder_.Path("work");
    std::filesystem::create_directory(work_);
    // A different map per process, each with more crossings than fit in memory.
    for (int p = 0; p < kProcesses; ++p) {
      maps_.push_back(folder_.Path("spilling" + std::to_string(p) + ".map"));
      WriteRingMap(maps_.back(), kSpillingRings + 20 * p, RingKind::kBoth);
      std::vector<std::string> sites;
      for (const auto& site : kSites) {
        SiteNumbers numbers;
        EXPECT_EQ(OutcomeText(Predict(User(0, maps_.back()).get(), site[0], site[1], &numbers)),
                  "0x00000000");
        sites.push_back(SiteText(numbers));
      }
      expected_.push_back(sites);
    }
    ASSERT_NE(expected_[0], expected_[1]);
  }
  bool WorkFolderIsEmpty() const { return std::filesystem::is_empty(work_); }

  std::string work_;
  std::vector<std::string> maps_;
  std::vector<std::vector<std::string>> expected_;
};

TEST_F(SpillingProcesses, KavicalcPredictInOneFolder) {
  const std::string tool = KAVI_TOOL_PATH;
  if (tool.empty()) GTEST_SKIP() << "kavicalc is not built";
  std::vector<ProgramRun> runs;
  for (int p = 0; p < kProcesses; ++p) {
    std::vector<std::string> args = {"predict",  "--map", maps_[static_cast<std::size_t>(p)],
                                     "--atlas",  atlas_,  "--height",
                                     "15",       "--set", "BZAZRES=1",
                                     "--format", "csv"};
    for (const auto& site : kSites) {
      args.push_back("--at");
      args.push_back(std::to_string(site[0]) + "," + std::to_string(site[1]));
    }
    const std::string stem = folder_.Path("process" + std::to_string(p));
    runs.push_back(StartProgram(tool, args, work_, stem + ".out", stem + ".err"));
  }
  for (int p = 0; p < kProcesses; ++p) {
    const ProgramRun& run = runs[static_cast<std::size_t>(p)];
    EXPECT_EQ(WaitForProgram(run), 0) << ReadText(run.errPath);
    EXPECT_EQ(SiteTextsFromCsv(ReadText(run.outPath)), expected_[static_cast<std::size_t>(p)])
        << "process " << p;
  }
  EXPECT_TRUE(WorkFolderIsEmpty());
}

TEST_F(SpillingProcesses, ForkedHostsInOneFolder) {
  const std::vector<ChildResult> children = RunChildrenAtOnce(kProcesses, [&](int p) {
    if (chdir(work_.c_str()) != 0) return std::string("chdir failed");
    std::string report;
    for (const auto& site : kSites) {
      SiteNumbers numbers;
      const std::string outcome = OutcomeText(
          Predict(User(0, maps_[static_cast<std::size_t>(p)]).get(), site[0], site[1], &numbers));
      report += outcome == "0x00000000" ? SiteText(numbers) + "\n" : outcome + "\n";
    }
    return report;
  });
  for (int p = 0; p < kProcesses; ++p) {
    const auto& expected = expected_[static_cast<std::size_t>(p)];
    EXPECT_EQ(children[static_cast<std::size_t>(p)].report, expected[0] + "\n" + expected[1] + "\n")
        << "process " << p;
  }
  EXPECT_TRUE(WorkFolderIsEmpty());
}

}  // namespace
}  // namespace kavi::test
