// The list operations and the copy against the program's real list window
// and working file: item states as the list view keeps them, the bytes
// the clipboard receives, the put buffer.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "app/mainwnd.h"
#include "listwin/copy_chosen.h"
#include "listwin/entries.h"
#include "listwin/context_menu.h"
#include "listwin/listwin.h"
#include "listwin/selection.h"
#include "listwin/show_list.h"
#include "output/copy.h"
#include "output/shape.h"
#include "settings/settings.h"
#include "store/history.h"
#include "store/store.h"
#include "store/unicode_record.h"
#include "win32/list_support.h"

TEST_F(ListTest, TheCursorCarriesTheSelectionOnlyInSingleMode) {
  LOAD_ROWS(10);
  MoveCursor(-1, 2);
  MoveCursor(-1, 5);
  EXPECT_EQ(5, GetCursorRow());
  EXPECT_EQ((std::vector<int>{5}), SelectedRows(list_));
  EXPECT_EQ(5, ShownList().lastCursorRow) << "the tracking follows the cursor";

  SelectRange(3, 1);
  EXPECT_EQ((std::vector<int>{1, 2, 3, 5}), SelectedRows(list_));
  EXPECT_EQ(1, ShownList().multiSel);
  EXPECT_EQ(5, GetCursorRow()) << "selecting a range leaves the cursor";

  MoveCursor(-1, 7);
  EXPECT_EQ(7, GetCursorRow());
  EXPECT_EQ((std::vector<int>{1, 2, 3, 5}), SelectedRows(list_))
      << "multi-selection keeps its rows";

  SelectRange(1, 3);
  EXPECT_EQ((std::vector<int>{5}), SelectedRows(list_)) << "a second range in multi mode flips";
  EXPECT_EQ(1, ShownList().multiSel) << "even one selected row stays multi-selection";

  SelectRange(5, 5);
  EXPECT_EQ(-1, ClearSelect()) << "nothing to clear";
  EXPECT_EQ(1, ShownList().multiSel);

  SelectRange(0, 1);
  EXPECT_EQ(0, ClearSelect());
  EXPECT_EQ(0, ShownList().multiSel);
  EXPECT_EQ(1, ShownList().lastSelCount);
  EXPECT_EQ((std::vector<int>{7}), SelectedRows(list_)) << "the cursor row is selected again";
}

TEST_F(ListTest, SelectAllAndTheListsOwnSelectionTurnMultiSelectionOn) {
  LOAD({});
  EXPECT_EQ(-1, SelectAll());
  EXPECT_EQ(0, ShownList().multiSel);

  ASSERT_EQ(0, tdb_addrow(store_, "only", 0, kRowNew));
  ASSERT_EQ(0, tdb_append(store_, "only"));
  EXPECT_EQ(0, SelectAll());
  EXPECT_EQ(1, ShownList().multiSel) << "even a single row";
  ClearSelect();

  for (int i = 0; i < 4; ++i) InsertClip(i, "x");
  MoveCursor(-1, 1);
  // A Shift+click in the list view selects rows of its own accord.
  SelectRow(list_, 3);
  EXPECT_EQ(1, ShownList().multiSel);
  EXPECT_EQ(2, ShownList().lastSelCount);
  EXPECT_EQ(0, SelectAll());
  EXPECT_EQ(5u, SelectedRows(list_).size());
  EXPECT_EQ(5, ShownList().lastSelCount);
  EXPECT_EQ(1, GetCursorRow());
}

TEST_F(ListTest, MoveCursorScrollsTheScrollRowToTheTop) {
  LOAD_ROWS(300);
  MoveCursor(120, 125);
  EXPECT_EQ(120, GetTopRow());
  EXPECT_EQ(125, GetCursorRow());
  MoveCursor(0, 0);
  EXPECT_EQ(0, GetTopRow());
  EXPECT_EQ(-1, RowUp(0)) << "k on row 0";
  EXPECT_EQ(0, RowUp(3));
  EXPECT_EQ(299, RowGo(0));
  EXPECT_EQ(4, RowCountEnd(5));
}

