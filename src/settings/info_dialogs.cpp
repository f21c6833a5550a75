#include "settings/info_dialogs.h"

#include "base/program.h"
#include "base/report.h"
#include "resource.h"

namespace {

// Shared by both dialogs: OK and Cancel (Escape, the close box) close
// them; everything else is the system's.
INT_PTR InfoDlgWork(HWND dialog, UINT message, WPARAM wParam) {
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

// Guarded as every procedure of the program is, so that whatever either
// dialog comes to do never lets running out of memory end the program.
INT_PTR CALLBACK InfoDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  return GuardMemory([&] { return InfoDlgWork(dialog, message, wParam); }, TRUE);
}

}  // namespace

void ShowFirstRunDialog() {
  DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(IDD_FIRSTRUN), nullptr, InfoDlgProc, 0);
}

void ShowAboutDialog(HWND owner) {
  DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(IDD_ABOUT), owner, InfoDlgProc, 0);
}
