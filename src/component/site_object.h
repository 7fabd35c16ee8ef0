// What AtlasGenerator and AtlasUser share beyond a calculating object: the
// site's height above ground and the map, roughness rose and obstacles files,
// with their late-bound table rows.
#pragma once

#include <kavi/dispids.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <vector>

#include "component/automation_string.h"
#include "component/calculator_object.h"
#include "component/dispatch_member.h"

namespace kavi::component {

template <class Derived, class I, class Model>
class SiteObject : public CalculatorObject<Derived, I, Model> {
 public:
  using CalculatorObject<Derived, I, Model>::CalculatorObject;

  HRESULT get_HeightAGL(double* pVal) noexcept override {
    if (!pVal) return E_POINTER;
    *pVal = heightAGL_;
    return S_OK;
  }
  HRESULT put_HeightAGL(double newVal) noexcept override {
    heightAGL_ = newVal;
    return S_OK;
  }
  HRESULT get_MapFile(BSTR* pVal) noexcept override { return mapFile_.Get(pVal); }
  HRESULT put_MapFile(BSTR newVal) noexcept override { return mapFile_.Put(newVal); }
  HRESULT get_RoughnessRoseFile(BSTR* pVal) noexcept override { return roseFile_.Get(pVal); }
  HRESULT put_RoughnessRoseFile(BSTR newVal) noexcept override { return roseFile_.Put(newVal); }
  HRESULT get_ObstaclesDataFile(BSTR* pVal) noexcept override { return obstaclesFile_.Get(pVal); }
  HRESULT put_ObstaclesDataFile(BSTR newVal) noexcept override {
    return obstaclesFile_.Put(newVal);
  }

 protected:
  // The rows of the members above, after Configuration.
  static std::vector<DispatchMember> SiteMembers() {
    return {
        Get<I, &I::get_Configuration>(u"Configuration", dispid::Configuration),
        Get<I, &I::get_HeightAGL>(u"HeightAGL", dispid::HeightAGL),
        Put<I, &I::put_HeightAGL>(u"HeightAGL", dispid::HeightAGL),
        Get<I, &I::get_MapFile>(u"MapFile", dispid::MapFile),
        Put<I, &I::put_MapFile>(u"MapFile", dispid::MapFile),
        Get<I, &I::get_RoughnessRoseFile>(u"RoughnessRoseFile", dispid::RoughnessRoseFile),
        Put<I, &I::put_RoughnessRoseFile>(u"RoughnessRoseFile", dispid::RoughnessRoseFile),
        Get<I, &I::get_ObstaclesDataFile>(u"ObstaclesDataFile", dispid::ObstaclesDataFile),
        Put<I, &I::put_ObstaclesDataFile>(u"ObstaclesDataFile", dispid::ObstaclesDataFile),
    };
  }

  // A calculation needs a height above ground that single precision holds:
  // finite and above 0 once rounded. The property itself stores whatever was
  // put; E_INVALIDARG with error information naming the height otherwise.
  HRESULT RefuseUnusableHeight() const {
    const double h = heightAGL_;
    if (std::isfinite(h) && h > 0.0 && h <= std::numeric_limits<float>::max() &&
        static_cast<float>(h) > 0.0f)
      return S_OK;
    std::ostringstream text;
    text << "HeightAGL " << heightAGL_
         << " m cannot be used: the height above ground must be a finite number of metres above "
            "0";
    return this->Refuse(text.str().c_str());
  }

  StringProperty obstaclesFile_;
  StringProperty roseFile_;
  StringProperty mapFile_;
  double heightAGL_ = 10.0;  // the usual measuring height until a host sets one
};

}  // namespace kavi::component
