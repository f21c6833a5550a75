// The settings dialog, driven from outside as a user would: clicks, typed
// texts and keys in the hotkey boxes, then OK or Cancel.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "program_test.h"
#include "resource.h"

using namespace e2e;

namespace {

const std::wstring kCaption = Widen("コピウェル - 設定");

class SettingsDialog : public ProgramTest {
 protected:
  std::vector<std::string> IniLines() const { return Lines(ReadFileBytes(Ini())); }
  // Whether the file has the line; if not, the result shows the file's
  // line of the same key.
  ::testing::AssertionResult IniHas(const std::string& line) const {
    const std::string key = line.substr(0, line.find('=') + 1);
    std::vector<std::string> sameKey;
    for (const std::string& l : IniLines()) {
      if (l == line) return ::testing::AssertionSuccess();
      if (l.compare(0, key.size(), key) == 0) sameKey.push_back(l);
    }
    return ::testing::AssertionFailure()
           << "kopiwell.ini has no line " << Shown(line) << " but " << Shown(sameKey);
  }

  // The state of the box whose tick greys the topmost box, for failure
  // messages.
  static std::string ActvHide(HWND dialog) { return IsChecked(dialog, IDC_ACTV_HIDE).message(); }

  void Start(const char* file, int line) { list_ = StartReady(file, line, app_); }

  HWND Open(const char* file, int line) {
    ::testing::ScopedTrace trace(file, line, "Open");
    EXPECT_TRUE(app_.Post(WM_COMMAND, 1000));
    HWND dialog = nullptr;
    EXPECT_TRUE(WaitDialog(app_.Pid(), kCaption, &dialog));
    return dialog;
  }

  void Close(const char* file, int line, HWND dialog, int button) {
    ::testing::ScopedTrace trace(file, line, "Close");
    PressButton(dialog, button);
    ASSERT_TRUE(WaitDialogGone(app_.Pid(), kCaption));
    ASSERT_TRUE(app_.Sync());
  }

  void Copy(const char* file, int line, const std::string& text) {
    CopyAndWait(file, line, list_, text, RowCount(list_) + 1);
  }

  Kopiwell app_{dir_.Path()};
  HWND list_ = nullptr;
};

// Whether this process can take the combination: false while another
// program holds it.
bool Free(UINT modifiers, UINT key) {
  if (!RegisterHotKey(nullptr, 0x7001, modifiers, key)) return false;
  UnregisterHotKey(nullptr, 0x7001);
  return true;
}

}  // namespace

#define START() ASSERT_NO_FATAL_FAILURE(Start(__FILE__, __LINE__))
#define OPEN() Open(__FILE__, __LINE__)
#define CLOSE(...) ASSERT_NO_FATAL_FAILURE(Close(__FILE__, __LINE__, __VA_ARGS__))
#define COPY(...) ASSERT_NO_FATAL_FAILURE(Copy(__FILE__, __LINE__, __VA_ARGS__))

TEST_F(SettingsDialog, OkWritesTheSettingsAndKeepsTheOrder) {
  WriteFileBytes(Data(), DataFile({"a", "b", "c"}));
  START();
  // Another value on disk: OK must write the record's own values back.
  WriteIni(dir_.Path(), {{"size_lx", "777"}});
  HWND dialog = OPEN();
  EXPECT_TRUE(IsChecked(dialog, IDC_DATA_OLD));
  EXPECT_TRUE(IsChecked(dialog, IDC_KEY_VILIKE19));
  EXPECT_TRUE(IsChecked(dialog, IDC_LF_INYO));
  EXPECT_TRUE(IsChecked(dialog, IDC_CURSOR_LAST));
  EXPECT_TRUE(IsChecked(dialog, IDC_TOPMOST));
  EXPECT_FALSE(IsChecked(dialog, IDC_ACTV_HIDE));
  EXPECT_EQ(MAKEWORD('7', HOTKEYF_CONTROL),
            SendMessageW(GetDlgItem(dialog, IDC_LIST_HOTKEY), HKM_GETHOTKEY, 0, 0));
  EXPECT_TRUE(Free(MOD_CONTROL, '7')) << "the hotkeys are released while the dialog is open";
  CLOSE(dialog, IDOK);
  EXPECT_TRUE(IniHas("size_lx=100"));
  EXPECT_FALSE(Free(MOD_CONTROL, '7')) << "and registered again afterwards";
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"a", "b", "c"})), Hex(ReadFileBytes(Data())));
}

