// Rows taken into the fixed phrases by every key mode's command, and rows
// moved one place, on the program's real list: the phrases get copies of
// the texts in the rows' order, and the marks and the selection move with
// the rows.
#include <windows.h>

#include <string>
#include <vector>

#include "common/text.h"
#include "listwin/commands.h"
#include "listwin/entries.h"
#include "listwin/list_switch.h"
#include "listwin/phrase_add.h"
#include "settings/settings.h"
#include "store/phrases.h"
#include "win32/list_support.h"

namespace {

class PhraseTest : public ListTest {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(ListTest::SetUp());
    WriteFileBytes("phrase.dat", DataFile({"kept"}));
    ASSERT_NE(nullptr, tdb_open(Phrases()));
  }
  void TearDown() override {
    Phrases().Abandon();
    ListTest::TearDown();
  }

  static std::wstring Caption() {
    wchar_t text[128] = {};
    GetWindowTextW(TheListWindow().hwnd, text, 128);
    return text;
  }

  static std::vector<std::string> PhraseTexts() {
    std::vector<std::string> texts;
    for (int row = 0; row < tdb_rowcount(Phrases()); ++row) {
      std::int32_t length = 0, offset = 0;
      tdb_gethead(Phrases(), row, &length, &offset);
      std::string text(static_cast<size_t>(length) + 1, '\0');
      tdb_read(Phrases(), &text[0], length);
      text.resize(static_cast<size_t>(length));
      texts.push_back(text);
    }
    return texts;
  }
};

}  // namespace

TEST_F(PhraseTest, EveryKeyModeAddsItsRangeAtTheEndAndTheHistoryStays) {
  struct Case {
    const char* version;
    std::vector<const char*> keys;
    std::vector<std::string> added;
  };
  const Case cases[] = {
      {"1.9", {"2aa"}, {"row 2", "row 3"}},
      {"1.9", {"aj"}, {"row 2", "row 3"}},
      {"1.9", {"ak"}, {"row 1", "row 2"}},
      {"1.9", {"aG"}, {"row 2", "row 3", "row 4"}},
      {"1.9", {"a'a"}, {"row 2", "row 3", "row 4"}},
      {"1.9", {"aa", "."}, {"row 2", "row 2"}},
      {"1.5a", {"a"}, {"row 2"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys.front());
    ASSERT_NO_FATAL_FAILURE(TearDown());
    ASSERT_NO_FATAL_FAILURE(SetUp());
    LOAD_ROWS(5);
    const std::string work = WorkBytes(store_);
    SetMark('a', 4);
    MoveCursor(-1, 2);
    for (const char* keys : c.keys) EXPECT_EQ(1, DoKeySeq(c.version, keys)) << keys;
    std::vector<std::string> expected = {"kept"};
    expected.insert(expected.end(), c.added.begin(), c.added.end());
    EXPECT_EQ(expected, PhraseTexts());
    EXPECT_EQ(Hex(work), Hex(WorkBytes(store_))) << "the history's file is untouched";
    EXPECT_EQ(5, RowCount(list_));
    EXPECT_EQ(2, GetCursorRow());
  }
}

TEST_F(PhraseTest, MovedRowsTakeTheirMarksSelectionAndCursorAlong) {
  LOAD_ROWS(5);
  SetMark('a', 1);
  SetMark('b', 3);
  MoveCursor(-1, 1);
  ASSERT_TRUE(MoveChosenRows(1));
  EXPECT_EQ("row 2", RowLabel(list_, 1));
  EXPECT_EQ("row 1", RowLabel(list_, 2));
  EXPECT_EQ(2, GetCursorRow());
  EXPECT_EQ(2, GetMark('a'));
  SelectRow(list_, 3);
  ASSERT_TRUE(MoveChosenRows(-1)) << "rows 2 and 3, as a run";
  EXPECT_EQ((std::vector<int>{1, 2}), SelectedRowsOf(list_));
  EXPECT_EQ("row 1", RowLabel(list_, 1));
  EXPECT_EQ("row 3", RowLabel(list_, 2));
  EXPECT_EQ("row 2", RowLabel(list_, 3));
  EXPECT_EQ(1, GetMark('a'));
  EXPECT_EQ(2, GetMark('b'));
  ClearSelect();
  MoveCursor(-1, 0);
  EXPECT_FALSE(MoveChosenRows(-1)) << "the first row cannot go up";
  EXPECT_EQ("row 0", RowLabel(list_, 0));
}

TEST_F(PhraseTest, EachListKeepsItsPlacesWhileTheOtherIsShownAndAPutAcrossCopiesTexts) {
  LOAD_ROWS(5);
  MoveCursor(-1, 3);
  SetMark('a', 2);
  ASSERT_EQ(1, DoKeySeq("1.9", "yy"));
  ShowRowsOf(TheListWindow().phrases);
  EXPECT_EQ(1, RowCount(list_));
  EXPECT_EQ(-1, GetMark('a')) << "the phrases have marks of their own";
  const std::wstring phrases = Widen("コピウェル 定型文 :");
  EXPECT_EQ(phrases, Caption().substr(0, phrases.size()));
  ASSERT_EQ(1, DoKeySeq("1.9", "p"));
  EXPECT_EQ((std::vector<std::string>{"kept", "row 3"}), PhraseTexts());

  // A capture meanwhile goes to the history kept aside, whose places move.
  const int data = g_set.data;
  g_set.data = kDataNew;
  EXPECT_TRUE(AddClip("new"));
  g_set.data = data;
  EXPECT_EQ(2, RowCount(list_));
  ShowRowsOf(TheListWindow().history);
  EXPECT_EQ("new", RowLabel(list_, 0));
  EXPECT_EQ(4, GetCursorRow());
  EXPECT_EQ(3, GetMark('a'));
  const std::wstring history = Widen("コピウェル :");
  EXPECT_EQ(history, Caption().substr(0, history.size()));
}
