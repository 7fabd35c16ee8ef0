// params: the 30 configuration parameters in enumeration order, with their
// units and meanings.
#include <kavi/interfaces.h>

#include <cstdio>

#include "activation.h"
#include "command.h"
#include "configuration_access.h"
#include "parameter_output.h"

namespace kavi::tool {

namespace {
constexpr const char* kHelp =
    R"(Usage: kavicalc [--edition kavicalc|kavibase] params [--set ID=VALUE ...]
                     [--format table|json]

Lists the 30 configuration parameters of the calculations in enumeration
order: ID, value, default, minimum and maximum (the valid range is inclusive),
then the unit ("-" for a number without one) and what the parameter means.
With --set, the values are put first, exactly as before a calculation, and the
list shows the result: the server converts each value to its type (an integer
parameter reads back rounded) and refuses values outside the range.

Options:
  --set ID=VALUE    puts a value through the parameter's Value; repeatable;
                    boolean parameters (TRUEUPW) take 1 or 0;
                    e.g. --set STDH3=75 --set NUMSTDH=4
  --format FORMAT   table (default) or json: one document
                    {"parameters": [{"id", "value", "default", "minimum",
                    "maximum", "unit", "meaning"}, ...]} (unit "" for a
                    number without one); e.g. --format json
  --help            this help

Examples:
  kavicalc params
  kavicalc params --set STDH5=150 --format json
  kavicalc --edition kavibase params
)";

int Run(const ToolEdition& edition, const ParsedOptions& options) {
  const std::string& command = options.command();
  const std::vector<Setting> settings = ParseSettings(options.All("--set"), command);
  const std::string format = ParseFormat(options.Find("--format"), {"table", "json"}, command);

  const IID& iid = edition.ids->IKaviAtlasUser;
  const auto user = Activate<IKaviAtlasUser>(edition, "AtlasUser", iid);
  const auto configuration = ConfigurationOf(user.get(), iid);
  ApplySettings(configuration.get(), settings, *edition.ids,
                RegisteredProgId(edition, "AtlasUser"));
  const std::vector<ParameterRow> rows = ReadParameters(configuration.get(), *edition.ids);
  if (format == "json") {
    WriteParameterJson(stdout, rows);
  } else {
    WriteParameterTable(stdout, rows);
  }
  return 0;
}
}  // namespace

Command ParamsCommand() {
  return {"params",
          "list the 30 configuration parameters: value, default, valid range, unit and meaning",
          kHelp,
          {{"--set", "ID=VALUE", true}, {"--format", "FORMAT", false}},
          Run};
}

}  // namespace kavi::tool
