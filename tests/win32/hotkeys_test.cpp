// The phrase hotkey: its control in the settings dialog, and its
// registration on the main window beside the other two.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>

#include "app/hotkeys.h"
#include "base/program.h"
#include "resource.h"
#include "settings/settings.h"
#include "settings/settings_dialog.h"
#include "win32/dialog_answerer.h"

namespace {

// Combinations no other program of the test session uses: a hotkey is
// registered for the whole desktop, and the programs under test hold
// Ctrl+7 and Ctrl+8.
constexpr std::uint16_t kAllModifiers = kHotkeyControl | kHotkeyShift | kHotkeyAlt;
constexpr UINT kAllMods = MOD_CONTROL | MOD_SHIFT | MOD_ALT;

// Whether this process can take the combination: false while a hotkey
// holds it.
bool Free(UINT modifiers, UINT key) {
  if (!RegisterHotKey(nullptr, 0x7001, modifiers, key)) return false;
  UnregisterHotKey(nullptr, 0x7001);
  return true;
}

class Hotkeys : public ::testing::Test {
 protected:
  void SetUp() override {
    main_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    SetMainWindow(main_);
    g_set.listHotkey = MakeHotkeyWord(kAllModifiers, VK_F9);
    g_set.pauseHotkey = MakeHotkeyWord(kAllModifiers, VK_F10);
  }
  void TearDown() override {
    UnregisterHotKeys();
    SetMainWindow(nullptr);
    DestroyWindow(main_);
    g_set = saved_;
  }

  Settings saved_ = g_set;
  HWND main_ = nullptr;
};

}  // namespace

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

TEST_F(Hotkeys, ThePhraseHotkeyIsRegisteredOnlyWithAKeyAndReleasedWithTheOthers) {
  g_set.phraseHotkey = MakeHotkeyWord(kAllModifiers, 0);  // modifiers without a key
  RegisterHotKeys();
  EXPECT_FALSE(UnregisterHotKey(main_, kHotkeyPhrases)) << "no phrase hotkey is registered";

  g_set.phraseHotkey = MakeHotkeyWord(kAllModifiers, VK_F11);
  RegisterHotKeys();
  EXPECT_FALSE(Free(kAllMods, VK_F11)) << "the phrase hotkey holds its combination";
  UnregisterHotKeys();
  EXPECT_TRUE(Free(kAllMods, VK_F11)) << "and lets it go with the others";
}
