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
// order. The first refusal throws CallFailure from source (the ProgID of the
// object the configuration belongs to) with the server's message after what
// the tool knows: the ID, the value and the valid range, or for an unknown
// ID the nearest known IDs.
void ApplySettings(IKaviConfiguration* configuration, const std::vector<Setting>& settings,
                   const Identities& ids, const std::string& source);

// Up to three IDs of rows closest in spelling to id (letter case ignored),
// closest first; none when no ID is near.
std::vector<std::string> NearestIds(const std::string& id, const std::vector<ParameterRow>& rows);

// The parameters in the order the configuration enumerates them.
std::vector<ParameterRow> ReadParameters(IKaviConfiguration* configuration, const Identities& ids);

}  // namespace kavi::tool
