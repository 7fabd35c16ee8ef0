#include "run_tool.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

#include "command.h"
#include "error_report.h"
#include "tool_help.h"

namespace kavi::tool {

namespace {
// Accepted by every command besides its own options.
const std::vector<OptionSpec> kCommonOptions = {{"--edition", "EDITION", false},
                                                {"--help", nullptr, false}};

const ToolEdition& EditionNamed(const std::string& name, const std::string& command) {
  const ToolEdition* edition = FindEdition(name);
  if (!edition)
    throw UsageError("unknown edition '" + name + "' (expected kavicalc or kavibase)", command);
  return *edition;
}

bool AsksForHelp(const std::vector<std::string>& args, std::size_t from) {
  for (std::size_t i = from; i < args.size(); ++i)
    if (args[i] == "--help" || args[i] == "-h") return true;
  return false;
}

int RunCommand(const Command& command, const ToolEdition* edition,
               const std::vector<std::string>& args) {
  std::vector<OptionSpec> specs = command.options;
  specs.insert(specs.end(), kCommonOptions.begin(), kCommonOptions.end());
  const ParsedOptions options = ParseOptions(args, specs, command.name);
  // --edition may also follow the command name, but must not contradict one before it.
  if (const std::string* name = options.Find("--edition")) {
    const ToolEdition& chosen = EditionNamed(*name, command.name);
    if (edition && edition != &chosen)
      throw UsageError("--edition given twice with different editions", command.name);
    edition = &chosen;
  }
  return command.run(edition ? *edition : DefaultEdition(), options);
}

int Dispatch(const std::vector<std::string>& args) {
  const ToolEdition* edition = nullptr;
  bool version = false;
  std::size_t i = 0;
  for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      WriteToolHelp(stdout);
      return kExitSuccess;
    }
    if (arg == "--version") {
      version = true;
    } else if (arg == "--edition" || arg.rfind("--edition=", 0) == 0) {
      if (edition) throw UsageError("option --edition given more than once", "");
      if (arg == "--edition" && i + 1 >= args.size())
        throw UsageError("option --edition needs a value kavicalc|kavibase", "");
      edition = &EditionNamed(arg == "--edition" ? args[++i] : arg.substr(10), "");
    } else {
      throw UsageError("unknown option '" + arg + "'", "");
    }
  }
  if (version) {
    if (i < args.size()) throw UsageError("--version takes no command", "");
    WriteVersion(stdout, edition ? *edition : DefaultEdition());
    return kExitSuccess;
  }
  if (i == args.size()) throw UsageError("no command given", "");
  const Command* command = FindCommand(args[i]);
  if (!command) throw UsageError("unknown command '" + args[i] + "'", "");
  if (command->runWords)
    return command->runWords(edition, std::vector<std::string>(args.begin() + i + 1, args.end()));
  if (AsksForHelp(args, i + 1)) {
    std::fputs(command->help, stdout);
    return kExitSuccess;
  }
  return RunCommand(*command, edition, std::vector<std::string>(args.begin() + i + 1, args.end()));
}

// Output that could not be written is a failure, not a success.
int CheckOutput(int status) {
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
  ReportFailure(
      CallFailure(E_FAIL, "", std::string("Cannot write the output: ") + std::strerror(errno)));
  return kExitFailure;
}
}  // namespace

int RunTool(const std::vector<std::string>& args) {
  try {
    return CheckOutput(Dispatch(args));
  } catch (const UsageError& error) {
    ReportUsageError(error);
    return kExitUsage;
  } catch (const CallFailure& failure) {
    ReportFailure(failure);
    return kExitFailure;
  } catch (const std::bad_alloc&) {
    ReportFailure(CallFailure(E_OUTOFMEMORY, "", "Not enough memory"));
    return kExitFailure;
  } catch (const std::exception& unexpected) {
    ReportFailure(CallFailure(E_UNEXPECTED, "", unexpected.what()));
    return kExitFailure;
  }
}

}  // namespace kavi::tool