TEST_F(ListTest, AKeyboardMenuOpensAtTheCursorRowOrTheListsCorner) {
  LOAD_ROWS(20);
  int row = 0;
  POINT corner = {0, 0};
  ClientToScreen(list_, &corner);
  POINT at = ListMenuAnchor(list_, MAKELPARAM(-1, -1), &row);
  EXPECT_EQ(-1, row);
  EXPECT_EQ(corner.x, at.x);
  EXPECT_EQ(corner.y, at.y);

  MoveCursor(-1, 3);
  at = ListMenuAnchor(list_, MAKELPARAM(-1, -1), &row);
  EXPECT_EQ(3, row);
  RECT r = {};
  r.left = LVIR_LABEL;
  SendMessageW(list_, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&r));
  POINT rowCorner = {r.left, r.bottom};
  ClientToScreen(list_, &rowCorner);
  EXPECT_EQ(rowCorner.x, at.x);
  EXPECT_EQ(rowCorner.y, at.y);

  // A click gives its own point and the row under it.
  SendMessageW(list_, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  POINT click = {r.left + 5, (r.top + r.bottom) / 2};
  ClientToScreen(list_, &click);
  at = ListMenuAnchor(list_, MAKELPARAM(click.x, click.y), &row);
  EXPECT_EQ(1, row);
  EXPECT_EQ(click.y, at.y);
}

