// AtlasGenerator: turns the observed wind climate of a station into a wind atlas file.
#pragma once

#include "component/automation_string.h"
#include "component/calculator_object.h"
#include "model/atlas_calculator.h"

namespace kavi::component {

class AtlasGenerator final
    : public CalculatorObject<AtlasGenerator, IKaviAtlasGenerator, model::CAtlasCalculator> {
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
  HRESULT get_TabFile(BSTR* pVal) noexcept override { return tabFile_.Get(pVal); }
  HRESULT put_TabFile(BSTR newVal) noexcept override { return tabFile_.Put(newVal); }
  HRESULT CalculateAtlas(double x, double y, BSTR AtlasFileName) noexcept override;

 private:
  StringProperty tabFile_;
  StringProperty obstaclesFile_;
  StringProperty roseFile_;
  StringProperty mapFile_;
  double heightAGL_ = 10.0;  // a new station measures at the usual 10 m
};

}  // namespace kavi::component
