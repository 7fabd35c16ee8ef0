// kavicalc --plot: the SVG images of predict (a wind rose per site) and rose
// (the roughness rose just written) are well-formed XML that carry the
// calculated values, and a plot that cannot be written fails like any other
// failure and leaves nothing behind. Skipped while the server reports a step
// as not implemented.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <regex>
#include <set>
#include <sstream>

#include "support/example_files.h"
#include "support/json_reader.h"
#include "support/tool_run.h"
#include "support/xml_reader.h"

namespace kavi::e2e {
namespace {

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// The names of the files in folder.
std::set<std::string> FilesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// A map whose only line is a circle of radius metres around the origin,
// drawn counter-clockwise, with roughness inside on its left and outside on
// its right.
std::string CircleMapText(double radius, double inside, double outside) {
  constexpr int kPoints = 360;
  std::ostringstream map;
  map << "+ a roughness circle around the origin\n\n1\n"
      << inside << " " << outside << " " << kPoints + 1 << "\n";
  for (int i = 0; i <= kPoints; ++i) {
    const double angle = 2 * std::numbers::pi * (i % kPoints) / kPoints;
    map << radius * std::cos(angle) << " " << radius * std::sin(angle) << "\n";
  }
  return map.str();
}

class CliPlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    map_ = files_.Write("flat.map", FlatMapText());
    atlas_ = files_.Write("uniform.lib", UniformAtlasText());
  }
  static XmlElement ParsedSvg(const std::string& path) {
    const XmlElement svg = ParseXml(ReadFile(path));
    EXPECT_EQ(svg.name, "svg");
    EXPECT_EQ(svg.Attribute("xmlns"), "http://www.w3.org/2000/svg");
    return svg;
  }
  static void ExpectWriteFailure(const ToolResult& r, const std::string& path,
                                 const std::string& reason) {
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Lines(r.err), std::vector<std::string>{"kavicalc: : could not write " + path + ": " +
                                                     reason + " (0x80004005)"});
  }
  ScopedRegistry registry_;
  ScratchFolder files_;
  std::string map_;
  std::string atlas_;
};

// The check of well-formedness the tests rely on does refuse broken documents.
TEST(XmlReaderTest, RefusesWhatIsNotWellFormed) {
  const XmlElement ok =
      ParseXml("<?xml version=\"1.0\"?>\n<a x=\"1 &amp; 2\"><b/>t&#233;&lt;</a>\n");
  EXPECT_EQ(ok.Attribute("x"), "1 & 2");
  EXPECT_EQ(ok.text, "t\xC3\xA9<");
  for (const char* bad : {"<a>", "<a></b>", "<a>&</a>", "<a>&nbsp;</a>", "<a x=\"1\" x=\"2\"/>",
                          "<a x=1/>", "<a x=\"<\"/>", "<a>\xFF</a>", "<a>\x01</a>", "<a>&#1;</a>",
                          "<a/><b/>", "<a><!-- - -- --></a>", "<a>]]></a>", "text<a/>"})
    EXPECT_THROW(ParseXml(bad), std::runtime_error) << bad;
}

