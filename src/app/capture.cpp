#include "app/capture.h"

#include <cstring>

#include <commctrl.h>

#include "app/mainwnd.h"
#include "base/clipboard.h"
#include "listwin/listwin.h"
#include "settings/settings.h"
#include "store/history.h"
#include "store/store.h"

namespace {

HWND g_nextViewer = nullptr;
bool g_inChain = false;
// The clipboard's sequence number whose content must not be recorded.
DWORD g_ignoredSequence = 0;

// Formats that password managers and similar programs add to keep their
// content out of clipboard histories.
UINT g_excludeFormat = 0;
UINT g_viewerIgnoreFormat = 0;
UINT g_historyFormat = 0;  // holds a DWORD; 0 forbids keeping the content

bool ContentAsksNotToBeKept() {
  if (IsClipboardFormatAvailable(g_excludeFormat) ||
      IsClipboardFormatAvailable(g_viewerIgnoreFormat))
    return true;
  if (!IsClipboardFormatAvailable(g_historyFormat)) return false;
  HANDLE data = GetClipboardData(g_historyFormat);
  if (!data || GlobalSize(data) < sizeof(DWORD)) return false;
  bool forbidden = false;
  if (const void* value = GlobalLock(data)) {
    DWORD allowed = 0;
    std::memcpy(&allowed, value, sizeof allowed);
    forbidden = allowed == 0;
    GlobalUnlock(data);
  }
  return forbidden;
}

// Copies the clipboard's text up to its first zero byte into a new
// moveable, zero-filled block, or returns null when there is none.
HGLOBAL CopyClipboardText(HWND main) {
  ScopedClipboard clipboard(main, 0);
  if (!clipboard || ContentAsksNotToBeKept()) return nullptr;
  HANDLE data = GetClipboardData(CF_TEXT);
  if (!data) return nullptr;
  const char* text = static_cast<const char*>(GlobalLock(data));
  if (!text) return nullptr;
  // The block may lack a terminator; never read past its end.
  const size_t limit = GlobalSize(data);
  const void* zero = std::memchr(text, '\0', limit);
  const size_t n = zero ? static_cast<size_t>(static_cast<const char*>(zero) - text) : limit;
  HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, n + 1);
  if (copy) {
    if (void* to = GlobalLock(copy)) {
      std::memcpy(to, text, n);
      GlobalUnlock(copy);
    }
  }
  GlobalUnlock(data);
  return copy;
}

}  // namespace

void JoinViewerChain(HWND main) {
  g_excludeFormat = RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
  g_viewerIgnoreFormat = RegisterClipboardFormatW(L"Clipboard Viewer Ignore");
  g_historyFormat = RegisterClipboardFormatW(L"CanIncludeInClipboardHistory");
  g_inChain = true;
  g_nextViewer = SetClipboardViewer(main);
}

void LeaveViewerChain(HWND main) {
  if (g_inChain) ChangeClipboardChain(main, g_nextViewer);
  g_inChain = false;
  g_nextViewer = nullptr;
}

void IgnoreCurrentClipboard() { g_ignoredSequence = GetClipboardSequenceNumber(); }

LRESULT OnDrawClipboard(HWND main, WPARAM wParam, LPARAM lParam) {
  // Every notification goes on down the chain, whatever we do with it.
  if (g_nextViewer) SendMessageW(g_nextViewer, WM_DRAWCLIPBOARD, wParam, lParam);
  if (g_set.sus) return 0;
  // Our own output (copy and paste) is never recorded.
  if (GetClipboardOwner() == main) return 0;
  if (GetClipboardSequenceNumber() == g_ignoredSequence) return 0;

  HGLOBAL copy = CopyClipboardText(main);  // the clipboard is closed again here
  if (!copy) return 0;
  if (const char* text = static_cast<const char*>(GlobalLock(copy))) {
    AddClip(text);
    GlobalUnlock(copy);
  }
  GlobalFree(copy);
  return 0;
}

LRESULT OnChangeCbChain(WPARAM leaving, LPARAM following) {
  if (reinterpret_cast<HWND>(leaving) == g_nextViewer) {
    g_nextViewer = reinterpret_cast<HWND>(following);
  } else if (g_nextViewer) {
    SendMessageW(g_nextViewer, WM_CHANGECBCHAIN, leaving, following);
  }
  return 0;
}

void AddClip(const char* text) {
  // The row gets the offset where the record is written next; with no
  // row there is nothing to point at the record, so it is not written.
  const bool top = g_set.data == kDataNew;
  const int added = top ? tdb_insrow(text, 0, 0, g_store, g_hListView, kRowNew)
                        : tdb_addrow(text, 0, g_store, g_hListView, kRowNew);
  if (added != 0 || tdb_append(g_store, text) == 0) return;
  // The record could not be written: its row must not point at bytes
  // that are not there.
  const int rows = static_cast<int>(SendMessageW(g_hListView, LVM_GETITEMCOUNT, 0, 0));
  tdb_delrow(top ? 0 : rows - 1, g_hListView);
  ReportWriteFailure();
}
