// Texts the code page cannot hold: their UTF-8 form and the record that
// keeps it beside the code page's rendering.
#include <gtest/gtest.h>

#include <string>

#include "base/utf8.h"
#include "store/unicode_record.h"

TEST(Utf8, WellFormedTextsGoBothWaysAndNothingElseIsTaken) {
  const std::u16string texts[] = {u"", u"abc", u"caf\u00e9 \u2014 \u3042", u"\U0001F600!"};
  for (const std::u16string& text : texts) {
    const std::string utf8 = Utf8FromUtf16(text.data(), text.size());
    std::u16string back;
    EXPECT_TRUE(Utf16FromUtf8(utf8.data(), utf8.size(), &back)) << ::testing::PrintToString(utf8);
    EXPECT_EQ(text, back);
  }
  EXPECT_EQ("\xf0\x9f\x98\x80", Utf8FromUtf16(u"\U0001F600", 2));
  const char16_t lone[] = {u'a', 0xD83D, u'b'};
  EXPECT_EQ("a\xef\xbf\xbd" "b", Utf8FromUtf16(lone, 3));
  EXPECT_EQ(5u, Utf8Bytes(lone, 3)) << "counted as it is written";

  const char* notUtf8[] = {"\x80", "\xc3", "\xc0\xaf", "\xe0\x80\xaf", "\xed\xa0\x80",
                           "\xf4\x90\x80\x80", "\xe3\x81", "\xf8\x88\x80\x80\x80", "\x83\x61"};
  for (const char* bytes : notUtf8) {
    std::u16string out;
    EXPECT_FALSE(Utf16FromUtf8(bytes, std::char_traits<char>::length(bytes), &out)) << bytes;
  }
}

TEST(UnicodeRecord, SplitFindsTheCopyOnlyBehindTheZeroAndTag) {
  struct Case {
    std::string record;
    std::string rendering;
    bool unicode;
    std::string utf8;
  };
  const Case cases[] = {
      {"plain", "plain", false, ""},
      {"", "", false, ""},
      {std::string("caf?\0UTF8caf\xc3\xa9", 14), "caf?", true, "caf\xc3\xa9"},
      {std::string("?\0UTF8", 6), "?", true, ""},
      {std::string("\0UTF8\xf0\x9f\x98\x80", 9), "", true, "\xf0\x9f\x98\x80"},
      {std::string("a\0UTF", 5), "a", false, ""},            // tag cut short
      {std::string("a\0utf8b", 7), "a", false, ""},          // another tag
      {std::string("a\0UTF8\x83\x61", 8), "a", false, ""},   // not UTF-8
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rendering);
    const unicode_record::Parts parts = unicode_record::Split(c.record.data(), c.record.size());
    EXPECT_EQ(c.rendering, std::string(parts.rendering, parts.renderingBytes));
    EXPECT_EQ(c.unicode, parts.unicode);
    EXPECT_EQ(c.utf8, std::string(parts.utf8, parts.utf8Bytes));
  }
}

TEST(UnicodeRecord, ACopyIsKeptOnlyWhenPlacedAsUnicodeAndTheCodePageLosesSomething) {
  using unicode_record::PlacedAsUnicode;
  const unsigned unicodeFirst[] = {49161, 13, 16, 1, 7}, textFirst[] = {1, 13}, neither[] = {2};
  EXPECT_TRUE(PlacedAsUnicode(unicodeFirst, 5));
  EXPECT_FALSE(PlacedAsUnicode(textFirst, 2));
  EXPECT_FALSE(PlacedAsUnicode(neither, 1));
  struct Copy {
    std::u16string text;
    std::string rendering;
    bool givesBack;
    std::string record;
  };
  const Copy copies[] = {
      // Converted back exactly: the code page's bytes alone, as any record.
      {u"\u3042", "\x82\xa0", true, "\x82\xa0"},
      {u"caf\u00e9", "caf?", false, std::string("caf?\0UTF8caf\xc3\xa9", 14)},
      {u"\U0001F600", "?", false, std::string("?\0UTF8\xf0\x9f\x98\x80", 10)},
  };
  for (const Copy& c : copies) {
    std::string record = c.rendering;
    unicode_record::ForUnicodeCopy(c.text.data(), c.text.size(), c.givesBack, &record);
    EXPECT_EQ(c.record, record) << c.rendering;
  }
}