// Per panel, the A of each sector written around the rose and the all-sector
// values in the title match what the same prediction gives as JSON.
TEST_F(CliPlotTest, WindRosesCarryThePredictedValuesOfEachSite) {
  const std::string examples = std::string(KAVI_SOURCE_DIR) + "/examples/";
  const std::vector<std::string> args = {"predict",
                                         "--map",
                                         examples + "site.map",
                                         "--atlas",
                                         examples + "station.lib",
                                         "--height",
                                         "80",
                                         "--at",
                                         "1500,1000",
                                         "--at",
                                         "-3000,1500",
                                         "--format",
                                         "json"};
  const ToolResult json = RunKavicalc(args);
  ASSERT_EQ(json.status, 0) << json.err;
  std::vector<std::string> plotArgs = args;
  const std::string plot = files_.File("roses.svg");
  plotArgs.insert(plotArgs.end(), {"--plot", plot});
  const ToolResult plotted = RunKavicalc(plotArgs);
  ASSERT_EQ(plotted.status, 0) << plotted.err;
  EXPECT_EQ(plotted.out, json.out);  // the plot leaves the printed results as they were
  EXPECT_EQ(plotted.err, "kavicalc: wind roses of sites 1 to 2 written to " + plot + "\n");

  const JsonValue sites = ParseJson(json.out)["sites"];
  const XmlElement svg = ParsedSvg(plot);
  const std::vector<const XmlElement*> panels = svg.FindAll("g", "panel");
  ASSERT_EQ(panels.size(), 2u);
  for (std::size_t p = 0; p < panels.size(); ++p) {
    const JsonValue& site = sites[p];
    const XmlElement& panel = *panels[p];
    const std::vector<const XmlElement*> title = panel.FindAll("text", "panel-title");
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(title[0]->text,
              p == 0 ? "Site 1: x 1500 m, y 1000 m" : "Site 2: x -3000 m, y 1500 m");
    const std::vector<const XmlElement*> totals = panel.FindAll("text", "site-totals");
    ASSERT_EQ(totals.size(), 1u);
    EXPECT_EQ(totals[0]->text, "All sectors: A " + Fixed(site["weibull_a"].number, 2) + " m/s, k " +
                                   Fixed(site["weibull_k"].number, 3) + ", power density " +
                                   Fixed(site["power_density"].number, 1) + " W/m²");
    const JsonValue& sectors = site["sectors"];
    const std::vector<const XmlElement*> labels = panel.FindAll("text", "sector-a");
    ASSERT_EQ(labels.size(), sectors.items.size());
    EXPECT_EQ(panel.FindAll("g", "sector").size(), sectors.items.size());
    std::set<std::string> colours;
    for (std::size_t s = 0; s < labels.size(); ++s) {
      EXPECT_EQ(labels[s]->text, Fixed(sectors[s]["weibull_a"].number, 1)) << "sector " << s + 1;
      for (const XmlElement* wedge : panel.FindAll("g", "sector")[s]->FindAll("path"))
        colours.insert(wedge->Attribute("fill"));
    }
    EXPECT_GT(colours.size(), 6u);  // the sectors' A differ, and so do their colours
  }
  EXPECT_EQ(FilesIn(files_.File("")),
            (std::set<std::string>{"flat.map", "uniform.lib", "roses.svg"}));
}

// The tick labels under the colour scale of A.
std::vector<std::string> SpeedTicks(const XmlElement& svg) {
  std::vector<std::string> ticks;
  for (const XmlElement* text : svg.FindAll("text"))
    if (text->Attribute("text-anchor") == "middle" && text->Attribute("font-size") == "11" &&
        !text->Attribute("class").size())
      ticks.push_back(text->text);
  return ticks;
}

TEST_F(CliPlotTest, EverySiteIsDrawnOnPagesThatSayWhereTheyAre) {
  std::string rows = "x,y\n";
  for (int i = 0; i < 20; ++i) rows += std::to_string(100 * i) + ",0\n";
  const std::string sites = files_.Write("sites.csv", rows);
  const std::string plot = files_.File("many.svg");
  const ToolResult r = RunKavicalc({"predict", "--map", map_, "--atlas", atlas_, "--height", "50",
                                    "--sites", sites, "--format", "csv", "--plot", plot});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Lines(r.out).size(), 1u + 20 * 13);  // every site is in the printed results
  const std::string first = files_.File("many-1.svg"), second = files_.File("many-2.svg");
  EXPECT_EQ(Lines(r.err), (std::vector<std::string>{
                              "kavicalc: wind roses of sites 1 to 12 written to " + first,
                              "kavicalc: wind roses of sites 13 to 20 written to " + second}));
  EXPECT_FALSE(std::filesystem::exists(plot));
  const XmlElement page1 = ParsedSvg(first), page2 = ParsedSvg(second);
  ASSERT_EQ(page1.FindAll("g", "panel").size(), 12u);
  const std::vector<const XmlElement*> panels = page2.FindAll("g", "panel");
  ASSERT_EQ(panels.size(), 8u);
  EXPECT_EQ(panels[0]->FindAll("text", "panel-title").at(0)->text, "Site 13: x 1200 m, y 0 m");
  EXPECT_EQ(panels[7]->FindAll("text", "panel-title").at(0)->text, "Site 20: x 1900 m, y 0 m");
  const std::vector<const XmlElement*> notes = page2.FindAll("text", "note");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(notes[0]->text, "Page 2 of 2: sites 13 to 20 of 20.");
  // Both pages, and any other figure, share the fixed colour scale of A.
  const std::vector<std::string> ticks = {"0", "5", "10", "15", "20"};
  EXPECT_EQ(SpeedTicks(page1), ticks);
  EXPECT_EQ(SpeedTicks(page2), ticks);

  // --scale sets another range.
  const std::string scaled = files_.File("scaled.svg");
  const ToolResult s = RunKavicalc({"predict", "--map", map_, "--atlas", atlas_, "--height", "50",
                                    "--at", "0,0", "--plot", scaled, "--scale", "4,14"});
  ASSERT_EQ(s.status, 0) << s.err;
  EXPECT_EQ(SpeedTicks(ParsedSvg(scaled)),
            (std::vector<std::string>{"4", "6", "8", "10", "12", "14"}));
  for (const char* wrong : {"14,4", "4", "-1,5", "a,b"}) {
    const ToolResult bad = RunKavicalc({"predict", "--map", map_, "--atlas", atlas_, "--height",
                                        "50", "--at", "0,0", "--plot", scaled, "--scale", wrong});
    EXPECT_EQ(bad.status, 2) << wrong;
    EXPECT_NE(bad.err.find("--scale expects MIN,MAX"), std::string::npos) << bad.err;
  }
}

