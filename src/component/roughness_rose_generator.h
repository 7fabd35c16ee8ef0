// RoughnessRoseGenerator: writes the roughness rose of a position on a map.
#pragma once

#include "component/automation_string.h"
#include "component/calculator_object.h"
#include "model/site_calculator.h"

namespace kavi::component {

class RoughnessRoseGenerator final
    : public CalculatorObject<RoughnessRoseGenerator, IKaviRoughnessRoseGenerator,
                              model::CSiteCalculator> {
 public:
  using CalculatorObject::CalculatorObject;
  static const CLSID& Clsid();
  static const IID& Iid();
  static const DispatchTable& Table();

  HRESULT get_MapFile(BSTR* pVal) noexcept override { return mapFile_.Get(pVal); }
  HRESULT put_MapFile(BSTR newVal) noexcept override { return mapFile_.Put(newVal); }
  HRESULT CalculateRoughnessRose(BSTR OutputFileName, std::int32_t NumberOfSectors, double x,
                                 double y) noexcept override;

 private:
  StringProperty mapFile_;
};

}  // namespace kavi::component
