// Every failure code, message, error source and interface identity that a
// host can observe, provoked through the interface and checked against the
// tables of the system, for both editions: the status codes of the numerical
// core, the failures of the model objects and of the calculation operations,
// the configuration, the site results, and the server's own entry points.
// Not reachable through the interface, hence not here: status 3 ("Obstacles
// ignored", set by no routine), "MINPUT returned bad value" (the map reader
// only returns the kinds 0 to 2), E_UNEXPECTED and E_OUTOFMEMORY of the
// calculation guard, and E_FAIL of an enumerator without a collection.
#include <gtest/gtest.h>
#include <kavi/dispids.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>

#include "support/calculation_objects.h"
#include "support/child_process.h"
#include "support/registry_path.h"
#include "support/ring_maps.h"
#include "support/test_files.h"
#include "support/unwritable_folder.h"

namespace kavi::test {
namespace {

constexpr HRESULT kRuntimeError = static_cast<HRESULT>(0x800403E8);
constexpr HRESULT kFortranException = static_cast<HRESULT>(0x800403EB);
constexpr int kKavicalcMapCapacity = 500000;
constexpr int kKavibaseMapCapacity = 1000000;

enum class EditionName { kKavicalc, kKavibase };

std::string PrintEdition(const ::testing::TestParamInfo<EditionName>& info) {
  return info.param == EditionName::kKavicalc ? "Kavicalc" : "Kavibase";
}

// What a call gave: its result and whatever error information it left.
Outcome Observe(HRESULT code) {
  Outcome outcome;
  outcome.code = code;
  outcome.error = TakeErrorInfo();
  return outcome;
}

Outcome NoErrorInformation(HRESULT code) {
  Outcome outcome;
  outcome.code = code;
  return outcome;
}

struct Case {
  std::string what;
  std::function<Outcome()> provoke;
  Outcome expected;
};

// One height contour: a circle of `points` points and radius `radius` around
// the origin, written with short numbers so that large counts stay small files.
void WriteCircleContour(const std::string& path, int points, double radius) {
  const double pi = std::acos(-1.0);
  std::string text = "+ one contour\nno transformation\n1 0\n100 " + std::to_string(points) + "\n";
  text.reserve(static_cast<std::size_t>(points) * 14 + text.size());
  char pair[48];
  for (int p = 0; p < points; ++p) {
    const double angle = 2 * pi * p / (points - 1);
    std::snprintf(pair, sizeof pair, "%.1f %.1f\n", radius * std::cos(angle),
                  radius * std::sin(angle));
    text += pair;
  }
  WriteText(path, text);
}

class ErrorTables : public ::testing::TestWithParam<EditionName> {
 protected:
  void SetUp() override {
    server_ = GetParam() == EditionName::kKavicalc ? &Kavicalc() : &Kavibase();
    prefix_ = GetParam() == EditionName::kKavicalc ? "Kavicalc: " : "Kavibase: ";
    map_ = folder_.Path("flat.map");
    tab_ = folder_.Path("station.tab");
    atlas_ = folder_.Path("station.lib");
    plain_ = folder_.Path("plain.txt");
    WriteFlatMap(map_);
    WriteWeibullClimate(tab_, TypicalClimate());
    WriteText(plain_, "a file, not a folder\n");
    ASSERT_EQ(OutcomeText(MakeAtlas(Generator(map_, tab_).get(), 0, 0, atlas_)), "0x00000000");
  }

