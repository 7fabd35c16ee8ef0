// Work in other processes: a piece of the test run in a forked child (for
// faults that must not touch the test process itself, such as a file size
// limit, a private read-only mount or a removed working folder), several such
// children at once, and external programs started in a chosen folder.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace kavi::test {

struct ChildResult {
  int status = -1;     // exit status; 128 + signal number when killed by a signal
  std::string report;  // what the child's body returned
};

// Runs body in a forked child and hands back the text it returns (exit status
// 0), or the text of an exception it threw (exit status 1). The child never
// returns into the test: it ends with _exit. Call it from a single-threaded
// test process.
ChildResult RunInChild(const std::function<std::string()>& body);

// Starts `count` children at once, each running body(index), then waits for
// all of them; results in index order.
std::vector<ChildResult> RunChildrenAtOnce(int count, const std::function<std::string(int)>& body);

struct ProgramRun {
  pid_t pid = -1;
  std::string outPath;
  std::string errPath;
};

// Starts program with args in `folder`, its standard output and error going
// to the two files named.
ProgramRun StartProgram(const std::string& program, const std::vector<std::string>& args,
                        const std::string& folder, const std::string& outPath,
                        const std::string& errPath);

// Waits for the program; its exit status (128 + signal number when killed).
int WaitForProgram(const ProgramRun& run);

}  // namespace kavi::test
