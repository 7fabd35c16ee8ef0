// kavicalc failures: a calculation that fails reports the error source and
// description the server left, with its result code, and exits 1.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/tool_run.h"

namespace kavi::e2e {
namespace {

class CliFailureTest : public ::testing::Test {
 protected:
  // One line "kavicalc: SOURCE: DESCRIPTION (0xXXXXXXXX)" with the given source.
  static std::string ExpectFailureLine(const ToolResult& r, const std::string& source) {
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "");
    const std::vector<std::string> lines = Lines(r.err);
    if (lines.size() != 1u) {
      ADD_FAILURE() << "expected one line:\n" << r.err;
      return {};
    }
    EXPECT_TRUE(std::regex_match(
        lines[0], std::regex("kavicalc: " + source + ": [^\\n]+ \\(0x[0-9A-F]{8}\\)")))
        << lines[0];
    return lines[0];
  }
  ScopedRegistry registry_;
  ScratchFolder files_;
};

TEST_F(CliFailureTest, MissingMapFileNamesTheClassAsSource) {
  const std::string atlas = files_.Write("a.lib", "");
  const std::string missing = files_.File("missing.map");
  const std::string line = ExpectFailureLine(
      RunKavicalc({"predict", "--map", missing, "--atlas", atlas, "--height", "50", "--at", "0,0"}),
      "Kavicalc\\.AtlasUser\\.1");
  // The tool names the file and the system's reason; the server's message follows.
  EXPECT_EQ(line, "kavicalc: Kavicalc.AtlasUser.1: cannot read the map file '" + missing +
                      "': No such file or directory: Kavicalc: Unable to open file "
                      "(0x800403E8)");
}

TEST_F(CliFailureTest, EachEditionAndClassIsItsOwnSource) {
  const std::string missing = files_.File("missing.map");
  const std::string line =
      ExpectFailureLine(RunKavicalc({"--edition", "kavibase", "predict", "--map", missing,
                                     "--atlas", "a.lib", "--height", "50", "--at", "0,0"}),
                        "KAVIBASE\\.AtlasUser\\.1");
  EXPECT_EQ(line, "kavicalc: KAVIBASE.AtlasUser.1: cannot read the map file '" + missing +
                      "': No such file or directory: Kavibase: Unable to open file "
                      "(0x800403E8)");
  const std::string rose = files_.File("out.rrd");
  ExpectFailureLine(
      RunKavicalc({"rose", "--map", missing, "--sectors", "12", "--at", "0,0", "--out", rose}),
      "Kavicalc\\.RoughnessRoseGenerator\\.1");
  EXPECT_FALSE(std::filesystem::exists(rose));  // nothing written after a failure
  const std::string atlas = files_.File("out.lib");
  ExpectFailureLine(RunKavicalc({"atlas", "--map", missing, "--tab", "t.tab", "--height", "10",
                                 "--at", "0,0", "--out", atlas}),
                    "Kavicalc\\.AtlasGenerator\\.1");
  EXPECT_FALSE(std::filesystem::exists(atlas));
}

TEST_F(CliFailureTest, RefusedSettingStopsTheCalculationBeforeItStarts) {
  const std::string rose = files_.File("out.rrd");
  const ToolResult r = RunKavicalc({"rose", "--map", files_.File("missing.map"), "--sectors", "12",
                                    "--at", "0,0", "--out", rose, "--set", "MAXRC=11"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(Lines(r.err), std::vector<std::string>{
                              "kavicalc: Kavicalc.RoughnessRoseGenerator.1: parameter MAXRC: "
                              "value 11 refused, the valid range is 1 to 10: Parameter value out "
                              "of range (0x80020009)"});
}

}  // namespace
}  // namespace kavi::e2e
