// Faults of the file system met through the interface, as a host meets them:
// outputs written to a full device, into folders that take no new files and
// over existing files that must survive a failed write; a scratch work file
// that cannot be created; a registry that is truncated, locked or unreadable.
// Faults that must not touch the test process (a file size limit, a private
// read-only mount, an unwritable working folder) are made in a forked child.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <set>
#include <thread>

#include "support/calculation_objects.h"
#include "support/child_process.h"
#include "support/registry_path.h"
#include "support/ring_maps.h"
#include "support/test_files.h"
#include "support/unwritable_folder.h"

namespace kavi::test {
namespace {

constexpr HRESULT kRuntimeError = static_cast<HRESULT>(0x800403E8);
// Smaller than any atlas or roughness rose file: a write fails part way.
constexpr rlim_t kFileSizeLimit = 200;

const Identities& ids() { return *Kavicalc().ids; }

std::set<std::string> FolderEntries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

bool IsFullDevice(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode) && info.st_rdev == makedev(1, 7);
}

// A device that fails every write with "no space left". /dev/full itself only
// where nobody could replace it (its folder is not writable for us); else a
// private device node of the same kind in `folder`. Empty when neither works.
std::string FullDevice(const std::string& folder) {
  if (access("/dev", W_OK) != 0 && IsFullDevice("/dev/full")) return "/dev/full";
  const std::string device = folder + "/full";
  if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0) return {};
  return device;
}

// In a child: files may grow to kFileSizeLimit bytes only; a longer write fails.
void LimitFileSize() {
  signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = kFileSizeLimit;
  setrlimit(RLIMIT_FSIZE, &limit);
}

class Faults : public ::testing::Test {
 protected:
  void SetUp() override {
    Kavicalc();
    map_ = folder_.Path("flat.map");
    tab_ = folder_.Path("station.tab");
    WriteFlatMap(map_);
    WriteWeibullClimate(tab_, TypicalClimate());
    atlas_ = folder_.Path("station.lib");
    ASSERT_EQ(OutcomeText(MakeAtlas(Generator().get(), 0, 0, atlas_)), "0x00000000");
    atlasText_ = ReadText(atlas_);
    ASSERT_GT(atlasText_.size(), kFileSizeLimit);
  }

  ComPtr<IKaviAtlasGenerator> Generator() {
    ComPtr<IKaviAtlasGenerator> g = NewAtlasGenerator(Kavicalc());
    g->put_MapFile(Bstr(map_.c_str()).get());
    g->put_TabFile(Bstr(tab_.c_str()).get());
    g->put_HeightAGL(10.0);
    return g;
  }
  ComPtr<IKaviAtlasUser> User(const std::string& map) {
    ComPtr<IKaviAtlasUser> u = NewAtlasUser(Kavicalc());
    u->put_MapFile(Bstr(map.c_str()).get());
    u->put_AtlasFile(Bstr(atlas_.c_str()).get());
    u->put_HeightAGL(50.0);
    return u;
  }
  ComPtr<IKaviRoughnessRoseGenerator> RoseGenerator(const std::string& map) {
    ComPtr<IKaviRoughnessRoseGenerator> r = NewRoseGenerator(Kavicalc());
    r->put_MapFile(Bstr(map.c_str()).get());
    return r;
  }
  static std::string AtlasFailure(const char* message) {
    return OutcomeText(
        Failure(kRuntimeError, message, "Kavicalc.AtlasGenerator.1", ids().IKaviAtlasGenerator));
  }
  static std::string UserFailure(const char* message) {
    return OutcomeText(
        Failure(kRuntimeError, message, "Kavicalc.AtlasUser.1", ids().IKaviAtlasUser));
  }
  static std::string RoseFailure(const char* message) {
    return OutcomeText(Failure(kRuntimeError, message, "Kavicalc.RoughnessRoseGenerator.1",
                               ids().IKaviRoughnessRoseGenerator));
  }
  // A subfolder holding a copy of the atlas, for faults confined to one folder.
  std::string FolderWithAtlasCopy(const char* name) {
    const std::string sub = folder_.Path(name);
    std::filesystem::create_directory(sub);
    WriteText(sub + "/station.lib", atlasText_);
    return sub;
  }
  TempFolder folder_;
  std::string map_, tab_, atlas_, atlasText_;
};

