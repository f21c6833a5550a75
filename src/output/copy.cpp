#include "output/copy.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <new>
#include <stdexcept>
#include <vector>

#include "base/clipboard.h"
#include "base/code_page.h"
#include "base/utf8.h"
#include "base/program.h"
#include "base/report.h"
#include "base/scoped_win.h"
#include "output/messages.h"
#include "output/shape.h"
#include "output/shape_wide.h"
#include "store/store.h"
#include "store/unicode_record.h"

namespace {

// How long a copy waits for another program to let go of the clipboard.
constexpr DWORD kClipboardWaitMs = 500;

// Reads entries' texts from the working file into one buffer that grows
// to the longest text read. It remembers which row it holds, so that a
// copy of a single entry reads that entry only once.
class EntryReader {
 public:
  explicit EntryReader(const Store& store) : store_(store) {}
  // Reads the row's text; false when there is no memory for it.
  bool Read(int row, std::int32_t* offset) {
    std::int32_t length = 0;
    std::int32_t at = 0;
    tdb_gethead(store_, row, &length, &at);
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
    tdb_read(store_, buffer_.data(), length);
    row_ = row;
    length_ = static_cast<size_t>(length);
    return true;
  }
  // The code page's text (a Unicode text's rendering).
  const char* Text() const { return buffer_.data(); }
  bool HasUnicode() const { return unicode_record::Split(buffer_.data(), length_).unicode; }
  // The text in Unicode: its own copy, or the code page's text converted.
  std::u16string Unicode() const {
    const unicode_record::Parts parts = unicode_record::Split(buffer_.data(), length_);
    std::u16string text;
    if (parts.unicode && Utf16FromUtf8(parts.utf8, parts.utf8Bytes, &text)) return text;
    return FromCodePage(parts.rendering, parts.renderingBytes);
  }

 private:
  const Store& store_;
  std::vector<char> buffer_;
  size_t length_ = 0;
  int row_ = -1;
};

// A clipboard block of the text and its terminator; null when there is no
// memory for it.
HGLOBAL WideBlock(const std::u16string& text) {
  const size_t bytes = (text.size() + 1) * sizeof(char16_t);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  ScopedGlobalLock<char16_t> out(block);
  if (!out.Get()) {
    if (block) GlobalFree(block);
    return nullptr;
  }
  std::copy(text.begin(), text.end(), out.Get());
  out.Get()[text.size()] = u'\0';
  return block;
}

// The same output in Unicode, for rows of which one at least keeps a text
// the code page cannot hold: the code-page rows converted, each shaped as
// in the code page. Null when there is no memory for it.
HGLOBAL UnicodeOutput(const std::vector<int>& rows, const char* q, const char* f, int w, int r,
                      EntryReader* reader) {
  const std::u16string quote = FromCodePage(q ? q : "", q ? std::strlen(q) : 0);
  const std::u16string footer = FromCodePage(f ? f : "", f ? std::strlen(f) : 0);
  std::u16string text;
  for (int row : rows) {
    if (!reader->Read(row, nullptr)) return nullptr;
    // The code-page output was measured first, so there is room.
    ShapeWide(reader->Unicode(), quote, footer, w, r, CodePageWidth, &text);
  }
  return WideBlock(text);
}

// The locale of the code page, for CF_LOCALE; null when there is no
// memory for it.
HGLOBAL LocaleBlock() {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(LCID));
  ScopedGlobalLock<LCID> out(block);
  if (!out.Get()) {
    if (block) GlobalFree(block);
    return nullptr;
  }
  *out.Get() = ProgramTextLocale();
  return block;
}

}  // namespace

// Every row's shaped text is measured first, so that the output is
// allocated once at its exact size; the clipboard gets it as the main
// window's, which capture then leaves alone.
int CopyRows(const Store& store, const std::vector<int>& rows, const char* q, const char* f, int w,
             int r, int noRoomCode, std::vector<std::int32_t>* measured) {
  measured->clear();
  // Without room for the offsets the copy still goes on; only a put
  // afterwards has nothing to bring back.
  bool keep = true;
  try {
    measured->reserve(rows.size());
  } catch (const std::bad_alloc&) {
    keep = false;
  }
  EntryReader reader(store);
  unsigned long long total = 0;
  bool unicode = false;
  for (int row : rows) {
    std::int32_t offset = 0;
    if (!reader.Read(row, &offset)) return kListErrNoMemory;
    if (keep) measured->push_back(offset);
    unicode = unicode || reader.HasUnicode();
    const long long length = ShapeLength(reader.Text(), q, f, w, r);
    if (length < 0) return noRoomCode;
    total += static_cast<unsigned long long>(length);
  }
  // The block must also be addressable on a 32-bit system.
  if (total >= static_cast<unsigned long long>(SIZE_MAX)) return kListErrNoMemory;
  // Code-page rows alone are converted as one text, which the code page's
  // conversion takes only below 2 GB.
  if (!unicode && total > static_cast<unsigned long long>(INT_MAX)) return kListErrNoMemory;
  // Every byte is written below, the terminator included.
  ScopedGlobal block(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(total) + 1));
  std::u16string converted;
  {
    ScopedGlobalLock<char> out(block.Get());
    if (!out.Get()) return kListErrNoMemory;
    char* end = out.Get();
    for (int row : rows) {
      if (!reader.Read(row, nullptr)) return kListErrNoMemory;
      end += ShapeWrite(reader.Text(), end, q, f, w, r);
    }
    try {
      if (!unicode) converted = FromCodePage(out.Get(), static_cast<size_t>(end - out.Get()));
    } catch (const std::bad_alloc&) {
      return kListErrNoMemory;
    }
  }
  // Our own Unicode text and locale: left to the system, both would come
  // from the input language of the moment, and a Japanese text would turn
  // to mojibake for a user typing with another keyboard layout.
  ScopedGlobal wide(unicode ? UnicodeOutput(rows, q, f, w, r, &reader) : WideBlock(converted));
  ScopedGlobal locale(LocaleBlock());
  if (!wide || !locale) return kListErrNoMemory;
  ScopedClipboard clipboard(MainWindow(), kClipboardWaitMs);
  if (!clipboard || !clipboard.Put({{CF_UNICODETEXT, wide.Release()},
                                    {CF_TEXT, block.Release()},
                                    {CF_LOCALE, locale.Release()}}))
    return kListErrClipboardBusy;
  return 0;
}

const char* CopyFailureMessage(int listError) {
  const Message* m = MessageFor(kWhenCopying, listError);
  return m ? m->text : nullptr;
}
