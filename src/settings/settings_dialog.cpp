#include "settings/settings_dialog.h"

#include <commctrl.h>

#include <cstddef>
#include <string>

#include "base/program.h"
#include "base/report.h"
#include "resource.h"
#include "settings/settings.h"
#include "settings/settings_codec.h"
#include "settings/settings_fields.h"

namespace {

// What the open dialog works on, handed to it as its creation parameter:
// the settings record it shows and edits, the sign-in shortcut the box
// stands for, whether that was ours when the dialog opened, and what OK
// did to it.
struct DialogData {
  Settings* edited;
  const StartupLink* link;
  bool linkWasOurs;
  LinkOutcome linkOutcome;
};

DialogData& DataOf(HWND dialog) {
  return *reinterpret_cast<DialogData*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

bool Ticked(HWND dialog, int control) { return IsDlgButtonChecked(dialog, control) == BST_CHECKED; }

void Tick(HWND dialog, int control, bool ticked) {
  CheckDlgButton(dialog, control, ticked ? BST_CHECKED : BST_UNCHECKED);
}

// The fields the dialog shows: all but the paused state and the window
// rectangles.
bool Shown(const SettingsField& field) { return field.control != 0 || field.wordCount != 0; }

void ShowField(HWND dialog, const SettingsField& field) {
  switch (field.codec) {
    case FieldCodec::kHotkey:
      SendDlgItemMessageW(dialog, field.control, HKM_SETHOTKEY, DataOf(dialog).edited->*field.hotkey, 0);
      break;
    case FieldCodec::kWords:
      for (std::size_t i = 0; i < field.wordCount; ++i)
        Tick(dialog, field.words[i].control, field.words[i].code == DataOf(dialog).edited->*field.code);
      break;
    case FieldCodec::kQuoted:
      // The prefix and footer are ANSI texts, as the history is.
      SetDlgItemTextA(dialog, field.control, DataOf(dialog).edited->*field.text);
      break;
    case FieldCodec::kFlag:
      Tick(dialog, field.control, DataOf(dialog).edited->*field.code == field.flag.tickedCode);
      break;
    case FieldCodec::kNumber:
      SetDlgItemTextA(dialog, field.control, std::to_string(DataOf(dialog).edited->*field.code).c_str());
      break;
  }
}

// The code of the first ticked button; with none ticked, by the field's rule.
int TickedWord(HWND dialog, const SettingsField& field) {
  for (std::size_t i = 0; i < field.wordCount; ++i)
    if (Ticked(dialog, field.words[i].control)) return field.words[i].code;
  return field.unticked == Unticked::kKeeps ? DataOf(dialog).edited->*field.code : FallbackWord(field).code;
}

int FlagFromBox(HWND dialog, const SettingsField& field) {
  const FieldFlag& flag = field.flag;
  const int cleared = flag.tickedCode == flag.trueCode ? flag.falseCode : flag.trueCode;
  return Ticked(dialog, field.control) ? flag.tickedCode : cleared;
}

// The number typed in the field's edit control, read as the wrap column
// is: the only number the dialog shows.
int TypedNumber(HWND dialog, const SettingsField& field) {
  std::string typed(static_cast<std::size_t>(field.limit) + 1, '\0');
  GetDlgItemTextA(dialog, field.control, &typed[0], field.limit + 1);
  return ParseWrapColumn(typed.c_str());
}

void TakeField(HWND dialog, const SettingsField& field) {
  switch (field.codec) {
    case FieldCodec::kHotkey:
      DataOf(dialog).edited->*field.hotkey = static_cast<std::uint16_t>(
          SendDlgItemMessageW(dialog, field.control, HKM_GETHOTKEY, 0, 0));
      break;
    case FieldCodec::kWords:
      DataOf(dialog).edited->*field.code = TickedWord(dialog, field);
      break;
    case FieldCodec::kQuoted:
      GetDlgItemTextA(dialog, field.control, DataOf(dialog).edited->*field.text, field.limit + 1);
      break;
    case FieldCodec::kFlag:
      DataOf(dialog).edited->*field.code = FlagFromBox(dialog, field);
      break;
    case FieldCodec::kNumber:
      DataOf(dialog).edited->*field.code = TypedNumber(dialog, field);
      break;
  }
}

// The list may be kept in front only while it is not hidden on every
// switch anyway; a greyed box keeps its tick and still counts on OK.
void FollowHideRule(HWND dialog) {
  EnableWindow(GetDlgItem(dialog, IDC_TOPMOST), !Ticked(dialog, IDC_ACTV_HIDE));
}

// The box shows the file system's truth; a shortcut of another copy of
// the program is named under it, since ticking the box replaces it.
void ShowLink(HWND dialog) {
  const LinkState state = StateOf(*DataOf(dialog).link);
  DataOf(dialog).linkWasOurs = state == LinkState::kOurs;
  Tick(dialog, IDC_SIGNIN, DataOf(dialog).linkWasOurs);
  ShowWindow(GetDlgItem(dialog, IDC_SIGNIN_NOTE), state == LinkState::kOther ? SW_SHOW : SW_HIDE);
}

// A ticked box makes or repairs the shortcut; one that was right already
// is left as it is, so that a Startup folder we may not write to does not
// cost a message at every OK. Only our own shortcut is removed, and only
// when the box was unticked: another copy's stays.
void TakeLink(HWND dialog) {
  DataOf(dialog).linkOutcome = LinkOutcome::kDone;
  if (Ticked(dialog, IDC_SIGNIN)) {
    if (!DataOf(dialog).linkWasOurs && !MakeLink(*DataOf(dialog).link)) DataOf(dialog).linkOutcome = LinkOutcome::kNotMade;
  } else if (DataOf(dialog).linkWasOurs && !RemoveLink(*DataOf(dialog).link)) {
    DataOf(dialog).linkOutcome = LinkOutcome::kNotRemoved;
  }
}

void FillDialog(HWND dialog) {
  for (const SettingsField& field : SettingsFields())
    if (Shown(field)) ShowField(dialog, field);
  FollowHideRule(dialog);
  ShowLink(dialog);
}

void Accept(HWND dialog) {
  for (const SettingsField& field : SettingsFields())
    if (Shown(field)) TakeField(dialog, field);
  TakeLink(dialog);
  EndDialog(dialog, 1);
}

INT_PTR SettingsDlgWork(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
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

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  bool done = false;
  const INT_PTR result = GuardMemory(
      [&] {
        const INT_PTR r = SettingsDlgWork(dialog, message, wParam, lParam);
        done = true;
        return r;
      },
      TRUE);
  // A dialog that memory ran out while filling or reading holds fields
  // that are not the settings: it closes as cancelled, and they stay.
  if (!done) EndDialog(dialog, 2);
  return result;
}

}  // namespace

int ShowSettingsDialog(HWND owner, Settings* edited, const StartupLink& link,
                       LinkOutcome* outcome) {
  DialogData data = {edited, &link, false, LinkOutcome::kDone};
  const int result = static_cast<int>(
      DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(IDD_SETTINGS), owner, SettingsDlgProc,
                      reinterpret_cast<LPARAM>(&data)));
  *outcome = data.linkOutcome;
  return result;
}
