// The grid of nodes from --bounds or --around/--radius and --spacing, and the
// height list: node counts by hand and the refusals.
#include <gtest/gtest.h>

#include "grid_layout.h"
#include "usage_error.h"

namespace kavi::tool {
namespace {

ParsedOptions Options(const std::vector<std::pair<std::string, std::string>>& given) {
  ParsedOptions options("grid");
  for (const auto& [name, value] : given) options.Add(name, value);
  return options;
}

std::string Refusal(const std::vector<std::pair<std::string, std::string>>& given) {
  try {
    ParseGridLayout(Options(given));
  } catch (const UsageError& error) {
    return error.what();
  }
  return "accepted";
}

TEST(GridLayout, NodesFromTheSouthWestCornerAsFarAsTheArea) {
  const GridLayout grid =
      ParseGridLayout(Options({{"--bounds", "-1000,-500,1000,520"}, {"--spacing", "250"}}));
  EXPECT_EQ(grid.columns, 9u);  // -1000 … 1000
  EXPECT_EQ(grid.rows, 5u);     // -500 … 500; 520 is short of the next row
  EXPECT_EQ(grid.NodeCount(), 45u);
  EXPECT_EQ(grid.NodeX(10), -750.0);
  EXPECT_EQ(grid.NodeY(10), -250.0);
  EXPECT_EQ(grid.Y(grid.rows - 1), 500.0);
  // Spacings that do not divide the area exactly in binary still reach the edge.
  const GridLayout tenths =
      ParseGridLayout(Options({{"--bounds", "0,0,0.3,0.1"}, {"--spacing", "0.1"}}));
  EXPECT_EQ(tenths.columns, 4u);
  EXPECT_EQ(tenths.rows, 2u);
  const GridLayout around =
      ParseGridLayout(Options({{"--around", "100,200"}, {"--radius", "50"}, {"--spacing", "25"}}));
  EXPECT_EQ(around.x0, 50.0);
  EXPECT_EQ(around.y0, 150.0);
  EXPECT_EQ(around.columns, 5u);
  EXPECT_EQ(around.rows, 5u);
}

TEST(GridLayout, RefusesBadAreasSpacingsAndTooManyNodes) {
  EXPECT_NE(Refusal({{"--bounds", "0,0,10,10"}, {"--spacing", "0"}}).find("--spacing expects"),
            std::string::npos);
  EXPECT_NE(Refusal({{"--bounds", "0,0,10,10"}, {"--spacing", "-5"}}).find("--spacing"),
            std::string::npos);
  EXPECT_NE(Refusal({{"--bounds", "0,0,10,10"}}).find("missing required option --spacing"),
            std::string::npos);
  EXPECT_NE(Refusal({{"--bounds", "10,0,0,10"}, {"--spacing", "1"}}).find("X0 < X1"),
            std::string::npos);
  EXPECT_NE(Refusal({{"--bounds", "0,0,10"}, {"--spacing", "1"}}).find("--bounds expects"),
            std::string::npos);
  EXPECT_NE(Refusal({{"--around", "0,0"}, {"--spacing", "1"}}).find("--radius"), std::string::npos);
  EXPECT_NE(Refusal({{"--spacing", "1"}}).find("missing the area"), std::string::npos);
  EXPECT_NE(
      Refusal({{"--bounds", "0,0,1,1"}, {"--around", "0,0"}, {"--radius", "1"}, {"--spacing", "1"}})
          .find("either"),
      std::string::npos);
  // 3163 × 3163 nodes is just over ten million; 3162 × 3162 is under.
  EXPECT_NE(Refusal({{"--bounds", "0,0,3162,3162"}, {"--spacing", "1"}})
                .find("more than the 10000000 allowed"),
            std::string::npos);
  EXPECT_EQ(Refusal({{"--bounds", "0,0,3161,3161"}, {"--spacing", "1"}}), "accepted");
  EXPECT_NE(Refusal({{"--bounds", "0,0,1e300,1e300"}, {"--spacing", "1e-300"}}).find("more than"),
            std::string::npos);
}

TEST(GridLayout, HeightLists) {
  EXPECT_EQ(ParseHeightList("80", "grid"), std::vector<double>({80.0}));
  EXPECT_EQ(ParseHeightList("50, 80,100.5", "grid"), std::vector<double>({50.0, 80.0, 100.5}));
  for (const char* bad : {"", "50,", "50,,80", "0", "-10", "50,abc", "50;80", "nan"})
    EXPECT_THROW(ParseHeightList(bad, "grid"), UsageError) << bad;
  EXPECT_THROW(ParseHeightList("50,80,50", "grid"), UsageError);
}

}  // namespace
}  // namespace kavi::tool
