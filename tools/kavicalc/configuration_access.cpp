#include "configuration_access.h"

#include <kavi/runtime.h>

#include <algorithm>

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

// Edits (insertions, deletions, substitutions) that turn a into b, ignoring
// letter case.
std::size_t EditDistance(const std::string& a, const std::string& b) {
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min(
          {row[j] + 1, row[j - 1] + 1, diagonal + (upper(a[i - 1]) == upper(b[j - 1]) ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
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

std::vector<std::string> NearestIds(const std::string& id, const std::vector<ParameterRow>& rows) {
  constexpr std::size_t kMostShown = 3;
  std::vector<std::pair<std::size_t, std::string>> ranked;
  for (const ParameterRow& row : rows) ranked.push_back({EditDistance(id, row.id), row.id});
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> nearest;
  for (const auto& [distance, name] : ranked) {
    // Names that share less than half their letters with the text are no hint.
    if (nearest.size() == kMostShown || 2 * distance > std::max(id.size(), name.size())) break;
    nearest.push_back(name);
  }
  return nearest;
}

void ApplySettings(IKaviConfiguration* configuration, const std::vector<Setting>& settings,
                   const Identities& ids, const std::string& source) {
  for (const Setting& setting : settings) {
    ComPtr<IKaviParameter> parameter;
    try {
      Check(configuration->get_Item(Bstr(setting.id).get(), parameter.put()), configuration,
            ids.IKaviConfiguration);
    } catch (const CallFailure& failure) {
      std::string nearest;
      for (const std::string& id : NearestIds(setting.id, ReadParameters(configuration, ids)))
        nearest += (nearest.empty() ? "" : ", ") + id;
      throw CallFailure(failure.code(), source,
                        "unknown parameter '" + setting.id + "'" +
                            (nearest.empty() ? "" : " (nearest: " + nearest + ")") + ": " +
                            failure.description());
    }
    Variant text;
    text.get()->vt = VT_BSTR;
    text.get()->bstrVal = Bstr(setting.value).Detach();
    try {
      Check(parameter->put_Value(*text), parameter.get(), ids.IKaviParameter);
    } catch (const CallFailure& failure) {
      ParameterRow row;
      ReadRange(parameter.get(), ids, row);
      throw CallFailure(failure.code(), source,
                        "parameter " + setting.id + ": value " + setting.value +
                            " refused, the valid range is " + ParameterValueText(row.minimum) +
                            " to " + ParameterValueText(row.maximum) + ": " +
                            failure.description());
    }
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
