#include "site_outcome.h"

#include <cmath>
#include <limits>

#include "call_failure.h"
#include "com_ptr.h"
#include "energy_yield.h"

namespace kavi::tool {

namespace {
constexpr LONG kMaximumSectors = 36;
constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();
constexpr double kKilowattHoursPerMegawattHour = 1000.0;

template <class I>
double Read(I* object, HRESULT (I::*getter)(double*), const IID& iid) {
  double value = 0;
  Check((object->*getter)(&value), object, iid);
  return value;
}
}  // namespace

SiteOutcome ReadSiteOutcome(IKaviSiteResults* results, const Identities& ids) {
  using R = IKaviSiteResults;
  const IID& iid = ids.IKaviSiteResults;
  SiteOutcome site{Read(results, &R::get_LocationX, iid),
                   Read(results, &R::get_LocationY, iid),
                   Read(results, &R::get_HeightAGL, iid),
                   Read(results, &R::get_Elevation, iid),
                   Read(results, &R::get_TotalWeibullA, iid),
                   Read(results, &R::get_TotalWeibullK, iid),
                   Read(results, &R::get_TotalEnergyProduction, iid),
                   kNotANumber,
                   {},
                   kNotANumber,
                   kNotANumber,
                   {},
                   {}};
  // The object does not tell its sector count: entries are asked for until
  // one past the last is refused.
  using S = IKaviSectorInfo;
  const IID& sectorIid = ids.IKaviSectorInfo;
  for (LONG index = 1; index <= kMaximumSectors; ++index) {
    ComPtr<S> sector;
    const HRESULT h = results->SectorResult(index, sector.put());
    if (h == E_INVALIDARG) break;
    Check(h, results, iid);
    site.sectors.push_back({Read(sector.get(), &S::get_Frequency, sectorIid),
                            Read(sector.get(), &S::get_WeibullA, sectorIid),
                            Read(sector.get(), &S::get_WeibullK, sectorIid),
                            Read(sector.get(), &S::get_Energy, sectorIid), kNotANumber,
                            kNotANumber});
  }
  double weighted = 0;
  double frequencies = 0;
  for (SectorOutcome& sector : site.sectors) {
    sector.meanSpeed = WeibullMeanSpeed(sector.weibullA, sector.weibullK);
    // A sector that never blows adds nothing, whatever its Weibull parameters.
    if (sector.frequency > 0) {
      weighted += sector.frequency * sector.meanSpeed;
      frequencies += sector.frequency;
    }
  }
  if (frequencies > 0) site.meanSpeed = weighted / frequencies;
  return site;
}

bool SiteOutcome::HasEnergyYield() const { return !std::isnan(aep); }

void AddEnergyYield(SiteOutcome& site, const PowerCurve& curve) {
  double total = 0;
  for (SectorOutcome& sector : site.sectors) {
    sector.aep = sector.frequency > 0
                     ? SectorEnergyYield(curve, sector.frequency, sector.weibullA, sector.weibullK)
                     : 0.0;
    total += sector.aep;
  }
  site.aep = total;
  const double rated = curve.RatedPower();
  site.capacityFactor =
      rated > 0 ? total * kKilowattHoursPerMegawattHour / (rated * kHoursPerYear) : kNotANumber;
}

double SectorBearing(std::size_t sector, std::size_t count) {
  return 360.0 * static_cast<double>(sector - 1) / static_cast<double>(count);
}

}  // namespace kavi::tool
