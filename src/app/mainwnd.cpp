#include "app/mainwnd.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/capture.h"
#include "app/errorbox.h"
#include "app/help.h"
#include "app/hotkeys.h"
#include "app/tray.h"
#include "listwin/commands.h"
#include "listwin/listwin.h"
#include "listwin/selection.h"
#include "output/viewer.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "store/history.h"
#include "store/store.h"


namespace {

// True from the start of WM_DESTROY: the window cannot be destroyed twice.
bool g_destroying = false;
bool g_writeFailureReported = false;
bool g_fullReported = false;
// True while the store is closed because the session was ending. If the
// session goes on after all, the store is opened again; until then
// nothing may save from the closed working file, or the data file would
// be overwritten with an empty history.
bool g_closedForSessionEnd = false;
// The start-up delete was not done: its backup could not be made.
bool g_startDelSkipped = false;

struct OpenFailure {
  int code;
  const char* message;
};
constexpr OpenFailure kOpenFailures[] = {
    {kErrOpenWork, "WndProc:データファイルを開けません"},
    {kErrOpenNoData, "WndProc:データファイルが存在しません"},
};

void ReportOpenFailure() {
  // Nothing is wrong with the file: the program just cannot hold it.
  if (g_tdbError == kErrOpenNoMemory) {
    ErrorBox("履歴が大きすぎてメモリーに読み込めないため、コピウェルを終了します。\n"
             "履歴ファイル (clip.dat) はそのまま残してあります。",
             kErrorPlain);
    return;
  }
  for (const OpenFailure& f : kOpenFailures) {
    if (f.code == g_tdbError) {
      ErrorBox(f.message, kErrorFatal);
      return;
    }
  }
  std::string message = "WndProc:ファイルオープン時にエラー発生 " + std::to_string(g_tdbError);
  ErrorBox(message.c_str(), kErrorFatal);
}

LRESULT MainOnCreate(HWND hwnd) {
  SetMainWindow(hwnd);
  SetFatalErrorExit(DestroyMainWindow);
  StartCapture(hwnd);
  // What a run that did not end normally captured is taken up before
  // anything (the start-up delete, the new working file) can touch it.
  tdb_recover(kBaseName, g_set.data == kDataNew);
  if (g_set.stdel == 1 && tdb_startdel(kBaseName, kStartDelBackup) != 0) {
    if (g_tdbError == kErrStartDelBackup)
      g_startDelSkipped = true;  // the history stays; said once the start is over
    else
      ErrorBox("WndProc:起動時削除の失敗", kErrorFatal);
  }
  if (tdb_create(kBaseName) != 0 && g_tdbError == kErrDataCreate) {
    if (!g_fatal) ErrorBox("WndProc:データファイルを作成できません", kErrorFatal);
    return -1;
  }
  // After a fatal error the window is already gone and the shutdown has
  // run: opening the store now would only leave a working file behind.
  // The empty data file made above is what the next start needs.
  if (g_fatal) return -1;

  CreateListWindow();
  CreateViewer(g_hListWnd, g_hListView);
  if (!OpenHistory(g_hListView)) {
    ReportOpenFailure();
    return -1;
  }
  return 0;
}

// The shutdown sequence, on destruction and when the session ends.
void RunShutdown(bool sessionEnd) {
  CloseHelp(MainWindow());
  WriteSettings();
  if (g_store) {
    if (CloseHistory(g_hListView)) {
      g_closedForSessionEnd = sessionEnd;
    } else if (!g_fatal) {
      ErrorBox(sessionEnd ? "WndProc:履歴ファイルのクローズ・保存に失敗(Q)"
                          : "WndProc:履歴ファイルのクローズ・保存に失敗(D)",
               kErrorFatal);
    }
  }
  tdb_buffree();
  UnregisterHotKeys();
  StopCapture(MainWindow());
}

void MainOnDestroy() {
  g_destroying = true;
  RunShutdown(false);
  PostQuitMessage(0);
}

// The session did not end after all: take the history up again from the
// data file just saved, so that the program goes on working.
void ResumeAfterCancelledEnd() {
  if (!g_closedForSessionEnd) return;
  g_closedForSessionEnd = false;
  ForgetCursorRow();  // the rows come back, as they were saved, without states
  if (!OpenHistory(g_hListView)) {
    ReportOpenFailure();
    return;
  }
  RegisterHotKeys();
  StartCapture(MainWindow());
}

}  // namespace

ATOM RegisterMainClass(HINSTANCE instance) {
  WNDCLASSW wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kMainClassName;
  return RegisterClassW(&wc);
}

