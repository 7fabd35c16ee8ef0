// AtlasUser: predicts the wind climate at a site from a wind atlas.
#pragma once

#include "component/automation_string.h"
#include "component/calculator_object.h"
#include "model/site_calculator.h"

namespace kavi::component {

class AtlasUser final : public CalculatorObject<AtlasUser, IKaviAtlasUser, model::CSiteCalculator> {
 public:
  using CalculatorObject::CalculatorObject;
  static const CLSID& Clsid();
  static const IID& Iid();
  static const DispatchTable& Table();

  HRESULT get_HeightAGL(double* pVal) noexcept override;
  HRESULT put_HeightAGL(double newVal) noexcept override;
  HRESULT get_MapFile(BSTR* pVal) noexcept override { return mapFile_.Get(pVal); }
  HRESULT put_MapFile(BSTR newVal) noexcept override { return mapFile_.Put(newVal); }
  HRESULT get_RoughnessRoseFile(BSTR* pVal) noexcept override { return roseFile_.Get(pVal); }
  HRESULT put_RoughnessRoseFile(BSTR newVal) noexcept override { return roseFile_.Put(newVal); }
  HRESULT get_ObstaclesDataFile(BSTR* pVal) noexcept override { return obstaclesFile_.Get(pVal); }
  HRESULT put_ObstaclesDataFile(BSTR newVal) noexcept override {
    return obstaclesFile_.Put(newVal);
  }
  HRESULT get_AtlasFile(BSTR* pVal) noexcept override { return atlasFile_.Get(pVal); }
  HRESULT put_AtlasFile(BSTR newVal) noexcept override { return atlasFile_.Put(newVal); }
  HRESULT CalculateResults(double x, double y, IKaviSiteResults** pVal) noexcept override;

 private:
  // The site results object of the prediction just made.
  HRESULT HandOutResults(double x, double y, IKaviSiteResults** pVal) const;

  StringProperty atlasFile_;
  StringProperty obstaclesFile_;
  StringProperty roseFile_;
  StringProperty mapFile_;
  double heightAGL_ = 10.0;  // the usual measuring height until a host sets one
};

}  // namespace kavi::component
