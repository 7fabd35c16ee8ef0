// The commands of the tool: name, help and options of each, and the function
// that runs it. A command returns the exit status; failures are thrown
// (UsageError: status 2, CallFailure: status 1).
#pragma once

#include <string>
#include <vector>

#include "option_parser.h"
#include "tool_edition.h"

namespace kavi::tool {

struct Command {
  const char* name;
  const char* summary;  // one line in the tool's help
  const char* help;     // the command's own help: every option with an example
  std::vector<OptionSpec> options;
  int (*run)(const ToolEdition& edition, const ParsedOptions& options);
};

Command RoseCommand();
Command AtlasCommand();
Command PredictCommand();
Command GridCommand();
Command ClimateCommand();
Command ParamsCommand();
Command RegisterCommand();
Command UnregisterCommand();

// All commands in the order the tool's help lists them.
const std::vector<Command>& Commands();
const Command* FindCommand(const std::string& name);

}  // namespace kavi::tool
