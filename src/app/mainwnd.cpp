#include "app/mainwnd.h"

#include <windows.h>
#include <commctrl.h>

#include <new>
#include <string>

#include "app/capture.h"
#include "app/ctrl_hook.h"
#include "app/errorbox.h"
#include "app/help.h"
#include "app/history_actions.h"
#include "app/hotkeys.h"
#include "app/phrase_file.h"
#include "app/tray.h"
#include "base/dpi.h"
#include "listwin/commands.h"
#include "listwin/listwin.h"
#include "listwin/selection.h"
#include "output/messages.h"
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
bool g_captureFailureReported = false;
// True while the store is closed because the session was ending. If the
// session goes on after all, the store is opened again; until then
// nothing may save from the closed working file, or the data file would
// be overwritten with an empty history.
bool g_closedForSessionEnd = false;
// The start-up delete was not done: its backup could not be made.
bool g_startDelSkipped = false;

void ReportOpenFailure() {
  const int error = History().Error();
  if (const Message* m = MessageFor(kWhenOpening, error))
    ErrorBox(MessageText(*m).c_str(), m->kind);
  else
    Tell(kMsgOpenOther, {std::to_string(error)});
}

// The list window and the edit dialog, made by this window's creation
// and destroyed with it; windows of these kinds made elsewhere are not
// this window's to destroy.
bool g_dialogsMade = false;

void MakeDialogs() {
  CreateListWindow();
  CreateViewer(ListWindowHandle(), History());
  g_dialogsMade = true;
}

void DestroyDialogs() {
  if (!g_dialogsMade) return;
  g_dialogsMade = false;
  if (g_hViewer) DestroyWindow(g_hViewer);
  if (HWND list = ListWindowHandle()) DestroyWindow(list);
}

// Creation makes the window's parts in this order, and destruction
// unmakes them in the reverse order (Unmake).
LRESULT MainOnCreate(HWND hwnd) {
  SetMainWindow(hwnd);
  SetFatalErrorExit(DestroyMainWindow);
  StartCapture(hwnd);
  // What a run that did not end normally captured is taken up before
  // anything (the start-up delete, the new working file) can touch it.
  Store& history = History();
  tdb_recover(history, g_set.data == kDataNew);
  if (g_set.stdel == 1 && tdb_startdel(history, kStartDelBackup) != 0) {
    if (history.Error() == kErrStartDelBackup)
      g_startDelSkipped = true;  // the history stays; said once the start is over
    else
      Tell(kMsgStartDeleteFailed);
  }
  if (tdb_create(history) != 0 && history.Error() == kErrDataCreate) {
    if (!g_fatal) Tell(kMsgDataCreate);
    return -1;
  }
  // After a fatal error the window is already gone and the shutdown has
  // run: opening the store now would only leave a working file behind.
  // The empty data file made above is what the next start needs.
  if (g_fatal) return -1;

  MakeDialogs();
  if (!tdb_open(history)) {
    ReportOpenFailure();
    return -1;
  }
  OpenPhrases();
  // The ways to call the list up come last, once it holds the history.
  // A hotkey another program holds is told after the start, with the
  // other notices, not from a box in the middle of the creation.
  TrayAdd();
  RegisterHotKeys();
  return 0;
}

// The end of the run, on destruction and when the session ends: the
// help window closed, the settings written and the history saved.
void SaveForTheEnd(bool sessionEnd) {
  CloseHelp(MainWindow());
  WriteSettings();
  if (History().Work()) {
    if (tdb_close(History()) == 0) {
      g_closedForSessionEnd = sessionEnd;
    } else if (!g_fatal) {
      Tell(sessionEnd ? kMsgCloseFailedAtSessionEnd : kMsgCloseFailed);
    }
  }
  if (!SavePhrases() && !g_fatal) Tell(kMsgPhrasesNotSaved);
}

// Unmakes what creation made, in the reverse order; a part creation did
// not get to is skipped. With `save`, the history is saved where it was
// opened: after the ways in are gone, so that nothing calls the list up
// while it is saved, and before the list window goes.
void Unmake(HWND hwnd, bool save) {
  UnregisterHotKeys();
  TrayDelete();
  if (save) SaveForTheEnd(false);
  DestroyDialogs();
  StopCapture(hwnd);
}

