#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "numerics/free_format.h"

namespace kavi::numerics {
namespace {

bool Real(const std::string& text, float& value) {
  return ParseReal(text.data(), text.data() + text.size(), value);
}

bool Integer(const std::string& text, int& value) {
  return ParseInteger(text.data(), text.data() + text.size(), value);
}

TEST(FreeFormat, RealsRoundOnceToTheNearestSingle) {
  float v = 0.0f;
  ASSERT_TRUE(Real("0.1", v));
  EXPECT_EQ(v, 0.1f);
  ASSERT_TRUE(Real("16777217", v));  // halfway: ties to even
  EXPECT_EQ(v, 16777216.0f);
  // Just above the midpoint of 1 and the next single: a detour through double
  // would land on the midpoint and round down to 1.
  ASSERT_TRUE(Real("1.00000005960464477539062500000001", v));
  EXPECT_EQ(v, std::nextafter(1.0f, 2.0f));
  ASSERT_TRUE(Real("1e-50", v));  // below the single range: 0
  EXPECT_EQ(v, 0.0f);
  ASSERT_TRUE(Real("0." + std::string(398, '0') + "1", v));
  EXPECT_EQ(v, 0.0f);
  ASSERT_TRUE(Real("3.4028234e38", v));
  EXPECT_EQ(v, 3.4028234e38f);
}

TEST(FreeFormat, ShortDecimalsMatchTheLibraryConversion) {
  // Short decimals take a quicker route; it must give the same singles.
  std::mt19937 random(17);
  for (int i = 0; i < 200000; ++i) {
    const unsigned digits = random() % 100000000u;
    const int decimals = static_cast<int>(random() % 12);
    std::string text = std::to_string(digits);
    if (decimals > 0) {
      if (text.size() <= static_cast<std::size_t>(decimals)) {
        text.insert(0, decimals - text.size() + 1, '0');
      }
      text.insert(text.size() - decimals, ".");
    }
    float expected = 0.0f;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    float v = -1.0f;
    ASSERT_TRUE(Real(text, v)) << text;
    ASSERT_EQ(v, expected) << text;
  }
}

TEST(FreeFormat, RealSyntax) {
  float v = 0.0f;
  const std::pair<const char*, float> good[] = {
      {"12", 12.0f},     {"-12.5", -12.5f}, {"+.5", 0.5f},     {"7.", 7.0f},
      {"1.5D2", 150.0f}, {"1.5d-1", 0.15f}, {"2E+3", 2000.0f}, {"-0.25e1", -2.5f},
  };
  for (const auto& [text, value] : good) {
    ASSERT_TRUE(Real(text, v)) << text;
    EXPECT_EQ(v, value) << text;
  }
  const char* bad[] = {"",          ".",    "-",    "+-1",   "1e",  "1.5.2", "inf", "NaN",
                       "-Infinity", "0x10", "1e39", "12abc", "1,5", "1 5",   "D5",  "1.0E5D"};
  for (const char* text : bad) EXPECT_FALSE(Real(text, v)) << text;
  EXPECT_FALSE(Real("1" + std::string(400, '0'), v));   // beyond single precision
  EXPECT_FALSE(Real(std::string(600, '1') + "D0", v));  // too long to rewrite
}

TEST(FreeFormat, IntegerSyntax) {
  int n = 0;
  ASSERT_TRUE(Integer("42", n));
  EXPECT_EQ(n, 42);
  ASSERT_TRUE(Integer("+7", n));
  EXPECT_EQ(n, 7);
  ASSERT_TRUE(Integer("-2147483648", n));
  EXPECT_EQ(n, -2147483647 - 1);
  for (const char* text : {"4.0", "4.", "1e2", "2147483648", "x", "", "-", "12a"}) {
    EXPECT_FALSE(Integer(text, n)) << text;
  }
}

TEST(FreeFormat, FieldsOfARecord) {
  const char record[] = " 1.5,, 2\t-3 x";
  FieldReader in(record, static_cast<int>(std::strlen(record)));
  float a = 0.0f;
  int b = 0;
  float c = 0.0f;
  float d = 0.0f;
  EXPECT_TRUE(in.NextReal(a));
  EXPECT_TRUE(in.NextInteger(b));
  EXPECT_TRUE(in.NextReal(c));
  EXPECT_FALSE(in.NextReal(d));  // "x"
  EXPECT_FALSE(in.NextReal(d));  // nothing left
  EXPECT_EQ(a, 1.5f);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, -3.0f);
}

}  // namespace
}  // namespace kavi::numerics
