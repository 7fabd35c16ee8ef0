#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "numerics/support/scratch_directory.h"
#include "numerics/text_reader.h"

namespace kavi::numerics {
namespace {

using Item = TextReader::Item;

class TextReaderTest : public ::testing::Test {
 protected:
  std::FILE* Open(const std::string& text) {
    file_ = std::fopen(dir_.Write("text.txt", text).c_str(), "rb");
    return file_;
  }
  void TearDown() override {
    if (file_) std::fclose(file_);
  }

  testing::ScratchDirectory dir_;
  std::FILE* file_ = nullptr;
};

TEST_F(TextReaderTest, RecordsAreCutToTheirCapacity) {
  const std::string longLine(1 << 20, 'a');
  TextReader in(Open("first line\r\n" + longLine + "\n\nlast"));
  char record[16];
  int length = 0;
  ASSERT_TRUE(in.ReadRecord(record, 16, length));
  EXPECT_EQ(std::string(record, length), "first line");
  ASSERT_TRUE(in.ReadRecord(record, 16, length));
  EXPECT_EQ(std::string(record, length), std::string(16, 'a'));
  ASSERT_TRUE(in.ReadRecord(record, 16, length));
  EXPECT_EQ(length, 0);
  ASSERT_TRUE(in.ReadRecord(record, 16, length));
  EXPECT_EQ(std::string(record, length), "last");
  EXPECT_FALSE(in.ReadRecord(record, 16, length));
  EXPECT_FALSE(in.failed());
}

TEST_F(TextReaderTest, ListValuesCrossRecordsAndBufferEnds) {
  // Numbers of varying width so that some straddle every 64 KiB boundary.
  std::string text;
  int count = 0;
  while (text.size() < 300000) {
    text += std::to_string(count * 7919 % 100003) + (count % 9 == 0 ? "\n" : " ");
    ++count;
  }
  TextReader in(Open(text));
  for (int i = 0; i < count; ++i) {
    int value = -1;
    ASSERT_EQ(in.NextInteger(value), Item::kValue) << i;
    ASSERT_EQ(value, i * 7919 % 100003) << i;
  }
  float last = 0.0f;
  EXPECT_EQ(in.NextReal(last), Item::kEnd);
}

TEST_F(TextReaderTest, RealsOfEveryFormAcrossBufferEndsReadAsStrtof) {
  // Short decimals (the quick path), signs, long mantissas and exponents (the
  // full reading), some straddling every 64 KiB boundary.
  const char* forms[] = {"%d.%d",    "-%d.%d",   "+%d.%d",         "%d%d",
                         "%d.%de-3", "%d.%dE+2", "%d%d123456789.5"};
  std::vector<std::string> fields;
  std::string text;
  for (int i = 0; text.size() < 300000; ++i) {
    char field[64];
    std::snprintf(field, sizeof field, forms[i % 7], i * 7919 % 100003, i % 97);
    fields.push_back(field);
    text += fields.back() + (i % 11 == 0 ? "\n" : i % 5 == 0 ? ", " : " ");
  }
  TextReader in(Open(text));
  for (std::size_t i = 0; i < fields.size(); ++i) {
    float value = 0.0f;
    ASSERT_EQ(in.NextReal(value), Item::kValue) << fields[i];
    ASSERT_EQ(value, std::strtof(fields[i].c_str(), nullptr)) << fields[i];
  }
}

TEST_F(TextReaderTest, SkipsTheRestOfARecordAfterAList) {
  TextReader in(Open("1 2\n3 4 5 6\nnext record\n"));
  float v = 0.0f;
  for (int i = 0; i < 3; ++i) ASSERT_EQ(in.NextReal(v), Item::kValue);
  EXPECT_EQ(v, 3.0f);
  in.SkipRestOfRecord();
  char record[32];
  int length = 0;
  ASSERT_TRUE(in.ReadRecord(record, 32, length));
  EXPECT_EQ(std::string(record, length), "next record");
}

TEST_F(TextReaderTest, BadAndOverlongFields) {
  TextReader in(Open("1.5 abc " + std::string(1 << 17, '7')));
  float v = 0.0f;
  EXPECT_EQ(in.NextReal(v), Item::kValue);
  EXPECT_EQ(in.NextReal(v), Item::kBad);
  EXPECT_EQ(in.NextReal(v), Item::kBad);  // a field longer than the buffer
}

}  // namespace
}  // namespace kavi::numerics
