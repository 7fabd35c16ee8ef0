// kavicalc failures name their subject: the file a failure concerns (with the
// system's reason when it cannot be opened), the map, the output that cannot
// be written, the site. The server's own message and result code stay at the
// end of the line, as scripts match on them.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/example_files.h"
#include "support/tool_run.h"

namespace kavi::e2e {
namespace {

class CliNamedFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    map_ = files_.Write("flat.map", FlatMapText());
    atlas_ = files_.Write("uniform.lib", UniformAtlasText());
    tab_ = files_.Write("station.tab", WeibullClimateText(12, 7.0, 2.0));
  }
  // The one line on standard error of a run that must fail with status 1.
  static std::string FailureLine(const std::vector<std::string>& args) {
    const ToolResult r = RunKavicalc(args);
    EXPECT_EQ(r.status, 1) << r.err;
    const std::vector<std::string> lines = Lines(r.err);
    EXPECT_EQ(lines.size(), 1u) << r.err;
    return lines.empty() ? std::string() : lines.back();
  }
  std::vector<std::string> Predict(std::vector<std::string> more) const {
    std::vector<std::string> args = {"predict", "--height", "50", "--at", "0,0"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }
  ScopedRegistry registry_;
  ScratchFolder files_;
  std::string map_, atlas_, tab_;
};

TEST_F(CliNamedFailureTest, InputFilesAreNamedWithTheReasonAndTheServersMessage) {
  const std::string user = "kavicalc: Kavicalc.AtlasUser.1: ";
  const std::string open = "Kavicalc: Unable to open file (0x800403E8)";
  const std::string missing = files_.File("stt.lib");
  EXPECT_EQ(
      FailureLine(Predict({"--map", map_, "--atlas", missing})),
      user + "cannot read the atlas file '" + missing + "': No such file or directory: " + open);

  // A file that opens but cannot be read as an atlas.
  const std::string garbled = files_.Write("garbled.lib", "title\n  5  5 12\n  0.000  0.030\n");
  EXPECT_EQ(FailureLine(Predict({"--map", map_, "--atlas", garbled})),
            user + "the atlas file '" + garbled + "' could not be read: " + open);

  // A folder where a file is expected.
  EXPECT_EQ(FailureLine(Predict({"--map", files_.File(""), "--atlas", atlas_})),
            user + "cannot read the map file '" + files_.File("") + "': Is a directory: " + open);

  // A missing obstacles file, which the server reports as an unexpected fault.
  const std::string obstacles = files_.File("none.obs");
  EXPECT_EQ(FailureLine(Predict({"--map", map_, "--atlas", atlas_, "--obstacles", obstacles})),
            user + "cannot read the obstacles file '" + obstacles +
                "': No such file or directory: Kavicalc: Unexpected exception in fortran code "
                "(0x800403EB)");

  // The map as the engine's map reader finds it.
  const std::string badMap = files_.Write("bad.map", "flat map without its title marker\n");
  EXPECT_EQ(FailureLine(Predict({"--map", badMap, "--atlas", atlas_})),
            user + "map '" + badMap +
                "': error in the map file: Kavicalc: Error in map file (0x800403E8)");

  // The observed climate of the atlas command.
  const std::string generator = "kavicalc: Kavicalc.AtlasGenerator.1: ";
  const std::string badTab = files_.Write("garbled.tab", "station\n55 10 10\n12 1 0 2\nwind\n");
  const std::string out = files_.File("out.lib");
  EXPECT_EQ(FailureLine({"atlas", "--map", map_, "--tab", badTab, "--height", "10", "--at", "0,0",
                         "--out", out}),
            generator + "the observed climate '" + badTab + "' could not be read: " + open);
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CliNamedFailureTest, OutputsThatCannotBeWrittenAreNamed) {
  // Outputs are checked before any calculation: the line names the file and
  // why it cannot be written.
  const std::string folder = files_.File("no-such-folder");
  const std::string lost = folder + "/out.lib";
  EXPECT_EQ(FailureLine({"atlas", "--map", map_, "--tab", tab_, "--height", "10", "--at", "0,0",
                         "--out", lost}),
            "kavicalc: : could not write " + lost + ": the folder '" + folder +
                "' does not exist (0x80004005)");
  const std::string rose = folder + "/site.rrd";
  EXPECT_EQ(FailureLine({"rose", "--map", map_, "--sectors", "12", "--at", "0,0", "--out", rose}),
            "kavicalc: : could not write " + rose + ": the folder '" + folder +
                "' does not exist (0x80004005)");
}

TEST_F(CliNamedFailureTest, ASiteOutOfTheGridsReachIsExplained) {
  // 100 km off a map 30 km across: no contour within the grid's 20 km reach.
  // A warning says so first, then the failure explains the server's message.
  const ToolResult r = RunKavicalc({"predict", "--map", map_, "--atlas", atlas_, "--height", "50",
                                    "--at", "100000,0", "--format", "csv", "--fail-fast"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  const std::vector<std::string> failure = Lines(r.err);
  ASSERT_EQ(failure.size(), 2u) << r.err;
  EXPECT_EQ(failure[0].rfind("kavicalc: warning: site 1 (x 100000, y 0) lies outside the map", 0),
            0u);
  EXPECT_EQ(failure[1],
            "kavicalc: Kavicalc.AtlasUser.1: site 1 (x 100000, y 0): no height contour of the map "
            "lies within the reach of the site's zooming grid (parameter MAXRADIUS); the site lies "
            "85000 m off the map (the map '" +
                map_ +
                "' spans x -15000 to 15000, y -15000 to 15000): Kavicalc: Interpolation radius "
                "too small (0x800403E8)");
  // The rose there is refused the same way, with its warning first.
  const ToolResult rose = RunKavicalc({"rose", "--map", map_, "--sectors", "12", "--at", "100000,0",
                                       "--out", files_.File("far.rrd")});
  const std::vector<std::string> lines = Lines(rose.err);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0],
            "kavicalc: warning: site (x 100000, y 0) lies outside the map, 85000 m from "
            "it (the map '" +
                map_ +
                "' spans x -15000 to 15000, y -15000 to 15000): the terrain around the "
                "site is not on the map");
}

}  // namespace
}  // namespace kavi::e2e
