// kavicalc usage: help, version, and command lines the tool refuses with one
// line and exit status 2 before it touches the server.
#include <gtest/gtest.h>

#include "support/tool_run.h"

namespace kavi::e2e {
namespace {

class CliUsageTest : public ::testing::Test {
 protected:
  // Exit status 2, nothing on standard output, exactly one line on standard
  // error that names the problem and points at the help.
  static void ExpectUsageError(const std::vector<std::string>& args, const std::string& mention,
                               const std::string& help) {
    const ToolResult r = RunKavicalc(args);
    std::string shown;
    for (const std::string& a : args) shown += a + " ";
    EXPECT_EQ(r.status, 2) << shown << r.err;
    EXPECT_EQ(r.out, "") << shown;
    const std::vector<std::string> lines = Lines(r.err);
    ASSERT_EQ(lines.size(), 1u) << shown << r.err;
    EXPECT_EQ(lines[0].rfind("kavicalc: ", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(mention), std::string::npos) << shown << lines[0];
    EXPECT_NE(lines[0].find("(see '" + help + "')"), std::string::npos) << lines[0];
  }
  ScopedRegistry registry_;
  ScratchFolder files_;
};

TEST_F(CliUsageTest, VersionOfEachEdition) {
  ToolResult r = RunKavicalc({"--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Kavicalc 1.5.5.0\n");
  r = RunKavicalc({"--edition", "kavibase", "--version"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Kavibase 1.0.0.13\n");
  r = RunKavicalc({"--edition=kavicalc", "--version"});
  EXPECT_EQ(r.out, "Kavicalc 1.5.5.0\n");
}

TEST_F(CliUsageTest, HelpExplainsEveryCommandAndOption) {
  const ToolResult tool = RunKavicalc({"--help"});
  EXPECT_EQ(tool.status, 0);
  for (const char* word : {"rose", "atlas", "predict", "params", "register", "unregister",
                           "--version", "--edition", "Exit status"})
    EXPECT_NE(tool.out.find(word), std::string::npos) << word;

  const std::vector<std::pair<std::string, std::vector<std::string>>> commands = {
      {"rose", {"--map", "--sectors", "--at", "--out", "--set", "e.g."}},
      {"atlas",
       {"--map", "--tab", "--height", "--at", "--out", "--rose", "--obstacles", "--set", "e.g."}},
      {"predict",
       {"--map", "--atlas", "--height", "--at", "--sites", "--rose", "--obstacles", "--set",
        "--format", "table", "json", "csv", "e.g."}},
      {"params", {"--set", "--format", "e.g."}},
      {"register", {"KAVI_REGISTRY", "Example"}},
      {"unregister", {"Example"}},
  };
  for (const auto& [command, words] : commands) {
    // --help wins over anything else on the line, even a missing option.
    for (const char* flag : {"--help", "-h"}) {
      const ToolResult r = RunKavicalc({command, "--map", "x", flag});
      EXPECT_EQ(r.status, 0) << command;
      EXPECT_EQ(r.err, "") << command;
      EXPECT_EQ(r.out.rfind("Usage: kavicalc", 0), 0u) << command;
      for (const std::string& word : words)
        EXPECT_NE(r.out.find(word), std::string::npos) << command << " " << word;
    }
  }
}

TEST_F(CliUsageTest, ToolLevelMistakes) {
  ExpectUsageError({}, "no command given", "kavicalc --help");
  ExpectUsageError({"forecast"}, "unknown command 'forecast'", "kavicalc --help");
  ExpectUsageError({"--verbose", "params"}, "unknown option '--verbose'", "kavicalc --help");
  ExpectUsageError({"--edition", "kavimax", "params"}, "unknown edition 'kavimax'",
                   "kavicalc --help");
  ExpectUsageError({"--edition"}, "--edition needs a value", "kavicalc --help");
  ExpectUsageError({"--version", "params"}, "--version takes no command", "kavicalc --help");
  ExpectUsageError({"--edition", "kavicalc", "params", "--edition", "kavibase"},
                   "--edition given twice", "kavicalc params --help");
}

TEST_F(CliUsageTest, OptionMistakes) {
  const std::vector<std::string> predict = {"predict", "--map", "m.map", "--atlas", "a.lib"};
  const auto with = [&predict](std::vector<std::string> more) {
    std::vector<std::string> args = predict;
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  const std::string help = "kavicalc predict --help";
  ExpectUsageError(with({"--height", "50", "--at", "1,2", "--colour", "red"}),
                   "unknown option '--colour'", help);
  ExpectUsageError(with({"--height", "50", "--at", "1,2", "stray"}), "unexpected argument 'stray'",
                   help);
  ExpectUsageError({"predict", "--atlas", "a.lib", "--height", "50", "--at", "1,2"},
                   "missing required option --map FILE", help);
  ExpectUsageError(with({"--at", "1,2"}), "missing required option --height M", help);
  ExpectUsageError(with({"--height", "50"}), "missing the sites", help);
  ExpectUsageError(with({"--height", "fifty", "--at", "1,2"}), "--height expects", help);
  ExpectUsageError(with({"--height", "0", "--at", "1,2"}), "--height expects", help);
  ExpectUsageError(with({"--height", "nan", "--at", "1,2"}), "--height expects", help);
  for (const char* at : {"1000", "1000;2000", "1000,", "x,2000", "1,2,3", "inf,1", ""})
    ExpectUsageError(with({"--height", "50", "--at", at}), "--at expects X,Y", help);
  ExpectUsageError(with({"--height", "50", "--at"}), "--at needs a value X,Y", help);
  ExpectUsageError(with({"--height", "50", "--at", "1,2", "--format", "xml"}),
                   "--format expects table|json|csv", help);
  ExpectUsageError(with({"--height", "50", "--at", "1,2", "--set", "STDH3"}),
                   "--set expects ID=VALUE", help);
  ExpectUsageError(with({"--height", "50", "--at", "1,2", "--rose", ""}),
                   "--rose needs a file name", help);
  ExpectUsageError(with({"--height", "50", "--height", "60", "--at", "1,2"}),
                   "--height given more than once", help);

  ExpectUsageError({"rose", "--map", "m.map", "--sectors", "37", "--at", "1,2", "--out", "r.rrd"},
                   "--sectors expects a whole number from 1 to 36", "kavicalc rose --help");
  ExpectUsageError({"rose", "--map", "m.map", "--sectors", "12.5", "--at", "1,2", "--out", "r"},
                   "--sectors expects", "kavicalc rose --help");
  ExpectUsageError({"atlas", "--map", "m.map", "--height", "10", "--at", "1,2", "--out", "a.lib"},
                   "missing required option --tab FILE", "kavicalc atlas --help");
  ExpectUsageError({"params", "--format", "csv"}, "--format expects table|json",
                   "kavicalc params --help");
  ExpectUsageError({"register", "--force"}, "unknown option '--force'", "kavicalc register --help");
}

TEST_F(CliUsageTest, SitesFileMistakesNameTheFileAndRow) {
  const std::string help = "kavicalc predict --help";
  const auto predict = [](const std::string& sites,
                          std::vector<std::string> more = {"--height", "50"}) {
    std::vector<std::string> args = {"predict", "--map",   "m.map", "--atlas",
                                     "a.lib",   "--sites", sites};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  const std::string bad = files_.Write("bad.csv", "x,y\n1000,2000\n\n# comment\n1500,abc\n");
  ExpectUsageError(predict(bad),
                   bad + ": row 5: expected 2 fields x,y as the header names them, with numbers",
                   help);
  ExpectUsageError(predict(bad), "got '1500,abc'", help);

  const std::string noRows = files_.Write("norows.csv", "1,2\n1000,abc\n");
  ExpectUsageError(predict(noRows), noRows + ": row 2: expected numbers x,y[,height]", help);
  const std::string wrongHeader = files_.Write("header.csv", "easting,north\n1,2\n");
  ExpectUsageError(predict(wrongHeader),
                   wrongHeader +
                       ": row 1, column 2: unknown column 'north' (the header names x "
                       "or easting, y or northing",
                   help);
  const std::string twice = files_.Write("twice.csv", "x,Easting,y\n1,2,3\n");
  ExpectUsageError(predict(twice), twice + ": row 1, column 2: column 'Easting' is named twice",
                   help);
  const std::string noY = files_.Write("noy.csv", "name,x,height\nA,1,2\n");
  ExpectUsageError(predict(noY), noY + ": row 1: the header must name x or easting, y or northing",
                   help);
  const std::string shortRow = files_.Write("short.csv", "name,easting,northing\nA,1\n");
  ExpectUsageError(predict(shortRow), shortRow + ": row 2: expected 3 fields name,easting,northing",
                   help);
  const std::string tooMany = files_.Write("many.csv", "1,2,3,4\n");
  ExpectUsageError(predict(tooMany), tooMany + ": row 1:", help);
  const std::string badHeight = files_.Write("height.csv", "X,Y,Height\r\n1,2,-5\r\n");
  ExpectUsageError(predict(badHeight), badHeight + ": row 2: expected a height above ground", help);
  const std::string empty = files_.Write("empty.csv", "x,y,height\n# nothing\n");
  ExpectUsageError(predict(empty), empty + ": no sites", help);
  ExpectUsageError(predict(files_.File("missing.csv")), "cannot open the sites file", help);

  // --height may be left out only when every row carries a height.
  const std::string partly = files_.Write("partly.csv", "1,2,80\n3,4\n");
  ExpectUsageError(predict(partly, {}), "missing required option --height M", help);
  ExpectUsageError(predict(partly, {"--at", "1,2", "--height", "5"}), "not both", help);
}

}  // namespace
}  // namespace kavi::e2e