TEST_F(Faults, OutputsOnAFullDeviceFailAndLeaveTheDevice) {
  const std::string device = FullDevice(folder_.path());
  if (device.empty()) GTEST_SKIP() << "no full device can be had here";
  const auto before = FolderEntries(folder_.path());
  EXPECT_EQ(OutcomeText(MakeAtlas(Generator().get(), 0, 0, device)),
            AtlasFailure("Kavicalc: Unable to open file"));
  EXPECT_TRUE(IsFullDevice(device)) << device << " was replaced by the atlas";
  if (IsFullDevice(device)) {
    EXPECT_EQ(OutcomeText(MakeRose(RoseGenerator(map_).get(), device, 12, 0, 0)),
              RoseFailure("Cannot open file"));
    EXPECT_TRUE(IsFullDevice(device)) << device << " was replaced by the roughness rose";
  }
  EXPECT_EQ(FolderEntries(folder_.path()), before);  // no temporary file left behind
}

TEST_F(Faults, WriteThatFailsPartWayKeepsTheExistingFile) {
  const ChildResult child = RunInChild([&] {
    LimitFileSize();
    return OutcomeText(MakeAtlas(Generator().get(), 0, 0, atlas_));
  });
  EXPECT_EQ(child.status, 0);
  EXPECT_EQ(child.report, AtlasFailure("Kavicalc: Unable to open file"));
  EXPECT_EQ(ReadText(atlas_), atlasText_);
  EXPECT_EQ(FolderEntries(folder_.path()),
            (std::set<std::string>{"flat.map", "station.tab", "station.lib"}));
}

