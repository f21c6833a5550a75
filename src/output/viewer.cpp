#include "output/viewer.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/code_page.h"
#include "base/dpi.h"
#include "base/program.h"
#include "base/report.h"
#include "base/utf8.h"
#include "base/window_place.h"
#include "output/messages.h"
#include "output/shape_wide.h"
#include "resource.h"
#include "settings/settings.h"
#include "store/store.h"
#include "store/unicode_record.h"

HWND g_hViewer = nullptr;
bool g_viewerShown = false;

namespace {

// What the dialog works with: given to it at its creation, kept with it
// (DWLP_USER) and freed when it is destroyed.
struct ViewerData {
  // The list window the dialog hands the keyboard back to, and the store
  // whose entries it edits.
  HWND returnTo = nullptr;
  Store* rows = nullptr;
  // The row the dialog shows and its record: the entry a change is
  // stored into, wherever the rows around it move meanwhile.
  int row = -1;
  std::int32_t offset = -1;
  int updateState = -999;  // the update button's last state; no state yet
};

// Null before WM_INITDIALOG and after WM_DESTROY.
ViewerData* DataOf(HWND dialog) {
  return reinterpret_cast<ViewerData*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// Margins of the edit box and the buttons' line, in client pixels.
// At 96 DPI, scaled for the dialog's density.
constexpr int kEditMarginX = 25;
constexpr int kEditMarginY = 57;
constexpr int kButtonsFromBottom = 34;
// Lays the dialog out again after a change of density.
constexpr UINT kRelayout = WM_APP + 40;

HWND Edit(HWND dialog) { return GetDlgItem(dialog, IDC_VIEWER_EDIT); }

void BackToList(const ViewerData& data) {
  if (data.returnTo && IsWindow(data.returnTo)) SetForegroundWindow(data.returnTo);
}

// Enables or disables the update button (更新).
void EnableUpdate(HWND dialog, ViewerData& data, int on) {
  if (on == data.updateState) return;
  data.updateState = on;
  EnableWindow(GetDlgItem(dialog, IDC_VIEWER_UPDATE), on == 1);
}

// The record for the text as it stands in the edit box, whole (however
// long the user made it, nothing is cut): its code-page bytes, with its
// Unicode copy beside them when the code page cannot hold it.
std::string EditRecord(HWND edit) {
  const int length = GetWindowTextLengthW(edit);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int got = GetWindowTextW(edit, reinterpret_cast<wchar_t*>(&text[0]), length + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  std::string record = CodePageBytes(text);
  const bool givesBack = CodePageGivesBack(record, text.data(), text.size());
  unicode_record::ForUnicodeCopy(text.data(), text.size(), givesBack, &record);
  return record;
}

// Bytes enough to hold the longest record the dialog edits in Unicode:
// its rendering, and the copy's UTF-8, take at most 8 bytes per column.
constexpr std::int32_t kUnicodeReadMax = 8 * kViewerMaxBytes;

// Shows a record that keeps a Unicode copy; false for any other.
bool ShowUnicode(const Store& rows, HWND edit, std::int32_t length) {
  if (length > kUnicodeReadMax) return false;
  std::vector<char> record(static_cast<size_t>(length) + 1);
  tdb_read(rows, record.data(), length);
  const unicode_record::Parts parts = unicode_record::Split(record.data(), static_cast<size_t>(length));
  std::u16string text;
  if (!parts.unicode || !Utf16FromUtf8(parts.utf8, parts.utf8Bytes, &text)) return false;
  // Its limit counts the text as the code page would: a text too long to
  // edit is shown cut, and never written back.
  const bool tooLong = Columns(text, CodePageWidth) > kViewerMaxBytes;
  if (tooLong) text = CutToColumns(text, kViewerMaxBytes, CodePageWidth);
  SendMessageW(edit, EM_SETREADONLY, tooLong, 0);
  SetWindowTextW(edit, reinterpret_cast<const wchar_t*>(text.c_str()));
  return true;
}

// Stores a changed text for the entry the dialog shows. False when it
// could not be stored; the user has been told and the dialog keeps the
// text.
bool StoreChange(HWND dialog, ViewerData& data) {
  HWND edit = Edit(dialog);
  // A record shown cut (read only) is never written back.
  if (!SendMessageW(edit, EM_GETMODIFY, 0, 0) || (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY))
    return true;
  const int row = data.row;
  Store& rows = *data.rows;
  if (row < 0 || row >= tdb_rowcount(rows) || tdb_rowoffset(rows, row) != data.offset) {
    Tell(kMsgEditEntryGone);
    return false;
  }
  const int stored = tdb_modify(rows, EditRecord(edit), row);
  if (stored == 0) {
    data.offset = tdb_rowoffset(rows, row);
    SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
    return true;
  }
  if (const Message* m = MessageFor(kWhenStoringEdit, rows.Error())) {
    ErrorBox(m->text, m->kind);
    return false;
  }
  Tell(kMsgEditFailed);
  return false;
}

void ViewerOnCommand(HWND dialog, int id, int notification) {
  ViewerData* data = DataOf(dialog);
  if (!data) return;
  switch (id) {
    case IDOK:
      if (!StoreChange(dialog, *data)) return;
      HideViewer();
      BackToList(*data);
      return;
    case IDC_VIEWER_UPDATE:
      if (!StoreChange(dialog, *data)) return;
      EnableUpdate(dialog, *data, 0);
      SetFocus(Edit(dialog));
      return;
    case IDCANCEL:
      HideViewer();
      BackToList(*data);
      return;
    case IDC_VIEWER_EDIT:
      if (notification == EN_UPDATE) EnableUpdate(dialog, *data, 1);
      return;
  }
}

void MoveControl(HWND dialog, int id, int x, int y) {
  SetWindowPos(GetDlgItem(dialog, id), nullptr, x, y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The geometry is taken only while the dialog is on screen: the sizes it
// passes through while it is created hidden are not the user's.
void ViewerOnSize(HWND dialog, int w, int h) {
  const int dpi = WindowDpi(dialog);
  SetWindowPos(Edit(dialog), nullptr, 0, 0, w - ForDpi(kEditMarginX, dpi), h - ForDpi(kEditMarginY, dpi),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int a = w / 10, y = h - ForDpi(kButtonsFromBottom, dpi);
  MoveControl(dialog, IDOK, 2 * a, y);
  MoveControl(dialog, IDCANCEL, static_cast<int>(4.5 * a), y);
  MoveControl(dialog, IDC_VIEWER_UPDATE, 7 * a, y);
  if (!g_viewerShown) return;
  WindowPlace kept = KeptPlace(KeptWindow::kViewer);
  if (KeepSize(dialog, &kept.w, &kept.h, &kept.dpi)) KeepPlace(KeptWindow::kViewer, kept);
}

void ViewerOnMove(HWND dialog) {
  if (!g_viewerShown) return;
  WindowPlace kept = KeptPlace(KeptWindow::kViewer);
  KeepPosition(dialog, &kept.x, &kept.y);
  KeepPlace(KeptWindow::kViewer, kept);
}

INT_PTR ViewerDlgWork(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      // From here on the dialog owns its data.
      auto* data = reinterpret_cast<std::unique_ptr<ViewerData>*>(lParam);
      SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(data->release()));
      g_hViewer = hwnd;
      LeaveDialogSizeToUs(hwnd);
      // However long the text grows, typing is never cut off.
      SendDlgItemMessageW(hwnd, IDC_VIEWER_EDIT, EM_SETLIMITTEXT, 0, 0);
      // No focus yet: a control of the hidden dialog taking the focus
      // would make the hidden dialog the program's active window.
      return FALSE;
    }
    case WM_SIZE:
      ViewerOnSize(hwnd, LOWORD(lParam), HIWORD(lParam));
      return TRUE;
    case WM_MOVE:
      ViewerOnMove(hwnd);
      return TRUE;
    case kDpiChanged:
      // The dialog manager makes the font and lays out the template's
      // controls for the new density after this message; the margins of
      // our own follow once it is done.
      TakeSuggestedRect(hwnd, lParam);
      PostMessageW(hwnd, kRelayout, 0, 0);
      return FALSE;
    case kRelayout: {
      RECT client;
      GetClientRect(hwnd, &client);
      ViewerOnSize(hwnd, client.right, client.bottom);
      return TRUE;
    }
    case WM_COMMAND:
      ViewerOnCommand(hwnd, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_DESTROY:
      delete DataOf(hwnd);
      SetWindowLongPtrW(hwnd, DWLP_USER, 0);
      g_hViewer = nullptr;
      g_viewerShown = false;
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK ViewerDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return GuardMemory([&] { return ViewerDlgWork(hwnd, message, wParam, lParam); }, TRUE);
}

void PlaceViewer() {
  const WindowPlace place = PlaceToShow(KeptWindow::kViewer);
  // Above every window only when the list stays on screen and is asked
  // to be; while the list hides itself, the list alone is topmost.
  PlaceWindow(g_hViewer, place.x, place.y, place.w, place.h, place.dpi,
              g_set.actv_hide == kStay && g_set.topmost == kYes);
}

}  // namespace

HWND CreateViewer(HWND returnTo, Store& rows) {
  // Handed over at WM_INITDIALOG; freed here if the dialog never got
  // that far.
  auto data = std::make_unique<ViewerData>();
  data->returnTo = returnTo;
  data->rows = &rows;
  return CreateDialogParamW(ProgramInstance(), MAKEINTRESOURCEW(IDD_VIEWER), nullptr, ViewerDlgProc,
                            reinterpret_cast<LPARAM>(&data));
}

void ToggleViewer(char mode, int row) {
  if (!g_hViewer || row < 0) return;
  if (g_viewerShown) {
    HideViewer();
    return;
  }
  g_viewerShown = true;
  // What was typed before the dialog was last cancelled is not kept.
  HWND edit = Edit(g_hViewer);
  SendMessageW(edit, EM_SETMODIFY, FALSE, 0);
  LoadViewer(row);
  PlaceViewer();
  ShowWindow(g_hViewer, SW_SHOWNORMAL);
  if (mode == 'e')
    BackToList(*DataOf(g_hViewer));
  else
    SetFocus(edit);
}

void ViewerEdits(Store& rows) {
  if (!g_hViewer) return;
  HideViewer();
  ViewerData& data = *DataOf(g_hViewer);
  data.rows = &rows;
  data.row = -1;
  data.offset = -1;
  SendMessageW(Edit(g_hViewer), EM_SETMODIFY, FALSE, 0);
}

void LoadViewer(int row) {
  if (row < 0 || !g_hViewer) return;
  ViewerData& data = *DataOf(g_hViewer);
  HWND edit = Edit(g_hViewer);
  // The entry shown, moved to another row (a capture above it): typing
  // not yet stored stays.
  const Store& rows = *data.rows;
  if (SendMessageW(edit, EM_GETMODIFY, 0, 0) && row < tdb_rowcount(rows) &&
      tdb_rowoffset(rows, row) == data.offset) {
    data.row = row;
    return;
  }
  std::int32_t length = 0, offset = 0;
  tdb_gethead(rows, row, &length, &offset);
  data.row = row;
  data.offset = offset;
  if (ShowUnicode(rows, edit, length)) {
    EnableUpdate(g_hViewer, data, 0);
    return;
  }
  tdb_gethead(rows, row, &length, &offset);
  const std::int32_t n = length < kViewerMaxBytes ? length : kViewerMaxBytes;
  // tdb_read ends the text after the bytes it read.
  std::vector<char> text(static_cast<size_t>(n > 0 ? n : 0) + 1);
  tdb_read(rows, text.data(), n);
  SendMessageW(edit, EM_SETREADONLY, length > kViewerMaxBytes, 0);
  SetWindowTextA(edit, text.data());
  EnableUpdate(g_hViewer, data, 0);
}

void HideViewer() {
  if (g_hViewer) ShowWindow(g_hViewer, SW_HIDE);
  g_viewerShown = false;
}
