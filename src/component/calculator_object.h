// What the three calculating classes share: a configuration, a model object,
// and the guarded run of a calculation. Each model object has its own
// numerical context, so calculations of different objects run at the same time.
#pragma once

#include <kavi/interfaces.h>

#include <memory>

#include "component/component_object.h"
#include "component/configuration.h"
#include "component/guard.h"
#include "model/edition.h"
#include "numerics/numerical_state.h"

namespace kavi::component {

template <class Derived, class I, class Model>
class CalculatorObject : public ComponentObject<Derived, I> {
 public:
  explicit CalculatorObject(IUnknown* outer)
      : ComponentObject<Derived, I>(outer),
        configuration_(this->controlling()),
        model_(std::make_unique<Model>()) {}

  // Builds the configuration; a failure destroys the new object.
  HRESULT Initialise() noexcept { return configuration_.Build(); }

  HRESULT get_Configuration(IKaviConfiguration** pVal) noexcept override {
    if (!pVal) return E_POINTER;
    *pVal = &configuration_;
    configuration_.AddRef();
    return S_OK;
  }

 protected:
  // Runs body, reporting any failure for this class and its interface.
  template <class Body>
  HRESULT RunCalculation(Body&& body) noexcept {
    return Guard(ErrorTarget{&Derived::Clsid(), &Derived::Iid()}, body);
  }

  // Step 1 of every calculation: the configuration's vector becomes the
  // parameter vector of the model object's context.
  void CopyParameters() {
    static_assert(kVectorSize == numerics::kParameterCount);
    model_->AdoptParameters(configuration_.vector());
  }

  // The not-specified step: error information with the class's ProgID as
  // source and the null interface identity; the result is DISP_E_EXCEPTION.
  HRESULT NotSpecified(const char* message) const {
    return ReportError(&Derived::Clsid(), std::string(message), nullptr, 0);
  }

  HRESULT Refuse(const char* message) const {
    return ReportError(&Derived::Clsid(), std::string(message), &Derived::Iid(), E_INVALIDARG);
  }

  Configuration configuration_;
  std::unique_ptr<Model> model_;
};

}  // namespace kavi::component