TEST_F(Faults, CalculationThatFailsKeepsTheExistingOutput) {
  // Each input fails at its own step, after the output name is known.
  WriteText(folder_.Path("garbled.tab"), "station\n55 10 10\n12 1 0 2\nwind speeds here\n");
  std::vector<SectorClimate> wide(37, SectorClimate{100.0f / 37, 7.0f, 2.0f});
  WriteWeibullClimate(folder_.Path("wide.tab"), wide);
  WriteText(folder_.Path("bad.map"), "flat map without its title marker\n");
  struct Case {
    std::string map, tab;
    const char* message;
  } cases[] = {
      {map_, folder_.Path("garbled.tab"), "Kavicalc: Unable to open file"},
      {map_, folder_.Path("wide.tab"), "Too many sectors"},
      {folder_.Path("bad.map"), tab_, "Kavicalc: Error in map file"},
      {folder_.Path("missing.map"), tab_, "Kavicalc: Unable to open file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.map + " " + c.tab);
    ComPtr<IKaviAtlasGenerator> g = Generator();
    g->put_MapFile(Bstr(c.map.c_str()).get());
    g->put_TabFile(Bstr(c.tab.c_str()).get());
    EXPECT_EQ(OutcomeText(MakeAtlas(g.get(), 0, 0, atlas_)), AtlasFailure(c.message));
    EXPECT_EQ(ReadText(atlas_), atlasText_);
  }

  // A roughness rose file that is there already stays as it was too.
  const std::string rose = folder_.Path("site.rrd");
  WriteText(rose, "an earlier roughness rose\n");
  EXPECT_EQ(OutcomeText(MakeRose(RoseGenerator(folder_.Path("bad.map")).get(), rose, 12, 0, 0)),
            RoseFailure("Kavicalc: Error in map file"));
  EXPECT_EQ(ReadText(rose), "an earlier roughness rose\n");
}

TEST_F(Faults, AtlasIntoAFolderThatTakesNoNewFiles) {
  // Permission bits do not stop root, so as root the folder is a read-only
  // bind mount that only the child sees.
  const std::string sub = FolderWithAtlasCopy("read-only");
  const ChildResult child = RunInChild([&] {
    const std::string how = MakeFolderReadOnlyHere(sub);
    if (how.empty()) return std::string("skip");
    return how + "\n" + OutcomeText(MakeAtlas(Generator().get(), 0, 0, sub + "/station.lib")) +
           "\n" + OutcomeText(MakeAtlas(Generator().get(), 0, 0, sub + "/new.lib"));
  });
  RestoreWritable(sub);
  if (child.report == "skip") GTEST_SKIP() << "no read-only folder can be had here";
  const std::string failure = AtlasFailure("Kavicalc: Unable to open file");
  const std::size_t line = child.report.find('\n');
  RecordProperty("read_only_folder", child.report.substr(0, line));
  EXPECT_EQ(child.report.substr(line + 1), failure + "\n" + failure);
  EXPECT_EQ(FolderEntries(sub), std::set<std::string>{"station.lib"});
  EXPECT_EQ(ReadText(sub + "/station.lib"), atlasText_);

  // A folder that is a plain file, which stops everyone, root included.
  const std::string plain = folder_.Path("plain.txt");
  WriteText(plain, "not a folder\n");
  EXPECT_EQ(OutcomeText(MakeAtlas(Generator().get(), 0, 0, plain + "/out.lib")), failure);
  EXPECT_EQ(ReadText(plain), "not a folder\n");
  // An existing folder in place of the output file.
  std::filesystem::create_directory(folder_.Path("a-folder.lib"));
  EXPECT_EQ(OutcomeText(MakeAtlas(Generator().get(), 0, 0, folder_.Path("a-folder.lib"))), failure);
  EXPECT_TRUE(std::filesystem::is_directory(folder_.Path("a-folder.lib")));
}

TEST_F(Faults, RoseOutputFaultsLeaveEverythingAsItWas) {
  const std::string failure = RoseFailure("Cannot open file");
  const std::string rose = folder_.Path("site.rrd");
  ASSERT_EQ(OutcomeText(MakeRose(RoseGenerator(map_).get(), rose, 36, 0, 0)), "0x00000000");
  const std::string roseText = ReadText(rose);
  ASSERT_GT(roseText.size(), kFileSizeLimit);

  // Part way through the write.
  ChildResult child = RunInChild([&] {
    LimitFileSize();
    return OutcomeText(MakeRose(RoseGenerator(map_).get(), rose, 12, 0, 0));
  });
  EXPECT_EQ(child.report, failure);
  EXPECT_EQ(ReadText(rose), roseText);

  // Into a read-only folder, over an existing rose and as a new file.
  const std::string sub = folder_.Path("read-only");
  std::filesystem::create_directory(sub);
  WriteText(sub + "/site.rrd", roseText);
  child = RunInChild([&] {
    if (MakeFolderReadOnlyHere(sub).empty()) return std::string("skip");
    return OutcomeText(MakeRose(RoseGenerator(map_).get(), sub + "/site.rrd", 12, 0, 0)) + "\n" +
           OutcomeText(MakeRose(RoseGenerator(map_).get(), sub + "/new.rrd", 12, 0, 0));
  });
  RestoreWritable(sub);
  if (child.report != "skip") {
    EXPECT_EQ(child.report, failure + "\n" + failure);
  }
  EXPECT_EQ(FolderEntries(sub), std::set<std::string>{"site.rrd"});
  EXPECT_EQ(ReadText(sub + "/site.rrd"), roseText);

  // Under a plain file.
  WriteText(folder_.Path("plain.txt"), "x");
  EXPECT_EQ(
      OutcomeText(MakeRose(RoseGenerator(map_).get(), folder_.Path("plain.txt/a.rrd"), 12, 0, 0)),
      failure);
}

TEST_F(Faults, WorkFileThatCannotBeCreated) {
  // More crossings than fit in memory: the zooming grid (height rings) or the
  // roughness rose (roughness rings) needs its work file.
  const std::string heights = folder_.Path("heights.map");
  const std::string roughness = folder_.Path("roughness.map");
  WriteRingMap(heights, kSpillingRings, RingKind::kHeight);
  WriteRingMap(roughness, kSpillingRings, RingKind::kRoughness);
  const auto run = [&](const std::string& map) {
    return OutcomeText(Predict(User(map).get(), 0, 0));
  };

  const std::string stuck = folder_.Path("unwritable");
  std::filesystem::create_directory(stuck);
  const ChildResult child = RunInChild([&] {
    const std::string how = EnterUnwritableWorkingFolder(stuck);
    if (how.empty()) return std::string("skip");
    return how + "\n" + run(heights) + "\n" + run(roughness) + "\n" + run(map_) + "\n" +
           OutcomeText(MakeRose(RoseGenerator(roughness).get(), folder_.Path("r.rrd"), 12, 0, 0));
  });
  RestoreWritable(stuck);
  if (child.report == "skip") GTEST_SKIP() << "no unwritable working folder can be had here";
  const std::size_t line = child.report.find('\n');
  RecordProperty("unwritable_working_folder", child.report.substr(0, line));
  EXPECT_EQ(child.report.substr(line + 1), UserFailure("Kavicalc: Too large map file") + "\n" +
                                               UserFailure("Kavicalc: Error in VEMOWORK.TMP") +
                                               "\n0x00000000\n" +
                                               RoseFailure("Kavicalc: Error in VEMOWORK.TMP"));
  EXPECT_FALSE(std::filesystem::exists(folder_.Path("r.rrd")));

  // The same calculations in a writable folder succeed and leave no work file.
  const std::string writable = folder_.Path("writable");
  std::filesystem::create_directory(writable);
  const ChildResult control = RunInChild([&] {
    if (chdir(writable.c_str()) != 0) return std::string("chdir failed");
    return run(heights) + "\n" + run(roughness);
  });
  EXPECT_EQ(control.report, "0x00000000\n0x00000000");
  EXPECT_TRUE(FolderEntries(writable).empty());
}

TEST_F(Faults, TruncatedOrUnreadableRegistryIsReportedAndKept) {
  const Server& server = Kavicalc();
  const std::string text = CurrentRegistryText();
  ASSERT_NE(text.find("Kavicalc.AtlasUser.1"), std::string::npos);
  ComPtr<IKaviAtlasUser> user = User(folder_.Path("missing.map"));

  const std::string truncated = folder_.Path("truncated.registry");
  WriteText(truncated, text.substr(0, text.size() / 2));
  {
    RegistryPath registry(truncated);
    EXPECT_EQ(server.registerServer(), REGDB_E_READREGDB);
    const ErrorDetails error = TakeErrorInfo();
    EXPECT_NE(error.description.find(truncated), std::string::npos) << error.description;
    EXPECT_NE(error.description.find("truncated"), std::string::npos) << error.description;
    CLSID clsid{};
    EXPECT_TRUE(FAILED(CLSIDFromProgID(u"Kavicalc.AtlasUser", &clsid)));
    TakeErrorInfo();
    // A calculation still reports its failure, without a source to name.
    EXPECT_EQ(OutcomeText(Predict(user.get(), 0, 0)),
              OutcomeText(Failure(kRuntimeError, "Kavicalc: Unable to open file", "",
                                  ids().IKaviAtlasUser)));
  }
  EXPECT_EQ(ReadText(truncated), text.substr(0, text.size() / 2));

  // Unreadable: permission bits where they stop us, else a folder in place of the file.
  const std::string unreadable = folder_.Path("unreadable.registry");
  if (geteuid() != 0) {
    WriteText(unreadable, text);
    chmod(unreadable.c_str(), 0);
  } else {
    std::filesystem::create_directory(unreadable);
  }
  {
    RegistryPath registry(unreadable);
    EXPECT_EQ(server.registerServer(), REGDB_E_READREGDB);
    const ErrorDetails error = TakeErrorInfo();
    EXPECT_NE(error.description.find(unreadable + " cannot be read"), std::string::npos)
        << error.description;
  }
  chmod(unreadable.c_str(), 0700);
  if (geteuid() != 0) {
    EXPECT_EQ(ReadText(unreadable), text);
  } else {
    EXPECT_TRUE(std::filesystem::is_empty(unreadable));
  }
}

TEST_F(Faults, RegistrationWaitsWhileAnotherProcessHoldsTheRegistryLock) {
  const std::string path = folder_.Path("locked.registry");
  WriteText(path, CurrentRegistryText());
  int held[2], release[2];
  ASSERT_EQ(pipe(held), 0);
  ASSERT_EQ(pipe(release), 0);
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    const int fd = open((path + ".lock").c_str(), O_RDWR | O_CREAT, 0644);
    char byte = fd >= 0 && flock(fd, LOCK_EX) == 0 ? '1' : '0';
    if (write(held[1], &byte, 1) != 1 || read(release[0], &byte, 1) != 1) _exit(1);
    _exit(0);  // ending the process releases the lock
  }
  char byte = 0;
  ASSERT_EQ(read(held[0], &byte, 1), 1);
  ASSERT_EQ(byte, '1');

  RegistryPath registry(path);
  std::atomic<bool> done{false};
  HRESULT result = E_FAIL;
  std::thread registration([&] {
    result = Kavicalc().registerServer();
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(done) << "registration went ahead under another process's lock";
  ASSERT_EQ(write(release[1], "x", 1), 1);
  registration.join();
  int status = 0;
  waitpid(holder, &status, 0);
  EXPECT_EQ(result, S_OK);
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(u"Kavicalc.AtlasUser", &clsid), S_OK);
  EXPECT_EQ(clsid, ids().AtlasUser);
  for (int fd : {held[0], held[1], release[0], release[1]}) close(fd);
}

}  // namespace
}  // namespace kavi::test
