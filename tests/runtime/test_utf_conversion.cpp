// UTF-16 <-> UTF-8 (the narrow code page): surrogate pairs and malformed input.
#include <gtest/gtest.h>
#include <kavi/runtime.h>

using namespace kavi;

namespace {
std::string ToNarrow(const std::u16string& s) { return Utf16ToNarrow(s.data(), s.size()); }
const std::string kReplacement = "\xEF\xBF\xBD";
}  // namespace

TEST(UtfConversion, RoundTripsEveryEncodingLength) {
  const std::u16string wide = u"A\u00D8\u20AC\U0001F600z";  // 1, 2, 3 and 4 UTF-8 bytes
  const std::string narrow = "A\xC3\x98\xE2\x82\xAC\xF0\x9F\x98\x80z";
  EXPECT_EQ(ToNarrow(wide), narrow);
  EXPECT_EQ(NarrowToUtf16(narrow), wide);
  EXPECT_EQ(wide.size(), 6u);  // the emoji is a surrogate pair
  // Boundaries of each length.
  const std::u16string edges = u"\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF";
  EXPECT_EQ(NarrowToUtf16(ToNarrow(edges)), edges);
  EXPECT_EQ(ToNarrow(u"\U0010FFFF"), "\xF4\x8F\xBF\xBF");
  // Embedded NULs are characters like any other.
  EXPECT_EQ(ToNarrow(std::u16string(u"a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(NarrowToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
  EXPECT_EQ(Utf16ToNarrow(nullptr, 5), "");
  EXPECT_EQ(ToNarrow(u""), "");
}

TEST(UtfConversion, UnpairedSurrogatesBecomeReplacementCharacters) {
  EXPECT_EQ(ToNarrow(std::u16string{0xD83D}), kReplacement);              // high at the end
  EXPECT_EQ(ToNarrow(std::u16string{0xDE00, u'x'}), kReplacement + "x");  // low alone
  EXPECT_EQ(ToNarrow(std::u16string{0xD83D, u'x'}), kReplacement + "x");  // high, no low
  EXPECT_EQ(ToNarrow(std::u16string{0xD83D, 0xD83D, 0xDE00}), kReplacement + "\xF0\x9F\x98\x80");
  // The length bounds the text: a pair cut by it is unpaired.
  const char16_t pair[] = {0xD83D, 0xDE00, 0};
  EXPECT_EQ(Utf16ToNarrow(pair, 1), kReplacement);
}

TEST(UtfConversion, MalformedUtf8BecomesReplacementCharacters) {
  const std::u16string r = u"\uFFFD";
  EXPECT_EQ(NarrowToUtf16("\x80"), r);  // lone continuation byte
  EXPECT_EQ(NarrowToUtf16("\xFF"
                          "a"),
            r + u"a");                              // never a UTF-8 byte
  EXPECT_EQ(NarrowToUtf16("\xC0\xAF"), r);          // overlong '/'
  EXPECT_EQ(NarrowToUtf16("\xE0\x80\x80"), r);      // overlong NUL
  EXPECT_EQ(NarrowToUtf16("\xED\xA0\x80"), r);      // encoded surrogate
  EXPECT_EQ(NarrowToUtf16("\xF4\x90\x80\x80"), r);  // beyond U+10FFFF
  EXPECT_EQ(NarrowToUtf16("\xE2\x82"), r);          // cut at the end
  EXPECT_EQ(NarrowToUtf16("\xE2\x82"
                          "A"),
            r + u"A");  // cut before ASCII
  EXPECT_EQ(NarrowToUtf16("\xF0\x9F\x98"
                          "\xC3\x98"),
            r + u"\u00D8");  // cut before a valid one
}
