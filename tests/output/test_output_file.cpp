// The safe output writer: what happens at every kind of target, and that no
// temporary file outlives a write.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "output/named_output.h"
#include "output/output_file.h"

namespace kavi::output {
namespace {

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kavi-output-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + folder_ + "'").c_str()); }

  std::string File(const std::string& name) const { return folder_ + "/" + name; }
  void Put(const std::string& name, const std::string& text) const {
    std::ofstream(File(name), std::ios::binary) << text;
  }
  std::string Read(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::set<std::string> Names() const {
    std::set<std::string> names;
    DIR* dir = ::opendir(folder_.c_str());
    while (const dirent* entry = ::readdir(dir))
      if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
        names.insert(entry->d_name);
    ::closedir(dir);
    return names;
  }
  static mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode;
  }

  std::string folder_;
};

TEST_F(OutputFileTest, RegularFilesAreReplacedWholeKeepingTheirPermissions) {
  // A new file.
  EXPECT_EQ(WriteWholeFile(File("new.txt"), "first"), "");
  EXPECT_EQ(Read(File("new.txt")), "first");
  // An existing file keeps its mode, also one the umask would not give.
  Put("old.txt", "old contents that are longer");
  ::chmod(File("old.txt").c_str(), 0604);
  EXPECT_EQ(WriteWholeFile(File("old.txt"), "new"), "");
  EXPECT_EQ(Read(File("old.txt")), "new");
  EXPECT_EQ(ModeOf(File("old.txt")) & 07777, 0604u);
  EXPECT_EQ(Names(), (std::set<std::string>{"new.txt", "old.txt"}));
}

TEST_F(OutputFileTest, AnotherUsersFileKeepsItsOwnerOrIsRefused) {
  Put("theirs.txt", "theirs");
  ::chmod(File("theirs.txt").c_str(), 0666);
  ::chmod(folder_.c_str(), 01777);  // a shared folder
  constexpr uid_t kNobody = 65534;
  if (::geteuid() == 0) {
    // The superuser may write it in place, so it is replaced, and stays theirs.
    ASSERT_EQ(::chown(File("theirs.txt").c_str(), kNobody, kNobody), 0);
    EXPECT_EQ(WriteWholeFile(File("theirs.txt"), "replaced"), "");
    struct stat info {};
    ::stat(File("theirs.txt").c_str(), &info);
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNobody);
    EXPECT_EQ(info.st_mode & 07777, 0666u);
  } else {
    const std::string problem = WriteWholeFile("/etc/hostname", "x");
    EXPECT_FALSE(problem.empty());
  }
}

TEST_F(OutputFileTest, AnAbandonedWriteLeavesTheOldFileAndNoTemporary) {
  Put("kept.txt", "kept");
  {
    OutputFile file;
    ASSERT_TRUE(file.Open(File("kept.txt")));
    ASSERT_TRUE(file.Write("partial", 7));
  }  // destroyed without Commit
  EXPECT_EQ(Read(File("kept.txt")), "kept");
  EXPECT_EQ(Names(), (std::set<std::string>{"kept.txt"}));
}

TEST_F(OutputFileTest, LinksAreWrittenThroughAndLinksToNothingRefused) {
  Put("real.txt", "old");
  ASSERT_EQ(::symlink("real.txt", File("link.txt").c_str()), 0);
  EXPECT_EQ(WriteWholeFile(File("link.txt"), "through"), "");
  EXPECT_TRUE(S_ISLNK(ModeOf(File("link.txt"))));
  EXPECT_EQ(Read(File("real.txt")), "through");

  ASSERT_EQ(::symlink("missing.txt", File("dangling.txt").c_str()), 0);
  const std::string problem = WriteWholeFile(File("dangling.txt"), "x");
  EXPECT_NE(problem.find("symbolic link to a file that does not exist"), std::string::npos);
  EXPECT_TRUE(S_ISLNK(ModeOf(File("dangling.txt"))));
  EXPECT_EQ(Names().count("missing.txt"), 0u);
}

TEST_F(OutputFileTest, ReadOnlyFilesFoldersAndMissingFoldersAreRefused) {
  Put("locked.txt", "locked");
  ::chmod(File("locked.txt").c_str(), 0444);
  EXPECT_NE(WriteWholeFile(File("locked.txt"), "x").find("is read-only"), std::string::npos);
  EXPECT_EQ(Read(File("locked.txt")), "locked");
  EXPECT_EQ(ModeOf(File("locked.txt")) & 07777, 0444u);

  ::mkdir(File("sub").c_str(), 0755);
  EXPECT_NE(WriteWholeFile(File("sub"), "x").find("is a folder"), std::string::npos);
  EXPECT_NE(WriteWholeFile(File("sub/"), "x").find("names a folder"), std::string::npos);
  EXPECT_NE(WriteWholeFile(File("none/x.txt"), "x").find("does not exist"), std::string::npos);
  EXPECT_NE(WriteWholeFile("", "x").find("no file name"), std::string::npos);
  EXPECT_EQ(Names(), (std::set<std::string>{"locked.txt", "sub"}));
}

