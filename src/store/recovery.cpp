// Taking up what a run that did not end normally captured. Its working
// file is still there: a copy of the data file it started from, followed
// by every text it captured or changed, each appended as a record. Those
// records would be lost when the next start copies the data file over
// the working file, so they become entries of the history first.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/scoped_win.h"
#include "store/file_io.h"
#include "store/record_format.h"
#include "store/record_scan.h"
#include "store/store.h"

namespace {

HANDLE OpenForReading(const std::string& name) {
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

// Whether the working file begins with exactly the data file's bytes:
// only then are the records after them texts of that run.
bool StartsWith(store_io::BlockReader& work, store_io::BlockReader& data) {
  if (work.Size() < data.Size()) return false;
  std::vector<char> piece(1 << 16);
  bool same = true;
  std::int64_t at = 0;
  data.ForEachPiece(0, static_cast<std::uint32_t>(data.Size()), [&](const char* bytes, std::uint32_t n) {
    while (same && n > 0) {
      const std::uint32_t k = std::min<std::uint32_t>(n, static_cast<std::uint32_t>(piece.size()));
      same = work.ReadAt(at, piece.data(), k) && std::equal(bytes, bytes + k, piece.begin());
      at += k;
      bytes += k;
      n -= k;
    }
  });
  return same && at == data.Size();
}

// False when the record's bytes could not all be read: what was written
// of it is short.
bool CopyRecord(store_io::BlockReader& from, const RecordRef& record, store_io::BufferedWriter& to) {
  to.PutInt32(record.length);
  return from.ForEachPiece(record.offset + record_format::kFieldSize,
                           static_cast<std::uint32_t>(record.length),
                           [&](const char* piece, std::uint32_t n) { to.Put(piece, n); });
}

// The whole texts of a leftover, counted as records from the end of its
// count field on.
int CountTexts(const std::string& name) {
  ScopedHandle file(OpenForReading(name));
  if (!file) return 0;
  store_io::BlockReader reader(file.Get());
  return static_cast<int>(ScanAppendedRecords(reader, record_format::kFirstRecord).size());
}

// A leftover that does not continue the data file is kept as it is; so
// is one that could not be taken up whole. `unreadable`: a read of either
// file failed, which is told even when the leftover could not be moved.
void KeepAside(Store& store, const std::string& work, bool unreadable = false) {
  KeptLeftover& kept = store.Kept();
  kept.unreadable = unreadable;
  const std::string aside = store_io::UnusedName(store.Base() + "work-kept-", ".dat");
  if (!MoveFileA(work.c_str(), aside.c_str())) return;
  kept.name = aside;
  // A file that could not be read is not read again to be counted.
  if (!unreadable) kept.texts = CountTexts(aside);
}

}  // namespace

int tdb_recover(Store& store, bool newestFirst) {
  store.Kept() = KeptLeftover();
  const char* base = store.Base().c_str();
  const std::string data = store_io::DataName(base);
  const std::string work = store_io::WorkName(base);
  // A save cut off half way leaves its temporary file; the data file
  // beside it is the complete one.
  DeleteFileA(store_io::AtomicFileWriter::TemporaryName(data).c_str());
  // Only a file can be a working file left behind.
  const DWORD attributes = GetFileAttributesA(work.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;

  std::vector<RecordRef> history, recovered;
  {
    ScopedHandle workFile(OpenForReading(work));
    ScopedHandle dataFile(OpenForReading(data));
    if (!workFile || !dataFile) {
      workFile.Reset();
      KeepAside(store, work);
      return 0;
    }
    store_io::BlockReader workReader(workFile.Get());
    store_io::BlockReader dataReader(dataFile.Get());
    // A read that failed (a USB stick pulled, a network share gone) makes
    // a file look shorter or other than it is: nothing read from it then
    // may be committed, nor may it be taken for a leftover of another
    // file or for one with nothing in it.
    auto readFailed = [&] { return workReader.Failed() || dataReader.Failed(); };
    const DataFileScan scan = ScanDataFile(dataReader);
    const bool continues = !scan.damaged && StartsWith(workReader, dataReader);
    if (continues && !readFailed()) recovered = ScanAppendedRecords(workReader, dataReader.Size());
    if (readFailed()) {
      workFile.Reset();
      KeepAside(store, work, true);
      return 0;
    }
    if (!continues) {
      workFile.Reset();
      KeepAside(store, work);
      return 0;
    }
    history = scan.records;
    if (recovered.empty()) {
      workFile.Reset();
      DeleteFileA(work.c_str());
      return 0;
    }

    // As if each text were captured again, in the order it was captured.
    if (newestFirst) std::reverse(recovered.begin(), recovered.end());
    store_io::AtomicFileWriter out(data);
    bool written = out.Open();
    bool read = true;
    if (written) {
      out.Out().PutInt32(static_cast<std::int32_t>(history.size() + recovered.size()));
      auto copy = [&](store_io::BlockReader& from, const std::vector<RecordRef>& records) {
        for (const RecordRef& r : records) read = read && CopyRecord(from, r, out.Out());
      };
      if (!newestFirst) copy(dataReader, history);
      copy(workReader, recovered);
      if (newestFirst) copy(dataReader, history);
      read = read && !readFailed();
      dataFile.Reset();  // the data file is replaced next
      // What could not be read whole is never committed: the temporary
      // file goes, and clip.dat stays as it was.
      written = read && out.Commit();
    }
    if (!written) {
      workFile.Reset();
      KeepAside(store, work, !read);
      return 0;
    }
  }
  DeleteFileA(work.c_str());
  return static_cast<int>(recovered.size());
}
