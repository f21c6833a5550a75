#include "output/viewer.h"

#include "app/mainwnd.h"
#include "resource.h"

HWND g_hViewer = nullptr;
bool g_viewerShown = false;

namespace {

INT_PTR CALLBACK ViewerDlgProc(HWND hwnd, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      g_hViewer = hwnd;
      // No focus yet: a control of the hidden dialog taking the focus
      // would make the hidden dialog the program's active window.
      return FALSE;
    case WM_DESTROY:
      g_hViewer = nullptr;
      g_viewerShown = false;
      return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND CreateViewer() {
  return CreateDialogParamW(g_hInst, MAKEINTRESOURCEW(IDD_VIEWER), nullptr, ViewerDlgProc, 0);
}