TEST_F(CliPlotTest, PngNamesGetPngImagesAndOtherNamesAreRefused) {
  const std::string png = files_.File("roses.PNG");
  const ToolResult r = RunKavicalc({"predict", "--map", map_, "--atlas", atlas_, "--height", "50",
                                    "--at", "0,0", "--at", "500,0", "--plot", png});
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string image = ReadFile(png);
  ASSERT_GT(image.size(), 1000u);
  EXPECT_EQ(image.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  // The header chunk gives the page's size in pixels: the SVG page's own.
  const auto be32 = [&](std::size_t at) {
    return (static_cast<unsigned char>(image[at]) << 24) |
           (static_cast<unsigned char>(image[at + 1]) << 16) |
           (static_cast<unsigned char>(image[at + 2]) << 8) |
           static_cast<unsigned char>(image[at + 3]);
  };
  EXPECT_EQ(image.substr(12, 4), "IHDR");
  const std::string svg = files_.File("roses.svg");
  ASSERT_EQ(RunKavicalc({"predict", "--map", map_, "--atlas", atlas_, "--height", "50", "--at",
                         "0,0", "--at", "500,0", "--plot", svg})
                .status,
            0);
  const XmlElement page = ParsedSvg(svg);
  EXPECT_EQ(std::to_string(be32(16)), page.Attribute("width"));
  EXPECT_EQ(std::to_string(be32(20)), page.Attribute("height"));

  // The roughness rose's plot too.
  const std::string rosePng = files_.File("rose.png");
  ASSERT_EQ(RunKavicalc({"rose", "--map", map_, "--sectors", "12", "--at", "0,0", "--out",
                         files_.File("site.rrd"), "--plot", rosePng})
                .status,
            0);
  EXPECT_EQ(ReadFile(rosePng).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));

  const std::string pdf = files_.File("roses.pdf");
  const ToolResult refused = RunKavicalc({"predict", "--map", map_, "--atlas", atlas_, "--height",
                                          "50", "--at", "0,0", "--plot", pdf});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("must end in .svg or .png"), std::string::npos) << refused.err;
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(CliPlotTest, ThirtySixSectorsKeepALabelPerSector) {
  const std::string tab = files_.Write("s36.tab", WeibullClimateText(36, 7.0, 2.0));
  const std::string atlas = files_.File("s36.lib");
  const ToolResult made = RunKavicalc(
      {"atlas", "--map", map_, "--tab", tab, "--height", "30", "--at", "0,0", "--out", atlas});
  ASSERT_EQ(made.status, 0) << made.err;
  const std::string plot = files_.File("s36.svg");
  const ToolResult r = RunKavicalc({"predict", "--map", map_, "--atlas", atlas, "--height", "30",
                                    "--at", "0,0", "--format", "json", "--plot", plot});
  ASSERT_EQ(r.status, 0) << r.err;
  const JsonValue sectors = ParseJson(r.out)["sites"][0]["sectors"];
  ASSERT_EQ(sectors.items.size(), 36u);
  const XmlElement svg = ParsedSvg(plot);
  const std::vector<const XmlElement*> labels = svg.FindAll("text", "sector-a");
  ASSERT_EQ(labels.size(), 36u);
  for (std::size_t s = 0; s < 36; ++s)
    EXPECT_EQ(labels[s]->text, Fixed(sectors[s]["weibull_a"].number, 1));
  EXPECT_EQ(svg.FindAll("g", "sector").size(), 36u);
}

