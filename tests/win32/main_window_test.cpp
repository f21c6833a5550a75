// The program's main window in its own process. Wine frees the hotkeys
// and the tray icon of a destroyed window itself, so that what the
// window's destruction gives back shows here only in the two dialogs its
// creation makes.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/errorbox.h"
#include "app/mainwnd.h"
#include "base/program.h"
#include "listwin/listwin.h"
#include "output/viewer.h"
#include "win32/store_support.h"

// A folder of its own for the files of the window's creation and
// destruction.
using MainWindowTest = StoreTest;

TEST_F(MainWindowTest, ItsDestructionTakesTheListWindowAndTheEditDialog) {
  DestroyWindow(ListWindowHandle());  // the main window makes its own
  g_fatal = false;            // as at a start
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterMainClass(instance);
  HWND main = CreateWindowExW(0, kMainClassName, kMainClassName, WS_OVERLAPPEDWINDOW, 0, 0, 0, 0,
                              nullptr, nullptr, instance, nullptr);
  ASSERT_NE(nullptr, main);
  ASSERT_NE(nullptr, ListWindowHandle());
  ASSERT_NE(nullptr, g_hViewer);

  DestroyWindow(main);
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the shutdown's
  SetMainWindow(nullptr);
  SetFatalErrorExit(nullptr);
  EXPECT_EQ(nullptr, ListWindowHandle());
  EXPECT_EQ(nullptr, g_hViewer);
}
