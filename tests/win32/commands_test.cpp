// The commands of the 1.9 and 1.5a tables run on the program's real list:
// rows deleted and put back, marks that follow them, the repeat register,
// counts, refusals, and the list's context menu.
#include <windows.h>

#include <string>
#include <vector>

#include "app/capture.h"
#include "app/history_actions.h"
#include "common/text.h"
#include "listwin/command_table.h"
#include "listwin/context_menu.h"
#include "listwin/entries.h"
#include "listwin/show_list.h"
#include "settings/settings.h"
#include "win32/list_support.h"

namespace {

class Commands : public ListTest {
 protected:
  // Runs the sequences one after another in key mode 1.9; each must give
  // `result`.
  void Keys(const char* file, int line, std::initializer_list<const char*> sequences,
            int result = 1) {
    ::testing::ScopedTrace trace(file, line, "Keys");
    for (const char* s : sequences) EXPECT_EQ(result, DoKeySeq("1.9", s)) << s;
  }

  std::vector<std::string> Labels() {
    std::vector<std::string> labels;
    for (int row = 0; row < RowCount(list_); ++row) labels.push_back(RowLabel(list_, row));
    return labels;
  }
};

}  // namespace

#define KEYS(...) ASSERT_NO_FATAL_FAILURE(Keys(__FILE__, __LINE__, __VA_ARGS__))

TEST_F(Commands, DeletingMovesTheCursorAndFillsThePutBuffer) {
  LOAD_ROWS(10);
  const std::int64_t before = tdb_savedsize(store_);
  MoveCursor(-1, 4);
  const std::vector<std::int32_t> deleted = {RowOffset(list_, 4), RowOffset(list_, 5),
                                             RowOffset(list_, 6)};
  KEYS({"3dd"});
  EXPECT_EQ(7, RowCount(list_));
  EXPECT_EQ("row 7", RowLabel(list_, 4));
  EXPECT_EQ(4, GetCursorRow());
  EXPECT_EQ(deleted, PutRecords());
  EXPECT_EQ(before - 3 * (4 + 5), tdb_savedsize(store_)) << "the saved size follows the rows";

  MoveCursor(-1, 5);
  KEYS({"3dd"});
  EXPECT_EQ(5, RowCount(list_)) << "the count runs out at the last row";
  EXPECT_EQ(4, GetCursorRow()) << "the cursor goes to the new last row";

  MoveCursor(-1, 0);
  KEYS({"dk"}, 0);
  MoveCursor(-1, 4);
  KEYS({"dj"}, 0);
  EXPECT_EQ(5, RowCount(list_)) << "refused deletions delete nothing";

  // The put buffer brings the deleted rows back, as often as counted.
  MoveCursor(-1, 1);
  KEYS({"2p"});
  EXPECT_EQ((std::vector<std::string>{"row 0", "row 1", "row 8", "row 9", "row 8", "row 9",
                                      "row 2", "row 3", "row 7"}),
            Labels());
  EXPECT_EQ(2, GetCursorRow());
  KEYS({"P"});
  EXPECT_EQ("row 8", RowLabel(list_, 2));
  EXPECT_EQ("row 9", RowLabel(list_, 3));
  EXPECT_EQ(2, GetCursorRow());
}

TEST_F(Commands, MarksFollowTheirRows) {
  LOAD_ROWS(10);
  MoveCursor(-1, 7);
  KEYS({"mb", "3k", "ma"});
  EXPECT_EQ(4, GetMark('a'));
  KEYS({"G", "'a"});
  EXPECT_EQ(4, GetCursorRow());
  KEYS({"'c"}, 0);  // not set
  KEYS({"m1"});     // counts as done, after a beep
  EXPECT_EQ(-1, GetMark('1'));

  MoveCursor(-1, 2);
  KEYS({"d'a"});  // rows 2 to 4
  EXPECT_EQ(-1, GetMark('a'));
  EXPECT_EQ(4, GetMark('b')) << "7 moved up by three";
  MoveCursor(-1, 4);
  KEYS({"P"});
  EXPECT_EQ(7, GetMark('b')) << "three rows put above it";

  // Selected rows deleted one by one, each moving the marks below. (The
  // first range leaves the cursor row selected too; the second unselects it.)
  for (int row : {1, 4, 3, 6}) SelectRange(row, row);
  ASSERT_EQ((std::vector<int>{1, 3, 6}), SelectedRows(list_));
  KEYS({"dd"});
  EXPECT_EQ(4, GetMark('b')) << "three rows above it went";
  EXPECT_EQ(3u, PutRecords().size());
  ClearSelect();

  // A capture on top moves them down; a reversal turns them round; a
  // history cleared leaves none, so d'b deletes nothing and puts nothing.
  const int saved = g_set.data;
  g_set.data = kDataNew;
  ASSERT_TRUE(AddClip("new"));
  g_set.data = saved;
  EXPECT_EQ(5, GetMark('b'));
  ReverseHistoryOrder();
  EXPECT_EQ(RowCount(list_) - 1 - 5, GetMark('b'));
  ASSERT_EQ(0, ClearClip());
  ASSERT_TRUE(AddClip("x"));
  MoveCursor(-1, 0);
  KEYS({"d'b"}, 0);
  EXPECT_EQ((std::vector<std::string>{"x"}), Labels());
}

