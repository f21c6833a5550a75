// The whole job, from outside: texts copied by another program, the list
// called up with the hotkey from the user's editor, picked with keys and
// the mouse, and pasted back into that editor.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "list_fixture.h"

using namespace e2e;

namespace {

class List : public ListProgramTest {
 protected:
  // Shift+Down from one selected row.
  ::testing::AssertionResult WaitTwoSelected() {
    return WaitSelected("two rows selected",
                        [](const std::vector<int>& rows) { return rows.size() == 2; });
  }
};

}  // namespace

TEST_F(List, TheHotkeyShowsTheListAtItsPlaceAndEnterPastesIntoTheEditor) {
  START({"first", "second"}, {{"size", "true"}, {"size_lx", "40"}, {"size_ly", "50"},
                              {"size_lw", "420"}, {"size_lh", "300"}});
  CALL_LIST(app_);
  EXPECT_EQ("40,50 420x300", ListPlace());
  EXPECT_TRUE(GetWindowLongW(ListWindow(list_), GWL_EXSTYLE) & WS_EX_TOPMOST) << "topmost=true";
  wchar_t caption[128] = {};
  GetWindowTextW(ListWindow(list_), caption, 128);
  EXPECT_EQ(Widen("コピウェル :  j=↓  k=↑  vv=貼付け  yy=コピーのみ  dd=削除  ESC=中止"), caption);
  EXPECT_EQ(0, CursorRow(list_)) << "a list without a cursor opens on row 0";

  PressKey(VK_RETURN);
  EXPECT_PASTED(editor_, "first");
  EXPECT_EQ("first", ClipboardText());
  // The list stays (actv_hide=true keeps it): back in front for the next
  // choice, which goes to the same place.
  ASSERT_TRUE(WaitListInFront(list_));
  PressKey(VK_RETURN);
  EXPECT_PASTED(editor_, "firstfirst");
  ASSERT_TRUE(WaitListInFront(list_));

  KEY_UNTIL(VK_ESCAPE, {}, [&] { return WaitListHidden(list_); }, "Escape closes the list");
  EXPECT_EQ("firstfirst", editor_.Text()) << "Escape pastes nothing";
  GOODBYE(app_);
}

// The list lies over a second editor when the row is double-clicked; the
// paste still goes where the list was called from.
TEST_F(List, ShiftEnterQuotesAndADoubleClickPastesThatRowIntoTheCallingEditor) {
  Editor under("under the list", {60, 60, 520, 420});
  ASSERT_TRUE(under.Start());
  START({"one", "two\r\nlines"}, {{"actv_hide", "false"}, {"inyo", "\"> \""},
                                    {"foot", "\" <\""}, {"lf", "lfinyo"}});
  CALL_LIST(app_);
  PressKey(VK_RETURN, {VK_SHIFT});
  EXPECT_PASTED(editor_, "> one <\r\n");
  EXPECT_TRUE(WaitListHidden(list_)) << "actv_hide=false hides the list";

  CALL_LIST(app_);
  const RECT row = RowScreenRect(list_, 1);
  RECT over;
  ASSERT_TRUE(IntersectRect(&over, &row, &under.Place())) << "the row lies over the other editor";
  DoubleClickAt(Centre(row));
  EXPECT_PASTED(editor_, "> one <\r\ntwo\r\nlines");
  EXPECT_EQ("", under.Text());
  EXPECT_TRUE(editor_.InFront()) << Front();
  GOODBYE(app_);
}

