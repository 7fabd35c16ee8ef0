#include "tool_help.h"

#include "command.h"

namespace kavi::tool {

void WriteToolHelp(std::FILE* out) {
  std::fprintf(out,
               "Usage: kavicalc [--edition kavicalc|kavibase] COMMAND [OPTIONS]\n"
               "\n"
               "Wind resource calculations with the Kavicalc engine: roughness roses, wind\n"
               "atlases and predicted wind climates, driven through its component interface.\n"
               "\n"
               "Commands:\n");
  for (const Command& command : Commands())
    std::fprintf(out, "  %-12s%s\n", command.name, command.summary);
  std::fprintf(out,
               "  %-12s%s\n"
               "  %-12s%s\n"
               "\n"
               "Options before the command:\n"
               "  --edition kavicalc|kavibase\n"
               "              server edition to use (default kavicalc); the earlier\n"
               "              Kavibase has its own classes and defaults;\n"
               "              e.g. kavicalc --edition kavibase params\n"
               "\n"
               "Run 'kavicalc COMMAND --help' for the options of a command, with examples:\n"
               "  kavicalc rose --map hill.map --sectors 12 --at 1000,2000 --out site.rrd\n"
               "  kavicalc atlas --map hill.map --tab station.tab --height 30 "
               "--at 1000,2000 --out station.lib\n"
               "  kavicalc predict --map hill.map --atlas station.lib --height 50 "
               "--at 1500,2500\n"
               "  kavicalc params --set STDH3=75\n"
               "\n"
               "Exit status: 0 success; 1 a calculation or parameter failure, reported as\n"
               "'kavicalc: SOURCE: DESCRIPTION (0xHRESULT)'; 2 a usage error.\n"
               "The classes are activated by ProgID through the registry, the file named by\n"
               "KAVI_REGISTRY (else a per-user default); on first use the tool registers the\n"
               "server library it was built or installed with.\n",
               "--version", "print the edition's name and version", "--help", "print this help");
}

void WriteVersion(std::FILE* out, const ToolEdition& edition) {
  std::fprintf(out, "%s %s\n", edition.name, edition.version);
}

}  // namespace kavi::tool
