// What a row shows: line breaks and tabs as one mark each.
#include "listwin/row_label.h"

#include <gtest/gtest.h>

TEST(RowLabel, BreaksAndTabsBecomeOneMarkEach) {
  EXPECT_EQ(u"a\u21b5b\u21b5c\u21b5d\u2192e", MarkBreaksAndTabs(u"a\r\nb\rc\nd\te"));
  EXPECT_EQ(u"\u21b5\u21b5", MarkBreaksAndTabs(u"\r\n\n"));
  EXPECT_EQ(u"plain", MarkBreaksAndTabs(u"plain"));
}
