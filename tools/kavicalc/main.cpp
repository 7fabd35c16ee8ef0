// kavicalc: the command-line host of the wind resource engine.
#include <string>
#include <vector>

#include "run_tool.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return kavi::tool::RunTool(args);
}
