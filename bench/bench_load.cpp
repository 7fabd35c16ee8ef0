// The long stress run: many calculations in one process, as a long-running
// host makes them. Predictions and atlases alternate, with and without
// obstacles, on changing configurations and sites, on long-lived and on fresh
// objects, now and then on a large map and after a calculation that failed on
// a bad file. Every result is compared with the one the same inputs gave on a
// fresh object at the start; the resident set (floor after the warm-up and at
// the end, peak, end) and the open files are reported.
//
//   bench_load [ROUNDS]    (default 10000, at least 20; exit status 1 on any mismatch)
//
// Objects come from the class factories of the statically linked server, so
// the run also suits valgrind --leak-check=full with a few hundred rounds.
#include <kavi/abi.h>
#include <kavi/identities.h>
#include <kavi/interfaces.h>
#include <kavi/runtime.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/synthetic_map.h"

extern "C" kavi::HRESULT DllGetClassObject(kavi::REFCLSID rclsid, kavi::REFIID riid, void** ppv);

namespace {

using namespace kavi;

constexpr int kDefaultRounds = 10000;
constexpr int kMapEntries = 20000;
constexpr int kLargeMapEntries = 400000;
constexpr int kLargeMapEvery = 100;
constexpr int kConfigurations = 3;
constexpr int kSites = 2;
constexpr double kSiteXY[kSites][2] = {{0, 0}, {2500, -1500}};

struct Setting {
  const char* id;
  double value;
};
const std::vector<Setting> kSettings[kConfigurations] = {
    {{"STDH3", 50}, {"MAXRC", 10}, {"BZAZRES", 5}, {"STABFAC", 0.002}},
    {{"STDH3", 75}, {"MAXRC", 3}, {"BZAZRES", 10}, {"STABFAC", 0.0}},
    {{"STDH3", 40}, {"MAXRC", 7}, {"BZAZRES", 3}, {"STABFAC", 0.004}},
};

enum Kind { kPredictOpen, kAtlasOpen, kPredictSheltered, kAtlasSheltered, kKinds };

// An owned interface pointer.
template <class I>
struct Ref {
  I* p = nullptr;
  Ref() = default;
  Ref(const Ref& o) : p(o.p) {
    if (p) p->AddRef();
  }
  Ref& operator=(Ref o) {
    std::swap(p, o.p);
    return *this;
  }
  ~Ref() {
    if (p) p->Release();
  }
  I* operator->() const { return p; }
  void** put() {
    if (p) p->Release();
    p = nullptr;
    return reinterpret_cast<void**>(&p);
  }
};

struct Text {
  BSTR b;
  explicit Text(const std::string& s) {
    const std::u16string u = NarrowToUtf16(s);
    b = SysAllocStringLen(u.data(), static_cast<std::uint32_t>(u.size()));
  }
  ~Text() { SysFreeString(b); }
};

template <class I>
Ref<I> New(const CLSID& clsid, const IID& iid) {
  Ref<IClassFactory> factory;
  Ref<I> object;
  if (DllGetClassObject(clsid, IID_IClassFactory, factory.put()) == S_OK)
    factory->CreateInstance(nullptr, iid, object.put());
  return object;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * sysconf(_SC_PAGESIZE) / 1024;
}

int OpenFiles() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++count;
  }
  return count;
}

// Every number a host reads from a prediction, or the text of an atlas, and the result code.
struct Result {
  HRESULT code = S_OK;
  std::vector<double> numbers;
  std::string atlas;
  bool operator==(const Result&) const = default;
};

class Run {
 public:
  explicit Run(const std::string& folder) : folder_(folder) {
    kavi::bench::WriteSyntheticMap(Path("terrain.map"), kMapEntries, 7u);
    kavi::bench::WriteSyntheticMap(Path("large.map"), kLargeMapEntries, 11u);
    WriteFile(Path("station.tab"),
              "bench station\n55.0 10.0 10.0\n12 1.0 0.0 2\n"
              "5 4 4 5 6 8 12 16 15 11 8 6\n5.5 5.0 5.2 5.8 6.2 6.8 7.6 8.4 8.2 7.5 6.6 6.0\n"
              "1.9 1.8 2.0 2.1 2.2 2.2 2.3 2.4 2.3 2.2 2.0 1.9\n");
    WriteFile(Path("walls.obs"), "obstacles\n200 45 250 45 10 5 0\n20 60 40 70 8 4 0.3\n");
    WriteFile(Path("garbled.tab"), "station\n55 10 10\n12 1 0 2\nno numbers\n");
    WriteFile(Path("garbled.lib"), "title\n  5  5 12\n0.000 oops\n");
    Ref<IKaviAtlasGenerator> g = Generator(false);
    g->CalculateAtlas(0, 0, Text(Path("station.lib")).b);
  }

