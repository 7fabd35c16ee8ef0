// The README's main job, run by its chain script with the tools of this build
// into a private folder, and its outputs checked: the printed table, the
// wind-rose figures, and the same prediction made through the Python client
// giving identical numbers.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/json_reader.h"
#include "support/tool_run.h"
#include "support/xml_reader.h"

namespace kavi::e2e {
namespace {

struct CommandResult {
  int status;
  std::string output;
};

CommandResult RunShell(const std::string& command) {
  CommandResult result{-1, {}};
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
  return result;
}

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
    ++count;
  return count;
}

// The tool prints a single-precision result as the shortest text of its
// single; Python prints the double the interface gave. The two agree when
// the tool's number, read back as a single or a double, is Python's.
bool ReadsBackAs(double tool, double python) {
  return tool == python || static_cast<double>(static_cast<float>(tool)) == python;
}

TEST(Demo, TheMainJobRunsAndItsOutputsAgree) {
  const std::string source = KAVI_SOURCE_DIR;
  const std::string build = KAVI_BUILD_DIR;
  ScopedRegistry registry;
  ScratchFolder folder;
  const std::string out = folder.File("demo-output");
  const CommandResult demo =
      RunShell("'" + source + "/scripts/demo_chain.sh' '" + build + "' '" + out + "'");
  ASSERT_EQ(demo.status, 0) << demo.output;

  // Twenty turbine sites, each with its all-sector line and twelve sector rows.
  EXPECT_EQ(Count(demo.output, "\nSite "), 20u) << demo.output;
  EXPECT_EQ(Count(demo.output, "All sectors: A "), 20u);
  EXPECT_NE(demo.output.find("VEMO 6.0 RRD"), std::string::npos);

  // The figures are well-formed and hold one panel per site, twelve to a page.
  const XmlElement roses = ParseXml(ReadFile(out + "/turbines-1.svg"));
  EXPECT_EQ(roses.FindAll("g", "panel").size(), 12u);
  const XmlElement more = ParseXml(ReadFile(out + "/turbines-2.svg"));
  EXPECT_EQ(more.FindAll("g", "panel").size(), 8u);
  EXPECT_NO_THROW(ParseXml(ReadFile(out + "/station-rose.svg")));

  // A sanitized server cannot be loaded into a plain Python interpreter.
  if (KAVI_SANITIZED) return;
  // The same prediction through the command line (JSON) and the Python client.
  const std::string examples = source + "/examples/";
  const CommandResult json = RunShell(
      "'" + build + "/bin/kavicalc' predict --map '" + examples + "site.map' --atlas '" + out +
      "/station.lib' --height 80 --sites '" + examples + "turbines.csv' --format json");
  ASSERT_EQ(json.status, 0) << json.output;
  const CommandResult python =
      RunShell("cd '" + source + "' && PYTHONPATH=python KAVI_LIBRARY_DIR='" + build +
               "/lib' python3 -c '"
               "import csv, json, kavicalc\n"
               "sites = [(float(r[\"x\"]), float(r[\"y\"]), float(r[\"height\"])) "
               "for r in csv.DictReader(open(\"examples/turbines.csv\"))]\n"
               "print(json.dumps(kavicalc.predict(\"examples/site.map\", \"" +
               out +
               "/station.lib\", "
               "80.0, sites)))'");
  ASSERT_EQ(python.status, 0) << python.output;
  const JsonValue fromTool = ParseJson(json.output);
  const JsonValue fromPython = ParseJson(python.output);
  ASSERT_EQ(fromTool["sites"].items.size(), 20u);
  ASSERT_EQ(fromPython["sites"].items.size(), 20u);
  for (std::size_t i = 0; i < 20; ++i) {
    const JsonValue& a = fromTool["sites"][i];
    const JsonValue& b = fromPython["sites"][i];
    for (const char* key :
         {"x", "y", "height", "elevation", "weibull_a", "weibull_k", "power_density"})
      EXPECT_TRUE(ReadsBackAs(a[key].number, b[key].number))
          << "site " << i << " " << key << ": " << a[key].text << " " << b[key].text;
    ASSERT_EQ(a["sectors"].items.size(), 12u);
    for (std::size_t s = 0; s < 12; ++s)
      for (const char* key : {"frequency", "weibull_a", "weibull_k", "power_density"})
        EXPECT_TRUE(ReadsBackAs(a["sectors"][s][key].number, b["sectors"][s][key].number))
            << "site " << i << " sector " << s + 1 << " " << key;
  }
}

}  // namespace
}  // namespace kavi::e2e