TEST_F(List, StandardKeysSelectRowsThatArePastedInRowOrder) {
  START({"abc", "def", "ghi", "jkl"}, {{"key", "normal"}, {"actv_hide", "false"}, {"lf", "lfok"},
                                       {"lfbyte", "2"}, {"inyo", "\"> \""}});
  COPY_AND_WAIT(list_, "before", 5);
  CALL_LIST(app_);
  KEY_UNTIL(VK_DOWN, {VK_SHIFT}, [&] { return WaitTwoSelected(); }, "Shift+Down");
  PressKey(VK_DOWN, {VK_SHIFT});
  EXPECT_SELECTED({0, 1, 2});

  // Quoted, a wrap column of 2 leaves no room for text.
  PressKey(VK_RETURN, {VK_SHIFT});
  ANSWER(kErrorCaption.c_str(), "自動改行位置を大きくして下さい");
  ASSERT_TRUE(WaitListInFront(list_)) << "the list stays";
  EXPECT_EQ("before", ClipboardText());
  EXPECT_EQ("", editor_.Text());

  PressKey(VK_RETURN);
  EXPECT_PASTED(editor_, "ab\r\nc\r\nde\r\nf\r\ngh\r\ni\r\n");
  EXPECT_EQ(5, RowCount(list_)) << "the program's own output is not recorded";
  ASSERT_TRUE(CopyText("after"));
  EXPECT_TRUE(WaitRows(list_, 6)) << "another program's copy is";
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"abc", "def", "ghi", "jkl", "before", "after"})),
            Hex(ReadFileBytes(Data())));
}

TEST_F(List, SwitchingToAnotherProgramHidesTheListWhenActvHideSaysSo) {
  Editor other("other", {40, 500, 400, 800});
  ASSERT_TRUE(other.Start());
  START({"text"}, {{"actv_hide", "false"}});
  CALL_LIST(app_);
  ASSERT_TRUE(other.Activate());
  EXPECT_TRUE(WaitListHidden(list_));

  GOODBYE(app_);
  WriteIni(dir_.Path(), {{"actv_hide", "true"}});
  Kopiwell again(dir_.Path());
  list_ = START_READY(again);
  ASSERT_TRUE(editor_.Activate());
  CALL_LIST(again);
  ASSERT_TRUE(other.Activate());
  ASSERT_TRUE(again.Sync());
  EXPECT_FALSE(ListHidden(list_)) << "actv_hide=true keeps the list on screen";
  // The editor it was called from is forgotten: the paste goes to the
  // window in front.
  SetForegroundWindow(ListWindow(list_));
  ASSERT_TRUE(WaitListInFront(list_));
  PressKey(VK_RETURN);
  ASSERT_TRUE(again.Sync());
  EXPECT_EQ("", editor_.Text());
  GOODBYE(again);
}

TEST_F(List, CursorTopAndAPlaceNotKeptResetEveryAppearance) {
  START({"a", "b", "c", "d"}, {{"key", "normal"}, {"cursor", "top"}, {"size", "false"}});
  CALL_LIST(app_);
  KEY_UNTIL(VK_DOWN, {VK_SHIFT}, [&] { return WaitTwoSelected(); }, "Shift+Down");
  PressKey(VK_DOWN, {VK_SHIFT});
  EXPECT_SELECTED({0, 1, 2});
  SetWindowPos(ListWindow(list_), nullptr, 300, 200, 500, 400, SWP_NOZORDER);
  KEY_UNTIL(VK_ESCAPE, {}, [&] { return WaitListHidden(list_); }, "Escape closes the list");

  CALL_LIST(app_);
  EXPECT_EQ(0, CursorRow(list_));
  EXPECT_EQ((std::vector<int>{0}), SelectedRows(list_)) << "the earlier selection is gone";
  EXPECT_EQ("100,100 334x233", ListPlace());
  GOODBYE(app_);
}

TEST_F(List, CursorLastAndAKeptPlaceSurviveARestart) {
  START({"a", "b", "c", "d"}, {{"key", "normal"}, {"cursor", "last"}, {"size", "true"}});
  CALL_LIST(app_);
  KEY_UNTIL(VK_DOWN, {}, [&] { return WaitCursor(list_, 1); }, "Down");
  KEY_UNTIL(VK_DOWN, {}, [&] { return WaitCursor(list_, 2); }, "Down");
  KEY_UNTIL(VK_ESCAPE, {}, [&] { return WaitListHidden(list_); }, "Escape closes the list");
  CALL_LIST(app_);
  EXPECT_EQ(2, CursorRow(list_));
  EXPECT_SELECTED({2});
  // Moved and resized as the user would with the mouse.
  SetWindowPos(ListWindow(list_), nullptr, 210, 120, 380, 260, SWP_NOZORDER);
  ASSERT_TRUE(app_.Sync());
  GOODBYE(app_);
  EXPECT_EQ("210", ReadIniValue(Ini(), "size_lx"));
  EXPECT_EQ("120", ReadIniValue(Ini(), "size_ly"));
  EXPECT_EQ("380", ReadIniValue(Ini(), "size_lw"));
  EXPECT_EQ("260", ReadIniValue(Ini(), "size_lh"));

  Kopiwell again(dir_.Path());
  list_ = START_READY(again);
  ASSERT_TRUE(editor_.Activate());
  CALL_LIST(again);
  EXPECT_EQ("210,120 380x260", ListPlace());
  GOODBYE(again);
}