  std::string Path(const std::string& name) const { return folder_ + "/" + name; }

  Ref<IKaviAtlasGenerator> Generator(bool sheltered) const {
    auto g = New<IKaviAtlasGenerator>(ids().AtlasGenerator, ids().IKaviAtlasGenerator);
    g->put_MapFile(Text(Path("terrain.map")).b);
    g->put_TabFile(Text(Path("station.tab")).b);
    g->put_HeightAGL(10.0);
    if (sheltered) g->put_ObstaclesDataFile(Text(Path("walls.obs")).b);
    return g;
  }
  Ref<IKaviAtlasUser> User(bool sheltered, const char* map = "terrain.map") const {
    auto u = New<IKaviAtlasUser>(ids().AtlasUser, ids().IKaviAtlasUser);
    u->put_MapFile(Text(Path(map)).b);
    u->put_AtlasFile(Text(Path("station.lib")).b);
    u->put_HeightAGL(15.0);
    if (sheltered) u->put_ObstaclesDataFile(Text(Path("walls.obs")).b);
    return u;
  }

  static void Configure(IKaviConfigurable* object, int configuration) {
    Ref<IKaviConfiguration> c;
    object->get_Configuration(reinterpret_cast<IKaviConfiguration**>(c.put()));
    for (const Setting& s : kSettings[configuration]) {
      Ref<IKaviParameter> p;
      c->get_Item(Text(s.id).b, reinterpret_cast<IKaviParameter**>(p.put()));
      VARIANT v;
      VariantInit(&v);
      v.vt = VT_R8;
      v.dblVal = s.value;
      p->put_Value(v);
    }
  }

  static Result Predict(IKaviAtlasUser* user, int configuration, int site) {
    Configure(user, configuration);
    Result r;
    Ref<IKaviSiteResults> results;
    r.code = user->CalculateResults(kSiteXY[site][0], kSiteXY[site][1],
                                    reinterpret_cast<IKaviSiteResults**>(results.put()));
    if (r.code != S_OK) return r;
    double v = 0;
    for (auto getter :
         {&IKaviSiteResults::get_Elevation, &IKaviSiteResults::get_TotalWeibullA,
          &IKaviSiteResults::get_TotalWeibullK, &IKaviSiteResults::get_TotalEnergyProduction}) {
      (results.p->*getter)(&v);
      r.numbers.push_back(v);
    }
    for (LONG s = 1;; ++s) {
      Ref<IKaviSectorInfo> e;
      if (results->SectorResult(s, reinterpret_cast<IKaviSectorInfo**>(e.put())) != S_OK) break;
      for (auto getter : {&IKaviSectorInfo::get_WeibullA, &IKaviSectorInfo::get_WeibullK,
                          &IKaviSectorInfo::get_Frequency, &IKaviSectorInfo::get_Energy}) {
        (e.p->*getter)(&v);
        r.numbers.push_back(v);
      }
    }
    return r;
  }

  Result Atlas(IKaviAtlasGenerator* generator, int configuration) const {
    Configure(generator, configuration);
    Result r;
    r.code = generator->CalculateAtlas(0, 0, Text(Path("out.lib")).b);
    r.atlas = ReadFile(Path("out.lib"));
    std::filesystem::remove(Path("out.lib"));
    return r;
  }

  // A calculation that fails on a bad file, on the same object.
  void FailOn(IKaviAtlasUser* user) const {
    user->put_AtlasFile(Text(Path("garbled.lib")).b);
    Ref<IKaviSiteResults> results;
    if (user->CalculateResults(0, 0, reinterpret_cast<IKaviSiteResults**>(results.put())) == S_OK)
      ++unexpectedSuccesses;
    user->put_AtlasFile(Text(Path("station.lib")).b);
  }
  void FailOn(IKaviAtlasGenerator* generator) const {
    generator->put_TabFile(Text(Path("garbled.tab")).b);
    if (generator->CalculateAtlas(0, 0, Text(Path("failed.lib")).b) == S_OK) ++unexpectedSuccesses;
    generator->put_TabFile(Text(Path("station.tab")).b);
  }

  static const Identities& ids() { return kKavicalcIdentities; }

  mutable int unexpectedSuccesses = 0;

