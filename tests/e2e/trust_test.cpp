// What the user must be able to trust: keys run only the commands typed,
// no entry is invented or lost, and what could not be done is said.
#include <windows.h>

#include <gtest/gtest.h>

#include "list_fixture.h"

using namespace e2e;

namespace {

class Trust : public ListProgramTest {};

const std::wstring kViewerCaption = Widen("コピウェル - 簡易編集");

}  // namespace

TEST_F(Trust, InputMethodTextAndMarksOfAClearedHistoryRunNoCommand) {
  START({"a", "b", "c", "d"});
  CALL_LIST(app_);
  TypeText(L"は\u3064\u3064ｐ\u3000");  // low bytes o, d, d, P and NUL
  TypeText("3jma");
  ASSERT_TRUE(WaitCursor(list_, 3)) << "j ran after the text";
  ASSERT_TRUE(app_.Settle());
  EXPECT_EQ(4, RowCount(list_));
  EXPECT_EQ(nullptr, FindDialog(app_.Pid(), kViewerCaption));

  KEY_UNTIL(VK_ESCAPE, {}, [&] { return WaitListHidden(list_); }, "Escape closes the list");
  ASSERT_TRUE(app_.Post(WM_COMMAND, 1004));  // the tray menu's delete-all
  HWND confirm = nullptr;
  ASSERT_TRUE(WaitDialog(app_.Pid(), Widen("コピウェル - 全履歴削除"), &confirm));
  PressButton(confirm, IDYES);
  ASSERT_TRUE(WaitRows(list_, 0));
  COPY_AND_WAIT(list_, "x", 1);
  ASSERT_TRUE(editor_.Activate());
  CALL_LIST(app_);
  TypeText("d'ap");  // no mark a any more, and nothing to put
  ASSERT_TRUE(app_.Settle());
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"x"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Trust, ACopyWhileEditingKeepsTheTypingForItsEntry) {
  START({"a"}, {{"data", "new"}});
  CALL_LIST(app_);
  TypeText("E");
  HWND viewer = nullptr;
  ASSERT_TRUE(WaitDialog(app_.Pid(), kViewerCaption, &viewer));
  HWND edit = GetDlgItem(viewer, 1032);
  ASSERT_TRUE(WaitUntil(
      "the focus in the viewer's edit box", [&] { return FocusOfThread(viewer) == edit; }, Front));
  TypeText("zzz");
  ASSERT_TRUE(WaitFor(
      "the edit box to hold zzza", [&] { return TextA(edit); },
      [](const std::string& seen) { return seen == "zzza"; }));
  COPY_AND_WAIT(list_, "copied", 2);
  ASSERT_TRUE(app_.Settle());
  EXPECT_EQ("zzza", TextA(edit));
  PressButton(viewer, IDOK);
  ASSERT_TRUE(app_.Sync());
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"copied", "zzza"})), Hex(ReadFileBytes(Data())));
}

// Another program holds the list hotkey, and the backup of the start-up
// delete cannot be made: the program starts with its history and says so.
TEST_F(Trust, WhatTheStartCouldNotDoIsSaidOnce) {
  WriteIni(dir_.Path(), {{"stdel", "true"}});
  WriteFileBytes(Data(), DataFile({"kept"}));
  CreateDirectoryW(dir_.File(L"clipdat.bak").c_str(), nullptr);
  ASSERT_TRUE(Succeeded(RegisterHotKey(nullptr, 1, MOD_CONTROL, '7')));
  ASSERT_TRUE(app_.Start());
  ANSWER(kErrorCaption.c_str(),
         "ホットキー Ctrl+7 はほかのプログラムが使っています。［設定］で別のキーを選んでください。");
  ANSWER(kErrorCaption.c_str(),
         "バックアップ (clipdat.bak) を作れなかったため、起動時の履歴削除は行いませんでした。\n"
         "履歴はそのまま残っています。");
  UnregisterHotKey(nullptr, 1);
  list_ = FindHistoryList(app_.Pid());
  EXPECT_EQ(1, RowCount(list_));
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"kept"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Trust, APasteWithItsTargetGoneSaysTheTextIsOnTheClipboard) {
  START({"a"});
  CALL_LIST(app_);
  editor_.Close();
  PressKey(VK_RETURN);
  ANSWER(kErrorCaption.c_str(),
         "貼り付け先のウィンドウが閉じられたか、前面に出せなかったため、貼り付けませんでした。\n"
         "選んだ文章はクリップボードにあります。");
  EXPECT_EQ("a", ClipboardText());
  GOODBYE(app_);
}

// A place kept from a larger screen shows the list wholly on this one,
// and stays the kept place until the user moves the window.
TEST_F(Trust, AListKeptOffTheScreenComesBackOntoIt) {
  START({"a"}, {{"size", "true"}, {"size_lx", "3000"}, {"size_ly", "2600"}});
  CALL_LIST(app_);
  RECT r;
  GetWindowRect(ListWindow(list_), &r);
  EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 1280 && r.bottom <= 1024) << ListPlace();
  KEY_UNTIL(VK_ESCAPE, {}, [&] { return WaitListHidden(list_); }, "Escape closes the list");
  GOODBYE(app_);
  EXPECT_EQ("3000", ReadIniValue(Ini(), "size_lx"));
  EXPECT_EQ("2600", ReadIniValue(Ini(), "size_ly"));
}
