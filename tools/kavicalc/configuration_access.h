// The configuration of a calculating object: putting --set values through
// IKaviParameter::Value and reading the 30 parameters in enumeration order.
#pragma once

#include <kavi/interfaces.h>

#include <string>
#include <vector>

#include "call_failure.h"
#include "com_ptr.h"
#include "parameter_value.h"
#include "tool_edition.h"
#include "value_parsers.h"

namespace kavi::tool {

struct ParameterRow {
  std::string id;
  ParameterValue value;
  ParameterValue defaultValue;
  ParameterValue minimum;
  ParameterValue maximum;
};

// The configuration of an object whose class interface is iid.
template <class I>
ComPtr<IKaviConfiguration> ConfigurationOf(I* object, const IID& iid) {
  ComPtr<IKaviConfiguration> configuration;
  Check(object->get_Configuration(configuration.put()), object, iid);
  return configuration;
}

// Puts each value, as text so that the server's own conversion applies, in
// order; the first refusal throws CallFailure with the server's message.
void ApplySettings(IKaviConfiguration* configuration, const std::vector<Setting>& settings,
                   const Identities& ids);

// The parameters in the order the configuration enumerates them.
std::vector<ParameterRow> ReadParameters(IKaviConfiguration* configuration, const Identities& ids);

}  // namespace kavi::tool