// Names in the figure are escaped, and characters XML cannot hold replaced,
// so that the document stays well-formed whatever the file is called.
TEST_F(CliPlotTest, AtlasNamesOfAnyKindKeepTheDocumentWellFormed) {
  const std::string atlas = files_.Write("a&b <c> \"d\" 'e'\x01.lib", UniformAtlasText());
  const std::string plot = files_.File("named.svg");
  const ToolResult r = RunKavicalc({"predict", "--map", map_, "--atlas", atlas, "--height", "50",
                                    "--at", "0,0", "--plot", plot});
  ASSERT_EQ(r.status, 0) << r.err;
  const XmlElement svg = ParsedSvg(plot);
  const std::vector<const XmlElement*> key = svg.FindAll("text", "key");
  ASSERT_FALSE(key.empty());
  EXPECT_EQ(key[0]->text.rfind("Wind atlas a&b <c> \"d\" 'e'\xEF\xBF\xBD.lib;", 0), 0u)
      << key[0]->text;  // U+FFFD in place of the control character
}

// A circle of roughness 0.1 m inside and 0.5 m outside, 1 km around the site:
// every sector has one change at 1 km. The plot shows a wedge per sector with
// two rings, split on the dashed distance ring labelled 1 km, in the colours
// the legend gives the nearest classes, 0.1 m and 0.4 m.
TEST_F(CliPlotTest, RoughnessRoseShowsEachSectorsRingsAtTheirDistances) {
  const std::string map = files_.Write("circle.map", CircleMapText(1000, 0.1, 0.5));
  const std::string rose = files_.File("site.rrd");
  const std::string plot = files_.File("rose.svg");
  const ToolResult r = RunKavicalc({"rose", "--map", map, "--sectors", "12", "--at", "0,0", "--out",
                                    rose, "--set", "MAXRC=7", "--plot", plot});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Lines(r.out).back(), "Plot of the roughness rose written to " + plot);
  EXPECT_EQ(Lines(ReadFile(rose)).at(3).find_first_not_of(" 1"), std::string::npos)
      << "one change in every sector";

  const XmlElement svg = ParsedSvg(plot);
  std::map<std::string, std::string> classColour;
  for (const XmlElement* swatch : svg.FindAll("g", "roughness-class")) {
    const std::string label = swatch->FindAll("text").at(0)->text;
    classColour[label.substr(0, label.find(' '))] =
        swatch->FindAll("rect").at(0)->Attribute("fill");
  }
  ASSERT_EQ(classColour.size(), 13u);
  EXPECT_NE(classColour["0.1"], classColour["0.4"]);

  double oneKilometre = 0;
  const std::vector<const XmlElement*> rings = svg.FindAll("circle", "distance-ring");
  const std::vector<const XmlElement*> ringLabels = svg.FindAll("text", "distance-label");
  ASSERT_EQ(rings.size(), ringLabels.size());
  for (std::size_t i = 0; i < rings.size(); ++i)
    if (ringLabels[i]->text == "1 km") oneKilometre = std::stod(rings[i]->Attribute("r"));
  ASSERT_GT(oneKilometre, 0) << "no distance ring at 1 km";

  const std::vector<const XmlElement*> sectors = svg.FindAll("g", "sector");
  ASSERT_EQ(sectors.size(), 12u);
  for (std::size_t s = 0; s < sectors.size(); ++s) {
    const std::vector<const XmlElement*> parts = sectors[s]->FindAll("path", "ring");
    ASSERT_EQ(parts.size(), 2u) << "sector " << s + 1;
    EXPECT_EQ(parts[0]->Attribute("fill"), classColour["0.1"]);
    EXPECT_EQ(parts[1]->Attribute("fill"), classColour["0.4"]);
    // The inner ring ends, and the outer begins, on the 1 km circle: the
    // radius of the first arc of each path ("M x y A r r ...").
    std::smatch arc;
    const std::string inner = parts[0]->Attribute("d");
    const std::string outer = parts[1]->Attribute("d");
    ASSERT_TRUE(std::regex_search(inner, arc, std::regex(" A ([0-9.]+) ")));
    EXPECT_NEAR(std::stod(arc[1]), oneKilometre, 0.1);
    ASSERT_TRUE(std::regex_search(outer, arc, std::regex(" L [-0-9. ]+ A ([0-9.]+) ")));
    EXPECT_NEAR(std::stod(arc[1]), oneKilometre, 0.1);
    const std::string tip = parts[0]->FindAll("title").at(0)->text;
    EXPECT_NE(tip.find("z0 0.1 m from the site to 1 km"), std::string::npos) << tip;
  }
}

