// AtlasUser: predicts the wind climate at a site from a wind atlas.
#pragma once

#include "component/site_object.h"
#include "model/site_calculator.h"

namespace kavi::component {

class AtlasUser final : public SiteObject<AtlasUser, IKaviAtlasUser, model::CSiteCalculator> {
 public:
  using SiteObject::SiteObject;
  static const CLSID& Clsid();
  static const IID& Iid();
  static const DispatchTable& Table();

  HRESULT get_AtlasFile(BSTR* pVal) noexcept override { return atlasFile_.Get(pVal); }
  HRESULT put_AtlasFile(BSTR newVal) noexcept override { return atlasFile_.Put(newVal); }
  HRESULT CalculateResults(double x, double y, IKaviSiteResults** pVal) noexcept override;

 private:
  // The site results object of the prediction just made.
  HRESULT HandOutResults(double x, double y, IKaviSiteResults** pVal) const;

  StringProperty atlasFile_;
};

}  // namespace kavi::component
