// What keeping a parsed map saves: per map size (10,000 to 499,999 entries of
// a synthetic map), the first AtlasUser.CalculateResults (which parses the
// map) against the repeated ones on the same object (which find the same
// bytes and keep the parsed storage), and the map reader against a plain
// std::from_chars tokenizer of the same file, side by side in one run.
//
//   bench_map_reuse [REPEATS]   (default 5 repeated calculations per size)
#include <kavi/abi.h>
#include <kavi/identities.h>
#include <kavi/interfaces.h>
#include <kavi/runtime.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "model/edition.h"
#include "numerics/context.h"
#include "numerics/map_input.h"
#include "support/bench_setup.h"
#include "support/synthetic_map.h"

extern "C" kavi::HRESULT DllGetClassObject(kavi::REFCLSID rclsid, kavi::REFIID riid, void** ppv);

namespace {

using namespace kavi;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultRepeats = 5;
constexpr int kReaderRuns = 3;
constexpr int kSizes[] = {10000, 50000, 100000, 200000, 499999};

// A uniform 12-sector atlas: classes 0.03 and 0.1 m, heights 10 and 100 m.
std::string AtlasText() {
  const auto repeat = [](const char* value) {
    std::string line;
    for (int i = 0; i < 12; ++i) line += std::string(" ") + value;
    return line + "\n";
  };
  std::string text = "uniform atlas\n  2  2 12\n  0.030  0.100\n   10.0  100.0\n";
  const char* speeds[2][2] = {{"6.00", "8.50"}, {"5.50", "8.20"}};
  for (int r = 0; r < 2; ++r) {
    text += repeat("8.33");
    for (int h = 0; h < 2; ++h) text += repeat(speeds[r][h]) + repeat("2.00");
  }
  return text;
}

BSTR Text(const std::string& s) {
  const std::u16string u = NarrowToUtf16(s);
  return SysAllocStringLen(u.data(), static_cast<std::uint32_t>(u.size()));
}

IKaviAtlasUser* NewAtlasUser(const Identities& ids) {
  IClassFactory* factory = nullptr;
  IKaviAtlasUser* user = nullptr;
  if (DllGetClassObject(ids.AtlasUser, IID_IClassFactory, reinterpret_cast<void**>(&factory)) ==
      S_OK) {
    factory->CreateInstance(nullptr, ids.IKaviAtlasUser, reinterpret_cast<void**>(&user));
    factory->Release();
  }
  return user;
}

// One calculation at the centre of the synthetic map, in ms; negative on failure.
double Calculate(IKaviAtlasUser* user) {
  const auto start = Clock::now();
  IKaviSiteResults* results = nullptr;
  const HRESULT h = user->CalculateResults(0.0, 0.0, &results);
  const double ms = bench::Milliseconds(start, Clock::now());
  if (results) results->Release();
  return h == S_OK ? ms : -1.0;
}

// Every number of the file through std::from_chars, as the least any reader
// must do; returns their sum so that nothing is optimised away.
double TokenizeAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  const std::string text = std::move(bytes).str();
  double sum = 0;
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    if (*p == ' ' || *p == '\n' || *p == '\t' || *p == ',' || *p == '\r') {
      ++p;
      continue;
    }
    double value = 0;
    const auto [next, error] = std::from_chars(p, end, value);
    if (error != std::errc()) {  // a title or other text: skip the line
      while (p < end && *p != '\n') ++p;
      continue;
    }
    sum += value;
    p = next;
  }
  return sum;
}

double BestReaderMs(const std::string& path, int capacity) {
  std::vector<float> X(static_cast<std::size_t>(capacity)), Y(static_cast<std::size_t>(capacity));
  double best = 1e30;
  for (int run = 0; run < kReaderRuns; ++run) {
    numerics::Context ctx;
    const auto start = Clock::now();
    numerics::MapContents contents;
    numerics::MapInput(ctx, path, X, Y, contents);
    best = std::min(best, bench::Milliseconds(start, Clock::now()));
  }
  return best;
}

double BestTokenizerMs(const std::string& path, double& sink) {
  double best = 1e30;
  for (int run = 0; run < kReaderRuns; ++run) {
    const auto start = Clock::now();
    sink += TokenizeAll(path);
    best = std::min(best, bench::Milliseconds(start, Clock::now()));
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRepeats;
  const std::string folder = bench::EnterScratchFolder();
  if (folder.empty()) {
    std::fprintf(stderr, "cannot create a scratch folder\n");
    return 1;
  }
  const Identities& ids = *model::CurrentEdition().ids;
  const int capacity = model::CurrentEdition().mapCapacity;
  const std::string atlas = folder + "/uniform.lib";
  std::ofstream(atlas) << AtlasText();

  std::printf("%9s %9s %10s %10s %8s %10s %10s %8s\n", "entries", "MB", "first ms", "repeat ms",
              "ratio", "reader ms", "tokens ms", "ratio");
  double sink = 0;
  for (const int entries : kSizes) {
    const std::string map = folder + "/synthetic-" + std::to_string(entries) + ".map";
    if (!bench::WriteSyntheticMap(map, entries, 1234u)) {
      std::fprintf(stderr, "cannot write %s\n", map.c_str());
      return 1;
    }
    IKaviAtlasUser* user = NewAtlasUser(ids);
    if (!user) {
      std::fprintf(stderr, "cannot create an AtlasUser\n");
      return 1;
    }
    BSTR mapName = Text(map), atlasName = Text(atlas);
    user->put_MapFile(mapName);
    user->put_AtlasFile(atlasName);
    user->put_HeightAGL(50.0);
    const double first = Calculate(user);
    double repeated = 1e30;
    for (int r = 0; r < repeats; ++r) repeated = std::min(repeated, Calculate(user));
    user->Release();
    SysFreeString(mapName);
    SysFreeString(atlasName);
    if (first < 0 || repeated < 0) {
      std::fprintf(stderr, "the calculation on %s failed\n", map.c_str());
      return 1;
    }
    const double reader = BestReaderMs(map, capacity);
    const double tokens = BestTokenizerMs(map, sink);
    std::printf("%9d %9.2f %10.1f %10.1f %8.2f %10.1f %10.1f %8.2f\n", entries,
                static_cast<double>(std::filesystem::file_size(map)) / 1e6, first, repeated,
                first / repeated, reader, tokens, reader / tokens);
  }
  std::printf("(ratio: first / best repeated calculation; reader / tokenizer time; sum %g)\n",
              sink);
  std::filesystem::current_path(std::filesystem::temp_directory_path());
  std::filesystem::remove_all(folder);
  return 0;
}
