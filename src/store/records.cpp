// Rows and records: the binding of list rows to records of the working
// file, appending texts, changing a row's text and reading a record back.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <new>
#include <stdexcept>

#include "store/file_io.h"
#include "store/record_format.h"
#include "store/store.h"

std::int64_t tdb_savedsize(const Store& store) {
  return record_format::kFirstRecord + store.Index().Bytes();
}

namespace {

constexpr size_t kOneWriteMax = 4096;

std::int64_t RecordBytes(std::int32_t length) { return record_format::kFieldSize + length; }

// Whether the store, its records changed by `bytes`, could still be
// saved as a data file that loads again.
bool SavedSizeFits(const Store& store, std::int64_t bytes) {
  return record_format::FitsInDataFile(tdb_savedsize(store) + bytes);
}

// Runs an operation on the index, whose growth may find no memory: the
// index operations allocate before they change anything.
template <typename Operation>
int WithMemory(Store& store, Operation operation) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    return store.Fail(kErrNoMemory);
  }
}

// The text bytes of a new row's record; an existing record's row has no
// text to measure.
std::size_t NewLength(const char* text, int mode) {
  return mode == kRowNew && text ? std::strlen(text) : 0;
}

// Builds the row for tdb_addrow and tdb_insrow and inserts it at index
// (an index past the end puts it at the end).
int InsertRow(Store& store, std::size_t length, std::int32_t offset, int index, int mode) {
  std::int32_t rowOffset = 0;
  if (mode == kRowNew) {
    // The row points at the end of the working file, where the caller
    // appends the text right afterwards. Without an open working file
    // there is no such place, and a row would point at nothing.
    std::int64_t end = store_io::SeekEnd(store.Work());
    if (end < 0) return store.Fail(kErrAppendNoStore);
    if (!record_format::FitsInWorkingFile(end, length) ||
        !SavedSizeFits(store, RecordBytes(static_cast<std::int32_t>(length))))
      return store.Fail(kErrWorkingFileFull);
    rowOffset = static_cast<std::int32_t>(end);
  } else if (mode != kRowExisting) {
    return store.Fail(kErrRowMode);
  } else {
    rowOffset = offset;
  }
  return WithMemory(store, [&] {
    store.Index().Insert(index, {rowOffset});
    if (mode == kRowExisting) store.Index().AddBytes(tdb_recordsize(store, offset));
    return 0;
  });
}

// Copies the records of another store at the offsets into this one's
// working file, each distinct record once; `copied` maps each offset in
// `from` to the new record's offset here. A record that cannot be read
// is copied as an empty text, as the save does with one.
int CopyRecords(Store& store, const Store& from, const std::vector<std::int32_t>& offsets,
                std::map<std::int32_t, std::int32_t>* copied) {
  std::vector<char> text;
  for (const std::int32_t offset : offsets) {
    if (copied->count(offset)) continue;
    std::int32_t length = 0;
    if (!store_io::SeekTo(from.Work(), offset) || !store_io::ReadInt32(from.Work(), &length) ||
        length < 0)
      length = 0;
    try {
      text.resize(static_cast<size_t>(length) + 1);
    } catch (const std::length_error&) {
      return store.Fail(kErrNoMemory);
    }
    tdb_read(from, text.data(), length);
    const std::int64_t end = store_io::SeekEnd(store.Work());
    if (end < 0) return store.Fail(kErrAppendNoStore);
    if (tdb_append(store, text.data(), static_cast<size_t>(length)) != 0) return -1;
    (*copied)[offset] = static_cast<std::int32_t>(end);
  }
  return 0;
}

}  // namespace

int tdb_addrow(Store& store, const char* text, std::int32_t offset, int mode) {
  return InsertRow(store, NewLength(text, mode), offset, store.Index().Count(), mode);
}

int tdb_insrow(Store& store, const char* text, std::int32_t offset, int row, int mode) {
  if (row < 0) return store.Fail(kErrInsRowIndex);
  return InsertRow(store, NewLength(text, mode), offset, row, mode);
}

int tdb_insnewrow(Store& store, std::size_t length, int row) {
  if (row < 0) return store.Fail(kErrInsRowIndex);
  return InsertRow(store, length, 0, row, kRowNew);
}

int tdb_delrow(Store& store, int row) {
  if (row < 0) return store.Fail(kErrDelRowIndex);
  return tdb_delrows(store, {row});
}

int tdb_delrows(Store& store, const std::vector<int>& rows) {
  return WithMemory(store, [&] {
    std::vector<int> existing;
    std::vector<std::int32_t> offsets;
    existing.reserve(rows.size());
    offsets.reserve(rows.size());
    for (int row : rows) {
      if (row < 0) return store.Fail(kErrDelRowIndex);
      if (row >= store.Index().Count()) continue;
      existing.push_back(row);
      offsets.push_back(store.Index().Offset(row));
    }
    const std::int64_t bytes = tdb_recordsizes(store, std::move(offsets));
    store.Index().Erase(existing);
    store.Index().AddBytes(-bytes);
    return 0;
  });
}

