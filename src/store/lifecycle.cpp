// Opening, replacing and closing the store: the data file, its working
// copy and the backup made by the start-up delete.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <new>

#include "base/scoped_win.h"
#include "store/file_io.h"
#include "store/record_format.h"
#include "store/record_scan.h"
#include "store/store.h"

namespace {

HANDLE FailHandle(Store& store, int code) {
  store.Fail(code);
  return nullptr;
}

// A damaged data file is kept as it is, under a name no later copy takes,
// before the next save replaces it with its whole records.
void KeepDamagedCopy(Store& store, const std::string& data) {
  store.Damage().damaged = true;
  std::string copy;
  if (store.DamagedCopyPlace() == Store::DamagedCopy::kNumbered) {
    copy = store_io::UnusedName(store.Base() + "-damaged-", ".dat");
  } else {
    copy = store_io::BackupName(store.Base().c_str());
    if (store_io::Exists(copy)) copy = store_io::UnusedName(store.Base() + "dat-", ".bak");
  }
  if (CopyFileA(data.c_str(), copy.c_str(), TRUE)) store.Damage().copy = copy;
}

// One row per whole record, in file order; the rows loaded replace any
// the store had. `bytes` receives the size of the records loaded.
void LoadRows(Store& store, HANDLE work, bool* damaged, std::int64_t* bytes) {
  store_io::BlockReader reader(work);
  const DataFileScan scan = ScanDataFile(reader);
  *damaged = scan.damaged;
  *bytes = 0;
  std::vector<std::int32_t> offsets;
  offsets.reserve(scan.records.size());
  for (const RecordRef& record : scan.records) {
    *bytes += record_format::kFieldSize + record.length;
    offsets.push_back(static_cast<std::int32_t>(record.offset));
  }
  store.Index().Clear();  // no state of earlier rows is left behind
  store.Index().Assign(std::move(offsets));
}

}  // namespace

int tdb_create(Store& store) {
  const std::string data = store_io::DataName(store.Base().c_str());
  if (store_io::Exists(data)) return store.Fail(kErrDataExists);
  ScopedHandle file(CreateFileA(data.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return store.Fail(kErrDataCreate);
  store_io::WriteInt32(file.Get(), 0);
  return 0;
}

int tdb_startdel(Store& store, int mode) {
  const char* base = store.Base().c_str();
  const std::string data = store_io::DataName(base);
  if (!store_io::Exists(data)) return store.Fail(kErrStartDelNoData);
  if (mode == kStartDelBackup) {
    // Without its backup the history is never deleted.
    if (!CopyFileA(data.c_str(), store_io::BackupName(base).c_str(), FALSE))
      return store.Fail(kErrStartDelBackup);
  } else if (mode != kStartDelNoBackup) {
    return store.Fail(kErrStartDelMode);
  }
  DeleteFileA(data.c_str());
  return 0;
}

HANDLE tdb_open(Store& store) {
  store.Damage() = LoadDamage();
  const char* base = store.Base().c_str();
  const std::string data = store_io::DataName(base);
  if (!store_io::Exists(data)) return FailHandle(store, kErrOpenNoData);
  const std::string work = store_io::WorkName(base);
  CopyFileA(data.c_str(), work.c_str(), FALSE);
  ScopedHandle file(CreateFileA(work.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return FailHandle(store, kErrOpenWork);
  bool damaged = false;
  std::int64_t bytes = 0;
  store.SetWork(file.Get(), 0);
  try {
    LoadRows(store, file.Get(), &damaged, &bytes);
  } catch (const std::bad_alloc&) {
    // The data file stays as it is; the working copy goes, so that the
    // next start does not take it for a run's leftover.
    store.SetWork(nullptr, 0);
    store.Index().Clear();
    file.Reset();
    DeleteFileA(work.c_str());
    return FailHandle(store, kErrOpenNoMemory);
  }
  store.Index().AddBytes(bytes);
  if (damaged) KeepDamagedCopy(store, data);
  return file.Release();
}

// The rows' records, in row order, go to a new data file that replaces
// the old one only once it is complete and on disk. Records are read
// through large blocks of the working file and written in large blocks.
int tdb_close(Store& store) {
  HANDLE file = store.Work();
  if (!file) return store.Fail(kErrCloseNoStore);
  const char* base = store.Base().c_str();
  store_io::AtomicFileWriter data(store_io::DataName(base));
  if (!data.Open()) return store.Fail(kErrCloseCreate);

  store_io::BlockReader work(file);
  store_io::BufferedWriter& out = data.Out();
  auto put = [&](const char* piece, std::uint32_t n) { out.Put(piece, n); };
  // Rows whose records follow each other in the working file, as most do,
  // go out as one run of bytes: a record has the same form in both files.
  std::int64_t runStart = 0, runEnd = 0;
  auto flush = [&] {
    if (runEnd > runStart)
      work.ForEachPiece(runStart, static_cast<std::uint32_t>(runEnd - runStart), put);
    runStart = runEnd = 0;
  };
  const std::vector<std::int32_t>& offsets = store.Index().Offsets();
  out.PutInt32(static_cast<std::int32_t>(offsets.size()));
  for (const std::int32_t rowOffset : offsets) {
    const std::int64_t offset = rowOffset;
    std::int32_t length = 0;
    const bool readable = work.ReadInt32(offset, &length) && length >= 0;
    const std::int64_t present =
        std::max<std::int64_t>(0, work.Size() - offset - record_format::kFieldSize);
    if (readable && length <= present) {
      const std::int64_t end = offset + record_format::kFieldSize + length;
      if (runEnd > runStart && offset == runEnd) {
        runEnd = end;
      } else {
        flush();
        runStart = offset;
        runEnd = end;
      }
      continue;
    }
    // A record cut short in the working file is saved with the bytes it
    // really has, so that the data file stays well-formed.
    flush();
    length = readable ? static_cast<std::int32_t>(std::min<std::int64_t>(length, present)) : 0;
    out.PutInt32(length);
    work.ForEachPiece(offset + record_format::kFieldSize, static_cast<std::uint32_t>(length), put);
  }
  flush();
  // A failed read or write leaves the old data file and the open working
  // file, so nothing is lost and the save can be tried again (or the next
  // start recovers the working file).
  if (work.Failed()) return store.Fail(kErrCloseRead);
  if (!data.Commit()) return store.Fail(kErrCloseWrite);
  store.SetWork(nullptr, 0);
  CloseHandle(file);
  DeleteFileA(store_io::WorkName(base).c_str());
  return 0;
}

HANDLE tdb_clear(Store& store) {
  store.Abandon();
  HANDLE file = CreateFileA(store_io::WorkName(store.Base().c_str()).c_str(),
                            GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FailHandle(store, kErrClearCreate);
  store.SetWork(file, 0);
  return file;
}

HANDLE tdb_restore(Store& store) {
  const char* base = store.Base().c_str();
  const std::string backup = store_io::BackupName(base);
  if (!store_io::Exists(backup)) return FailHandle(store, kErrRestoreNoBackup);
  // The copy comes first: when it fails, the present list goes on as it
  // was (the data file is rewritten from it at exit anyway).
  if (!CopyFileA(backup.c_str(), store_io::DataName(base).c_str(), FALSE))
    return FailHandle(store, kErrRestoreCopy);
  store.Abandon();
  return tdb_open(store);
}