// Creation that runs out of memory (recovering a huge leftover on the
// 32-bit build, say) fails, as an open that does: it must not go on with
// no history open, where every copy would be lost. Nothing was saved, so
// clip.dat and any leftover stay for a start that has the memory.
//
// A creation that fails unmakes what it made. After a fatal box the
// window is destroyed already, and this finds nothing left; after a
// plain one it is not, and not every system follows a failed WM_CREATE
// with WM_DESTROY (Wine sends only WM_NCDESTROY).
LRESULT CreateOrFail(HWND hwnd) {
  LRESULT result = -1;
  try {
    result = MainOnCreate(hwnd);
  } catch (const std::bad_alloc&) {
    Tell(kMsgOpenNoMemory);
  }
  if (result == -1) Unmake(hwnd, false);
  return result;
}

void MainOnDestroy(HWND hwnd) {
  g_destroying = true;
  Unmake(hwnd, true);
  PostQuitMessage(0);
}

// The session is ending, and the program may be ended without being
// destroyed: the history is saved now, and the hotkeys and the capture,
// which would reach it, stop with it. The window, its dialogs and the
// icon stay, in case the session goes on.
void OnQueryEndSession(HWND hwnd) {
  if (g_closedForSessionEnd) return;
  UnregisterHotKeys();
  SaveForTheEnd(true);
  StopCapture(hwnd);
}

// The session did not end after all: take the history up again from the
// data file just saved, so that the program goes on working. The capture
// starts again last, not first as in the creation: a reopen that fails
// with a plain box leaves the program running without a history, and
// nothing may then be captured into it.
void ResumeAfterCancelledEnd() {
  if (!g_closedForSessionEnd) return;
  g_closedForSessionEnd = false;
  ForgetCursorRow();  // the rows come back, as they were saved, without states
  if (!tdb_open(History())) {
    ReportOpenFailure();
    return;
  }
  OpenPhrases();
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
      return CreateOrFail(hwnd);
    case WM_DESTROY:
      MainOnDestroy(hwnd);
      return 0;
    case WM_QUERYENDSESSION:
      OnQueryEndSession(hwnd);
      return TRUE;
    case WM_ENDSESSION:
      if (!wParam) ResumeAfterCancelledEnd();
      return 0;
    case WM_CLIPBOARDUPDATE:
      OnClipboardUpdate(hwnd);
      return 0;
    case WM_TIMER:
      if (wParam == kCaptureRetryTimer) OnCaptureRetry(hwnd);
      if (wParam == kSkipNextTimer || wParam == kTipTimer) OnTrayTimer(hwnd, wParam);
      return 0;
    case WM_HOTKEY:
      OnHotKey(static_cast<int>(wParam));
      return 0;
    case kCtrlTwice:
      OnHotKey(kHotkeyShowList);
      return 0;
    case kDpiChanged:
      OnTrayDpiChanged();
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
      Tell(kMsgWriteFailed);
      return 0;
    case kWorkingFileFull:
      Tell(kMsgWorkingFileFull);
      return 0;
    case kNoMemory:
      Tell(kMsgNoMemory);
      return 0;
    case kCaptureFailed:
      Tell(kMsgCaptureFailed, {std::to_string(static_cast<int>(wParam))});
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
  // For WM_CREATE the guard's own 0 would mean "go on".
  const LRESULT failed = message == WM_CREATE ? -1 : 0;
  return GuardMemory([&] { return MainProc(hwnd, message, wParam, lParam); }, failed);
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

void PostCaptureFailure(int code) {
  if (g_captureFailureReported) return;
  g_captureFailureReported = true;
  PostMessageW(MainWindow(), kCaptureFailed, static_cast<WPARAM>(code), 0);
}

void ReportStartNotices() {
  TellTakenHotKeys();
  const KeptLeftover kept = History().TakeKeptLeftover();  // told once
  if (kept.unreadable && kept.name.empty())
    Tell(kMsgLeftoverUnreadableNotKept);
  else if (kept.unreadable)
    Tell(kMsgLeftoverUnreadable, {kept.name});
  else if (!kept.name.empty())
    Tell(kMsgKeptLeftover, {kept.name, std::to_string(kept.texts)});
  if (g_startDelSkipped) {
    g_startDelSkipped = false;
    Tell(kMsgStartDeleteSkipped);
  }
  ReportDamagedHistory();
  ReportPhraseNotices();
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
  reporter.captureFailed = PostCaptureFailure;
  SetReporter(reporter);
}
