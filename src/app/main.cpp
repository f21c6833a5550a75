// Entry point: the single-instance guard, the start-up sequence and the
// message loop. The exit code is always 1.
#include <windows.h>
#include <commctrl.h>

#include "app/capture.h"
#include "app/errorbox.h"
#include "app/folder_lock.h"
#include "app/mainwnd.h"
#include "base/program.h"
#include "listwin/find.h"
#include "listwin/listwin.h"
#include "output/messages.h"
#include "output/shape.h"
#include "output/viewer.h"
#include "settings/ini.h"

namespace {

constexpr int kExitCode = 1;

// The next message. Whenever the queue is empty, the keys typed so far
// are all through: a search they made the find bar give up runs then.
// While a capture waits for the clipboard, it is tried again every
// millisecond in which no message comes. False at WM_QUIT.
bool NextMessage(MSG* msg) {
  for (;;) {
    if (PeekMessageW(msg, nullptr, 0, 0, PM_REMOVE)) return msg->message != WM_QUIT;
    if (RunOwedSearch()) continue;
    if (!CaptureWaiting()) return GetMessageW(msg, nullptr, 0, 0) > 0;
    if (MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE) ==
        WAIT_TIMEOUT)
      OnCaptureRetry(MainWindow());
  }
}

void RunMessageLoop() {
  MSG msg;
  while (NextMessage(&msg)) {
    // The two modeless dialogs get their keyboard handling first.
    if (ListWindowHandle() && IsDialogMessageW(ListWindowHandle(), &msg)) continue;
    if (g_hViewer && IsDialogMessageW(g_hViewer, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  InstallReporter();
  // The window is looked for before it exists, so two programs started
  // at the same moment can both pass this guard; the folder's lock, taken
  // before any file is read, lets only one of them at the history.
  if (FindWindowW(kMainClassName, nullptr) || !LockDataFolder()) {
    Tell(kMsgAlreadyRunning);
    return kExitCode;
  }

  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&controls);
  RegisterMainClass(instance);
  // Output is shaped by the double-byte rules of the system's ANSI code
  // page, the code page of the captured texts.
  SetShapeCodePage(GetACP());
  // A first run shows the welcome; the new file then gets every key.
  if (ReadSettings() == 0) WriteSettings();

  // Creation opens the store and adds the tray icon and the hotkeys;
  // when it fails, a box has said why and the window is gone.
  // Destruction takes them all away again.
  HWND main = CreateWindowExW(0, kMainClassName, kMainClassName, WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                              nullptr, nullptr, instance, nullptr);
  if (!main) return kExitCode;
  ShowWindow(main, SW_HIDE);
  ResetRunState();
  ReportStartNotices();

  RunMessageLoop();
  return kExitCode;
}
