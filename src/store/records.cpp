// Rows and records: the binding of list rows to records of the working
// file, appending texts, changing a row's text and reading a record back.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "store/file_io.h"
#include "store/record_format.h"
#include "store/row_index.h"
#include "store/store.h"

int g_tdbError = 0;

std::int64_t tdb_savedsize() { return record_format::kFirstRecord + row_index::Bytes(); }

namespace {

int Fail(int code) {
  g_tdbError = code;
  return -1;
}

constexpr size_t kOneWriteMax = 4096;

// The row's record offset; false for a row the history does not have.
bool RowOffset(int row, std::int32_t* offset) {
  if (row < 0 || row >= row_index::Count()) return false;
  *offset = row_index::Offset(row);
  return true;
}

std::int64_t RecordBytes(std::int32_t length) { return record_format::kFieldSize + length; }

// Whether the history, its records changed by `bytes`, could still be
// saved as a data file that loads again.
bool SavedSizeFits(std::int64_t bytes) {
  return record_format::FitsInDataFile(tdb_savedsize() + bytes);
}

// Runs an operation on the index, whose growth may find no memory: the
// index operations allocate before they change anything.
template <typename Operation>
int WithMemory(Operation operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    return Fail(kErrNoMemory);
  }
}

// The text bytes of a new row's record; an existing record's row has no
// text to measure.
std::size_t NewLength(const char* text, int mode) {
  return mode == kRowNew && text ? std::strlen(text) : 0;
}

// Builds the row for tdb_addrow and tdb_insrow and inserts it at index
// (an index past the end puts it at the end).
int InsertRow(std::size_t length, std::int32_t offset, int index, HANDLE store, HWND list,
              int mode) {
  std::int32_t rowOffset = 0;
  if (mode == kRowNew) {
    // The row points at the end of the working file, where the caller
    // appends the text right afterwards. Without an open working file
    // there is no such place, and a row would point at nothing.
    std::int64_t end = store_io::SeekEnd(store);
    if (end < 0) return Fail(kErrAppendNoStore);
    if (!record_format::FitsInWorkingFile(end, length) ||
        !SavedSizeFits(RecordBytes(static_cast<std::int32_t>(length))))
      return Fail(kErrWorkingFileFull);
    rowOffset = static_cast<std::int32_t>(end);
  } else if (mode != kRowExisting) {
    return Fail(kErrRowMode);
  } else {
    rowOffset = offset;
  }
  return WithMemory([&] {
    row_index::Insert(list, index, {rowOffset});
    if (mode == kRowExisting) row_index::AddBytes(store, tdb_recordsize(store, offset));
    return 0;
  });
}

}  // namespace

int tdb_addrow(const char* text, std::int32_t offset, HANDLE store, HWND list, int mode) {
  if (!list) return Fail(kErrAddRowNoList);
  return InsertRow(NewLength(text, mode), offset, row_index::Count(), store, list, mode);
}

int tdb_insrow(const char* text, std::int32_t offset, int row, HANDLE store, HWND list,
               int mode) {
  if (!list) return Fail(kErrInsRowNoList);
  if (row < 0) return Fail(kErrInsRowIndex);
  return InsertRow(NewLength(text, mode), offset, row, store, list, mode);
}

int tdb_insnewrow(std::size_t length, int row, HANDLE store, HWND list) {
  if (!list) return Fail(kErrInsRowNoList);
  if (row < 0) return Fail(kErrInsRowIndex);
  return InsertRow(length, 0, row, store, list, kRowNew);
}

int tdb_delrow(int row, HWND list) {
  if (!list) return Fail(kErrDelRowNoList);
  if (row < 0) return Fail(kErrDelRowIndex);
  return tdb_delrows({row}, list);
}

int tdb_delrows(const std::vector<int>& rows, HWND list) {
  if (!list) return Fail(kErrDelRowNoList);
  return WithMemory([&] {
    std::vector<int> existing;
    std::vector<std::int32_t> offsets;
    existing.reserve(rows.size());
    offsets.reserve(rows.size());
    for (int row : rows) {
      if (row < 0) return Fail(kErrDelRowIndex);
      if (row >= row_index::Count()) continue;
      existing.push_back(row);
      offsets.push_back(row_index::Offset(row));
    }
    HANDLE work = row_index::Work();
    const std::int64_t bytes = tdb_recordsizes(work, std::move(offsets));
    row_index::Erase(list, existing);
    row_index::AddBytes(work, -bytes);
    return 0;
  });
}

