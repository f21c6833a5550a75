#include "output/copy.h"

#include <windows.h>

#include <cstdint>
#include <new>
#include <stdexcept>
#include <vector>

#include "base/clipboard.h"
#include "base/program.h"
#include "base/report.h"
#include "base/scoped_win.h"
#include "output/messages.h"
#include "output/shape.h"
#include "store/history.h"
#include "store/store.h"

namespace {

// How long a copy waits for another program to let go of the clipboard.
constexpr DWORD kClipboardWaitMs = 500;

// Reads entries' texts from the working file into one buffer that grows
// to the longest text read. It remembers which row it holds, so that a
// copy of a single entry reads that entry only once.
class EntryReader {
 public:
  // Reads the row's text; false when there is no memory for it.
  bool Read(int row, std::int32_t* offset) {
    std::int32_t length = 0;
    std::int32_t at = 0;
    tdb_rowhead(g_store, row, &length, &at);
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

}  // namespace

// Every row's shaped text is measured first, so that the output is
// allocated once at its exact size; the clipboard gets it as the main
// window's, which capture then leaves alone.
int CopyRows(const std::vector<int>& rows, const char* q, const char* f, int w, int r,
             int noRoomCode) {
  tdb_buffree();
  tdb_bufalloc(static_cast<int>(rows.size()));
  EntryReader reader;
  unsigned long long total = 0;
  for (int row : rows) {
    std::int32_t offset = 0;
    if (!reader.Read(row, &offset)) return kListErrNoMemory;
    tdb_bufadd(offset);
    const long long length = ShapeLength(reader.Text(), q, f, w, r);
    if (length < 0) return noRoomCode;
    total += static_cast<unsigned long long>(length);
  }
  // The block must also be addressable on a 32-bit system.
  if (total >= static_cast<unsigned long long>(SIZE_MAX)) return kListErrNoMemory;
  // Every byte is written below, the terminator included.
  ScopedGlobal block(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(total) + 1));
  {
    ScopedGlobalLock<char> out(block.Get());
    if (!out.Get()) return kListErrNoMemory;
    char* end = out.Get();
    for (int row : rows) {
      if (!reader.Read(row, nullptr)) return kListErrNoMemory;
      end += ShapeWrite(reader.Text(), end, q, f, w, r);
    }
  }
  ScopedClipboard clipboard(MainWindow(), kClipboardWaitMs);
  if (!clipboard || !clipboard.PutText(block.Release())) return kListErrClipboardBusy;
  return 0;
}

const char* CopyFailureMessage(int listError) {
  const Message* m = MessageFor(kWhenCopying, listError);
  return m ? m->text : nullptr;
}
