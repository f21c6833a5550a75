#include "output/copy.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

#include "base/clipboard.h"
#include "base/program.h"
#include "base/report.h"
#include "listwin/listwin.h"
#include "listwin/selection.h"
#include "output/shape.h"
#include "settings/settings.h"
#include "store/history.h"
#include "store/store.h"

namespace {

// How long a copy waits for another program to let go of the clipboard.
constexpr DWORD kClipboardWaitMs = 500;

struct FailureText {
  int code;
  const char* message;
};
constexpr FailureText kFailureTexts[] = {
    {kListErrNoSelection, "データが選択されていません"},
    {kListErrSelNoRoom, "自動改行位置を大きくして下さい"},
    {kListErrNoRoom, "自動改行位置を大きくして下さい"},
    {kListErrClipboardBusy,
     "クリップボードを開けませんでした。ほかのプログラムが使用中です。\n"
     "少し待ってから、もう一度お試しください。"},
    {kListErrNoMemory, "メモリが足りないため、コピーできませんでした。"},
};

int Fail(int code) {
  g_listError = code;
  return -1;
}

// Reads entries' texts from the working file into one buffer that grows
// to the longest text read. It remembers which row it holds, so that a
// copy of a single entry reads that entry only once.
class EntryReader {
 public:
  // Reads the row's text; false when there is no memory for it.
  bool Read(int row, std::int32_t* offset) {
    std::int32_t length = 0;
    std::int32_t at = 0;
    tdb_gethead(g_store, g_hListView, row, &length, &at);
    if (offset) *offset = at;
    if (row == row_) return true;
    row_ = -1;
    try {
      if (buffer_.size() < static_cast<size_t>(length) + 1)
        buffer_.resize(static_cast<size_t>(length) + 1);
    } catch (const std::bad_alloc&) {
      return false;
    } catch (const std::length_error&) {
      return false;
    }
    tdb_read(g_store, buffer_.data(), length);
    row_ = row;
    return true;
  }
  const char* Text() const { return buffer_.data(); }

 private:
  std::vector<char> buffer_;
  int row_ = -1;
};

// Measures every row's shaped text, allocates the output once at its
// exact size, builds it and hands it to the clipboard as the main window,
// whose own output capture then leaves alone. The put buffer holds the
// offsets of the rows measured, so a wrap failure leaves exactly the
// first row's offset in it.
int CopyRows(const std::vector<int>& rows, const char* q, const char* f, int w, int r,
             int noRoomCode) {
  tdb_buffree();
  tdb_bufalloc(static_cast<int>(rows.size()));
  EntryReader reader;
  unsigned long long total = 0;
  for (int row : rows) {
    std::int32_t offset = 0;
    if (!reader.Read(row, &offset)) return Fail(kListErrNoMemory);
    tdb_bufadd(offset);
    const long long length = ShapeLength(reader.Text(), q, f, w, r);
    if (length < 0) return Fail(noRoomCode);
    total += static_cast<unsigned long long>(length);
  }
  // The block must also be addressable on a 32-bit system.
  if (total >= static_cast<unsigned long long>(SIZE_MAX))
    return Fail(kListErrNoMemory);
  // Every byte is written below, the terminator included.
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(total) + 1);
  char* out = block ? static_cast<char*>(GlobalLock(block)) : nullptr;
  if (!out) {
    if (block) GlobalFree(block);
    return Fail(kListErrNoMemory);
  }
  char* end = out;
  for (int row : rows) {
    if (!reader.Read(row, nullptr)) {
      GlobalUnlock(block);
      GlobalFree(block);
      return Fail(kListErrNoMemory);
    }
    end += ShapeWrite(reader.Text(), end, q, f, w, r);
  }
  GlobalUnlock(block);

  ScopedClipboard clipboard(MainWindow(), kClipboardWaitMs);
  if (!clipboard) {
    GlobalFree(block);
    return Fail(kListErrClipboardBusy);
  }
  if (!clipboard.PutText(block)) return Fail(kListErrClipboardBusy);
  return 0;
}

}  // namespace

int CopyClip(int first, int last, const char* q, const char* f, int w, int r) {
  if (last < first) std::swap(first, last);
  if (first < 0 || last >= GetRowCount()) return Fail(kListErrNoRow);
  std::vector<int> rows;
  rows.reserve(static_cast<size_t>(last - first) + 1);
  for (int row = first; row <= last; ++row) rows.push_back(row);
  return CopyRows(rows, q, f, w, r, kListErrNoRoom);
}

int CopySelClip(const char* q, const char* f, int w, int r) {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return Fail(kListErrNoSelection);
  return CopyRows(rows, q, f, w, r, kListErrSelNoRoom);
}

const char* CopyFailureMessage(int listError) {
  for (const FailureText& t : kFailureTexts)
    if (t.code == listError) return t.message;
  return nullptr;
}

bool CopyChosen(int first, int last, bool quoted) {
  const char* quote = quoted ? g_set.inyo : "";
  const char* footer = quoted ? g_set.foot : "";
  const int result = g_multiSel ? CopySelClip(quote, footer, g_set.lfbyte, g_set.lf)
                                : CopyClip(first, last, quote, footer, g_set.lfbyte, g_set.lf);
  if (result == 0) return true;
  if (const char* message = CopyFailureMessage(g_listError)) ErrorBox(message, kErrorPlain);
  return false;
}
