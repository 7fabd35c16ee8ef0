#include "component/site_results.h"

#include <kavi/dispids.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "component/dispatch_member.h"
#include "model/edition.h"
#include "numerics/weibull.h"

namespace kavi::component {

namespace {
const Identities& Ids() { return *model::CurrentEdition().ids; }

HRESULT Read(double value, double* out) {
  if (!out) return E_POINTER;
  *out = value;
  return S_OK;
}
}  // namespace

double PowerDensity(float A, float k) {
  // Half the air density, as the single-precision constant 0x3F1CD2CD.
  const float halfDensity = std::bit_cast<float>(std::uint32_t{0x3F1CD2CD});
  const float argument = 1.0f + 3.0f / k;
  const long double gamma = numerics::GammaFunction(argument);
  const long double a = A;
  return static_cast<double>(static_cast<long double>(halfDensity) * a * a * a * gamma);
}

const DispatchTable& SectorEntry::Table() {
  using I = IKaviSectorInfo;
  static const DispatchTable table({
      Get<I, &I::get_WeibullA>(u"WeibullA", dispid::Sector_WeibullA),
      Get<I, &I::get_WeibullK>(u"WeibullK", dispid::Sector_WeibullK),
      Get<I, &I::get_Frequency>(u"Frequency", dispid::Sector_Frequency),
      Get<I, &I::get_Energy>(u"Energy", dispid::Sector_Energy),
  });
  return table;
}

HRESULT SectorEntry::QueryInterface(REFIID riid, void** ppv) noexcept {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!(riid == IID_IUnknown || riid == IID_IDispatch || riid == Ids().IKaviSectorInfo))
    return E_NOINTERFACE;
  *ppv = static_cast<IKaviSectorInfo*>(this);
  AddRef();
  return S_OK;
}

ULONG SectorEntry::AddRef() noexcept { return owner_->AddRef(); }
ULONG SectorEntry::Release() noexcept { return owner_->Release(); }
HRESULT SectorEntry::get_WeibullA(double* pVal) noexcept { return Read(values_.weibullA, pVal); }
HRESULT SectorEntry::get_WeibullK(double* pVal) noexcept { return Read(values_.weibullK, pVal); }
HRESULT SectorEntry::get_Frequency(double* pVal) noexcept { return Read(values_.frequency, pVal); }
HRESULT SectorEntry::get_Energy(double* pVal) noexcept { return Read(values_.energy, pVal); }

SiteResults::SiteResults(const SiteValues& site, const std::vector<SectorValues>& sectors)
    : site_(site) {
  sectors_.reserve(sectors.size());  // entries never move after this
  for (const SectorValues& s : sectors) sectors_.emplace_back(this, s);
}

const DispatchTable& SiteResults::Table() {
  using I = IKaviSiteResults;
  static const DispatchTable table({
      Get<I, &I::get_Elevation>(u"Elevation", dispid::Results_Elevation),
      Get<I, &I::get_LocationX>(u"LocationX", dispid::Results_LocationX),
      Get<I, &I::get_LocationY>(u"LocationY", dispid::Results_LocationY),
      Get<I, &I::get_HeightAGL>(u"HeightAGL", dispid::Results_HeightAGL),
      Get<I, &I::get_TotalWeibullA>(u"TotalWeibullA", dispid::Results_TotalWeibullA),
      Get<I, &I::get_TotalWeibullK>(u"TotalWeibullK", dispid::Results_TotalWeibullK),
      Get<I, &I::get_TotalEnergyProduction>(u"TotalEnergyProduction",
                                            dispid::Results_TotalEnergyProduction),
      Get<I, &I::SectorResult>(u"SectorResult", dispid::Results_SectorResult),
  });
  return table;
}

HRESULT SiteResults::QueryInterface(REFIID riid, void** ppv) noexcept {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!(riid == IID_IUnknown || riid == IID_IDispatch || riid == Ids().IKaviSiteResults))
    return E_NOINTERFACE;
  *ppv = static_cast<IKaviSiteResults*>(this);
  AddRef();
  return S_OK;
}

ULONG SiteResults::AddRef() noexcept { return ++references_; }

ULONG SiteResults::Release() noexcept {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT SiteResults::get_Elevation(double* pVal) noexcept { return Read(site_.elevation, pVal); }
HRESULT SiteResults::get_LocationX(double* pVal) noexcept { return Read(site_.locationX, pVal); }
HRESULT SiteResults::get_LocationY(double* pVal) noexcept { return Read(site_.locationY, pVal); }
HRESULT SiteResults::get_HeightAGL(double* pVal) noexcept { return Read(site_.heightAGL, pVal); }
HRESULT SiteResults::get_TotalWeibullA(double* pVal) noexcept {
  return Read(site_.totalWeibullA, pVal);
}
HRESULT SiteResults::get_TotalWeibullK(double* pVal) noexcept {
  return Read(site_.totalWeibullK, pVal);
}
HRESULT SiteResults::get_TotalEnergyProduction(double* pVal) noexcept {
  return Read(site_.totalEnergyProduction, pVal);
}

HRESULT SiteResults::SectorResult(LONG idx, IKaviSectorInfo** pVal) noexcept {
  if (!pVal) return E_POINTER;
  if (idx <= 0 || static_cast<std::size_t>(idx) > sectors_.size()) return E_INVALIDARG;
  return sectors_[static_cast<std::size_t>(idx) - 1].QueryInterface(Ids().IKaviSectorInfo,
                                                                    reinterpret_cast<void**>(pVal));
}

}  // namespace kavi::component
