#include "settings/info_dialogs.h"

#include "base/program.h"
#include "resource.h"

namespace {

// Shared by both dialogs: OK and Cancel (Escape, the close box) close
// them; everything else is the system's.
INT_PTR CALLBACK InfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK:
      EndDialog(dialog, 1);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 2);
      return TRUE;
  }
  return FALSE;
}

}  // namespace

void ShowFirstRunDialog() {
  DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(IDD_FIRSTRUN), nullptr, InfoDlgProc, 0);
}

void ShowAboutDialog(HWND owner) {
  DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(IDD_ABOUT), owner, InfoDlgProc, 0);
}
