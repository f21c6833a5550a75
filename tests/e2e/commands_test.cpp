// The command language and the context menu from outside: characters
// typed into the list, the Delete key, Ctrl+C, clicks of the right button.
#include <windows.h>

#include <gtest/gtest.h>

#include "list_fixture.h"

using namespace e2e;

namespace {

class Commands : public ListProgramTest {
 protected:
  // Picks an item of the open popup menu with the keyboard, the pointer
  // out of the way so that it highlights nothing itself.
  void ChooseMenuItem(const char* file, int line, int index) {
    ::testing::ScopedTrace trace(file, line, "ChooseMenuItem");
    ASSERT_TRUE(WaitMenu());
    MovePointer({1200, 20});
    PressKey(VK_HOME);
    for (int i = 0; i < index; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
  }
};

}  // namespace

#define CHOOSE_MENU_ITEM(...) \
  ASSERT_NO_FATAL_FAILURE(ChooseMenuItem(__FILE__, __LINE__, __VA_ARGS__))

TEST_F(Commands, ViLikeKeysMoveCopyPasteDeleteAndPutBack) {
  START({"a", "b", "c", "d", "e"});  // actv_hide=true: the list stays after a paste
  CALL_LIST(app_);
  TypeText("2j");
  ASSERT_TRUE(WaitCursor(list_, 2));
  TypeText("yy");
  ASSERT_TRUE(WaitClipboard("c")) << "yy copies only";
  EXPECT_TRUE(ListInFront(list_)) << Front();
  PressKey(VK_RETURN);
  EXPECT_PASTED(editor_, "c");
  ASSERT_TRUE(WaitListInFront(list_));

  TypeText("dd");
  ASSERT_TRUE(WaitRows(list_, 4));
  TypeText("Gp");
  ASSERT_TRUE(WaitRows(list_, 5)) << "p puts the deleted row back";
  TypeText("k.");
  ASSERT_TRUE(WaitRows(list_, 6)) << ". repeats the put";
  TypeText("vv");
  EXPECT_PASTED(editor_, "cc");
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"a", "b", "d", "e", "c", "c"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Commands, TheStandardModeDeletesWithDeleteCopiesWithCtrlCAndSearchesByLetter) {
  START({"apple", "jam", "kiwi", "lime"}, {{"key", "normal"}});
  CALL_LIST(app_);
  TypeText("k");
  EXPECT_TRUE(WaitCursor(list_, 2)) << "a letter finds the row it begins, it is no command here";
  KEY_UNTIL(VK_DELETE, {}, [&] { return WaitRows(list_, 3); }, "Delete deletes the cursor row");
  EXPECT_TRUE(WaitCursor(list_, 2));
  PressKey('C', {VK_CONTROL});
  ASSERT_TRUE(WaitListHidden(list_)) << "Ctrl+C closes the list";
  EXPECT_EQ("lime", ClipboardText());
  CALL_LIST(app_);
  PressKey('C', {VK_CONTROL, VK_SHIFT});
  ASSERT_TRUE(WaitListHidden(list_));
  EXPECT_EQ("> lime\r\n", ClipboardText()) << "quoted while Shift is held";
  EXPECT_EQ("", editor_.Text()) << "Ctrl+C never pastes";
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"apple", "jam", "lime"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Commands, TheContextMenuRunsItsCommandsWhereverItIsAskedFor) {
  START({"a", "b", "c"});
  CALL_LIST(app_);
  // A right click on a row: its menu, whose second item copies the row.
  RightClickAt(Centre(RowScreenRect(list_, 1)));
  CHOOSE_MENU_ITEM(1);
  ASSERT_TRUE(WaitClipboard("b"));
  EXPECT_EQ(1, CursorRow(list_)) << "the clicked row became the cursor row";
  ASSERT_TRUE(WaitMenuGone());
  ASSERT_TRUE(app_.Settle());

  // From the keyboard the menu opens at the cursor row.
  PressKey(VK_F10, {VK_SHIFT});
  HWND menu = nullptr;
  ASSERT_TRUE(WaitUntil(
      "the menu at the cursor row", [&] { return (menu = FindPopupMenu()) != nullptr; }, Front));
  RECT at;
  GetWindowRect(menu, &at);
  const RECT row = RowScreenRect(list_, 1);
  EXPECT_EQ(row.left, at.left);
  EXPECT_EQ(row.bottom, at.top);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitMenuGone());
  GOODBYE(app_);
}
