// File helpers shared by the store's operations. Offsets in the working
// file are 64-bit here; the store's record offsets are the 32-bit values
// the rows carry.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "store/record_scan.h"

namespace store_io {

// "<base>.dat", "<base>work.dat", "<base>dat.bak".
std::string DataName(const char* base);
std::string WorkName(const char* base);
std::string BackupName(const char* base);

bool Exists(const std::string& name);
// The first of "<stem>1<suffix>", "<stem>2<suffix>", ... that does not
// exist, for copies that must never overwrite an earlier one.
std::string UnusedName(const std::string& stem, const std::string& suffix);

// Returns the number of bytes read (0 on any failure).
std::uint32_t Read(HANDLE file, void* buffer, std::uint32_t n);
// True only when every byte was written.
bool Write(HANDLE file, const void* data, std::uint32_t n);
bool SeekTo(HANDLE file, std::int64_t offset);
// Moves to the end and returns that position, or -1.
std::int64_t SeekEnd(HANDLE file);
// The current position, -1 on failure.
std::int64_t Tell(HANDLE file);
std::int64_t Size(HANDLE file);
// Cuts the file at the offset (undoing a partial append).
bool TruncateAt(HANDLE file, std::int64_t offset);

// The 4-byte little-endian integers of the file format.
bool ReadInt32(HANDLE file, std::int32_t* value);
bool WriteInt32(HANDLE file, std::int32_t value);

// Makes the n-th write from now fail, as a full disk would; 0 turns the
// fault off. For tests of what a failed write leaves behind.
void FailWriteForTesting(long nth);
// The same for the n-th read, as a pulled USB stick or a lost network
// share would fail it.
void FailReadForTesting(long nth);

// Reads a file through a window of one large block, so that the many
// small reads of a load or a save (a length here, a label there) cost a
// copy in memory instead of a seek and a read each.
class BlockReader : public RecordSource {
 public:
  explicit BlockReader(HANDLE file);
  BlockReader(const BlockReader&) = delete;
  BlockReader& operator=(const BlockReader&) = delete;

  std::int64_t Size() const override { return size_; }
  // Whether a read of bytes the file should have failed (a disk error,
  // a handle without read access): what was read since may be missing.
  bool Failed() const { return failed_; }
  bool ReadInt32(std::int64_t offset, std::int32_t* value) override;
  // Reads n bytes at the offset; false when they are not all there.
  bool ReadAt(std::int64_t offset, void* out, std::uint32_t n);
  // Points at n bytes at the offset in one piece: inside the block when
  // they lie in it, else read into `scratch` past the block, which stays
  // as it was. False when they are not all there.
  bool View(std::int64_t offset, std::uint32_t n, const char** bytes, std::vector<char>* scratch);
  // Makes the block holding the offset current: its bytes, and where in
  // the file they begin. False past the end.
  bool Block(std::int64_t offset, const char** bytes, std::int64_t* start, std::uint32_t* length);
  // Points at the bytes from the offset to the end of its block, at most
  // n of them, and returns how many (0 past the end or on a failure).
  std::uint32_t Piece(std::int64_t offset, std::uint32_t n, const char** bytes) {
    return Window(offset, n, bytes);
  }

  // Hands n bytes at the offset to `sink` in pieces, without copying
  // them a second time.
  template <typename Sink>
  bool ForEachPiece(std::int64_t offset, std::uint32_t n, Sink&& sink) {
    while (n > 0) {
      const char* piece = nullptr;
      std::uint32_t got = Window(offset, n, &piece);
      if (got == 0) return false;
      sink(piece, got);
      offset += got;
      n -= got;
    }
    return true;
  }

 private:
  // Makes the block holding the offset current and points at the bytes
  // from the offset to the end of the block (at most n); returns how many.
  std::uint32_t Window(std::int64_t offset, std::uint32_t n, const char** bytes);

  static constexpr std::uint32_t kBlock = 1u << 20;
  HANDLE file_;
  std::int64_t size_;
  std::int64_t blockStart_ = -1;
  std::uint32_t blockLength_ = 0;
  bool failed_ = false;
  std::vector<char> block_;
};

// Collects small writes into large ones and remembers whether any write
// failed: a save must know it wrote everything before it replaces the
// file it had.
class BufferedWriter {
 public:
  explicit BufferedWriter(HANDLE file) : file_(file), buffer_(kCapacity) {}
  BufferedWriter(const BufferedWriter&) = delete;
  BufferedWriter& operator=(const BufferedWriter&) = delete;

  void Put(const void* data, std::uint32_t n);
  void PutInt32(std::int32_t value);
  // Writes what is buffered; false if any write so far has failed.
  bool Flush();

 private:
  static constexpr std::uint32_t kCapacity = 1u << 20;
  HANDLE file_;
  std::uint32_t used_ = 0;
  bool ok_ = true;
  std::vector<char> buffer_;
};

// Writes a file anew without ever leaving it half written: everything
// goes to a temporary file beside it, which replaces the file in one
// step only after every write succeeded and reached the disk. Until
// then, and after any failure, the file is as it was and the temporary
// file is removed.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string target);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  bool Open();
  BufferedWriter& Out() { return *writer_; }
  bool Commit();

  static std::string TemporaryName(const std::string& target) { return target + ".tmp"; }

 private:
  std::string target_;
  std::string temporary_;
  HANDLE file_ = nullptr;
  std::unique_ptr<BufferedWriter> writer_;
  bool committed_ = false;
};

}  // namespace store_io
