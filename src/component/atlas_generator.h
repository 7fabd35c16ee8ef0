// AtlasGenerator: turns the observed wind climate of a station into a wind atlas file.
#pragma once

#include "component/site_object.h"
#include "model/atlas_calculator.h"

namespace kavi::component {

class AtlasGenerator final
    : public SiteObject<AtlasGenerator, IKaviAtlasGenerator, model::CAtlasCalculator> {
 public:
  using SiteObject::SiteObject;
  static const CLSID& Clsid();
  static const IID& Iid();
  static const DispatchTable& Table();

  HRESULT get_TabFile(BSTR* pVal) noexcept override { return tabFile_.Get(pVal); }
  HRESULT put_TabFile(BSTR newVal) noexcept override { return tabFile_.Put(newVal); }
  HRESULT CalculateAtlas(double x, double y, BSTR AtlasFileName) noexcept override;

 private:
  StringProperty tabFile_;
};

}  // namespace kavi::component
