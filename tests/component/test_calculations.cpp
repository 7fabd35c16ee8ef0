// Whole calculations through the binary interface, as a host makes them:
// roughness rose, atlas, prediction, their failures and what persists
// between calculations of one object.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>

#include "support/host.h"
#include "support/test_files.h"

namespace kavi::test {
namespace {

const Identities& ids() { return *Kavicalc().ids; }

class Calculations : public ::testing::Test {
 protected:
  void SetUp() override {
    Kavicalc();
    WriteFlatMap(folder_.Path("flat.map"));
    WriteWeibullClimate(folder_.Path("station.tab"), TypicalClimate());
  }

  ComPtr<IKaviAtlasGenerator> Generator() {
    auto g = Create<IKaviAtlasGenerator>("Kavicalc.AtlasGenerator", ids().IKaviAtlasGenerator);
    EXPECT_EQ(g->put_MapFile(Bstr(folder_.Path("flat.map").c_str()).get()), S_OK);
    EXPECT_EQ(g->put_TabFile(Bstr(folder_.Path("station.tab").c_str()).get()), S_OK);
    EXPECT_EQ(g->put_HeightAGL(10.0), S_OK);
    return g;
  }
  ComPtr<IKaviAtlasUser> User(const std::string& atlas) {
    auto u = Create<IKaviAtlasUser>("Kavicalc.AtlasUser", ids().IKaviAtlasUser);
    EXPECT_EQ(u->put_MapFile(Bstr(folder_.Path("flat.map").c_str()).get()), S_OK);
    EXPECT_EQ(u->put_AtlasFile(Bstr(atlas.c_str()).get()), S_OK);
    EXPECT_EQ(u->put_HeightAGL(10.0), S_OK);
    return u;
  }
  std::string MakeAtlas() {
    const std::string atlas = folder_.Path("station.lib");
    EXPECT_EQ(Generator()->CalculateAtlas(0, 0, Bstr(atlas.c_str()).get()), S_OK)
        << TakeErrorInfo().description;
    return atlas;
  }
  static double Get(IKaviSiteResults* r, HRESULT (IKaviSiteResults::*getter)(double*)) {
    double v = std::nan("");
    EXPECT_EQ((r->*getter)(&v), S_OK);
    return v;
  }
  static double SectorA(IKaviSiteResults* r, int sector) {
    ComPtr<IKaviSectorInfo> entry;
    EXPECT_EQ(r->SectorResult(sector, entry.put()), S_OK);
    double a = std::nan("");
    entry->get_WeibullA(&a);
    return a;
  }
  static void SetParameter(IUnknown* object, const IID& iid, const char* id, double value) {
    ComPtr<IKaviConfigurable> configurable;
    ASSERT_EQ(object->QueryInterface(iid, configurable.putVoid()), S_OK);
    ComPtr<IKaviConfiguration> configuration;
    ASSERT_EQ(configurable->get_Configuration(configuration.put()), S_OK);
    ComPtr<IKaviParameter> parameter;
    ASSERT_EQ(configuration->get_Item(Bstr(id).get(), parameter.put()), S_OK);
    ASSERT_EQ(parameter->put_Value(MakeVariantR8(value)), S_OK);
  }

