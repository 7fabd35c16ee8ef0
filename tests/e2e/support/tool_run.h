// Running the built kavicalc tool as a user would: arguments in, standard
// output, standard error and exit status out, each test with its own registry.
#pragma once

#include <string>
#include <vector>

namespace kavi::e2e {

struct ToolResult {
  int status;  // exit status; 128 + signal number when killed by a signal
  std::string out;
  std::string err;
};

// Runs KAVI_TOOL_PATH with args in the current directory and environment.
ToolResult RunKavicalc(const std::vector<std::string>& args);
// Runs any program (a path) the same way.
ToolResult RunProgram(const std::string& program, const std::vector<std::string>& args);

// The text split into lines without their line ends.
std::vector<std::string> Lines(const std::string& text);

// A fresh registry file for the life of the object, named through
// KAVI_REGISTRY (restored afterwards); the file is removed at the end.
class ScopedRegistry {
 public:
  ScopedRegistry();
  ScopedRegistry(const ScopedRegistry&) = delete;
  ScopedRegistry& operator=(const ScopedRegistry&) = delete;
  ~ScopedRegistry();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
  bool hadPrevious_;
};

// A scratch folder for input and output files, removed with its contents.
class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Writes text to the named file and returns its path.
  std::string Write(const std::string& name, const std::string& text) const;

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);

}  // namespace kavi::e2e
