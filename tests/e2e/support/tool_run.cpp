#include "support/tool_run.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kavi::e2e {

namespace {
std::string UniqueName(const char* stem) {
  static std::atomic<int> counter{0};
  return std::string("/tmp/") + stem + "-" + std::to_string(getpid()) + "-" +
         std::to_string(counter++);
}

// Reads both pipes until both are closed, so that neither can fill and block the child.
void Drain(int outFd, int errFd, std::string& out, std::string& err) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* sinks[2] = {&out, &err};
  int open = 2;
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("poll failed");
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}
}  // namespace

ToolResult RunKavicalc(const std::vector<std::string>& args) {
  return RunProgram(KAVI_TOOL_PATH, args);
}

ToolResult RunProgram(const std::string& path, const std::vector<std::string>& args) {
  int outPipe[2];
  int errPipe[2];
  if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
    throw std::runtime_error("pipe failed");
  std::vector<char*> argv;
  std::string program = path;
  argv.push_back(program.data());
  std::vector<std::string> copies(args);
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    dup2(outPipe[1], STDOUT_FILENO);
    dup2(errPipe[1], STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  ToolResult result{-1, {}, {}};
  Drain(outPipe[0], errPipe[0], result.out, result.err);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

ScopedRegistry::ScopedRegistry() : path_(UniqueName("kavi-cli-registry")) {
  const char* previous = getenv("KAVI_REGISTRY");
  hadPrevious_ = previous != nullptr;
  if (previous) previous_ = previous;
  setenv("KAVI_REGISTRY", path_.c_str(), 1);
}

ScopedRegistry::~ScopedRegistry() {
  if (hadPrevious_) {
    setenv("KAVI_REGISTRY", previous_.c_str(), 1);
  } else {
    unsetenv("KAVI_REGISTRY");
  }
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
  std::filesystem::remove(path_ + ".lock", ignored);
}

ScratchFolder::ScratchFolder() : path_(UniqueName("kavi-cli-files")) {
  std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::Write(const std::string& name, const std::string& text) const {
  const std::string path = File(name);
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace kavi::e2e