  TempFolder folder_;
};

TEST_F(Calculations, FailingLoadsReachTheHostWithTheirStepMessages) {
  // A missing map: the status of the map reader.
  auto user = Create<IKaviAtlasUser>("Kavicalc.AtlasUser", ids().IKaviAtlasUser);
  ComPtr<IKaviSiteResults> results;
  user->put_MapFile(Bstr(folder_.Path("missing.map").c_str()).get());
  EXPECT_EQ(user->CalculateResults(0, 0, results.put()), static_cast<HRESULT>(0x800403E8));
  ErrorDetails error = TakeErrorInfo();
  EXPECT_EQ(error.description, "Kavicalc: Unable to open file");
  EXPECT_EQ(error.source, "Kavicalc.AtlasUser.1");
  EXPECT_EQ(error.guid, ids().IKaviAtlasUser);

  // A readable map and no atlas: reported after the map was read.
  user->put_MapFile(Bstr(folder_.Path("flat.map").c_str()).get());
  EXPECT_EQ(user->CalculateResults(0, 0, results.put()), DISP_E_EXCEPTION);
  error = TakeErrorInfo();
  EXPECT_EQ(error.description, "Atlas file not specified");
  EXPECT_EQ(error.guid, GUID_NULL);

  // A damaged map: the map reader's error.
  WriteText(folder_.Path("bad.map"), "no title marker\n");
  user->put_MapFile(Bstr(folder_.Path("bad.map").c_str()).get());
  EXPECT_EQ(user->CalculateResults(0, 0, results.put()), static_cast<HRESULT>(0x800403E8));
  EXPECT_EQ(TakeErrorInfo().description, "Kavicalc: Error in map file");

  // An empty map name is a value: the failure comes from the map load.
  user->put_MapFile(Bstr("").get());
  EXPECT_EQ(user->CalculateResults(0, 0, results.put()), static_cast<HRESULT>(0x800403E8));
  EXPECT_EQ(TakeErrorInfo().description, "Kavicalc: Unable to open file");

  // An atlas generator without any observed climate.
  auto generator =
      Create<IKaviAtlasGenerator>("Kavicalc.AtlasGenerator", ids().IKaviAtlasGenerator);
  generator->put_MapFile(Bstr(folder_.Path("flat.map").c_str()).get());
  EXPECT_EQ(generator->CalculateAtlas(0, 0, Bstr(folder_.Path("x.lib").c_str()).get()),
            static_cast<HRESULT>(0x800403E8));
  error = TakeErrorInfo();
  EXPECT_EQ(error.description, "No observed wind climate loaded");
  EXPECT_EQ(error.source, "Kavicalc.AtlasGenerator.1");
  EXPECT_NE(access(folder_.Path("x.lib").c_str(), F_OK), 0);  // no output written
}

TEST_F(Calculations, RoughnessRoseIsWrittenForTheSite) {
  auto rose = Create<IKaviRoughnessRoseGenerator>("Kavicalc.RoughnessRoseGenerator",
                                                  ids().IKaviRoughnessRoseGenerator);
  rose->put_MapFile(Bstr(folder_.Path("flat.map").c_str()).get());
  const std::string out = folder_.Path("site.rrd");
  ASSERT_EQ(rose->CalculateRoughnessRose(Bstr(out.c_str()).get(), 16, 100, 200), S_OK)
      << TakeErrorInfo().description;
  const std::string text = ReadText(out);
  EXPECT_EQ(text.rfind("VEMO 6.0 RRD\n\n16\n", 0), 0u) << text;
  // The same roughness on both sides of the only line: no change in any sector.
  EXPECT_NE(text.find("             0             0"), std::string::npos) << text;
}

TEST_F(Calculations, AtlasThenPredictionAtTheStationGivesTheObservedClimateBack) {
  const std::string atlas = MakeAtlas();
  auto user = User(atlas);
  ComPtr<IKaviSiteResults> results;
  ASSERT_EQ(user->CalculateResults(0, 0, results.put()), S_OK) << TakeErrorInfo().description;

  const auto climate = TypicalClimate();
  double total = 0;
  for (int s = 1; s <= 12; ++s) {
    ComPtr<IKaviSectorInfo> entry;
    ASSERT_EQ(results->SectorResult(s, entry.put()), S_OK);
    double a = 0, k = 0, f = 0, e = 0;
    entry->get_WeibullA(&a);
    entry->get_WeibullK(&k);
    entry->get_Frequency(&f);
    entry->get_Energy(&e);
    const SectorClimate& c = climate[static_cast<std::size_t>(s - 1)];
    EXPECT_NEAR(a, c.A, 0.03 * c.A) << "sector " << s;
    EXPECT_NEAR(k, c.k, 0.05 * c.k) << "sector " << s;
    EXPECT_NEAR(f, c.frequency, 0.5) << "sector " << s;
    EXPECT_NEAR(e, 0.6125915646553 * a * a * a * std::tgamma(1.0 + 3.0 / k), 1e-4 * e);
    total += f;
  }
  EXPECT_NEAR(total, 100.0, 1e-3);
  ComPtr<IKaviSectorInfo> none;
  EXPECT_EQ(results->SectorResult(13, none.put()), E_INVALIDARG);
  EXPECT_EQ(Get(results.get(), &IKaviSiteResults::get_LocationX), 0.0);
  EXPECT_EQ(Get(results.get(), &IKaviSiteResults::get_HeightAGL), 10.0);
  EXPECT_EQ(Get(results.get(), &IKaviSiteResults::get_Elevation), 0.0);

  // Higher up the wind is stronger.
  user->put_HeightAGL(80.0);
  ComPtr<IKaviSiteResults> higher;
  ASSERT_EQ(user->CalculateResults(0, 0, higher.put()), S_OK);
  EXPECT_GT(Get(higher.get(), &IKaviSiteResults::get_TotalWeibullA),
            Get(results.get(), &IKaviSiteResults::get_TotalWeibullA));

  // A null result pointer: the calculation runs, the result is E_POINTER.
  EXPECT_EQ(user->CalculateResults(0, 0, nullptr), E_POINTER);

  // The result object keeps the server loaded after every component object is gone.
  user.Reset();
  EXPECT_EQ(Kavicalc().canUnloadNow(), S_FALSE);
  higher.Reset();
  results.Reset();
  EXPECT_EQ(Kavicalc().canUnloadNow(), S_OK);
}

TEST_F(Calculations, ParametersChangeOnlyTheirOwnObjectsResults) {
  const std::string atlas = MakeAtlas();
  // A rougher site than any standard class, so the transfer has work to do.
  WriteFlatMap(folder_.Path("rough.map"), 0.2f);
  auto first = User(atlas);
  auto second = User(atlas);
  first->put_MapFile(Bstr(folder_.Path("rough.map").c_str()).get());
  second->put_MapFile(Bstr(folder_.Path("rough.map").c_str()).get());
  first->put_HeightAGL(60.0);
  second->put_HeightAGL(60.0);
  ComPtr<IKaviSiteResults> before, changed, other;
  ASSERT_EQ(first->CalculateResults(0, 0, before.put()), S_OK);
  SetParameter(first.get(), ids().IKaviAtlasUser, "STABFAC", 0.0);
  ASSERT_EQ(first->CalculateResults(0, 0, changed.put()), S_OK);
  ASSERT_EQ(second->CalculateResults(0, 0, other.put()), S_OK);
  const double a0 = Get(before.get(), &IKaviSiteResults::get_TotalWeibullA);
  EXPECT_NE(Get(changed.get(), &IKaviSiteResults::get_TotalWeibullA), a0);
  EXPECT_EQ(Get(other.get(), &IKaviSiteResults::get_TotalWeibullA), a0);
}

TEST_F(Calculations, RoseFilesMustMatchTheSectorCount) {
  const std::string atlas = MakeAtlas();  // 12 sectors
  auto rose = Create<IKaviRoughnessRoseGenerator>("Kavicalc.RoughnessRoseGenerator",
                                                  ids().IKaviRoughnessRoseGenerator);
  rose->put_MapFile(Bstr(folder_.Path("flat.map").c_str()).get());
  ASSERT_EQ(rose->CalculateRoughnessRose(Bstr(folder_.Path("r16.rrd").c_str()).get(), 16, 0, 0),
            S_OK);
  ASSERT_EQ(rose->CalculateRoughnessRose(Bstr(folder_.Path("r12.rrd").c_str()).get(), 12, 0, 0),
            S_OK);

  auto user = User(atlas);
  user->put_RoughnessRoseFile(Bstr(folder_.Path("r16.rrd").c_str()).get());
  ComPtr<IKaviSiteResults> results;
  EXPECT_EQ(user->CalculateResults(0, 0, results.put()), static_cast<HRESULT>(0x800403E8));
  EXPECT_EQ(TakeErrorInfo().description,
            "Roughness rose is compatible with histogram (number of sectors mismatch).");
  user->put_RoughnessRoseFile(Bstr(folder_.Path("r12.rrd").c_str()).get());
  EXPECT_EQ(user->CalculateResults(0, 0, results.put()), S_OK) << TakeErrorInfo().description;

  auto generator = Generator();
  generator->put_RoughnessRoseFile(Bstr(folder_.Path("r12.rrd").c_str()).get());
  EXPECT_EQ(generator->CalculateAtlas(0, 0, Bstr(folder_.Path("b.lib").c_str()).get()), S_OK)
      << TakeErrorInfo().description;
}

TEST_F(Calculations, ObstaclesStayWithTheirObjectUntilReplaced) {
  const std::string atlas = MakeAtlas();
  // A solid wall 10 m high, 40 m to the south-west, across the prevailing wind.
  WriteObstacles(folder_.Path("wall.obs"), {{200, 45, 250, 45, 10, 5, 0}});
  auto sheltered = User(atlas);
  auto open = User(atlas);
  ComPtr<IKaviSiteResults> reference, first, second, unrelated;
  ASSERT_EQ(open->CalculateResults(0, 0, reference.put()), S_OK);
  sheltered->put_ObstaclesDataFile(Bstr(folder_.Path("wall.obs").c_str()).get());
  ASSERT_EQ(sheltered->CalculateResults(0, 0, first.put()), S_OK) << TakeErrorInfo().description;
  sheltered->put_ObstaclesDataFile(nullptr);
  ASSERT_EQ(sheltered->CalculateResults(0, 0, second.put()), S_OK);
  ASSERT_EQ(open->CalculateResults(0, 0, unrelated.put()), S_OK);

  const int southWest = 8;  // 210° in a 12-sector rose
  EXPECT_LT(SectorA(first.get(), southWest), SectorA(reference.get(), southWest));
  EXPECT_EQ(SectorA(second.get(), southWest), SectorA(first.get(), southWest));
  EXPECT_EQ(SectorA(unrelated.get(), southWest), SectorA(reference.get(), southWest));
  EXPECT_EQ(SectorA(first.get(), 2), SectorA(reference.get(), 2));  // north-east: open
}

}  // namespace
}  // namespace kavi::test