 private:
  std::string folder_;
};

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(20, std::atoi(argv[1])) : kDefaultRounds;
  std::string folder = (std::filesystem::temp_directory_path() / "kavi-load-XXXXXX").string();
  if (!mkdtemp(folder.data())) {
    std::fprintf(stderr, "cannot create a scratch folder\n");
    return 1;
  }
  // Error reports look up ProgIDs; keep them away from the user's own registry.
  setenv("KAVI_REGISTRY", (folder + "/registry").c_str(), 1);
  std::filesystem::current_path(folder);  // the work files of the large map land here
  int failures = 0;
  {
    Run run(folder);
    Result reference[kKinds][kConfigurations][kSites];
    for (int c = 0; c < kConfigurations; ++c) {
      for (int s = 0; s < kSites; ++s) {
        reference[kPredictOpen][c][s] = Run::Predict(run.User(false).p, c, s);
        reference[kPredictSheltered][c][s] = Run::Predict(run.User(true).p, c, s);
        reference[kAtlasOpen][c][s] = run.Atlas(run.Generator(false).p, c);
        reference[kAtlasSheltered][c][s] = run.Atlas(run.Generator(true).p, c);
      }
    }
    const Result largeReference = Run::Predict(run.User(false, "large.map").p, 0, 0);
    for (const auto& kind : reference)
      for (const auto& configuration : kind)
        for (const Result& r : configuration)
          if (r.code != S_OK) ++failures;
    if (largeReference.code != S_OK) ++failures;

    Ref<IKaviAtlasUser> openUser = run.User(false), shelteredUser = run.User(true);
    Ref<IKaviAtlasGenerator> openGenerator = run.Generator(false),
                             shelteredGenerator = run.Generator(true);
    const int warmUp = std::max(1, rounds / 10);
    const int window = std::max(1, rounds / 10);
    std::vector<long> resident;
    int warmFiles = 0;
    int mismatches = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
      const int kind = i % kKinds;
      const int configuration = (i / kKinds) % kConfigurations;
      const int site = (i / (kKinds * kConfigurations)) % kSites;
      const bool fresh = i % 11 == 0;
      const bool failFirst = i % 7 == 3;
      Result got;
      if (kind == kPredictOpen || kind == kPredictSheltered) {
        const bool sheltered = kind == kPredictSheltered;
        Ref<IKaviAtlasUser> user =
            fresh ? run.User(sheltered) : (sheltered ? shelteredUser : openUser);
        if (failFirst) run.FailOn(user.p);
        got = Run::Predict(user.p, configuration, site);
      } else {
        const bool sheltered = kind == kAtlasSheltered;
        Ref<IKaviAtlasGenerator> generator =
            fresh ? run.Generator(sheltered) : (sheltered ? shelteredGenerator : openGenerator);
        if (failFirst) run.FailOn(generator.p);
        got = run.Atlas(generator.p, configuration);
      }
      if (!(got == reference[kind][configuration][site])) {
        if (++mismatches <= 5)
          std::fprintf(stderr, "round %d: kind %d, configuration %d, site %d differs (0x%08X)\n", i,
                       kind, configuration, site, static_cast<unsigned>(got.code));
      }
      if (i % kLargeMapEvery == kLargeMapEvery / 2 &&
          !(Run::Predict(run.User(false, "large.map").p, 0, 0) == largeReference)) {
        if (++mismatches <= 5) std::fprintf(stderr, "round %d: large map differs\n", i);
      }
      if (i + 1 == warmUp) warmFiles = OpenFiles();
      resident.push_back(ResidentKiB());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto floorOf = [&](std::size_t first) {
      return *std::min_element(resident.begin() + static_cast<long>(first),
                               resident.begin() + static_cast<long>(first + window));
    };
    std::printf("rounds                       %d (%d on the large map)\n", rounds,
                (rounds + kLargeMapEvery / 2) / kLargeMapEvery);
    std::printf("mismatches                   %d\n", mismatches);
    std::printf("failed calls that succeeded  %d\n", run.unexpectedSuccesses);
    std::printf("elapsed                      %.1f s (%.2f ms per round)\n", seconds,
                1000.0 * seconds / rounds);
    std::printf("resident floor after warm-up %ld KiB (rounds %d-%d)\n",
                floorOf(static_cast<std::size_t>(warmUp)), warmUp, warmUp + window - 1);
    std::printf("resident floor at the end    %ld KiB (last %d rounds)\n",
                floorOf(static_cast<std::size_t>(rounds - window)), window);
    std::printf("resident peak                %ld KiB\n",
                *std::max_element(resident.begin(), resident.end()));
    std::printf("resident at the end          %ld KiB\n", resident.back());
    std::printf("open files after warm-up/end %d / %d\n", warmFiles, OpenFiles());
    failures += mismatches + run.unexpectedSuccesses;
  }
  std::filesystem::current_path("/");
  std::filesystem::remove_all(folder);
  return failures == 0 ? 0 : 1;
}
