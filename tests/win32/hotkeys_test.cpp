// The phrase hotkey: its control in the settings dialog.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "resource.h"
#include "settings/settings.h"
#include "settings/settings_dialog.h"
#include "win32/dialog_answerer.h"

TEST(PhraseHotkey, TheSettingsControlShowsItAndOkTakesWhatItHolds) {
  const std::uint16_t ctrlF11 = MakeHotkeyWord(kHotkeyControl, VK_F11);
  const struct {
    std::uint16_t shown, typed;  // 0: an empty control
  } cases[] = {{0, ctrlF11}, {ctrlF11, 0}};
  const StartupLink nowhere = {L"C:\\kw-no-such-folder\\コピウェル.lnk", L"C:\\kopiwell.exe", L"C:\\"};
  for (const auto& c : cases) {
    Settings edited;
    edited.phraseHotkey = c.shown;
    LRESULT shown = -1;
    DialogAnswerer answer("コピウェル - 設定", IDOK, [&] {
      HWND control = GetDlgItem(FindWindowW(L"#32770", L"コピウェル - 設定"), IDC_PHRASE_HOTKEY);
      shown = SendMessageW(control, HKM_GETHOTKEY, 0, 0);
      SendMessageW(control, HKM_SETHOTKEY, c.typed, 0);
    });
    LinkOutcome outcome = LinkOutcome::kNotMade;
    EXPECT_EQ(1, ShowSettingsDialog(nullptr, &edited, nowhere, &outcome));
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(c.shown, shown) << std::hex << c.shown;
    EXPECT_EQ(c.typed, edited.phraseHotkey) << std::hex << c.typed;
  }
}
