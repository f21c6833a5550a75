// The tray icon, its menu and the hotkeys, used from outside as a user
// would: the icon's picture on the screen, key presses, answers to the
// program's questions, and the files it leaves.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "program_test.h"

using namespace e2e;

namespace {

class Tray : public ProgramTest {
 protected:
  void Start(const char* file, int line, Kopiwell& app) { list_ = StartReady(file, line, app); }

  // Runs a tray command and answers the question it asks.
  void AnswerCommand(const char* file, int line, Kopiwell& app, int command, const char* caption,
                     int answer) {
    ::testing::ScopedTrace trace(file, line, "AnswerCommand");
    ASSERT_TRUE(app.Post(WM_COMMAND, static_cast<WPARAM>(command)));
    HWND box = nullptr;
    ASSERT_TRUE(WaitDialog(app.Pid(), Widen(caption), &box));
    PressButton(box, answer);
    ASSERT_TRUE(WaitDialogGone(app.Pid(), Widen(caption)));
    ASSERT_TRUE(app.Sync());
  }

  // Waits until the notification area shows as many icons.
  static ::testing::AssertionResult IconCountIs(int count) {
    return WaitFor(
        std::to_string(count) + " icons in the notification area", TrayIconCount,
        [&](int seen) { return seen == count; });
  }

  HWND list_ = nullptr;
};

}  // namespace

#define START(app) ASSERT_NO_FATAL_FAILURE(Start(__FILE__, __LINE__, app))
#define ANSWER_COMMAND(...) \
  ASSERT_NO_FATAL_FAILURE(AnswerCommand(__FILE__, __LINE__, __VA_ARGS__))

TEST_F(Tray, TheIconShowsWhileTheProgramRuns) {
  ASSERT_EQ(0, TrayIconCount());
  Kopiwell app(dir_.Path());
  START(app);
  // The shell draws a new icon when it gets round to it.
  EXPECT_TRUE(IconCountIs(1));
  EXPECT_TRUE(WaitTrayPicture(TrayPicture::kNormal));
  GOODBYE(app);
  EXPECT_TRUE(IconCountIs(0)) << "the icon must not stay behind";
}

