// Whole calculations on synthetic maps of 10,000 to 499,999 entries, through
// the server's interface as a host makes them, and the split of one
// prediction into its steps on the model object.
#include <kavi/identities.h>
#include <kavi/interfaces.h>
#include <kavi/runtime.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/site_calculator.h"
#include "numerics/numerical_state.h"
#include "support/bench_setup.h"
#include "support/synthetic_map.h"

extern "C" kavi::HRESULT DllGetClassObject(kavi::REFCLSID, kavi::REFIID, void**);

namespace {

using namespace kavi;
using Clock = std::chrono::steady_clock;

double MedianMs(int runs, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

template <class I>
I* Create(const CLSID& clsid, const IID& iid) {
  IClassFactory* factory = nullptr;
  void* object = nullptr;
  DllGetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  factory->CreateInstance(nullptr, iid, &object);
  factory->Release();
  return static_cast<I*>(object);
}

BSTR Text(const std::string& s) {
  const std::u16string t = NarrowToUtf16(s);
  return SysAllocStringLen(t.data(), static_cast<std::uint32_t>(t.size()));
}

void WriteClimate(const std::string& path) {
  std::ofstream out(path);
  out << "bench station\n55 10 10\n12 1 0 2\n";
  for (int i = 0; i < 12; ++i) out << 8.3 << ' ';
  out << '\n';
  for (int i = 0; i < 12; ++i) out << 6 + 0.2 * i << ' ';
  out << '\n';
  for (int i = 0; i < 12; ++i) out << 2.0 << ' ';
  out << '\n';
}

}  // namespace

int main() {
  const Identities& ids = kKavicalcIdentities;
  const std::string folder = "/tmp";
  const std::string climate = folder + "/bench-climate.tab";
  const std::string atlas = folder + "/bench-atlas.lib";
  const std::string rose = folder + "/bench-rose.rrd";
  WriteClimate(climate);
  std::printf("%9s %11s %11s %11s | %8s %8s %8s %8s %8s\n", "entries", "rose ms", "atlas ms",
              "results ms", "map", "grid", "rose", "site+", "atlas rd");
  for (int entries : {10000, 50000, 100000, 250000, 499999}) {
    const std::string map = folder + "/bench-" + std::to_string(entries) + ".map";
    bench::WriteSyntheticMap(map, entries, 7);

    auto* generator = Create<IKaviAtlasGenerator>(ids.AtlasGenerator, ids.IKaviAtlasGenerator);
    auto* user = Create<IKaviAtlasUser>(ids.AtlasUser, ids.IKaviAtlasUser);
    auto* roseGenerator = Create<IKaviRoughnessRoseGenerator>(ids.RoughnessRoseGenerator,
                                                              ids.IKaviRoughnessRoseGenerator);
    BSTR mapText = Text(map), climateText = Text(climate), atlasText = Text(atlas),
         roseText = Text(rose);
    generator->put_MapFile(mapText);
    generator->put_TabFile(climateText);
    user->put_MapFile(mapText);
    user->put_AtlasFile(atlasText);
    user->put_HeightAGL(80);
    roseGenerator->put_MapFile(mapText);

    const double roseMs =
        MedianMs(5, [&] { roseGenerator->CalculateRoughnessRose(roseText, 12, 0, 0); });
    const double atlasMs = MedianMs(5, [&] { generator->CalculateAtlas(0, 0, atlasText); });
    const double resultsMs = MedianMs(11, [&] {
      IKaviSiteResults* results = nullptr;
      if (user->CalculateResults(150, -75, &results) == S_OK) results->Release();
    });

    // The steps of one prediction on a model object of its own.
    auto model = std::make_unique<model::CSiteCalculator>();
    bench::LoadDefaultParameters();
    const double mapMs = MedianMs(5, [&] { model->CVemoMap::Load(map); });
    model->Reset();
    const double atlasReadMs = MedianMs(5, [&] { model->atlas().Load(atlas); });
    model->SetSite(150, -75, 80);
    const double gridMs = MedianMs(5, [&] { model->CZoomingGrid::CreateFromSite(); });
    const double roseStepMs = MedianMs(5, [&] { model->CRoughnessRose::CreateFromSite(); });
    const double predictMs = MedianMs(5, [&] { model->Predict(); });
    std::printf("%9d %11.2f %11.2f %11.2f | %8.2f %8.2f %8.2f %8.2f %8.2f\n", entries, roseMs,
                atlasMs, resultsMs, mapMs, gridMs, roseStepMs, predictMs - gridMs - roseStepMs,
                atlasReadMs);

    SysFreeString(mapText);
    SysFreeString(climateText);
    SysFreeString(atlasText);
    SysFreeString(roseText);
    roseGenerator->Release();
    user->Release();
    generator->Release();
    std::remove(map.c_str());
  }
  std::printf(
      "site+ = site model, shelter and prediction (the prediction step less grid and rose)\n");
  return 0;
}
