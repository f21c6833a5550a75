// The fixed phrases from outside: rows of the history taken into them,
// their own file, which nothing done to the history touches, and their
// order, which only the user changes.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "list_fixture.h"

using namespace e2e;

namespace {

class Phrases : public ListProgramTest {
 protected:
  std::wstring PhraseData() const { return dir_.File(L"phrase.dat"); }

  // The texts of the list window's children on the screen.
  std::vector<std::wstring> ShownTexts() {
    std::vector<std::wstring> texts;
    for (HWND child = GetWindow(ListWindow(list_), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t text[64] = {};
      GetWindowTextW(child, text, 64);
      if (IsWindowVisible(child)) texts.push_back(text);
    }
    return texts;
  }
  // Waits until the list window says, in its find bar's line, that n rows
  // were added.
  ::testing::AssertionResult SaysAdded(int n) {
    const std::wstring said = Widen("定型文に登録しました（" + std::to_string(n) + "件）");
    return WaitFor(
        "the list window to say " + Narrow(said), [&] { return ShownTexts(); },
        [&](const std::vector<std::wstring>& texts) {
          return std::find(texts.begin(), texts.end(), said) != texts.end();
        });
  }
};

}  // namespace

TEST_F(Phrases, RowsTakenFromTheHistoryAreSavedApartAndOutliveItsClearing) {
  START({"a", "b", "c"});
  CALL_LIST(app_);
  TypeText("1Gj2aa");
  ASSERT_TRUE(SaysAdded(2));
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"b", "c"})), Hex(ReadFileBytes(PhraseData())));
  EXPECT_EQ(Hex(DataFile({"a", "b", "c"})), Hex(ReadFileBytes(Data()))) << "the history stays";

  Kopiwell next(dir_.Path());
  list_ = START_READY(next);
  ASSERT_TRUE(next.Post(WM_COMMAND, 1004));  // 全履歴削除
  HWND box = nullptr;
  ASSERT_TRUE(WaitDialog(next.Pid(), Widen("コピウェル - 全履歴削除"), &box));
  PressButton(box, IDYES);
  ASSERT_TRUE(WaitRows(list_, 0));
  GOODBYE(next);
  EXPECT_EQ(Hex(DataFile({})), Hex(ReadFileBytes(Data())));
  EXPECT_EQ(Hex(DataFile({"b", "c"})), Hex(ReadFileBytes(PhraseData())));
}

TEST_F(Phrases, TheStandardModeAddsWithInsertAndMovesRowsWithAltArrows) {
  START({"a", "b", "c"}, {{"key", "normal"}});
  CALL_LIST(app_);
  KEY_UNTIL(VK_HOME, {}, [&] { return WaitCursor(list_, 0); }, "Home goes to the first row");
  PressKey(VK_INSERT);
  ASSERT_TRUE(SaysAdded(1));
  KEY_UNTIL(VK_DOWN, {VK_MENU}, [&] { return WaitCursor(list_, 1); }, "the cursor goes with it");
  PressKey(VK_DOWN, {VK_MENU});
  ASSERT_TRUE(WaitCursor(list_, 2));
  PressKey(VK_DOWN, {VK_MENU});  // at the bottom: nothing moves
  ASSERT_TRUE(app_.Sync());
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"b", "c", "a"})), Hex(ReadFileBytes(Data())));
  EXPECT_EQ(Hex(DataFile({"a"})), Hex(ReadFileBytes(PhraseData())));
}

TEST_F(Phrases, AKilledRunLosesNoPhraseItAdded) {
  {
    Kopiwell run(dir_.Path());
    WriteFileBytes(Data(), DataFile({"x", "y"}));
    list_ = START_READY(run);
    ASSERT_TRUE(editor_.Start());
    CALL_LIST(run);
    TypeText("1Gaa");
    ASSERT_TRUE(SaysAdded(1));
  }  // the driver ends a program that is still running by force
  EXPECT_EQ(Hex(DataFile({})), Hex(ReadFileBytes(PhraseData()))) << "nothing was saved";
  Kopiwell next(dir_.Path());
  list_ = START_READY(next);
  GOODBYE(next);
  EXPECT_EQ(Hex(DataFile({"x"})), Hex(ReadFileBytes(PhraseData())));
}

TEST_F(Phrases, CtrlTabShowsThePhrasesWhosePasteAddsNothingWhileCopiesGoToTheHistory) {
  WriteFileBytes(PhraseData(), DataFile({"regards", "address"}));
  START({"a", "b"});
  CALL_LIST(app_);
  auto caption = [&] {
    wchar_t text[128] = {};
    GetWindowTextW(ListWindow(list_), text, 128);
    return std::wstring(text);
  };
  const std::wstring phrases = Widen("コピウェル 定型文 :");
  PressKey(VK_TAB, {VK_CONTROL});
  ASSERT_TRUE(WaitFor(
      "the caption to begin with " + Narrow(phrases), caption,
      [&](const std::wstring& seen) { return seen.compare(0, phrases.size(), phrases) == 0; }));
  EXPECT_EQ(2, RowCount(list_));
  TypeText("1Gjvv");
  EXPECT_PASTED(editor_, "address");
  ASSERT_TRUE(CopyText("copied"));
  ASSERT_TRUE(app_.Sync());
  EXPECT_EQ(2, RowCount(list_)) << "the copy is no phrase";
  KEY_UNTIL(VK_ESCAPE, {}, [&] { return WaitListHidden(list_); }, "Escape hides the list");
  CALL_LIST(app_);
  EXPECT_TRUE(WaitRows(list_, 3)) << "the list hotkey shows the history, which has the copy";
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"a", "b", "copied"})), Hex(ReadFileBytes(Data())));
  EXPECT_EQ(Hex(DataFile({"regards", "address"})), Hex(ReadFileBytes(PhraseData())));
}

TEST_F(Phrases, ThePhraseHotkeyShowsThePhrases) {
  WriteFileBytes(PhraseData(), DataFile({"regards"}));
  START({"a", "b"}, {{"vk_phr", "57"}, {"ctrl_phr", "true"}});
  ASSERT_TRUE(app_.Settle());
  PressKey('9', {VK_CONTROL});
  ASSERT_TRUE(WaitListInFront(list_));
  EXPECT_EQ(1, RowCount(list_));
  PressKey(VK_RETURN);
  EXPECT_PASTED(editor_, "regards");
  GOODBYE(app_);
}
