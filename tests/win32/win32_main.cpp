// Runs the Win32 tests with the program's own instance and common controls,
// so that the dialog templates and list views are the program's.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/mainwnd.h"

int main(int argc, char** argv) {
  InstallReporter();
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&controls);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