  ComPtr<IKaviAtlasGenerator> Generator(const std::string& map, const std::string& tab) {
    ComPtr<IKaviAtlasGenerator> g = NewAtlasGenerator(*server_);
    if (!map.empty()) g->put_MapFile(Bstr(map.c_str()).get());
    if (!tab.empty()) g->put_TabFile(Bstr(tab.c_str()).get());
    g->put_HeightAGL(10.0);
    return g;
  }
  ComPtr<IKaviAtlasUser> User(const std::string& map, const std::string& atlas) {
    ComPtr<IKaviAtlasUser> u = NewAtlasUser(*server_);
    if (!map.empty()) u->put_MapFile(Bstr(map.c_str()).get());
    if (!atlas.empty()) u->put_AtlasFile(Bstr(atlas.c_str()).get());
    u->put_HeightAGL(50.0);
    return u;
  }
  ComPtr<IKaviRoughnessRoseGenerator> RoseGenerator(const std::string& map) {
    ComPtr<IKaviRoughnessRoseGenerator> r = NewRoseGenerator(*server_);
    if (!map.empty()) r->put_MapFile(Bstr(map.c_str()).get());
    return r;
  }
  Outcome PredictWith(const std::string& map, const std::string& atlas,
                      const std::function<void(IKaviAtlasUser*)>& more = nullptr) {
    ComPtr<IKaviAtlasUser> user = User(map, atlas);
    if (more) more(user.get());
    return Predict(user.get(), 0, 0);
  }

  // The failure of an operation of class `className`, reported for its class.
  Outcome ClassFailure(HRESULT code, const std::string& message, const char* className,
                       const IID& iid) const {
    return Failure(code, message, ProgId(*server_, className) + ".1", iid);
  }
  Outcome UserFailure(const std::string& message, HRESULT code = kRuntimeError) const {
    return ClassFailure(code, message, "AtlasUser", ids().IKaviAtlasUser);
  }
  Outcome GeneratorFailure(const std::string& message, HRESULT code = kRuntimeError) const {
    return ClassFailure(code, message, "AtlasGenerator", ids().IKaviAtlasGenerator);
  }
  Outcome RoseFailure(const std::string& message, HRESULT code = kRuntimeError) const {
    return ClassFailure(code, message, "RoughnessRoseGenerator", ids().IKaviRoughnessRoseGenerator);
  }
  // A check the operation makes itself: DISP_E_EXCEPTION and no interface identity.
  Outcome NotSpecified(const char* message, const char* className) const {
    return ClassFailure(DISP_E_EXCEPTION, message, className, GUID_NULL);
  }
  std::string Status(const char* message) const { return prefix_ + message; }
  const Identities& ids() const { return *server_->ids; }

  static void Check(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SetErrorInfo(0, nullptr);
      EXPECT_EQ(OutcomeText(c.provoke()), OutcomeText(c.expected)) << c.what;
    }
  }

