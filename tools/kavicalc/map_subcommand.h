// The subcommands of 'kavicalc map': import, export, plot and info. Each has
// its own help and options; some take the map file as their first word.
#pragma once

#include <string>
#include <vector>

#include "gis/map_lines.h"
#include "option_parser.h"
#include "tool_edition.h"

namespace kavi::tool {

struct MapSubcommand {
  const char* name;
  const char* summary;
  const char* help;
  const char* fileWord;  // "FILE.map" when the map file comes first; nullptr when none
  std::vector<OptionSpec> options;
  int (*run)(const ToolEdition& edition, const std::string& file, const ParsedOptions& options);
};

MapSubcommand MapImportSubcommand();
MapSubcommand MapExportSubcommand();
MapSubcommand MapPlotSubcommand();
MapSubcommand MapInfoSubcommand();

// Entries per coordinate array of the edition's map: what a map may hold.
int MapCapacity(const ToolEdition& edition);

// The lines of the map file a subcommand works on, read by the engine's rules
// up to the edition's capacity; a CallFailure naming the file when they
// cannot be read.
gis::MapLines ReadSubcommandMap(const ToolEdition& edition, const std::string& file,
                                const std::string& command);

}  // namespace kavi::tool