int tdb_putrows(int row, const std::vector<std::int32_t>& offsets, int times, HWND list) {
  if (!list) return Fail(kErrInsRowNoList);
  if (row < 0) return Fail(kErrInsRowIndex);
  HANDLE work = row_index::Work();
  return WithMemory([&] {
    const std::int64_t bytes = tdb_recordsizes(work, offsets);
    std::vector<std::int32_t> run;
    run.reserve(offsets.size() * static_cast<size_t>(times > 0 ? times : 0));
    for (int i = 0; i < times; ++i) run.insert(run.end(), offsets.begin(), offsets.end());
    row_index::Insert(list, row, run);
    row_index::AddBytes(work, bytes * times);
    return 0;
  });
}
int tdb_append(HANDLE store, const char* text) {
  if (!store) return Fail(kErrAppendNoStore);
  return tdb_append(store, text, std::strlen(text));
}

int tdb_append(HANDLE store, const char* text, std::size_t length) {
  if (!store) return Fail(kErrAppendNoStore);
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
  row_index::AddBytes(store, RecordBytes(static_cast<std::int32_t>(length)));
  return 0;
}

int tdb_modify(const char* text, int row, HANDLE store, HWND list) {
  return tdb_modify(std::string(text), row, store, list);
}

int tdb_modify(const std::string& text, int row, HANDLE store, HWND list) {
  if (row < 0) return Fail(kErrModifyIndex);
  if (!list) return Fail(kErrModifyNoList);
  std::int32_t oldOffset = 0;
  const bool exists = RowOffset(row, &oldOffset);
  const std::int64_t oldBytes = exists ? tdb_recordsize(store, oldOffset) : 0;
  if (!record_format::FitsInWorkingFile(0, text.size()) ||
      !SavedSizeFits(RecordBytes(static_cast<std::int32_t>(text.size())) - oldBytes))
    return Fail(kErrWorkingFileFull);
  std::int64_t end = store_io::SeekEnd(store);
  if (tdb_append(store, text.data(), text.size()) != 0) return -1;
  row_index::AddBytes(store, -oldBytes);
  row_index::Repoint(list, row, static_cast<std::int32_t>(end));
  return 0;
}

HANDLE tdb_gethead(HANDLE store, HWND list, int row, std::int32_t* length,
                   std::int32_t* offset) {
  if (!list) {
    g_tdbError = kErrGetHeadNoList;
    return nullptr;
  }
  return tdb_rowhead(store, row, length, offset);
}

HANDLE tdb_rowhead(HANDLE store, int row, std::int32_t* length, std::int32_t* offset) {
  *offset = row_index::Offset(row);
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

int tdb_rowcount() { return row_index::Count(); }

std::int32_t tdb_rowoffset(int row) { return row_index::Offset(row); }

void tdb_label(int row, char out[kLabelMax + 1]) { row_index::Label(row, out, nullptr); }
void tdb_label(int row, char out[kLabelMax + 1], std::string* unicode) {
  row_index::Label(row, out, unicode);
}

void tdb_reverse(HWND list) { row_index::Reverse(list); }

int tdb_findrow(int start, bool wrap,
                bool (*match)(const char* label, const std::string& unicode, void* context),
                void* context) {
  return row_index::Find(start, wrap, match, context);
}

int tdb_searchrows(int start, bool forward, const RowSearch& search) {
  return row_index::Search(start, forward, search);
}

std::int64_t tdb_recordsizes(HANDLE store, std::vector<std::int32_t> offsets) {
  if (!store || offsets.empty()) return 0;
  std::sort(offsets.begin(), offsets.end());
  std::size_t distinct = 1;
  for (std::size_t i = 1; i < offsets.size(); ++i) distinct += offsets[i] != offsets[i - 1];
  const bool dense = static_cast<std::int64_t>(distinct) > store_io::Size(store) / 65536;
  store_io::BlockReader reader(store);
  std::int64_t bytes = 0, size = 0;
  for (std::size_t i = 0; i < offsets.size(); ++i) {
    if (i == 0 || offsets[i] != offsets[i - 1]) {
      std::int32_t length = 0;
      if (!dense)
        size = tdb_recordsize(store, offsets[i]);
      else
        size = reader.ReadInt32(offsets[i], &length) && length >= 0 ? RecordBytes(length) : 0;
    }
    bytes += size;
  }
  return bytes;
}
