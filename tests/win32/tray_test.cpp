// The tray menu as it is built for each right click, and the choice of
// help file. (The menu cannot be read from another process.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/help.h"
#include "app/mainwnd.h"
#include "app/tray.h"
#include "base/skip_next.h"
#include "listwin/context_menu.h"
#include "listwin/listwin.h"
#include "common/text.h"
#include "win32/dialog_answerer.h"
#include "win32/store_support.h"

namespace {

struct Item {
  UINT id;
  std::string text;  // empty for a separator
  UINT state;
  bool separator;
};

Item ItemAt(HMENU menu, int position) {
  wchar_t text[128] = {};
  MENUITEMINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = 128;
  GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
  return {info.wID, Narrow(text), info.fState, (info.fType & MFT_SEPARATOR) != 0};
}

const struct {
  int id;
  const char* text;
} kExpected[] = {
    {kCmdPhrases, "定型文"},      {0, ""},
    {kCmdSettings, "設定..."},    {kCmdPause, "一時停止"},
    {kMenuSkipNextCopy, "次のコピーを記録しない"},                  {0, ""},
    {kCmdClearAll, "全履歴削除"}, {kCmdRestore, "古いデータ復元"}, {0, ""},
    {kCmdHelp, "トピックの検索"}, {kCmdAbout, "バージョン情報..."}, {0, ""},
    {kCmdGoodbye, "さよなら"},
};

}  // namespace

TEST(TrayMenu, HoldsItsThirteenPositionsInOrder) {
  HMENU menu = BuildTrayMenu(true, false);
  ASSERT_EQ(13, GetMenuItemCount(menu));
  for (int i = 0; i < 13; ++i) {
    const Item item = ItemAt(menu, i);
    SCOPED_TRACE("position " + std::to_string(i + 1));
    if (kExpected[i].id == 0) {
      EXPECT_TRUE(item.separator) << "item " << item.id << " \"" << item.text << "\"";
      continue;
    }
    EXPECT_FALSE(item.separator);
    EXPECT_EQ(static_cast<UINT>(kExpected[i].id), item.id);
    EXPECT_EQ(kExpected[i].text, item.text);
    EXPECT_EQ(0u, item.state & (MFS_GRAYED | MFS_CHECKED));
  }
  DestroyMenu(menu);
}

TEST(TrayMenu, GreysEveryCommandWhileOneRunsAndChecksPauseAndSkipNext) {
  ArmSkipNext(GetTickCount64());
  HMENU menu = BuildTrayMenu(false, true);
  DisarmSkipNext();
  for (int i = 0; i < 13; ++i) {
    const Item item = ItemAt(menu, i);
    if (item.separator) continue;
    EXPECT_TRUE(item.state & MFS_GRAYED) << item.text;
    const bool checked = item.id == static_cast<UINT>(kCmdPause) ||
                         item.id == static_cast<UINT>(kMenuSkipNextCopy);
    EXPECT_EQ(checked, (item.state & MFS_CHECKED) != 0) << item.text;
  }
  DestroyMenu(menu);
}

TEST(TrayMenu, TheAboutCommandGreysTheMenuWhileItsDialogIsOpen) {
  bool idleWhileOpen = true;
  {
    DialogAnswerer answer("コピウェル - バージョン情報", IDOK, [&] { idleWhileOpen = g_trayIdle; });
    ASSERT_TRUE(g_trayIdle) << "a tray command is running before the test's";
    EXPECT_TRUE(OnTrayCommand(nullptr, kCmdAbout)) << "not taken as a tray command";
    ASSERT_TRUE(answer.Answered());
  }
  EXPECT_FALSE(idleWhileOpen);
  EXPECT_TRUE(g_trayIdle) << "idle again once the dialog is closed";
  EXPECT_FALSE(OnTrayCommand(nullptr, 1008)) << "no tray command";
}

TEST_F(StoreTest, HelpIsTheWindowsHelpFileWhenOneLiesBesideTheProgram) {
  char dir[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, dir);
  const std::wstring wide = FromAnsi(dir);
  std::wstring path;
  EXPECT_EQ(HelpKind::kPage, ChooseHelp(wide, &path));
  EXPECT_EQ(wide + L"\\kopiwell.html", path);
  WriteFileBytes("kopiwell.hlp", "?_");
  EXPECT_EQ(HelpKind::kWindowsHelp, ChooseHelp(wide, &path));
  EXPECT_EQ(wide + L"\\kopiwell.hlp", path);
}