TEST_F(ListTest, TheWindowKeepsItsGeometryOnlyWhileShown) {
  const Settings saved = g_set;
  RECT outer = {0, 0, 300, 200};
  AdjustWindowRectEx(&outer, GetWindowLongW(TheListWindow().hwnd, GWL_STYLE), FALSE,
                     GetWindowLongW(TheListWindow().hwnd, GWL_EXSTYLE));
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  SetWindowPos(TheListWindow().hwnd, nullptr, 30, 40, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(saved.size_lx, g_set.size_lx) << "a hidden window's moves are not the user's";
  EXPECT_EQ(saved.size_lw, g_set.size_lw);

  TheListWindow().shown = true;
  SetWindowPos(TheListWindow().hwnd, nullptr, 50, 60, width, height + 1,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(TheListWindow().hwnd, nullptr, 50, 60, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT list;
  GetWindowRect(list_, &list);
  EXPECT_EQ(275, list.right - list.left);
  // The view keeps its margins; the tab row above it takes the top of its
  // place in the template.
  RECT tabs, place = {0, 9, 0, 0};
  GetWindowRect(TheListWindow().tabs, &tabs);
  MapDialogRect(TheListWindow().hwnd, &place);
  MapWindowPoints(nullptr, TheListWindow().hwnd, reinterpret_cast<POINT*>(&list), 2);
  EXPECT_EQ(place.top + 167, list.bottom);
  EXPECT_LE(tabs.bottom - tabs.top, list.top) << "the tab row lies above the view";
  EXPECT_EQ(50, g_set.size_lx);
  EXPECT_EQ(60, g_set.size_ly);
  EXPECT_EQ(width, g_set.size_lw) << "the outer size, not the client size";
  EXPECT_EQ(height, g_set.size_lh);
  g_set = saved;
}

TEST_F(ListTest, ACopyPutsTheRowsInRowOrderOnTheClipboardAsTheMainWindow) {
  LOAD({"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8"});
  ASSERT_EQ(0, CopyClip(7, 3, "", "", 0, kShapeLfNone));
  EXPECT_EQ("r3r4r5r6r7", ClipboardText());
  EXPECT_EQ(main_, GetClipboardOwner()) << "capture must recognise its own output";
  std::vector<std::int32_t> offsets;
  for (int row = 3; row <= 7; ++row) offsets.push_back(RowOffset(list_, row));
  EXPECT_EQ(offsets, PutRecords());

  ASSERT_EQ(0, CopyClip(0, 1, "", "", 0, kShapeLfOk));
  EXPECT_EQ("r0\r\nr1\r\n", ClipboardText());

  // However they were selected, selected rows come out top to bottom.
  for (int row : {7, 1, 4}) SelectRow(list_, row);
  ASSERT_EQ(0, CopySelClip("> ", " <", 0, kShapeLfInyo));
  EXPECT_EQ("> r1 <\r\n> r4 <\r\n> r7 <\r\n", ClipboardText());
  EXPECT_EQ((std::vector<std::int32_t>{RowOffset(list_, 1), RowOffset(list_, 4),
                                       RowOffset(list_, 7)}),
            PutRecords());
}

// Rows of which one keeps a Unicode copy: the Unicode output holds it
// whole beside the code-page rows converted, both shaped alike, and
// CF_TEXT holds the renderings. Code-page rows alone get a Unicode
// output of their own too, placed first, not one the system makes.
TEST_F(ListTest, ACopyWithAUnicodeEntryPutsBothFormats) {
  LOAD({"\x93\xfa", unicode_record::Encode("caf?", "caf\xc3\xa9"), "plain"});
  ASSERT_EQ(0, CopyClip(0, 1, "> ", "", 0, kShapeLfInyo));
  EXPECT_EQ(L"> \u65e5\r\n> caf\u00e9\r\n", ClipboardWideText());
  EXPECT_EQ("> \x93\xfa\r\n> caf?\r\n", ClipboardText());
  ASSERT_EQ(0, CopyClip(2, 2, "", "", 0, kShapeLfNone));
  const std::vector<UINT> formats = ClipboardFormats();
  ASSERT_FALSE(formats.empty());
  EXPECT_EQ(static_cast<UINT>(CF_UNICODETEXT), formats[0]) << "a code-page row is put as Unicode";
}

// Windows may move an owner-data list's focus without a notification: OK
// copies the row highlighted, not the one the tracking saw last.
TEST_F(ListTest, TheOkCommandCopiesTheHighlightedRow) {
  LOAD_ROWS(3);
  MoveCursor(-1, 2);
  ShownList().lastCursorRow = 0;
  ChooseOutput(kOutputCopy);
  SendMessageW(TheListWindow().hwnd, WM_COMMAND, IDOK, 0);
  EXPECT_EQ("row 2", ClipboardText());
}

TEST_F(ListTest, AFailedCopyLeavesTheClipboardAndSaysWhy) {
  LOAD({"abc", "def"});
  ASSERT_TRUE(CopyText("before"));
  ASSERT_EQ(0, CopyClip(1, 1, "", "", 0, kShapeLfNone));
  const std::vector<std::int32_t> afterCopy = PutRecords();
  ASSERT_TRUE(CopyText("before"));

  EXPECT_EQ(-1, CopySelClip("", "", 0, kShapeLfNone)) << "nothing selected";
  EXPECT_EQ(kListErrNoSelection, TheListWindow().listError);
  EXPECT_EQ(afterCopy, PutRecords()) << "the put buffer is left as it was";
  EXPECT_EQ(-1, CopyClip(1, 2, "", "", 0, kShapeLfNone)) << "row 2 does not exist";
  EXPECT_EQ(kListErrNoRow, TheListWindow().listError);
  EXPECT_EQ(afterCopy, PutRecords());

  EXPECT_EQ(-1, CopyClip(0, 1, "> ", "", 2, kShapeLfNone));
  EXPECT_EQ(kListErrNoRoom, TheListWindow().listError);
  EXPECT_EQ((std::vector<std::int32_t>{RowOffset(list_, 0)}), PutRecords())
      << "the first entry already fails";
  EXPECT_EQ("before", ClipboardText());
  EXPECT_STREQ("自動改行位置を大きくして下さい", CopyFailureMessage(kListErrNoRoom));

  // Another program holds the clipboard for longer than a copy waits.
  ClipboardHolder holder;
  EXPECT_EQ(-1, CopyClip(0, 0, "", "", 0, kShapeLfNone));
  EXPECT_EQ(kListErrClipboardBusy, TheListWindow().listError);
  holder.Release();
  EXPECT_EQ("before", ClipboardText());
  EXPECT_NE(nullptr, CopyFailureMessage(kListErrClipboardBusy));
}

// The list view keeps only states; rows inserted or deleted around a
// multi-selection must leave the cursor and the selection on the rows
// they were on, whichever list view moves them.
TEST_F(ListTest, StatesStayOnTheirRowsWhenRowsComeAndGo) {
  LOAD_ROWS(10);
  MoveCursor(-1, 5);
  SelectRange(2, 2);
  SelectRange(7, 7);
  ASSERT_EQ((std::vector<int>{2, 5, 7}), SelectedRows(list_));

  InsertClip(4, "new");
  EXPECT_EQ((std::vector<int>{2, 6, 8}), SelectedRows(list_));
  EXPECT_EQ(6, GetCursorRow());
  EXPECT_EQ("row 5", RowLabel(list_, 6));
  InsertClip(0, "first");
  EXPECT_EQ((std::vector<int>{3, 7, 9}), SelectedRows(list_));
  EXPECT_EQ(7, GetCursorRow());
  ASSERT_EQ(0, tdb_addrow(store_, "last", 0, kRowNew));
  ASSERT_EQ(0, tdb_append(store_, "last"));
  EXPECT_EQ((std::vector<int>{3, 7, 9}), SelectedRows(list_)) << "a row at the end moves nothing";

  ASSERT_EQ(0, tdb_delrow(store_, 3));
  EXPECT_EQ((std::vector<int>{6, 8}), SelectedRows(list_));
  EXPECT_EQ(6, GetCursorRow());
  ASSERT_EQ(0, tdb_delrow(store_, 0));
  EXPECT_EQ((std::vector<int>{5, 7}), SelectedRows(list_));
  EXPECT_EQ(5, GetCursorRow());
  EXPECT_EQ("row 5", RowLabel(list_, 5));
  EXPECT_EQ(11, RowCount(list_));
}

// Key mode 2: a letter moves the cursor to the next row whose label
// begins with it, whatever its case, going round to the top.
TEST_F(ListTest, TypingALetterFindsTheNextRowThatBeginsWithIt) {
  LOAD({"apple", "jam", "kiwi", "lime", "Kale"});
  const int savedKey = g_set.key;
  g_set.key = kKeyNormal;
  MoveCursor(-1, 0);
  const struct {
    wchar_t letter;
    int row;
    const char* what;
  } steps[] = {{'k', 2, "kiwi"},
               {'k', 4, "Kale: the case does not matter"},
               {'k', 2, "round to the top"},
               {'x', 2, "no row begins with x"}};
  for (const auto& step : steps) {
    SendMessageW(list_, WM_CHAR, step.letter, 1);  // repeat count 1, as a key gives
    EXPECT_EQ(step.row, GetCursorRow()) << step.what;
  }
  g_set.key = savedKey;
}

// The letters typed are compared with the text a row shows: for an entry
// that keeps a Unicode copy, the copy rather than its rendering. Asked as
// the list view asks its owner while letters are typed.
TEST_F(ListTest, TypedLettersAreComparedWithTheUnicodeTextARowShows) {
  const std::string aiue = "\xe3\x81\x82\xe3\x81\x84\xe3\x81\x86\xe3\x81\x88";  // あいうえ
  LOAD({"apple", unicode_record::Encode("?clair", "\xc3\xa9" "clair"), "?uery",
        unicode_record::Encode(std::string(120, '?'), aiue)});
  const struct {
    const wchar_t* typed;
    LRESULT row;
    const char* what;
  } cases[] = {{L"\u00c9", 1, "the copy, whatever the case"},
               {L"?", 2, "not the rendering behind the copy"},
               {L"\u3042\u3044\u3046", 3, "a copy behind a rendering longer than the label"}};
  for (const auto& c : cases) {
    NMLVFINDITEMW find = {};
    find.hdr.code = LVN_ODFINDITEMW;
    find.lvfi.flags = LVFI_PARTIAL | LVFI_WRAP;
    find.lvfi.psz = c.typed;
    EXPECT_EQ(c.row, SendMessageW(GetParent(list_), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&find)))
        << c.what;
  }
}