TEST_F(Tray, ThePauseHotkeyStopsAndResumesCapture) {
  Kopiwell app(dir_.Path());
  START(app);
  COPY_AND_WAIT(list_, "before", 1);

  PressKey('8', {VK_CONTROL});
  ASSERT_TRUE(WaitTrayPicture(TrayPicture::kPaused)) << "the paused picture";
  ASSERT_TRUE(CopyText("during"));
  ASSERT_TRUE(app.Settle());
  EXPECT_EQ(1, RowCount(list_)) << "nothing is recorded while paused";

  PressKey('8', {VK_CONTROL});
  ASSERT_TRUE(WaitTrayPicture(TrayPicture::kNormal));
  COPY_AND_WAIT(list_, "after", 2);

  GOODBYE(app);
  EXPECT_EQ(Hex(DataFile({"before", "after"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Tray, PausingFromTheMenuCommandAlsoSwapsTheIcon) {
  Kopiwell app(dir_.Path());
  START(app);
  ASSERT_TRUE(app.Post(WM_COMMAND, 1002));
  EXPECT_TRUE(WaitTrayPicture(TrayPicture::kPaused));
  ASSERT_TRUE(CopyText("ignored"));
  ASSERT_TRUE(app.Settle());
  EXPECT_EQ(0, RowCount(list_));
  GOODBYE(app);
  EXPECT_NE(std::string::npos, ReadFileBytes(dir_.File(L"kopiwell.ini")).find("sus=true"));
}

TEST_F(Tray, DeleteAllHistoryAsksFirst) {
  WriteFileBytes(Data(), DataFile({"one", "two"}));
  Kopiwell app(dir_.Path());
  START(app);
  ANSWER_COMMAND(app, 1004, "コピウェル - 全履歴削除", IDNO);
  EXPECT_EQ(2, RowCount(list_));
  ANSWER_COMMAND(app, 1004, "コピウェル - 全履歴削除", IDYES);
  EXPECT_EQ(0, RowCount(list_));
  GOODBYE(app);
  EXPECT_EQ(Hex(DataFile({})), Hex(ReadFileBytes(Data())));
}

TEST_F(Tray, RestoreWithoutABackupSaysSoAndKeepsTheHistory) {
  WriteFileBytes(Data(), DataFile({"kept"}));
  Kopiwell app(dir_.Path());
  START(app);
  ANSWER_COMMAND(app, 1005, "コピウェル - 古いデータ復元", IDNO);
  EXPECT_EQ(1, RowCount(list_));

  ASSERT_TRUE(app.Post(WM_COMMAND, 1005));
  HWND question = nullptr;
  ASSERT_TRUE(WaitDialog(app.Pid(), Widen("コピウェル - 古いデータ復元"), &question));
  PressButton(question, IDYES);
  HWND box = nullptr;
  ASSERT_TRUE(WaitDialog(app.Pid(), kErrorCaption, &box));
  EXPECT_EQ("バックアップファイルがありません", Narrow(MessageText(box)));
  PressButton(box, IDOK);
  ASSERT_TRUE(WaitDialogGone(app.Pid(), kErrorCaption));
  EXPECT_EQ(1, RowCount(list_));
  GOODBYE(app);
  EXPECT_EQ(Hex(DataFile({"kept"})), Hex(ReadFileBytes(Data())));
}

TEST_F(Tray, RestoreBringsBackTheHistoryBeforeTheStartUpDelete) {
  const std::string previous = DataFile({"yesterday 1", "yesterday 2"});
  WriteFileBytes(Data(), previous);
  WriteIni(dir_.Path(), {{"stdel", "true"}});
  Kopiwell app(dir_.Path());
  START(app);
  EXPECT_EQ(0, RowCount(list_));
  COPY_AND_WAIT(list_, "today", 1);

  ANSWER_COMMAND(app, 1005, "コピウェル - 古いデータ復元", IDYES);
  EXPECT_EQ(2, RowCount(list_)) << "the backup replaces the whole list";
  GOODBYE(app);
  EXPECT_EQ(Hex(previous), Hex(ReadFileBytes(Data())));
}

// The shell forgets every icon when its taskbar is made anew (after it
// crashed, for instance) and says so to every top-level window.
TEST_F(Tray, TheIconComesBackWhenTheTaskbarIsMadeAnew) {
  Kopiwell app(dir_.Path());
  START(app);
  PressKey('8', {VK_CONTROL});
  ASSERT_TRUE(WaitTrayPicture(TrayPicture::kPaused));

  NOTIFYICONDATAW gone = {};
  gone.cbSize = NOTIFYICONDATAW_V1_SIZE;
  gone.hWnd = app.MainWindow();
  gone.uID = 1;
  ASSERT_TRUE(Succeeded(Shell_NotifyIconW(NIM_DELETE, &gone)));
  ASSERT_TRUE(IconCountIs(0));

  DWORD_PTR answer = 0;
  SendMessageTimeoutW(app.MainWindow(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0,
                      SMTO_NORMAL, kDeadlineMs, &answer);
  EXPECT_TRUE(WaitTrayPicture(TrayPicture::kPaused)) << "back, and still showing the paused state";
  GOODBYE(app);
}

TEST_F(Tray, ARightClickOpensTheMenuWhoseItemsWork) {
  Kopiwell app(dir_.Path());
  START(app);
  ASSERT_TRUE(app.Post(WM_USER, 0, WM_RBUTTONDOWN));
  ASSERT_TRUE(WaitMenu());
  // Pause comes after the phrases and the settings (the keys pass over
  // separators).
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  EXPECT_TRUE(WaitTrayPicture(TrayPicture::kPaused));
  EXPECT_TRUE(WaitMenuGone());
  GOODBYE(app);
}
