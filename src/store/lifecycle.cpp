// Opening, replacing and closing the store: the data file, its working
// copy and the backup made by the start-up delete.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "base/scoped_win.h"
#include "store/file_io.h"
#include "store/record_format.h"
#include "store/store.h"

namespace {

int Fail(int code) {
  g_tdbError = code;
  return -1;
}

HANDLE FailHandle(int code) {
  g_tdbError = code;
  return nullptr;
}

// One row per record, in file order. The count and the lengths come from
// a file that may be damaged, so neither is trusted beyond the bytes that
// are really there: loading ends at the first record that is not whole,
// and the list is never told to expect more rows than the file can hold.
bool LoadRows(HANDLE work, HWND list) {
  const std::int64_t size = store_io::Size(work);
  std::int32_t count = 0;
  if (!store_io::SeekTo(work, 0) || !store_io::ReadInt32(work, &count)) return true;
  const std::int64_t expected = record_format::PossibleRecords(count, size);
  SendMessageA(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(expected), 0);

  ScopedRedrawOff bulk(list);
  std::int64_t offset = record_format::kFirstRecord;
  for (std::int64_t i = 0; i < expected && record_format::IsAddressable(offset); ++i) {
    std::int32_t length = 0;
    if (!store_io::ReadInt32(work, &length)) break;
    const std::int64_t next = record_format::NextRecord(offset, length, size);
    if (next < 0) break;
    if (tdb_addrow(nullptr, static_cast<std::int32_t>(offset), work, list, kRowExisting) != 0)
      return false;
    offset = next;
    if (!store_io::SeekTo(work, offset)) break;
  }
  return true;
}

// Copies one record's text from the working file to the new data file in
// pieces, so that no text, however long, needs one block of its size.
void CopyText(HANDLE work, store_io::BufferedWriter& out, std::int32_t length) {
  char piece[1 << 15];
  std::int32_t left = length;
  while (left > 0) {
    std::uint32_t want = static_cast<std::uint32_t>(std::min<std::int32_t>(left, sizeof piece));
    std::uint32_t got = store_io::Read(work, piece, want);
    if (got == 0) break;
    out.Put(piece, got);
    left -= static_cast<std::int32_t>(got);
  }
}

}  // namespace

int tdb_create(const char* base) {
  const std::string data = store_io::DataName(base);
  if (store_io::Exists(data)) return Fail(kErrDataExists);
  ScopedHandle file(CreateFileA(data.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Fail(kErrDataCreate);
  store_io::WriteInt32(file.Get(), 0);
  return 0;
}

int tdb_startdel(const char* base, int mode) {
  const std::string data = store_io::DataName(base);
  if (!store_io::Exists(data)) return Fail(kErrStartDelNoData);
  if (mode == kStartDelBackup) {
    CopyFileA(data.c_str(), store_io::BackupName(base).c_str(), FALSE);
  } else if (mode != kStartDelNoBackup) {
    return Fail(kErrStartDelMode);
  }
  DeleteFileA(data.c_str());
  return 0;
}

HANDLE tdb_open(const char* base, HWND list) {
  if (!list) return FailHandle(kErrOpenNoList);
  const std::string data = store_io::DataName(base);
  if (!store_io::Exists(data)) return FailHandle(kErrOpenNoData);
  const std::string work = store_io::WorkName(base);
  CopyFileA(data.c_str(), work.c_str(), FALSE);
  ScopedHandle file(CreateFileA(work.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return FailHandle(kErrOpenWork);
  if (!LoadRows(file.Get(), list)) return nullptr;
  return file.Release();
}

int tdb_close(HANDLE store, const char* base, HWND list) {
  if (!list) return Fail(kErrCloseNoList);
  if (!store) return Fail(kErrCloseNoStore);
  const std::string data = store_io::DataName(base);
  ScopedHandle out(CreateFileA(data.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!out) return Fail(kErrCloseCreate);

  const std::int64_t workSize = store_io::Size(store);
  {
    store_io::BufferedWriter writer(out.Get());
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    writer.PutInt32(rows);
    for (int row = 0; row < rows; ++row) {
      std::int32_t length = 0, offset = 0;
      tdb_gethead(store, list, row, &length, &offset);
      // A record cut short in the working file is saved with the bytes it
      // really has, so that the data file stays well-formed.
      const std::int64_t present = std::max<std::int64_t>(0, workSize - offset - 4);
      length = static_cast<std::int32_t>(std::min<std::int64_t>(length, present));
      writer.PutInt32(length);
      CopyText(store, writer, length);
    }
  }
  out.Reset();
  CloseHandle(store);
  DeleteFileA(store_io::WorkName(base).c_str());
  return 0;
}

HANDLE tdb_clear(HANDLE store, const char* base, HWND list) {
  if (store) CloseHandle(store);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  // The put buffer named records of the discarded working file.
  tdb_buffree();
  HANDLE file = CreateFileA(store_io::WorkName(base).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FailHandle(kErrClearCreate);
  return file;
}

HANDLE tdb_restore(HANDLE store, const char* base, HWND list) {
  const std::string backup = store_io::BackupName(base);
  if (!store_io::Exists(backup)) return FailHandle(kErrRestoreNoBackup);
  if (store) CloseHandle(store);
  SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
  tdb_buffree();
  CopyFileA(backup.c_str(), store_io::DataName(base).c_str(), FALSE);
  return tdb_open(base, list);
}
