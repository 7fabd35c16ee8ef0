// kavicalc params: the 30 configuration parameters with value, default, valid
// range, unit and meaning, the effect of --set, and both editions.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <utility>

#include "support/json_reader.h"
#include "support/tool_run.h"

namespace kavi::e2e {
namespace {

// ID, value, default, minimum, maximum as the configuration is specified,
// in enumeration (ordinal) order.
using Row = std::vector<std::string>;
const std::vector<Row> kKavicalcParameters = {
    {"AOFSNEU", "0.11", "0.11", "0.01", "0.25"},
    {"BZAZRES", "5", "5", "1", "15"},
    {"BZINVHE", "1000", "1000", "100", "5000"},
    {"BZSOFTN", "1", "1", "0", "1"},
    {"DYAMPLI", "0.12", "0.12", "0.01", "0.25"},
    {"DYLAND", "100", "100", "50", "100"},
    {"DYWATER", "50", "50", "25", "300"},
    {"MAXRADIUS", "20000", "20000", "5000", "50000"},
    {"MAXRC", "10", "10", "1", "10"},
    {"NUMSTDH", "5", "5", "2", "5"},
    {"NUMSTDR", "5", "5", "2", "5"},
    {"OFSLAND", "-40", "-40", "-200", "200"},
    {"OFSWATER", "15", "15", "-200", "200"},
    {"RDECAYL", "10000", "10000", "1000", "1000000"},
    {"RMSLAND", "100", "100", "0", "200"},
    {"RMSWATER", "30", "30", "0", "200"},
    {"RNUMSECT", "9", "9", "1", "9"},
    {"STABFAC", "0.002", "0.002", "0", "0.005"},
    {"STDH1", "10", "10", "5", "200"},
    {"STDH2", "25", "25", "5", "200"},
    {"STDH3", "50", "50", "5", "200"},
    {"STDH4", "100", "100", "5", "200"},
    {"STDH5", "200", "200", "5", "200"},
    {"STDR1", "0", "0", "0", "2"},
    {"STDR2", "0.03", "0.03", "0", "2"},
    {"STDR3", "0.1", "0.1", "0", "2"},
    {"STDR4", "0.4", "0.4", "0", "2"},
    {"STDR5", "1.5", "1.5", "0", "2"},
    {"TRUEUPW", "false", "false", "false", "true"},
    {"WIDTHCZ", "10000", "10000", "5000", "50000"},
};

// The value columns ID … Maximum of each line of the table.
std::vector<Row> TableRows(const std::string& out) {
  std::vector<Row> rows;
  for (const std::string& line : Lines(out)) {
    std::istringstream words(line);
    Row row;
    for (std::string word; row.size() < 5 && words >> word;) row.push_back(word);
    rows.push_back(row);
  }
  return rows;
}

// The unit and the meaning that follow the value columns, by ID.
std::map<std::string, std::pair<std::string, std::string>> Descriptions(const std::string& out) {
  std::map<std::string, std::pair<std::string, std::string>> found;
  for (const std::string& line : Lines(out)) {
    std::istringstream words(line);
    std::string id, skipped, unit, meaning;
    words >> id >> skipped >> skipped >> skipped >> skipped >> unit >> std::ws;
    std::getline(words, meaning);
    found[id] = {unit, meaning};
  }
  return found;
}

Row RowOf(const std::vector<Row>& rows, const std::string& id) {
  for (const Row& row : rows)
    if (!row.empty() && row[0] == id) return row;
  return {};
}

class CliParamsTest : public ::testing::Test {
 protected:
  ScopedRegistry registry_;
};

TEST_F(CliParamsTest, ListsTheThirtyParametersWithValueDefaultAndRange) {
  const ToolResult r = RunKavicalc({"params"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  std::vector<Row> rows = TableRows(r.out);
  ASSERT_EQ(rows.size(), 31u) << r.out;
  EXPECT_EQ(rows[0], (Row{"ID", "Value", "Default", "Minimum", "Maximum"}));
  rows.erase(rows.begin());
  EXPECT_EQ(rows, kKavicalcParameters);
}

TEST_F(CliParamsTest, JsonHoldsTheSameValuesTyped) {
  const ToolResult r = RunKavicalc({"params", "--format", "json"});
  ASSERT_EQ(r.status, 0) << r.err;
  const JsonValue document = ParseJson(r.out);
  const JsonValue& parameters = document["parameters"];
  ASSERT_EQ(parameters.items.size(), kKavicalcParameters.size());
  for (std::size_t i = 0; i < parameters.items.size(); ++i) {
    const JsonValue& p = parameters[i];
    const Row& expected = kKavicalcParameters[i];
    EXPECT_EQ(p["id"].text, expected[0]);
    const char* fields[] = {"value", "default", "minimum", "maximum"};
    for (int f = 0; f < 4; ++f) {
      const JsonValue& v = p[fields[f]];
      if (expected[0] == "TRUEUPW") {
        ASSERT_EQ(v.kind, JsonValue::Kind::Boolean);
        EXPECT_EQ(v.boolean, expected[1 + f] == "true") << fields[f];
      } else {
        ASSERT_EQ(v.kind, JsonValue::Kind::Number) << expected[0];
        // Each number reads back as the single-precision value of the decimal.
        EXPECT_EQ(static_cast<float>(v.number), std::stof(expected[1 + f]))
            << expected[0] << " " << fields[f] << " " << v.text;
      }
    }
  }
  // Integer parameters print as integers, real ones as reals.
  EXPECT_EQ(parameters[9]["value"].text, "5");       // NUMSTDH
  EXPECT_EQ(parameters[22]["value"].text, "200.0");  // STDH5
}

TEST_F(CliParamsTest, EachParameterShowsItsUnitAndMeaningInTheTableAndJson) {
  const ToolResult table = RunKavicalc({"params"});
  ASSERT_EQ(table.status, 0) << table.err;
  const auto described = Descriptions(table.out);
  EXPECT_EQ(described.at("ID"), (std::pair<std::string, std::string>{"Unit", "Meaning"}));
  // Units as the configuration's parameters are described: heights, roughness
  // lengths, the decay length and the search radius in metres, the ray spacing
  // in degrees, counts without a unit.
  const std::pair<const char*, const char*> units[] = {
      {"STDH1", "m"},     {"STDH5", "m"},      {"STDR2", "m"},   {"RDECAYL", "m"},
      {"MAXRADIUS", "m"}, {"BZAZRES", "°"},    {"NUMSTDH", "-"}, {"RNUMSECT", "-"},
      {"MAXRC", "-"},     {"RMSLAND", "W/m²"}, {"TRUEUPW", "-"}};
  for (const auto& [id, unit] : units) EXPECT_EQ(described.at(id).first, unit) << id;

  const ToolResult json = RunKavicalc({"params", "--format", "json"});
  ASSERT_EQ(json.status, 0) << json.err;
  const JsonValue document = ParseJson(json.out);
  const JsonValue& parameters = document["parameters"];
  ASSERT_EQ(parameters.items.size(), kKavicalcParameters.size());
  for (std::size_t i = 0; i < parameters.items.size(); ++i) {
    const std::string id = parameters[i]["id"].text;
    const std::string unit = parameters[i]["unit"].text;
    EXPECT_GT(parameters[i]["meaning"].text.size(), 10u) << id;
    EXPECT_EQ(parameters[i]["meaning"].text, described.at(id).second) << id;
    EXPECT_EQ(unit.empty() ? "-" : unit, described.at(id).first) << id;
  }
}

TEST_F(CliParamsTest, SetValuesShowTheServersConversion) {
  const ToolResult r =
      RunKavicalc({"params", "--set", "NUMSTDH=4.6", "--set", "STDR2=0.05", "--set=STDH5=200",
                   "--set", "STDH3=75", "--set", "STDH3=80", "--set", "TRUEUPW=1"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<Row> rows = TableRows(r.out);
  EXPECT_EQ(RowOf(rows, "NUMSTDH"), (Row{"NUMSTDH", "5", "5", "2", "5"}));  // rounded on reading
  EXPECT_EQ(RowOf(rows, "STDR2"), (Row{"STDR2", "0.05", "0.03", "0", "2"}));
  EXPECT_EQ(RowOf(rows, "STDH5"), (Row{"STDH5", "200", "200", "5", "200"}));  // bound included
  EXPECT_EQ(RowOf(rows, "STDH3"), (Row{"STDH3", "80", "50", "5", "200"}));    // the last put holds
  EXPECT_EQ(RowOf(rows, "TRUEUPW"), (Row{"TRUEUPW", "true", "false", "false", "true"}));
  EXPECT_EQ(RowOf(rows, "STDH1"), (Row{"STDH1", "10", "10", "5", "200"}));  // untouched
}

TEST_F(CliParamsTest, RefusedValuesNameTheParameterValueAndRange) {
  // The ranges are those of the parameter table; the server's message ends the line.
  const std::string source = "kavicalc: Kavicalc.AtlasUser.1: ";
  struct Case {
    const char* setting;
    std::string line;
  };
  const Case cases[] = {
      {"STDH5=200.5", source + "parameter STDH5: value 200.5 refused, the valid range is 5 to "
                               "200: Parameter value out of range (0x80020009)"},
      {"STDH1=4.99", source + "parameter STDH1: value 4.99 refused, the valid range is 5 to 200: "
                              "Parameter value out of range (0x80020009)"},
      {"TRUEUPW=-1", source + "parameter TRUEUPW: value -1 refused, the valid range is false to "
                              "true: Parameter value out of range (0x80020009)"},
      {"MAXRADIUS=1e6", source + "parameter MAXRADIUS: value 1e6 refused, the valid range is "
                                 "5000 to 50000: Parameter value out of range (0x80020009)"},
      {"NOSUCH=1", source + "unknown parameter 'NOSUCH': Parameter ID not found. (0x80020009)"},
      // IDs are exact; the nearest ones are offered.
      {"stdh1=20", source + "unknown parameter 'stdh1' (nearest: STDH1, STDH2, STDH3): "
                            "Parameter ID not found. (0x80020009)"},
      {"RDECAY=20", source + "unknown parameter 'RDECAY' (nearest: RDECAYL): Parameter ID not "
                             "found. (0x80020009)"},
  };
  for (const Case& c : cases) {
    const ToolResult r = RunKavicalc({"params", "--set", c.setting});
    EXPECT_EQ(r.status, 1) << c.setting;
    EXPECT_EQ(r.out, "") << c.setting;
    EXPECT_EQ(Lines(r.err), std::vector<std::string>{c.line}) << c.setting;
  }
  // Text that is not a number is refused by the conversion itself.
  const ToolResult r = RunKavicalc({"params", "--set", "STDR2=abc"});
  EXPECT_EQ(r.status, 1);
  ASSERT_EQ(Lines(r.err).size(), 1u) << r.err;
  EXPECT_EQ(r.err.rfind(source + "parameter STDR2: value abc refused, the valid range is 0 to ", 0),
            0u)
      << r.err;
  EXPECT_NE(r.err.find("(0x80020005)"), std::string::npos) << r.err;
}

TEST_F(CliParamsTest, KavibaseHasItsOwnFourDefaults) {
  const ToolResult r = RunKavicalc({"--edition", "kavibase", "params"});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<Row> rows = TableRows(r.out);
  EXPECT_EQ(RowOf(rows, "NUMSTDR"), (Row{"NUMSTDR", "4", "4", "2", "5"}));
  EXPECT_EQ(RowOf(rows, "STDR5"), (Row{"STDR5", "1", "1", "0", "2"}));
  EXPECT_EQ(RowOf(rows, "RNUMSECT"), (Row{"RNUMSECT", "6", "6", "1", "9"}));
  EXPECT_EQ(RowOf(rows, "MAXRC"), (Row{"MAXRC", "7", "7", "1", "10"}));
  EXPECT_EQ(RowOf(rows, "NUMSTDH"), (Row{"NUMSTDH", "5", "5", "2", "5"}));
  EXPECT_EQ(rows.size(), 31u);

  // The edition may also follow the command name.
  const ToolResult after = RunKavicalc({"params", "--edition=kavibase"});
  ASSERT_EQ(after.status, 0) << after.err;
  EXPECT_EQ(after.out, r.out);
}

}  // namespace
}  // namespace kavi::e2e