TEST_F(Commands, TheRepeatRegisterHoldsTheLastStoredCommand) {
  LOAD_ROWS(12);
  KEYS({"."}, 0);
  MoveCursor(-1, 0);
  KEYS({"2dd", "."});
  EXPECT_EQ(8, RowCount(list_));
  EXPECT_STREQ("2dd", RepeatRegister());
  KEYS({"yy", "."});  // copies are not stored: "." deletes again
  EXPECT_EQ(6, RowCount(list_));
  EXPECT_EQ(kOutputPaste, TheListWindow().output.action) << "every copy command chooses pasting";
  EXPECT_TRUE(TheListWindow().output.clipReady)
      << "the clipboard holds \"" << ClipboardText() << "\"";

  // The Delete key's fixed sequence and the 1.5a table: "dd" is none of
  // its commands, so "." is refused there.
  EXPECT_EQ(1, DoKeySeq("1.9", "dd"));
  EXPECT_EQ(0, DoKeySeqOld("."));
  EXPECT_EQ(1, DoKeySeqOld("d"));
  EXPECT_EQ(1, DoKeySeqOld("."));
  EXPECT_EQ(3, RowCount(list_));
  EXPECT_EQ(0, DoKeySeqOld("3j")) << "no counts in 1.5a";
}

TEST_F(Commands, RefusedCommandsChangeNothing) {
  LOAD_ROWS(3);
  MoveCursor(-1, 2);
  KEYS({"j", "1j", "2147483648j", "2147483648dd", "p"}, 0);  // no put buffer yet
  KEYS({"2j", "5k", "sc"});
  EXPECT_EQ(0, GetCursorRow());
  EXPECT_EQ(3, RowCount(list_));

  // A put must not make more rows than the list can count, nor a history
  // the data file could not hold.
  KEYS({"yy"});
  KEYS({"2000000000p", "1000001p"}, 0);
  EXPECT_EQ(3, RowCount(list_));
  const std::string big(100000, 'b');
  InsertClip(0, big.c_str());
  MoveCursor(-1, 0);
  KEYS({"yy"});
  KEYS({"30000p"}, 0);
  EXPECT_EQ(4, RowCount(list_));
  KEYS({"3p"});
  EXPECT_EQ(7, RowCount(list_));
}

TEST_F(Commands, PagingFollowsTheWindowAndACountChangesTheHalfPage) {
  LOAD_ROWS(100);
  TheListWindow().rowsPerPage = 10;
  TheListWindow().halfPage = 5;
  MoveCursor(0, 0);
  KEYS({"\x04"});
  EXPECT_EQ(5, GetCursorRow());
  KEYS({"3\x04"});
  EXPECT_EQ(8, GetCursorRow());
  EXPECT_EQ(3, TheListWindow().halfPage);
  KEYS({"\x15"});
  EXPECT_EQ(5, GetCursorRow());
  KEYS({"\x06"});
  EXPECT_EQ(GetTopRow(), GetCursorRow());
  EXPECT_EQ(1, DoKeySeqOld("\x04"));
  EXPECT_EQ(GetCursorRow() - 7, DoKeySeqOld("\x15") ? GetCursorRow() - 7 : -1);
}

TEST_F(Commands, TheContextMenuOffersTheRowCommandsOrSelectAll) {
  LOAD_ROWS(3);
  auto texts = [](HMENU menu) {
    std::vector<std::string> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      wchar_t text[64] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
      items.push_back(Narrow(text));
    }
    return items;
  };
  HMENU row = BuildListMenu(true, false);
  EXPECT_EQ((std::vector<std::string>{"貼付", "コピー", "削除", "一覧に貼付", "定型文に登録", "表示",
                                      "編集", "", "引用", "", "次のコピーを記録しない"}),
            texts(row));
  EXPECT_EQ((std::vector<std::string>{"この上へ", "この下へ"}), texts(GetSubMenu(row, 3)));
  EXPECT_EQ(1106u, GetMenuItemID(GetSubMenu(row, 3), 0));
  EXPECT_EQ((std::vector<std::string>{"貼付", "コピー"}), texts(GetSubMenu(row, 8)));
  EXPECT_EQ(1101u, GetMenuItemID(GetSubMenu(row, 8), 1));
  DestroyMenu(row);
  HMENU viewing = BuildListMenu(true, true);
  EXPECT_EQ((std::vector<std::string>{"貼付", "コピー", "削除", "一覧に貼付", "定型文に登録", "",
                                      "引用", "", "次のコピーを記録しない"}),
            texts(viewing));
  DestroyMenu(viewing);
  HMENU below = BuildListMenu(false, false);
  EXPECT_EQ((std::vector<std::string>{"全て選択", "", "次のコピーを記録しない"}), texts(below));
  DestroyMenu(below);

  // Its commands run their sequences: select all, then delete them all.
  MoveCursor(-1, 0);
  EXPECT_TRUE(OnListMenuCommand(1150)) << "select all";
  EXPECT_EQ(3u, SelectedRows(list_).size());
  EXPECT_EQ(1, ShownList().multiSel);
  EXPECT_TRUE(OnListMenuCommand(1104)) << "delete";
  EXPECT_EQ(0, RowCount(list_)) << "delete acts on every selected row";
  EXPECT_TRUE(OnListMenuCommand(1105)) << "a put below with no cursor row";
  EXPECT_EQ(3, RowCount(list_));
  EXPECT_FALSE(OnListMenuCommand(999));
}