TEST_F(CliPlotTest, APlotThatCannotBeWrittenFailsAndLeavesNothingBehind) {
  const std::string missing = files_.File("no-such-folder/roses.svg");
  const ToolResult predict = RunKavicalc({"predict", "--map", map_, "--atlas", atlas_, "--height",
                                          "50", "--at", "0,0", "--plot", missing});
  // Refused before the calculation: no results printed, then a failure.
  ExpectWriteFailure(predict, missing,
                     "the folder '" + files_.File("no-such-folder") + "' does not exist");
  EXPECT_EQ(predict.out, "");
  EXPECT_FALSE(std::filesystem::exists(files_.File("no-such-folder")));

  const std::string folder = files_.File("taken.svg");
  std::filesystem::create_directory(folder);
  ExpectWriteFailure(RunKavicalc({"predict", "--map", map_, "--atlas", atlas_, "--height", "50",
                                  "--at", "0,0", "--plot", folder}),
                     folder, "'" + folder + "' is a folder");
  EXPECT_TRUE(std::filesystem::is_empty(folder));

  // The rose is not calculated either, so no output is half done.
  const std::string rose = files_.File("site.rrd");
  const ToolResult r = RunKavicalc(
      {"rose", "--map", map_, "--sectors", "12", "--at", "0,0", "--out", rose, "--plot", folder});
  ExpectWriteFailure(r, folder, "'" + folder + "' is a folder");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(FilesIn(files_.File("")),
            (std::set<std::string>{"flat.map", "uniform.lib", "taken.svg"}));
}

TEST_F(CliPlotTest, AnEarlierPlotIsReplacedWholeOrNotAtAll) {
  const std::string plot = files_.Write("roses.svg", "an earlier plot");
  const ToolResult failed = RunKavicalc({"predict", "--map", files_.File("missing.map"), "--atlas",
                                         atlas_, "--height", "50", "--at", "0,0", "--plot", plot});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(ReadFile(plot), "an earlier plot");  // a failed calculation draws nothing

  const ToolResult r = RunKavicalc({"predict", "--map", map_, "--atlas", atlas_, "--height", "50",
                                    "--at", "0,0", "--plot", plot});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ParsedSvg(plot).FindAll("g", "panel").size(), 1u);
  EXPECT_EQ(std::filesystem::status(plot).permissions() & std::filesystem::perms::others_read,
            std::filesystem::status(map_).permissions() & std::filesystem::perms::others_read)
      << "the plot gets the permissions of any new file";
}

TEST_F(CliPlotTest, PlotOptionsThatCannotWorkAreUsageErrors) {
  ToolResult r = RunKavicalc(
      {"predict", "--map", map_, "--atlas", atlas_, "--height", "50", "--at", "0,0", "--plot", ""});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(Lines(r.err), std::vector<std::string>{"kavicalc: --plot needs a file name (see "
                                                   "'kavicalc predict --help')"});
  const std::string rose = files_.File("site.rrd");
  r = RunKavicalc({"rose", "--map", map_, "--sectors", "12", "--at", "0,0", "--out", rose, "--plot",
                   files_.File("./site.rrd")});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(Lines(r.err),
            std::vector<std::string>{"kavicalc: --plot '" + files_.File("./site.rrd") +
                                     "' is the same file as --out '" + rose +
                                     "'; write the output to another file "
                                     "(see 'kavicalc rose --help')"});
  EXPECT_FALSE(std::filesystem::exists(rose));
}

}  // namespace
}  // namespace kavi::e2e