TEST_F(OutputFileTest, SpecialFilesAreWrittenInPlace) {
  // A pipe stays a pipe and its reader gets the whole text.
  ASSERT_EQ(::mkfifo(File("pipe").c_str(), 0644), 0);
  std::string received;
  std::thread reader([&] { received = Read(File("pipe")); });
  EXPECT_EQ(WriteWholeFile(File("pipe"), "through the pipe"), "");
  reader.join();
  EXPECT_EQ(received, "through the pipe");
  EXPECT_TRUE(S_ISFIFO(ModeOf(File("pipe"))));
  // The null device stays the device.
  EXPECT_EQ(WriteWholeFile("/dev/null", "gone"), "");
  EXPECT_TRUE(S_ISCHR(ModeOf("/dev/null")));
  EXPECT_EQ(Names(), (std::set<std::string>{"pipe"}));
}

// A process number that is certainly not running: that of a child that ended.
pid_t EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

TEST_F(OutputFileTest, TemporariesOfEndedProcessesAreRemovedAtTheNextWrite) {
  const std::string stale = "out.txt.kavi-tmp-" + std::to_string(EndedProcess()) + "-1";
  const std::string live = "out.txt.kavi-tmp-1-1";  // process 1 always runs
  const std::string other = "other.txt.kavi-tmp-" + std::to_string(EndedProcess()) + "-1";
  Put(stale, "left by a kill");
  Put(live, "being written");
  Put(other, "another output's");
  EXPECT_EQ(WriteWholeFile(File("out.txt"), "done"), "");
  EXPECT_EQ(Names(), (std::set<std::string>{"out.txt", live, other}));
}

TEST_F(OutputFileTest, NamedOutputsArePutInPlaceLikeStreamedOnes) {
  Put("map.tif", "old raster");
  ::chmod(File("map.tif").c_str(), 0640);
  {
    NamedOutput file;
    ASSERT_TRUE(file.Open(File("map.tif")));
    const std::string name = file.temporary();
    EXPECT_EQ(name.substr(name.size() - 4), ".tif");  // drivers chosen by extension
    std::ofstream(name) << "new raster";
    ASSERT_TRUE(file.Commit());
  }
  EXPECT_EQ(Read(File("map.tif")), "new raster");
  EXPECT_EQ(ModeOf(File("map.tif")) & 07777, 0640u);
  {
    NamedOutput file;
    ASSERT_TRUE(file.Open(File("map.tif")));
    std::ofstream(file.temporary()) << "abandoned";
  }  // no Commit: the temporary goes, the old file stays
  EXPECT_EQ(Read(File("map.tif")), "new raster");
  {
    NamedOutput file;
    ASSERT_TRUE(file.Open(File("map.tif")));
    EXPECT_FALSE(file.Commit());  // the library wrote nothing
  }
  EXPECT_EQ(Names(), (std::set<std::string>{"map.tif"}));

  ::chmod(File("map.tif").c_str(), 0444);
  NamedOutput refused;
  EXPECT_FALSE(refused.Open(File("map.tif")));
  EXPECT_NE(refused.problem().find("read-only"), std::string::npos);
}

// In a child: starts a named output, has the library write it, and ends the
// process by `end` before the output is put in place.
void EndWhileWriting(const std::string& target, void (*end)()) {
  const pid_t child = ::fork();
  if (child == 0) {
    NamedOutput file;
    if (!file.Open(target)) ::_exit(3);
    std::ofstream(file.temporary()) << "half";
    end();
    ::_exit(4);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
}

TEST_F(OutputFileTest, NamedTemporariesGoWhenTheProcessEndsBySignalOrExit) {
  EndWhileWriting(File("a.nc"), [] { ::raise(SIGTERM); });
  EndWhileWriting(File("b.nc"), [] { ::raise(SIGINT); });
  EndWhileWriting(File("c.nc"), [] { std::exit(1); });
  EXPECT_EQ(Names(), std::set<std::string>{});
}

TEST_F(OutputFileTest, NamedOutputsToSpecialFilesAreCopiedIntoThem) {
  ASSERT_EQ(::mkfifo(File("pipe.nc").c_str(), 0644), 0);
  std::string received;
  std::thread reader([&] { received = Read(File("pipe.nc")); });
  std::string temporary;
  {
    NamedOutput file;
    ASSERT_TRUE(file.Open(File("pipe.nc")));
    temporary = file.temporary();
    std::ofstream(temporary) << "gridded";
    EXPECT_TRUE(file.Commit());
  }
  reader.join();
  EXPECT_EQ(received, "gridded");
  EXPECT_TRUE(S_ISFIFO(ModeOf(File("pipe.nc"))));
  EXPECT_NE(::access(temporary.c_str(), F_OK), 0);
}

}  // namespace
}  // namespace kavi::output