// What must not happen: pasting the clipboard's older content, pasting
// into a window the user did not call the list from.
TEST_F(List, NothingIsPastedWhenThereIsNothingRightToPaste) {
  Editor other("other", {40, 500, 400, 800});
  ASSERT_TRUE(other.Start());
  START({}, {{"actv_hide", "false"}});
  COPY_AND_WAIT(list_, "older", 1);
  ASSERT_TRUE(app_.Sync());
  ASSERT_TRUE(editor_.Activate());

  // Another program holds the clipboard while the choice is copied.
  CALL_LIST(app_);
  ASSERT_TRUE(OpenClipboard(nullptr)) << ClipboardOpener();
  PressKey(VK_RETURN);
  HWND box = nullptr;
  ASSERT_TRUE(WaitDialog(app_.Pid(), kErrorCaption, &box));
  EXPECT_EQ("クリップボードを開けませんでした。ほかのプログラムが使用中です。\n"
            "少し待ってから、もう一度お試しください。",
            Narrow(MessageText(box)));
  CloseClipboard();
  PressButton(box, IDOK);
  ASSERT_TRUE(WaitListInFront(list_)) << "the list stays";
  EXPECT_EQ("", editor_.Text());

  // The editor is closed while the list is up: the text is left on the
  // clipboard and the other program gets nothing.
  COPY_AND_WAIT(list_, "newer", 2);
  SetForegroundWindow(ListWindow(list_));
  ASSERT_TRUE(WaitListInFront(list_));
  editor_.Close();
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitListHidden(list_));
  ASSERT_TRUE(app_.Sync());
  EXPECT_EQ("older", ClipboardText());
  EXPECT_EQ("", other.Text());
  GOODBYE(app_);
}

TEST_F(List, EnterOnAnEmptyListPastesNothing) {
  START({});
  CALL_LIST(app_);
  PressKey(VK_RETURN);
  ASSERT_TRUE(app_.Sync());
  EXPECT_TRUE(ListInFront(list_)) << Front();
  EXPECT_EQ("", editor_.Text());
  GOODBYE(app_);
}

// The tray icon: a left click calls the list up for the window the user
// was working in before reaching for the icon; a right click dismisses it.
TEST_F(List, TheTrayIconCallsTheListForTheRememberedWindowAndDismissesIt) {
  Editor other("other", {40, 500, 400, 800});
  ASSERT_TRUE(other.Start());
  START({"from the tray"}, {{"actv_hide", "false"}});
  ASSERT_TRUE(app_.Post(WM_USER, 0, WM_MOUSEMOVE));  // the pointer passes over the icon
  ASSERT_TRUE(app_.Sync());
  ASSERT_TRUE(other.Activate());
  ASSERT_TRUE(app_.Post(WM_USER, 0, WM_LBUTTONDOWN));
  ASSERT_TRUE(WaitListInFront(list_));
  PressKey(VK_RETURN);
  EXPECT_PASTED(editor_, "from the tray");
  EXPECT_EQ("", other.Text());

  CALL_LIST(app_);
  ASSERT_TRUE(app_.Post(WM_USER, 0, WM_RBUTTONDOWN));
  ASSERT_TRUE(WaitMenu());
  EXPECT_TRUE(ListHidden(list_)) << Front();
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitMenuGone());
  ASSERT_TRUE(app_.Sync());
  EXPECT_EQ("from the tray", editor_.Text());
  GOODBYE(app_);
}
