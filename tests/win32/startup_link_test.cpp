// The settings dialog's sign-in box against shortcuts in a folder of the
// test's own: it shows what the folder holds, and OK makes, replaces or
// removes the shortcut as the box says.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/last_error.h"
#include "resource.h"
#include "settings/settings_dialog.h"
#include "settings/startup_link.h"
#include "win32/dialog_answerer.h"

TEST(StartupLink, TheSettingsBoxShowsTheShortcutAndOkAppliesIt) {
  wchar_t temp[MAX_PATH] = {}, exe[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  const std::wstring dir =
      std::wstring(temp) + L"kw-link-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dir.c_str(), nullptr);
  const StartupLink ours = {dir + L"\\コピウェル.lnk", exe, dir};
  const StartupLink otherCopy = {ours.file, dir + L"\\other\\kopiwell.exe", dir};
  const StartupLink otherFolder = {ours.file, exe, dir + L"\\other"};
  const StartupLink nowhere = {dir + L"\\missing\\コピウェル.lnk", exe, dir};
  const struct {
    const StartupLink* before;  // the shortcut there when the dialog opens
    const StartupLink* shown;   // the one the box stands for
    bool click, shownTicked, noteShown;
    LinkState after;
    LinkOutcome outcome;
  } cases[] = {
      {nullptr, &ours, true, false, false, LinkState::kOurs, LinkOutcome::kDone},
      {&ours, &ours, true, true, false, LinkState::kNone, LinkOutcome::kDone},
      {&ours, &ours, false, true, false, LinkState::kOurs, LinkOutcome::kDone},
      {&otherCopy, &ours, true, false, true, LinkState::kOurs, LinkOutcome::kDone},
      {&otherCopy, &ours, false, false, true, LinkState::kOther, LinkOutcome::kDone},  // stays
      {&otherFolder, &ours, false, false, true, LinkState::kOther, LinkOutcome::kDone},
      {nullptr, &nowhere, true, false, false, LinkState::kNone, LinkOutcome::kNotMade},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    ASSERT_TRUE(Succeeded(RemoveLink(ours)));
    if (c.before) {
      ASSERT_TRUE(MakeLink(*c.before)) << "at " << Narrow(c.before->file);
    }
    bool ticked = false, note = false;
    DialogAnswerer answer("コピウェル - 設定", IDOK, [&] {
      HWND dialog = FindWindowW(L"#32770", L"コピウェル - 設定");
      ticked = IsDlgButtonChecked(dialog, IDC_SIGNIN) == BST_CHECKED;
      note = IsWindowVisible(GetDlgItem(dialog, IDC_SIGNIN_NOTE)) != FALSE;
      if (c.click) SendDlgItemMessageW(dialog, IDC_SIGNIN, BM_CLICK, 0, 0);
      SendDlgItemMessageW(dialog, IDC_STDEL, BM_CLICK, 0, 0);
    });
    Settings edited;
    LinkOutcome outcome = LinkOutcome::kNotRemoved;
    EXPECT_EQ(1, ShowSettingsDialog(nullptr, &edited, *c.shown, &outcome));
    ASSERT_TRUE(answer.Answered());
    EXPECT_EQ(c.shownTicked, ticked);
    EXPECT_EQ(c.noteShown, note);
    EXPECT_EQ(c.outcome, outcome);
    EXPECT_EQ(c.after, StateOf(*c.shown));
    EXPECT_EQ(1, edited.stdel) << "the other choices are taken whatever the shortcut did";
  }
  RemoveLink(ours);
  RemoveDirectoryW(dir.c_str());
}
