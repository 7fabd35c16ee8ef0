#include "command.h"

namespace kavi::tool {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      RoseCommand(),    AtlasCommand(),  PredictCommand(),  GridCommand(),
      ClimateCommand(), ParamsCommand(), RegisterCommand(), UnregisterCommand()};
  return commands;
}

const Command* FindCommand(const std::string& name) {
  for (const Command& command : Commands())
    if (name == command.name) return &command;
  return nullptr;
}

}  // namespace kavi::tool
