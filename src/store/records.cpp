// Rows and records: the binding of list rows to records of the working
// file, appending texts, changing a row's text and reading a record back.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "store/file_io.h"
#include "store/record_format.h"
#include "store/saved_size.h"
#include "store/store.h"

int g_tdbError = 0;

std::int64_t tdb_savedsize() { return record_format::kFirstRecord + saved_size::Bytes(); }

namespace {

int Fail(int code) {
  g_tdbError = code;
  return -1;
}

constexpr size_t kOneWriteMax = 4096;

// The row's record offset; false for a row the list does not have.
bool RowOffset(HWND list, int row, std::int32_t* offset) {
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return false;
  *offset = static_cast<std::int32_t>(item.lParam);
  return true;
}

std::int64_t RecordBytes(std::int32_t length) { return record_format::kFieldSize + length; }

// Builds the row for tdb_addrow and tdb_insrow and inserts it at index
// (an index past the end puts it at the end).
int InsertRow(const char* text, std::int32_t offset, int index, HANDLE store, HWND list,
              int mode) {
  char label[kLabelMax + 1];
  std::int32_t rowOffset = 0;
  if (mode == kRowNew) {
    // The row points at the end of the working file, where the caller
    // appends the text right afterwards. Without an open working file
    // there is no such place, and a row would point at nothing.
    std::int64_t end = store_io::SeekEnd(store);
    if (end < 0) return Fail(kErrAppendNoStore);
    const size_t length = std::strlen(text);
    if (!record_format::FitsInWorkingFile(end, length)) return Fail(kErrWorkingFileFull);
    rowOffset = static_cast<std::int32_t>(end);
    size_t n = std::min(length, static_cast<size_t>(kLabelMax));
    std::memcpy(label, text, n);
    label[n] = '\0';
  } else if (mode == kRowExisting) {
    rowOffset = offset;
    std::int32_t length = 0;
    std::uint32_t got = 0;
    if (store_io::SeekTo(store, offset) && store_io::ReadInt32(store, &length)) {
      std::int32_t n = std::min(std::max(length, 0), kLabelMax);
      got = store_io::Read(store, label, static_cast<std::uint32_t>(n));
      saved_size::Add(store, RecordBytes(std::max(length, 0)));
    }
    label[got] = '\0';
  } else {
    return Fail(kErrRowMode);
  }

  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = index;
  item.pszText = label;
  item.lParam = rowOffset;
  SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return 0;
}

}  // namespace

int tdb_addrow(const char* text, std::int32_t offset, HANDLE store, HWND list, int mode) {
  if (!list) return Fail(kErrAddRowNoList);
  int end = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  return InsertRow(text, offset, end, store, list, mode);
}

int tdb_insrow(const char* text, std::int32_t offset, int row, HANDLE store, HWND list,
               int mode) {
  if (!list) return Fail(kErrInsRowNoList);
  if (row < 0) return Fail(kErrInsRowIndex);
  return InsertRow(text, offset, row, store, list, mode);
}

int tdb_delrow(int row, HWND list) {
  if (!list) return Fail(kErrDelRowNoList);
  if (row < 0) return Fail(kErrDelRowIndex);
  std::int32_t offset = 0;
  if (RowOffset(list, row, &offset))
    saved_size::Add(saved_size::Work(), -tdb_recordsize(saved_size::Work(), offset));
  SendMessageA(list, LVM_DELETEITEM, static_cast<WPARAM>(row), 0);
  return 0;
}

int tdb_append(HANDLE store, const char* text) {
  if (!store) return Fail(kErrAppendNoStore);
  const size_t length = std::strlen(text);
  const std::int64_t end = store_io::SeekEnd(store);
  if (!record_format::FitsInWorkingFile(end, length)) return Fail(kErrWorkingFileFull);
  // Most texts go out with their length in one write.
  bool written;
  if (length <= kOneWriteMax) {
    char record[4 + kOneWriteMax];
    record_format::EncodeInt32(static_cast<std::int32_t>(length),
                               reinterpret_cast<unsigned char*>(record));
    std::memcpy(record + 4, text, length);
    written = store_io::Write(store, record, static_cast<std::uint32_t>(4 + length));
  } else {
    written = store_io::WriteInt32(store, static_cast<std::int32_t>(length)) &&
              store_io::Write(store, text, static_cast<std::uint32_t>(length));
  }
  // A record cut short by a full disk is taken back off, so that no row
  // and no later record ever meets a partial one.
  if (!written) {
    store_io::TruncateAt(store, end);
    return Fail(kErrAppendWrite);
  }
  saved_size::Add(store, RecordBytes(static_cast<std::int32_t>(length)));
  return 0;
}

int tdb_modify(const char* text, int row, HANDLE store, HWND list) {
  if (row < 0) return Fail(kErrModifyIndex);
  if (!list) return Fail(kErrModifyNoList);
  char label[kLabelMax + 1];
  size_t n = std::min(std::strlen(text), static_cast<size_t>(kLabelMax));
  std::memcpy(label, text, n);
  label[n] = '\0';

  std::int32_t oldOffset = 0;
  const std::int64_t oldBytes =
      RowOffset(list, row, &oldOffset) ? tdb_recordsize(store, oldOffset) : 0;
  std::int64_t end = store_io::SeekEnd(store);
  if (tdb_append(store, text) != 0) return -1;
  saved_size::Add(store, -oldBytes);

  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = row;
  item.pszText = label;
  item.lParam = static_cast<std::int32_t>(end);
  SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  return 0;
}

HANDLE tdb_gethead(HANDLE store, HWND list, int row, std::int32_t* length,
                   std::int32_t* offset) {
  if (!list) {
    g_tdbError = kErrGetHeadNoList;
    return nullptr;
  }
  LVITEMA item = {};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  *offset = static_cast<std::int32_t>(item.lParam);
  *length = 0;
  store_io::SeekTo(store, *offset);
  // A short read (a damaged or truncated record) gives an empty text
  // rather than a garbage length.
  if (!store_io::ReadInt32(store, length) || *length < 0) *length = 0;
  return store;
}

char* tdb_read(HANDLE store, char* buffer, std::int32_t n) {
  std::uint32_t got = n > 0 ? store_io::Read(store, buffer, static_cast<std::uint32_t>(n)) : 0;
  buffer[got] = '\0';
  return buffer;
}

std::int64_t tdb_recordsize(HANDLE store, std::int32_t offset) {
  std::int32_t length = 0;
  if (!store || !store_io::SeekTo(store, offset) || !store_io::ReadInt32(store, &length) ||
      length < 0)
    return 0;
  return RecordBytes(length);
}
