// kavicalc climate refuses input it cannot use with a message that names the
// file (and the line and column where there is one), exit status 1, and no
// output file: neither the climate file nor a temporary one beside it.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/tool_run.h"

namespace kavi::e2e {
namespace {

class CliClimateFailureTest : public ::testing::Test {
 protected:
  // Runs climate on a series with the given text and checks the refusal.
  void ExpectRefused(const std::string& text, const std::vector<std::string>& more,
                     const std::string& message) {
    const std::string series = files_.Write("series.csv", text);
    std::vector<std::string> args = {"climate",
                                     "--series",
                                     series,
                                     "--height",
                                     "10",
                                     "--out",
                                     files_.File("out.tab"),
                                     "--plot",
                                     files_.File("out.svg")};
    args.insert(args.end(), more.begin(), more.end());
    const ToolResult r = RunKavicalc(args);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(Lines(r.err), std::vector<std::string>{"kavicalc: : " + message + " (0x80004005)"});
    EXPECT_TRUE(r.out.empty()) << r.out;
    for (const auto& entry : std::filesystem::directory_iterator(files_.File("")))
      EXPECT_EQ(entry.path().filename(), "series.csv") << "left behind: " << entry.path();
  }
  std::string Series() const { return files_.File("series.csv"); }

  ScopedRegistry registry_;
  ScratchFolder files_;
};

const std::vector<std::string> kColumns = {"--speed", "ws", "--direction", "wd"};

std::string GoodRecords(int count) {
  std::string text = "ws,wd\n";
  for (int i = 0; i < count; ++i)
    text += std::to_string(1 + i % 9) + "." + std::to_string(i % 10) + "," +
            std::to_string(i * 7 % 360) + "\n";
  return text;
}

TEST_F(CliClimateFailureTest, ColumnsThatAreNotThere) {
  ExpectRefused("ws,wd\n5,270\n", {"--speed", "speed", "--direction", "wd"},
                Series() + ", line 1: --speed: no column 'speed'; the columns are 'ws', 'wd'");
  ExpectRefused("ws,wd\n5,270\n", {"--speed", "ws", "--direction", "3"},
                Series() + ", line 1: --direction 3: the header has columns 1 to 2");
}

TEST_F(CliClimateFailureTest, FilesWithoutAnythingToUse) {
  ExpectRefused("", kColumns, Series() + " is empty");
  ExpectRefused("\n  \n", kColumns, Series() + " is empty");
  ExpectRefused("ws,wd\nNA,270\n-999,90\n,\n150,90\n",
                {"--speed", "ws", "--direction", "wd", "--missing", "-999"},
                Series() +
                    ": no usable record: 4 records read, 0 outside the period, 3 missing, "
                    "1 out of range");
  ExpectRefused("ws,wd\n5,NaN\n6,\n7,-999\n",
                {"--speed", "ws", "--direction", "wd", "--missing", "-999"},
                Series() + ": the direction column 'wd' holds no value in any of the 3 records");
  ExpectRefused("ws,wd\n0,270\n0,90\n", kColumns,
                "no record has a speed above the calm limit of 0 m/s: all 2 records are calms");
}

TEST_F(CliClimateFailureTest, TextInANumberColumnAndLinesCutShort) {
  // Line 5000 of the file is the 4999th record.
  std::string text = GoodRecords(4998) + "4.5,west\n" + "5,90\n";
  ExpectRefused(text, kColumns,
                Series() +
                    ", line 5000, column 2 (wd): 'west' is not a number (nor a "
                    "missing-value marker)");
  ExpectRefused(GoodRecords(10) + "4.5", kColumns,
                Series() + ", line 12, column 2 (wd): the file ends in the middle of this line");
  ExpectRefused(GoodRecords(10) + "4.5\n3,90\n", kColumns,
                Series() + ", line 12, column 2 (wd): the line has only 1 fields");
}

TEST_F(CliClimateFailureTest, ClimatesTooFineForTheFileAndBadTables) {
  // The highest speed, 9.8 m/s, lies in the 197th bin of 0.05 m/s.
  ExpectRefused(GoodRecords(20), {"--speed", "ws", "--direction", "wd", "--bin-width", "0.05"},
                "197 speed bins in 12 sectors are more than an observed-climate file holds (100 "
                "bins, 3600 entries, one closing bin included); give a larger --bin-width");
  const std::string table = files_.Write("table.csv", "upper,n,e,s,w\n1,1,2,3,4\n2,1,x,3,4\n");
  const ToolResult r =
      RunKavicalc({"climate", "--table", table, "--height", "10", "--out", files_.File("t.tab")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(Lines(r.err), std::vector<std::string>{"kavicalc: : " + table +
                                                   ", line 3, column 3 (e): 'x' is not a number "
                                                   "(0x80004005)"});
  EXPECT_FALSE(std::filesystem::exists(files_.File("t.tab")));
  const std::string falling = files_.Write("falling.csv", "upper,n,s\n2,1,1\n1,1,1\n");
  const ToolResult f =
      RunKavicalc({"climate", "--table", falling, "--height", "10", "--out", files_.File("t.tab")});
  EXPECT_EQ(f.status, 1);
  EXPECT_NE(f.err.find(falling + ", line 3, column 1 (upper): the upper limit 1 m/s does not "
                                 "exceed the bin below (2 m/s)"),
            std::string::npos)
      << f.err;
}

TEST_F(CliClimateFailureTest, UsageErrorsAreRefusedBeforeAnythingIsRead) {
  const std::string series = files_.Write("series.csv", "ws,wd\n5,270\n");
  const std::string out = files_.File("out.tab");
  const std::vector<std::vector<std::string>> cases = {
      {"climate", "--series", series, "--speed", "ws", "--direction", "wd", "--out", out},
      {"climate", "--series", series, "--table", series, "--height", "10", "--out", out},
      {"climate", "--series", series, "--speed", "ws", "--direction", "wd", "--height", "10",
       "--from", "2020-01-01", "--out", out},
      {"climate", "--series", series, "--speed", "ws", "--direction", "wd", "--height", "10",
       "--bin-width", "0", "--out", out},
      {"climate", "--table", series, "--speed", "ws", "--height", "10", "--out", out},
      {"climate", "--table", series, "--out", out}};
  for (const auto& args : cases) {
    const ToolResult r = RunKavicalc(args);
    EXPECT_EQ(r.status, 2) << args.back() << ": " << r.err;
    EXPECT_FALSE(std::filesystem::exists(out));
  }
  const ToolResult r = RunKavicalc(cases[0]);
  EXPECT_NE(r.err.find("--height M is needed"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kavi::e2e