TEST_F(SettingsDialog, SwitchingTheOrderReversesTheHistoryAtOnce) {
  WriteFileBytes(Data(), DataFile({"a", "b", "c"}));
  START();
  HWND dialog = OPEN();
  Click(dialog, IDC_DATA_NEW);
  CLOSE(dialog, IDOK);
  EXPECT_TRUE(IniHas("data=new"));
  COPY("newest");  // newest first now: the capture goes on top of c, b, a

  dialog = OPEN();
  Click(dialog, IDC_DATA_OLD);
  CLOSE(dialog, IDOK);
  GOODBYE(app_);
  EXPECT_EQ(Hex(DataFile({"a", "b", "c", "newest"})), Hex(ReadFileBytes(Data())))
      << "switching back restores the first order";
}

TEST_F(SettingsDialog, CancelChangesNothing) {
  WriteFileBytes(Data(), DataFile({"a", "b"}));
  START();
  const std::vector<std::string> before = IniLines();
  HWND dialog = OPEN();
  Click(dialog, IDC_DATA_NEW);
  Click(dialog, IDC_KEY_NORMAL);
  Click(dialog, IDC_STDEL);
  Click(dialog, IDC_ACTV_HIDE);
  SetText(dialog, IDC_INYO, "# ");
  SetText(dialog, IDC_LFBYTE, "40");
  SendMessageW(GetDlgItem(dialog, IDC_LIST_HOTKEY), HKM_SETHOTKEY, MAKEWORD('Q', HOTKEYF_ALT), 0);
  CLOSE(dialog, IDCANCEL);
  EXPECT_EQ(before, IniLines());
  EXPECT_FALSE(Free(MOD_CONTROL, '7')) << "the old hotkey is registered again";
  GOODBYE(app_);
  EXPECT_EQ(before, IniLines());
  EXPECT_EQ(Hex(DataFile({"a", "b"})), Hex(ReadFileBytes(Data())));
}

TEST_F(SettingsDialog, TheWrapPositionIsReadAsTyped) {
  START();
  const struct {
    const char* typed;
    const char* stored;
  } cases[] = {{"-5", "lfbyte=-5"}, {"abc", "lfbyte=0"}, {"12abc", "lfbyte=12"}, {" +72", "lfbyte=72"}};
  for (const auto& c : cases) {
    HWND dialog = OPEN();
    SetText(dialog, IDC_LFBYTE, c.typed);
    CLOSE(dialog, IDOK);
    EXPECT_TRUE(IniHas(c.stored)) << c.typed;
  }
  GOODBYE(app_);
}

