// Site results and sector entries: indexing, lifetime and the power density.
#include <gtest/gtest.h>
#include <kavi/runtime.h>

#include <cmath>

#include "component/server_lock.h"
#include "component/site_results.h"
#include "model/edition.h"

namespace kavi::component {
namespace {

const Identities& ids() { return *model::CurrentEdition().ids; }

IKaviSiteResults* MakeResults(int sectors) {
  SiteValues site;
  site.totalWeibullA = 7.0;
  std::vector<SectorValues> entries;
  for (int i = 0; i < sectors; ++i) entries.push_back({1.0 + i, 2.0, 100.0 / sectors, 3.0});
  auto* results = new SiteResults(site, entries);
  IKaviSiteResults* out = nullptr;
  EXPECT_EQ(results->QueryInterface(ids().IKaviSiteResults, reinterpret_cast<void**>(&out)),
            S_OK);
  return out;
}

TEST(SiteResults, SectorIndexesRunFromOneToTheSectorCount) {
  IKaviSiteResults* results = MakeResults(12);
  IKaviSectorInfo* entry = nullptr;
  EXPECT_EQ(results->SectorResult(0, &entry), E_INVALIDARG);
  EXPECT_EQ(results->SectorResult(-1, &entry), E_INVALIDARG);
  EXPECT_EQ(results->SectorResult(13, &entry), E_INVALIDARG);
  EXPECT_EQ(results->SectorResult(12, nullptr), E_POINTER);
  ASSERT_EQ(results->SectorResult(12, &entry), S_OK);
  double a = 0;
  EXPECT_EQ(entry->get_WeibullA(&a), S_OK);
  EXPECT_EQ(a, 12.0);
  EXPECT_EQ(entry->get_Energy(nullptr), E_POINTER);
  EXPECT_EQ(results->get_TotalWeibullA(&a), S_OK);
  EXPECT_EQ(a, 7.0);
  EXPECT_EQ(results->get_Elevation(nullptr), E_POINTER);

  void* p = nullptr;
  EXPECT_EQ(results->QueryInterface(IID_ISupportErrorInfo, &p), E_NOINTERFACE);
  EXPECT_EQ(entry->QueryInterface(ids().IKaviSiteResults, &p), E_NOINTERFACE);
  entry->Release();
  results->Release();
}

TEST(SiteResults, AnEntryKeepsItsResultsAndTheServerAlive) {
  const long before = ModuleLockCount();
  IKaviSiteResults* results = MakeResults(4);
  EXPECT_EQ(ModuleLockCount(), before + 1);
  IKaviSectorInfo* entry = nullptr;
  ASSERT_EQ(results->SectorResult(2, &entry), S_OK);
  results->Release();
  double frequency = 0;
  EXPECT_EQ(entry->get_Frequency(&frequency), S_OK);  // still readable
  EXPECT_EQ(frequency, 25.0);
  EXPECT_EQ(ModuleLockCount(), before + 1);
  entry->Release();
  EXPECT_EQ(ModuleLockCount(), before);
}

TEST(SiteResults, PowerDensityOfAWeibullDistribution) {
  // 0.5 * 1.225 kg/m³ * A³ * Γ(1 + 3/k): for A = 10, k = 2, Γ(2.5) = 1.5 √π / 2.
  const double expected = 0.612591564655304 * 1000.0 * 0.75 * std::sqrt(M_PI);
  EXPECT_NEAR(PowerDensity(10.0f, 2.0f), expected, expected * 2e-6);
  // k = 3: Γ(2) = 1.
  EXPECT_NEAR(PowerDensity(8.0f, 3.0f), 0.612591564655304 * 512.0, 512 * 2e-6);
}

}  // namespace
}  // namespace kavi::component
