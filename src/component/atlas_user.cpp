#include "component/atlas_user.h"

#include <kavi/dispids.h>

#include <vector>

#include "component/dispatch_member.h"
#include "component/site_results.h"

namespace kavi::component {

const CLSID& AtlasUser::Clsid() { return model::CurrentEdition().ids->AtlasUser; }
const IID& AtlasUser::Iid() { return model::CurrentEdition().ids->IKaviAtlasUser; }

const DispatchTable& AtlasUser::Table() {
  using I = IKaviAtlasUser;
  static const DispatchTable table = [] {
    std::vector<DispatchMember> members = SiteMembers();
    members.push_back(Get<I, &I::get_AtlasFile>(u"AtlasFile", dispid::AtlasFile));
    members.push_back(Put<I, &I::put_AtlasFile>(u"AtlasFile", dispid::AtlasFile));
    members.push_back(
        Method<I, &I::CalculateResults, true>(u"CalculateResults", dispid::CalculateResults));
    return DispatchTable(std::move(members));
  }();
  return table;
}

HRESULT AtlasUser::CalculateResults(double x, double y, IKaviSiteResults** pVal) noexcept {
  if (const HRESULT h = RefuseUnusableHeight(); FAILED(h)) return h;
  return RunCalculation([&] {
    CopyParameters();
    model_->Reset();
    if (!mapFile_.HasValue()) return NotSpecified("Map file not specified");
    model_->CVemoMap::Load(mapFile_.Narrow());
    if (!atlasFile_.HasValue()) return NotSpecified("Atlas file not specified");
    model_->atlas().Load(atlasFile_.Narrow());
    if (obstaclesFile_.HasValue()) model_->CShelterModel::Load(obstaclesFile_.Narrow());
    if (roseFile_.HasValue()) model_->CRoughnessRose::Load(roseFile_.Narrow());
    model_->SetSite(static_cast<float>(x), static_cast<float>(y), static_cast<float>(heightAGL_));
    model_->Predict();
    return HandOutResults(x, y, pVal);
  });
}

HRESULT AtlasUser::HandOutResults(double x, double y, IKaviSiteResults** pVal) const {
  const model::PredictedClimate& p = model_->predicted();
  SiteValues site;
  site.locationX = x;
  site.locationY = y;
  site.heightAGL = heightAGL_;
  site.elevation = model_->siteElevation();
  site.totalWeibullA = p.totalA;
  site.totalWeibullK = p.totalK;
  site.totalEnergyProduction = PowerDensity(p.totalA, p.totalK);
  std::vector<SectorValues> sectors(static_cast<std::size_t>(model_->sectorCount()));
  for (std::size_t i = 0; i < sectors.size(); ++i) {
    sectors[i] = {p.weibullA[i], p.weibullK[i], p.frequency[i],
                  PowerDensity(p.weibullA[i], p.weibullK[i])};
  }
  auto* results = new SiteResults(site, sectors);
  if (!pVal) {
    delete results;  // nobody could ever release it
    return E_POINTER;
  }
  const HRESULT h = results->QueryInterface(model::CurrentEdition().ids->IKaviSiteResults,
                                            reinterpret_cast<void**>(pVal));
  if (FAILED(h)) delete results;
  return h;
}

}  // namespace kavi::component
