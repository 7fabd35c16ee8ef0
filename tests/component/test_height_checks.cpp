// A height above ground that single precision cannot hold above 0 fails the
// calculation, naming the height; the property keeps what was put.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/host.h"
#include "support/test_files.h"

namespace kavi::test {
namespace {

const Identities& ids() { return *Kavicalc().ids; }

class HeightChecks : public ::testing::Test {
 protected:
  void SetUp() override {
    Kavicalc();
    WriteFlatMap(folder_.Path("flat.map"));
    WriteWeibullClimate(folder_.Path("station.tab"), TypicalClimate());
  }
  TempFolder folder_;
};

const double kUnusable[] = {0.0,
                            -5.0,
                            -0.0,
                            1e-50,  // 0 in single precision
                            1e39,   // beyond single precision
                            std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity()};

TEST_F(HeightChecks, EveryCalculationWithAnUnusableHeightFails) {
  const std::string atlas = folder_.Path("station.lib");
  auto generator =
      Create<IKaviAtlasGenerator>("Kavicalc.AtlasGenerator", ids().IKaviAtlasGenerator);
  ASSERT_EQ(generator->put_MapFile(Bstr(folder_.Path("flat.map").c_str()).get()), S_OK);
  ASSERT_EQ(generator->put_TabFile(Bstr(folder_.Path("station.tab").c_str()).get()), S_OK);
  ASSERT_EQ(generator->put_HeightAGL(10.0), S_OK);
  ASSERT_EQ(generator->CalculateAtlas(0, 0, Bstr(atlas.c_str()).get()), S_OK);
  const std::string written = ReadText(atlas);

  auto user = Create<IKaviAtlasUser>("Kavicalc.AtlasUser", ids().IKaviAtlasUser);
  ASSERT_EQ(user->put_MapFile(Bstr(folder_.Path("flat.map").c_str()).get()), S_OK);
  ASSERT_EQ(user->put_AtlasFile(Bstr(atlas.c_str()).get()), S_OK);

  for (const double height : kUnusable) {
    SCOPED_TRACE(height);
    ASSERT_EQ(generator->put_HeightAGL(height), S_OK);
    double stored = 1.0;
    ASSERT_EQ(generator->get_HeightAGL(&stored), S_OK);
    EXPECT_TRUE(stored == height || (std::isnan(stored) && std::isnan(height)));
    EXPECT_EQ(generator->CalculateAtlas(0, 0, Bstr(atlas.c_str()).get()), E_INVALIDARG);
    ErrorDetails error = TakeErrorInfo();
    EXPECT_EQ(error.source, "Kavicalc.AtlasGenerator.1");
    EXPECT_EQ(error.description.rfind("HeightAGL ", 0), 0u) << error.description;
    EXPECT_NE(error.description.find("above 0"), std::string::npos);
    EXPECT_EQ(ReadText(atlas), written);  // the atlas is not rewritten

    ASSERT_EQ(user->put_HeightAGL(height), S_OK);
    ComPtr<IKaviSiteResults> results;
    EXPECT_EQ(user->CalculateResults(0, 0, results.put()), E_INVALIDARG);
    EXPECT_FALSE(results);
    error = TakeErrorInfo();
    EXPECT_EQ(error.source, "Kavicalc.AtlasUser.1");
    EXPECT_EQ(error.description.rfind("HeightAGL ", 0), 0u) << error.description;
  }
  // A usable height works again on the same objects.
  ASSERT_EQ(user->put_HeightAGL(50.0), S_OK);
  ComPtr<IKaviSiteResults> results;
  EXPECT_EQ(user->CalculateResults(0, 0, results.put()), S_OK);
}

}  // namespace
}  // namespace kavi::test
