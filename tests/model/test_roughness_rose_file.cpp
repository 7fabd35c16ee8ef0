#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <string>

#include "model/exceptions.h"
#include "model/roughness_rose_file.h"
#include "numerics/support/scratch_directory.h"

namespace kavi::model {
namespace {

using numerics::RoughnessRose;
using numerics::testing::ScratchDirectory;

// Runs `action` and returns the description of the RuntimeError it throws
// (empty when it throws none), checking the context.
template <typename Action>
std::u16string ErrorOf(Action action, const std::u16string& context) {
  try {
    action();
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.context(), context);
    EXPECT_EQ(error.code(), kRuntimeErrorCode);
    return error.description();
  }
  return u"";
}

std::u16string LoadError(const std::string& path, int nsec, RoughnessRose& rose) {
  return ErrorOf([&] { LoadRoughnessRose(path, nsec, rose); }, u"CRoughnessRose::Load");
}

std::u16string SaveError(const std::string& path, int nsec, const RoughnessRose& rose) {
  return ErrorOf([&] { SaveRoughnessRose(path, nsec, rose); }, u"CRoughnessRose::Save");
}

RoughnessRose PlainRose(float z0) {
  RoughnessRose rose;
  for (int i = 0; i < numerics::kMaxSectors; ++i) rose.z0[0][i] = z0;
  return rose;
}

std::string Fields(const std::string& field, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += std::string(14 - field.size(), ' ') + field;
  return text;
}

TEST(RoughnessRoseFile, RoseWithoutChanges) {
  ScratchDirectory dir;
  ASSERT_EQ(SaveError(dir.File("plain.rrd"), 12, PlainRose(0.03f)), u"");
  EXPECT_EQ(dir.Read("plain.rrd"),
            "VEMO 6.0 RRD\n\n12\n" + Fields("0", 12) + "\n" + Fields("0.03", 12));
}

TEST(RoughnessRoseFile, GeneralFormatWithFiveDigits) {
  RoughnessRose rose = PlainRose(0.0002f);
  rose.changes[0] = 1;
  rose.z0[0][1] = 123456.0f;  // exponent form from 1e5 on
  rose.z0[0][2] = 0.00001234f;
  rose.z0[1][0] = 1.5f;
  rose.distance[0][0] = 1234.5678f;
  ScratchDirectory dir;
  ASSERT_EQ(SaveError(dir.File("r.rrd"), 3, rose), u"");
  EXPECT_EQ(dir.Read("r.rrd"), "VEMO 6.0 RRD\n\n3\n" + Fields("1", 1) + Fields("0", 2) + "\n" +
                                   Fields("0.0002", 1) + Fields("1.2346e+05", 1) +
                                   Fields("1.234e-05", 1) + "\n" + Fields("1234.6", 1) +
                                   Fields("0", 2) + "\n" + Fields("1.5", 1) + Fields("0", 2));
}

TEST(RoughnessRoseFile, RoundTripKeepsFiveSignificantDigits) {
  std::mt19937 random(3);
  std::uniform_real_distribution<float> exponent(-5.0f, 5.0f);
  RoughnessRose rose;
  for (int i = 0; i < 36; ++i) {
    rose.changes[i] = static_cast<int>(random() % 11);
    // Plausible roses: roughness lengths up to 10 m, distances increasing outward.
    for (int r = 0; r <= 10; ++r) rose.z0[r][i] = std::pow(10.0f, exponent(random) * 0.59f - 2.0f);
    for (int r = 0; r < 10; ++r) rose.distance[r][i] = std::pow(10.0f, exponent(random) + 1);
    float sorted[10];
    for (int r = 0; r < 10; ++r) sorted[r] = rose.distance[r][i];
    std::sort(sorted, sorted + 10);
    for (int r = 0; r < 10; ++r) rose.distance[r][i] = sorted[r] * (1.0f + 0.01f * r);
  }
  rose.changes[5] = 10;
  ScratchDirectory dir;
  ASSERT_EQ(SaveError(dir.File("rose.rrd"), 36, rose), u"");
  RoughnessRose loaded;
  ASSERT_EQ(LoadError(dir.File("rose.rrd"), 36, loaded), u"");
  for (int i = 0; i < 36; ++i) {
    ASSERT_EQ(loaded.changes[i], rose.changes[i]);
    // Every ring up to the largest count is written, for every sector.
    for (int r = 0; r <= 10; ++r) {
      EXPECT_NEAR(loaded.z0[r][i], rose.z0[r][i], 5e-5f * rose.z0[r][i]) << r << " " << i;
    }
    for (int r = 0; r < 10; ++r) {
      EXPECT_NEAR(loaded.distance[r][i], rose.distance[r][i], 5e-5f * rose.distance[r][i]);
    }
  }
}

TEST(RoughnessRoseFile, LoadSkipsTheTagAndNeedsTheSectorCount) {
  ScratchDirectory dir;
  const std::string path =
      dir.Write("r.rrd", "not the tag\nanything\n2\n1 0\n0.1 0.2\n500 9\n0.5 7");
  RoughnessRose rose = PlainRose(0.03f);
  ASSERT_EQ(LoadError(path, 2, rose), u"");
  EXPECT_EQ(rose.changes[0], 1);
  EXPECT_EQ(rose.z0[0][1], 0.2f);
  EXPECT_EQ(rose.distance[0][0], 500.0f);
  EXPECT_EQ(rose.z0[1][0], 0.5f);

  RoughnessRose other = PlainRose(0.03f);
  EXPECT_EQ(LoadError(path, 3, other),
            u"Roughness rose is compatible with histogram (number of sectors mismatch).");
  EXPECT_EQ(other.changes[0], 0);
  EXPECT_EQ(other.z0[0][0], 0.03f);
}

TEST(RoughnessRoseFile, ShortFilesAndUnreadableValuesAreRefused) {
  ScratchDirectory dir;
  const std::u16string incomplete =
      u"Cannot open file: fewer values than the counts announce, or one that is not a number";
  const std::string valid = "VEMO 6.0 RRD\n\n3\n1 0 0\n0.1 0.2 0.3\n500 9 9\n0.5 0.6 0.7";
  // Cut anywhere after the sector count, the file lacks values its counts announce.
  for (std::size_t size = valid.find("\n3\n") + 3; size < valid.size() - 1; ++size) {
    if (valid[size - 1] == ' ' || valid[size - 1] == '\n') continue;  // cut between values
    RoughnessRose rose = PlainRose(0.03f);
    const std::string text = valid.substr(0, size - 1);
    EXPECT_EQ(LoadError(dir.Write("r.rrd", text), 3, rose), incomplete) << text;
    EXPECT_EQ(rose.z0[0][0], 0.03f);  // left as it was
    EXPECT_EQ(rose.changes[0], 0);
  }
  RoughnessRose rose = PlainRose(0.03f);
  EXPECT_EQ(LoadError(dir.Write("r.rrd", "VEMO 6.0 RRD\n\n3\n0 0 0\n0.1 bad 0.3\n"), 3, rose),
            incomplete);
  EXPECT_EQ(LoadError(dir.Write("r.rrd", "garbage\n\n12\n"), 12, rose), incomplete);
  EXPECT_EQ(rose.z0[0][1], 0.03f);
}

TEST(RoughnessRoseFile, ImplausibleRoughnessAndDistancesAreRefused) {
  ScratchDirectory dir;
  const auto load = [&](const std::string& body) {
    RoughnessRose rose = PlainRose(0.03f);
    const std::u16string error =
        LoadError(dir.Write("r.rrd", "VEMO 6.0 RRD\n\n2\n2 0\n" + body), 2, rose);
    if (!error.empty()) {
      EXPECT_EQ(rose.z0[0][0], 0.03f);  // a refused file changes nothing
    }
    return std::string(error.begin(), error.end());
  };
  // Rings: z0[0], d[0], z0[1], d[1], z0[2]; the second sector uses z0[0] only.
  EXPECT_EQ(load("0.1 0.2\n100 0\n0.3 0\n500 0\n0.0002 0"), "");
  EXPECT_EQ(load("0 10\n0 0\n0.3 0\n500 0\n9.99 0"), "");  // water, limits, a change at 0
  EXPECT_EQ(load("-1 0.2\n100 0\n0.3 0\n500 0\n0.1 0"),
            "Cannot open file: sector 1: roughness length -1 m outside 0 to 10 m");
  EXPECT_EQ(load("0.1 1e30\n100 0\n0.3 0\n500 0\n0.1 0"),
            "Cannot open file: sector 2: roughness length 1e+30 m outside 0 to 10 m");
  EXPECT_EQ(load("0.1 0.2\n-500 0\n0.3 0\n500 0\n0.1 0"),
            "Cannot open file: sector 1: change distance -500 m");
  EXPECT_EQ(load("0.1 0.2\n500 0\n0.3 0\n100 0\n0.1 0"),
            "Cannot open file: sector 1: change distances not increasing (500 m, then 100 m)");
  EXPECT_EQ(load("0.1 0.2\n500 0\n0.3 0\n500 0\n0.1 0"),
            "Cannot open file: sector 1: change distances not increasing (500 m, then 500 m)");
  // Unused rings may hold anything.
  EXPECT_EQ(load("0.1 0.2\n100 -7\n0.3 -1\n500 -9\n0.1 1e30"), "");
}

TEST(RoughnessRoseFile, RefusesMoreChangesThanTheRoseHolds) {
  ScratchDirectory dir;
  RoughnessRose rose = PlainRose(0.03f);
  EXPECT_EQ(LoadError(dir.Write("r.rrd", "VEMO 6.0 RRD\n\n2\n0 11\n"), 2, rose),
            u"Cannot open file: more than 10 roughness changes in a sector");
  EXPECT_EQ(LoadError(dir.Write("r.rrd", "VEMO 6.0 RRD\n\n2\n-4 0\n"), 2, rose),
            u"Cannot open file: negative number of roughness changes in a sector");
  EXPECT_EQ(rose.changes[1], 0);
  rose.changes[1] = 11;
  EXPECT_EQ(SaveError(dir.File("w.rrd"), 2, rose),
            u"Cannot open file: more than 10 roughness changes in a sector");
  EXPECT_FALSE(std::filesystem::exists(dir.File("w.rrd")));
}

TEST(RoughnessRoseFile, FilesThatCannotBeOpened) {
  ScratchDirectory dir;
  RoughnessRose rose = PlainRose(0.03f);
  EXPECT_EQ(LoadError(dir.File("missing.rrd"), 12, rose), u"Cannot open file");
  EXPECT_EQ(LoadError(dir.path(), 12, rose), u"Cannot open file");
  EXPECT_EQ(SaveError(dir.path(), 12, rose), u"Cannot open file");
  EXPECT_EQ(SaveError(dir.File("no/such/dir.rrd"), 12, rose), u"Cannot open file");
  EXPECT_EQ(SaveError(dir.File("r.rrd"), 37, rose), u"Cannot open file");
  // A failed save leaves the old file as it was.
  const std::string path = dir.Write("old.rrd", "old");
  EXPECT_EQ(SaveError(path, 0, rose), u"Cannot open file");
  EXPECT_EQ(dir.Read("old.rrd"), "old");
}

TEST(RoughnessRoseFile, GarbledFilesEndInAResultOrAKnownMessage) {
  ScratchDirectory dir;
  std::mt19937 random(11);
  const std::u16string known[] = {
      u"",
      u"Cannot open file",
      u"Roughness rose is compatible with histogram (number of sectors mismatch).",
      u"Cannot open file: more than 10 roughness changes in a sector",
      u"Cannot open file: negative number of roughness changes in a sector",
      u"Cannot open file: fewer values than the counts announce, or one that is not a number"};
  std::string valid = "VEMO 6.0 RRD\n\n4\n2 0 1 0\n";
  for (int r = 0; r < 2; ++r) valid += "0.1 0.2 0.3 0.4\n100 200 300 400\n";
  valid += "0.5 0.6 0.7 0.8";
  std::vector<std::string> files = {
      "",
      "\n\n",
      "VEMO 6.0 RRD\n\n99999999999999999999\n",
      "VEMO 6.0 RRD\n\n4\n2147483647 0 0 0\n",
      "VEMO 6.0 RRD\n\n4\nnan inf 1 1\n",
      "VEMO 6.0 RRD\n\n4\n1 1 1 1\nnan inf 1e999 " + std::string(400, '9') + "\n",
      std::string(1 << 20, 'x') + "\n\n4\n0 0 0 0\n1 1 1 1",
      "VEMO 6.0 RRD\n\n4\n0 0 0 0\n" + std::string(1 << 20, '1')};
  for (int i = 0; i < 200; ++i) {
    std::string text = valid.substr(0, random() % (valid.size() + 1));
    for (int flips = random() % 4; flips > 0 && !text.empty(); --flips) {
      text[random() % text.size()] = static_cast<char>(random() % 256);
    }
    files.push_back(text);
  }
  for (const std::string& text : files) {
    RoughnessRose rose = PlainRose(0.03f);
    const std::u16string error = LoadError(dir.Write("g.rrd", text), 4, rose);
    // Known messages, or the refusal of an implausible rose, which says what is wrong.
    EXPECT_TRUE(std::find(std::begin(known), std::end(known), error) != std::end(known) ||
                error.rfind(u"Cannot open file: sector ", 0) == 0)
        << std::string(error.begin(), error.end());
    for (int i = 0; i < 4; ++i) {
      EXPECT_GE(rose.changes[i], 0);
      EXPECT_LE(rose.changes[i], 10);
    }
  }
}

}  // namespace
}  // namespace kavi::model
