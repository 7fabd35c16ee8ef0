// The tool never loses data: outputs never overwrite inputs or each other,
// names that are not UTF-8 are refused, a failed unregistration says so, and
// a kill at any point leaves no temporary file and no partial output.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "support/example_files.h"
#include "support/tool_run.h"

namespace kavi::e2e {
namespace {

std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  while (const dirent* entry = ::readdir(dir))
    if (entry->d_name[0] != '.') names.insert(entry->d_name);
  ::closedir(dir);
  return names;
}

class CliSafeOutputsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    map_ = files_.Write("flat.map", FlatMapText());
    atlas_ = files_.Write("uniform.lib", UniformAtlasText());
    tab_ = files_.Write("station.tab", WeibullClimateText(12, 7.0, 2.0));
  }
  // Runs the command, which must be refused with `message`, and checks that
  // every input is byte-identical afterwards.
  void ExpectRefused(const std::vector<std::string>& args, const std::string& message) {
    const std::string map = ReadFile(map_), atlas = ReadFile(atlas_), tab = ReadFile(tab_);
    const ToolResult r = RunKavicalc(args);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ReadFile(map_), map);
    EXPECT_EQ(ReadFile(atlas_), atlas);
    EXPECT_EQ(ReadFile(tab_), tab);
  }
  ScopedRegistry registry_;
  ScratchFolder files_;
  std::string map_, atlas_, tab_;
};

TEST_F(CliSafeOutputsTest, OutputsNeverOverwriteInputsOrEachOther) {
  ExpectRefused({"rose", "--map", map_, "--sectors", "12", "--at", "0,0", "--out", map_},
                "--out '" + map_ + "' is the same file as --map '" + map_ + "'");
  ExpectRefused(
      {"atlas", "--map", map_, "--tab", tab_, "--height", "10", "--at", "0,0", "--out", tab_},
      "--out '" + tab_ + "' is the same file as --tab");
  ExpectRefused({"predict", "--map", map_, "--atlas", atlas_, "--height", "50", "--at", "0,0",
                 "--plot", atlas_},
                "--plot '" + atlas_ + "' is the same file as --atlas");
  // Identity, not spelling: a symbolic link, a hard link and another path.
  const std::string link = files_.File("link.lib");
  ASSERT_EQ(::symlink(atlas_.c_str(), link.c_str()), 0);
  ExpectRefused({"predict", "--map", map_, "--atlas", atlas_, "--height", "50", "--at", "0,0",
                 "--plot", link},
                "is the same file as --atlas");
  const std::string hard = files_.File("hard.map");
  ASSERT_EQ(::link(map_.c_str(), hard.c_str()), 0);
  ExpectRefused(
      {"atlas", "--map", map_, "--tab", tab_, "--height", "10", "--at", "0,0", "--out", hard},
      "is the same file as --map");
  // Two outputs still to be made, named differently.
  ::mkdir(files_.File("sub").c_str(), 0755);
  ExpectRefused({"rose", "--map", map_, "--sectors", "12", "--at", "0,0", "--out",
                 files_.File("site.rrd"), "--plot", files_.File("sub/../site.rrd")},
                "is the same file as --out");
  EXPECT_EQ(FilesIn(files_.File("")),
            (std::set<std::string>{"flat.map", "uniform.lib", "station.tab", "link.lib", "hard.map",
                                   "sub"}));
}

TEST_F(CliSafeOutputsTest, OutputsTheUserCannotWriteInPlaceAreRefusedBeforeAnyWork) {
  const std::string locked = files_.Write("locked.rrd", "kept");
  ::chmod(locked.c_str(), 0444);
  const ToolResult r =
      RunKavicalc({"rose", "--map", map_, "--sectors", "12", "--at", "0,0", "--out", locked});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("'" + locked + "' is read-only"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(locked), "kept");
  struct stat info {};
  ::stat(locked.c_str(), &info);
  EXPECT_EQ(info.st_mode & 07777, 0444u);

  const std::string dangling = files_.File("dangling.lib");
  ASSERT_EQ(::symlink("nowhere.lib", dangling.c_str()), 0);
  const ToolResult d = RunKavicalc(
      {"atlas", "--map", map_, "--tab", tab_, "--height", "10", "--at", "0,0", "--out", dangling});
  EXPECT_EQ(d.status, 1);
  EXPECT_NE(d.err.find("symbolic link to a file that does not exist"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(files_.File("nowhere.lib")));
}

TEST_F(CliSafeOutputsTest, NamesThatAreNotUtf8AreRefused) {
  const std::string latin1 = files_.File("r\xe9.rrd");
  const ToolResult r =
      RunKavicalc({"rose", "--map", map_, "--sectors", "12", "--at", "0,0", "--out", latin1});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("r\\xE9.rrd' is not valid UTF-8"), std::string::npos) << r.err;
  EXPECT_EQ(FilesIn(files_.File("")),
            (std::set<std::string>{"flat.map", "uniform.lib", "station.tab"}));
}