  const Server* server_ = nullptr;
  std::string prefix_;
  TempFolder folder_;
  std::string map_, tab_, atlas_, plain_;
};

TEST_P(ErrorTables, StatusCodesOfTheNumericalCore) {
  WriteText(folder_.Path("bad.map"), "flat map without its title marker\n");
  WriteText(folder_.Path("garbled.lib"), "title\n  5  5 12\n0.000 0.030 x\n");
  WriteText(folder_.Path("garbled.tab"), "station\n55 10 10\n12 1 0 2\nno numbers here\n");
  // Contours farther out than the largest search radius allowed: no ray meets one.
  WriteCircleContour(folder_.Path("far.map"), 200, 8000);
  // Walls across half the horizon each: 25 of them need more shelter records than fit.
  std::vector<std::vector<float>> walls;
  for (int i = 0; i < 25; ++i)
    walls.push_back({i % 2 ? 180.0f : 0.0f, 50, i % 2 ? 350.0f : 170.0f, 50, 10, 2, 0});
  WriteObstacles(folder_.Path("walls.obs"), walls);
  WriteText(folder_.Path("garbled.obs"), "obstacles\n10 50 40 50 10 2 0\n20 oops\n");
  const auto withObstacles = [&](const char* file) {
    return [this, file](IKaviAtlasUser* u) {
      u->put_ObstaclesDataFile(Bstr(folder_.Path(file).c_str()).get());
    };
  };
  const std::string plainAtlas = plain_ + "/out.lib";

  Check({
      {"2: more shelter records than fit",
       [&] { return PredictWith(map_, atlas_, withObstacles("walls.obs")); },
       UserFailure(Status("Too large obstacle list"))},
      {"4: map file missing", [&] { return PredictWith(folder_.Path("none.map"), atlas_); },
       UserFailure(Status("Unable to open file"))},
      {"4: atlas file missing", [&] { return PredictWith(map_, folder_.Path("none.lib")); },
       UserFailure(Status("Unable to open file"))},
      {"4: atlas file garbled", [&] { return PredictWith(map_, folder_.Path("garbled.lib")); },
       UserFailure(Status("Unable to open file"))},
      {"4: observed climate garbled",
       [&] { return MakeAtlas(Generator(map_, folder_.Path("garbled.tab")).get(), 0, 0, atlas_); },
       GeneratorFailure(Status("Unable to open file"))},
      {"4: observed climate missing",
       [&] { return MakeAtlas(Generator(map_, folder_.Path("none.tab")).get(), 0, 0, atlas_); },
       GeneratorFailure(Status("Unable to open file"))},
      {"4: atlas cannot be written",
       [&] { return MakeAtlas(Generator(map_, tab_).get(), 0, 0, plainAtlas); },
       GeneratorFailure(Status("Unable to open file"))},
      {"5: map file damaged", [&] { return PredictWith(folder_.Path("bad.map"), atlas_); },
       UserFailure(Status("Error in map file"))},
      {"5: map file damaged, roughness rose",
       [&] {
         return MakeRose(RoseGenerator(folder_.Path("bad.map")).get(), folder_.Path("o.rrd"), 12, 0,
                         0);
       },
       RoseFailure(Status("Error in map file"))},
      {"7: no contour within the search radius",
       [&] {
         return PredictWith(folder_.Path("far.map"), atlas_,
                            [](IKaviAtlasUser* u) { SetParameter(u, "MAXRADIUS", 5000); });
       },
       UserFailure(Status("Interpolation radius too small"))},
      {"other status: obstacles file missing",
       [&] { return PredictWith(map_, atlas_, withObstacles("none.obs")); },
       UserFailure(Status("Unexpected exception in fortran code"), kFortranException)},
      {"other status: obstacles file garbled",
       [&] { return PredictWith(map_, atlas_, withObstacles("garbled.obs")); },
       UserFailure(Status("Unexpected exception in fortran code"), kFortranException)},
  });
}

TEST_P(ErrorTables, MapCapacityOfTheEdition) {
  // One point more than the edition's map arrays hold.
  const bool current = GetParam() == EditionName::kKavicalc;
  const int capacity = current ? kKavicalcMapCapacity : kKavibaseMapCapacity;
  const std::string tooLarge = folder_.Path("too-large.map");
  WriteCircleContour(tooLarge, capacity + 1, 1000);
  EXPECT_EQ(OutcomeText(PredictWith(tooLarge, atlas_)),
            OutcomeText(UserFailure(Status("Too large map file"))));
  if (!current) {
    // What is too large for the current edition fits the earlier one.
    const std::string middle = folder_.Path("middle.map");
    WriteCircleContour(middle, kKavicalcMapCapacity + 1, 1000);
    EXPECT_EQ(OutcomeText(PredictWith(middle, atlas_)), "0x00000000");
  }
}

TEST_P(ErrorTables, StatusCodesOfTheWorkFile) {
  // 6 from the zooming grid and 8 from the roughness rose when the work file
  // cannot be created; made in a child whose working folder takes no files.
  const std::string heights = folder_.Path("heights.map");
  const std::string roughness = folder_.Path("roughness.map");
  WriteRingMap(heights, kSpillingRings, RingKind::kHeight);
  WriteRingMap(roughness, kSpillingRings, RingKind::kRoughness);
  const std::string stuck = folder_.Path("unwritable");
  std::filesystem::create_directory(stuck);
  const ChildResult child = RunInChild([&] {
    if (EnterUnwritableWorkingFolder(stuck).empty()) return std::string("skip");
    return OutcomeText(PredictWith(heights, atlas_)) + "\n" +
           OutcomeText(PredictWith(roughness, atlas_));
  });
  RestoreWritable(stuck);
  if (child.report == "skip") GTEST_SKIP() << "no unwritable working folder can be had here";
  EXPECT_EQ(child.report, OutcomeText(UserFailure(Status("Too large map file"))) + "\n" +
                              OutcomeText(UserFailure(Status("Error in VEMOWORK.TMP"))));
}

TEST_P(ErrorTables, FailuresOfTheModelObjectsAndOperations) {
  std::vector<SectorClimate> wide(37, SectorClimate{100.0f / 37, 7.0f, 2.0f});
  WriteWeibullClimate(folder_.Path("wide.tab"), wide);
  std::ostringstream wideAtlas;
  wideAtlas << "title\n  1  1 37\n  0.030\n   50.0\n";
  for (int record = 0; record < 3; ++record) {
    for (int s = 0; s < 37; ++s)
      wideAtlas << (record == 0 ? " 2.70" : record == 1 ? " 7.00" : " 2.00");
    wideAtlas << "\n";
  }
  WriteText(folder_.Path("wide.lib"), wideAtlas.str());
  std::string rose16 = "VEMO 6.0 RRD\n\n16\n";
  for (int s = 0; s < 16; ++s) rose16 += "             0";
  rose16 += "\n";
  for (int s = 0; s < 16; ++s) rose16 += "          0.03";
  WriteText(folder_.Path("r16.rrd"), rose16);
  const auto withRose = [&](const std::string& file) {
    return [file](IKaviAtlasUser* u) { u->put_RoughnessRoseFile(Bstr(file.c_str()).get()); };
  };
  const char* mismatch =
      "Roughness rose is compatible with histogram (number of sectors mismatch).";

  Check({
      {"too many sectors in an atlas", [&] { return PredictWith(map_, folder_.Path("wide.lib")); },
       UserFailure("Too many sectors")},
      {"too many sectors in an observed climate",
       [&] { return MakeAtlas(Generator(map_, folder_.Path("wide.tab")).get(), 0, 0, atlas_); },
       GeneratorFailure("Too many sectors")},
      {"roughness rose file missing",
       [&] { return PredictWith(map_, atlas_, withRose(folder_.Path("none.rrd"))); },
       UserFailure("Cannot open file")},
      {"roughness rose file cannot be written",
       [&] { return MakeRose(RoseGenerator(map_).get(), plain_ + "/o.rrd", 12, 0, 0); },
       RoseFailure("Cannot open file")},
      {"roughness rose of another sector count",
       [&] { return PredictWith(map_, atlas_, withRose(folder_.Path("r16.rrd"))); },
       UserFailure(mismatch)},
      {"roughness rose of another sector count, atlas generator",
       [&] {
         ComPtr<IKaviAtlasGenerator> g = Generator(map_, tab_);
         g->put_RoughnessRoseFile(Bstr(folder_.Path("r16.rrd").c_str()).get());
         return MakeAtlas(g.get(), 0, 0, folder_.Path("o.lib"));
       },
       GeneratorFailure(mismatch)},
      {"no map: atlas user", [&] { return PredictWith("", atlas_); },
       NotSpecified("Map file not specified", "AtlasUser")},
      {"no map: atlas generator",
       [&] { return MakeAtlas(Generator("", tab_).get(), 0, 0, folder_.Path("o.lib")); },
       NotSpecified("Map file not specified", "AtlasGenerator")},
      {"no map: roughness rose generator",
       [&] { return MakeRose(RoseGenerator("").get(), folder_.Path("o.rrd"), 12, 0, 0); },
       NotSpecified("Map file not specified", "RoughnessRoseGenerator")},
      {"no atlas", [&] { return PredictWith(map_, ""); },
       NotSpecified("Atlas file not specified", "AtlasUser")},
      {"no observed climate ever loaded",
       [&] { return MakeAtlas(Generator(map_, "").get(), 0, 0, folder_.Path("o.lib")); },
       GeneratorFailure("No observed wind climate loaded")},
      {"sector count below 1",
       [&] { return MakeRose(RoseGenerator(map_).get(), folder_.Path("o.rrd"), 0, 0, 0); },
       RoseFailure("NumberOfSectors must be between 1 and 36", E_INVALIDARG)},
      {"sector count above 36",
       [&] { return MakeRose(RoseGenerator(map_).get(), folder_.Path("o.rrd"), 37, 0, 0); },
       RoseFailure("NumberOfSectors must be between 1 and 36", E_INVALIDARG)},
      {"no roughness rose file name",
       [&] { return Observe(RoseGenerator(map_)->CalculateRoughnessRose(nullptr, 12, 0, 0)); },
       RoseFailure("No output file name given for the roughness rose", E_INVALIDARG)},
      {"no atlas file name",
       [&] { return Observe(Generator(map_, tab_)->CalculateAtlas(0, 0, nullptr)); },
       GeneratorFailure("No atlas file name given", E_INVALIDARG)},
      {"no place for the results",
       [&] { return Observe(User(map_, atlas_)->CalculateResults(0, 0, nullptr)); },
       NoErrorInformation(E_POINTER)},
  });
  EXPECT_FALSE(std::filesystem::exists(folder_.Path("o.lib")));
  EXPECT_FALSE(std::filesystem::exists(folder_.Path("o.rrd")));
}

TEST_P(ErrorTables, FailuresOfTheConfiguration) {
  ComPtr<IKaviAtlasUser> user = User(map_, atlas_);
  ComPtr<IKaviConfiguration> configuration;
  ASSERT_EQ(user->get_Configuration(configuration.put()), S_OK);
  ComPtr<IKaviParameter> maxrc;
  ASSERT_EQ(configuration->get_Item(Bstr("MAXRC").get(), maxrc.put()), S_OK);
  const auto put = [&](const char* id, VARIANT value) {
    ComPtr<IKaviParameter> parameter;
    configuration->get_Item(Bstr(id).get(), parameter.put());
    const HRESULT h = parameter->put_Value(value);
    VariantClear(&value);
    return Observe(h);
  };
  const Outcome notFound = Failure(DISP_E_EXCEPTION, "Parameter ID not found.", "", GUID_NULL);
  const Outcome outOfRange =
      Failure(DISP_E_EXCEPTION, "Parameter value out of range", "", GUID_NULL);
  BSTR text = nullptr;
  VARIANT value;
  IUnknown* unknown = nullptr;
  SAFEARRAY* range = nullptr;
  VARIANT_BOOL valid = 0;
  LONG count = 0;

  Check({
      {"unknown ID",
       [&] {
         ComPtr<IKaviParameter> p;
         return Observe(configuration->get_Item(Bstr("maxrc").get(), p.put()));
       },
       notFound},
      {"empty ID",
       [&] {
         ComPtr<IKaviParameter> p;
         return Observe(configuration->get_Item(Bstr("").get(), p.put()));
       },
       notFound},
      {"above the maximum", [&] { return put("STDH5", MakeVariantR8(200.5)); }, outOfRange},
      {"below the minimum", [&] { return put("NUMSTDH", MakeVariantR8(1.0)); }, outOfRange},
      {"not a number", [&] { return put("STDR2", MakeVariantR8(std::nan(""))); }, outOfRange},
      {"boolean true is -1", [&] { return put("TRUEUPW", MakeVariantBool(true)); }, outOfRange},
      {"text that is no number", [&] { return put("STDR2", MakeVariantString("abc")); },
       NoErrorInformation(DISP_E_TYPEMISMATCH)},
      {"support URL", [&] { return Observe(maxrc->get_SupportURL(&text)); },
       NoErrorInformation(E_NOTIMPL)},
      {"configuration problems",
       [&] { return Observe(configuration->ReportConfigurationProblems(&text)); },
       NoErrorInformation(E_NOTIMPL)},
      {"null: Item", [&] { return Observe(configuration->get_Item(Bstr("MAXRC").get(), nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"null: Count", [&] { return Observe(configuration->get_Count(nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"null: EnumParameters", [&] { return Observe(configuration->get_EnumParameters(nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"null: ID", [&] { return Observe(maxrc->get_ID(nullptr)); }, NoErrorInformation(E_POINTER)},
      {"null: Value", [&] { return Observe(maxrc->get_Value(nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"null: DefaultValue", [&] { return Observe(maxrc->get_DefaultValue(nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"null: ValidRange", [&] { return Observe(maxrc->get_ValidRange(nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"null: IsValueValid", [&] { return Observe(maxrc->IsValueValid(nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"null: SupportURL", [&] { return Observe(maxrc->get_SupportURL(nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"null: ReportConfigurationProblems",
       [&] { return Observe(configuration->ReportConfigurationProblems(nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"error support: configuration",
       [&] {
         ComPtr<ISupportErrorInfo> support;
         configuration->QueryInterface(IID_ISupportErrorInfo, support.putVoid());
         return Observe(support->InterfaceSupportsErrorInfo(ids().IKaviConfiguration) == S_OK &&
                                support->InterfaceSupportsErrorInfo(ids().IKaviParameter) == S_FALSE
                            ? S_OK
                            : E_FAIL);
       },
       NoErrorInformation(S_OK)},
      {"error support: parameter",
       [&] {
         ComPtr<ISupportErrorInfo> support;
         maxrc->QueryInterface(IID_ISupportErrorInfo, support.putVoid());
         return Observe(support->InterfaceSupportsErrorInfo(ids().IKaviParameter) == S_OK &&
                                support->InterfaceSupportsErrorInfo(ids().IKaviConfiguration) ==
                                    S_FALSE
                            ? S_OK
                            : E_FAIL);
       },
       NoErrorInformation(S_OK)},
  });
  // The successful calls: nothing refused above changed a value.
  VariantInit(&value);
  ASSERT_EQ(maxrc->get_Value(&value), S_OK);
  EXPECT_EQ(value.lVal, GetParam() == EditionName::kKavicalc ? 10 : 7);
  ASSERT_EQ(maxrc->get_ValidRange(&range), S_OK);
  SafeArrayDestroy(range);
  EXPECT_EQ(maxrc->IsValueValid(&valid), S_OK);
  EXPECT_EQ(valid, VARIANT_TRUE);
  EXPECT_EQ(configuration->get_Count(&count), S_OK);
  EXPECT_EQ(count, 30);
  ASSERT_EQ(configuration->get_EnumParameters(&unknown), S_OK);
  ComPtr<IEnumVARIANT> enumerator;
  ASSERT_EQ(unknown->QueryInterface(IID_IEnumVARIANT, enumerator.putVoid()), S_OK);
  unknown->Release();
  VARIANT items[2];
  ULONG fetched = 7;
  EXPECT_EQ(enumerator->Next(2, nullptr, &fetched), E_POINTER);
  EXPECT_EQ(enumerator->Next(2, items, nullptr), E_POINTER);
  EXPECT_EQ(enumerator->Skip(29), S_OK);
  EXPECT_EQ(enumerator->Next(2, items, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 1u);
  VariantClear(&items[0]);
  EXPECT_EQ(enumerator->Skip(1), S_FALSE);
  EXPECT_EQ(enumerator->Reset(), S_OK);
}

TEST_P(ErrorTables, CodesOfTheSiteResults) {
  ComPtr<IKaviSiteResults> results;
  ASSERT_EQ(User(map_, atlas_)->CalculateResults(0, 0, results.put()), S_OK);
  ComPtr<IKaviSectorInfo> entry;
  ASSERT_EQ(results->SectorResult(12, entry.put()), S_OK);
  const auto sector = [&](LONG index) {
    ComPtr<IKaviSectorInfo> e;
    return Observe(results->SectorResult(index, e.put()));
  };
  std::vector<Case> cases = {
      {"sector 0", [&] { return sector(0); }, NoErrorInformation(E_INVALIDARG)},
      {"sector -1", [&] { return sector(-1); }, NoErrorInformation(E_INVALIDARG)},
      {"sector 13 of 12", [&] { return sector(13); }, NoErrorInformation(E_INVALIDARG)},
      {"null: SectorResult", [&] { return Observe(results->SectorResult(1, nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"no error support",
       [&] {
         ComPtr<IUnknown> p;
         return Observe(results->QueryInterface(IID_ISupportErrorInfo, p.putVoid()));
       },
       NoErrorInformation(E_NOINTERFACE)},
  };
  using R = IKaviSiteResults;
  for (auto getter : {&R::get_Elevation, &R::get_LocationX, &R::get_LocationY, &R::get_HeightAGL,
                      &R::get_TotalWeibullA, &R::get_TotalWeibullK, &R::get_TotalEnergyProduction})
    cases.push_back({"null: a site property",
                     [&, getter] { return Observe((results.get()->*getter)(nullptr)); },
                     NoErrorInformation(E_POINTER)});
  using S = IKaviSectorInfo;
  for (auto getter : {&S::get_WeibullA, &S::get_WeibullK, &S::get_Frequency, &S::get_Energy})
    cases.push_back({"null: a sector property",
                     [&, getter] { return Observe((entry.get()->*getter)(nullptr)); },
                     NoErrorInformation(E_POINTER)});
  Check(cases);
}

TEST_P(ErrorTables, CodesOfTheServerAndItsObjects) {
  const Server& server = *server_;
  EXPECT_EQ(server.canUnloadNow(), S_OK);  // no object of this edition alive
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(server.getClassObject(ids().AtlasUser, IID_IClassFactory, factory.putVoid()), S_OK);
  ComPtr<IKaviRIXCalculator> rix =
      Create<IKaviRIXCalculator>(ProgId(server, "RIXCalculator").c_str(), ids().IKaviRIXCalculator);
  ASSERT_TRUE(rix);
  ComPtr<IKaviAtlasUser> user = User(map_, atlas_);
  double number = 0;
  IKaviConfiguration* configuration = nullptr;
  struct Outer : IUnknown {
    HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
  } outer;

  Check({
      {"unknown class",
       [&] {
         ComPtr<IUnknown> p;
         return Observe(
             server.getClassObject(ids().IKaviAtlasUser, IID_IClassFactory, p.putVoid()));
       },
       NoErrorInformation(CLASS_E_CLASSNOTAVAILABLE)},
      {"null: class object",
       [&] { return Observe(server.getClassObject(ids().AtlasUser, IID_IClassFactory, nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"an interface the class lacks",
       [&] {
         void* p = nullptr;
         return Observe(factory->CreateInstance(nullptr, ids().IKaviAtlasGenerator, &p));
       },
       NoErrorInformation(E_NOINTERFACE)},
      {"aggregation asking for more than IUnknown",
       [&] {
         void* p = nullptr;
         return Observe(factory->CreateInstance(&outer, ids().IKaviAtlasUser, &p));
       },
       NoErrorInformation(CLASS_E_NOAGGREGATION)},
      {"objects alive", [&] { return Observe(server.canUnloadNow()); },
       NoErrorInformation(S_FALSE)},
      {"RIX", [&] { return Observe(rix->RIX(1, 2, &number)); }, NoErrorInformation(E_NOTIMPL)},
      {"null: RIX", [&] { return Observe(rix->RIX(1, 2, nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"RIX configuration", [&] { return Observe(rix->get_Configuration(&configuration)); },
       NoErrorInformation(E_NOTIMPL)},
      {"null: RIX configuration", [&] { return Observe(rix->get_Configuration(nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"the base interface alone",
       [&] {
         ComPtr<IUnknown> p;
         return Observe(user->QueryInterface(ids().IKaviConfigurable, p.putVoid()));
       },
       NoErrorInformation(E_NOINTERFACE)},
      {"another class's interface",
       [&] {
         ComPtr<IUnknown> p;
         return Observe(user->QueryInterface(ids().IKaviAtlasGenerator, p.putVoid()));
       },
       NoErrorInformation(E_NOINTERFACE)},
      {"error support for another interface",
       [&] {
         ComPtr<ISupportErrorInfo> support;
         user->QueryInterface(IID_ISupportErrorInfo, support.putVoid());
         return Observe(support->InterfaceSupportsErrorInfo(ids().IKaviAtlasGenerator));
       },
       NoErrorInformation(S_FALSE)},
      {"null: MapFile", [&] { return Observe(user->get_MapFile(nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"null: HeightAGL", [&] { return Observe(user->get_HeightAGL(nullptr)); },
       NoErrorInformation(E_POINTER)},
      {"null: Configuration", [&] { return Observe(user->get_Configuration(nullptr)); },
       NoErrorInformation(E_POINTER)},
  });
  EXPECT_EQ(number, 0.0);  // RIX writes no result
  EXPECT_EQ(configuration, nullptr);
  // Registration into a registry that cannot be written (under a plain file)
  // fails with its code; unregistration ignores its failures.
  const std::string unwritable = plain_ + "/registry";
  {
    RegistryPath registry(unwritable);
    EXPECT_EQ(server.registerServer(), REGDB_E_WRITEREGDB);
    const ErrorDetails error = TakeErrorInfo();
    EXPECT_NE(error.description.find(unwritable), std::string::npos) << error.description;
    EXPECT_EQ(server.unregisterServer(), S_OK);
    TakeErrorInfo();
  }
  EXPECT_EQ(ReadText(plain_), "a file, not a folder\n");
  // The registration in use was not disturbed by the failed one.
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(NarrowToUtf16(ProgId(server, "AtlasUser")).c_str(), &clsid), S_OK);
  EXPECT_EQ(clsid, ids().AtlasUser);
}

TEST_P(ErrorTables, LateBoundFailuresCarryTheErrorInformation) {
  ComPtr<IDispatch> user = Create<IDispatch>(ProgId(*server_, "AtlasUser").c_str(), IID_IDispatch);
  ASSERT_TRUE(user);
  VARIANT args[2] = {MakeVariantR8(0.0), MakeVariantR8(0.0)};
  DISPPARAMS call{args, nullptr, 2, 0};
  VARIANT result;
  VariantInit(&result);
  EXCEPINFO exception{};
  ASSERT_EQ(user->Invoke(dispid::CalculateResults, GUID_NULL, 0, DISPATCH_METHOD, &call, &result,
                         &exception, nullptr),
            DISP_E_EXCEPTION);
  EXPECT_EQ(exception.scode, DISP_E_EXCEPTION);
  EXPECT_EQ(Utf16ToNarrow(exception.bstrDescription, SysStringLen(exception.bstrDescription)),
            "Map file not specified");
  EXPECT_EQ(Utf16ToNarrow(exception.bstrSource, SysStringLen(exception.bstrSource)),
            ProgId(*server_, "AtlasUser") + ".1");
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrSource);
}

INSTANTIATE_TEST_SUITE_P(Editions, ErrorTables,
                         ::testing::Values(EditionName::kKavicalc, EditionName::kKavibase),
                         PrintEdition);

}  // namespace
}  // namespace kavi::test