// Each action as a table: six rows r0..r5, the cursor on r2, mark a on r4,
// the put buffer given as rows and the clipboard holding "before"; after
// the keys, the rows, the cursor, mark a, the put buffer (as the rows it
// names) and the clipboard.
TEST_F(Commands, EachActionAsATable) {
  struct Case {
    const char* version;
    const char* keys;
    std::vector<int> put;  // rows of r0..r5
    std::vector<std::string> rows;
    int cursor, markA;
    std::vector<int> putAfter;
    const char* clipboard;
  };
  const std::vector<std::string> all = {"r0", "r1", "r2", "r3", "r4", "r5"};
  const Case cases[] = {
      {"1.9", "dd", {}, {"r0", "r1", "r3", "r4", "r5"}, 2, 3, {2}, "before"},
      {"1.9", "2dj", {}, {"r0", "r1", "r5"}, 2, -1, {2, 3, 4}, "before"},
      {"1.9", "d'a", {}, {"r0", "r1", "r5"}, 2, -1, {2, 3, 4}, "before"},
      {"1.9", "dk", {}, {"r0", "r3", "r4", "r5"}, 1, 2, {1, 2}, "before"},
      {"1.9", "dG", {}, {"r0", "r1"}, 1, -1, {2, 3, 4, 5}, "before"},
      {"1.9", "yj", {}, all, 2, 4, {2, 3}, "r2r3"},
      {"1.9", "2yy", {5}, all, 2, 4, {2, 3}, "r2r3"},
      {"1.9", "yk", {5}, all, 2, 4, {1, 2}, "r1r2"},
      {"1.9", "Yy", {}, all, 2, 4, {2}, "> r2\r\n"},
      {"1.9", "2p", {5}, {"r0", "r1", "r2", "r5", "r5", "r3", "r4", "r5"}, 3, 6, {5}, "before"},
      {"1.9", "P", {0}, {"r0", "r1", "r0", "r2", "r3", "r4", "r5"}, 2, 5, {0}, "before"},
      {"1.9", "p", {}, all, 2, 4, {}, "before"},
      {"1.9", "ma", {}, all, 2, 2, {}, "before"},
      {"1.9", "'a", {}, all, 4, 4, {}, "before"},
      {"1.9", "2G", {}, all, 1, 4, {}, "before"},
      {"1.9", "3k", {}, all, 0, 4, {}, "before"},
      {"1.9", "4j", {}, all, 5, 4, {}, "before"},
      {"1.9", "y'b", {5}, all, 2, 4, {5}, "before"},
      {"1.5a", "d", {}, {"r0", "r1", "r3", "r4", "r5"}, 2, 3, {2}, "before"},
      {"1.5a", "y", {}, all, 2, 4, {2}, "r2"},
      {"1.5a", "G", {}, all, 5, 4, {}, "before"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.version) + " " + c.keys);
    TearDown();
    ASSERT_NO_FATAL_FAILURE(SetUp());
    LOAD(all);
    std::vector<std::int32_t> offsets;
    for (int row = 0; row < 6; ++row) offsets.push_back(RowOffset(list_, row));
    auto named = [&](const std::vector<int>& rows) {
      std::vector<std::int32_t> out;
      for (int row : rows) out.push_back(offsets[static_cast<size_t>(row)]);
      return out;
    };
    ThePutBuffer().Fill(store_, named(c.put));
    ASSERT_TRUE(CopyText("before"));
    MoveCursor(-1, 4);
    SetMark('a', 4);
    MoveCursor(-1, 2);

    DoKeySeq(c.version, c.keys);
    EXPECT_EQ(c.rows, Labels());
    EXPECT_EQ(c.cursor, GetCursorRow());
    EXPECT_EQ(c.markA, GetMark('a'));
    EXPECT_EQ(named(c.putAfter), PutRecords());
    EXPECT_EQ(c.clipboard, ClipboardText());
  }
}