TEST_F(CliSafeOutputsTest, ObstacleFilesAreCheckedLineByLine) {
  const std::string obstacles =
      files_.Write("site.obs", "houses\n10 50 20 60 5 3 0.5\n\n30 50 40 60 5 3\n");
  const ToolResult r = RunKavicalc({"predict", "--map", map_, "--atlas", atlas_, "--height", "50",
                                    "--at", "0,0", "--obstacles", obstacles});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("obstacles '" + obstacles + "', line 4: expected the 7 numbers"),
            std::string::npos)
      << r.err;
  files_.Write("site.obs", "10 50 20 60 5 3 2\n");
  const ToolResult p = RunKavicalc({"predict", "--map", map_, "--atlas", atlas_, "--height", "50",
                                    "--at", "0,0", "--obstacles", obstacles});
  EXPECT_NE(p.err.find("line 1: porosity 2"), std::string::npos) << p.err;
}

TEST_F(CliSafeOutputsTest, AnUnregistrationThatCannotBeWrittenFails) {
  ASSERT_EQ(RunKavicalc({"register"}).status, 0);
  const std::string before = ReadFile(registry_.path());
  ::chmod(registry_.path().c_str(), 0444);
  const ToolResult r = RunKavicalc({"unregister"});
  ::chmod(registry_.path().c_str(), 0644);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_NE(r.err.find("is still registered"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(registry_.path()), before);
  EXPECT_EQ(RunKavicalc({"unregister"}).status, 0);
}

// Starts the tool with args, kills it with SIGKILL after `delay`, and waits.
void RunAndKill(const std::vector<std::string>& args, std::chrono::microseconds delay) {
  const pid_t child = ::fork();
  if (child == 0) {
    std::vector<char*> argv{const_cast<char*>(KAVI_TOOL_PATH)};
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::freopen("/dev/null", "w", stdout);
    ::freopen("/dev/null", "w", stderr);
    ::execv(KAVI_TOOL_PATH, argv.data());
    ::_exit(127);
  }
  std::this_thread::sleep_for(delay);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
}

TEST_F(CliSafeOutputsTest, AKillAtAnyPointLeavesNoTemporaryAndNoPartialOutput) {
  ASSERT_EQ(RunKavicalc({"register"}).status, 0);
  const std::string rose = files_.File("site.rrd");
  const std::string lib = files_.File("station.lib");
  const std::string plot = files_.File("roses.svg");
  const std::string grid = files_.File("grid.nc");
  const std::vector<std::string> outputs = {rose, lib, plot, grid};
  const std::vector<std::vector<std::string>> commands = {
      {"rose", "--map", map_, "--sectors", "12", "--at", "0,0", "--out", rose},
      {"atlas", "--map", map_, "--tab", tab_, "--height", "10", "--at", "0,0", "--out", lib},
      {"predict", "--map", map_, "--atlas", atlas_, "--height", "50", "--at", "0,0", "--at",
       "100,100", "--plot", plot},
      {"grid", "--map", map_, "--atlas", atlas_, "--height", "50", "--around", "0,0", "--radius",
       "200", "--spacing", "100", "--jobs", "2", "--out", grid}};
  // Whole outputs of uninterrupted runs, to compare what a kill leaves with.
  std::vector<std::string> complete;
  for (std::size_t c = 0; c < commands.size(); ++c) {
    ASSERT_EQ(RunKavicalc(commands[c]).status, 0);
    complete.push_back(ReadFile(outputs[c]));
  }
  std::mt19937 random(18);
  std::uniform_int_distribution<int> delay(0, 150000);  // microseconds, about one run
  for (int run = 0; run < 50; ++run) {
    for (std::size_t c = 0; c < commands.size(); ++c) {
      const std::string& output = outputs[c];
      if (run % 2 == 0) std::remove(output.c_str());  // half the runs write a new file
      RunAndKill(commands[c], std::chrono::microseconds(delay(random)));
      if (std::filesystem::exists(output)) {
        EXPECT_EQ(ReadFile(output), complete[c]) << run;
      }
    }
    // Temporaries of killed writers are removed at the next write of the same output.
  }
  for (const auto& command : commands) ASSERT_EQ(RunKavicalc(command).status, 0);
  EXPECT_EQ(FilesIn(files_.File("")),
            (std::set<std::string>{"flat.map", "uniform.lib", "station.tab", "site.rrd",
                                   "station.lib", "roses.svg", "grid.nc"}));
}

}  // namespace
}  // namespace kavi::e2e