int tdb_putrows(Store& store, int row, const Store& from, const std::vector<std::int32_t>& offsets,
                int times) {
  if (row < 0) return store.Fail(kErrInsRowIndex);
  // Each record appended counted once as it was written; the rows count
  // below, so what the appends counted is taken back, as it is when the
  // put fails (the records then stay in the working file, named by no row).
  const std::int64_t before = store.Index().Bytes();
  auto appended = [&] { return store.Index().Bytes() - before; };
  const int result = WithMemory(store, [&] {
    std::vector<std::int32_t> own = offsets;
    if (&from != &store) {
      std::map<std::int32_t, std::int32_t> copied;
      if (CopyRecords(store, from, offsets, &copied) != 0) return -1;
      for (std::int32_t& offset : own) offset = copied[offset];
    }
    const std::int64_t bytes = tdb_recordsizes(store, own);
    std::vector<std::int32_t> run;
    run.reserve(own.size() * static_cast<size_t>(times > 0 ? times : 0));
    for (int i = 0; i < times; ++i) run.insert(run.end(), own.begin(), own.end());
    store.Index().Insert(row, run);
    store.Index().AddBytes(bytes * times - appended());
    return 0;
  });
  if (result != 0) store.Index().AddBytes(-appended());
  return result;
}

int tdb_append(Store& store, const char* text) {
  if (!store.Work()) return store.Fail(kErrAppendNoStore);
  return tdb_append(store, text, std::strlen(text));
}

int tdb_append(Store& store, const char* text, std::size_t length) {
  HANDLE work = store.Work();
  if (!work) return store.Fail(kErrAppendNoStore);
  const std::int64_t end = store_io::SeekEnd(work);
  if (!record_format::FitsInWorkingFile(end, length)) return store.Fail(kErrWorkingFileFull);
  // Most texts go out with their length in one write.
  bool written;
  if (length <= kOneWriteMax) {
    char record[4 + kOneWriteMax];
    record_format::EncodeInt32(static_cast<std::int32_t>(length),
                               reinterpret_cast<unsigned char*>(record));
    std::memcpy(record + 4, text, length);
    written = store_io::Write(work, record, static_cast<std::uint32_t>(4 + length));
  } else {
    written = store_io::WriteInt32(work, static_cast<std::int32_t>(length)) &&
              store_io::Write(work, text, static_cast<std::uint32_t>(length));
  }
  // A record cut short by a full disk is taken back off, so that no row
  // and no later record ever meets a partial one.
  if (!written) {
    store_io::TruncateAt(work, end);
    return store.Fail(kErrAppendWrite);
  }
  store.Index().AddBytes(RecordBytes(static_cast<std::int32_t>(length)));
  return 0;
}

int tdb_modify(Store& store, const char* text, int row) {
  return tdb_modify(store, std::string(text), row);
}

int tdb_modify(Store& store, const std::string& text, int row) {
  if (row < 0) return store.Fail(kErrModifyIndex);
  const bool exists = row < store.Index().Count();
  const std::int64_t oldBytes = exists ? tdb_recordsize(store, store.Index().Offset(row)) : 0;
  if (!record_format::FitsInWorkingFile(0, text.size()) ||
      !SavedSizeFits(store, RecordBytes(static_cast<std::int32_t>(text.size())) - oldBytes))
    return store.Fail(kErrWorkingFileFull);
  std::int64_t end = store_io::SeekEnd(store.Work());
  if (tdb_append(store, text.data(), text.size()) != 0) return -1;
  store.Index().AddBytes(-oldBytes);
  store.Index().Repoint(row, static_cast<std::int32_t>(end));
  return 0;
}

HANDLE tdb_gethead(const Store& store, int row, std::int32_t* length, std::int32_t* offset) {
  HANDLE work = store.Work();
  *offset = store.Index().Offset(row);
  *length = 0;
  store_io::SeekTo(work, *offset);
  // A short read (a damaged or truncated record) gives an empty text
  // rather than a garbage length.
  if (!store_io::ReadInt32(work, length) || *length < 0) *length = 0;
  return work;
}

char* tdb_read(const Store& store, char* buffer, std::int32_t n) {
  std::uint32_t got =
      n > 0 ? store_io::Read(store.Work(), buffer, static_cast<std::uint32_t>(n)) : 0;
  buffer[got] = '\0';
  return buffer;
}

std::int64_t tdb_recordsize(const Store& store, std::int32_t offset) {
  HANDLE work = store.Work();
  std::int32_t length = 0;
  if (!work || !store_io::SeekTo(work, offset) || !store_io::ReadInt32(work, &length) ||
      length < 0)
    return 0;
  return RecordBytes(length);
}

int tdb_rowcount(const Store& store) { return store.Index().Count(); }

std::int32_t tdb_rowoffset(const Store& store, int row) { return store.Index().Offset(row); }

void tdb_label(Store& store, int row, char out[kLabelMax + 1]) {
  store.Index().Label(row, out, nullptr);
}
void tdb_label(Store& store, int row, char out[kLabelMax + 1], std::string* unicode) {
  store.Index().Label(row, out, unicode);
}

void tdb_reverse(Store& store) { store.Index().Reverse(); }

int tdb_moverows(Store& store, const std::vector<int>& rows, int by) {
  return WithMemory(store,
                    [&] { return store.Index().Move(rows, by) ? 0 : store.Fail(kErrMoveRows); });
}

int tdb_findrow(Store& store, int start, bool wrap, LabelMatch match, void* context) {
  return store.Index().Find(start, wrap, match, context);
}

int tdb_searchrows(const Store& store, int start, bool forward, const RowSearch& search) {
  return store.Index().Search(start, forward, search);
}

std::int64_t tdb_recordsizes(const Store& store, std::vector<std::int32_t> offsets) {
  HANDLE work = store.Work();
  if (!work || offsets.empty()) return 0;
  std::sort(offsets.begin(), offsets.end());
  std::size_t distinct = 1;
  for (std::size_t i = 1; i < offsets.size(); ++i) distinct += offsets[i] != offsets[i - 1];
  const bool dense = static_cast<std::int64_t>(distinct) > store_io::Size(work) / 65536;
  store_io::BlockReader reader(work);
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
