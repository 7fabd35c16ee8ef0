#include "configuration_access.h"

#include <kavi/runtime.h>

namespace kavi::tool {

namespace {
ParameterValue Get(IKaviParameter* parameter, HRESULT (IKaviParameter::*getter)(VARIANT*),
                   const Identities& ids) {
  Variant value;
  Check((parameter->*getter)(value.get()), parameter, ids.IKaviParameter);
  return ParameterValueOf(*value);
}

// Elements 0 and 1 of the two-element ValidRange array.
void ReadRange(IKaviParameter* parameter, const Identities& ids, ParameterRow& row) {
  SAFEARRAY* range = nullptr;
  Check(parameter->get_ValidRange(&range), parameter, ids.IKaviParameter);
  struct Owner {
    SAFEARRAY* array;
    ~Owner() { SafeArrayDestroy(array); }
  } owner{range};
  LONG lower = 0;
  Check(SafeArrayGetLBound(range, 1, &lower), nullptr, GUID_NULL);
  Variant minimum;
  Variant maximum;
  const LONG first = lower;
  const LONG second = lower + 1;
  Check(SafeArrayGetElement(range, &first, minimum.get()), nullptr, GUID_NULL);
  Check(SafeArrayGetElement(range, &second, maximum.get()), nullptr, GUID_NULL);
  row.minimum = ParameterValueOf(*minimum);
  row.maximum = ParameterValueOf(*maximum);
}

ParameterRow ReadParameter(IKaviParameter* parameter, const Identities& ids) {
  ParameterRow row;
  Bstr id;
  Check(parameter->get_ID(id.put()), parameter, ids.IKaviParameter);
  row.id = id.Narrow();
  row.value = Get(parameter, &IKaviParameter::get_Value, ids);
  row.defaultValue = Get(parameter, &IKaviParameter::get_DefaultValue, ids);
  ReadRange(parameter, ids, row);
  return row;
}
}  // namespace

void ApplySettings(IKaviConfiguration* configuration, const std::vector<Setting>& settings,
                   const Identities& ids) {
  for (const Setting& setting : settings) {
    ComPtr<IKaviParameter> parameter;
    Check(configuration->get_Item(Bstr(setting.id).get(), parameter.put()), configuration,
          ids.IKaviConfiguration);
    Variant text;
    text.get()->vt = VT_BSTR;
    text.get()->bstrVal = Bstr(setting.value).Detach();
    Check(parameter->put_Value(*text), parameter.get(), ids.IKaviParameter);
  }
}

std::vector<ParameterRow> ReadParameters(IKaviConfiguration* configuration, const Identities& ids) {
  ComPtr<IUnknown> unknown;
  Check(configuration->get_EnumParameters(unknown.put()), configuration, ids.IKaviConfiguration);
  ComPtr<IEnumVARIANT> enumerator;
  Check(unknown->QueryInterface(IID_IEnumVARIANT, enumerator.putVoid()), nullptr, GUID_NULL);

  std::vector<ParameterRow> rows;
  for (;;) {
    Variant item;
    ULONG fetched = 0;
    const HRESULT h = enumerator->Next(1, item.get(), &fetched);
    Check(h, nullptr, GUID_NULL);
    if (h != S_OK || fetched == 0) break;
    if ((item->vt != VT_DISPATCH && item->vt != VT_UNKNOWN) || !item->punkVal)
      Fail(DISP_E_TYPEMISMATCH, "The parameter enumeration delivered something else");
    ComPtr<IKaviParameter> parameter;
    Check(item->punkVal->QueryInterface(ids.IKaviParameter, parameter.putVoid()), nullptr,
          GUID_NULL);
    rows.push_back(ReadParameter(parameter.get(), ids));
  }
  return rows;
}

}  // namespace kavi::tool
