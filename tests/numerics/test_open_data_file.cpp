#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "numerics/numerical_state.h"
#include "numerics/open_data_file.h"
#include "numerics/support/scratch_directory.h"
#include "numerics/support/test_core.h"

namespace kavi::numerics {
namespace {

// Opens through the routine with C strings; returns its result and leaves the
// status in `status` (cleared again).
int Open(int& unit, const std::string& name, const std::string& form,
         const std::string& disposition, int& status) {
  TestCore().status = kStatusOk;
  const int result = OpenDataFile(TestCore(), unit, name, form, disposition);
  status = TestCore().status;
  TestCore().status = kStatusOk;
  return result;
}

TEST(OpenDataFile, OldFilesMustExist) {
  testing::ScratchDirectory dir;
  int status = 0;
  int unit = 12;
  EXPECT_NE(Open(unit, dir.File("missing.dat"), "FORMATTED", "OLD", status), 0);
  EXPECT_EQ(status, kStatusCannotOpenFile);
  EXPECT_EQ(unit, -1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("missing.dat")));

  const std::string path = dir.Write("present.dat", "42\n");
  unit = 12;
  ASSERT_EQ(Open(unit, path + "  ", "UNKNOWN", "old", status), 0);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(unit, 12);
  ASSERT_NE(DataFile(TestCore(), 12), nullptr);
  int value = 0;
  EXPECT_EQ(std::fscanf(DataFile(TestCore(), 12), "%d", &value), 1);
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(CloseDataFile(TestCore(), 12));
  EXPECT_EQ(DataFile(TestCore(), 12), nullptr);
}

TEST(OpenDataFile, UnknownDispositionCreatesTheFile) {
  testing::ScratchDirectory dir;
  int status = 0;
  int unit = 13;
  ASSERT_EQ(Open(unit, dir.File("work.tmp"), "unformatted", "unknown", status), 0);
  EXPECT_EQ(std::fputs("data", DataFile(TestCore(), 13)), 1);
  EXPECT_TRUE(CloseDataFile(TestCore(), 13));
  EXPECT_EQ(dir.Read("work.tmp"), "data");
}

TEST(OpenDataFile, RefusesWhatItCannotOpen) {
  testing::ScratchDirectory dir;
  const std::string path = dir.Write("present.dat", "1\n");
  struct Case {
    int unit;
    std::string name, form, disposition;
  };
  const Case cases[] = {
      {14, dir.path(), "FORMATTED", "OLD"},       // a directory
      {14, "", "FORMATTED", "OLD"},               // no name
      {14, "   ", "FORMATTED", "OLD"},            // blanks only
      {14, path, "unknown", "OLD"},               // "UNKNOWN" is compared exactly
      {14, path, "binary", "OLD"},                // no such form
      {14, path, "FORMATTED", "NEW"},             // no such disposition
      {-1, path, "FORMATTED", "OLD"},             // no such unit
      {kMaxDataUnits, path, "FORMATTED", "OLD"},  // no such unit
      {14, dir.File("no/such/dir.tmp"), "FORMATTED", "UNKNOWN"},
  };
  for (const Case& c : cases) {
    int unit = c.unit;
    int status = 0;
    EXPECT_NE(Open(unit, c.name, c.form, c.disposition, status), 0) << c.name;
    EXPECT_EQ(status, kStatusCannotOpenFile) << c.name;
    EXPECT_EQ(unit, -1);
  }
  // A name with a NUL inside is not cut short to another file's name.
  int unit = 14;
  int status = 0;
  EXPECT_NE(Open(unit, path + std::string(1, '\0') + "x", "FORMATTED", "OLD", status), 0);
}

}  // namespace
}  // namespace kavi::numerics