TEST_F(SettingsDialog, NewHotkeysWorkAtOnceAndTheOldOnesNoLonger) {
  START();
  HWND dialog = OPEN();
  SendMessageW(GetDlgItem(dialog, IDC_LIST_HOTKEY), HKM_SETHOTKEY,
               MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
  SendMessageW(GetDlgItem(dialog, IDC_PAUSE_HOTKEY), HKM_SETHOTKEY,
               MAKEWORD('P', HOTKEYF_CONTROL | HOTKEYF_SHIFT), 0);
  CLOSE(dialog, IDOK);
  EXPECT_TRUE(IniHas("vk=75"));
  EXPECT_TRUE(IniHas("shift=true"));
  EXPECT_FALSE(Free(MOD_CONTROL | MOD_SHIFT, 'K')) << "the new list hotkey is taken";
  EXPECT_TRUE(Free(MOD_CONTROL, '7')) << "the old one is free again";

  PressKey('8', {VK_CONTROL});  // the old pause key does nothing any more
  ASSERT_TRUE(app_.Sync());
  PressKey('P', {VK_CONTROL, VK_SHIFT});
  EXPECT_TRUE(WaitTrayPicture(TrayPicture::kPaused));
  GOODBYE(app_);
}

TEST_F(SettingsDialog, AClearedHotkeyComesBackAsTheDefaultAtTheNextStart) {
  START();
  HWND dialog = OPEN();
  SendMessageW(GetDlgItem(dialog, IDC_LIST_HOTKEY), HKM_SETHOTKEY, 0, 0);
  CLOSE(dialog, IDOK);
  for (const char* line : {"alt=false", "ctrl=false", "shift=false", "vk=0"})
    EXPECT_TRUE(IniHas(line)) << line;
  GOODBYE(app_);

  Kopiwell again(dir_.Path());
  START_READY(again);
  EXPECT_FALSE(Free(MOD_CONTROL, '7')) << "Ctrl+7 is the list hotkey again";
  GOODBYE(again);
}

TEST_F(SettingsDialog, HidingTheListGreysAlwaysInFrontButKeepsItsTick) {
  START();
  HWND dialog = OPEN();
  HWND topmost = GetDlgItem(dialog, IDC_TOPMOST);
  ASSERT_TRUE(IsWindowEnabled(topmost)) << ActvHide(dialog);
  ASSERT_TRUE(IsChecked(dialog, IDC_TOPMOST));
  Click(dialog, IDC_ACTV_HIDE);
  EXPECT_FALSE(IsWindowEnabled(topmost)) << ActvHide(dialog);
  EXPECT_TRUE(IsChecked(dialog, IDC_TOPMOST));
  CLOSE(dialog, IDOK);
  EXPECT_TRUE(IniHas("actv_hide=false"));
  EXPECT_TRUE(IniHas("topmost=true")) << "the greyed box still counts";

  dialog = OPEN();
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_TOPMOST))) << ActvHide(dialog);
  Click(dialog, IDC_ACTV_HIDE);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_TOPMOST))) << ActvHide(dialog);
  Click(dialog, IDC_TOPMOST);
  CLOSE(dialog, IDOK);
  EXPECT_TRUE(IniHas("actv_hide=true"));
  EXPECT_TRUE(IniHas("topmost=false"));
  GOODBYE(app_);
}

TEST_F(SettingsDialog, LongQuoteTextsAreCutTo1022Bytes) {
  START();
  HWND dialog = OPEN();
  SetText(dialog, IDC_INYO, std::string(1500, 'q'));
  SetText(dialog, IDC_FOOT, " <" + std::string(1200, 'f'));
  CLOSE(dialog, IDOK);
  EXPECT_TRUE(IniHas("inyo=\"" + std::string(1022, 'q') + "\""));
  EXPECT_TRUE(IniHas("foot=\" <" + std::string(1020, 'f') + "\""));
  GOODBYE(app_);
}

// The list of programs never recorded comes back from the file whole,
// longer than the 255 bytes other texts are read back to, and as typed.
TEST_F(SettingsDialog, TheProgramsNeverRecordedRoundTripThroughTheFile) {
  START();
  HWND dialog = OPEN();
  EXPECT_EQ(0u, TextA(GetDlgItem(dialog, IDC_IGNORE)).find("KeePass.exe;KeePassXC.exe;"));
  std::string typed = " b.EXE ;a.exe";
  while (typed.size() < 300) typed += ";tool" + std::to_string(typed.size()) + ".exe";
  SetText(dialog, IDC_IGNORE, typed);
  CLOSE(dialog, IDOK);
  EXPECT_TRUE(IniHas("ignore=\"" + typed + "\""));
  GOODBYE(app_);

  Kopiwell again(dir_.Path());
  START_READY(again);
  ASSERT_TRUE(again.Post(WM_COMMAND, 1000));
  ASSERT_TRUE(WaitDialog(again.Pid(), kCaption, &dialog));
  EXPECT_EQ(typed, TextA(GetDlgItem(dialog, IDC_IGNORE)));
  PressButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitDialogGone(again.Pid(), kCaption));
  GOODBYE(again);
}
