// The predicted wind climate of one site as the host receives it: a read-only
// site results object with one sector entry per direction sector. Entries
// have no reference count of their own; they forward to their site results
// object, which holds one server lock while it lives.
#pragma once

#include <kavi/interfaces.h>

#include <vector>

#include "component/dispatch_impl.h"
#include "component/dispatch_table.h"
#include "component/server_lock.h"

namespace kavi::component {

class SiteResults;

struct SectorValues {
  double weibullA = 0;
  double weibullK = 0;
  double frequency = 0;
  double energy = 0;
};

struct SiteValues {
  double elevation = 0;
  double heightAGL = 0;
  double locationX = 0;
  double locationY = 0;
  double totalEnergyProduction = 0;
  double totalWeibullA = 0;
  double totalWeibullK = 0;
};

class SectorEntry final : public DispatchImpl<SectorEntry, IKaviSectorInfo> {
 public:
  SectorEntry(SiteResults* owner, const SectorValues& values) : owner_(owner), values_(values) {}
  static const DispatchTable& Table();

  HRESULT QueryInterface(REFIID riid, void** ppv) noexcept override;
  ULONG AddRef() noexcept override;
  ULONG Release() noexcept override;

  HRESULT get_WeibullA(double* pVal) noexcept override;
  HRESULT get_WeibullK(double* pVal) noexcept override;
  HRESULT get_Frequency(double* pVal) noexcept override;
  HRESULT get_Energy(double* pVal) noexcept override;

 private:
  SiteResults* owner_;
  SectorValues values_;
};

class SiteResults final : public DispatchImpl<SiteResults, IKaviSiteResults> {
 public:
  // The reference count starts at 0; the first QueryInterface raises it to 1.
  SiteResults(const SiteValues& site, const std::vector<SectorValues>& sectors);
  static const DispatchTable& Table();

  HRESULT QueryInterface(REFIID riid, void** ppv) noexcept override;
  ULONG AddRef() noexcept override;
  ULONG Release() noexcept override;

  HRESULT get_Elevation(double* pVal) noexcept override;
  HRESULT get_LocationX(double* pVal) noexcept override;
  HRESULT get_LocationY(double* pVal) noexcept override;
  HRESULT get_HeightAGL(double* pVal) noexcept override;
  HRESULT get_TotalWeibullA(double* pVal) noexcept override;
  HRESULT get_TotalWeibullK(double* pVal) noexcept override;
  HRESULT get_TotalEnergyProduction(double* pVal) noexcept override;
  HRESULT SectorResult(LONG idx, IKaviSectorInfo** pVal) noexcept override;

 private:
  ModuleLock moduleLock_;
  ULONG references_ = 0;
  SiteValues site_;
  std::vector<SectorEntry> sectors_;
};

// The mean power density (W/m²) of a Weibull distribution with scale A (m/s)
// and shape k at the standard air density.
double PowerDensity(float A, float k);

}  // namespace kavi::component
