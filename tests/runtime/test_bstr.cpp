// Automation strings and task memory.
#include <gtest/gtest.h>
#include <kavi/runtime.h>

#include <cstring>

using namespace kavi;

TEST(Bstr, KeepsByteCountBeforeTextAndNulAfterIt) {
  BSTR s = SysAllocString(u"Wind");
  ASSERT_NE(s, nullptr);
  std::uint32_t prefix = 0;
  std::memcpy(&prefix, reinterpret_cast<const char*>(s) - 4, 4);
  EXPECT_EQ(prefix, 8u);
  EXPECT_EQ(SysStringLen(s), 4u);
  EXPECT_EQ(SysStringByteLen(s), 8u);
  EXPECT_EQ(std::u16string(s), u"Wind");
  EXPECT_EQ(s[4], 0);
  SysFreeString(s);
}

TEST(Bstr, LengthCountedStringsMayHoldNulsAndStartZeroed) {
  const char16_t text[] = {u'a', 0, u'b'};
  BSTR s = SysAllocStringLen(text, 3);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SysStringLen(s), 3u);
  EXPECT_EQ(std::u16string(s, 3), std::u16string(text, 3));
  EXPECT_EQ(s[3], 0);
  SysFreeString(s);

  BSTR blank = SysAllocStringLen(nullptr, 5);
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(SysStringLen(blank), 5u);
  for (int i = 0; i <= 5; ++i) EXPECT_EQ(blank[i], 0) << i;
  SysFreeString(blank);

  BSTR empty = SysAllocString(u"");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SysStringLen(empty), 0u);
  EXPECT_EQ(empty[0], 0);
  SysFreeString(empty);
}

TEST(Bstr, NullStringsAreEmptyAndTooLongOnesAreRefused) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
  // A byte count of 2 * 0x7FFFFFFE (plus prefix and terminator) no longer fits 32 bits.
  EXPECT_EQ(SysAllocStringLen(nullptr, 0x7FFFFFFEu), nullptr);
  EXPECT_EQ(SysAllocStringLen(nullptr, 0xFFFFFFFFu), nullptr);
}

TEST(TaskMemory, AllocatesEvenZeroBytesAndFreesNull) {
  void* p = CoTaskMemAlloc(0);
  EXPECT_NE(p, nullptr);
  CoTaskMemFree(p);
  auto* q = static_cast<char*>(CoTaskMemAlloc(100));
  ASSERT_NE(q, nullptr);
  std::memset(q, 1, 100);
  CoTaskMemFree(q);
  CoTaskMemFree(nullptr);
}