namespace {

LRESULT MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return MainOnCreate(hwnd);
    case WM_DESTROY:
      MainOnDestroy();
      return 0;
    case WM_QUERYENDSESSION:
      if (!g_closedForSessionEnd) RunShutdown(true);
      return TRUE;
    case WM_ENDSESSION:
      if (!wParam) ResumeAfterCancelledEnd();
      return 0;
    case WM_CLIPBOARDUPDATE:
      OnClipboardUpdate(hwnd);
      return 0;
    case WM_TIMER:
      if (wParam == kCaptureRetryTimer) OnCaptureRetry(hwnd);
      return 0;
    case WM_HOTKEY:
      OnHotKey(static_cast<int>(wParam));
      return 0;
    case kTrayNotify:
      OnTrayNotify(hwnd, lParam);
      return 0;
    case kShowTrayMenu:
      ShowTrayMenu(hwnd);
      return 0;
    case WM_COMMAND:
      if (OnTrayCommand(hwnd, LOWORD(wParam))) return 0;
      break;
    case kWriteFailed:
      ErrorBox("履歴ファイル (clipwork.dat) に書き込めませんでした。\n"
               "ディスクの空き容量を確かめてください。書き込めなかったコピーは記録されていません。",
               kErrorPlain);
      return 0;
    case kWorkingFileFull:
      ErrorBox("履歴ファイル (clipwork.dat) が 2GB の上限に達したため、"
               "これからのコピーは記録されません。\n"
               "不要な履歴を削除してから「さよなら」で終了し、起動し直すと、"
               "削除した分だけ履歴ファイルが小さくなります。",
               kErrorPlain);
      return 0;
    case kNoMemory:
      ErrorBox("メモリーが足りないため、操作を取りやめました。履歴は操作の前のままです。\n"
               "ほかのプログラムを終了してから、もう一度お試しください。",
               kErrorPlain);
      return 0;
    default:
      if (message == TaskbarCreatedMessage()) {
        OnTaskbarCreated();
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardMemory([&] { return MainProc(hwnd, message, wParam, lParam); });
}

void DestroyMainWindow() {
  if (MainWindow() && !g_destroying) DestroyWindow(MainWindow());
}

void PostWriteFailure() {
  if (g_writeFailureReported) return;
  g_writeFailureReported = true;
  PostMessageW(MainWindow(), kWriteFailed, 0, 0);
}

void PostWorkingFileFull() {
  if (g_fullReported) return;
  g_fullReported = true;
  PostMessageW(MainWindow(), kWorkingFileFull, 0, 0);
}

void PostNoMemory() { PostMessageW(MainWindow(), kNoMemory, 0, 0); }

void ReportStartNotices() {
  if (!g_keptLeftover.name.empty()) {
    const std::string message =
        "前回の終了時に保存されなかった履歴の作業ファイルは、今の履歴ファイル (clip.dat) "
        "の続きではなかったため、取り込まずに " +
        g_keptLeftover.name + " として残しました。\n中には " +
        std::to_string(g_keptLeftover.texts) + " 件の文章があります。";
    g_keptLeftover = KeptLeftover();  // told once
    ErrorBox(message.c_str(), kErrorPlain);
  }
  if (g_startDelSkipped) {
    g_startDelSkipped = false;
    ErrorBox("バックアップ (clipdat.bak) を作れなかったため、起動時の履歴削除は行いませんでした。\n"
             "履歴はそのまま残っています。",
             kErrorPlain);
  }
  ReportDamagedHistory();
}

void ReportDamagedHistory() {
  if (!g_loadDamage.damaged) return;
  std::string message =
      "履歴ファイル (clip.dat) の一部が壊れていたため、読み取れた履歴だけを読み込みました。\n";
  message += g_loadDamage.copy.empty()
                 ? "元のファイルの控えは作れませんでした。"
                 : "元のファイルは " + g_loadDamage.copy + " として残してあります。";
  g_loadDamage = LoadDamage();  // told once
  ErrorBox(message.c_str(), kErrorPlain);
}

void ResetRunState() {
  ResetSelectionState();
  ClearRepeatRegister();
  g_fatal = false;
}

void InstallReporter() {
  Reporter reporter;
  reporter.errorBox = ShowErrorBox;
  reporter.writeFailure = PostWriteFailure;
  reporter.workingFileFull = PostWorkingFileFull;
  reporter.noMemory = PostNoMemory;
  SetReporter(reporter);
}
