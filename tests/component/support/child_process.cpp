#include "support/child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <stdexcept>

namespace kavi::test {

namespace {

int ExitStatus(int raw) {
  if (WIFEXITED(raw)) return WEXITSTATUS(raw);
  if (WIFSIGNALED(raw)) return 128 + WTERMSIG(raw);
  return -1;
}

int Wait(pid_t pid) {
  int raw = 0;
  while (waitpid(pid, &raw, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return ExitStatus(raw);
}

void WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return text;
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

struct StartedChild {
  pid_t pid;
  int reportFd;
};

// Forks; the child runs body, writes its report into the pipe and ends.
StartedChild StartChild(const std::function<std::string()>& body) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    close(pipeFds[0]);
    int status = 0;
    std::string report;
    try {
      report = body();
    } catch (const std::exception& e) {
      report = std::string("exception: ") + e.what();
      status = 1;
    } catch (...) {
      report = "unknown exception";
      status = 1;
    }
    WriteAll(pipeFds[1], report);
    close(pipeFds[1]);
    _exit(status);
  }
  close(pipeFds[1]);
  return {pid, pipeFds[0]};
}

ChildResult Finish(const StartedChild& child) {
  ChildResult result;
  result.report = ReadAll(child.reportFd);
  close(child.reportFd);
  result.status = Wait(child.pid);
  return result;
}

}  // namespace

ChildResult RunInChild(const std::function<std::string()>& body) {
  return Finish(StartChild(body));
}

std::vector<ChildResult> RunChildrenAtOnce(int count, const std::function<std::string(int)>& body) {
  std::vector<StartedChild> started;
  for (int i = 0; i < count; ++i) started.push_back(StartChild([&body, i] { return body(i); }));
  std::vector<ChildResult> results;
  for (const StartedChild& child : started) results.push_back(Finish(child));
  return results;
}

ProgramRun StartProgram(const std::string& program, const std::vector<std::string>& args,
                        const std::string& folder, const std::string& outPath,
                        const std::string& errPath) {
  std::vector<std::string> copies;
  copies.push_back(program);
  copies.insert(copies.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);

  ProgramRun run{-1, outPath, errPath};
  run.pid = fork();
  if (run.pid < 0) throw std::runtime_error("fork failed");
  if (run.pid == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 || chdir(folder.c_str()) != 0)
      _exit(126);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return run;
}

int WaitForProgram(const ProgramRun& run) { return Wait(run.pid); }

}  // namespace kavi::test
