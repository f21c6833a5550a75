// What a row shows: line breaks and tabs as one mark each, and a Unicode
// text cut at the label's columns without splitting a character.
#include "listwin/row_label.h"

#include <gtest/gtest.h>

namespace {

int Width(char32_t c) { return c < 0x80 ? 1 : 2; }

}  // namespace

TEST(RowLabel, BreaksAndTabsBecomeOneMarkEach) {
  EXPECT_EQ(u"a\u21b5b\u21b5c\u21b5d\u2192e", MarkBreaksAndTabs(u"a\r\nb\rc\nd\te"));
  EXPECT_EQ(u"\u21b5\u21b5", MarkBreaksAndTabs(u"\r\n\n"));
  EXPECT_EQ(u"plain", MarkBreaksAndTabs(u"plain"));
}

TEST(RowLabel, CuttingCountsColumnsAndKeepsCharactersWhole) {
  struct Case {
    std::u16string text;
    int columns;
    std::u16string cut;
  };
  const Case cases[] = {
      {u"abc", 2, u"ab"},
      {u"a\u3042b", 2, u"a"},                  // the wide character would cross the edge
      {u"a\u3042b", 3, u"a\u3042"},
      {u"\U0001F600\U0001F600", 3, u"\U0001F600"},  // a pair is one character of 2
      {u"", 5, u""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.cut, CutToColumns(c.text, c.columns, Width));
}
