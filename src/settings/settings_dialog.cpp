#include "settings/settings_dialog.h"

#include <commctrl.h>

#include <string>

#include "base/program.h"
#include "resource.h"
#include "settings/settings.h"
#include "settings/settings_codec.h"

namespace {

// The settings record the open dialog shows and edits.
Settings* g_edited = nullptr;

// A radio button and the code it stands for.
struct Choice {
  int control;
  int code;
};
constexpr Choice kCursorChoices[] = {{IDC_CURSOR_TOP, kCursorTop}, {IDC_CURSOR_LAST, kCursorLast}};
constexpr Choice kKeyChoices[] = {
    {IDC_KEY_NORMAL, kKeyNormal}, {IDC_KEY_VILIKE, kKeyVilike}, {IDC_KEY_VILIKE19, kKeyVilike19}};
constexpr Choice kDataChoices[] = {{IDC_DATA_NEW, kDataNew}, {IDC_DATA_OLD, kDataOld}};
constexpr Choice kLfChoices[] = {{IDC_LF_NONE, kLfNone}, {IDC_LF_OK, kLfOk}, {IDC_LF_INYO, kLfInyo}};

// A check box and the codes of its two states.
struct Toggle {
  int control;
  int Settings::*field;
  int ticked;
  int cleared;
};
constexpr Toggle kToggles[] = {
    {IDC_SUSSAVE, &Settings::sussave, kYes, kNo},
    {IDC_ACTV_HIDE, &Settings::actv_hide, kHide, kStay},
    {IDC_TOPMOST, &Settings::topmost, kYes, kNo},
    {IDC_KEEP_RECT, &Settings::size, kYes, kNo},
    {IDC_STDEL, &Settings::stdel, 1, 0},
};

// The quote prefix and footer fields hold up to 1022 bytes.
constexpr int kQuoteFieldBytes = kQuoteBufferSize - 2;
constexpr int kWrapFieldBytes = 254;

bool Ticked(HWND dialog, int control) { return IsDlgButtonChecked(dialog, control) == BST_CHECKED; }

template <size_t N>
void ShowChoice(HWND dialog, const Choice (&choices)[N], int code) {
  for (const Choice& c : choices)
    CheckDlgButton(dialog, c.control, c.code == code ? BST_CHECKED : BST_UNCHECKED);
}

// The code of the ticked button, or `none` when no button is ticked.
template <size_t N>
int ReadChoice(HWND dialog, const Choice (&choices)[N], int none) {
  for (const Choice& c : choices)
    if (Ticked(dialog, c.control)) return c.code;
  return none;
}

// The list may be kept in front only while it is not hidden on every
// switch anyway; a greyed box keeps its tick and still counts on OK.
void FollowHideRule(HWND dialog) {
  EnableWindow(GetDlgItem(dialog, IDC_TOPMOST), !Ticked(dialog, IDC_ACTV_HIDE));
}

void FillDialog(HWND dialog) {
  SendDlgItemMessageW(dialog, IDC_LIST_HOTKEY, HKM_SETHOTKEY, g_edited->listHotkey, 0);
  SendDlgItemMessageW(dialog, IDC_PAUSE_HOTKEY, HKM_SETHOTKEY, g_edited->pauseHotkey, 0);
  ShowChoice(dialog, kDataChoices, g_edited->data);
  ShowChoice(dialog, kCursorChoices, g_edited->cursor);
  ShowChoice(dialog, kKeyChoices, g_edited->key);
  ShowChoice(dialog, kLfChoices, g_edited->lf);
  // The prefix and footer are ANSI texts, as the history is.
  SetDlgItemTextA(dialog, IDC_INYO, g_edited->inyo);
  SetDlgItemTextA(dialog, IDC_FOOT, g_edited->foot);
  for (const Toggle& t : kToggles)
    CheckDlgButton(dialog, t.control, g_edited->*t.field == t.ticked ? BST_CHECKED : BST_UNCHECKED);
  FollowHideRule(dialog);
  SetDlgItemTextA(dialog, IDC_LFBYTE, std::to_string(g_edited->lfbyte).c_str());
}

void Accept(HWND dialog) {
  g_edited->listHotkey =
      static_cast<std::uint16_t>(SendDlgItemMessageW(dialog, IDC_LIST_HOTKEY, HKM_GETHOTKEY, 0, 0));
  g_edited->pauseHotkey = static_cast<std::uint16_t>(
      SendDlgItemMessageW(dialog, IDC_PAUSE_HOTKEY, HKM_GETHOTKEY, 0, 0));
  g_edited->data = ReadChoice(dialog, kDataChoices, kDataOld);
  g_edited->cursor = ReadChoice(dialog, kCursorChoices, kCursorLast);
  g_edited->key = ReadChoice(dialog, kKeyChoices, g_edited->key);
  g_edited->lf = ReadChoice(dialog, kLfChoices, g_edited->lf);
  for (const Toggle& t : kToggles)
    g_edited->*t.field = Ticked(dialog, t.control) ? t.ticked : t.cleared;
  GetDlgItemTextA(dialog, IDC_INYO, g_edited->inyo, kQuoteFieldBytes + 1);
  GetDlgItemTextA(dialog, IDC_FOOT, g_edited->foot, kQuoteFieldBytes + 1);
  char wrap[kWrapFieldBytes + 1] = {};
  GetDlgItemTextA(dialog, IDC_LFBYTE, wrap, sizeof wrap);
  g_edited->lfbyte = ParseWrapColumn(wrap);
  EndDialog(dialog, 1);
}

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      FillDialog(dialog);
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          Accept(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 2);
          return TRUE;
        case IDC_ACTV_HIDE:
          FollowHideRule(dialog);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

int ShowSettingsDialog(HWND owner, Settings* edited) {
  g_edited = edited;
  return static_cast<int>(DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(IDD_SETTINGS), owner,
                                          SettingsDlgProc, 0));
}
